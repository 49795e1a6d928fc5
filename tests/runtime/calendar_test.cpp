// The host calendar: day numbers from 1960-01-01, datetimes split into day
// and time of day, and hours, minutes and seconds of a time.
#include <date/date.h>
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "service_host.h"
#include "support/split_reference.h"

namespace {

using runtime_test::missing;
using runtime_test::ServiceHost;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(Calendar, KnownDatesBothWays) {
    ServiceHost h;
    struct Case {
        int y, m, d;
        double day;
    };
    const Case cases[] = {
        {1960, 1, 1, 0},       {1959, 12, 31, -1},      {1582, 1, 1, -138061},     {9999, 12, 29, 2936547},
        {2000, 2, 29, 14669},  {1900, 3, 1, -21855},    {0, 1, 1, -715875},        {20000, 12, 26, 6589335},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d);
        EXPECT_EQ(hostcall::zmdy(c.m, c.d, c.y), c.day);
        EXPECT_EQ(hostcall::zyear(c.day + 0.75), c.y);  // a fraction of a day is dropped
        EXPECT_EQ(hostcall::zmonth(c.day), c.m);
        EXPECT_EQ(hostcall::zday(c.day), c.d);
        double y, m, d;
        EXPECT_EQ(hostcall::zymdjul(&y, &m, &d, hostcall::zjuldat(c.day)), 0);
        EXPECT_TRUE(y == c.y && m == c.m && d == c.d);
    }
    EXPECT_EQ(hostcall::zjuldat(0), 2436935);
    for (double day = -138061; day < 6589336; day += 997) {
        ASSERT_EQ(hostcall::zmdy(hostcall::zmonth(day), hostcall::zday(day), hostcall::zyear(day)), day);
    }
}

TEST(Calendar, MissingInMissingOut) {
    ServiceHost h;
    struct Case {
        double m, d, y;
    };
    const Case no_such_date[] = {{2, 30, 2020}, {2, 29, 2019}, {2, 29, 1900}, {13, 1, 2020}, {0, 1, 2020},
                                 {1, 0, 2020},  {4, 31, 2020}, {1.5, 1, 2020}, {kNaN, 1, 2020}, {1, 1, 1e9}};
    for (const Case& c : no_such_date) EXPECT_TRUE(missing(hostcall::zmdy(c.m, c.d, c.y))) << c.m << " " << c.d << " " << c.y;
    EXPECT_FALSE(missing(hostcall::zmdy(2, 29, 0)));  // year 0: a leap year

    for (double x : {kNaN, 1e300, -1e300}) {
        EXPECT_TRUE(missing(hostcall::zyear(x)) && missing(hostcall::zmonth(x)) && missing(hostcall::zday(x)));
        double y = 0, m = 0, d = 0;
        EXPECT_NE(hostcall::zymdjul(&y, &m, &d, x), 0);
        EXPECT_TRUE(missing(y) && missing(m) && missing(d));
    }
    EXPECT_TRUE(missing(hostcall::zdatprt(kNaN)) && missing(hostcall::ztimprt(kNaN)));
    EXPECT_TRUE(missing(hostcall::zhour(kNaN)) && missing(hostcall::zsecond(kNaN)));
    EXPECT_TRUE(missing(hostcall::zdhms(kNaN, 1, 2, 3)));
}

TEST(Calendar, DatetimeSplitsIntoDayAndTimeOfDay) {
    ServiceHost h;
    struct Case {
        double x, day, time;
    };
    const Case cases[] = {
        {86399.999, 0, 86399.999}, {86400, 1, 0},        {-1, -1, 86399},
        {-0.5, -1, 86399.5},       {-86400, -1, 0},      {-86400.25, -2, 86399.75},
        {-11928470400.0, -138061, 0}, {569318630399.5, 6589335, 86399.5},
        {-1e-20, 0, 0},  // so little below zero that 86400 - 1e-20 is 86400: midnight
    };
    for (const Case& c : cases) {
        EXPECT_EQ(hostcall::zdatprt(c.x), c.day) << c.x;
        EXPECT_EQ(hostcall::ztimprt(c.x), c.time) << c.x;
    }
    // Exact for every value not below zero. Below zero the time of day may
    // need finer digits than a double near 86400 holds: it is the nearest.
    for (double x = -1e6; x < 1e6; x += 1234.567) {
        double day = hostcall::zdatprt(x), time = hostcall::ztimprt(x);
        ASSERT_TRUE(time >= 0 && time < 86400) << x;
        if (x >= 0) {
            ASSERT_EQ(day * 86400 + time, x);
        } else {
            ASSERT_NEAR(day * 86400 + time, x, 7.3e-12);
        }
    }
}

