// Internal pieces of the duration engine shared by the packed encoding, the
// reader and the interval derivation: calendar helpers, the normalisation
// of overflowing durations and the digit form as one word.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#include "abi/problems.h"
#include "duration/entity.h"
#include "render/units.h"

namespace component {
// Seconds in one unit of a component from the day down (a week when the day
// was written in weeks); months and years have no fixed length: 0.
inline std::int64_t seconds_in_unit(const Entity& e, int c) {
    constexpr std::int64_t kSeconds[kFraction] = {0, 0, static_cast<std::int64_t>(kSecondsPerDay),
                                                  static_cast<std::int64_t>(kSecondsPerHour),
                                                  static_cast<std::int64_t>(kSecondsPerMinute), 1};
    return c == kDay && e.weeks ? 7 * kSeconds[c] : kSeconds[c];
}

// The last present component, from the second back to the year; -1 when none.
int last_present(std::uint8_t mask);
}  // namespace component

namespace calendar {

// The host's missing NaN, as the engine writes it.
double missing_value();
inline bool missing(double x) { return x != x; }

struct Ymd {
    std::int64_t year, month, day;
};

// Year, month and day of a host day number (through the host's calendar).
// False when the day is missing or the host cannot split it.
bool split_day(double day, Ymd* out);

// Days in a month; any month number is taken modulo 12 (0 is December).
std::int64_t last_day(std::int64_t month, std::int64_t year);

// The datetime moved by a whole number of months (either sign), keeping its
// time of day and clamping its day to the last day of the target month.
// Missing when the value is missing or the host cannot form the target date.
double shift_months(double datetime, std::int64_t months);

// Fills a datetime record (every component present, the fraction present
// when not zero) from a host datetime of any year the host's calendar can
// split, without packing it. False, with a whole missing record, when the
// datetime is missing or the host cannot split it.
bool split_datetime(Entity* e, double datetime);

// The same, then packs the record. A datetime whose year the packed form
// cannot hold gives a whole missing record too.
void set_datetime(Entity* e, double datetime);

// Clears a record, then makes it a whole missing value: mask 0xFF, all
// packed bytes 0xFF.
void make_missing(Entity* e);

}  // namespace calendar

namespace duration_form {

// A duration whose components exceed their calendar ranges: a lone
// component becomes a single-unit count; otherwise days and time are
// normalised and, outside an interval, carried into months and years, or,
// inside one, left for the interval (calendar_pending). Returns 0 or 7.
int resolve_overflow(Entity* e, int in_interval);

// The count a single-unit duration stands for: its unit's component (weeks:
// days / 7), times 1000 plus the thousandths when it carries them;
// UINT64_MAX when that overflows.
std::uint64_t single_unit_count(const Entity* e);

// Stores a calendar_pending duration that has no datetime to be resolved
// against: as it stands, but with a day the packed digits cannot hold carried
// into months of 30 days and a month they cannot hold into years. Returns 7
// when its year no longer fits.
int fit_into_digits(Entity* e);

}  // namespace duration_form

namespace digit_form {

// The digit form's eight bytes as a word, the first byte highest: the year's
// four digits, the month as one hexadecimal digit, two digits each for day,
// hour, minute and second (all ones where absent), then the low 12 bits of
// the thousandths, anchor and kind word.
constexpr std::uint64_t word(unsigned year, unsigned month, unsigned day, unsigned hour, unsigned minute,
                             unsigned second, unsigned tail) {
    return std::uint64_t{year} << 48 | std::uint64_t{month} << 44 | std::uint64_t{day} << 36 |
           std::uint64_t{hour} << 28 | std::uint64_t{minute} << 20 | std::uint64_t{second} << 12 | (tail & 0xFFF);
}

// Two decimal digits of v (0..99), one per nibble.
constexpr unsigned pair(unsigned v) { return v / 10 << 4 | v % 10; }
// Four decimal digits of v (0..9999).
constexpr unsigned four(unsigned v) { return pair(v / 100) << 8 | pair(v % 100); }

// The word with its first byte (packed decimal 00..99, or FF) replaced by
// its negative image.
std::uint64_t negated(std::uint64_t w);

// The word as the eight packed bytes.
inline void store(std::uint64_t w, std::uint8_t* packed) {
    if constexpr (std::endian::native == std::endian::little) w = __builtin_bswap64(w);
    std::memcpy(packed, &w, sizeof w);
}

}  // namespace digit_form

namespace duration_form {

// The digit form nibble by nibble, whatever the components hold: what
// convert_to_bcd writes for components outside the digits' ranges, and
// what the tests compare its shorter way with.
void pack_digits_general(Entity* e);

}  // namespace duration_form
