// Durations whose components exceed their calendar ranges (more than 12
// months, 31 days, 23 hours, 59 minutes or 59 seconds, or any weeks).
#include <algorithm>
#include <cstdint>

#include "duration/duration.h"
#include "duration/engine.h"
#include "render/units.h"

namespace {

// Past these a duration runs beyond 10^15 seconds (some 30 million years):
// it can never be stored, and below them the arithmetic stays exact.
constexpr std::int64_t kMostSeconds = 1000000000000000;
constexpr std::int64_t kMostMonths = 1000000000000000;

// Every component that is zero is absent, except `keep`, which carries the
// fraction (-1: none); the fraction is absent when it is zero.
void rebuild_missing(Entity* e, int keep) {
    std::uint8_t mask = e->thousandths ? 0 : missing_bit::kFraction;
    for (int c = 0; c < component::kFraction; ++c)
        if (*component::field(e, c) == 0 && c != keep) mask |= component::kMissingBit[c];
    e->missing = mask;
    // Nothing left: the zero duration, stored as zero weeks as the interval
    // derivation stores two coinciding ends. With every component absent the
    // digits would show as "P", which reads back as missing.
    if (mask == 0xFE) e->unit_code = component::kWeeksCode, e->weeks = 1;
}

// Days into months of 30 days, months into years; then packed.
int carry(Entity* e, int carrier) {
    e->month += e->day / 30, e->day %= 30;
    e->year += e->month / 12, e->month %= 12;
    e->calendar_pending = 0;
    rebuild_missing(e, carrier);
    if (e->year > 9999) return problem::kOutOfRange;
    convert_to_bcd(e);
    return 0;
}

unsigned overflow_bits(const Entity* e) {
    unsigned bits = 0;
    using namespace component;
    if (e->weeks || e->month > 12) bits |= kUnitCode[kMonth];
    if (e->weeks || e->day > 31) bits |= kUnitCode[kDay];
    if (e->hour > 23) bits |= kUnitCode[kHour];
    if (e->minute > 59) bits |= kUnitCode[kMinute];
    if (e->second > 59) bits |= kUnitCode[kSecond];
    return bits;
}

}  // namespace

namespace duration_form {

int resolve_overflow(Entity* e, int in_interval) {
    const unsigned bits = overflow_bits(e);
    if (!bits) return 0;
    int present = 0;
    for (int c = 0; c < component::kFraction; ++c) present += !(e->missing & component::kMissingBit[c]);
    if (present == 1 && std::find(poss.begin(), poss.end(), bits) != poss.end()) {
        e->unit_code = static_cast<std::uint8_t>(bits + (e->thousandths ? component::kFractionalUnit : 0));
        // The count has 32 bits; a larger one would be stored as another.
        return single_unit_count(e) <= UINT32_MAX ? 0 : problem::kOutOfRange;
    }
    if (e->year > 9999 || e->month > kMostMonths || e->day > kMostSeconds / 86400 || e->hour > kMostSeconds / 3600 ||
        e->minute > kMostSeconds / 60 || e->second > kMostSeconds)
        return problem::kOutOfRange;

    // Days and time as milliseconds, the fraction of the last component
    // (a day, hour, minute or second: an exact number of milliseconds)
    // carried into them. A fraction of a month or year stays where it is.
    int carrier = e->thousandths ? component::last_present(e->missing) : -1;
    std::int64_t ms = ((e->day * 24 + e->hour) * 60 + e->minute) * 60000 + e->second * 1000;
    if (carrier >= 2) ms += e->thousandths * component::seconds_in_unit(*e, carrier);
    e->day = ms / kMsPerDay;
    e->hour = ms / 3600000 % 24, e->minute = ms / 60000 % 60, e->second = ms / 1000 % 60;
    if (carrier != 0 && carrier != 1) {
        e->thousandths = ms % 1000;
        carrier = e->thousandths ? 5 : -1;
    }
    e->unit_code = 0, e->weeks = 0;
    if (!in_interval) return carry(e, carrier);
    e->calendar_pending = 1;
    rebuild_missing(e, carrier);
    return 0;
}

int fit_into_digits(Entity* e) {
    // A day of 100 or more goes into months of 30 days; then a month of 15
    // or more (one digit, F marking absence) into years.
    if (e->day > 99) e->month += e->day / 30, e->day %= 30;
    if (e->month > 14) e->year += e->month / 12, e->month %= 12;
    e->calendar_pending = 0;
    rebuild_missing(e, e->thousandths ? component::last_present(e->missing) : -1);
    if (e->year > 9999) return problem::kOutOfRange;
    convert_to_bcd(e);
    return 0;
}

}  // namespace duration_form