TEST(Calendar, HoursMinutesSeconds) {
    ServiceHost h;
    struct Case {
        double x, hour, minute, second;
    };
    const Case cases[] = {
        {45296.789, 12, 34, 45296.789 - 45240},
        {90000, 1, 0, 0},  // within the day
        {-90, 23, 58, 30},  // of the floor-based day
        {3599.9999999999995, 0, 59, 3599.9999999999995 - 3540},  // never hour 1 with minute 59
    };
    for (const Case& c : cases) {
        EXPECT_EQ(hostcall::zhour(c.x), c.hour) << c.x;
        EXPECT_EQ(hostcall::zminute(c.x), c.minute) << c.x;
        EXPECT_EQ(hostcall::zsecond(c.x), c.second) << c.x;
    }
    EXPECT_EQ(hostcall::zhms(12, 34, 56.5), 45296.5);
    EXPECT_EQ(hostcall::zdhms(-1, 0, 0, 1), -86399);
}

// The day and the time of day, hours, minutes and seconds agree with the
// remainders std::fmod gives, over values weighted to the unit boundaries.
TEST(Calendar, SplitsAgreeWithFmod) {
    ServiceHost h;
    std::mt19937_64 rng(1960);
    std::uniform_real_distribution<double> wide(-1e12, 1e12), near(-1e-3, 1e-3);
    std::uniform_int_distribution<int> days(-200000, 3000000), step(0, 86400);
    for (int i = 0; i < 200000; ++i) {
        double x = i % 2 ? wide(rng) : days(rng) * 86400.0 + step(rng) + near(rng);
        if (x < 0 && x > -86400) x -= 86400;  // within a day below zero the time is rounded
        double t = std::fmod(x, 86400.0);
        double day = (x - t) / 86400.0;
        if (t < 0) t += 86400, day -= 1;
        ASSERT_EQ(hostcall::zdatprt(x), day) << x;
        ASSERT_EQ(hostcall::ztimprt(x), t) << x;
        const double in_hour = std::fmod(t, 3600.0);
        ASSERT_EQ(hostcall::zhour(x), (t - in_hour) / 3600) << x;
        ASSERT_EQ(hostcall::zminute(x), (in_hour - std::fmod(in_hour, 60.0)) / 60) << x;
        ASSERT_EQ(hostcall::zsecond(x), std::fmod(t, 60.0)) << x;
    }
}

