// Zone-qualified extended formats: universal, the host's GMT offset, and the
// task zone's offset (fixed and with daylight saving).
#include <gtest/gtest.h>

#include "host/module_state.h"
#include "iso8601/iso8601.h"
#include "render/format_call.h"

namespace {

using format_test::call;
using format_test::kMissing;
using format_test::right;

isofmt::HostConfig in_zone(const char* zone) {
    isofmt::HostConfig config;
    config.environment.time_zone = zone;
    return config;
}

class Zone : public ::testing::Test {
protected:
    Environment* zone(const char* name) {
        isofmt::EnvironmentConfig config;
        config.time_zone = name;
        return host.host.create_environment(config);
    }
    double literal(const char* text) { return *host.host.parse_literal(text); }
    testing_support::StaticHost host;
};

using format_test::Case;

TEST_F(Zone, UniversalSuffixByRoom) {
    const Case cases[] = {
        {f8601dz, 0, 20, 0, "1960-01-01T00:00:00Z"},
        {f8601dz, 0, 24, 0, "    1960-01-01T00:00:00Z"},
        {f8601dz, 0, 25, 0, "1960-01-01T00:00:00+00:00"},
        {f8601dz, 0, 26, 0, " 1960-01-01T00:00:00+00:00"},
        {f8601dz, 0, 35, 6, right("1960-01-01T00:00:00.000000+00:00", 35)},
        {f8601dz, 0, 26, 6, "1960-01-01T00:00:00.000000"},  // fills the width: no room for a zone
        {f8601dz, kMissing, 26, 0, right(".", 20) + "      "},
        {f8601dz, kMissing, 21, 3, right(".", 15) + "      "},
        {f8601dz, 253717747200, 20, 0, std::string(20, '*')},
        {f8601tz, 32700, 9, 3, "09:05:00Z"},  // no decimals fit
        {f8601tz, 32700, 14, 3, " 09:05:00.000Z"},
        {f8601tz, 32700, 20, 5, "09:05:00.00000+00:00"},
        {f8601tz, 32700, 20, 6, "    09:05:00.000000Z"},  // room 5 is too little for +00:00
        {f8601tz, 86399.9999, 9, 0, "23:59:59Z"},
        {f8601tz, kMissing, 14, 0, right(".", 8) + "      "},
        {f8601tz, 86400, 9, 0, "*********"},
    };
    for (const Case& c : cases) expect_renders(c, true);
}

// Decimals that do not fit the width are dropped first, keeping a place for
// the designator; the text never runs past the width.
TEST_F(Zone, DatetimeDecimalsGiveWayInNarrowFields) {
    Environment* utc = zone("UTC");  // a one-place room takes no zone text
    const Case cases[] = {
        {f8601dz, 0, 20, 6, "1960-01-01T00:00:00Z"},
        {f8601dz, 0, 21, 6, " 1960-01-01T00:00:00Z"},
        {f8601dz, 0, 22, 6, "1960-01-01T00:00:00.0Z"},
        {f8601dz, 0, 25, 6, "1960-01-01T00:00:00.0000Z"},
        {f8601dz, 0, 25, 5, "1960-01-01T00:00:00.00000"},  // fits as asked
        {f8601dx, 0, 22, 3, " 1960-01-01T00:00:00.0", utc},
        {f8601lx, 0, 20, 1, " 1960-01-01T00:00:00", utc},
    };
    for (const Case& c : cases) expect_renders(c, true);
}

TEST_F(Zone, TaskZoneOffsets) {
    Environment* kolkata = zone("+05:30");
    Environment* minus3 = zone("-03:00");
    Environment* minus2 = zone("-02:00");
    Environment* new_york = zone("America/New_York");
    const double summer = literal("2020-07-01T12:00:00");
    const double winter = literal("2020-01-15T12:00:00");
    const Case cases[] = {
        {f8601dx, 0, 26, 0, " 1960-01-01T05:30:00+05:30", kolkata},
        {f8601dx, 0, 25, 0, "1960-01-01T05:30:00+05:30", kolkata},
        {f8601dx, 0, 24, 0, "1960-01-01T05:30:00+0530", kolkata},  // room 5
        {f8601dx, 0, 22, 0, "   1960-01-01T05:30:00", kolkata},   // room 3: no whole-hour text
        {f8601dx, 0, 22, 0, "1959-12-31T21:00:00-03", minus3},
        {f8601dx, 0, 21, 0, "  1959-12-31T21:00:00", minus3},     // room 2: no zone text
        {f8601dx, summer, 26, 0, " 2020-07-01T08:00:00-04:00", new_york},
        {f8601dx, winter, 26, 0, " 2020-01-15T07:00:00-05:00", new_york},
        {f8601dx, summer, 35, 3, right("2020-07-01T08:00:00.000-04:00", 35), new_york},
        {f8601lx, summer, 26, 0, " 2020-07-01T12:00:00-04:00", new_york},
        {f8601lx, winter, 26, 0, " 2020-01-15T12:00:00-05:00", new_york},
        {f8601dx, kMissing, 26, 0, right(".", 26), new_york},
        {f8601tx, 3600, 14, 0, "23:00:00-02:00", minus2},        // wraps back over midnight
        {f8601tx, 86000, 14, 0, "05:23:20+05:30", kolkata},      // wraps forward
        {f8601tx, 3600, 11, 0, "23:00:00-02", minus2},
        {f8601tx, 3600, 10, 0, "  23:00:00", minus2},
        {f8601tx, kMissing, 14, 0, right(".", 14), minus2},  // no zone text for a missing value
        {f8601tx, 86400, 14, 0, std::string(14, '*'), minus2},
    };
    for (const Case& c : cases) expect_renders(c, true);
    // A shift past the end of the calendar shows asterisks, not a wider text.
    expect_renders(Case{f8601dx, 253717747199, 20, 0, std::string(20, '*'), kolkata}, true);
    expect_renders(Case{f8601dx, 253717747199, 35, 0, std::string(35, '*'), kolkata}, true);
}

TEST(GmtZone, LocalOffsetReplacesUniversal) {
    testing_support::StaticHost west(in_zone("-05:00"));
    uwxn8601_init();
    expect_renders(Case{f8601lz, 32700, 14, 0, "09:05:00-05:00"}, true);
    expect_renders(Case{f8601lz, 32700, 9, 0, "09:05:00Z"}, true);
    expect_renders(Case{f8601lz, 32700, 20, 5, "09:05:00.00000-05:00"}, true);
    expect_renders(Case{f8601lz, kMissing, 14, 0, right(".", 8) + "      "}, true);
}

// The host's missing-value text is shown as the host wrote it, even when it
// holds the characters that the hour padding and the offset look for.
TEST(GmtZone, MissingTextIsNotEdited) {
    isofmt::HostConfig config = in_zone("-05:00");
    config.environment.missing_text = "+a:b";
    testing_support::StaticHost odd(config);
    uwxn8601_init();
    expect_renders(Case{f8601tm, kMissing, 8, 0, "    +a:b"}, true);
    expect_renders(Case{f8601lz, kMissing, 14, 0, "    +a:b      "}, true);
}

TEST(GmtZone, WithoutModuleStateTheOffsetIsBlank) {
    testing_support::StaticHost bare(in_zone("+01:00"));
    expect_renders(Case{f8601lz, 32700, 14, 0, "09:05:00      "}, true);
}

}  // namespace
