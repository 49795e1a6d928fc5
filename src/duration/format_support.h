// Shared by the reader of packed values, the text renderer and the duration
// and interval formats.
#pragma once

#include <cstdint>

#include "duration/entity.h"
#include "abi/call_block.h"

namespace shown {

// Room of the caller's field: the smaller of width and output capacity, and
// nothing at all when either is negative.
inline int field_length(const FormatBlock* b) {
    const int n = b->width < b->capacity ? b->width : b->capacity;
    return n > 0 ? n : 0;
}

// Longest text of one record: '-', 'P', six numbers of up to ten positions
// each with a designator and a delimiter, 'T', and '.' with three fraction
// digits.
inline constexpr int kLongestText = 2 + 6 * (10 + 2) + 1 + 4;

// The text of a record that is not a whole missing value, as the render
// options make it, written to `text` (kLongestText bytes); returns its
// length. The text holds no blanks. The usual forms (a duration with
// designators, a whole datetime delimited) are written straight;
// render_text_general is the one pass that serves every form, and writes the
// same text for those.
int render_text(const Entity& e, std::int32_t options, char* text);
int render_text_general(const Entity& e, std::int32_t options, char* text);

}  // namespace shown