// The calendar against the date library: the date of day numbers over the
// whole range (every day of 1800-2200 and near both ends, every 7th day
// elsewhere), and the day number of every month and day around them.
TEST(Calendar, AgreesWithTheDateLibrary) {
    ServiceHost h;
    constexpr int kUnix1960 = -3653;
    auto number = [](date::year_month_day ymd) { return date::sys_days(ymd).time_since_epoch().count() - kUnix1960; };
    const int first = number(date::year::min() / 1 / 1), last = number(date::year::max() / 12 / 31);
    const int near_1800 = number(date::year{1800} / 1 / 1), near_2200 = number(date::year{2200} / 12 / 31);
    for (int day = first - 3; day <= last + 3;
         day += (day < first + 1000 || day > last - 1000 || (day >= near_1800 && day <= near_2200)) ? 1 : 7) {
        double y = 0, m = 0, d = 0;
        const std::int32_t rc = hostcall::zymdjul(&y, &m, &d, hostcall::zjuldat(day + 0.5));
        if (day < first || day > last) {
            ASSERT_TRUE(rc != 0 && missing(y) && missing(m) && missing(d)) << day;
            ASSERT_TRUE(missing(hostcall::zyear(day)) && missing(hostcall::zmonth(day)) && missing(hostcall::zday(day)));
            continue;
        }
        const date::year_month_day want{date::sys_days(date::days(day + kUnix1960))};
        ASSERT_EQ(rc, 0) << day;
        ASSERT_EQ(y, static_cast<int>(want.year())) << day;
        ASSERT_EQ(m, static_cast<unsigned>(want.month())) << day;
        ASSERT_EQ(d, static_cast<unsigned>(want.day())) << day;
        ASSERT_EQ(hostcall::zmdy(m, d, y), day);
        if (day % 11 == 0) {
            ASSERT_EQ(hostcall::zyear(day + 0.25), y);
            ASSERT_EQ(hostcall::zmonth(day), m);
            ASSERT_EQ(hostcall::zday(day), d);
        }
    }
    auto years = [](int from, int to, int step) {
        std::vector<int> v;
        for (int y = from; y <= to; y += step) v.push_back(y);
        return v;
    };
    for (const std::vector<int>& span :
         {years(-32769, -32700, 1), years(-1000, 3000, 1), years(-32000, 32000, 997), years(32700, 32769, 1)}) {
        for (int year : span) {
            for (int month = -1; month <= 14; ++month) {
                for (int day = -1; day <= 33; ++day) {
                    const date::year_month_day ymd{date::year{year}, date::month(static_cast<unsigned>(month)),
                                                   date::day(static_cast<unsigned>(day))};
                    const bool ok = month >= 1 && day >= 1 && year >= static_cast<int>(date::year::min()) &&
                                    year <= static_cast<int>(date::year::max()) && ymd.ok();
                    const double got = hostcall::zmdy(month, day, year);
                    if (ok) {
                        ASSERT_EQ(got, number(ymd)) << year << "-" << month << "-" << day;
                    } else {
                        ASSERT_TRUE(missing(got)) << year << "-" << month << "-" << day;
                    }
                }
            }
        }
    }
    for (double bad : {0.5, -0.0001, 1e-9, kNaN, std::numeric_limits<double>::infinity()}) {
        EXPECT_TRUE(missing(hostcall::zmdy(1 + bad, 1, 2000)));
        EXPECT_TRUE(missing(hostcall::zmdy(1, 1 + bad, 2000)));
        EXPECT_TRUE(missing(hostcall::zmdy(1, 1, 2000 + bad)));
    }
}

// Hours, minutes and seconds against their definition by std::fmod at the
// corners: either side of every unit boundary, fractions next to 1, the
// exact-division limit, negative values within a day of zero, huge values.
TEST(Calendar, SplitsAtTheCorners) {
    ServiceHost h;
    auto check = [](double x) {
        using split_reference::bits;
        const split_reference::Split want = split_reference::split(x);
        ASSERT_EQ(bits(hostcall::zdatprt(x)), bits(want.day)) << x;
        ASSERT_EQ(bits(hostcall::ztimprt(x)), bits(want.time)) << x;
        ASSERT_EQ(bits(hostcall::zhour(x)), bits(want.hour)) << x;
        ASSERT_EQ(bits(hostcall::zminute(x)), bits(want.minute)) << x;
        ASSERT_EQ(bits(hostcall::zsecond(x)), bits(want.second)) << x;
    };
    const double inf = std::numeric_limits<double>::infinity();
    for (double x : {0.0, -0.0, 1e-300, -1e-300, -1e-20, -1e-11, -1e-10, 0x1p52, 0x1p52 - 1, 0x1p52 - 0.5, -0x1p52,
                     -0x1p52 + 0.5, 0x1p53, -0x1p53, 0x1p63, 0x1p64, 1e300, -1e300, inf, -inf, kNaN,
                     -86400.0, -86399.99999999999, -86400.00000000001})
        check(x);
    for (double base = -3 * 86400.0; base <= 3 * 86400.0; base += 60) {
        for (double delta : {-1.0, -0.5, -1e-9, -1e-12, 0.0, 1e-12, 1e-9, 0.5, 0.9999999999}) check(base + delta);
        check(std::nextafter(base, -inf));
        check(std::nextafter(base, inf));
        if (HasFatalFailure()) return;
    }
    std::mt19937_64 rng(86400);
    for (int i = 0; i < 100000; ++i) {
        const int exponent = static_cast<int>(rng() % 70) - 10;
        const double x = std::ldexp(static_cast<double>(rng() >> 11) / 0x1p53, exponent) * (rng() % 2 ? 1 : -1);
        check(x);
        if (HasFatalFailure()) return;
    }
}

}  // namespace

