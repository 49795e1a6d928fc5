#include "progress.h"

#include <unistd.h>

#include <cstdio>

namespace isofmt::tool {

Progress::Progress(std::uint64_t total_bytes)
    : shown_(::isatty(STDERR_FILENO) == 1), total_(total_bytes), start_(Clock::now()), last_(start_) {}

Progress::~Progress() { finish(); }

void Progress::update(std::uint64_t rows, std::uint64_t bytes) {
    if (!shown_) return;
    const Clock::time_point now = Clock::now();
    if (now - last_ < std::chrono::milliseconds(200)) return;
    last_ = now;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    char line[160];
    int n = std::snprintf(line, sizeof line, "\risofmt convert: %llu rows, %.0f rows/s",
                          static_cast<unsigned long long>(rows), seconds > 0 ? rows / seconds : 0.0);
    if (total_ > 0 && bytes > 0 && bytes <= total_) {
        const double fraction = static_cast<double>(bytes) / total_;
        const long left = static_cast<long>(seconds / fraction - seconds + 0.5);
        n += std::snprintf(line + n, sizeof line - n, ", %3.0f%%, %ld:%02ld left", fraction * 100,
                           left / 60, left % 60);
    }
    std::fprintf(stderr, "%s\033[K", line);
    std::fflush(stderr);
    drawn_ = true;
}

void Progress::finish() {
    if (!drawn_) return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    drawn_ = false;
}

}  // namespace isofmt::tool
