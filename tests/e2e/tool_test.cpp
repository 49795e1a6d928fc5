// The command-line interface of the isofmt tool: arguments, options, exit
// statuses, standard input and output.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include <sstream>

#include "tool_runner.h"

namespace e2e {
namespace {

using ::testing::HasSubstr;

// The output lines of a run that must succeed.
std::vector<std::string> ok_lines(const std::vector<std::string>& args, std::string_view input = {}) {
    const ToolRun run = run_tool(args, input);
    EXPECT_EQ(run.exit_code, 0) << run.err;
    return lines(run.out);
}

TEST(ToolUsage, ErrorsExitTwoWithOneLineNamingTheProblem) {
    struct Row {
        std::vector<std::string> args;
        std::string named;  // what the message must mention
    } rows[] = {
        {{}, "no command given (list, format, informat, convert or demo; see 'isofmt --help')"},
        {{"--tz", "UTC"}, "no command given"},
        {{"frobnicate"}, "unknown command 'frobnicate'"},
        {{"format"}, "no FORMAT given (NAME[W][.D], see 'isofmt list' and 'isofmt format --help')"},
        {{"informat", "--status"}, "no FORMAT given"},
        {{"list", "E8601DA"}, "list takes no values: 'E8601DA'"},
        {{"demo", "--", "x"}, "demo takes no values: 'x'"},
        {{"format", "NOPE", "0"}, "unknown format 'NOPE'"},
        {{"format", "E8601DZX", "0"}, "unknown format 'E8601DZX'"},
        {{"informat", "E8601DA", "0"}, "E8601DA is a format"},
        {{"format", "E8601DA"}, "no VALUE"},
        {{"format", "E8601DZ0", "0"}, "bad width '0'"},
        {{"format", "E8601DZ99999", "0"}, "bad width '99999'"},
        {{"format", "E8601DA-1", "0"}, "bad width '-1' in 'E8601DA-1'"},
        {{"format", "E8601DZ26.x", "0"}, "bad decimals 'x'"},
        {{"format", "E8601DA", "0", "tomorrow"}, "unparsable value 'tomorrow'"},
        {{"format", "E8601DA", ""}, "unparsable value ''"},
        {{"format", "E8601DA", "a\tb\x01'"}, "unparsable value 'a\\tb\\x01\\''"},
        {{"format", "--tz", "Mars/Olympus_Mons", "E8601DX", "0"}, "--tz: unknown time zone 'Mars/Olympus_Mons'"},
        {{"--tz", " Europe/Paris", "format", "E8601DX", "0"}, "unknown time zone ' Europe/Paris'"},
        {{"format", "E8601DA", "--tz"}, "option '--tz' needs a value (ZONE)"},
        {{"--tz", "UTC", "--tz", "UTC", "list"}, "option '--tz' given twice"},
        {{"format", "--status", "--status", "E8601DA", "0"}, "option '--status' given twice"},
        {{"format", "--status=", "E8601DA", "0"}, "option '--status' takes no value"},
        {{"format", "--options", "0xZZ", "IS860DU", "0001203040506FFC"}, "--options: bad number '0xZZ'"},
        {{"format", "--capacity", "-1", "E8601DA", "0"}, "--capacity: '-1' is out of range"},
        {{"format", "--capacity", "", "E8601DA", "0"}, "--capacity: bad number ''"},
        {{"informat", "--mode", "strict", "IS860DU", "P1D"}, "--mode: bad number 'strict'"},
        {{"informat", "--mode", "0x180", "IS860DU", "P1D"}, "--mode: '0x180' is not a parse mode (0, 0x80, 0x100 or 0x200"},
        {{"informat", "--options", "1", "IS860DU", "P1D"}, "unknown option '--options' for informat"},
        {{"format", "--bogus", "E8601DA", "0"}, "unknown option '--bogus' for format (see 'isofmt format --help')"},
        {{"--plugins", "/nonexistent/isofmt", "list"}, "--plugins: no such directory '/nonexistent/isofmt'"},
        {{"--plugins", "", "list"}, "--plugins: no such directory ''"},
        {{"--plugins", ISOFMT_TOOL, "list"}, "' is not a directory"},
        {{"--plugins", "/", "list"}, "--plugins: no plug-ins in '/'"},
    };
    for (const Row& row : rows) {
        const ToolRun run = run_tool(row.args);
        std::string shown;
        for (const std::string& a : row.args) shown += " " + a;
        EXPECT_EQ(run.exit_code, 2) << shown;
        EXPECT_EQ(run.out, "") << shown;
        EXPECT_EQ(lines(run.err).size(), 1u) << shown << ": " << run.err;
        EXPECT_THAT(run.err, HasSubstr(row.named)) << shown;
    }
}

// The list shows no zone, so a zone it cannot use is no reason to fail.
TEST(ToolUsage, ListIgnoresTheZone) {
    EXPECT_EQ(run_tool({"--tz", "nonsense", "list"}).exit_code, 0);
}

TEST(ToolUsage, HelpAndVersion) {
    struct Row {
        std::vector<std::string> args;
        std::vector<std::string> shown;
    } rows[] = {
        {{"--help"}, {"Exit status:", "  2  usage error", "  3  standard input", "Examples:", "isofmt list --long"}},
        {{"-h"}, {"Exit status:"}},
        {{"format", "--help"}, {"FORMAT", "--keep-going", "Examples:", "isofmt format E8601DA -138061"}},
        {{"informat", "--help"}, {"--mode", "exact values", "Examples:", "isofmt informat IS860DU"}},
        {{"list", "--help"}, {"--long", "Example:"}},
        {{"demo", "--help"}, {"Example:"}},
    };
    for (const Row& row : rows) {
        const ToolRun run = run_tool(row.args);
        EXPECT_EQ(run.exit_code, 0) << row.args[0];
        EXPECT_EQ(run.err, "");
        for (const std::string& s : row.shown) EXPECT_THAT(run.out, HasSubstr(s)) << row.args[0];
    }
    const ToolRun version = run_tool({"--version"});
    EXPECT_EQ(version.exit_code, 0);
    EXPECT_THAT(version.out, ::testing::MatchesRegex("isofmt [0-9]+\\.[0-9]+\\.[0-9]+\n"));
}

TEST(ToolUsage, HelpGoesToStandardOutput) {
    const ToolRun run = run_tool({"format", "--help"});
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_THAT(run.out, HasSubstr("FORMAT"));
}

TEST(ToolList, OneLinePerCatalogueEntry) {
    const std::vector<std::string> got = ok_lines({"list"});
    // 27 item-table formats, 9 classic formats, and the three duration and
    // interval routines both as formats and as informats.
    EXPECT_EQ(got.size(), 27u + 9u + 3u + 3u);
    auto normalized = [](const std::string& line) {
        std::istringstream in(line);
        std::string word, out;
        while (in >> word) out += (out.empty() ? "" : " ") + word;
        return out;
    };
    std::vector<std::string> normal;
    for (const std::string& line : got) normal.push_back(normalized(line));
    EXPECT_THAT(normal, ::testing::Contains("E8601DZ format dtextnd1 20 35 26 6 datetime"));
    EXPECT_THAT(normal, ::testing::Contains("B8601TM format dtbasic1 6 15 8 6 time"));
    EXPECT_THAT(normal, ::testing::Contains("IS8601LZ format dtaltfm1 9 20 14 6 time"));
    // The value kind ends each line.
    const std::pair<std::string, std::string> kinds[] = {
        {"E8601DA format", "date"},           {"B8601DN format", "datetime"},
        {"CLKDYAMPM format", "datetime"},     {"CLKHOUR format", "time"},
        {"CLKTOD format", "time"},            {"IS860DU format", "packed duration"},
        {"IS860PD format", "packed datetime"}, {"IS860VL format", "packed interval"},
        {"IS860VL informat", "text"},
    };
    for (const auto& [entry, kind] : kinds)
        EXPECT_THAT(normal, ::testing::Contains(::testing::AllOf(::testing::StartsWith(entry + " "),
                                                                 ::testing::EndsWith(" " + kind))))
            << entry;
}

TEST(ToolList, LongFormHasHeadersDescriptionsAndSamples) {
    const std::vector<std::string> got = ok_lines({"list", "--long"});
    ASSERT_EQ(got.size(), 1u + 27u + 9u + 3u + 3u);
    EXPECT_THAT(got[0], ::testing::StartsWith("NAME       KIND     MODULE   WIDTHS  DEFAULT DECIMALS VALUE"));
    EXPECT_THAT(got, ::testing::Contains(::testing::AllOf(
                         ::testing::StartsWith("E8601DZ    format   dtextnd1 20-35   26      0-6      datetime"),
                         HasSubstr("2008-09-15T09:05:00.25 gives 2008-09-15T09:05:00+00:00"))));
    EXPECT_THAT(got, ::testing::Contains(HasSubstr("P1Y2M3DT4H5M6S gives 0001203040506FFC")));
    for (std::size_t i = 1; i < got.size(); ++i) EXPECT_THAT(got[i], HasSubstr(" gives ")) << got[i];
}

TEST(ToolFormat, FormatNameWidthAndDecimals) {
    struct Row {
        std::string format, text;
    } rows[] = {
        {"E8601DZ26.3", "  1960-01-01T00:00:00.000Z"},
        {"e8601dz26.3", "  1960-01-01T00:00:00.000Z"},
        {"E8601DZ.3", "  1960-01-01T00:00:00.000Z"},  // the default width, 26
        {"E8601DZ", " 1960-01-01T00:00:00+00:00"},    // 26, no decimals
        {"E8601DZ26.", " 1960-01-01T00:00:00+00:00"},
        {"E8601DZ20", "1960-01-01T00:00:00Z"},
        {"B8601DZ20", "19600101T000000+0000"},
    };
    for (const Row& row : rows) EXPECT_EQ(ok_lines({"format", row.format, "0"}), std::vector{row.text}) << row.format;
}

TEST(ToolFormat, ValuesNumbersMissingAndLiterals) {
    EXPECT_EQ(ok_lines({"format", "E8601DA", "-138061", "+0", "0.0", "1e1", ".", "nan", "NaN", "1960-01-11"}),
              (std::vector<std::string>{"1582-01-01", "1960-01-01", "1960-01-01", "1960-01-11", "         .",
                                        "         .", "         .", "1960-01-11"}));
    EXPECT_EQ(ok_lines({"format", "E8601TM12.3", "-.5", "86399.9996"}),
              (std::vector<std::string>{stars(12), "23:59:59.999"}));
}

TEST(ToolFormat, OptionsMayFollowValues) {
    EXPECT_EQ(ok_lines({"format", "E8601DZ20", "0", "--status", "--missing", "?", "."}),
              (std::vector<std::string>{"1960-01-01T00:00:00Z\t0x00000000",
                                        blanks(13) + "?" + blanks(6) + "\t0x00000000"}));
    // After "--" everything is a value.
    EXPECT_EQ(run_tool({"format", "E8601DA", "--", "--status"}).exit_code, 2);
}

TEST(ToolFormat, StreamsStandardInput) {
    EXPECT_EQ(ok_lines({"format", "E8601DA", "-"}, "0\n.\r\n-138061\n2008-09-15"),
              (std::vector<std::string>{"1960-01-01", "         .", "1582-01-01", "2008-09-15"}));
    EXPECT_EQ(ok_lines({"format", "E8601DA", "0", "-", "1"}, "2\n"),
              (std::vector<std::string>{"1960-01-01", "1960-01-03", "1960-01-02"}));
    EXPECT_EQ(ok_lines({"informat", "IS860DU", "-"}, "PT30M\n-PT30M\n"),
              (std::vector<std::string>{"FFFFFFFFF30FFFFC", "FEFFFFFFF30FFFFC"}));
    // A line that cannot be read stops the run; what came before it stays.
    const ToolRun bad = run_tool({"format", "E8601DA", "-"}, "0\nyesterday\n1\n");
    EXPECT_EQ(bad.exit_code, 2);
    EXPECT_EQ(bad.out, "1960-01-01\n");
    EXPECT_THAT(bad.err, HasSubstr("standard input, line 2: unparsable value 'yesterday'"));
}

// Input and output cross the tool's 64 KiB blocks: every line comes out, in
// order, and a bad line far in still leaves everything before it written.
TEST(ToolFormat, StreamsAcrossBlocks) {
    std::string input;
    const int kLines = 20000;  // about 120 KiB in, 220 KiB out
    for (int i = 0; i < kLines; ++i) input += std::to_string(i % 3 == 0 ? -i : i) + (i % 2 ? "\r\n" : "\n");
    const std::vector<std::string> got = ok_lines({"format", "E8601DA", "-"}, input);
    ASSERT_EQ(got.size(), static_cast<std::size_t>(kLines));
    EXPECT_EQ(got[0], "1960-01-01");
    EXPECT_EQ(got[1], "1960-01-02");
    EXPECT_EQ(got[3], "1959-12-29");
    EXPECT_EQ(got[kLines - 1], "2014-10-03");  // day 19999
    const ToolRun bad = run_tool({"format", "E8601DA", "-"}, input + "yesterday\n0\n");
    EXPECT_EQ(bad.exit_code, 2);
    EXPECT_EQ(std::count(bad.out.begin(), bad.out.end(), '\n'), kLines);
    EXPECT_THAT(bad.err, HasSubstr("line " + std::to_string(kLines + 1)));
}

// Lines longer than a block, and status texts that cross a block's end.
TEST(ToolFormat, LongLinesAndStatusAcrossBlocks) {
    const std::string pad(150000, ' ');
    EXPECT_EQ(ok_lines({"format", "E8601DA", "-"}, "1\n" + pad + "5" + pad + "\n" + pad + "2\r\n3"),
              (std::vector<std::string>{"1960-01-02", "1960-01-06", "1960-01-03", "1960-01-04"}));
    const std::string good = ok_lines({"informat", "--status", "IS860DU", "PT30M"}).at(0);
    const std::string bad = ok_lines({"informat", "--status", "IS860DU", "P1Y2Q"}).at(0);
    ASSERT_GT(bad.size(), good.size() + 4);
    std::string input;
    std::vector<std::string> want;
    for (int i = 0; i < 9000; ++i) {
        const bool fails = i % 3 != 0;
        input += fails ? "P1Y2Q\n" : "PT30M\n";
        want.push_back(fails ? bad : good);
    }
    EXPECT_EQ(ok_lines({"informat", "--status", "IS860DU", "-"}, input), want);
}

TEST(ToolFormat, StatusWordAfterTab) {
    EXPECT_EQ(ok_lines({"format", "--status", "CLKDT16", "0", "1e12"}),
              (std::vector<std::string>{"01JAN60:00:00:00\t0x00000000", stars(16) + "\t0x8001d815"}));
    EXPECT_EQ(ok_lines({"format", "--status", "IS860VL5", "2020115103000FFD0001203040506FFC"}),
              (std::vector<std::string>{"*****\t0x8001d825"}));
    const std::vector<std::string> fits =
        ok_lines({"format", "--status", "--options", "1", "IS860DU30", "2020C31235959F9D"});
    EXPECT_EQ(fits, (std::vector<std::string>{stars(24) + blanks(6) + "\t0x00000000"}));
    EXPECT_EQ(ok_lines({"format", "--status", "--options", "1", "IS860DU20", "2020C31235959F9D"}),
              (std::vector<std::string>{stars(20) + "\t0x0000001b"}));
    EXPECT_EQ(ok_lines({"format", "--status", "--options", "0x11", "IS860DU20", "2020C31235959F9D"}),
              (std::vector<std::string>{stars(20) + "\t0x00000000"}));
}

TEST(ToolFormat, ValidateChecksWidthAndDecimalsFirst) {
    struct Row {
        std::string format, value, status;
    } rows[] = {
        {"E8601DA9", "0", "0x80002027"},   {"E8601DA11", "0", "0x80002028"},
        {"E8601DA10.1", "0", "0x8000202a"}, {"E8601TM7", "0", "0x80002027"},
        {"E8601TM8.7", "0", "0x8000202a"},  {"B8601DZ36", "0", "0x80002028"},
        {"CLKTIME1", "0", "0x80002027"},    {"CLKTIME21", "0", "0x80002028"},
        {"CLKTIME8.20", "0", "0x8000202a"}, {"CLKDYAMPM7", "0", "0x80002027"},
        {"E8601DA10", "0", "0x00000000"},   {"E8601DA10", ".", "0x00000000"},
    };
    for (const Row& row : rows) {
        const std::vector<std::string> got = ok_lines({"format", "--validate", "--status", row.format, row.value});
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(after_tab(got[0]), row.status) << row.format;
    }
    // Without the flag the same widths are rendered as well as they can be.
    const std::vector<std::string> unchecked = ok_lines({"format", "--status", "E8601DA9", "0"});
    EXPECT_EQ(after_tab(unchecked.at(0)), "0x00000000");
}

TEST(ToolFormat, CapacitySmallerThanWidth) {
    EXPECT_EQ(ok_lines({"format", "--status", "--capacity", "6", "CLKMMSS8.2", "45296.789"}),
              (std::vector<std::string>{"754:56\t0x8001d826"}));
}

// Requests a host may never make but a person can type: whatever the
// routines do with them, nothing is read or written outside the buffers
// (which the sanitizer builds check).
TEST(ToolFormat, OddRequestsAreSafe) {
    const std::vector<std::vector<std::string>> requests = {
        // Most date and time routines write the whole width whatever the capacity.
        {"format", "--capacity", "1", "E8601DA", "0"},
        {"format", "--capacity", "1", "E8601DZ26.3", "0"},
        {"format", "--capacity", "1", "B8601DZ", "0"},
        {"format", "--capacity", "1", "CLKDT", "0"},
        {"format", "--capacity", "1", "CLKTIME", "0"},
        {"format", "--capacity", "0", "IS860DU", "0001203040506FFC"},
        {"format", "--capacity", "1", "IS860VL", "2020115103000FFD0001203040506FFC"},
        // Blank packed values, and widths beyond the text.
        {"format", "IS860DU", "   "},
        {"format", "IS860PD", ""},
        {"format", "IS860VL80", "   "},
        // Widths and decimals far beyond the limits.
        {"format", "E8601DZ32767.32767", "0"},
        {"format", "CLKDT40.32767", "0"},
        {"format", "CLKMMSS20.32767", "45296.789"},
        {"format", "IS860VL1", "2020115103000FFD0001203040506FFC"},
        // Informat widths and targets.
        {"informat", "IS860VL1", "2020-01-01T00:00:00/P1D"},
        {"informat", "IS860DU32767", "P1D"},
        {"informat", "--capacity", "0", "IS860PD", "2020-01-01"},
    };
    for (const std::vector<std::string>& request : requests) {
        std::string shown;
        for (const std::string& a : request) shown += " " + a;
        const ToolRun run = run_tool(request);
        EXPECT_EQ(run.exit_code, 0) << shown << ": " << run.err;
        EXPECT_EQ(lines(run.out).size(), 1u) << shown;
    }
}

TEST(ToolInformat, CapacityOfTheTarget) {
    const ToolRun short_vl = run_tool({"informat", "--status", "--capacity", "31", "IS860VL", "P1D"});
    EXPECT_EQ(short_vl.exit_code, 0);
    EXPECT_THAT(short_vl.err, HasSubstr("ERROR: Target location for $IS860VL has length 31 but 32 is needed."));
    const ToolRun short_du = run_tool({"informat", "--capacity", "15", "IS860DU", "P1D"});
    EXPECT_THAT(short_du.err, HasSubstr("ERROR: Target location for $IS860DU has length 15 but 16 is needed."));

    EXPECT_EQ(ok_lines({"informat", "--capacity", "40", "IS860VL", "2020-01-01T00:00:00/2020-01-02T00:00:00"}),
              (std::vector<std::string>{"2020101000000FFD2020102000000FFD"}));
    EXPECT_EQ(ok_lines({"informat", "--capacity", "16", "IS860DU", "PT30M"}),
              (std::vector<std::string>{"FFFFFFFFF30FFFFC"}));
}

TEST(ToolInformat, MissingNotationWithMode256) {
    EXPECT_EQ(ok_lines({"informat", "--mode", "0x100", "--status", "IS860VL", "."}),
              (std::vector<std::string>{std::string(32, 'F') + "\t0"}));
    EXPECT_EQ(ok_lines({"informat", "--mode", "256", "--status", "IS860DU", "."}),
              (std::vector<std::string>{std::string(16, 'F') + "\t0"}));
}

TEST(ToolOptions, MissingText) {
    EXPECT_EQ(ok_lines({"format", "--missing", "?", "E8601DA", "."}), std::vector<std::string>{"         ?"});
    EXPECT_EQ(ok_lines({"--missing", "?", "format", "E8601DZ26", "nan"}),
              std::vector<std::string>{blanks(19) + "?" + blanks(6)});
    // An empty text is a value like any other, in both spellings.
    EXPECT_EQ(ok_lines({"format", "--missing", "", "E8601DA", "."}), std::vector<std::string>{blanks(10)});
    EXPECT_EQ(ok_lines({"format", "--missing=", "E8601DA", "."}), std::vector<std::string>{blanks(10)});
    EXPECT_EQ(ok_lines({"format", "--debug", "", "E8601DA", "0"}), std::vector<std::string>{"1960-01-01"});
}

TEST(ToolOptions, TimeZoneWithDaylightSaving) {
    EXPECT_EQ(ok_lines({"format", "--tz", "America/New_York", "E8601DX26", "2020-07-01T12:00:00",
                        "2020-01-01T12:00:00"}),
              (std::vector<std::string>{" 2020-07-01T08:00:00-04:00", " 2020-01-01T07:00:00-05:00"}));
    EXPECT_EQ(ok_lines({"format", "--tz", "America/New_York", "E8601LX26", "2020-07-01T12:00:00"}),
              std::vector<std::string>{" 2020-07-01T12:00:00-04:00"});
}

// Daylight saving after the zone files' last listed transitions, and local
// mean time offsets with seconds, whose shift is the whole-minute offset shown.
TEST(ToolOptions, TimeZoneRulesForEveryYearAndWholeMinuteOffsets) {
    EXPECT_EQ(ok_lines({"format", "--tz", "America/New_York", "E8601DX26", "2040-06-10T12:00:00",
                        "2040-12-10T12:00:00", "1800-01-01T00:00:00"}),
              (std::vector<std::string>{" 2040-06-10T08:00:00-04:00", " 2040-12-10T07:00:00-05:00",
                                        " 1799-12-31T19:04:00-04:56"}));
    EXPECT_EQ(ok_lines({"format", "--tz", "Europe/Paris", "E8601DX26", "2050-07-01T12:00:00"}),
              std::vector<std::string>{" 2050-07-01T14:00:00+02:00"});
    EXPECT_EQ(ok_lines({"format", "--tz", "Africa/Monrovia", "E8601DX26", "1960-06-01T00:00:00"}),
              std::vector<std::string>{" 1960-05-31T23:16:00-00:44"});
    EXPECT_EQ(ok_lines({"format", "--tz", "Africa/Monrovia", "E8601LX26", "1960-06-01T00:00:00"}),
              std::vector<std::string>{" 1960-06-01T00:00:00-00:44"});
}

TEST(ToolOptions, TimeZoneWithFixedOffset) {
    EXPECT_EQ(ok_lines({"format", "--tz", "+05:30", "E8601DX26", "0"}),
              std::vector<std::string>{" 1960-01-01T05:30:00+05:30"});
    EXPECT_EQ(ok_lines({"format", "--tz", "-03:00", "B8601DX20", "0"}),
              std::vector<std::string>{"19591231T210000-0300"});
    EXPECT_EQ(ok_lines({"format", "--tz", "-02:00", "E8601TX14", "3600"}),
              std::vector<std::string>{"23:00:00-02:00"});
    // The local formats take the offset from the zone as well.
    EXPECT_EQ(ok_lines({"format", "--tz", "-05:00", "E8601LZ14", "32700"}),
              std::vector<std::string>{"09:05:00-05:00"});
    EXPECT_EQ(ok_lines({"format", "--tz=-05:00", "B8601LZ14", "32700"}),
              std::vector<std::string>{"   090500-0500"});
}

TEST(ToolOptions, DebugLogsProblemsToStandardError) {
    const std::vector<std::string> args{"format", "IS860VL5", "2020115103000FFD0001203040506FFC"};
    const ToolRun quiet = run_tool(args);
    EXPECT_EQ(quiet.err, "");
    std::vector<std::string> with_debug = args;
    with_debug.insert(with_debug.begin() + 1, {"--debug", "x,n8601diag"});
    const ToolRun logged = run_tool(with_debug);
    EXPECT_EQ(logged.exit_code, 0);
    EXPECT_EQ(logged.out, "*****\n");
    EXPECT_THAT(logged.err, HasSubstr("Problem with formatting: Insufficient room to format the result."));
    EXPECT_EQ(lines(logged.err).size(), 1u);
}

TEST(ToolDemo, RendersEveryFormat) {
    const ToolRun run = run_tool({"demo"});
    ASSERT_EQ(run.exit_code, 0) << run.err;
    for (const char* shown : {"[1960-01-01T00:00:00Z]", "[19600101T000000+0000]", "[2008-09-15]",
                              "[12:34:57 PM]", "CLKDYAMPM", "IS860VL"})
        EXPECT_THAT(run.out, HasSubstr(shown));
}

}  // namespace
}  // namespace e2e
