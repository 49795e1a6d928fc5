// The straight-written forms of render_text (a duration with designators, a
// whole datetime delimited) against the one general pass: the same text and
// length, and nothing written past it, for every record flag, every missing
// mask, values at the digit-count edges and beyond the packed ranges, option
// words at and around the two forms, and seeded random packed values.
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "duration/format_support.h"
#include "duration/write_support.h"

namespace {

using namespace write_test;

class FastText : public WithHost {
protected:
    // Both renderings of e under `options`, in buffers pre-filled with '#':
    // the same length and the same bytes, up to the end of the buffer.
    void expect_same(const Entity& e, std::int32_t options) {
        constexpr int kSize = shown::kLongestText + 16;
        char fast[kSize], general[kSize];
        std::memset(fast, '#', kSize);
        std::memset(general, '#', kSize);
        const int n = shown::render_text(e, options, fast);
        const int m = shown::render_text_general(e, options, general);
        ASSERT_EQ(n, m) << describe(e, options);
        ASSERT_EQ(std::string(fast, kSize), std::string(general, kSize)) << describe(e, options);
        ASSERT_LE(n, shown::kLongestText) << describe(e, options);
        // The buffer is scratch up to kLongestText (a fraction cut to fewer
        // digits leaves its dropped digits there); nothing goes beyond it.
        for (int i = shown::kLongestText; i < kSize; ++i) ASSERT_EQ(fast[i], '#') << describe(e, options);
        ++compared;
    }

    static std::string describe(const Entity& e, std::int32_t options) {
        return "options " + std::to_string(options) + " missing " + std::to_string(e.missing) + " datetime " +
               std::to_string(e.is_datetime) + " single " + std::to_string(e.single_form) + " implied " +
               std::to_string(e.implied_anchor) + " weeks " + std::to_string(e.weeks) + " negative " +
               std::to_string(e.negative) + " values " + std::to_string(e.year) + " " + std::to_string(e.month) +
               " " + std::to_string(e.day) + " " + std::to_string(e.hour) + " " + std::to_string(e.minute) + " " +
               std::to_string(e.second) + " ." + std::to_string(e.thousandths);
    }

    long compared = 0;
};

constexpr std::int32_t kDesignators = render_option::kDesignators;
constexpr std::int32_t kDelimited = render_option::kDelimited;

// The two forms' option words, each with one more option bit, with bits no
// form reads, and a few words of the general pass.
std::vector<std::int32_t> option_words() {
    std::vector<std::int32_t> words = {0, 0x0002, 0x0005, 0x0008, 0x0014, 0x0024, 0x0044, 0x1001, 0x1004, 0x107F};
    for (std::int32_t form : {kDesignators, kDelimited}) {
        words.push_back(form);
        for (std::int32_t bit : {0x0001, 0x0002, 0x0004, 0x0008, 0x0010, 0x0020, 0x0040, 0x1000})
            if (!(form & bit)) words.push_back(form | bit);
        for (std::int32_t other : {0x0080, 0x0100, 0x2000, static_cast<std::int32_t>(0x80000000u)})
            words.push_back(form | other);
    }
    return words;
}

struct Values {
    std::int64_t year, month, day, hour, minute, second;
};

// Single digits, the usual, the edges of one, two and four digits, the
// largest a packed value decodes to, and values no packed value holds
// (negative, beyond ten digits).
const Values kValues[] = {
    {0, 0, 0, 0, 0, 0},
    {1, 2, 3, 4, 5, 6},
    {2020, 12, 31, 23, 59, 59},
    {9, 10, 14, 99, 100, 164},
    {9999, 15, 164, 10, 9, 0},
    {10065, 0, 7, 70, 35, 99},
    {-1, -12, -7, -99, -100, -999999999},
    {4294967295, 30064771065, 99999999999, 10000000000, 9999999999, 1000000000},
};

const std::int64_t kThousandths[] = {0, 5, 10, 50, 100, 120, 999, 1022, -3};

TEST_F(FastText, EveryFlagMaskAndEdgeValue) {
    const std::vector<std::int32_t> words = option_words();
    for (int flags = 0; flags < 32; ++flags)
        for (int mask = 0; mask < 256; mask += (mask < 0xFE ? 2 : 1))
            for (const Values& v : kValues)
                for (std::int64_t thousandths : {kThousandths[flags % 9], kThousandths[(flags + mask / 2) % 9]}) {
                    Entity e{};
                    e.year = v.year, e.month = v.month, e.day = v.day;
                    e.hour = v.hour, e.minute = v.minute, e.second = v.second;
                    e.thousandths = thousandths;
                    e.missing = static_cast<std::uint8_t>(mask);
                    e.is_datetime = flags & 1;
                    e.single_form = (flags >> 1) & 1;
                    e.implied_anchor = (flags >> 2) & 1;
                    e.weeks = (flags >> 3) & 1;
                    e.negative = (flags >> 4) & 1;
                    for (std::int32_t options : words) expect_same(e, options);
                }
    EXPECT_GT(compared, 2000000);
}

// Decoded packed values: each byte drawn towards decimal digits and the F
// of an absent component, the last byte's flags and the sign byte at random.
TEST_F(FastText, SeededPackedValues) {
    std::mt19937_64 rng(20261209);
    const std::vector<std::int32_t> words = option_words();
    auto nibble = [&] {
        const unsigned k = rng() % 100;
        return k < 75 ? rng() % 10 : k < 92 ? 15 : rng() % 16;
    };
    long decoded = 0;
    for (int i = 0; i < 300000; ++i) {
        Entity e{};
        for (std::uint8_t& b : e.packed) b = static_cast<std::uint8_t>(nibble() << 4 | nibble());
        e.packed[7] = static_cast<std::uint8_t>(rng());
        if (rng() % 6 == 0) e.packed[0] = static_cast<std::uint8_t>(rng());
        if (convert_from_bcd(&e) != 0) continue;
        ++decoded;
        for (std::int32_t options : {words[rng() % words.size()], kDesignators, kDelimited}) expect_same(e, options);
    }
    EXPECT_GT(decoded, 150000);
}

}  // namespace
