// A progress line on standard error, shown only when it is a terminal.
#pragma once

#include <chrono>
#include <cstdint>

namespace isofmt::tool {

class Progress {
public:
    // total_bytes: the size of the input when known, else 0.
    explicit Progress(std::uint64_t total_bytes);
    ~Progress();

    // Rows written and bytes read so far; redraws at most a few times a second.
    void update(std::uint64_t rows, std::uint64_t bytes);
    // Clears the line.
    void finish();

private:
    using Clock = std::chrono::steady_clock;
    bool shown_;
    bool drawn_ = false;
    std::uint64_t total_;
    Clock::time_point start_, last_;
};

}  // namespace isofmt::tool
