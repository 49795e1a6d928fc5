// The meaning of the thousandths field: a move of the datetime value by
// that share of the last component present. (The packed digits themselves
// are checked through the reader, in read_parse_test.cpp.)
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
