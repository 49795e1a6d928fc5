// The entity record: one parsed datetime or duration, and the packed form it
// is stored as (8 bytes, 16 hexadecimal digits; an interval is two of them).
#pragma once

#include <cstddef>
#include <cstdint>

struct Entity {
    double value;               // datetime: host seconds; duration: 0; missing NaN when none
    std::int64_t year;
    std::int64_t month;
    std::int64_t day;
    std::int64_t hour;
    std::int64_t minute;
    std::int64_t second;
    std::int64_t thousandths;   // fraction of the last component present
    std::uint8_t packed[8];
    std::uint8_t missing;       // one bit per absent component, 0xFF: whole value missing
    std::uint8_t is_datetime;
    std::uint8_t implied_anchor;
    std::uint8_t single_form;
    std::uint8_t weeks;
    std::uint8_t unit_code;
    std::uint8_t negative;
    std::uint8_t calendar_pending;
};
static_assert(sizeof(Entity) == 80);
static_assert(offsetof(Entity, value) == 0);
static_assert(offsetof(Entity, year) == 8);
static_assert(offsetof(Entity, month) == 16);
static_assert(offsetof(Entity, day) == 24);
static_assert(offsetof(Entity, hour) == 32);
static_assert(offsetof(Entity, minute) == 40);
static_assert(offsetof(Entity, second) == 48);
static_assert(offsetof(Entity, thousandths) == 56);
static_assert(offsetof(Entity, packed) == 64);
static_assert(offsetof(Entity, missing) == 72);
static_assert(offsetof(Entity, is_datetime) == 73);
static_assert(offsetof(Entity, implied_anchor) == 74);
static_assert(offsetof(Entity, single_form) == 75);
static_assert(offsetof(Entity, weeks) == 76);
static_assert(offsetof(Entity, unit_code) == 77);
static_assert(offsetof(Entity, negative) == 78);
static_assert(offsetof(Entity, calendar_pending) == 79);

// Missing-mask bits.
namespace missing_bit {
inline constexpr std::uint8_t kYear = 0x80;
inline constexpr std::uint8_t kMonth = 0x40;
inline constexpr std::uint8_t kDay = 0x20;
inline constexpr std::uint8_t kHour = 0x10;
inline constexpr std::uint8_t kMinute = 0x08;
inline constexpr std::uint8_t kSecond = 0x04;
inline constexpr std::uint8_t kFraction = 0x02;
inline constexpr std::uint8_t kAll = 0xFF;
}  // namespace missing_bit

// The components of a record, by number in the order they are read, written
// and packed: 0 year .. 5 second, then 6 the thousandths of the last one
// present.
namespace component {
inline constexpr int kYear = 0, kMonth = 1, kDay = 2, kHour = 3, kMinute = 4, kSecond = 5, kFraction = 6;
inline constexpr int kCount = 7;
inline constexpr std::int64_t Entity::*kField[kCount] = {&Entity::year,   &Entity::month,  &Entity::day,
                                                         &Entity::hour,   &Entity::minute, &Entity::second,
                                                         &Entity::thousandths};
inline constexpr std::uint8_t kMissingBit[kCount] = {
    missing_bit::kYear,   missing_bit::kMonth,  missing_bit::kDay,     missing_bit::kHour,
    missing_bit::kMinute, missing_bit::kSecond, missing_bit::kFraction};

inline std::int64_t& field(Entity& e, int c) { return e.*kField[c]; }
inline std::int64_t field(const Entity& e, int c) { return e.*kField[c]; }
inline std::int64_t* field(Entity* e, int c) { return &(e->*kField[c]); }
inline bool absent(std::uint8_t mask, int c) { return (mask & kMissingBit[c]) != 0; }

// Single-unit codes: a lone component's count is stored with the code of
// its unit; weeks are days with code 3.
inline constexpr int kUnitCode[kFraction] = {0, 1, 2, 4, 8, 16};
inline constexpr int kWeeksCode = 3;
inline constexpr int kFractionalUnit = 32;  // added to the code when the count carries thousandths

// The component of a unit code (weeks: the day), -1 for none.
constexpr int of_unit_code(int code) {
    if (code == kWeeksCode) return kDay;
    for (int c = 0; c < kFraction; ++c)
        if (kUnitCode[c] == code) return c;
    return -1;
}
}  // namespace component

// Bit pattern of the missing NaN that the engine writes.
inline constexpr std::uint64_t kMissingNanBits = 0xFFFFFE0000000000ull;

// Parse modes the parser tests for.
namespace parse_mode {
inline constexpr std::int32_t kStrict = 0x80;
inline constexpr std::int32_t kMissingNotation = 0x100;
inline constexpr std::int32_t kStrictOmitted = 0x200;
}  // namespace parse_mode

// Render option bits.
namespace render_option {
inline constexpr std::int32_t kDesignators = 0x0001;
inline constexpr std::int32_t kDatetimeGap = 0x0002;
inline constexpr std::int32_t kDelimited = 0x0004;
inline constexpr std::int32_t kDelimitedAlt = 0x0008;
inline constexpr std::int32_t kFillX = 0x0010;
inline constexpr std::int32_t kFillHyphen = 0x0020;
inline constexpr std::int32_t kZeroAsOne = 0x0040;
inline constexpr std::int32_t kDurationGap = 0x1000;
}  // namespace render_option
