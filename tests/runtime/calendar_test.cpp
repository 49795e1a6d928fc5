// The host calendar: day numbers from 1960-01-01, datetimes split into day
// and time of day, and hours, minutes and seconds of a time.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "service_host.h"

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

}  // namespace
