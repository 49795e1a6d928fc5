#include "tool_runner.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace e2e {
namespace {

// A file in the temporary directory, removed when it goes out of scope.
struct TempFile {
    std::string path;
    TempFile() {
        std::string pattern = (std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp");
        pattern += "/isofmt-e2e-XXXXXX";
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0) throw std::runtime_error("mkstemp failed");
        ::close(fd);
        path = pattern;
    }
    ~TempFile() { std::remove(path.c_str()); }
    std::string read() const {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

ToolRun run_captured(const std::string& command, const TempFile& err) {
    ToolRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("popen failed");
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
    const int status = ::pclose(pipe);
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.err = err.read();
    return run;
}

}  // namespace

std::string shell_quoted(std::string_view s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string tool_command(const std::vector<std::string>& args) {
    std::string command = shell_quoted(ISOFMT_TOOL);
    for (const std::string& a : args) command += " " + shell_quoted(a);
    return command;
}

ToolRun run_tool(const std::vector<std::string>& args, std::string_view input) {
    TempFile in, err;
    std::ofstream(in.path, std::ios::binary) << input;
    return run_captured(tool_command(args) + " <" + shell_quoted(in.path) + " 2>" + shell_quoted(err.path), err);
}

ToolRun run_shell(const std::string& command) {
    TempFile script, err;
    std::ofstream(script.path, std::ios::binary) << command << "\n";
    return run_captured("bash " + shell_quoted(script.path) + " 2>" + shell_quoted(err.path), err);
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::size_t start = 0;
    for (std::size_t nl; (nl = text.find('\n', start)) != std::string::npos; start = nl + 1)
        result.push_back(text.substr(start, nl - start));
    if (start < text.size()) result.push_back(text.substr(start));
    return result;
}

std::string before_tab(const std::string& line) { return line.substr(0, line.find('\t')); }

std::string after_tab(const std::string& line) {
    const std::size_t tab = line.find('\t');
    return tab == std::string::npos ? std::string() : line.substr(tab + 1);
}

}  // namespace e2e
