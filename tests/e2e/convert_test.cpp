// isofmt convert: CSV in and out through the tool, every row kept.
#include <csv.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tool_runner.h"

namespace e2e {
namespace {

using ::testing::HasSubstr;
using Rows = std::vector<std::vector<std::string>>;

// The records of a CSV text, read by libcsv with blanks kept.
Rows parse_csv(const std::string& text, char delimiter = ',') {
    struct Into {
        Rows rows;
        std::vector<std::string> row;
        bool after_cr = false;
    } into;
    csv_parser p;
    csv_init(&p, CSV_REPALL_NL);
    csv_set_delim(&p, static_cast<unsigned char>(delimiter));
    csv_set_space_func(&p, [](unsigned char) { return 0; });
    auto field = [](void* s, size_t n, void* d) {
        static_cast<Into*>(d)->row.emplace_back(static_cast<char*>(s), n);
    };
    auto record = [](int c, void* d) {
        Into& i = *static_cast<Into*>(d);
        const bool pair = c == '\n' && i.after_cr && i.row.empty();
        i.after_cr = c == '\r';
        if (pair) return;
        if (i.row.empty()) i.row.emplace_back();
        i.rows.push_back(std::move(i.row));
        i.row.clear();
    };
    csv_parse(&p, text.data(), text.size(), field, record, &into);
    csv_fini(&p, field, record, &into);
    csv_free(&p);
    return into.rows;
}

// A file of the given text, removed at the end of the test.
struct TempFile {
    std::string path;
    explicit TempFile(const std::string& text = {}) {
        std::string pattern = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
                              "/isofmt-convert-XXXXXX";
        const int fd = ::mkstemp(pattern.data());
        EXPECT_GE(fd, 0);
        ::close(fd);
        path = pattern;
        std::ofstream(path, std::ios::binary) << text;
    }
    ~TempFile() { std::remove(path.c_str()); }
    std::string read() const {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

std::vector<std::string> with(std::vector<std::string> args, const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(ToolConvert, QuotingLineEndingsAndUntouchedColumns) {
    // Quoted fields with delimiters, doubled quotes and line breaks, blanks
    // around unquoted fields, CRLF and LF, an empty last field, no final line
    // break: every column but the converted one comes out as it went in
    // (quoted only where it must be).
    const std::string in =
        "id,when,note,empty\r\n"
        "1,0,\"a, \"\"b\"\"\nc\",\r\n"
        "\"2\",86400, padded ,\n"
        "3,2008-09-15T12:00:00,\"\",x";
    const ToolRun run = run_tool({"convert", "--column", "when=E8601DT"}, in);
    EXPECT_EQ(run.exit_code, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "id,when,note,empty\r\n"
              "1,1960-01-01T00:00:00,\"a, \"\"b\"\"\nc\",\r\n"
              "2,1960-01-02T00:00:00,\" padded \",\n"
              "3,2008-09-15T12:00:00,,x");
}

TEST(ToolConvert, ColumnsByNameAndByNumberAndSeveral) {
    const std::string in = "a,start,span,b\n1,0,P1D,x\n2,2020-01-15T10:30:00,PT30M,y\n";
    const std::string want =
        "a,start,span,b\n"
        "1,\"  1960-01-01T00:00:00.000Z\",FFFFF01FFFFFFFFC,x\n"
        "2,\"  2020-01-15T10:30:00.000Z\",FFFFFFFFF30FFFFC,y\n";
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--column", "start=E8601DZ26.3", "--informat", "span=IS860DU"},
             {"--column", "2=E8601DZ26.3", "--informat", "3=IS860DU"},
             {"--informat=span=IS860DU", "--column=2=e8601dz26.3"},
         }) {
        const ToolRun run = run_tool(with({"convert"}, args), in);
        EXPECT_EQ(run.exit_code, 0) << run.err;
        EXPECT_EQ(run.out, want) << args[1];
    }
    // --no-header: the first row is data, columns go by number.
    const ToolRun run = run_tool({"convert", "--no-header", "--column", "2=E8601DA", "--trim"}, "x,0\ny,.\n");
    EXPECT_EQ(run.out, "x,1960-01-01\ny,.\n");
}

TEST(ToolConvert, KeepWritesEachConversionBesideItsColumn) {
    const ToolRun run = run_tool({"convert", "--keep", "--column", "when=E8601DA", "--column", "when=B8601DA",
                                  "--column", "t=CLKTIME8"},
                                 "when,t\n0,3600\nbad,60\n");
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.out,
              "when,when_E8601DA,when_B8601DA,t,t_CLKTIME\n"
              "0,1960-01-01,\"  19600101\",3600,\" 1:00:00\"\n"
              "bad,\"         .\",\"         .\",60,\" 0:01:00\"\n");
    EXPECT_EQ(lines(run.err).size(), 2u) << run.err;  // one per conversion of the bad cell
}

TEST(ToolConvert, BadValuesAndShortRowsAreReportedAndKept) {
    const std::string in =
        "id,when,span\n"
        "1,0,P1D\n"
        "2,tomorrow,P1D\n"
        "3,0\n"
        "\n"
        "4,0,P1X\n"
        "5,\"multi\nline\",P2D,extra\n"
        "6,,\n";
    const std::vector<std::string> args{"convert", "--column", "when=E8601DA", "--informat", "span=IS860DU"};
    const ToolRun run = run_tool(args, in);
    EXPECT_EQ(run.exit_code, 1);
    const Rows rows = parse_csv(run.out);
    ASSERT_EQ(rows.size(), 8u) << run.out;  // the header and every row
    EXPECT_EQ(rows[2], (std::vector<std::string>{"2", "         .", "FFFFF01FFFFFFFFC"}));
    EXPECT_EQ(rows[3], (std::vector<std::string>{"3", "0"}));  // passed through unchanged
    EXPECT_EQ(rows[4], (std::vector<std::string>{""}));
    EXPECT_EQ(rows[5], (std::vector<std::string>{"4", "1960-01-01", std::string(16, ' ')}));
    EXPECT_EQ(rows[6], (std::vector<std::string>{"5", "multi\nline", "P2D", "extra"}));
    EXPECT_EQ(rows[7][1], "         .");  // an empty cell is a missing value, not a problem

    const std::vector<std::string> said = lines(run.err);
    ASSERT_EQ(said.size(), 5u) << run.err;
    EXPECT_THAT(said[0], HasSubstr("line 3, column when: unparsable value 'tomorrow'"));
    EXPECT_THAT(said[1], HasSubstr("line 4: 2 fields where 3 were expected"));
    EXPECT_THAT(said[2], HasSubstr("line 5: 1 field where 3 were expected"));
    EXPECT_THAT(said[3], HasSubstr("line 6, column span: problem 1 (too many digits with no delimiters) in 'P1X'"));
    EXPECT_THAT(said[4], HasSubstr("line 7: 4 fields"));  // the line the record begins on

    // The same problems as CSV, standard error left quiet.
    TempFile problems;
    const ToolRun to_file = run_tool(with(args, {"--problems", problems.path}), in);
    EXPECT_EQ(to_file.exit_code, 1);
    EXPECT_EQ(to_file.out, run.out);
    EXPECT_EQ(to_file.err, "");
    const Rows report = parse_csv(problems.read());
    ASSERT_EQ(report.size(), 6u) << problems.read();
    EXPECT_EQ(report[0], (std::vector<std::string>{"line", "column", "value", "code", "message"}));
    EXPECT_EQ((std::vector<std::string>(report[1].begin(), report[1].begin() + 4)),
              (std::vector<std::string>{"3", "when", "tomorrow", "value"}));
    EXPECT_EQ(report[2], (std::vector<std::string>{"4", "", "3", "fields", "2 fields where 3 were expected"}));
    EXPECT_EQ(report[4], (std::vector<std::string>{"6", "span", "P1X", "1", "too many digits with no delimiters"}));
}

// A last row of one empty field, without a line end, stays a row.
TEST(ToolConvert, LastEmptyRowWithoutLineEndIsKept) {
    const ToolRun run = run_tool({"convert", "--column", "v=E8601DA"}, "v,w\n0,1\n\"\"");
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.out, "v,w\n1960-01-01,1\n\"\"");
    EXPECT_EQ(parse_csv(run.out).size(), 3u);
}

// A routine's status is reported, and its text (fitted into the capacity
// here) is the cell.
TEST(ToolConvert, StatusesAreReportedWithTheirText) {
    const ToolRun run = run_tool({"convert", "--capacity", "6", "--column", "v=CLKMMSS8.2"}, "v\n45296.789\n.\n");
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(parse_csv(run.out), (Rows{{"v"}, {"754:56"}, {"     ."}}));
    const std::vector<std::string> said = lines(run.err);
    ASSERT_EQ(said.size(), 2u) << run.err;
    EXPECT_THAT(said[0], HasSubstr("line 2, column v: status 0x8001d826 (the width exceeds the output capacity; "
                                   "the text was fitted into it) for '45296.789'"));
    EXPECT_THAT(said[1], HasSubstr("line 3, column v: status 0x8001d826"));
}

TEST(ToolConvert, ReportedValuesAreCutAndEscaped) {
    const std::string long_value = std::string(5000, 'x') + "\x01";
    TempFile problems;
    const ToolRun run =
        run_tool({"convert", "--no-header", "--column", "1=E8601DA", "--problems", problems.path},
                 "\"" + long_value + "\"\n\"a\tb\"\n");
    EXPECT_EQ(run.exit_code, 1);
    const Rows report = parse_csv(problems.read());
    ASSERT_EQ(report.size(), 3u);
    EXPECT_EQ(report[1][2], std::string(60, 'x') + "...");
    EXPECT_LT(report[1][4].size(), 300u);
    EXPECT_EQ(report[2][2], "a\\x09b");
}

// Every converted cell is what the format and informat commands give for
// the same value, options included.
TEST(ToolConvert, CellsEqualTheFormatAndInformatCommands) {
    struct Case {
        std::vector<std::string> options;  // before the FORMAT
        std::string format;
        bool informat;
        std::vector<std::string> values;
    } cases[] = {
        {{}, "E8601DZ26.3", false, {"0", "-138061.25", "2020-01-15T10:30:00", ".", "1e12"}},
        {{"--tz", "America/New_York"}, "E8601DX", false, {"0", "1893456000", "2020-07-01T12:00:00"}},
        {{"--missing", "NA"}, "E8601DA", false, {"0", "2008-09-15", "."}},
        {{}, "CLKDT19", false, {"0", "86399.6", "-1"}},
        {{}, "IS860DU", false, {"0001203040506FFC", "FFFFFFFFFFFFFFFF"}},
        {{"--options", "1"}, "IS860VL", false, {"2020115103000FFDFFFF1FFFFFFFFFFC"}},
        {{}, "IS860VL", true, {"2020-01-15T10:30:00/P1M", "P1D/2020-01-01T00:00:00", "junk"}},
        {{"--mode", "0x80"}, "IS860DU", true, {"P1Y2M3DT4H5M6S", "-PT30M", "P1"}},
    };
    for (const Case& c : cases) {
        const std::string command = c.informat ? "informat" : "format";
        const ToolRun single = run_tool(with(with({command}, c.options), with({c.format}, c.values)));
        ASSERT_EQ(single.exit_code, 0) << c.format << ": " << single.err;
        const std::vector<std::string> want = lines(single.out);

        std::string csv = "v,other\n";
        for (const std::string& v : c.values) csv += v + ",same\n";
        const ToolRun converted = run_tool(
            with(with({"convert"}, c.options), {c.informat ? "--informat" : "--column", "v=" + c.format}), csv);
        const Rows rows = parse_csv(converted.out);
        ASSERT_EQ(rows.size(), c.values.size() + 1) << c.format << converted.err;
        for (std::size_t i = 0; i < c.values.size(); ++i) {
            ASSERT_EQ(rows[i + 1].size(), 2u);
            EXPECT_EQ(rows[i + 1][0], want[i]) << c.format << " " << c.values[i];
            EXPECT_EQ(rows[i + 1][1], "same");
        }
    }
}

TEST(ToolConvert, DelimiterAndTrim) {
    const ToolRun run = run_tool({"convert", "--delimiter", "tab", "--trim", "--column", "d=E8601DZ26.3"},
                                 "d\tnote\n0\ta,b\n");
    EXPECT_EQ(run.out, "d\tnote\n1960-01-01T00:00:00.000Z\ta,b\n");
    const ToolRun semi = run_tool({"convert", "--delimiter", ";", "--column", "1=E8601DA"}, "d;n\n0;\"x;y\"\n");
    EXPECT_EQ(semi.out, "d;n\n1960-01-01;\"x;y\"\n");
}

TEST(ToolConvert, ReadsAFileAndAnEmptyInput) {
    TempFile file("d\n0\n");
    EXPECT_EQ(run_tool({"convert", file.path, "--column", "d=E8601DA"}).out, "d\n1960-01-01\n");
    const ToolRun empty = run_tool({"convert", "-", "--column", "d=E8601DA"}, "");
    EXPECT_EQ(empty.exit_code, 0);
    EXPECT_EQ(empty.out, "");
}

TEST(ToolConvert, UsageErrorsWriteNothing) {
    struct Row {
        std::vector<std::string> args;
        std::string named;
    } rows[] = {
        {{"convert"}, "--column"},
        {{"convert", "--column", "when"}, "COLUMN=FORMAT"},
        {{"convert", "--column", "nope=E8601DA"}, "no column 'nope'"},
        {{"convert", "--column", "3=E8601DA"}, "no column 3"},
        {{"convert", "--no-header", "--column", "when=E8601DA"}, "no column 'when'"},
        {{"convert", "--column", "when=NOPE"}, "unknown format 'NOPE'"},
        {{"convert", "--informat", "when=E8601DA"}, "E8601DA is a format"},
        {{"convert", "--column", "when=E8601DA", "--column", "1=B8601DA"}, "more than once"},
        {{"convert", "--column", "when=E8601DA", "--delimiter", "ab"}, "--delimiter"},
        {{"convert", "--column", "when=E8601DA", "--jobs", "0"}, "--jobs"},
        {{"convert", "/nonexistent/in.csv", "--column", "when=E8601DA"}, "/nonexistent/in.csv"},
    };
    for (const Row& row : rows) {
        const ToolRun run = run_tool(row.args, "when,x\n0,1\n");
        EXPECT_EQ(run.exit_code, 2) << row.named;
        EXPECT_EQ(run.out, "") << row.named;
        EXPECT_THAT(run.err, HasSubstr(row.named));
    }
}

// Many blocks, converted on one thread and on several, give the same bytes;
// the problems come in input order either way.
TEST(ToolConvert, JobsDoNotChangeTheOutput) {
    std::string in = "id,when,span,note\n";
    for (int i = 0; i < 30000; ++i) {
        in += std::to_string(i) + ",";
        in += i % 997 == 0 ? "bad" : std::to_string(i * 7919.5 - 1e8);
        in += i % 13 == 0 ? ",\"P" + std::to_string(i % 50) + "D\"" : ",PT" + std::to_string(i % 90) + "M";
        in += i % 1499 == 0 ? "\n" : ",\"line\r\nbreak, " + std::to_string(i) + "\"\r\n";
    }
    TempFile input(in);
    std::string first_out, first_problems;
    for (const std::string jobs : {"1", "2", "5"}) {
        TempFile problems;
        const ToolRun run = run_tool({"convert", input.path, "--jobs", jobs, "--column", "when=E8601DT19.2",
                                      "--informat", "span=IS860DU", "--problems", problems.path});
        EXPECT_EQ(run.exit_code, 1) << run.err;
        if (jobs == "1") {
            first_out = run.out;
            first_problems = problems.read();
            EXPECT_EQ(parse_csv(run.out).size(), 30001u);
            EXPECT_EQ(lines(first_problems).size(), 1u + 30 + 21);  // bad values (not in short rows), short rows
        } else {
            EXPECT_TRUE(run.out == first_out) << "--jobs " << jobs;
            EXPECT_EQ(problems.read(), first_problems) << "--jobs " << jobs;
        }
    }
}

}  // namespace
}  // namespace e2e
