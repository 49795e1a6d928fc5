// Runs the built isofmt tool as a person would, and captures what it prints.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace e2e {

struct ToolRun {
    int exit_code = -1;
    std::string out;  // standard output
    std::string err;  // standard error
};

// Runs ISOFMT_TOOL with the arguments, feeding `input` to its standard input.
ToolRun run_tool(const std::vector<std::string>& args, std::string_view input = {});

// The shell words that run ISOFMT_TOOL with the arguments, each quoted.
std::string tool_command(const std::vector<std::string>& args);
std::string shell_quoted(std::string_view s);

// Runs a shell command (bash), capturing its standard output and the
// standard error of the whole command.
ToolRun run_shell(const std::string& command);

inline std::string stars(int n) { return std::string(n, '*'); }
inline std::string blanks(int n) { return std::string(n, ' '); }

// The lines of a text, without their '\n'.
std::vector<std::string> lines(const std::string& text);

// The part of a line before its first TAB, and the part after it.
std::string before_tab(const std::string& line);
std::string after_tab(const std::string& line);

}  // namespace e2e
