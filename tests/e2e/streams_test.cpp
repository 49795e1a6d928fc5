// Streams through the tool: --keep-going, echo of bad input, read and write
// errors, a closed pipe.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "tool_runner.h"

namespace e2e {
namespace {

using ::testing::HasSubstr;

TEST(ToolKeepGoing, OneLinePerInputLineAndExitOne) {
    const ToolRun run = run_tool({"format", "--keep-going", "--status", "E8601DA", "-"}, "0\nyesterday\n\n1\n");
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(lines(run.out), (std::vector<std::string>{"1960-01-01\t0x00000000", "         .\t0x00000000",
                                                        "         .\t0x00000000", "1960-01-02\t0x00000000"}));
    const std::vector<std::string> err = lines(run.err);
    ASSERT_EQ(err.size(), 2u) << run.err;
    EXPECT_THAT(err[0], ::testing::StartsWith("isofmt: standard input, line 2: unparsable value 'yesterday'"));
    EXPECT_THAT(err[1], ::testing::StartsWith("isofmt: standard input, line 3: unparsable value ''"));

    // Values on the command line are numbered; the missing text is the --missing one.
    const ToolRun args = run_tool({"format", "--keep-going", "--missing", "?", "E8601DA", "0", "x", "1"});
    EXPECT_EQ(args.exit_code, 1);
    EXPECT_EQ(lines(args.out), (std::vector<std::string>{"1960-01-01", blanks(9) + "?", "1960-01-02"}));
    EXPECT_THAT(args.err, HasSubstr("isofmt: value 2: unparsable value 'x'"));

    // A packed format's missing rendering, and a clean run exits 0.
    const ToolRun packed = run_tool({"format", "--keep-going", "IS860DU", "-"}, "junk\n0001203040506FFC\n");
    EXPECT_EQ(packed.exit_code, 1);
    EXPECT_EQ(lines(packed.out), (std::vector<std::string>{blanks(24), "P00010203T040506        "}));
    EXPECT_EQ(run_tool({"format", "--keep-going", "E8601DA", "-"}, "0\n1\n").exit_code, 0);
}

TEST(ToolKeepGoing, InformatProblemsAreReported) {
    const ToolRun run = run_tool({"informat", "--keep-going", "--status", "IS860DU", "-"}, "PT30M\ngarbage\nP1D\n");
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(lines(run.out), (std::vector<std::string>{"FFFFFFFFF30FFFFC\t0",
                                                        blanks(16) + "\t2\tnumber not found where expected",
                                                        "FFFFF01FFFFFFFFC\t0"}));
    EXPECT_EQ(run.err, "isofmt: standard input, line 2: problem 2 with 'garbage': number not found where expected\n");
    // Without --keep-going an informat's problem is its status, not an error.
    EXPECT_EQ(run_tool({"informat", "IS860DU", "-"}, "garbage\n").exit_code, 0);
}

TEST(ToolEcho, BoundedEscapedAndNumbered) {
    const std::string huge(10'000'000, 'x');
    const ToolRun big = run_tool({"format", "E8601DA", "-"}, "0\n" + huge + "\n");
    EXPECT_EQ(big.exit_code, 2);
    ASSERT_EQ(lines(big.err).size(), 1u);
    EXPECT_LT(big.err.size(), 300u);
    EXPECT_THAT(big.err, HasSubstr("standard input, line 2: unparsable value '" + std::string(60, 'x') +
                                   "'... (10000000 bytes)"));

    const ToolRun nul = run_tool({"format", "E8601DA", "-"}, std::string("1\0x\x1b\\\n", 6));
    EXPECT_EQ(nul.exit_code, 2);
    EXPECT_THAT(nul.err, HasSubstr("line 1: unparsable value '1\\0x\\x1b\\\\'"));
}

TEST(ToolIo, ReadAndWriteErrorsAreReported) {
    struct Row {
        std::string command;
        std::string message;
    } rows[] = {
        {tool_command({"format", "E8601DA", "-"}) + " < /", "isofmt: cannot read standard input: Is a directory\n"},
        {tool_command({"format", "E8601DA", "0"}) + " > /dev/full", "isofmt: cannot write standard output: No space left on device\n"},
        {tool_command({"list"}) + " > /dev/full", "isofmt: cannot write standard output: No space left on device\n"},
        {tool_command({"demo"}) + " > /dev/full", "isofmt: cannot write standard output: No space left on device\n"},
    };
    for (const Row& row : rows) {
        const ToolRun run = run_shell(row.command);
        EXPECT_EQ(run.exit_code, 3) << row.command;
        EXPECT_EQ(run.err, row.message) << row.command;
    }
}

// A reader that stops early ends the tool quietly, also when the caller
// ignores SIGPIPE.
TEST(ToolIo, ClosedPipeEndsQuietly) {
    const std::string input = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") +
                              "/isofmt-e2e-pipe-" + std::to_string(::getpid());
    {
        std::ofstream out(input);
        for (int i = 0; i < 200000; ++i) out << i << "\n";
    }
    for (const std::string prefix : {"", "trap '' PIPE; "}) {
        const ToolRun run = run_shell(prefix + "set -o pipefail; " + tool_command({"format", "E8601DA", "-"}) +
                                      " < " + shell_quoted(input) + " | head -1; echo \"status ${PIPESTATUS[0]}\"");
        EXPECT_EQ(run.out, "1960-01-01\nstatus 141\n") << prefix;
        EXPECT_EQ(run.err, "") << prefix;
    }
    std::remove(input.c_str());
}

// Standard input renders its plain decimals a batch at a time and finds its
// lines a word at a time; the values given as arguments go one by one. Both
// must print the same, with every other kind of line in between: missing
// notations, literals, blanks around, bad values, blank lines, CR LF ends,
// long lines, lines of every length around the word steps, and no LF at the
// end.
TEST(ToolStream, SameAsValueByValue) {
    std::mt19937_64 rng(1960);
    std::vector<std::string> values;
    const char* const others[] = {".",      "nan",   "NaN", " 5 ",  "-7.25", "+5",   "1e5", ".5",   "5.",  "-0",
                                  "x",      "",      "1234567890123456",     "123456789012345", "2020-01-15T10:30:00",
                                  "2020-01-15", "20200115T103000Z", "12:00", "1 2",  "--1", "0.000000001"};
    for (int i = 0; i < 8000; ++i) {
        switch (rng() % 8) {
        case 0: values.push_back(others[rng() % std::size(others)]); break;
        case 1: values.push_back(std::string(rng() % 40, '0') + std::to_string(rng() % 1000)); break;
        case 2: values.push_back(blanks(static_cast<int>(i % 1000 == 2 ? 3000 : rng() % 20)) + "86400"); break;
        default: {
            std::string v = std::to_string(static_cast<long long>(rng() % 10000000000) - 3000000000);
            if (rng() % 2) v += "." + std::to_string(rng() % 1000);
            values.push_back(v);
        }
        }
    }
    for (const char* format : {"E8601DT19", "E8601DA", "E8601DT23.3"}) {
        for (bool final_lf : {true, false}) {
            std::string input;
            for (std::size_t i = 0; i < values.size(); ++i) {
                input += values[i];
                // CR LF on some of the lines that read as numbers.
                if (i % 3 == 0 && values[i].find_first_of("0123456789") != std::string::npos) input += '\r';
                if (i + 1 < values.size() || final_lf) input += '\n';
            }
            const ToolRun stream = run_tool({"format", "--keep-going", format, "-"}, input);
            EXPECT_EQ(lines(stream.out).size(), values.size()) << format;
            // The arguments in parts that a command line holds.
            std::string out, err;
            int exit_code = 0;
            constexpr std::size_t kPart = 2000;
            for (std::size_t from = 0; from < values.size(); from += kPart) {
                std::vector<std::string> args = {"format", "--keep-going", format};
                args.insert(args.end(), values.begin() + from,
                            values.begin() + std::min(values.size(), from + kPart));
                const ToolRun part = run_tool(args);
                exit_code = std::max(exit_code, part.exit_code);
                out += part.out;
                for (const std::string& line : lines(part.err)) {
                    const std::string prefix = "isofmt: value ";
                    ASSERT_EQ(line.rfind(prefix, 0), 0u) << line;
                    const std::size_t colon = line.find(':', prefix.size());
                    const long number = std::stol(line.substr(prefix.size(), colon - prefix.size()));
                    err += "isofmt: standard input, line " + std::to_string(from + number) + line.substr(colon) + "\n";
                }
            }
            EXPECT_EQ(stream.exit_code, exit_code) << format;
            EXPECT_TRUE(stream.out == out) << format << " final LF " << final_lf;
            EXPECT_TRUE(stream.err == err) << format;
        }
    }
    // To one place, a problem comes after the lines before it.
    const ToolRun merged =
        run_shell("printf '0\\n1\\nx\\n2\\n' | " + tool_command({"format", "--keep-going", "E8601DA", "-"}) + " 2>&1");
    const std::vector<std::string> got = lines(merged.out);
    ASSERT_EQ(got.size(), 5u) << merged.out;
    EXPECT_EQ(got[1], "1960-01-02");
    EXPECT_THAT(got[2], ::testing::StartsWith("isofmt: standard input, line 3: unparsable value 'x'"));
    EXPECT_EQ(got[3], blanks(9) + ".");
    // Without --keep-going the lines before the bad one are written.
    const ToolRun stop = run_tool({"format", "E8601DA", "-"}, "0\n1\n2\nbad\n3\n");
    EXPECT_EQ(stop.exit_code, 2);
    EXPECT_EQ(lines(stop.out), (std::vector<std::string>{"1960-01-01", "1960-01-02", "1960-01-03"}));
    EXPECT_THAT(stop.err, HasSubstr("standard input, line 4: unparsable value 'bad'"));
}

// A missing text that is itself a plain decimal makes that line missing on
// standard input too, as it does for an argument.
TEST(ToolStream, MissingTextThatIsANumber) {
    const std::vector<std::string> values = {"0", "-1", "1.5", "2", "-0", "1.50", "0.0"};
    std::string input;
    for (const std::string& v : values) input += v + "\n";
    for (const char* missing : {"0", " -1 ", "1.5", "NA"}) {
        std::vector<std::string> args = {"format", "--missing", missing, "E8601DA"};
        const ToolRun one_by_one = [&] {
            std::vector<std::string> a = args;
            a.insert(a.end(), values.begin(), values.end());
            return run_tool(a);
        }();
        args.push_back("-");
        const ToolRun stream = run_tool(args, input);
        EXPECT_EQ(stream.exit_code, 0) << missing;
        EXPECT_EQ(stream.out, one_by_one.out) << missing;
        EXPECT_EQ(stream.err, one_by_one.err) << missing;
    }
}

}  // namespace
}  // namespace e2e
