// Numeric and missing-value text: the host's plain numeric format, the
// missing-value text, hexadecimal digits, reading a decimal integer and
// recognising the missing-value notation. None of them allocates.
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

#include "environment.h"
#include "services.h"

namespace isofmt::service {
namespace {

// The shortest decimal digits that read back as the double: value =
// 0.digits[0..n) times 10 to the power exp10.
struct Decimal {
    char digits[24];
    int n = 0;
    int exp10 = 0;
};

bool shortest(double magnitude, Decimal& out) {
    char text[40];
    auto [end, ec] = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific);
    if (ec != std::errc{} || text[0] < '0' || text[0] > '9') return false;  // inf
    const char* p = text;
    for (; p < end && *p != 'e'; ++p) {
        if (*p != '.') out.digits[out.n++] = *p;
    }
    int e = 0;
    std::from_chars(p + (p[1] == '+' ? 2 : 1), end, e);
    out.exp10 = e + 1;
    return true;
}

constexpr int kMaxDecimals = 340;  // beyond the last digit any double can have
constexpr int kMaxText = 1 + 310 + 1 + kMaxDecimals;

// The decimal rounded half away from zero to k decimals, as text without
// sign: at least one integer digit, a point and k digits when k > 0.
// Returns the length; *zero tells whether every digit shown is 0.
int fixed(const Decimal& v, int k, char* text, bool* zero) {
    char digits[kMaxText];
    int e = v.exp10;
    int keep = e + k;  // significant digits at or above the last decimal
    int n = 0;
    if (keep >= 0) {
        n = keep < v.n ? keep : v.n;
        std::memcpy(digits, v.digits, static_cast<std::size_t>(n));
        if (keep < v.n && v.digits[keep] >= '5') {
            int i = n - 1;
            while (i >= 0 && digits[i] == '9') digits[i--] = '0';
            if (i >= 0) {
                ++digits[i];
            } else {  // carried out of the top: 1 followed by zeros
                std::memmove(digits + 1, digits, static_cast<std::size_t>(n));
                digits[0] = '1';
                ++n, ++e, ++keep;
            }
        }
    }
    // Place the n digits: digit i has the place value 10^(e - 1 - i).
    auto digit_at = [&](int place) -> char {
        int i = e - 1 - place;
        return (i >= 0 && i < n) ? digits[i] : '0';
    };
    int len = 0;
    *zero = true;
    for (int place = (e > 1 ? e : 1) - 1; place >= -k; --place) {
        if (place == -1) text[len++] = '.';
        char c = digit_at(place);
        if (c != '0') *zero = false;
        text[len++] = c;
    }
    return len;
}

// The common case without the shortest decimal digits: the magnitude
// times 10^k rounded to a whole number, which rounds the shortest decimal
// form the same way unless that form may lie on the other side of a half.
// The product is within 1.5 of its ulp (at most 2^-12 here) of the shortest
// decimal times 10^k, so a fraction more than 2^-10 from one half decides
// it. Returns the length as fixed() does, or -1 when it cannot tell.
constexpr int kFastDecimals = 9;
constexpr double kFastLimit = 0x1p40;

int fixed_fast(double magnitude, int k, char* text, bool* zero) {
    static constexpr std::uint64_t kPow10[kFastDecimals + 1] = {
        1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};
    if (k > kFastDecimals) return -1;
    const double scaled = magnitude * static_cast<double>(kPow10[k]);
    if (!(scaled < kFastLimit)) return -1;
    const double whole = std::floor(scaled);
    const double part = scaled - whole;  // exact
    if (std::fabs(part - 0.5) <= 0x1p-10) return -1;
    const std::uint64_t units = static_cast<std::uint64_t>(whole) + (part > 0.5 ? 1 : 0);
    *zero = units == 0;
    std::uint64_t integer = units / kPow10[k];
    std::uint64_t fraction = units % kPow10[k];
    char digits[16];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + integer % 10);
        integer /= 10;
    } while (integer != 0);
    int len = 0;
    while (n > 0) text[len++] = digits[--n];
    if (k > 0) {
        text[len++] = '.';
        for (int i = len + k - 1; i >= len; --i) {
            text[i] = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        len += k;
    }
    return len;
}

