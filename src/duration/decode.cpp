// Reading packed values back: hexadecimal text to packed bytes, and packed
// bytes to an entity record (digit form, single-unit form, missing value).
#include <cstring>

#include "duration/duration.h"
#include "duration/format_support.h"
#include "abi/problems.h"
#include "binding/hostcall.h"
#include "text/text.h"

namespace {

// Value of each hexadecimal digit, taken after upper-casing through the
// host's table; 0xFF for a character that is none.
constexpr struct HexValues {
    std::uint8_t of[256];
    constexpr HexValues() : of() {
        for (int c = 0; c < 256; ++c)
            of[c] = c >= '0' && c <= '9' ? static_cast<std::uint8_t>(c - '0')
                    : c >= 'A' && c <= 'F' ? static_cast<std::uint8_t>(c - 'A' + 10)
                                           : std::uint8_t{0xFF};
    }
} kHex;

inline unsigned hex_value(const std::uint8_t* upcase, char c) { return kHex.of[upcase[static_cast<unsigned char>(c)]]; }

// The eight bytes are all `b`.
bool all_bytes(const std::uint8_t* p, std::uint8_t b) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word == 0x0101010101010101ull * b;
}

bool is_packed_decimal(std::uint8_t b) { return (b >> 4) <= 9 && (b & 0xF) <= 9; }

constexpr std::uint8_t kAllComponents = 0xFC;

constexpr std::uint8_t kSingleUnitNegative = 0x80;  // in byte 1

int decode_single_unit(Entity* e, const std::uint8_t* p) {
    e->single_form = 1;
    e->unit_code = static_cast<std::uint8_t>(p[7] >> 2);
    // The writer stores the sign of a single-unit duration in byte 1.
    if (p[1] & kSingleUnitNegative) e->negative = 1;
    const int code = e->unit_code & ~component::kFractionalUnit;
    if (code == component::kWeeksCode) e->weeks = 1;
    const int target = component::of_unit_code(code);
    if (target < 0) return problem::kUnitInDatetime;
    // The writer stores the low 32 bits of a count that is never negative.
    std::int64_t count = static_cast<std::int64_t>(std::uint32_t{p[3]} << 24 | std::uint32_t{p[4]} << 16 |
                                                   std::uint32_t{p[5]} << 8 | std::uint32_t{p[6]});
    const bool fraction = (e->unit_code & component::kFractionalUnit) != 0;
    if (fraction) {
        e->thousandths = count % 1000;
        count /= 1000;
    }
    if (e->weeks) count *= 7;
    component::field(*e, target) = count;
    e->missing = static_cast<std::uint8_t>((kAllComponents & ~component::kMissingBit[target]) |
                                           (fraction ? 0 : missing_bit::kFraction));
    return 0;
}

constexpr int kAbsentPair = 165;  // the nibble pair F F
constexpr std::int64_t kAbsentFraction = 0x3FF;

void decode_digits(Entity* e, const std::uint8_t* p, std::uint8_t byte0) {
    e->implied_anchor = (p[7] >> 1) & 1;
    std::uint8_t missing = 0;
    if (byte0 == 0xFF && p[1] == 0xFF) {
        missing |= missing_bit::kYear;
    } else {
        e->year = 1000 * (byte0 >> 4) + 100 * (byte0 & 0xF) + 10 * (p[1] >> 4) + (p[1] & 0xF);
    }
    if ((p[2] >> 4) == 0xF) {
        missing |= missing_bit::kMonth;
    } else {
        e->month = p[2] >> 4;
    }
    // Day to second: tens in the low nibble of byte k, units in the high
    // nibble of byte k + 1.
    for (int c = component::kDay; c <= component::kSecond; ++c) {
        const int k = c;
        const int v = 10 * (p[k] & 0xF) + (p[k + 1] >> 4);
        if (v == kAbsentPair) {
            missing |= component::kMissingBit[c];
        } else {
            component::field(*e, c) = v;
        }
    }
    const std::int64_t thousandths = (p[6] & 0xF) * 64 + (p[7] >> 2);
    if (thousandths == kAbsentFraction) {
        missing |= missing_bit::kFraction;
    } else {
        e->thousandths = thousandths;
    }
    e->missing = missing;
}

}  // namespace

std::int32_t dehexify(const char* text, int count, std::uint8_t* destination) {
    const std::uint8_t* upcase = hostcall::upcase_table();
    if (count == 16) {
        // One packed value: its sixteen digits gathered into one word and
        // stored at once. A character that is no digit leaves the word
        // unstored; the pairwise pass below then stores what it stores.
        std::uint64_t word = 0;
        unsigned seen = 0;
        for (int k = 0; k < 16; ++k) {
            const unsigned v = hex_value(upcase, text[k]);
            seen |= v;
            word = word << 4 | v;  // unstored unless every v is a digit
        }
        if (seen <= 0xF) {
            word = __builtin_bswap64(word);
            std::memcpy(destination, &word, sizeof word);
            return status::kOk;
        }
    }
    int i = 0;
    for (; i + 1 < count; i += 2) {
        const unsigned high = hex_value(upcase, text[i]), low = hex_value(upcase, text[i + 1]);
        if ((high | low) > 0xF) return status::kNotHex;
        destination[i / 2] = static_cast<std::uint8_t>(high << 4 | low);
    }
    // An odd count: the last digit is checked, and has no byte of its own.
    if (i < count && hex_value(upcase, text[i]) > 0xF) return status::kNotHex;
    return status::kOk;
}

int convert_from_bcd(Entity* e) {
    std::uint8_t packed[8];
    std::memcpy(packed, e->packed, sizeof packed);
    std::memset(e, 0, sizeof *e);
    std::memcpy(e->packed, packed, sizeof packed);

    // Sixteen F digits, or the digits 2020...20 of a blank text read as hex.
    if (all_bytes(packed, 0xFF) || all_bytes(packed, 0x20)) {
        e->missing = missing_bit::kAll;
        return 0;
    }
    std::uint8_t byte0 = packed[0];
    if (byte0 != 0xFF && !is_packed_decimal(byte0)) {
        const int p = wzstpos(reinterpret_cast<const char*>(negtxt.data()), static_cast<int>(negtxt.size()), byte0);
        if (p < 0) return problem::kUnitInDatetime;
        e->negative = 1;
        byte0 = postxt[p];
    }
    e->is_datetime = packed[7] & 1;
    if (!e->is_datetime && (packed[7] & 2)) return decode_single_unit(e, packed);
    decode_digits(e, packed, byte0);
    return 0;
}
