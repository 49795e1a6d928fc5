// Shared by the reader of packed values, the text renderer and the duration
// and interval formats.
#pragma once

#include <cstdint>

#include "duration/entity.h"
#include "abi/call_block.h"

namespace shown {

// The six components, 1 year .. 6 second, and their missing-mask bits.
inline constexpr std::int64_t Entity::*kComponents[6] = {&Entity::year,   &Entity::month,  &Entity::day,
                                                         &Entity::hour,   &Entity::minute, &Entity::second};
constexpr std::int64_t& component(Entity& e, int i) { return e.*kComponents[i - 1]; }
constexpr std::int64_t component(const Entity& e, int i) { return e.*kComponents[i - 1]; }
constexpr std::uint8_t component_bit(int i) { return static_cast<std::uint8_t>(0x80 >> (i - 1)); }

// Room of the caller's field: the smaller of width and output capacity, and
// nothing at all when either is negative.
inline int field_length(const FormatBlock* b) {
    const int n = b->width < b->capacity ? b->width : b->capacity;
    return n > 0 ? n : 0;
}

}  // namespace shown