std::string_view trim_blanks(std::string_view t) {
    while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
    return t;
}

void fill(char* out, int count, char c) {
    if (count > 0) std::memset(out, c, static_cast<std::size_t>(count));
}

// text right-aligned in width characters, cut to its first width characters.
void right_align(char* out, int width, const char* text, int length) {
    int n = length < width ? length : width;
    fill(out, width - n, ' ');
    std::memcpy(out + (width - n), text, static_cast<std::size_t>(n));
}

}  // namespace

std::int32_t zfmmiss(FormatBlock* block) {
    int w = block->width > 0 ? block->width : 0;
    const detail::HostEnvironment* e = detail::host_environment(block->environment);
    const char* text = e ? e->data->missing_text.data() : ".";
    int length = e ? static_cast<int>(e->data->missing_text.size()) : 1;
    right_align(block->output, w, text, length);
    block->output_length = w;
    return 0;
}

std::int32_t zfmt_general(FormatBlock* block) {
    int w = block->width;
    if (w <= 0) {
        block->output_length = 0;
        return 0;
    }
    double x = *static_cast<const double*>(block->value);
    if (x != x) return zfmmiss(block);
    const double magnitude = std::fabs(x);
    if (std::isinf(magnitude)) {
        fill(block->output, w, '*');
        block->output_length = w;
        return 0;
    }
    // Decimals give way first: the most that fit, down to none.
    int k = block->decimals < 0 ? 0 : block->decimals;
    if (k > w - 2) k = w - 2;
    if (k > kMaxDecimals) k = kMaxDecimals;
    if (k < 0) k = 0;
    char text[kMaxText + 1];
    Decimal v;  // the shortest digits, found only when needed
    bool have_digits = false;
    for (;; --k) {
        bool zero = false;
        int sign = std::signbit(x) ? 1 : 0;
        int len = fixed_fast(magnitude, k, text + 1, &zero);
        if (len < 0) {
            if (!have_digits) have_digits = shortest(magnitude, v);
            len = fixed(v, k, text + 1, &zero);
        }
        if (zero) sign = 0;  // nothing left to be negative
        text[0] = '-';
        if (sign + len <= w) {
            right_align(block->output, w, text + 1 - sign, sign + len);
            break;
        }
        if (k == 0) {
            fill(block->output, w, '*');
            break;
        }
    }
    block->output_length = w;
    return 0;
}

// "00" to "99".
constexpr auto kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<char>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// The `count` digits of n (leading zeros included) before `end`; returns
// where they start.
template <class Unsigned>
char* put_digits(char* end, Unsigned n, int count) {
    for (; count >= 2; count -= 2, n /= 100) {
        end -= 2;
        std::memcpy(end, &kDigitPairs[2 * (n % 100)], 2);
    }
    if (count > 0) *--end = static_cast<char>('0' + n % 10);
    return end;
}

// The common case, written straight into the field from its right end: a
// finite value whose text with the decimals asked for fits the width and
// that fixed_fast can round (at most 9 decimals, below 2^40 units, not near
// a half). It writes what zfmt_general writes; anything else goes there.
std::int32_t zfmt(FormatBlock* block) {
    static constexpr double kScale[kFastDecimals + 1] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    // Powers of ten up to the first above kFastLimit: every whole part is below it.
    static constexpr std::uint64_t kPow10[] = {1,          10,          100,          1000,         10000,
                                               100000,     1000000,     10000000,     100000000,    1000000000,
                                               10000000000, 100000000000, 1000000000000, 10000000000000};
    static_assert(kPow10[13] > kFastLimit);
    const int w = block->width;
    int k = block->decimals < 0 ? 0 : block->decimals;
    if (k > w - 2) k = w - 2;
    if (k < 0) k = 0;
    if (w <= 0 || k > kFastDecimals) return zfmt_general(block);
    const double x = *static_cast<const double*>(block->value);
    const double scaled = std::fabs(x) * kScale[k];
    if (!(scaled < kFastLimit)) return zfmt_general(block);  // NaN and the infinities too
    const auto whole = static_cast<std::uint64_t>(scaled);
    const double part = scaled - static_cast<double>(whole);  // exact
    if (std::fabs(part - 0.5) <= 0x1p-10) return zfmt_general(block);
    const std::uint64_t units = whole + (part > 0.5 ? 1 : 0);
    const bool sign = units != 0 && std::signbit(x);
    const std::uint64_t integer = units / kPow10[k];
    // The integer digits must fit beside the sign, point and decimals.
    const int room = w - (k > 0 ? k + 1 : 0) - (sign ? 1 : 0);
    if (room < 1 || (room < 13 && integer >= kPow10[room])) return zfmt_general(block);  // fewer decimals, or asterisks
    char* p = block->output + w;
    if (k > 0) {
        p = put_digits(p, static_cast<std::uint32_t>(units % kPow10[k]), k);  // below 10^9
        *--p = '.';
    }
    int digits = 1;
    while (digits < 13 && integer >= kPow10[digits]) ++digits;
    p = integer <= UINT32_MAX ? put_digits(p, static_cast<std::uint32_t>(integer), digits)
                              : put_digits(p, integer, digits);
    if (sign) *--p = '-';
    while (p > block->output) *--p = ' ';  // at most a few
    block->output_length = w;
    return 0;
}

