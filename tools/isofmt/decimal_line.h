// The short decimal lines of the tool's stream, read in place sixteen bytes
// at a time with SSE2 (part of every x86-64). Elsewhere no line is read here
// and every line takes the general way.
#pragma once

#include <bit>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace isofmt::tool::detail {

// The bytes that read_decimal_line may read around a line: kDecimalLineBefore
// before its start and kDecimalLineAfter from its start.
inline constexpr int kDecimalLineBefore = 16, kDecimalLineAfter = 16;

#if defined(__SSE2__)

namespace decimal_line {
// Internal to each file that reads lines, so that no load goes through a
// symbol table.
static constexpr double kScale[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14};
static constexpr double kSign[] = {1, -1};
// Loaded at kWindow + n: the top n bytes set, the others clear.
alignas(16) static constexpr std::uint8_t kWindow[32] = {
    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
}  // namespace decimal_line

// A line that is a short plain decimal, [-]digits[.digits] in at most 15
// characters, with its LF among the 16 bytes at p: the line's length with
// its LF, and `value` set to what read_plain_decimal gives for the line. 0
// for any other line, which the caller reads the general way. Reads the 16
// bytes before p and the 16 from p, whatever they hold.
[[gnu::always_inline]] inline unsigned read_decimal_line(const char* p, double& value) {
    using namespace decimal_line;
    const auto load = [](const void* at) { return _mm_loadu_si128(static_cast<const __m128i*>(at)); };
    const __m128i zero = _mm_set1_epi8('0');

    // Which of the 16 bytes are digits: b - '0' is at most 9. The others
    // must be, in order, a sign, a point, and the LF.
    const __m128i x = _mm_sub_epi8(load(p), zero);
    const __m128i is_digit = _mm_cmpeq_epi8(_mm_min_epu8(x, _mm_set1_epi8(9)), x);
    const auto digits = static_cast<unsigned>(_mm_movemask_epi8(is_digit));
    const unsigned negative = p[0] == '-';
    unsigned other = (~digits & 0xFFFF) ^ negative;
    if (other == 0) return 0;
    unsigned length = static_cast<unsigned>(std::countr_zero(other));  // characters before the LF
    unsigned count, fraction, tail;  // digits in all, after the point, and those read by the first load
    if (p[length] == '.') {
        const unsigned point = length;
        other &= other - 1;
        if (other == 0) return 0;
        length = static_cast<unsigned>(std::countr_zero(other));
        count = length - 1 - negative;
        tail = fraction = length - 1 - point;
        if (fraction == 0) return 0;  // "5." is not a plain decimal
    } else {
        count = tail = length - negative;
        fraction = 0;
        if (count == 0) return 0;  // "" and "-"
    }
    if (p[length] != '\n') return 0;

    // The count digits at the top of 16 bytes, the last in the last byte:
    // those after the point from a load that ends with the line, those
    // before it from one a byte earlier, so that the point drops out.
    const __m128i after = load(kWindow + tail);
    const __m128i joined = _mm_or_si128(_mm_and_si128(after, load(p + length - 16)),
                                        _mm_andnot_si128(after, load(p + length - 17)));
    const __m128i v = _mm_and_si128(_mm_sub_epi8(joined, zero), load(kWindow + count));
    // Digits to pairs, fours and eights: each step multiplies the first of
    // two neighbours by its weight and adds the second.
    const __m128i none = _mm_setzero_si128(), ten = _mm_setr_epi16(10, 1, 10, 1, 10, 1, 10, 1);
    const __m128i pairs = _mm_packs_epi32(_mm_madd_epi16(_mm_unpacklo_epi8(v, none), ten),
                                          _mm_madd_epi16(_mm_unpackhi_epi8(v, none), ten));
    const __m128i fours = _mm_madd_epi16(pairs, _mm_setr_epi16(100, 1, 100, 1, 100, 1, 100, 1));
    const __m128i eights =
        _mm_madd_epi16(_mm_packs_epi32(fours, fours), _mm_setr_epi16(10000, 1, 10000, 1, 10000, 1, 10000, 1));
    const auto both = static_cast<std::uint64_t>(_mm_cvtsi128_si64(eights));
    const std::uint64_t n = (both & 0xFFFFFFFF) * 100000000 + (both >> 32);  // below 10^15
    value = static_cast<double>(static_cast<std::int64_t>(n)) / kScale[fraction] * kSign[negative];
    return length + 1;
}

#else

inline unsigned read_decimal_line(const char*, double&) { return 0; }

#endif

}  // namespace isofmt::tool::detail
