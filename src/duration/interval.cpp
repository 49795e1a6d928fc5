// Intervals: splitting the text at '/', completing a lone duration with a
// synthesized start, resolving an overflowing duration against the datetime
// at the other end, and the calendar arithmetic behind it.
#include <cmath>
#include <cstring>
#include <utility>

#include "duration/duration.h"
#include "duration/engine.h"
#include "binding/hostcall.h"
#include "text/text.h"
#include "render/units.h"

namespace {


void clear(Entity* e) { std::memset(e, 0, sizeof *e); }

// The start given to a lone duration: 1960-01-01T00:00:00.000, or
// 1960-02-01 for a duration whose day would run past the end of the month
// reached from January.
void synthesize_start(Entity* start, const Entity* duration) {
    const std::int64_t m = duration->month, d = duration->day;
    const bool february = (m == 1 && (d == 30 || d == 31)) || ((m == 3 || m == 5 || m == 8 || m == 10) && d == 31);
    clear(start);
    start->year = 1960;
    start->month = february ? 2 : 1;
    start->day = 1;
    start->value = february ? 31 * kSecondsPerDay : 0;
    start->is_datetime = 1;
    start->implied_anchor = 1;
    convert_to_bcd(start);
}

// The datetime moved by the whole duration in the direction `dir` (+1 or
// -1): by its years and months (the day clamped to the month's end) and by
// its days and time, the months first or (undoing a move) last, then by its
// fraction. Missing when the host cannot form the result.
double move_by(double datetime, const Entity* d, int dir, bool months_first) {
    std::int64_t months = 0;
    if (__builtin_mul_overflow(d->year, 12, &months) || __builtin_add_overflow(months, d->month, &months))
        return calendar::missing_value();
    const double seconds = static_cast<double>(d->day) * kSecondsPerDay +
                           static_cast<double>(d->hour) * 3600 + static_cast<double>(d->minute) * 60 +
                           static_cast<double>(d->second);
    double v = datetime;
    if (months_first) v = calendar::shift_months(v, dir * months);
    v += dir * seconds;
    if (!months_first) v = calendar::shift_months(v, dir * months);
    if (d->thousandths != 0 && !calendar::missing(v)) {
        Entity moved = *d;
        moved.value = v;
        add_fraction(&moved, dir);
        v = moved.value;
    }
    return v;
}

// The overflowing duration, relative to the datetime at the other end,
// becomes the calendar difference between that datetime and the one it
// reaches, in the direction its sign and its place give. The datetime
// reached is never stored: any year the host's calendar can form will do.
// Code 8 when it cannot, or when the difference has a year the packed
// digits cannot hold.
int resolve_against_datetime(Entity* first, Entity* second) {
    Entity* duration = first->calendar_pending ? first : second;
    const Entity* datetime = duration == first ? second : first;
    int dir = duration == second ? +1 : -1;
    if (duration->negative) dir = -dir;
    Entity given, derived;
    if (!calendar::split_datetime(&given, datetime->value) ||
        !calendar::split_datetime(&derived, move_by(datetime->value, duration, dir, true)))
        return problem::kInvalidDatetime;
    if (duration == second)
        compute_duration(&given, &derived, duration);
    else
        compute_duration(&derived, &given, duration);
    return duration->year > 9999 ? problem::kInvalidDatetime : 0;
}

int derive(const char* text, int length, Entity* first, Entity* second, int mode) {
    if (!text || length < 0) length = 0;
    const int slash = wzstpos(text, length, '/');
    const int first_length = slash >= 0 ? slash : length;
    clear(first);
    const int first_start = wzstnot(text, first_length, ' ');
    if (first_start < 0) return problem::kBlankInterval;
    if (int code = read_date_or_duration(text + first_start, first_length - first_start, first, mode, 1)) return code;

    const int rest = slash >= 0 ? length - slash - 1 : 0;
    const int second_start = slash >= 0 ? wzstnot(text + slash + 1, rest, ' ') : -1;
    if (second_start < 0) {
        if (first->is_datetime) return problem::kLoneDatetime;
        // Nothing to resolve against: kept as written where the digits hold it.
        if (first->calendar_pending)
            if (int code = duration_form::fit_into_digits(first)) return code;
        *second = *first;
        synthesize_start(first, second);
        return 0;
    }
    if (int code = read_date_or_duration(text + slash + 1 + second_start, rest - second_start, second, mode, 1))
        return code;
    if (!first->is_datetime && !second->is_datetime) return problem::kTwoDurations;
    if (!first->calendar_pending && !second->calendar_pending) return 0;
    return resolve_against_datetime(first, second);
}

}  // namespace

