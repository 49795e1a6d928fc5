// Calling one format routine the way the host does, into a guarded buffer:
// the text it wrote, its status, and whether it touched anything beyond the
// width.
#pragma once

#include <cmath>
#include <cstring>
#include <string>

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

// Blanks then text, as a right-aligned field.
inline std::string right(const std::string& text, int width) {
    return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

}  // namespace format_test
