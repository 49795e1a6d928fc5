// Internal pieces of the duration engine shared by the packed encoding, the
// reader and the interval derivation: calendar helpers and
// the normalisation of overflowing durations.
#pragma once

#include <cstdint>

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