extern "C" {

int derive_interval(const char* text, int length, Entity* first, Entity* second, int mode) {
    int code = derive(text, length, first, second, mode);
    if (code != 0) {
        std::memset(first->packed, 0xFF, sizeof first->packed);
        std::memset(second->packed, 0xFF, sizeof second->packed);
    }
    return code;
}

int compute_duration(const Entity* start, const Entity* end, Entity* out) {
    clear(out);
    if (calendar::missing(start->value) || calendar::missing(end->value)) {
        calendar::make_missing(out);
        out->value = calendar::missing_value();
        return 0;
    }
    const Entity* a = start;
    const Entity* b = end;
    if (a->value > b->value) {
        std::swap(a, b);
        out->negative = 1;
    }
    // Difference of the times of day, to the thousandth; a negative one
    // borrows a day.
    std::int64_t t = std::llround((hostcall::ztimprt(b->value) - hostcall::ztimprt(a->value)) * 1000.0);
    const bool borrowed = t < 0;
    if (borrowed) t += kMsPerDay;
    if (t >= kMsPerDay) t = kMsPerDay - 1;

    const std::int64_t da = a->day, db = b->day;
    const bool month_end = da >= 29 && da > db && !borrowed && db == calendar::last_day(b->month, b->year);
    const std::int64_t months = 12 * (b->year - a->year) + (b->month - a->month) - (db < da) + month_end -
                                (da == db && borrowed);
    out->year = months / 12;
    out->month = months % 12;
    const std::int64_t a_month_days = calendar::last_day(a->month, a->year);
    if (month_end)
        out->day = 0;
    else if (da > db)
        out->day = a_month_days - da + db - borrowed;
    else if (da == db)
        out->day = borrowed ? a_month_days - 1 : 0;
    else
        out->day = db - da - borrowed;
    out->hour = t / 3600000;
    out->minute = t / 60000 % 60;
    out->second = t / 1000 % 60;
    out->thousandths = t % 1000;

    // A zero component is absent, except the seconds when they carry a fraction.
    for (int c = 0; c < component::kCount; ++c)
        if (component::field(*out, c) == 0 && !(c == component::kSecond && out->thousandths != 0))
            out->missing |= component::kMissingBit[c];
    if (out->missing == 0xFE) out->unit_code = component::kWeeksCode, out->weeks = 1;  // the two ends coincide: zero weeks
    convert_to_bcd(out);
    return 0;
}

double get_lastday(int month, int year) { return static_cast<double>(calendar::last_day(month, year)); }

int compute_end(const Entity* start, Entity* duration, Entity* out) {
    if (duration->negative) {
        duration->negative = 0;
        compute_start(duration, start, out);
        duration->negative = 1;
        return 0;
    }
    calendar::set_datetime(out, move_by(start->value, duration, +1, true));
    return 0;
}

int compute_start(Entity* duration, const Entity* end, Entity* out) {
    if (duration->negative) {
        duration->negative = 0;
        compute_end(end, duration, out);
        duration->negative = 1;
        return 0;
    }
    // The reverse of compute_end: back by the days and time, then by the
    // months.
    calendar::set_datetime(out, move_by(end->value, duration, -1, false));
    return 0;
}

}  // extern "C"
