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

}  // namespace shown
