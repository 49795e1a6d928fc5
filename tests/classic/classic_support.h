// Calling a classic format routine the way the host does, with guard bytes
// past the output capacity that must survive the call.
#pragma once

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "classic/classic.h"
#include "support/static_host.h"

namespace classic_test {

inline constexpr std::int32_t kOk = status::kOk;
inline constexpr std::int32_t kOutOfRange = status::kOutOfRange;
inline constexpr std::int32_t kCapacity = status::kCapacity;
inline const double kMissing = std::numeric_limits<double>::quiet_NaN();
inline constexpr char kGuard = '#';
inline constexpr int kGuardBytes = 32;

struct Call {
    double value = 0;
    int width = 8;
    int decimals = 0;
    int capacity = -1;  // -1: the width
    bool validate = false;
    Environment* environment = nullptr;
};

struct Output {
    std::string text;     // the output length's worth of characters
    std::int32_t status;
    std::int32_t length;  // -1 when the routine left it unset
    bool guard_intact;    // nothing was written past the capacity
};

inline Output run(FormatRoutine* routine, const Call& c) {
    const int capacity = c.capacity < 0 ? (c.width > 0 ? c.width : 0) : c.capacity;
    std::vector<char> buffer(static_cast<std::size_t>(capacity + kGuardBytes), kGuard);
    const double value = c.value;
    FormatBlock b = testing_support::numeric_block(&value, c.width, c.decimals, buffer.data(), capacity, c.validate);
    b.environment = c.environment;
    b.output_length = -1;
    Output out;
    out.status = routine(&b);
    out.length = b.output_length;
    const int shown = out.length < 0 ? 0 : (out.length < capacity ? out.length : capacity);
    out.text.assign(buffer.data(), static_cast<std::size_t>(shown));
    out.guard_intact = true;
    for (int i = capacity; i < capacity + kGuardBytes; ++i)
        if (buffer[static_cast<std::size_t>(i)] != kGuard) out.guard_intact = false;
    return out;
}

// The text a routine writes at status 0 with a full-width output.
inline std::string text_of(FormatRoutine* routine, double value, int width, int decimals = 0) {
    Call c;
    c.value = value;
    c.width = width;
    c.decimals = decimals;
    const Output out = run(routine, c);
    EXPECT_TRUE(out.guard_intact);
    EXPECT_EQ(out.length, width);
    return out.text;
}

// A fixture whose host serves the statically linked routines.
class ClassicTest : public ::testing::Test {
protected:
    testing_support::StaticHost host;
};

}  // namespace classic_test
