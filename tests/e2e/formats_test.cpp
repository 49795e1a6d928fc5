// Registered formats, the duration and interval formats and the informats,
// run through the tool and the loaded plug-ins: value in, exact text out.
#include <gtest/gtest.h>

#include "tool_runner.h"

namespace e2e {
namespace {

struct Case {
    std::string format;  // FORMAT as the tool takes it
    std::string value;
    std::string text;    // the line the tool prints, leading and trailing blanks included
    std::vector<std::string> options = {};
};

// Runs the cases of one table; consecutive cases with the same FORMAT and
// options share one run of the tool.
void check(const char* command, const std::vector<Case>& cases) {
    for (std::size_t first = 0; first < cases.size();) {
        std::size_t end = first + 1;
        while (end < cases.size() && cases[end].format == cases[first].format &&
               cases[end].options == cases[first].options)
            ++end;
        std::vector<std::string> args{command};
        args.insert(args.end(), cases[first].options.begin(), cases[first].options.end());
        args.push_back(cases[first].format);
        for (std::size_t i = first; i < end; ++i) args.push_back(cases[i].value);

        const ToolRun run = run_tool(args);
        ASSERT_EQ(run.exit_code, 0) << cases[first].format << ": " << run.err;
        const std::vector<std::string> got = lines(run.out);
        ASSERT_EQ(got.size(), end - first) << cases[first].format;
        for (std::size_t i = first; i < end; ++i)
            EXPECT_EQ(got[i - first], cases[i].text)
                << command << " " << cases[i].format << " of '" << cases[i].value << "'";
        first = end;
    }
}

TEST(RegisteredFormats, ExtendedDatesTimesAndDatetimes) {
    check("format", {
        {"E8601DA", "-138061", "1582-01-01"},
        {"E8601DA", "-138062", stars(10)},
        {"E8601DA", "2936548", stars(10)},
        {"E8601DA", "2936547", "9999-12-29"},
        {"E8601DA", "0", "1960-01-01"},
        {"E8601DA", "2008-09-15", "2008-09-15"},
        {"E8601DA", ".", "         ."},
        {"E8601TM8", "32700", "09:05:00"},
        {"E8601TM8", "-1", stars(8)},
        {"E8601TM8", "86400", stars(8)},
        {"E8601TM8", "86399.6", "23:59:59"},
        {"E8601TM8", "09:05:00", "09:05:00"},
        {"E8601TM12.3", "86399.9996", "23:59:59.999"},
        {"E8601TM9.1", "32700", "9:05:00.0"},
        {"E8601DT26", "0", blanks(7) + "1960-01-01T00:00:00"},
        {"E8601DT26.6", "0", "1960-01-01T00:00:00.000000"},
        {"E8601DT19.2", "0", "1960-01-01T00:00:00"},
        {"E8601DT", "2008-09-15T09:05:00", "2008-09-15T09:05:00"},
        {"E8601DN", "86399", "1960-01-01"},
        {"IS8601DA", "0", "1960-01-01"},
        {"IS8601TM8", "32700", "09:05:00"},
        {"IS8601DN", "86399", "1960-01-01"},
    });
}

TEST(RegisteredFormats, ZoneQualified) {
    check("format", {
        {"E8601DZ20", "0", "1960-01-01T00:00:00Z"},
        {"E8601DZ26", "0", " 1960-01-01T00:00:00+00:00"},
        {"E8601DZ24", "0", "    1960-01-01T00:00:00Z"},
        {"E8601DZ25", "0", "1960-01-01T00:00:00+00:00"},
        {"E8601DZ26.3", "0", "  1960-01-01T00:00:00.000Z"},
        {"E8601DZ26", ".", blanks(19) + "." + blanks(6)},
        {"E8601DZ26", "1e12", stars(26)},
        {"E8601TZ9.3", "32700", "09:05:00Z"},
        {"E8601TZ14.3", "32700", " 09:05:00.000Z"},
        {"E8601TZ20.5", "32700", "09:05:00.00000+00:00"},
        {"E8601TZ20.6", "32700", "    09:05:00.000000Z"},
        {"E8601LZ14", "32700", "09:05:00+00:00"},
        {"E8601LZ9", "32700", "09:05:00Z"},
        {"IS8601DZ20", "0", "1960-01-01T00:00:00Z"},
        {"IS8601TZ9.3", "32700", "09:05:00Z"},
    });
}

TEST(RegisteredFormats, Basic) {
    check("format", {
        {"B8601DA8", "0", "19600101"},
        {"B8601DA10", "0", "  19600101"},
        {"B8601DA", ".", "         ."},
        {"B8601TM6", "32700", "090500"},
        {"B8601TZ9", "32700", "  090500Z"},
        {"B8601TZ14", "32700", "   090500+0000"},
        {"B8601DT15", "0", "19600101T000000"},
        {"B8601DT", "1e12", stars(19)},
        {"B8601DZ20", "0", "19600101T000000+0000"},
        {"B8601DZ26", ".", blanks(19) + "." + blanks(6)},
    });
}

TEST(RegisteredFormats, ClassicDatetimes) {
    check("format", {
        {"CLKDT7", "0", "01JAN60"},
        {"CLKDT9", "0", "01JAN1960"},
        {"CLKDT10", "0", "01JAN60:00"},
        {"CLKDT16", "0", "01JAN60:00:00:00"},
        {"CLKDT16", "86399.6", "02JAN60:00:00:00"},
        {"CLKDT16", "-1", "31DEC59:23:59:59"},
        {"CLKDT16", "-0.4", "01JAN60:00:00:00"},
        {"CLKDT18", "0", "  01JAN60:00:00:00"},
        {"CLKDT19", "0", " 01JAN1960:00:00:00"},
        {"CLKDT19.2", "47107.25", "01JAN60:13:05:07.25"},
        {"CLKDT21.2", "47107.25", "01JAN1960:13:05:07.25"},
        {"CLKDTAMPM13", "0", "01JAN60:12 AM"},
        {"CLKDTAMPM13", "43200", "01JAN60:12 PM"},
        {"CLKDTAMPM12", "0", "  01JAN60:00"},
        {"CLKDTAMPM19", "47107.25", "01JAN60:01:05:07 PM"},
        {"CLKDYAMPM8", "0", "  1/1/60"},
        {"CLKDYAMPM8", "-1", "12/31/59"},
        {"CLKDYAMPM16", "0", "          1/1/60"},
        {"CLKDYAMPM17", "0", "  1/1/60 12:00 AM"},
        {"CLKDYAMPM17", "-1", "12/31/59 11:59 PM"},
        {"CLKDYAMPM17", "47107.25", "  1/1/60  1:05 PM"},
        {"CLKDYAMPM19", "0", "  1/1/1960 12:00 AM"},
        {"CLKDYAMPM19", "-1", "12/31/1959 11:59 PM"},
    });
}

TEST(RegisteredFormats, ClassicTimes) {
    check("format", {
        {"CLKTIME8", "0", " 0:00:00"},
        {"CLKTIME8", "90000", "25:00:00"},
        {"CLKTIME8", "-90", "-0:01:30"},
        {"CLKTIME8", "3661.5", " 1:01:02"},
        {"CLKTIME12.3", "45296.789", "12:34:56.789"},
        {"CLKTIME12.3", "86399.9996", "24:00:00.000"},
        {"CLKTIME11.3", "45296.789", "12:34:56.79"},
        {"CLKTIME2", "442800", "**"},
        {"CLKTOD8", "3600", "01:00:00"},
        {"CLKTOD8", "90000", "01:00:00"},
        {"CLKTOD8", "86399.6", "23:59:59"},
        {"CLKTOD7", "3600", "1:00:00"},
        {"CLKTOD5", "86399.6", "23:59"},
        {"CLKTOD2", "3600", "01"},
        {"CLKTOD12.3", "86399.9996", "23:59:59.999"},
        {"CLKTAMPM11", "0", "12:00:00 AM"},
        {"CLKTAMPM11", "3600", " 1:00:00 AM"},
        {"CLKTAMPM11", "43200", "12:00:00 PM"},
        {"CLKTAMPM11", "45296.789", "12:34:57 PM"},
        {"CLKTAMPM11", "-90", "11:58:30 PM"},
        {"CLKTAMPM11", "86399.6", "12:00:00 AM"},
        {"CLKTAMPM8", "45296.789", "12:34 PM"},
        {"CLKTAMPM5", "0", "12 AM"},
        {"CLKTAMPM4", "0", "  AM"},
        {"CLKTAMPM12.2", "3599.999", "1:00:00.0 AM"},
        {"CLKTAMPM14.3", "46799.9996", "1:00:00.000 PM"},
        {"CLKHOUR4", "5400", "   2"},
        {"CLKHOUR4", "5399", "   1"},
        {"CLKHOUR4", "90000", "  25"},
        {"CLKHOUR4", "-5400", "   2"},
        {"CLKHOUR4.1", "5400", " 1.5"},
        {"CLKMMSS9.2", "45296.789", "754:56.79"},
        {"CLKMMSS8.2", "45296.789", "754:56.7"},
        {"CLKMMSS7.2", "45296.789", "754:56."},
        {"CLKMMSS5.2", "45296.789", "  754"},
        {"CLKMMSS2.2", "45296.789", "**"},
        {"CLKMMSS5", "3599.6", "60:00"},
        {"CLKMMSS5", "-90", "-1:30"},
        {"CLKMMSS4", "90000", "1500"},
        {"CLKHHMM5", "45331", "12:36"},
        {"CLKHHMM5", "45330", "12:35"},
        {"CLKHHMM5", "-90", "-0:01"},
        {"CLKHHMM8.2", "45330", "12:35.50"},
    });
}

TEST(RegisteredFormats, DurationsDatetimesAndIntervals) {
    const std::vector<std::string> designators{"--options", "0x0001"};
    const std::vector<std::string> delimited{"--options", "4"};
    check("format", {
        {"IS860DU16", "0001203040506FFC", "P00010203T040506"},
        {"IS860DU16", "0001203040506ffc", "P00010203T040506"},
        {"IS860DU17", "0A01203040506FFC", "-P00010203T040506"},
        {"IS860DU14", "FFFFFFFFF30FFFFC", "P00000000T0030"},
        {"IS860DU7", "00000000008E9492", "PT36.5H"},
        {"IS860DU6", "00000000008E9492", "PT36.5"},
        {"IS860DU5", "00000000008E9492", "PT36 "},
        {"IS860DU3", "000000000000000E", "P0W"},
        {"IS860DU10", "FFFFFFFFFFFFFFFF", blanks(10)},
        {"IS860DU10", "ffffffffffffffff", blanks(10)},
        {"IS860DU10", "2020202020202020", blanks(10)},
        {"IS860DU10", blanks(16), blanks(10)},
        {"IS860DU14", "0001203040506FFC", "P1Y2M3DT4H5M6S", designators},
        {"IS860DU5", "FFFFFFFFF30FFFFC", "PT30M", designators},
        {"IS860DU6", "FEFFFFFFF30FFFFC", "-PT30M", designators},
        {"IS860DU3", "0000000000000302", "P3Y", designators},
        {"IS860DU20", "0001203040506FFC", "P0001-02-03T04:05:06", delimited},
        {"IS860DU11", "FFFFFFFFF30FFFFC", "P-----T-:30", delimited},
        {"IS860PD15", "2020115103000FFD", "20200115T103000"},
        {"IS860PD19", "2020C31235959F9D", "20201231T235959.999"},
        {"IS860PD23", "2020C31235959F9D", "2020-12-31T23:59:59.999", delimited},
        {"IS860PD22", "2020C31235959F9D", "2020-12-31T23:59:59.99", delimited},
        {"IS860PD20", "2020C31235959F9D", "2020-12-31T23:59:59 ", delimited},
        {"IS860PD18", "2020C31235959F9D", stars(18), delimited},
        {"IS860VL32", "2020115103000FFD0001203040506FFC", "20200115T103000/P00010203T040506"},
        {"IS860VL5", "19601010000000030000000000002412", "PT36H"},
        {"IS860VL6", "1960101000000003FFFF140FFFFFFFFC", "P1M40D", designators},
        {"IS860VL10", std::string(32, 'F'), blanks(10)},
        {"IS860VL10", "2020115103000FFDFFFFFFFFFFFFFFFF", blanks(10)},
        {"IS860VL5", "2020115103000FFD0001203040506FFC", stars(5)},
    });
    // The fitting of an interval: the fractions of both halves shortened
    // from their ends, the first half first.
    const std::vector<std::string> dt_delimited{"--dt-options", "4"};
    const std::string interval = "20201010000003E920201020000001F5";
    check("format", {
        {"IS860VL46", interval, "2020-01-01T00:00:00.25/2020-01-02T00:00:00.125", dt_delimited},
        {"IS860VL45", interval, "2020-01-01T00:00:00.25/2020-01-02T00:00:00.12", dt_delimited},
        {"IS860VL44", interval, "2020-01-01T00:00:00.2/2020-01-02T00:00:00.12", dt_delimited},
        {"IS860VL42", interval, "2020-01-01T00:00:00/2020-01-02T00:00:00.1 ", dt_delimited},
        {"IS860VL39", interval, "2020-01-01T00:00:00/2020-01-02T00:00:00", dt_delimited},
        {"IS860VL38", interval, stars(38), dt_delimited},
        {"IS860VL34", "2020115103000FFD0001203040506FFC", "2020-01-15T10:30:00/P1Y2M3DT4H5M6S",
         {"--options", "1", "--dt-options", "4"}},
    });
}

TEST(Informats, PackedDigits) {
    check("informat", {
        {"IS860DU", "P1Y2M3DT4H5M6S", "0001203040506FFC"},
        {"IS860DU", "-P1Y2M3DT4H5M6S", "0A01203040506FFC"},
        {"IS860DU", "PT30M", "FFFFFFFFF30FFFFC"},
        {"IS860DU", "-PT30M", "FEFFFFFFF30FFFFC"},
        {"IS860DU", "PT36H", "0000000000002412"},
        {"IS860DU", "PT36.5H", "00000000008E9492"},
        {"IS860DU", "-PT36H", "0080000000002412"},
        {"IS860PD", "2020-01-15T10:30:00", "2020115103000FFD"},
        {"IS860PD", "2020-12-31T23:59:59.999", "2020C31235959F9D"},
        {"IS860VL", "2020-01-01T00:00:00/P1M40D", "2020101000000FFDFFFF211FFFFFFFFC"},
        // A lone duration that its digits hold is stored as written.
        {"IS860VL", "P1M40D", "1960101000000003FFFF140FFFFFFFFC"},
        // Weeks that carry to nothing are the zero duration, zero weeks (P0W),
        // not a record of absent components that shows as "P" and reads back
        // as missing.
        {"IS860DU", "PT0w0,0", "000000000000000E"},
        {"IS860VL", "PT0w0,0", "1960101000000003000000000000000E"},
    });
}

TEST(Informats, LoneDurationGetsSynthesizedStart) {
    const ToolRun duration = run_tool({"informat", "IS860DU", "P1D"});
    const ToolRun interval = run_tool({"informat", "IS860VL", "P1D", "P1M30D", "P3M31D", "P2M31D"});
    ASSERT_EQ(interval.exit_code, 0) << interval.err;
    const std::vector<std::string> got = lines(interval.out);
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0], "1960101000000003" + before_tab(lines(duration.out).at(0)));
    EXPECT_EQ(got[1].substr(0, 16), "1960201000000003");
    EXPECT_EQ(got[2].substr(0, 16), "1960201000000003");
    EXPECT_EQ(got[3].substr(0, 16), "1960101000000003");
}

