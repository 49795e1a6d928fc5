// Calling one format routine the way the host does, into a guarded buffer:
// the text it wrote, its status, and whether it touched anything beyond the
// width.
#pragma once

#include <cmath>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "support/static_host.h"

namespace format_test {

inline const double kMissing = std::nan("");

struct Call {
    std::string text;       // the output length's worth of characters
    std::int32_t status = 0;
    std::int32_t length = 0;
    bool wrote = false;     // anything written at all
    bool beyond = false;    // anything written past the width
};

inline Call call(FormatRoutine* routine, double value, int width, int decimals, bool validate = false,
                 Environment* environment = nullptr) {
    constexpr int kBuffer = 160;
    char buffer[kBuffer];
    std::memset(buffer, '#', sizeof buffer);
    FormatBlock b = testing_support::numeric_block(&value, width, decimals, buffer, width, validate);
    b.environment = environment;
    b.output_length = -99;
    Call c;
    c.status = routine(&b);
    c.length = b.output_length;
    if (c.length != -99) c.text = testing_support::output_of(b);
    for (int i = 0; i < kBuffer; ++i) {
        if (buffer[i] == '#') continue;
        c.wrote = true;
        if (i >= width) c.beyond = true;
    }
    return c;
}

// One rendering to expect: routine, value, width and decimals, the text.
struct Case {
    FormatRoutine* routine;
    double value;
    int width, decimals;
    std::string want;
    Environment* environment = nullptr;
};

// The case renders its text, status 0, exactly width characters and
// nothing beyond them.
inline void expect_renders(const Case& c, bool validate) {
    auto r = call(c.routine, c.value, c.width, c.decimals, validate, c.environment);
    EXPECT_EQ(r.text, c.want) << c.value << " w" << c.width << " d" << c.decimals;
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.length, c.width);
    EXPECT_FALSE(r.beyond);
}

// Blanks then text, as a right-aligned field.
inline std::string right(const std::string& text, int width) {
    return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

}  // namespace format_test
