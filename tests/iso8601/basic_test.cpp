// The basic formats: the extended text without delimiters.
#include <gtest/gtest.h>

#include "host/module_state.h"
#include "iso8601/iso8601.h"
#include "render/format_call.h"

namespace {

using format_test::call;
using format_test::kMissing;
using format_test::right;

using format_test::Case;

class Basic : public ::testing::Test {
protected:
    Basic() : host(west()) { uwxn8601_init(); }
    static isofmt::HostConfig west() {
        isofmt::HostConfig config;
        config.environment.time_zone = "-05:00";
        return config;
    }
    Environment* zone(const char* name) {
        isofmt::EnvironmentConfig config;
        config.time_zone = name;
        return host.host.create_environment(config);
    }
    testing_support::StaticHost host;
};

TEST_F(Basic, DelimitersDropped) {
    Environment* minus3 = zone("-03:00");
    Environment* kolkata = zone("+05:30");
    const Case cases[] = {
        {b8601da, 0, 8, 0, "19600101"},
        {b8601da, 0, 10, 0, "  19600101"},
        {b8601dn, 86399, 8, 0, "19600101"},
        {b8601tm, 32700, 6, 0, "090500"},
        {b8601tm, 32700.5, 15, 6, right("090500500000", 15)},
        {b8601tm, 86399.9996, 10, 3, " 235959999"},  // never 24
        {b8601tz, 32700, 9, 0, "  090500Z"},
        {b8601tz, 32700, 14, 0, "   090500+0000"},
        {b8601tz, 32700, 9, 6, "09050000Z"},  // the decimals give way to the Z
        {b8601lz, 32700, 14, 0, "   090500-0500"},  // the minus survives
        {b8601lz, 32700, 9, 0, "  090500Z"},
        {b8601dt, 0, 15, 0, "19600101T000000"},
        {b8601dt, 0, 15, 3, "19600101T000000"},
        {b8601dt, 0, 26, 6, "     19600101T000000000000"},
        {b8601dz, 0, 20, 0, "19600101T000000+0000"},
        {b8601dz, 0, 20, 6, "19600101T0000000000Z"},
        {b8601dz, 0, 35, 6, right("19600101T000000000000+0000", 35)},
        {b8601dx, 0, 20, 0, "19591231T210000-0300", minus3},
        {b8601dx, 0, 20, 0, "19600101T053000+0530", kolkata},
        {b8601dx, 0, 24, 2, "  19600101T05300000+0530", kolkata},
        {b8601lx, 0, 20, 0, "19600101T000000-0300", minus3},
        {b8601tx, 3600, 14, 0, "   220000-0300", minus3},
        {b8601tx, 3600, 9, 0, "220000-03", minus3},
    };
    for (const Case& c : cases) expect_renders(c, true);
}

// A field too narrow for the full text drops the fraction before any digit of
// the date or the hour.
TEST_F(Basic, NarrowFieldsDropDecimalsFirst) {
    Environment* minus3 = zone("-03:00");
    const Case cases[] = {
        {b8601tm, 32700, 6, 3, "090500"},     // not 905000
        {b8601tm, 32700, 8, 3, "09050000"},
        {b8601tm, 32700, 7, 6, "0905000"},
        {b8601tm, 45296.789, 8, 3, "12345679"},
        {b8601dx, 0, 20, 6, "19591231T21000000000", minus3},  // not 9591231T...
        {b8601lx, 0, 20, 6, "19600101T00000000000", minus3},
        {b8601dx, 0, 21, 6, "19591231T210000000000", minus3},
    };
    for (const Case& c : cases) expect_renders(c, true);
}

// Missing and out-of-range values come out as the extended routine writes
// them across the caller's width, with no delimiter removed.
TEST_F(Basic, MissingAndOutOfRange) {
    const Case cases[] = {
        {b8601da, kMissing, 8, 0, right(".", 8)},
        {b8601tm, kMissing, 6, 0, right(".", 6)},
        {b8601dt, kMissing, 15, 0, right(".", 15)},
        {b8601dz, kMissing, 20, 0, right(".", 14) + "      "},
        {b8601tz, kMissing, 9, 0, "  .      "},
        {b8601da, -138062, 8, 0, "********"},
        {b8601dn, 2936548.0 * 86400, 8, 0, "********"},
        {b8601tx, 86400, 9, 0, "*********"},
        {b8601dx, -11928470401, 20, 0, std::string(20, '*')},
    };
    for (const Case& c : cases) expect_renders(c, true);
}

}  // namespace
