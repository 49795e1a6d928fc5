// The plain decimals of the tool's value reading, inline: the stream of
// standard input reads most of its values through them.
#pragma once

#include <bit>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace isofmt::tool::detail {

// isspace, without the library call for the ASCII characters.
inline bool is_space(char ch) {
    const auto c = static_cast<unsigned char>(ch);
    return c < 0x80 ? c == ' ' || static_cast<unsigned char>(c - '\t') < 5 : std::isspace(c) != 0;
}

// Inline: the tool's stream reads every value through it.
[[gnu::always_inline]] inline std::string_view trim(std::string_view t) {
    // Most texts start and end with a printing ASCII character.
    auto prints = [](char c) { return static_cast<unsigned char>(c - '!') < 0x5E; };
    if (!t.empty() && prints(t.front()) && prints(t.back())) return t;
    while (!t.empty() && is_space(t.front())) t.remove_prefix(1);
    while (!t.empty() && is_space(t.back())) t.remove_suffix(1);
    return t;
}

// How many of the eight characters at p are digits before the first that
// is not, and their value: one load, the first non-digit found by a mask,
// and the digits before it converted together.
[[gnu::always_inline]] inline int leading_digits(const char* p, std::uint64_t& value) {
    constexpr std::uint64_t kHigh = 0xF0F0F0F0F0F0F0F0, kThree = 0x3030303030303030;
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    // A byte is a digit when its high half is 3 and adding 6 keeps it so;
    // the carry of a non-digit byte may mark the bytes after it, which do
    // not count.
    const std::uint64_t not_digit = ((w & kHigh) ^ kThree) | (((w + 0x0606060606060606) & kHigh) ^ kThree);
    const int n = not_digit == 0 ? 8 : std::countr_zero(not_digit) / 8;
    if (n == 0) return 0;
    // The n digits at the top, zeros (leading zero digits) below them.
    w = (w & 0x0F0F0F0F0F0F0F0F) << (8 * (8 - n));
    w = (w * (10 * 256 + 1)) >> 8;
    w = ((w & 0x00FF00FF00FF00FF) * (100 * 65536 + 1)) >> 16;
    value = ((w & 0x0000FFFF0000FFFF) * (10000 * 0x100000000 + 1)) >> 32;
    return n;
}

// [-]digits[.digits] with at most 15 digits in all: the digits as a whole
// number and the power of ten below it are both exact doubles, so their
// quotient is the correctly rounded value from_chars gives. nullopt for any
// other text.
[[gnu::always_inline]] inline std::optional<double> read_plain_decimal(std::string_view t) {
    static constexpr double kScale[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* p = t.data();
    const char* const end = p + t.size();
    const bool negative = p != end && *p == '-';
    p += negative;
    const char* const start = p;
    if (end - p > 16) return std::nullopt;  // more than 15 digits and a point
    std::uint64_t digits = 0;
    if (end - p >= 8) p += leading_digits(p, digits);
    const char* point = nullptr;
    for (; p != end; ++p) {
        const auto d = static_cast<unsigned char>(*p - '0');
        if (d < 10) {
            digits = digits * 10 + d;
        } else if (*p == '.' && !point) {
            point = p;
        } else {
            return std::nullopt;
        }
    }
    const int after_point = point ? static_cast<int>(end - point - 1) : 0;
    const int count = static_cast<int>(end - start) - (point ? 1 : 0);
    if (count == 0 || count > 15 || (point && after_point == 0)) return std::nullopt;  // none after the point
    const double v = static_cast<double>(static_cast<std::int64_t>(digits)) / kScale[after_point];
    return negative ? -v : v;
}

}  // namespace isofmt::tool::detail
