// The range check, the time renderer and the year-month-day renderers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "render/format_call.h"
#include "render/render.h"

namespace {

using format_test::call;
using format_test::kMissing;
using format_test::right;

class Render : public ::testing::Test {
protected:
    testing_support::StaticHost host;
};

// zdatrng --------------------------------------------------------------------

TEST_F(Render, RangeBoundsByKind) {
    const double inf = INFINITY;
    struct Case {
        int kind;
        double value;
        int result;
    } cases[] = {
        {kRangeDate, -138061, kRenderable},      {kRangeDate, -138062, kOutOfRangeDone},
        {kRangeDate, 6589335, kRenderable},      {kRangeDate, 6589336, kOutOfRangeDone},
        {kRangeTime, -11928470400, kRenderable}, {kRangeTime, -11928470401, kOutOfRangeDone},
        {kRangeTime, 569318630399, kRenderable}, {kRangeDatetime, 569318630400, kOutOfRangeDone},
        {kRangeDatetime, inf, kOutOfRangeDone},  {kRangeDate, -inf, kOutOfRangeDone},
        {0, 1e300, kRenderable},                 {4, -inf, kRenderable},
    };
    for (const auto& c : cases) {
        char out[8];
        std::memset(out, '#', sizeof out);
        FormatBlock b = testing_support::numeric_block(&c.value, 8, 3, out, 8);
        b.output_length = -1;
        ASSERT_EQ(zdatrng(&b, c.kind), c.result) << c.kind << " " << c.value;
        if (c.result == kOutOfRangeDone) {
            EXPECT_EQ(std::string(out, 8), "********");
            EXPECT_EQ(b.output_length, 8);
        } else {
            EXPECT_EQ(std::string(out, 8), "########");  // untouched
            EXPECT_EQ(b.output_length, -1);
        }
    }
}

TEST_F(Render, RangeMissingOfAnyPayloadKeepsDecimals) {
    for (std::uint64_t bits : {0x7FF8000000000000ull, 0xFFFFFE0000000000ull, 0x7FF0000000000001ull}) {
        double nan;
        std::memcpy(&nan, &bits, sizeof nan);
        char out[6];
        FormatBlock b = testing_support::numeric_block(&nan, 6, 4, out, 6);
        EXPECT_EQ(zdatrng(&b, kRangeTime), kMissingDone);
        EXPECT_EQ(b.decimals, 4);
        EXPECT_EQ(testing_support::output_of(b), "     .");
    }
}

// zfmtime --------------------------------------------------------------------

struct TimeCase {
    double value;
    int width, decimals;
    std::string want;
};

TEST_F(Render, TimeLayoutsAndRounding) {
    const TimeCase cases[] = {
        {0, 8, 0, " 0:00:00"},
        {90000, 8, 0, "25:00:00"},           // hours are not reduced to a day
        {-90, 8, 0, "-0:01:30"},
        {-0.4, 8, 0, "-0:00:00"},            // the sign stays
        {-0.0, 8, 0, " 0:00:00"},            // minus zero is not negative
        {3661.5, 8, 0, " 1:01:02"},          // half a second rounds up
        {59.5, 8, 0, " 0:01:00"},            // first stage carries into the minute
        {3599.6, 8, 0, " 1:00:00"},          // ... and into the hour
        {59.9996, 12, 3, " 0:01:00.000"},
        {45296.789, 8, 3, "12:34:57"},       // no room for decimals
        {45296.789, 12, 3, "12:34:56.789"},
        {45296.789, 11, 3, "12:34:56.79"},
        {45296.789, 9, 3, " 12:34:57"},      // room 7: whole seconds only
        {45296.789, 5, 3, "12:34"},
        {45296.789, 4, 0, "  12"},
        {45296.789, 2, 0, "12"},
        {442800, 2, 0, "**"},                // 123 hours do not fit
        {442800, 3, 0, "123"},
        {442800, 6, 0, "123:00"},
        {86399.9996, 12, 3, "24:00:00.000"}, // never wraps to the next day
        {86399.5, 8, 0, "24:00:00"},
        {32700, 20, 6, right("9:05:00.000000", 20)},
        {32700.25, 10, 6, "9:05:00.25"},     // the decimals shrink to the width
        {5.25, 11, 2, right("0:00:05.25", 11)},
        {35999.95, 9, 1, " 10:00:00"},       // carried into hour 10: no room left for the decimal
        {-45296.789, 13, 3, "-12:34:56.789"},
        {-45296.789, 12, 3, "-12:34:56.79"},
        {-90000, 3, 0, "-25"},
        {-90000, 2, 0, "**"},
        {7 * 86400 + 3600 * 5 + 61, 8, 0, "  173:01"},  // room 5: hours and minutes
    };
    for (const TimeCase& c : cases) {
        auto r = call(zfmtime, c.value, c.width, c.decimals);
        EXPECT_EQ(r.text, c.want) << c.value << " w" << c.width << " d" << c.decimals;
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.length, c.width);
        EXPECT_FALSE(r.beyond);
    }
}

