// How the tool reads VALUE texts: literals as the kind of value the format
// takes, basic-form and zoned literals, packed values, the missing notation.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tool_runner.h"

namespace e2e {
namespace {

using ::testing::HasSubstr;

std::vector<std::string> ok_lines(const std::vector<std::string>& args, std::string_view input = {}) {
    const ToolRun run = run_tool(args, input);
    EXPECT_EQ(run.exit_code, 0) << run.err;
    return lines(run.out);
}

struct Case {
    std::vector<std::string> args;  // format [options] FORMAT VALUE
    std::string text;
};

void check(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        std::vector<std::string> args{"format"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        std::string shown;
        for (const std::string& a : c.args) shown += " " + a;
        EXPECT_EQ(ok_lines(args), std::vector<std::string>{c.text}) << shown;
    }
}

TEST(ToolValues, LiteralsTakeTheFormatsKind) {
    check({
        {{"E8601DT", "2020-02-29"}, "2020-02-29T00:00:00"},  // a date is its midnight
        {{"E8601DZ", "2020-02-29"}, " 2020-02-29T00:00:00+00:00"},
        {{"CLKDT", "2020-01-01"}, "01JAN20:00:00:00"},
        {{"E8601DA", "2020-02-29"}, "2020-02-29"},
        {{"E8601TM", "10:30"}, "10:30:00"},
        {{"CLKHOUR5.1", "10:30"}, " 10.5"},
        {{"CLKTOD", "23:59:59"}, "23:59:59"},
        // A bare digit string is a number: a day number far out of range.
        {{"E8601DA", "20200115"}, stars(10)},
    });
}

TEST(ToolValues, BasicFormLiterals) {
    check({
        {{"E8601DZ", "20200115T103000Z"}, " 2020-01-15T10:30:00+00:00"},
        {{"E8601DT", "20200115T103000"}, "2020-01-15T10:30:00"},
        {{"E8601DT22.2", "20200115T103000,25"}, "2020-01-15T10:30:00.25"},
        {{"E8601TM", "T103000"}, "10:30:00"},
        {{"E8601TM", "T1030"}, "10:30:00"},
        {{"E8601TM", "103000Z"}, "10:30:00"},
        {{"E8601TM", "t10:30:00"}, "10:30:00"},
    });
}

// A literal with a zone designator names an instant: the formats get it in
// universal time, a time of day wrapping around midnight.
TEST(ToolValues, ZoneDesignatorsGiveUniversalTime) {
    check({
        {{"E8601DZ", "2020-01-15T10:30:00+01:00"}, " 2020-01-15T09:30:00+00:00"},
        {{"B8601DZ20", "20200115T093000-0500"}, "20200115T143000+0000"},
        {{"E8601DT", "2020-01-01T00:30:00+01"}, "2019-12-31T23:30:00"},
        {{"--tz", "Europe/Paris", "E8601DX", "2020-07-01T12:00:00Z"}, " 2020-07-01T14:00:00+02:00"},
        {{"E8601TZ", "00:30:00+01:00"}, "23:30:00+00:00"},
        {{"E8601TZ", "23:30:00-01:00"}, "00:30:00+00:00"},
        {{"CLKDT19", "1960-01-01T00:00:00z"}, " 01JAN1960:00:00:00"},
    });
}

// What a format writes reads back as the same value.
TEST(ToolValues, OutputReadsBack) {
    struct Trip {
        std::vector<std::string> options;
        std::string format;
        std::string value;
    } trips[] = {
        {{}, "B8601DZ20", "1537088700"},
        {{}, "E8601DZ26.3", "1537088700.25"},
        {{}, "B8601DT", "-1"},
        {{}, "E8601DT", "0"},
        {{"--tz", "America/New_York"}, "B8601DX20", "1537088700"},
        {{"--tz", "+05:30"}, "E8601DX", "1537088700"},
        {{}, "E8601TZ", "32700"},
        {{}, "B8601TZ", "32700"},
        {{"--tz", "-02:00"}, "E8601TX", "3600"},
        {{"--missing", "NA"}, "E8601DA", "."},
        {{"--missing", "NA"}, "E8601DZ", "."},
    };
    for (const Trip& t : trips) {
        std::vector<std::string> args{"format"};
        args.insert(args.end(), t.options.begin(), t.options.end());
        args.push_back(t.format);
        std::vector<std::string> first = args, second = args;
        first.push_back(t.value);
        const std::vector<std::string> written = ok_lines(first);
        ASSERT_EQ(written.size(), 1u);
        second.push_back(written[0]);
        EXPECT_EQ(ok_lines(second), written) << t.format << " " << t.value << " wrote '" << written[0] << "'";
    }
}

TEST(ToolValues, LiteralsThatAreNotTheFormatsKind) {
    struct Row {
        std::vector<std::string> args;
        std::string message;
    } rows[] = {
        {{"E8601DA", "10:30"}, "'10:30' is a time; E8601DA takes a date"},
        {{"E8601DA", "2020-01-15T10:30"}, "'2020-01-15T10:30' is a datetime; E8601DA takes a date"},
        {{"E8601DT", "10:30"}, "'10:30' is a time; E8601DT takes a datetime"},
        {{"CLKTOD", "2020-01-01T10:30"}, "'2020-01-01T10:30' is a datetime; CLKTOD takes a time"},
        {{"E8601TM", "2020-01-01"}, "'2020-01-01' is a date; E8601TM takes a time"},
        {{"E8601LX", "2020-01-15T10:30:00Z"},
         "'2020-01-15T10:30:00Z' has a zone designator; E8601LX takes a local datetime in the --tz zone"},
        {{"B8601LZ", "103000+0100"}, "'103000+0100' has a zone designator; B8601LZ takes a local time"},
        {{"E8601DZ", "2020-01-15T10:30:00+25:00"}, "unparsable value '2020-01-15T10:30:00+25:00'"},
        {{"E8601DT", "2020-01-15T103000"}, "unparsable value"},  // extended date, basic time
        {{"E8601TM", "103000"}, ""},                             // a number: no error at all
    };
    for (const Row& row : rows) {
        std::vector<std::string> args{"format"};
        args.insert(args.end(), row.args.begin(), row.args.end());
        const ToolRun run = run_tool(args);
        if (row.message.empty()) {
            EXPECT_EQ(run.exit_code, 0) << row.args[1];
            continue;
        }
        EXPECT_EQ(run.exit_code, 2) << row.args[1];
        EXPECT_EQ(run.out, "");
        EXPECT_THAT(run.err, HasSubstr(row.message));
    }
}

TEST(ToolValues, PackedValuesAreExactlyTheirDigits) {
    check({
        {{"IS860DU", " 0001203040506FFC  "}, "P00010203T040506        "},
        {{"IS860DU", "0001203040506ffc"}, "P00010203T040506        "},
        {{"IS860DU", "."}, blanks(24)},  // missing: all F
        {{"IS860VL", "nan"}, blanks(40)},
    });
    for (const auto& [format, value] : std::vector<std::pair<std::string, std::string>>{
             {"IS860DU", "0001203040506FFCjunk"},
             {"IS860DU", "2020115103000FFD0001203040506FFC"},  // an interval
             {"IS860PD", "2020115103000FF"},
             {"IS860VL", "0001203040506FFC"},
             {"IS860DU", "000000000000000G"},
             {"IS860DU", "0001203040506F C"},
         }) {
        const ToolRun run = run_tool({"format", format, value});
        EXPECT_EQ(run.exit_code, 2) << format << " " << value;
        EXPECT_THAT(run.err, HasSubstr("bad packed value '" + value + "' (" + format + " takes " +
                                       (format == "IS860VL" ? "32" : "16") + " hexadecimal digits"));
    }
}

// --missing sets the text written for a missing value, and that text is read
// as missing too, by the tool and by the informats' missing-notation mode.
TEST(ToolValues, TheMissingTextReadsBackAsMissing) {
    EXPECT_EQ(ok_lines({"format", "--missing", "NA", "E8601DA", "NA", " NA ", ".", "nan"}),
              std::vector<std::string>(4, "        NA"));
    EXPECT_EQ(ok_lines({"format", "--missing", "", "E8601DA", ""}), std::vector<std::string>{blanks(10)});
    EXPECT_EQ(ok_lines({"informat", "--missing", "NA", "--mode", "0x100", "--status", "IS860DU", "NA", "."}),
              std::vector<std::string>(2, std::string(16, 'F') + "\t0"));
    EXPECT_EQ(ok_lines({"informat", "--missing", "NA", "--mode", "0x100", "IS860VL", " NA"}),
              std::vector<std::string>{std::string(32, 'F')});
    // Without the mode the text is parsed, and is no duration.
    const std::vector<std::string> parsed = ok_lines({"informat", "--missing", "NA", "--status", "IS860DU", "NA"});
    ASSERT_EQ(parsed.size(), 1u);
    EXPECT_NE(after_tab(parsed[0]), "0");
    EXPECT_EQ(run_tool({"format", "--missing", "NA", "E8601DA", "N/A"}).exit_code, 2);
}

}  // namespace
}  // namespace e2e
