// Standard output with every write checked. A closed pipe ends the tool the
// way it ends other tools, by SIGPIPE, without a word; any other failure is
// an IoError that names it.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "tool.h"

namespace isofmt::tool {
namespace {

[[noreturn]] void output_failed(int error) {
    if (error == EPIPE) {
        // SIGPIPE was ignored by whoever started the tool: end as if it had not been.
        std::signal(SIGPIPE, SIG_DFL);
        std::raise(SIGPIPE);
    }
    throw IoError(std::string("cannot write standard output: ") + std::strerror(error));
}

}  // namespace

void write_out(std::string_view text) {
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::ferror(stdout))
        output_failed(errno);
}

void finish_output() {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) output_failed(errno);
}

}  // namespace isofmt::tool