TEST_F(Render, TimeSecondStageCarriesIntoNewHourDigit) {
    // 9:59:59.96 at width 8: the seconds round up through the minute into
    // hour 10, which needs a second digit.
    auto r = call(zfmtime, 35999.96, 8, 0);
    EXPECT_EQ(r.text, "10:00:00");
    // With a decimal the first stage (half of 0.1) already carries.
    EXPECT_EQ(call(zfmtime, 35999.96, 10, 1).text, "10:00:00.0");
}

TEST_F(Render, TimeOutOfRangeAndMissing) {
    auto out = call(zfmtime, 569318630400, 8, 0);
    EXPECT_EQ(out.text, "********");
    EXPECT_EQ(out.status, status::kOutOfRange);
    auto missing = call(zfmtime, kMissing, 8, 2, true);
    EXPECT_EQ(missing.text, "       .");
    EXPECT_EQ(missing.status, 0);
    EXPECT_EQ(call(zfmtime, 1.5, 12, -2).text, right("0:00:02", 12));  // negative decimals: none
}

// Year-month-day ---------------------------------------------------------------

TEST_F(Render, YmdLayoutsByWidth) {
    struct Case {
        FormatRoutine* routine;
        double date;
        int width;
        const char* want;
    } cases[] = {
        {zfmymd, 0, 10, "1960-01-01"}, {zfmymd, 0, 9, " 60-01-01"}, {zfmymd, 0, 8, "60-01-01"},
        {zfmymd, 0, 7, " 600101"},     {zfmymd, 0, 6, "600101"},    {zfmymd, 0, 5, "60-01"},
        {zfmymd, 0, 4, "6001"},        {zfmymd, 0, 3, " 60"},       {zfmymd, 0, 2, "60"},
        {zfmymds, 16437, 8, "05/01/01"},           // 2005 shows as 05
        {zfmymdn, 0, 8, "19600101"},   {zfmymdn, 0, 7, " 600101"}, {zfmymdn, 0, 5, " 6001"},
        {zfmymdb, 0, 10, "1960 01 01"}, {zfmymdc, 0, 10, "1960:01:01"}, {zfmymdp, 0, 8, "60.01.01"},
        {zfmymd, -138061, 10, "1582-01-01"},
        {zfmymd, 2936547, 10, "9999-12-29"},
        {zfmymd, 6589335, 10, "****-12-26"},       // a five-digit year: 20000-12-26
        {zfmymd, 6589335, 8, "00-12-26"},
        // Without validation: wider fields are blank on the left, narrower
        // ones show what fits.
        {zfmymd, 0, 12, "  1960-01-01"}, {zfmymdn, 0, 10, "  19600101"}, {zfmymd, 0, 1, "0"},
    };
    for (const auto& c : cases) {
        auto r = call(c.routine, c.date, c.width, 0);
        EXPECT_EQ(r.text, c.want) << c.date << " w" << c.width;
        EXPECT_EQ(r.status, 0);
        EXPECT_FALSE(r.beyond);
    }
}

TEST_F(Render, YmdRangeAndMissing) {
    auto out = call(zfmymd, -138062, 10, 0);
    EXPECT_EQ(out.text, "**********");
    EXPECT_EQ(out.status, status::kOutOfRange);
    auto missing = call(zfmymd, kMissing, 10, 0, true);
    EXPECT_EQ(missing.text, "         .");
    EXPECT_EQ(missing.status, 0);

}

TEST_F(Render, LayoutOfOddNumbers) {
    // Numbers that do not fit their fields show as asterisks; nothing is
    // written outside the width.
    char out[16];
    std::memset(out, '#', sizeof out);
    zfmcprt(10, '-', out, 123456, 100000, NAN);
    EXPECT_EQ(std::string(out, 11), "-****-****#");  // three four-place fields, the rightmost ten shown
    std::memset(out, '#', sizeof out);
    zfmcprt(5, '/', out, 7, 3, 9);
    EXPECT_EQ(std::string(out, 6), "07/03#");
}

}  // namespace