namespace {

// The day number of a date as the calendar defines it, by whole-number
// tests with std::floor and a count of days from 0000-03-01: NaN for a
// fraction, NaN or infinity anywhere, a month or day out of range, a day
// past its month, or a year outside -32767..32767.
double reference_day_number(double month, double day, double year) {
    const auto whole = [](double x) { return std::floor(x) == x; };
    if (!whole(month) || !whole(day) || !whole(year)) return kNaN;
    if (month < 1 || month > 12 || day < 1 || day > 31 || year < -32767 || year > 32767) return kNaN;
    const int y = static_cast<int>(year), m = static_cast<int>(month), d = static_cast<int>(day);
    const bool leap = y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
    constexpr int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (d > kMonthDays[m - 1] + (m == 2 && leap ? 1 : 0)) return kNaN;
    const long long yy = y - (m <= 2 ? 1 : 0) + 40000;  // from a March 1st before every year
    const long long mm = (m + 9) % 12;                     // March is 0
    const long long days = 365 * yy + yy / 4 - yy / 100 + yy / 400 + (153 * mm + 2) / 5 + d - 1;
    constexpr long long k1960 = 365LL * 41959 + 41959 / 4 - 41959 / 100 + 41959 / 400 + (153 * 10 + 2) / 5;
    return static_cast<double>(days - k1960);
}

}  // namespace

// Every combination of month, day and year taken from the corners: whole
// and almost whole numbers next to every bound, signed zeros, NaN, the
// infinities, values past the range of an int, February 29th in leap,
// common and century years, and the calendar's first and last years.
TEST(Calendar, DayNumberAtTheCorners) {
    ServiceHost h;
    const double inf = std::numeric_limits<double>::infinity();
    const double tiny = 1e-9, near_one = std::nextafter(1.0, 0.0), past_one = std::nextafter(1.0, 2.0);
    const std::vector<double> months = {kNaN, inf, -inf, 0.0, -0.0, near_one, 1, past_one, 1.5, 2, 3, 11.5, 12,
                                        std::nextafter(12.0, 13.0), 13, -1, 1e300, -1e300, 0x1p31, -0x1p31 - 1};
    const std::vector<double> days = {kNaN, inf, -inf, 0.0, -0.0, near_one, 1, 1 + tiny, 28, 28.5, 29, 30, 31,
                                      std::nextafter(31.0, 32.0), 32, -1, 1e300, 0x1p32 + 1, -0x1p31};
    const std::vector<double> years = {kNaN,    inf,     -inf,   0.0,    -0.0,    -1,       1,       1582,
                                       1900,    2000,    2019,   2020,   2100,    2400,     -4,      -100,
                                       -400,    1960.5,  -32767, -32767.5, -32768, 32767,   32767.5, 32768,
                                       1e300,   -1e300,  0x1p31, -0x1p31 - 1, 0x1p53, 2020 + tiny};
    auto bits = [](double v) { return std::isnan(v) ? 0x7ff8000000000000ULL : std::bit_cast<std::uint64_t>(v); };
    for (double m : months)
        for (double d : days)
            for (double y : years)
                ASSERT_EQ(bits(hostcall::zmdy(m, d, y)), bits(reference_day_number(m, d, y)))
                    << m << " " << d << " " << y;
    EXPECT_EQ(reference_day_number(1, 1, 1960), 0);
    EXPECT_EQ(reference_day_number(2, 29, 2000), 14669);
    EXPECT_EQ(reference_day_number(1, 1, 0), -715875);
}