TEST(Informats, ProblemCodesWithStatus) {
    struct Row {
        std::vector<std::string> args;
        std::string status;  // what follows the first TAB
    } rows[] = {
        {{"IS860VL", "2020-01-01/"}, "16\tinterval has 1 component - datetime"},
        {{"IS860VL", "P1D/P2D"}, "14\tinterval has 2 durations"},
        {{"IS860VL", "/P1D"}, "13\tinterval is blank"},
        {{"IS860VL", ""}, "13\tinterval is blank"},
        {{"IS860VL", "2020-03-01/2020-01-01"}, "0"},
        {{"IS860VL", "P1M40D"}, "0"},
        // Datetimes derived outside years 0 to 9999 resolve their durations;
        // a difference of 10,000 years cannot be stored.
        {{"IS860VL", "P1M40D/--01-15"}, "0"},
        {{"IS860VL", "1972-01-23/P9272Y12M7DT03H28457S"}, "0"},
        {{"IS860VL", "9999-12-01/P0Y1M40D"}, "0"},
        {{"IS860VL", "P2000Y13M/2000-03-01"}, "0"},
        {{"IS860VL", "--01-15/P9998Y24M"}, "8\tinvalid datetime value"},
        {{"--mode", "0x80", "IS860PD", "20200115"}, "18\tISO strict - delimiters expected"},
        {{"--mode", "0x80", "IS860PD", "2020-1-15"}, "17\tISO strict - must be right number of digs"},
        {{"--mode", "0x80", "IS860PD", "--01-15"}, "17\tISO strict - must be right number of digs"},
        {{"--mode", "0x200", "IS860PD", "--01-15"}, "0"},
        {{"--mode", "512", "IS860DU", ""}, "11\tall blank"},
        {{"--capacity", "31", "IS860VL", "P1D"}, "22\tinformat target not 32 (intvl) or 16"},
    };
    for (const Row& row : rows) {
        std::vector<std::string> args{"informat", "--status"};
        args.insert(args.end(), row.args.begin(), row.args.end());
        const ToolRun run = run_tool(args);
        ASSERT_EQ(run.exit_code, 0) << run.err;
        const std::vector<std::string> got = lines(run.out);
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(after_tab(got[0]), row.status) << row.args.back();
    }
    const ToolRun failed = run_tool({"informat", "IS860VL", "P1D/P2D"});
    EXPECT_EQ(failed.out, std::string(32, 'F') + "\n");
}

}  // namespace
}  // namespace e2e
