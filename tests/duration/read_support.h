// Helpers of the reading tests: the parser and the informats called on
// texts held in exact-size buffers, with their packed digits as text.
#pragma once

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <string_view>

#include "duration/write_support.h"

namespace read_test {

using write_test::ExactText;
using write_test::Output;
using write_test::WithHost;

inline constexpr int kLax = 0;
inline constexpr int kStrict = 0x80;
inline constexpr int kStrictOmitted = 0x200;
inline constexpr int kMissingNotation = 0x100;

inline std::string hex_of(const std::uint8_t* bytes, int n) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string s;
    for (int i = 0; i < n; ++i) s += kHex[bytes[i] >> 4], s += kHex[bytes[i] & 15];
    return s;
}

struct Parsed {
    int code;
    std::string packed;  // 16 digits
    Entity e;
};

inline Parsed parse(std::string_view text, int mode = kLax, int in_interval = 0) {
    ExactText t(text);
    Parsed p{};
    p.code = read_date_or_duration(t.data(), t.size(), &p.e, mode, in_interval);
    p.packed = hex_of(p.e.packed, 8);
    return p;
}

struct Interval {
    int code;
    std::string packed;  // 32 digits
};

inline Interval interval(std::string_view text, int mode = kLax) {
    ExactText t(text);
    Entity first{}, second{};
    Interval r{};
    r.code = derive_interval(t.data(), t.size(), &first, &second, mode);
    r.packed = hex_of(first.packed, 8) + hex_of(second.packed, 8);
    return r;
}

// An informat call on `text` with the given width and input length
// (kTextSize: the text's length) and target capacity.
inline constexpr int kTextSize = INT_MIN;

struct InformatCall {
    std::int32_t status;
    std::string target;  // the whole target, `capacity` bytes (pre-filled with '#')
    int output_length;
    bool guard_intact;
};

inline InformatCall call_informat(InformatRoutine* routine, std::string_view text, int mode, int capacity,
                                  int width = kTextSize, int input_length = kTextSize) {
    ExactText t(text);
    Output out(capacity);
    FormatBlock b = write_test::block_for(t.data(), width == kTextSize ? t.size() : width, out);
    b.input_length = input_length == kTextSize ? t.size() : input_length;
    const std::int32_t st = routine(&b, mode);
    return {st, out.all(), b.output_length, out.guard_intact()};
}

}  // namespace read_test
