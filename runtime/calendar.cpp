// Date arithmetic: proleptic Gregorian calendar, day 0 = 1960-01-01,
// datetimes in seconds from 1960-01-01T00:00:00. Missing (NaN) in, missing
// out; a day outside the calendar's years (-32767 to 32767) is missing too.
#include <date/date.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "services.h"

namespace isofmt::service {
namespace {

constexpr double kMissing = std::numeric_limits<double>::quiet_NaN();
constexpr double kDay = 86400.0;
constexpr int kUnixDay1960 = -3653;          // 1960-01-01 counted from 1970-01-01
constexpr double kJulianDay1960 = 2436935.0;  // Julian day number of 1960-01-01

constexpr int day_number(date::year_month_day ymd) {
    return date::sys_days(ymd).time_since_epoch().count() - kUnixDay1960;
}
constexpr double kFirstDay = day_number(date::year::min() / 1 / 1);
constexpr double kLastDay = day_number(date::year::max() / 12 / 31);
static_assert(day_number(date::year{1582} / 1 / 1) == -138061);

// Below 2^52 every whole number is a double and every double is a multiple
// of its ulp that divides 1.
constexpr double kExactLimit = 0x1p52;

// x = q * unit + *rest with whole q and 0 <= *rest < unit, for a whole unit
// up to a day and 0 <= x < kExactLimit (or -kExactLimit < x <= -unit);
// returns q. The whole seconds are split by integer floor division and the
// fraction x - floor(x) added back; in that range both steps are exact, so
// *rest is what std::fmod would give, moved into [0, unit).
double floor_units(double x, double unit, double* rest) {
    const double whole = std::floor(x);
    const auto n = static_cast<std::int64_t>(whole);
    const auto u = static_cast<std::int64_t>(unit);
    std::int64_t q = n / u, r = n % u;
    if (r < 0) r += u, q -= 1;
    *rest = static_cast<double>(r) + (x - whole);
    return static_cast<double>(q);
}

bool is_whole(double x) { return std::floor(x) == x; }  // false for NaN and infinities too

// The calendar date of a day number (its fraction dropped).
bool civil(double date, date::year_month_day& out) {
    double d = std::floor(date);
    if (!(d >= kFirstDay && d <= kLastDay)) return false;
    out = date::year_month_day(date::sys_days(date::days(static_cast<int>(d) + kUnixDay1960)));
    return true;
}

// A datetime as a whole day and the seconds into it, 0 <= time < 86400.
// day * 86400 + time == x exactly whenever x >= 0 (and for negative x whose
// fraction a double near 86400 can hold); otherwise time is the double
// nearest to x - day * 86400. A value so little below zero that time would
// round up to 86400 is taken as 1960-01-01T00:00:00.
struct DayTime {
    double day, time;
};

DayTime split_slow(double x) {
    double t = std::fmod(x, kDay);  // exact, with the sign of x
    double day = (x - t) / kDay;    // exact: x - t is a whole number of days
    if (t < 0) {
        double u = t + kDay;
        if (u < kDay) {
            t = u;
            day -= 1;
        } else {
            t = 0;
        }
    }
    return {day, t + 0.0};  // +0.0: no negative zero
}

DayTime split(double x) {
    // Negative values within a day of zero round their time of day, and
    // huge ones, NaN and the infinities have no exact quotient: those take
    // the remainder route.
    if (!(x >= 0 && x < kExactLimit) && !(x <= -kDay && x > -kExactLimit)) return split_slow(x);
    double t;
    double day = floor_units(x, kDay, &t);
    return {day + 0.0, t};  // +0.0: -0.0 is day 0
}

// The seconds into the hour or minute of a time of day (0 <= t < 86400, or
// NaN); the same value std::fmod gives.
double remainder_of(double t, double unit) {
    if (!(t >= 0 && t < kExactLimit)) return std::fmod(t, unit);
    double r;
    floor_units(t, unit, &r);
    return r;
}

}  // namespace

double zdatprt(double datetime) { return split(datetime).day; }
double ztimprt(double datetime) { return split(datetime).time; }

double zyear(double date) {
    date::year_month_day ymd;
    return civil(date, ymd) ? static_cast<int>(ymd.year()) : kMissing;
}

double zmonth(double date) {
    date::year_month_day ymd;
    return civil(date, ymd) ? static_cast<unsigned>(ymd.month()) : kMissing;
}

double zday(double date) {
    date::year_month_day ymd;
    return civil(date, ymd) ? static_cast<unsigned>(ymd.day()) : kMissing;
}

// Hours, minutes and seconds of the time of day; each step subtracts an
// exact remainder, so the three never disagree (no hour 24, no minute 60).
double zhour(double seconds) {
    double t = split(seconds).time;
    return (t - remainder_of(t, 3600.0)) / 3600.0;
}

double zminute(double seconds) {
    double r = remainder_of(split(seconds).time, 3600.0);
    return (r - remainder_of(r, 60.0)) / 60.0;
}

double zsecond(double seconds) { return remainder_of(split(seconds).time, 60.0); }

double zmdy(double month, double day, double year) {
    if (!is_whole(month) || !is_whole(day) || !is_whole(year)) return kMissing;
    if (month < 1 || month > 12 || day < 1 || day > 31) return kMissing;
    if (year < static_cast<int>(date::year::min()) || year > static_cast<int>(date::year::max())) return kMissing;
    date::year_month_day ymd{date::year{static_cast<int>(year)}, date::month{static_cast<unsigned>(month)},
                             date::day{static_cast<unsigned>(day)}};
    return ymd.ok() ? day_number(ymd) : kMissing;
}

double zhms(double hour, double minute, double second) { return hour * 3600.0 + minute * 60.0 + second; }

double zdhms(double date, double hour, double minute, double second) {
    return date * kDay + zhms(hour, minute, second);
}

double zjuldat(double date) { return std::floor(date) + kJulianDay1960; }

std::int32_t zymdjul(double* year, double* month, double* day, double julian) {
    date::year_month_day ymd;
    bool ok = civil(julian - kJulianDay1960, ymd);
    double y = ok ? static_cast<int>(ymd.year()) : kMissing;
    double m = ok ? static_cast<unsigned>(ymd.month()) : kMissing;
    double d = ok ? static_cast<unsigned>(ymd.day()) : kMissing;
    if (year) *year = y;
    if (month) *month = m;
    if (day) *day = d;
    return ok ? 0 : 1;
}

}  // namespace isofmt::service