// Two upper-case hexadecimal digits for every byte value.
constexpr std::array<std::array<char, 2>, 256> kHexPairs = [] {
    constexpr char kHex[] = "0123456789ABCDEF";
    std::array<std::array<char, 2>, 256> t{};
    for (int b = 0; b < 256; ++b) t[b] = {kHex[b >> 4], kHex[b & 15]};
    return t;
}();

// The sixteen digits of eight bytes, without a test between them.
inline void put_hex8(const std::uint8_t* bytes, char* output) {
    for (int k = 0; k < 8; ++k) std::memcpy(output + 2 * k, kHexPairs[bytes[k]].data(), 2);
}

std::int32_t wzfmhc(const std::uint8_t* bytes, std::int32_t count, std::int32_t width, std::int32_t,
                    char* output) {
    // The common cases first: one or two packed values of eight bytes,
    // every digit of them fitting.
    if ((count == 8 || count == 16) && width >= 2 * count && bytes && output) {
        put_hex8(bytes, output);
        if (count == 16) put_hex8(bytes + 8, output + 16);
        return 0;
    }
    if (!bytes || !output || count <= 0 || width <= 0) return 0;
    // The bytes whose two digits fit, then the high digit of the next one
    // when the width is odd.
    const std::int32_t whole = count < width / 2 ? count : width / 2;
    std::int32_t i = 0;
    for (; i + 8 <= whole; i += 8) put_hex8(bytes + i, output + 2 * i);
    for (; i < whole; ++i) std::memcpy(output + 2 * i, kHexPairs[bytes[i]].data(), 2);
    if (whole < count && 2 * whole < width) output[2 * whole] = kHexPairs[bytes[whole]][0];
    return 0;
}

std::int32_t wzrlchr(const char* text, std::int32_t limit, std::int32_t, std::int32_t* count,
                     std::int64_t* value) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    std::int64_t v = 0;
    std::int32_t i = 0;
    bool ok = text != nullptr;
    for (; ok && i < limit && text[i] >= '0' && text[i] <= '9'; ++i) {
        int digit = text[i] - '0';
        if (v > (kMax - digit) / 10) ok = false;  // overflow: not read
        v = ok ? v * 10 + digit : 0;
    }
    ok = ok && i > 0;
    if (count) *count = ok ? i : 0;
    if (value) *value = ok ? v : 0;
    return ok ? 0 : 1;
}

// The missing-value notation: "." or the environment's missing-value text
// (the text that missing values are written as, so that output reads back),
// either of them surrounded by any blanks. The service is handed no
// environment: the host's default one answers.
std::int32_t wzifmch(const char* text, std::int32_t length, char*) {
    if (!text || length < 0) return 0;
    const std::string_view t = trim_blanks(std::string_view(text, static_cast<std::size_t>(length)));
    if (t == ".") return 1;
    const detail::HostEnvironment* e = detail::host_environment(nullptr);
    return e && t == trim_blanks(e->data->missing_text) ? 1 : 0;
}

}  // namespace isofmt::service
