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

struct Civil {
    int year;
    unsigned month, day;
};

// The calendar date of a whole day number from kFirstDay to kLastDay, by
// the Euclidean affine functions of Neri and Schneider: the days are moved
// by 82 cycles of 400 years to count from a March 1st before the first day,
// after which every step is an unsigned multiplication and shift.
constexpr Civil civil_of(int day_number) {
    constexpr std::uint32_t kCycles = 82;
    constexpr std::uint32_t kShift = 719468 + 146097 * kCycles + kUnixDay1960;  // day 0 of the count
    const std::uint32_t n = static_cast<std::uint32_t>(day_number) + kShift;
    const std::uint32_t n1 = 4 * n + 3;
    const std::uint32_t century = n1 / 146097;
    const std::uint32_t n2 = n1 % 146097 | 3;
    const std::uint64_t p2 = std::uint64_t{2939745} * n2;
    const std::uint32_t year_of_century = static_cast<std::uint32_t>(p2 >> 32);
    const std::uint32_t day_of_year = static_cast<std::uint32_t>(p2) / 2939745 / 4;  // from March 1st
    const std::uint32_t n3 = 2141 * day_of_year + 197913;
    const std::uint32_t month = n3 >> 16, day = (n3 & 0xFFFF) / 2141 + 1;
    const bool january_or_february = day_of_year >= 306;
    return {static_cast<int>(100 * century + year_of_century) - static_cast<int>(400 * kCycles) +
                (january_or_february ? 1 : 0),
            january_or_february ? month - 12 : month, day};
}
// The day number of a valid date of the calendar's years: the inverse of
// civil_of.
constexpr int day_number_of(int year, unsigned month, unsigned day) {
    constexpr std::uint32_t kCycles = 82;
    const std::uint32_t january_or_february = month <= 2 ? 1 : 0;
    const std::uint32_t y = static_cast<std::uint32_t>(year + 400 * static_cast<int>(kCycles)) - january_or_february;
    const std::uint32_t m = january_or_february ? month + 12 : month;
    const std::uint32_t century = y / 100;
    const std::uint32_t n = 1461 * y / 4 - century + century / 4 + (979 * m - 2919) / 32 + day - 1;
    return static_cast<int>(n - (719468 + 146097 * kCycles)) - kUnixDay1960;
}
static_assert(day_number_of(1960, 1, 1) == 0 && day_number_of(1582, 1, 1) == -138061);

constexpr bool is_leap(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

static_assert(kFirstDay + kUnixDay1960 + 719468 + 146097 * 82 >= 0);
static_assert(civil_of(0).year == 1960 && civil_of(0).month == 1 && civil_of(0).day == 1);
static_assert(civil_of(-1).year == 1959 && civil_of(-1).month == 12 && civil_of(-1).day == 31);

// The calendar date of a day number (its fraction dropped).
bool civil(double date, Civil& out) {
    double d = std::floor(date);
    if (!(d >= kFirstDay && d <= kLastDay)) return false;
    out = civil_of(static_cast<int>(d));
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
    if (x >= 0 && x < kExactLimit) {  // the common case: whole seconds by unsigned division
        const auto n = static_cast<std::uint64_t>(x);
        return {static_cast<double>(n / 86400), static_cast<double>(n % 86400) + (x - static_cast<double>(n))};
    }
    // Negative values within a day of zero round their time of day, and
    // huge ones, NaN and the infinities have no exact quotient: those take
    // the remainder route.
    if (!(x <= -kDay && x > -kExactLimit)) return split_slow(x);
    double t;
    double day = floor_units(x, kDay, &t);
    return {day + 0.0, t};  // +0.0: -0.0 is day 0
}

// The time of day of a datetime (0 <= t < 86400, or NaN) as whole seconds
// and the fraction, t == whole + fraction exactly. Each remainder of t by an
// hour or a minute is then (whole % unit) + fraction, exact (it is a
// multiple of t's ulp below t), the same value std::fmod gives; and t less
// that remainder is whole less whole % unit, exactly.
struct Clock {
    bool present;
    int whole;
    double fraction;
};

Clock clock_of(double seconds) {
    if (seconds >= 0 && seconds < kExactLimit) {  // split's common case, the whole seconds kept
        const auto n = static_cast<std::uint64_t>(seconds);
        return {true, static_cast<int>(n % 86400), seconds - static_cast<double>(n)};
    }
    const double t = split(seconds).time;
    if (t != t) return {false, 0, 0};
    const int whole = static_cast<int>(t);  // toward zero: t >= 0
    return {true, whole, t - whole};
}

}  // namespace

double zdatprt(double datetime) { return split(datetime).day; }
double ztimprt(double datetime) { return split(datetime).time; }

double zyear(double date) {
    Civil c;
    return civil(date, c) ? c.year : kMissing;
}

double zmonth(double date) {
    Civil c;
    return civil(date, c) ? c.month : kMissing;
}

double zday(double date) {
    Civil c;
    return civil(date, c) ? c.day : kMissing;
}

// Hours, minutes and seconds of the time of day; each step subtracts an
// exact remainder, so the three never disagree (no hour 24, no minute 60).
double zhour(double seconds) {
    const Clock c = clock_of(seconds);
    return c.present ? c.whole / 3600 : kMissing;
}

double zminute(double seconds) {
    const Clock c = clock_of(seconds);
    return c.present ? c.whole % 3600 / 60 : kMissing;
}

double zsecond(double seconds) {
    const Clock c = clock_of(seconds);
    return c.present ? (c.whole % 60) + c.fraction : kMissing;
}

double zmdy(double month, double day, double year) {
    // The ranges first (NaN fails every comparison), then whether each is
    // whole: within the ranges the conversion to int is exact for a whole
    // number and drops the fraction of any other.
    constexpr double kMinYear = static_cast<int>(date::year::min()), kMaxYear = static_cast<int>(date::year::max());
    if (!(month >= 1 && month <= 12 && day >= 1 && day <= 31 && year >= kMinYear && year <= kMaxYear))
        return kMissing;
    const int m = static_cast<int>(month), d = static_cast<int>(day), y = static_cast<int>(year);
    if (m != month || d != day || y != year) return kMissing;
    static constexpr unsigned char kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (d > kMonthDays[m - 1] && !(m == 2 && d == 29 && is_leap(y))) return kMissing;
    return day_number_of(y, static_cast<unsigned>(m), static_cast<unsigned>(d));
}

double zhms(double hour, double minute, double second) { return hour * 3600.0 + minute * 60.0 + second; }

double zdhms(double date, double hour, double minute, double second) {
    return date * kDay + zhms(hour, minute, second);
}

double zjuldat(double date) { return std::floor(date) + kJulianDay1960; }

std::int32_t zymdjul(double* year, double* month, double* day, double julian) {
    Civil c;
    bool ok = civil(julian - kJulianDay1960, c);
    double y = ok ? c.year : kMissing;
    double m = ok ? c.month : kMissing;
    double d = ok ? c.day : kMissing;
    if (year) *year = y;
    if (month) *month = m;
    if (day) *day = d;
    return ok ? 0 : 1;
}

}  // namespace isofmt::service
