// Numeric and missing-value text: the host's plain numeric format, the
// missing-value text, hexadecimal digits, reading a decimal integer and
// recognising the missing-value notation. None of them allocates.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

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

std::int32_t zfmt(FormatBlock* block) {
    int w = block->width;
    if (w <= 0) {
        block->output_length = 0;
        return 0;
    }
    double x = *static_cast<const double*>(block->value);
    if (x != x) return zfmmiss(block);
    Decimal v;
    if (!shortest(std::fabs(x), v)) {
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
    for (;; --k) {
        bool zero = false;
        int sign = std::signbit(x) ? 1 : 0;
        int len = fixed(v, k, text + 1, &zero);
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

std::int32_t wzfmhc(const std::uint8_t* bytes, std::int32_t count, std::int32_t width, std::int32_t,
                    char* output) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    if (!bytes || !output) return 0;
    for (std::int32_t i = 0; i < count && 2 * i < width; ++i) {
        output[2 * i] = kHex[bytes[i] >> 4];
        if (2 * i + 1 < width) output[2 * i + 1] = kHex[bytes[i] & 15];
    }
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

std::int32_t wzifmch(const char* text, std::int32_t length, char*) {
    if (!text) return 0;
    std::int32_t a = 0, b = length;
    while (a < b && text[a] == ' ') ++a;
    while (b > a && text[b - 1] == ' ') --b;
    return (b - a == 1 && text[a] == '.') ? 1 : 0;
}

}  // namespace isofmt::service
