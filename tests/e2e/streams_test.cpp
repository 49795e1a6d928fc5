// Streams through the tool: --keep-going, echo of bad input, read and write
// errors, a closed pipe.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

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

}  // namespace
}  // namespace e2e
