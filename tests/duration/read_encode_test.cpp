// The meaning of the thousandths field: a move of the datetime value by
// that share of the last component present. (The packed digits themselves
// are checked through the reader, in read_parse_test.cpp.)
#include <cstdint>
#include <iterator>

#include "duration/engine.h"
#include "duration/read_support.h"

namespace {

using namespace read_test;

class Fractions : public WithHost {};

// The thousandths of the last component present move a datetime value.
TEST_F(Fractions, MoveTheValue) {
    const double jan15 = parse("2020-01-15").e.value;
    struct Case {
        const char* text;  // the datetime without its fraction
        std::int64_t thousandths;
        int sign;
        double moved;  // seconds added to the value
    };
    const double day = 86400;
    const Case cases[] = {
        {"2020-01-15T10:00:00", 500, +1, 0.5},
        {"2020-01-15T10:00", 500, +1, 30},
        {"2020-01-15T10", 500, +1, 1800},
        {"2020-01-15", 250, +1, day / 4},
        {"2020-01-15", 250, -1, -day / 4},
        {"2020-01", 500, +1, 31 * day / 2},   // half of January
        {"2020-03", 500, -1, -29 * day / 2},  // half of February, backwards
        {"2020", 500, +1, 182 * day},         // six calendar months
        {"2020", 83, +1, 31 * day},           // one month
        {"2020", 917, -1, -334 * day},        // eleven months back
        {"2020", 400, +1, 0.4 * 366 * day},   // 0.4 of the year that follows
        {"2019", 400, -1, -0.4 * 365 * day},  // 0.4 of the year that precedes
    };
    for (const Case& c : cases) {
        Entity e = parse(c.text).e;
        const double before = e.value;
        e.thousandths = c.thousandths;
        add_fraction(&e, c.sign);
        EXPECT_NEAR(e.value - before, c.moved, 1e-6) << c.text << " " << c.thousandths;
    }
    Entity none = parse("2020-01-15").e;
    none.thousandths = 0;
    add_fraction(&none, +1);
    EXPECT_EQ(none.value, jan15);
    Entity nothing_present{};
    nothing_present.missing = 0xFE;
    nothing_present.thousandths = 500;
    add_fraction(&nothing_present, +1);
    EXPECT_EQ(nothing_present.value, 0);
}

// A month fraction from the 31st reaches a shorter month at its last day.
TEST_F(Fractions, MonthFractionFromAMonthEnd) {
    Entity e = parse("2020-01-31T00:00:00").e;
    e.missing = missing_bit::kDay | missing_bit::kHour | missing_bit::kMinute | missing_bit::kSecond;
    e.thousandths = 500;
    const double before = e.value;
    add_fraction(&e, +1);
    EXPECT_NEAR(e.value - before, 29 * 86400 / 2.0, 1e-6);
}

}  // namespace

namespace {

// The digit form packed in one word against the nibble-by-nibble packing,
// on records whose components sit at and beyond the digits' ranges
// (negative, 99/100, 9999/10000, the 64-bit extremes), with every missing
// mask, thousandths, anchor, kind and sign.
TEST(DigitForm, OneWordAsNibbleByNibble) {
    constexpr std::int64_t kValues[] = {0, 1, 9, 10, 12, 15, 16, 31, 59, 99, 100, 101, 999, 1582, 9999, 10000,
                                        12345, -1, -10, -99, -100, INT64_MAX, INT64_MIN};
    constexpr std::int64_t kThousandths[] = {0, 1, 500, 999, 1000, 0x3FF, 0x400, -1};
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    const auto next = [&state] {
        state ^= state << 13, state ^= state >> 7, state ^= state << 17;
        return state;
    };
    for (int round = 0; round < 200000; ++round) {
        Entity e{};
        for (int c = 0; c < component::kFraction; ++c)
            *component::field(&e, c) = kValues[next() % std::size(kValues)];
        e.thousandths = kThousandths[next() % std::size(kThousandths)];
        const std::uint64_t bits = next();
        e.missing = static_cast<std::uint8_t>(bits);  // any mask but the whole missing value's
        if (e.missing == missing_bit::kAll) e.missing = 0xFE;
        e.implied_anchor = bits >> 16 & 3, e.is_datetime = bits >> 18 & 3, e.negative = bits >> 20 & 1;
        Entity general = e;
        convert_to_bcd(&e);
        duration_form::pack_digits_general(&general);
        ASSERT_EQ(read_test::hex_of(e.packed, 8), read_test::hex_of(general.packed, 8)) << "round " << round;
    }
}

// A first byte that is no packed decimal (a negative year, which no caller
// stores) has no negative image: it stays as it is instead of being looked
// up past the end of the table.
TEST(DigitForm, NoImageForAByteThatIsNoPackedDecimal) {
    for (std::int64_t year : {std::int64_t{-5808}, std::int64_t{-1234}, std::int64_t{-1000}}) {
        Entity plain{};
        plain.year = year;
        plain.missing = static_cast<std::uint8_t>(0xFE & ~missing_bit::kYear);
        Entity negative = plain;
        negative.negative = 1;
        convert_to_bcd(&plain);
        convert_to_bcd(&negative);
        EXPECT_EQ(negative.packed[0], plain.packed[0]) << year;
        EXPECT_EQ(read_test::hex_of(negative.packed + 1, 7), read_test::hex_of(plain.packed + 1, 7)) << year;
    }
}

}  // namespace
