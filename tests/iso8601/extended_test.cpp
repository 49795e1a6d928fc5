// Extended date, time and datetime formats.
#include <gtest/gtest.h>

#include "iso8601/iso8601.h"
#include "render/format_call.h"

namespace {

using format_test::call;
using format_test::kMissing;
using format_test::right;

class Extended : public ::testing::Test {
protected:
    double literal(const char* text) { return *host.host.parse_literal(text); }
    testing_support::StaticHost host;
};

using format_test::Case;

TEST_F(Extended, DateAndDateOfDatetime) {
    const Case cases[] = {
        {f8601da, 0, 10, 0, "1960-01-01"},
        {f8601da, -138061, 10, 0, "1582-01-01"},
        {f8601da, -138062, 10, 0, "**********"},
        {f8601da, 2936547, 10, 0, "9999-12-29"},
        {f8601da, 2936548, 10, 0, "**********"},
        {f8601da, kMissing, 10, 0, right(".", 10)},
        {f8601dn, 86399, 10, 0, "1960-01-01"},
        {f8601dn, -1, 10, 0, "1959-12-31"},
        {f8601dn, -138061.0 * 86400, 10, 0, "1582-01-01"},
        {f8601dn, -138061.0 * 86400 - 1, 10, 0, "**********"},
        {f8601dn, 2936548.0 * 86400, 10, 0, "**********"},
        {f8601dn, kMissing, 10, 0, right(".", 10)},
    };
    for (const Case& c : cases) expect_renders(c, true);
}

TEST_F(Extended, TimeOfDay) {
    const Case cases[] = {
        {f8601tm, 32700, 8, 0, "09:05:00"},
        {f8601tm, 0, 8, 0, "00:00:00"},
        {f8601tm, -1, 8, 0, "********"},
        {f8601tm, 86400, 8, 0, "********"},
        {f8601tm, 86399.9996, 12, 3, "23:59:59.999"},  // never 24:00
        {f8601tm, 86399.6, 8, 0, "23:59:59"},
        {f8601tm, 86399.99999995, 15, 6, "23:59:59.999999"},
        {f8601tm, 86399.5, 10, 1, "23:59:59.5"},
        {f8601tm, 32700, 9, 1, "9:05:00.0"},  // the width goes to the decimal
        {f8601tm, 32700, 10, 1, "09:05:00.0"},
        {f8601tm, 45296.789, 15, 6, right("12:34:56.789000", 15)},
        {f8601tm, kMissing, 8, 0, right(".", 8)},
    };
    for (const Case& c : cases) expect_renders(c, true);
    // Below the minimum width (validation off) the midnight fold keeps the
    // shortened layouts.
    expect_renders(Case{f8601tm, 86399.9, 5, 0, "23:59"}, false);
    expect_renders(Case{f8601tm, 86399.9, 4, 0, "  23"}, false);
    expect_renders(Case{f8601tm, 86399.9, 7, 0, "  23:59"}, false);
}

TEST_F(Extended, Datetime) {
    const double mid = literal("2020-01-15T10:30:00");
    const Case cases[] = {
        {f8601dt, 0, 26, 0, right("1960-01-01T00:00:00", 26)},
        {f8601dt, 0, 26, 6, "1960-01-01T00:00:00.000000"},
        {f8601dt, 0, 19, 2, "1960-01-01T00:00:00"},  // no room for decimals
        {f8601dt, 0, 22, 2, "1960-01-01T00:00:00.00"},
        {f8601dt, 0, 24, 2, "  1960-01-01T00:00:00.00"},
        // A time field one wider than the time text: the whole text is
        // right-aligned, no blank after the T.
        {f8601dt, mid, 20, 1, " 2020-01-15T10:30:00"},
        {f8601dt, mid, 20, 4, " 2020-01-15T10:30:00"},
        {f8601dt, mid, 21, 2, "2020-01-15T10:30:00.0"},  // the decimals shrink to the width
        {f8601dt, mid, 21, 1, "2020-01-15T10:30:00.0"},
        // A one-digit hour gives way to its zero before any decimal is shown.
        {f8601dt, 32700, 20, 1, " 1960-01-01T09:05:00"},
        {f8601dt, 0, 21, 2, "1960-01-01T00:00:00.0"},
        {f8601dt, 0, 25, 6, "1960-01-01T00:00:00.00000"},
        {f8601dt, 0, 26, 6, "1960-01-01T00:00:00.000000"},
        {f8601dt, 86399.9996, 23, 3, "1960-01-01T23:59:59.999"},
        {f8601dt, -11928470400, 19, 0, "1582-01-01T00:00:00"},
        {f8601dt, -11928470401, 19, 0, std::string(19, '*')},
        {f8601dt, 253717747199, 19, 0, "9999-12-29T23:59:59"},
        {f8601dt, 253717747200, 19, 0, std::string(19, '*')},
    };
    for (const Case& c : cases) expect_renders(c, true);
}

}  // namespace
