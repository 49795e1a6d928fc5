// Dates and datetimes with month abbreviations, and the date with an AM/PM
// time.
#include "classic_support.h"

namespace classic_test {
namespace {

constexpr double kDay = 86400;
constexpr double kDay2005 = 16437;  // 2005-01-01

struct Case {
    FormatRoutine* routine;
    double value;
    int width, decimals;
    const char* text;
};

void expect_texts(std::initializer_list<Case> cases) {
    for (const Case& k : cases) {
        Call c;
        c.value = k.value;
        c.width = k.width;
        c.decimals = k.decimals;
        const Output out = run(k.routine, c);
        EXPECT_EQ(out.text, k.text) << k.value << " w" << k.width << " d" << k.decimals;
        EXPECT_EQ(out.status, kOk);
        EXPECT_EQ(out.length, k.width);
        EXPECT_TRUE(out.guard_intact);
    }
}

using MonthFormats = ClassicTest;

TEST_F(MonthFormats, DateLayoutsByWidth) {
    expect_texts({
        {zfmmony, 0, 5, 0, "JAN60"},
        {zfmmony, 0, 6, 0, " JAN60"},
        {zfmmony, 0, 7, 0, "JAN1960"},
        {zfmmony, kDay2005 + 40, 5, 0, "FEB05"},
        {zfmmony, -138061, 7, 0, "JAN1582"},
        {zfmdate, 0, 5, 0, "01JAN"},
        {zfmdate, 0, 6, 0, " 01JAN"},
        {zfmdate, 0, 7, 0, "01JAN60"},
        {zfmdate, 0, 8, 0, " 01JAN60"},
        {zfmdate, 0, 9, 0, "01JAN1960"},
        {zfmdate, 0, 10, 0, " 01JAN1960"},
        {zfmdate, 0, 11, 0, "01-JAN-1960"},
        {zfmdate, kDay2005 + 364, 11, 0, "31-DEC-2005"},
        {zfmdate, 6589335, 9, 0, "26DEC****"},  // 20000-12-26: a five-digit year
        {zfmdate, 6589335, 7, 0, "26DEC00"},
    });
}

TEST_F(MonthFormats, DatetimeLayoutsByWidthAndDecimals) {
    const double t = 47107.25;  // 13:05:07.25 on 1960-01-01
    expect_texts({
        {zfmdttm, 0, 7, 0, "01JAN60"},
        {zfmdttm, 0, 8, 0, " 01JAN60"},
        {zfmdttm, 0, 9, 0, "01JAN1960"},
        {zfmdttm, 0, 10, 0, "01JAN60:00"},
        {zfmdttm, 0, 12, 0, "  01JAN60:00"},
        {zfmdttm, 0, 13, 0, "01JAN60:00:00"},
        {zfmdttm, 0, 16, 0, "01JAN60:00:00:00"},
        {zfmdttm, 0, 18, 0, "  01JAN60:00:00:00"},
        {zfmdttm, 0, 19, 0, " 01JAN1960:00:00:00"},
        {zfmdttm, t, 19, 2, "01JAN60:13:05:07.25"},
        {zfmdttm, t, 21, 2, "01JAN1960:13:05:07.25"},
        {zfmdttm, t, 18, 2, "01JAN60:13:05:07.2"},  // one character too long: cut
        {zfmdttm, t, 17, 2, "01JAN60:13:05:07."},   // one decimal kept, then cut
        {zfmdttm, t, 15, 2, "  01JAN60:13:05"},
        {zfmdttm, t, 40, 3, "                  01JAN1960:13:05:07.250"},
        {zfmdttm, 86399.6, 16, 0, "02JAN60:00:00:00"},  // the date moves on
        {zfmdttm, 86399.9996, 20, 3, "02JAN60:00:00:00.000"},
        {zfmdttm, 86399.97, 16, 0, "02JAN60:00:00:00"},
        {zfmdttm, 86399.97, 16, 2, "01JAN60:23:59:59"},  // reaches 24 only when cut: kept below it
        {zfmdttm, 86399.7, 13, 2, "01JAN60:23:59"},
        {zfmdttm, -1, 16, 0, "31DEC59:23:59:59"},
        {zfmdttm, -0.4, 16, 0, "01JAN60:00:00:00"},
        {zfmdttm, -1e-20, 19, 2, "01JAN60:00:00:00.00"},  // a hair below midnight
        {zfmdttm, -kDay - 0.5, 16, 0, "31DEC59:00:00:00"},
        {zfmdttm, 6589336 * kDay - 0.2, 16, 0, "*******:00:00:00"},  // rolls past the last day
    });
}

TEST_F(MonthFormats, TwelveHourDatetime) {
    expect_texts({
        {zfmdtmm, 0, 13, 0, "01JAN60:12 AM"},
        {zfmdtmm, 47107.25, 19, 0, "01JAN60:01:05:07 PM"},
        {zfmdtmm, 43200, 13, 0, "01JAN60:12 PM"},
        {zfmdtmm, 43200, 16, 0, "01JAN60:12:00 PM"},
        {zfmdtmm, 0, 12, 0, "  01JAN60:00"},  // no room for a suffix: 24-hour text
        {zfmdtmm, 43200, 12, 0, "  01JAN60:12"},
        {zfmdtmm, 47107.25, 12, 0, "  01JAN60:13"},
        {zfmdtmm, 47107.25, 22, 2, "01JAN60:01:05:07.25 PM"},
        {zfmdtmm, 47107.25, 24, 2, "01JAN1960:01:05:07.25 PM"},
        {zfmdtmm, 47107.25, 25, 2, " 01JAN1960:01:05:07.25 PM"},
        {zfmdtmm, 86399.6, 19, 0, "02JAN60:12:00:00 AM"},
        {zfmdtmm, -1, 19, 0, "31DEC59:11:59:59 PM"},
        // After every rounding, decimals cut by the width included.
        {zfmdtmm, 43199.996, 22, 2, "01JAN60:12:00:00.00 PM"},
        {zfmdtmm, 46799.7, 19, 1, "01JAN60:01:00:00 PM"},
        {zfmdtmm, 86399.996, 22, 2, "02JAN60:12:00:00.00 AM"},
        {zfmdtmm, 86399.7, 16, 2, "01JAN60:11:59 PM"},
        {zfmdtmm, -0.3, 19, 0, "01JAN60:12:00:00 AM"},
    });
}

TEST_F(MonthFormats, DateWithAmPm) {
    const double year2005 = kDay2005 * kDay;
    expect_texts({
        {zfmdyam, 0, 8, 0, "  1/1/60"},
        {zfmdyam, 0, 16, 0, "          1/1/60"},
        {zfmdyam, 0, 17, 0, "  1/1/60 12:00 AM"},
        {zfmdyam, 0, 19, 0, "  1/1/1960 12:00 AM"},
        {zfmdyam, -1, 8, 0, "12/31/59"},
        {zfmdyam, -1, 17, 0, "12/31/59 11:59 PM"},
        {zfmdyam, -1, 19, 0, "12/31/1959 11:59 PM"},
        {zfmdyam, 47107.25, 17, 0, "  1/1/60  1:05 PM"},
        {zfmdyam, 47159.5, 17, 0, "  1/1/60  1:06 PM"},  // 1:05:59.5 shows as 1:06
        {zfmdyam, year2005, 8, 0, "  1/1/05"},           // a leading zero below 10
        {zfmdyam, year2005 + 300 * kDay, 17, 0, "10/28/05 12:00 AM"},
        // The date moves with the time that rounds up to midnight.
        {zfmdyam, kDay - 0.5, 17, 0, "  1/2/60 12:00 AM"},
        {zfmdyam, -0.4, 17, 0, "  1/1/60 12:00 AM"},
        {zfmdyam, kDay - 0.5, 16, 0, "          1/1/60"},  // no time shown: no rounding
    });
}

// Without a month table the month formats read nothing through it: blanks
// stand in for the abbreviation and the width is kept.
TEST(MonthTable, AbsentTableGivesBlanks) {
    isofmt::HostConfig config;
    config.environment.month_table = false;
    testing_support::StaticHost host(config);
    expect_texts({
        {zfmdttm, 0, 16, 0, "01   60:00:00:00"},
        {zfmdtmm, 0, 13, 0, "01   60:12 AM"},
        {zfmdate, 0, 11, 0, "01-   -1960"},
        {zfmmony, 0, 7, 0, "   1960"},
    });
    // A task environment with its own table is used before the default one.
    isofmt::EnvironmentConfig with_table;
    Call c;
    c.width = 9;
    c.environment = host.host.create_environment(with_table);
    EXPECT_EQ(run(zfmdttm, c).text, "01JAN1960");
}

TEST_F(MonthFormats, TaskEnvironmentWithoutTable) {
    isofmt::EnvironmentConfig config;
    config.month_table = false;
    Call c;
    c.width = 9;
    c.environment = host.host.create_environment(config);
    EXPECT_EQ(run(zfmdttm, c).text, "01   1960");
}

}  // namespace
}  // namespace classic_test
