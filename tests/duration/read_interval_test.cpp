// Intervals: the two halves derived from the text, the resolution of an
// overflowing duration against its datetime, and the calendar arithmetic.
#include <cmath>

#include "duration/read_support.h"

namespace {

using namespace read_test;

class Intervals : public WithHost {};
class CalendarArithmetic : public WithHost {};

constexpr const char* kMissing16 = "FFFFFFFFFFFFFFFF";

struct Case {
    const char* text;
    int code;
    std::string packed;  // 32 digits
};

void expect_intervals(const Case* begin, const Case* end) {
    for (const Case* c = begin; c != end; ++c) {
        const Interval r = interval(c->text);
        EXPECT_EQ(r.code, c->code) << '"' << c->text << '"';
        EXPECT_EQ(r.packed, c->packed) << '"' << c->text << '"';
    }
}

TEST_F(Intervals, StoredAsWritten) {
    const Case cases[] = {
        {"2020-01-01T00:00:00/P1D", 0, "2020101000000FFD" "FFFFF01FFFFFFFFC"},
        {"P1D/2020-01-01T00:00:00", 0, "FFFFF01FFFFFFFFC" "2020101000000FFD"},
        {"2020-03-01/2020-01-01", 0, "2020301FFFFFFFFD" "2020101FFFFFFFFD"},
        {" 2020-01-01T00:00:00 / PT36H ", 0, "2020101000000FFD" "0000000000002412"},
        {"2020-01-01T00:00:00/P1M30D", 0, "2020101000000FFD" "FFFF130FFFFFFFFC"},
    };
    expect_intervals(std::begin(cases), std::end(cases));
}

// A lone duration gets a synthesized start on 1960-01-01, or on 1960-02-01
// when its day would run past the end of the month it reaches.
TEST_F(Intervals, LoneDurations) {
    const Case cases[] = {
        {"P1D", 0, "1960101000000003" "FFFFF01FFFFFFFFC"},
        {"P1D/", 0, "1960101000000003" "FFFFF01FFFFFFFFC"},
        {"P1M30D", 0, "1960201000000003" "FFFF130FFFFFFFFC"},
        {"P3M31D", 0, "1960201000000003" "FFFF331FFFFFFFFC"},
        {"P2M31D", 0, "1960101000000003" "FFFF231FFFFFFFFC"},
        {"PT36H", 0, "1960101000000003" "0000000000002412"},
    };
    expect_intervals(std::begin(cases), std::end(cases));
}

// A lone duration that overflows keeps its months and days where the packed
// digits hold them (a month up to 14, a day up to 99); a day beyond is
// carried into months of 30 days, a month beyond into years.
TEST_F(Intervals, LoneOverflowingDurationIsCarriedOnlyWhereItDoesNotFit) {
    const Case cases[] = {
        {"P1M40D", 0, "1960101000000003" "FFFF140FFFFFFFFC"},
        {"P1Y13M", 0, "1960101000000003" "0001DFFFFFFFFFFC"},
        {"P14M99D", 0, "1960101000000003" "FFFFE99FFFFFFFFC"},
        {"P9999Y14M", 0, "1960101000000003" "9999EFFFFFFFFFFC"},
        {"P1M40DT1.5S", 0, "1960101000000003" "FFFF140FFFF017D0"},
        {"P1M100D", 0, "1960101000000003" "FFFF410FFFFFFFFC"},
        {"P15M40D", 0, "1960101000000003" "0001340FFFFFFFFC"},
        {"P20M100D", 0, "1960101000000003" "0001B10FFFFFFFFC"},
        {"P1DT25H", 0, "1960101000000003" "FFFFF0201FFFFFFC"},
        {"P9999Y15M", 7, std::string(32, 'F')},
        {"P9999Y12M400D", 7, std::string(32, 'F')},
    };
    expect_intervals(std::begin(cases), std::end(cases));
}

TEST_F(Intervals, ProblemCodes) {
    const Case cases[] = {
        {"", 13, std::string(32, 'F')},
        {"    ", 13, std::string(32, 'F')},
        {"/P1D", 13, std::string(32, 'F')},
        {" /P1D", 13, std::string(32, 'F')},
        {"2020-01-01/", 16, std::string(32, 'F')},
        {"2020-01-01", 16, std::string(32, 'F')},
        {"P1D/P2D", 14, std::string(32, 'F')},
        {"2020-13-01/P1D", 7, std::string(32, 'F')},
        {"2020-01-01/P1H", 21, std::string(32, 'F')},
        {"2020-01-01/2020-01-01/P1D", 12, std::string(32, 'F')},
    };
    expect_intervals(std::begin(cases), std::end(cases));
}

// An overflowing duration is replaced by the calendar difference between
// its datetime and the one it reaches: months first (the day clamped to the
// month's end), then days, then the time, in the direction of its sign.
TEST_F(Intervals, CalendarResolution) {
    const Case cases[] = {
        {"2020-01-01T00:00:00/P1M40D", 0, "2020101000000FFD" "FFFF211FFFFFFFFC"},
        {"P1M40D/2020-03-12T00:00:00", 0, "FFFF209FFFFFFFFC" "2020312000000FFD"},
        // the duration's time moves the derived end too
        {"2020-01-01T00:00:00/P1M40DT1H", 0, "2020101000000FFD" "FFFF21101FFFFFFC"},
        {"2020-01-01T00:00:00/P1M40DT25H30M", 0, "2020101000000FFD" "FFFF2120130FFFFC"},
        {"2020-01-01T00:00:00/P1DT25H0.5S", 0, "2020101000000FFD" "FFFFF0201FF007D0"},
        // a minus sign moves it the other way and the difference keeps it
        {"2020-01-01T00:00:00/-P1M40D", 0, "2020101000000FFD" "FEFF210FFFFFFFFC"},
        {"-P1M40D/2020-01-01T00:00:00", 0, "FEFF211FFFFFFFFC" "2020101000000FFD"},
        // a day the target month lacks is clamped to its last day
        {"2020-01-31T00:00:00/P1M40D", 0, "2020131000000FFD" "FFFF209FFFFFFFFC"},
        {"2020-03-31T10:00:00/P1M40D", 0, "2020331100000FFD" "FFFF209FFFFFFFFC"},
    };
    expect_intervals(std::begin(cases), std::end(cases));
}

// The datetime derived to resolve a duration is never stored: outside years
// 0 to 9999 it still resolves the duration. Code 8 is left for a datetime
// the host's calendar cannot form, and for a difference of 10,000 years or
// more, which the packed digits cannot hold.
TEST_F(Intervals, DerivedDatetimeOutsideFourDigitYears) {
    const Case cases[] = {
        {"9999-12-01T00:00:00/P1M40D", 0, "9999C01000000FFD" "FFFF209FFFFFFFFC"},  // reaches 10000-02-10
        {"9999-12-01/P0Y1M40D", 0, "9999C01FFFFFFFFD" "FFFF209FFFFFFFFC"},
        {"P1M40D/--01-15", 0, "FFFF210FFFFFFFFC" "FFFF115FFFFFFFFD"},  // from -0001-11-05
        {"P1M40D/--03-15", 0, "FFFF209FFFFFFFFC" "FFFF315FFFFFFFFD"},
        {"P2000Y13M/2000-03-01", 0, "20011FFFFFFFFFFC" "2000301FFFFFFFFD"},  // from -0001-02-01
        {"1972-01-23/P9272Y12M7DT03H28457S", 0, "1972123FFFFFFFFD" "9273F07105417FFC"},
        {"--01-15/P9998Y24M", 8, std::string(32, 'F')},          // 10,000 years
        {"1582-01-01/P9999Y12M40D", 8, std::string(32, 'F')},
        {"P1M99999999D/2000-01-01", 8, std::string(32, 'F')},    // before the host's calendar
        {"2000-01-01/P1M99999999D", 8, std::string(32, 'F')},    // after it
    };
    expect_intervals(std::begin(cases), std::end(cases));
}

Entity parsed(const char* text) {
    Parsed p = parse(text);
    EXPECT_EQ(p.code, 0) << text;
    return p.e;
}

TEST_F(CalendarArithmetic, ComputeDuration) {
    struct Span {
        const char* start;
        const char* end;
        const char* packed;
    };
    const Span cases[] = {
        {"2020-01-31", "2020-02-29", "FFFF1FFFFFFFFFFC"},                    // a month end counts as a month
        {"2020-01-15T10:00:00", "2020-02-15T09:00:00", "FFFFF3023FFFFFFC"},  // a borrowed day
        {"2020-01-15", "2020-03-10", "FFFF126FFFFFFFFC"},
        {"2020-01-15", "2020-01-15", "000000000000000E"},
        {"2020-03-10", "2020-01-15", "FEFF126FFFFFFFFC"},
        // a fraction keeps its seconds, so that it does not read as a fraction of a year
        {"2019-01-15T00:00:00.250", "2020-01-15T00:00:01", "0001FFFFFFF00BB8"},
    };
    for (const Span& c : cases) {
        Entity a = parsed(c.start), b = parsed(c.end), out;
        EXPECT_EQ(compute_duration(&a, &b, &out), 0);
        EXPECT_EQ(hex_of(out.packed, 8), c.packed) << c.start << " to " << c.end;
    }
    Entity a = parsed("2020-01-15"), missing{}, out;
    missing.value = std::nan("");
    compute_duration(&a, &missing, &out);
    EXPECT_EQ(hex_of(out.packed, 8), kMissing16);
    EXPECT_EQ(out.missing, 0xFF);
    EXPECT_NE(out.value, out.value);
}

TEST_F(CalendarArithmetic, LastDay) {
    struct Month {
        int month, year;
        double days;
    };
    const Month cases[] = {
        {2, 2000, 29}, {2, 2020, 29}, {2, 1600, 29}, {2, 2400, 29}, {2, 1896, 29}, {2, 1900, 28},
        {2, 2100, 28}, {2, 2019, 28}, {2, 4000, 28}, {2, 8000, 28}, {14, 2020, 29}, {24, 2020, 31},
        {4, 2020, 30}, {12, 2020, 31}, {0, 2020, 31}, {-10, 2020, 29},
    };
    for (const Month& c : cases) EXPECT_EQ(get_lastday(c.month, c.year), c.days) << c.month << "/" << c.year;
}

// compute_end and compute_start pack the whole datetime they reach.
TEST_F(CalendarArithmetic, EndAndStart) {
    struct Move {
        bool end;
        const char* from;
        const char* by;
        const char* packed;
    };
    const Move cases[] = {
        {true, "2020-01-31T10:00:00", "P1M1DT2H", "2020301120000FFD"},
        {true, "2020-01-15T10:00:00", "PT36H", "2020116220000FFD"},
        {true, "2020-01-15T10:00:00", "-P1D", "2020114100000FFD"},
        {true, "2020-01-15T10:00:00.250", "PT0.5S", "2020115100000BB9"},
        {false, "2020-03-01T12:00:00", "P1M1DT2H", "2020129100000FFD"},
        {false, "2020-03-31T10:00:00", "P1M", "2020229100000FFD"},
        {false, "2020-01-15T10:00:00", "-PT36H", "2020116220000FFD"},
    };
    for (const Move& c : cases) {
        Entity from = parsed(c.from), by = parsed(c.by), out;
        const std::uint8_t sign = by.negative;
        EXPECT_EQ(c.end ? compute_end(&from, &by, &out) : compute_start(&by, &from, &out), 0);
        EXPECT_EQ(hex_of(out.packed, 8), c.packed) << c.from << (c.end ? " + " : " - ") << c.by;
        EXPECT_EQ(by.negative, sign);
        EXPECT_EQ(out.is_datetime, 1);
    }
}

}  // namespace
