// Every example of the README and the reference, run as written: each
// "$ " line of a console block is run through bash (scripts/run and isofmt
// being the built tool), and its standard output must be the lines that
// follow it, byte for byte. They run in a directory of their own, one per
// file, where an example may leave files for the next.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tool_runner.h"

namespace e2e {
namespace {

struct Example {
    std::string file;
    int line = 0;
    std::string command;
    std::string output;
};

std::vector<Example> examples(const std::string& path) {
    std::ifstream in(path);
    EXPECT_TRUE(in) << path;
    std::vector<Example> found;
    bool console = false;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (text.starts_with("```")) {
            console = text == "```console";
            continue;
        }
        if (!console) continue;
        if (text.starts_with("$ ")) {
            found.push_back({path, number, text.substr(2), ""});
        } else if (!found.empty()) {
            found.back().output += text + "\n";
        }
    }
    return found;
}

std::string replace_all(std::string s, const std::string& from, const std::string& to) {
    for (std::size_t at = 0; (at = s.find(from, at)) != std::string::npos; at += to.size()) s.replace(at, from.size(), to);
    return s;
}

TEST(Documentation, EveryExampleHoldsByteForByte) {
    const std::string tool = shell_quoted(ISOFMT_TOOL);
    std::size_t count = 0;
    for (const char* file : {ISOFMT_SOURCE_DIR "/README.md", ISOFMT_SOURCE_DIR "/docs/reference.md"}) {
        std::string dir = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/isofmt-doc-XXXXXX";
        ASSERT_NE(::mkdtemp(dir.data()), nullptr);
        for (const Example& e : examples(file)) {
            const std::string command = "cd " + shell_quoted(dir) + " || exit\nisofmt() { " + tool +
                                        " \"$@\"; }\n" + replace_all(e.command, "scripts/run ", "isofmt ");
            const ToolRun run = run_shell(command);
            EXPECT_EQ(run.out, e.output) << e.file << ":" << e.line << ": " << e.command << "\n" << run.err;
            ++count;
        }
        std::filesystem::remove_all(dir);
    }
    EXPECT_GE(count, 20u);
}

}  // namespace
}  // namespace e2e
