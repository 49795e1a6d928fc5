// The ISO 8601 reader: accepted texts by form with their packed digits, and
// rejected texts grouped by problem code.
#include <cmath>

#include "duration/read_support.h"

namespace {

using namespace read_test;

class Parse : public WithHost {};

struct Accepted {
    const char* text;
    const char* packed;
    int mode = kLax;
};

void expect_accepted(const Accepted* begin, const Accepted* end) {
    for (const Accepted* c = begin; c != end; ++c) {
        const Parsed p = parse(c->text, c->mode);
        EXPECT_EQ(p.code, 0) << '"' << c->text << '"';
        EXPECT_EQ(p.packed, c->packed) << '"' << c->text << '"';
    }
}

TEST_F(Parse, Datetimes) {
    const Accepted cases[] = {
        {"2020-01-15T10:30:00", "2020115103000FFD"},
        {"2020-12-31T23:59:59.999", "2020C31235959F9D"},
        {"2020-01-15T10:30:00Z", "2020115103000FFD"},
        {"20200115T103000Z", "2020115103000FFD"},
        {"20200115T103000", "2020115103000FFD"},
        {"2020-01-15t10:30:00z", "2020115103000FFD"},
        {"  2020-01-15T10:30:00   ", "2020115103000FFD"},
        {"2020-01-15T10:30:00+05:00", "2020115053000FFD"},
        {"2020-01-15T23:30:00-01:00", "2020116003000FFD"},
        {"2020-01-01T00:30:00+01:00", "2019C31233000FFD"},
        {"20200115T103000-0130", "2020115120000FFD"},
        {"2020", "2020FFFFFFFFFFFD"},
        {"2020-10", "2020AFFFFFFFFFFD"},
        {"2020-11-30", "2020B30FFFFFFFFD"},
        {"--01-15", "FFFF115FFFFFFFFD"},
        {"2020---15T10:30:00", "2020F15103000FFD"},
        {"T10:30", "FFFFFFF1030FFFFD"},
        {"T103000", "FFFFFFF103000FFD"},
        {"2020.5", "2020FFFFFFFFF7D1"},
        {"2020-01-15.5", "2020115FFFFFF7D1"},
        {"T10.5", "FFFFFFF10FFFF7D1"},
        {"2020-01-15T10:30:00,25", "20201151030003E9"},
        {"20200115T103000.5", "20201151030007D1"},
        {"20200115T103000.12345", "20201151030001ED"},  // a fraction reads all its digits
        {"2020.500", "2020FFFFFFFFF7D1"},
        {"2020-01-15T10:30:00:12", "20201151030001E1"},
        {"2020-01-15T10:30:00", "2020115103000FFD", kStrict},
        {"2020", "2020FFFFFFFFFFFD", kStrict},
        {"--01-15", "FFFF115FFFFFFFFD", kStrictOmitted},
    };
    expect_accepted(std::begin(cases), std::end(cases));
}

TEST_F(Parse, DesignatorDurations) {
    const Accepted cases[] = {
        {"P1Y2M3DT4H5M6S", "0001203040506FFC"},
        {"-P1Y2M3DT4H5M6S", "0A01203040506FFC"},
        {"p1y2m3dt4h5m6s", "0001203040506FFC"},
        {"PT30M", "FFFFFFFFF30FFFFC"},
        {"-PT30M", "FEFFFFFFF30FFFFC"},
        {"P1Y2M10DT2H30M", "00012100230FFFFC"},
        {"P1M", "FFFF1FFFFFFFFFFC"},
        {"PT1M", "FFFFFFFFF01FFFFC"},
        {"P0Y0M0DT0H0M0S", "0000000000000FFC"},
        {"P12M31DT23H59M59S", "FFFFC31235959FFC"},
        {"P1Y2M3.5D", "0001203FFFFFF7D0"},
        {"P3.5D", "FFFFF03FFFFFF7D0"},
        {"PT1,25S", "FFFFFFFFFFF013E8"},
        {"PT1H0.5M", "FFFFFFF0100FF7D0"},
        {"PT01:00:00Z", "FFFFFFF010000FFC"},
        {"P1Y", "0001FFFFFFFFFFFC", kStrict},
        {"P", "FFFFFFFFFFFFFFFF"},
    };
    expect_accepted(std::begin(cases), std::end(cases));
}

TEST_F(Parse, PositionalDurations) {
    const Accepted cases[] = {
        {"P0001-02-10T02:30:00", "0001210023000FFC"},
        {"P00010210T023000", "0001210023000FFC"},
        {"P0001-02-03T04:05:06.5", "00012030405067D0"},
        {"P2020", "2020FFFFFFFFFFFC"},
    };
    expect_accepted(std::begin(cases), std::end(cases));
}

// A lone component beyond its range is stored as one count of its unit.
TEST_F(Parse, SingleUnitDurations) {
    const Accepted cases[] = {
        {"PT36H", "0000000000002412"},
        {"PT36.5H", "00000000008E9492"},
        {"-PT36H", "0080000000002412"},
        {"P3W", "000000000000030E"},
        {"P1.5W", "000000000005DC8E"},
        {"P40D", "000000000000280A"},
        {"P13M", "0000000000000D06"},
        {"PT100M", "0000000000006422"},
        {"PT4294967295S", "000000FFFFFFFF42"},
    };
    expect_accepted(std::begin(cases), std::end(cases));
    EXPECT_EQ(parse("PT36H").e.unit_code, 4);
    EXPECT_EQ(parse("PT36.5H").e.unit_code, 36);
    EXPECT_EQ(parse("P1.5W").e.unit_code, 35);
}

// Several components beyond their ranges are normalised, days carried into
// months of 30 days and months into years.
TEST_F(Parse, NormalisedDurations) {
    const Accepted cases[] = {
        {"P1M40D", "FFFF210FFFFFFFFC"},
        {"PT25H30M", "FFFFF010130FFFFC"},
        {"P1Y40D", "0001110FFFFFFFFC"},
        {"P1Y13M", "00021FFFFFFFFFFC"},
        {"P1Y3W", "0001F21FFFFFFFFC"},
        {"P1M2W", "FFFF114FFFFFFFFC"},
    };
    expect_accepted(std::begin(cases), std::end(cases));
}

// The fraction of the last component survives normalisation.
TEST_F(Parse, NormalisationKeepsTheFraction) {
    const Accepted cases[] = {
        {"P1DT25.5H", "FFFFF020130FFFFC"},   // 2 days 1 hour 30 minutes
        {"PT1H59M60.5S", "FFFFFFF02FF007D0"},  // the half second stays on the seconds
        {"P1Y1.5W", "0001F1012FFFFFFC"},     // a week and a half is 10 days 12 hours
        {"P1Y13.5M", "00021FFFFFFFF7D0"},    // half a month stays on the month
    };
    expect_accepted(std::begin(cases), std::end(cases));
}

// Fractions are placed by the position of their digits, rounded with a bias
// just below one half, and never reach a whole unit.
TEST_F(Parse, FractionDigits) {
    struct Case {
        const char* digits;
        std::int64_t thousandths;
    };
    const Case cases[] = {
        {"5", 500},    {"05", 50},     {"25", 250},   {"005", 5},    {"123", 123}, {"12345", 123},
        {"1235", 123}, {"1236", 124},  {"0123", 12},  {"0005", 0},   {"0015", 1},  {"00051", 1},
        {"9996", 999}, {"99999", 999}, {"9994", 999}, {"0999", 100}, {"000", 0},
    };
    for (const Case& c : cases) {
        const Parsed p = parse(std::string("2020-01-15T10:30:00.") + c.digits);
        ASSERT_EQ(p.code, 0) << c.digits;
        EXPECT_EQ(p.e.thousandths, c.thousandths) << c.digits;
    }
}

TEST_F(Parse, FractionMovesTheDatetime) {
    const double noon = parse("2020-01-15T12:00:00").e.value;
    EXPECT_DOUBLE_EQ(parse("2020-01-15.5").e.value, noon);
    EXPECT_DOUBLE_EQ(parse("2020-01-15T10.5").e.value, noon - 5400);
    EXPECT_DOUBLE_EQ(parse("2020-01-15T10:30:00.9996").e.value, noon - 5400 + 0.999);
    EXPECT_DOUBLE_EQ(parse("2020.5").e.value, parse("2020-07-01").e.value);
}

TEST_F(Parse, BlankTexts) {
    for (const char* text : {"", "   ", ".", " . "}) {
        const Parsed lax = parse(text);
        EXPECT_EQ(lax.code, 0) << '"' << text << '"';
        EXPECT_EQ(lax.packed, "FFFFFFFFFFFFFFFF");
        EXPECT_EQ(lax.e.is_datetime, 0);
        EXPECT_EQ(parse(text, kStrictOmitted).code, 11) << '"' << text << '"';
        EXPECT_EQ(parse(text, kStrict).code, 0) << '"' << text << '"';
    }
}

TEST_F(Parse, ProblemCodes) {
    struct Rejected {
        int code;
        const char* text;
        int mode = kLax;
    };
    const Rejected cases[] = {
        {1, "20200115103000"},
        {1, "P1X"},
        {1, "2020X"},
        {1, "2020/01/15"},
        {1, "P1Y2M3D4H"},
        {2, "PT1HZ"},
        {2, "2020-01-15Tab"},
        {3, "P12"},
        {3, "202"},
        {4, "2020Y"},
        {5, "P1Y2"},
        {6, "P2D1Y"},
        {6, "P1Y1Y"},
        {6, "P1W2D"},
        {6, "P1.5Y2M"},
        {7, "2020-13-01"},
        {7, "1581-12-31"},
        {7, "2020-00-10"},
        {7, "2020-01-00"},
        {7, "2020-01-15T24:00:00"},
        {7, "P10000Y"},
        {7, "P9999Y12M400D"},
        {7, "9999-12-31T23:30:00-01:00"},  // universal time falls past the year 9999
        {8, "2020-02-30"},
        {8, "2019-02-29"},
        {9, "2020-01-15T10:30+05:00"},
        {9, "2020-01-15T10:30:00+5"},
        {9, "PT01:00:00+01:00"},
        {9, "2020-01-15T10:30:00+0a:00"},
        {9, "20200115T103000+05"},
        {12, "2020-01-15 10:30"},
        {12, "2020-01-15T10;30"},
        {12, "2020-01_15"},
        {17, "2020-1-15", kStrict},
        {17, "--01-15", kStrict},
        {17, "2020-01-15T1:30:00", kStrictOmitted},
        {18, "20200115", kStrict},
        {18, "P00010210T023000", kStrictOmitted},
        {18, "T103000", kStrict},
        {20, "P1.5Y2.5M"},
        {21, "P1H"},
        {21, "P1S"},
        {23, "2020-01-15T"},
        {23, "PT"},
    };
    for (const Rejected& c : cases) {
        EXPECT_EQ(parse(c.text, c.mode).code, c.code) << '"' << c.text << "\" mode " << c.mode;
    }
}

// Numbers too large for any field are refused, never overflowed.
TEST_F(Parse, HugeNumbers) {
    EXPECT_EQ(parse("P9999999999999999999D").code, 2);  // not a 64-bit number
    EXPECT_EQ(parse("P9223372036854775807W").code, 7);
    EXPECT_EQ(parse("P1M9223372036854775807D").code, 7);
    EXPECT_EQ(parse("P1M9223372036854775807D", kLax, 1).code, 7);
    EXPECT_EQ(parse("P9223372036854775807Y13M").code, 7);
    EXPECT_EQ(parse("PT1H9223372036854775807S").code, 7);
    EXPECT_EQ(parse("2020-01-15T10:30:00.00000000000000000001").code, 0);
    // A single-unit count has 32 bits: a larger one is refused, not cut.
    EXPECT_EQ(parse("PT4294967296S").code, 7);
    EXPECT_EQ(parse("P4294967296D").code, 7);
    EXPECT_EQ(parse("PT4294967.296H").code, 7);
    EXPECT_EQ(parse("PT4294967.295H").packed, "000000FFFFFFFF92");
}

// Inside an interval an overflowing duration is left for the interval to
// resolve against its datetime.
TEST_F(Parse, InsideAnInterval) {
    const Parsed p = parse("P1M40DT25H", kLax, 1);
    EXPECT_EQ(p.code, 0);
    EXPECT_EQ(p.e.calendar_pending, 1);
    EXPECT_EQ(p.e.month, 1);
    EXPECT_EQ(p.e.day, 41);
    EXPECT_EQ(p.e.hour, 1);
    EXPECT_EQ(parse("P1M40D", kLax, 0).e.calendar_pending, 0);
    EXPECT_EQ(parse("PT36H", kLax, 1).e.calendar_pending, 0);
}

}  // namespace
