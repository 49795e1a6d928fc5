// Zone offsets of an environment (IANA zones and fixed offsets) and the
// ISO 8601 offset text.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>

#include "service_host.h"

namespace {

using runtime_test::ServiceHost;

double datetime(int y, int m, int d, int hh, int mm) {
    return hostcall::zdhms(hostcall::zmdy(m, d, y), hh, mm, 0);
}

TEST(Zones, NewYorkInSummerAndWinter) {
    ServiceHost h;
    Environment* ny = h.host.create_environment({.time_zone = "America/New_York"});
    struct Case {
        int universal;
        double at;
        double offset;
    };
    const Case cases[] = {
        {1, datetime(2020, 7, 1, 12, 0), -4 * 3600},
        {1, datetime(2020, 1, 15, 12, 0), -5 * 3600},
        {1, datetime(2020, 3, 8, 6, 59), -5 * 3600},   // 01:59 EST
        {1, datetime(2020, 3, 8, 7, 0), -4 * 3600},    // 03:00 EDT
        {0, datetime(2020, 7, 1, 12, 0), -4 * 3600},
        {0, datetime(2020, 1, 15, 12, 0), -5 * 3600},
        {0, datetime(2020, 11, 1, 1, 30), -4 * 3600},  // ambiguous: the earlier offset
        {0, datetime(2020, 3, 8, 2, 30), -5 * 3600},   // in the gap: the offset before it
        {1, datetime(1965, 1, 1, 0, 0), -5 * 3600},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(hostcall::xkgtzof4(ny, c.universal, c.at), c.offset) << c.universal << " " << c.at;
    }
    double now = hostcall::xkgtzoff(ny);
    EXPECT_TRUE(now == -4 * 3600 || now == -5 * 3600);
    EXPECT_EQ(hostcall::xkgtzof4(ny, 1, std::numeric_limits<double>::quiet_NaN()), now);  // no instant: now
    for (double far : {1e300, -1e300, 569318630400.0, -11928470400.0}) {
        double off = hostcall::xkgtzof4(ny, 1, far);
        EXPECT_TRUE(off > -6 * 3600 && off < -3 * 3600) << far;
    }
}

TEST(Zones, FixedOffsetsAndTheDefaultEnvironment) {
    ServiceHost h(runtime_test::with_environment({.time_zone = "+05:30"}));
    struct Case {
        const char* zone;
        double offset;
    };
    const Case cases[] = {{"UTC", 0}, {"Z", 0}, {"-03:00", -3 * 3600}, {"+0530", 19800}, {"-11", -11 * 3600},
                          {"Etc/GMT-3", 3 * 3600}};
    for (const Case& c : cases) {
        Environment* e = h.host.create_environment({.time_zone = c.zone});
        EXPECT_EQ(hostcall::xkgtzoff(e), c.offset) << c.zone;
        EXPECT_EQ(hostcall::xkgtzof4(e, 0, 1e9), c.offset) << c.zone;
    }
    EXPECT_EQ(hostcall::xkgtzoff(nullptr), 19800);
    EXPECT_EQ(hostcall::xkgtzof4(nullptr, 1, 0), 19800);
    double gmt = 0;
    EXPECT_EQ(hostcall::wzdtgmt(&gmt), 0);
    EXPECT_EQ(gmt, 19800);
    for (const char* bad : {"Mars/Olympus", "+5:30", "+24:00", "05:30", ""}) {
        EXPECT_THROW(h.host.create_environment({.time_zone = bad}), std::runtime_error) << bad;
    }
}

TEST(Zones, OffsetTextByRoom) {
    ServiceHost h;
    struct Case {
        double offset;
        int room;
        const char* text;
    };
    const Case cases[] = {
        {19800, 8, "+05:30"}, {19800, 6, "+05:30"}, {19800, 5, "+0530"}, {19800, 4, ""},   {19800, 3, ""},
        {-18000, 4, "-05"},   {-18000, 3, "-05"},   {-18000, 2, ""},     {0, 6, "+00:00"}, {0, 3, "+00"},
        {-59, 6, "-00:00"},   {-12600, 6, "-03:30"}, {50400, 6, "+14:00"}, {0, 0, ""},     {0, -1, ""},
        {std::numeric_limits<double>::quiet_NaN(), 8, ""}, {1e12, 8, ""},
    };
    for (const Case& c : cases) {
        char area[8];
        std::memset(area, '#', sizeof area);
        std::int32_t length = -1;
        hostcall::xkgtzstr(area, c.room, &length, c.offset);
        ASSERT_GE(length, 0);
        EXPECT_EQ(std::string(area, length), c.text) << c.offset << " room " << c.room;
        EXPECT_EQ(std::string(area + length, 8 - length), std::string(8 - length, '#'));
    }
}

}  // namespace
