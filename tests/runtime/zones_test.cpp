// Zone offsets of an environment (IANA zones and fixed offsets) and the
// ISO 8601 offset text.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <set>
#include <stdexcept>
#include <string>

#include "service_host.h"
#include "support/c_library_zone.h"

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

// Every hour of sample years, from local mean time and the wars to years
// past the zone files' last listed transitions, in a northern and a southern
// zone: the offset is the C library's, cut toward zero to whole minutes. A
// local time read back through the offset the host gives for it names that
// local time.
TEST(Zones, EveryHourOfSampleYearsAgreesWithTheCLibrary) {
    using testing_support::unix_of;
    ServiceHost h;
    const auto minutes = [](long seconds) { return seconds - seconds % 60; };
    for (const char* zone : {"America/New_York", "Europe/Paris", "Australia/Sydney"}) {
        testing_support::CLibraryZone c(zone);
        Environment* e = h.host.create_environment({.time_zone = zone});
        for (int year : {1900, 1918, 1944, 1970, 2007, 2037, 2038, 2040, 2100, 2199, 2200, 9999}) {
            std::set<long> seen;
            const std::int64_t first = unix_of(year, 1, 1, 0), last = unix_of(year, 12, 31, 23);
            for (std::int64_t u = first; u <= last; u += 3600) {
                const long expected = minutes(c.local(u).tm_gmtoff);
                seen.insert(expected);
                const double x = static_cast<double>(u - testing_support::kUnix1960);
                ASSERT_EQ(hostcall::xkgtzof4(e, 1, x), expected) << zone << " " << u;
                const double wall = x + expected;
                const double o = hostcall::xkgtzof4(e, 0, wall);
                const std::int64_t back = static_cast<std::int64_t>(wall - o) + testing_support::kUnix1960;
                ASSERT_EQ(minutes(c.local(back).tm_gmtoff), o) << zone << " local " << u;
            }
            if (year >= 2040) EXPECT_EQ(seen.size(), 2u) << zone << " " << year << ": summer and winter time";
        }
    }
}

// Summer and winter offsets named outright, for the cases people check.
TEST(Zones, SummerAndWinterOfFarYears) {
    using testing_support::unix_of;
    ServiceHost h;
    struct Case {
        const char* zone;
        int year, month;
        double offset;
    };
    const Case cases[] = {
        {"America/New_York", 2040, 6, -4 * 3600}, {"America/New_York", 2040, 12, -5 * 3600},
        {"America/New_York", 9999, 7, -4 * 3600}, {"Europe/Paris", 2050, 7, 2 * 3600},
        {"Europe/Paris", 2100, 1, 3600},          {"Australia/Sydney", 2100, 1, 11 * 3600},
        {"Australia/Sydney", 9999, 7, 10 * 3600},
    };
    for (const Case& c : cases) {
        Environment* e = h.host.create_environment({.time_zone = c.zone});
        const double x = static_cast<double>(unix_of(c.year, c.month, 10, 12) - testing_support::kUnix1960);
        EXPECT_EQ(hostcall::xkgtzof4(e, 1, x), c.offset) << c.zone << " " << c.year;
        EXPECT_EQ(hostcall::xkgtzof4(e, 0, x), c.offset) << c.zone << " " << c.year;
    }
}

// A local mean time offset with seconds is cut toward zero to whole
// minutes, the same for instants and for local times.
TEST(Zones, OffsetsWithSecondsAreWholeMinutesTowardZero) {
    using testing_support::unix_of;
    ServiceHost h;
    struct Case {
        const char* zone;
        int year, month;
        double offset;  // what the zone file holds: -4:56:02, -0:44:30, +10:04:52
    };
    const Case cases[] = {{"America/New_York", 1800, 1, -17760},
                          {"Africa/Monrovia", 1960, 6, -2640},
                          {"Australia/Sydney", 1890, 1, 36240}};
    for (const Case& c : cases) {
        testing_support::CLibraryZone lib(c.zone);
        Environment* e = h.host.create_environment({.time_zone = c.zone});
        const std::int64_t u = unix_of(c.year, c.month, 1, 0);
        const long seconds = lib.local(u).tm_gmtoff;
        ASSERT_NE(seconds % 60, 0) << c.zone << ": an offset with seconds";
        ASSERT_EQ(seconds - seconds % 60, c.offset) << c.zone;
        const double x = static_cast<double>(u - testing_support::kUnix1960);
        EXPECT_EQ(hostcall::xkgtzof4(e, 1, x), c.offset) << c.zone;
        EXPECT_EQ(hostcall::xkgtzof4(e, 0, x), c.offset) << c.zone;
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
    for (const char* bad : {"Mars/Olympus", "+5:30", "+24:00", "05:30", "", "/etc/passwd", "../zoneinfo/UTC",
                            "America//New_York", "America/", "file:UTC", "America"}) {
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
