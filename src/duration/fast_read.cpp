// The reader's shortcut for the two forms most texts take: a complete
// extended datetime, yyyy-mm-ddThh:mm:ss (optionally followed by Z), and a
// duration of whole numbers with unit letters, [-]P[nY][nM][nD][T[nH][nM][nS]],
// whose components pack as digits. It fills the record exactly as the
// general reader would and packs it; any other text, and any text the
// general reader would refuse, is left to that reader.
//
// The characters are looked at as the general reader looks at them: letters
// and delimiters through the host's upper-case table, the character after a
// four-digit first number through its character classes, and digits as the
// decimal digits the host's number reader takes.
#include <bit>
#include <cstring>

#include "duration/duration.h"
#include "duration/engine.h"
#include "binding/hostcall.h"

namespace {

constexpr int kDatetimeLength = 19;  // yyyy-mm-ddThh:mm:ss
// A number of at most this many digits cannot overflow the 64-bit integer
// the host reads it into.
constexpr int kSafeDigits = 18;

inline unsigned digit_value(char c) { return static_cast<unsigned>(static_cast<unsigned char>(c) - '0'); }
inline bool is_decimal(char c) { return digit_value(c) <= 9; }

// Eight characters as a word, the first in the lowest byte.
inline std::uint64_t load8(const void* p) {
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    if constexpr (std::endian::native == std::endian::big) w = __builtin_bswap64(w);
    return w;
}

constexpr std::uint64_t kBytes = 0x0101010101010101ull;

inline unsigned byte_of(std::uint64_t w, int k) { return static_cast<unsigned>(w >> 8 * k & 0xFF); }

struct Chars {
    const std::uint8_t* up = hostcall::upcase_table();
    char upper(char c) const { return static_cast<char>(up[static_cast<unsigned char>(c)]); }
    bool keeps(char c) const { return upper(c) == c; }
    // The general reader tests the first character of every number for the
    // time mark and the omission sign: a table that keeps the digits as they
    // are makes both tests fail.
    bool keeps_digits() const {
        return load8(up + static_cast<unsigned char>('0')) == load8("01234567") && keeps('8') && keeps('9');
    }
    // A letter as the general reader sees it; never a digit, which its
    // number reader would have taken.
    bool is(char c, char wanted) const { return upper(c) == wanted && !is_decimal(c); }
};

// The thousandths, anchor and kind word without a fraction (0x3FF).
constexpr unsigned kNoFraction = 0x3FF << 2;

// The record the general reader leaves: the components, the missing mask,
// the value, the kind and sign, and the packed bytes; nothing else set.
[[gnu::always_inline]] inline void store_record(Entity* e, double value, const std::int64_t (&c)[component::kFraction],
                                               std::uint8_t missing, bool datetime, bool negative,
                                               std::uint64_t packed) {
    e->value = value;
    e->year = c[0], e->month = c[1], e->day = c[2], e->hour = c[3], e->minute = c[4], e->second = c[5];
    e->thousandths = 0;
    digit_form::store(packed, e->packed);
    e->missing = missing;
    e->is_datetime = datetime;
    e->implied_anchor = 0, e->single_form = 0, e->weeks = 0, e->unit_code = 0;
    e->negative = negative;
    e->calendar_pending = 0;
}

// Eight characters against a pattern of '0' where a digit is wanted and
// the delimiter itself elsewhere: the word of the digit values (0 at the
// delimiters) when every digit is a decimal digit and every delimiter is
// as written; *bad is left nonzero otherwise.
constexpr std::uint64_t kHighNibbles = 0xF0 * kBytes;
inline std::uint64_t digits_against(std::uint64_t w, std::uint64_t pattern, std::uint64_t delimiters,
                                    std::uint64_t* bad) {
    const std::uint64_t x = w ^ pattern;  // a digit becomes its value 0..9, a delimiter as written 0
    // A byte of 16 or more, a digit byte past 9 (no carries between bytes
    // once every byte is below 16), a delimiter byte other than 0.
    *bad |= (x & (kHighNibbles | (delimiters & 0x0F * kBytes))) | ((x + 0x06 * kBytes) & 0x10 * kBytes);
    return x;
}

// Byte k of the result: the two-digit number of the digit values in bytes
// k and k + 1.
inline std::uint64_t pairs(std::uint64_t x) { return x * 10 + (x >> 8); }
// Byte k of the result: digit k in the high nibble, digit k + 1 in the low.
inline std::uint64_t nibbles(std::uint64_t x) { return x << 4 | x >> 8; }

// yyyy-mm-ddThh:mm:ss at t; `n` characters from t to the end of the text.
// Three words cover it: at 0 (yyyy-mm-), at 8 (ddThh:mm) and at 11
// (hh:mm:ss), the delimiters where the masks are set.
bool read_datetime(const char* t, int n, const Chars& ch, Entity* e) {
    constexpr std::uint64_t kDelimitersAt0 = 0xFF0000FF00000000ull, kDelimitersAt8 = 0x0000FF0000FF0000ull;
    // After the seconds: the end of the text, or a Z, after which the
    // general reader stops reading.
    if (n != kDatetimeLength && !ch.is(t[kDatetimeLength], 'Z')) return false;
    // The delimiters as written, as the host's upper-case table sees them,
    // and the one after the year no digit to its character classes (which
    // would make the text basic).
    std::uint64_t bad = 0;
    const std::uint64_t xa = digits_against(load8(t), 0x2D30302D30303030ull, kDelimitersAt0, &bad);
    const std::uint64_t xb = digits_against(load8(t + 8), 0x30303A3030543030ull, kDelimitersAt8, &bad);
    const std::uint64_t xc = digits_against(load8(t + 11), 0x30303A30303A3030ull, kDelimitersAt8, &bad);
    if (bad != 0) return false;
    if (!ch.keeps('-') || !ch.keeps('T') || !ch.keeps(':') || hostcall::is_digit('-')) return false;
    const std::uint64_t pa = pairs(xa), pb = pairs(xb), pc = pairs(xc);
    const std::int64_t year = byte_of(pa, 0) * 100 + byte_of(pa, 2), month = byte_of(pa, 5);
    const std::int64_t day = byte_of(pb, 0), hour = byte_of(pb, 3), minute = byte_of(pb, 6), second = byte_of(pc, 6);
    if (year < 1582 || month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59)
        return false;
    const std::int64_t components[] = {year, month, day, hour, minute, second};
    // The digits as they stand, the month as one digit.
    const std::uint64_t na = nibbles(xa), nb = nibbles(xb), nc = nibbles(xc);
    const std::uint64_t packed = digit_form::word(byte_of(na, 0) << 8 | byte_of(na, 2), static_cast<unsigned>(month),
                                                  byte_of(nb, 0), byte_of(nb, 3), byte_of(nb, 6), byte_of(nc, 6),
                                                  kNoFraction | 1);
    // The record before the host's calendar is asked, so that only the
    // record stays live across its two calls; should the calendar refuse
    // the date, the general reader starts again from a cleared record.
    store_record(e, 0, components, missing_bit::kAll & ~(missing_bit::kYear | missing_bit::kMonth |
                                                         missing_bit::kDay | missing_bit::kHour |
                                                         missing_bit::kMinute | missing_bit::kSecond),
                 true, false, packed);
    const double date =
        hostcall::zmdy(static_cast<double>(e->month), static_cast<double>(e->day), static_cast<double>(e->year));
    if (calendar::missing(date)) return false;
    const double value = hostcall::zdhms(date, static_cast<double>(e->hour), static_cast<double>(e->minute),
                                         static_cast<double>(e->second));
    if (calendar::missing(value)) return false;
    e->value = value;
    return true;
}

// Largest value of each component that packs as digits without being
// carried: year, month, day, hour, minute, second.
constexpr std::int64_t kMost[component::kFraction] = {9999, 12, 31, 23, 59, 59};

// The component a unit letter names, -1 for none handled here (weeks, the
// fraction, anything else). Years, months and days come before the time
// mark and hours, minutes and seconds after it: at most three numbers on
// each side, so that the general reader's count of numbers never runs out.
int component_of(char letter, bool time_seen) {
    using namespace component;
    if (time_seen) return letter == 'H' ? kHour : letter == 'M' ? kMinute : letter == 'S' ? kSecond : -1;
    return letter == 'Y' ? kYear : letter == 'M' ? kMonth : letter == 'D' ? kDay : -1;
}

// [-]P[nY][nM][nD][T[nH][nM][nS]] from t: `n` characters to the end of the
// text.
bool read_duration(const char* t, int n, const Chars& ch, Entity* e) {
    const bool negative = t[0] == '-';
    int pos = negative;
    if (pos >= n || ch.upper(t[pos]) != 'P') return false;
    ++pos;
    std::int64_t value[component::kFraction] = {};
    std::uint8_t missing = missing_bit::kAll;
    bool time_seen = false;
    int last = -1;  // the last component read: each one names a smaller unit than the one before
    while (pos < n) {
        if (ch.upper(t[pos]) == 'T') {
            // One time mark, followed by at least one number.
            if (time_seen || ++pos >= n) return false;
            time_seen = true;
            continue;
        }
        std::int64_t v = digit_value(t[pos]);
        if (v > 9) return false;
        int end = pos + 1;
        for (; end < n && is_decimal(t[end]); ++end) {
            if (end - pos == kSafeDigits) return false;
            v = v * 10 + digit_value(t[end]);
        }
        if (end >= n) return false;
        const char letter = ch.upper(t[end]);
        // The first number of four digits: a digit after it would make the
        // text basic.
        if (last < 0 && !time_seen && end - pos == 4 && hostcall::is_digit(letter)) return false;
        const int c = component_of(letter, time_seen);
        if (c <= last || v > kMost[c]) return false;
        value[c] = v;
        missing &= static_cast<std::uint8_t>(~component::kMissingBit[c]);
        last = c;
        pos = end + 1;
    }
    if (last < 0) return false;

    // Sixteen digits, F where a component is absent.
    const auto two = [missing, &value](int c) {
        return missing & component::kMissingBit[c] ? 0xFFu : digit_form::pair(static_cast<unsigned>(value[c]));
    };
    const unsigned year = missing & missing_bit::kYear ? 0xFFFFu : digit_form::four(static_cast<unsigned>(value[0]));
    const unsigned month = missing & missing_bit::kMonth ? 0xFu : static_cast<unsigned>(value[1]);
    std::uint64_t packed = digit_form::word(year, month, two(component::kDay), two(component::kHour),
                                            two(component::kMinute), two(component::kSecond), kNoFraction);
    if (negative) packed = digit_form::negated(packed);
    store_record(e, 0, value, missing, false, negative, packed);
    return true;
}

}  // namespace

bool read_common_form(const char* text, int length, Entity* e) {
    if (!text || length <= 0) return false;
    int end = length, first = 0;
    while (end > 0 && text[end - 1] == ' ') --end;
    while (first < end && text[first] == ' ') ++first;
    const int n = end - first;
    if (n <= 0) return false;
    const char* t = text + first;
    const Chars ch;
    if (!ch.keeps_digits()) return false;
    if (t[0] == '-' || ch.upper(t[0]) == 'P') return read_duration(t, n, ch, e);
    return n >= kDatetimeLength && read_datetime(t, n, ch, e);
}
