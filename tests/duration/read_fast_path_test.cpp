// The reader's shortcut for the common forms against the general reader:
// the same problem code and the same record, byte for byte, in every parse
// mode, inside and outside an interval, on texts built around the corners
// (every delimiter and digit position changed, every component at and past
// its range, signs, blanks, fractions, weeks, zones, overflowing numbers,
// every length cut off the text), on seeded mutations of common texts, and
// under hosts whose character tables differ from the reference host's.
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "duration/read_support.h"

namespace {

using namespace read_test;

constexpr int kModes[] = {kLax, kStrict, kMissingNotation, kStrictOmitted, 0x7FFF};

struct Outcome {
    int code;
    Entity e;
};

using Reader = int(const char*, int, Entity*, int, int);

Outcome read_with(Reader* reader, std::string_view text, int mode, int in_interval) {
    ExactText t(text);
    Outcome o;
    std::memset(&o.e, 0xA5, sizeof o.e);  // whatever the caller's record held
    o.code = reader(t.data(), t.size(), &o.e, mode, in_interval);
    return o;
}

class FastRead : public WithHost {
protected:
    // Compares the two readers on the text and on every shorter length.
    void expect_same(std::string_view text) {
        for (std::size_t n = text.size() + 1; n-- > 0;) {
            const std::string_view cut = text.substr(0, n);
            for (int mode : kModes)
                for (int in_interval : {0, 1}) {
                    const Outcome fast = read_with(read_date_or_duration, cut, mode, in_interval);
                    const Outcome general = read_with(read_date_or_duration_general, cut, mode, in_interval);
                    ASSERT_EQ(fast.code, general.code) << '"' << cut << "\" mode " << mode;
                    ASSERT_EQ(std::memcmp(&fast.e, &general.e, sizeof fast.e), 0)
                        << '"' << cut << "\" mode " << mode << ": " << hex_of(fast.e.packed, 8) << " against "
                        << hex_of(general.e.packed, 8);
                    ++compared;
                }
            Entity e;
            ExactText t(cut);
            shortcut_taken += read_common_form(t.data(), t.size(), &e);
        }
    }
    long compared = 0, shortcut_taken = 0;
};

std::string two(int v) {
    return std::string(1, static_cast<char>('0' + v / 10 % 10)) + static_cast<char>('0' + v % 10);
}
std::string four(int v) { return two(v / 100) + two(v % 100); }

std::string datetime(int y, int mo, int d, int h, int mi, int s) {
    return four(y) + "-" + two(mo) + "-" + two(d) + "T" + two(h) + ":" + two(mi) + ":" + two(s);
}

// Characters that mean something somewhere in a datetime or duration, and
// some that mean nothing.
const char kAlphabet[] = "0159-:TtZzPpYyMmDdHhSsWw.,+/ \x01\x7F\xFF";

TEST_F(FastRead, DatetimeComponentsAtAndPastTheirRanges) {
    for (int y : {0, 1581, 1582, 1600, 1900, 1999, 2000, 2020, 2100, 4000, 9999})
        for (int mo : {0, 1, 2, 9, 10, 12, 13, 19, 99})
            for (int d : {0, 1, 28, 29, 30, 31, 32, 99}) expect_same(datetime(y, mo, d, 12, 30, 45));
    for (int h : {0, 9, 10, 23, 24, 99})
        for (int mi : {0, 59, 60})
            for (int s : {0, 59, 60, 99}) expect_same(datetime(2020, 1, 15, h, mi, s));
    EXPECT_GT(shortcut_taken, 150);
}

TEST_F(FastRead, EveryPositionOfADatetimeChanged) {
    const std::string base = datetime(2020, 2, 29, 23, 59, 59);
    for (std::size_t i = 0; i < base.size(); ++i)
        for (const char* c = kAlphabet; *c; ++c) {
            std::string t = base;
            t[i] = *c;
            expect_same(t);
            expect_same(t.substr(0, i) + *c + base.substr(i));  // one more character
            expect_same(base.substr(0, i) + base.substr(i + 1));  // one fewer
        }
}

TEST_F(FastRead, DatetimesWithBlanksSignsZonesAndFractions) {
    const std::string base = datetime(2020, 1, 15, 10, 30, 0);
    for (const char* before : {"", " ", "   ", "-", "+", "P", "T"})
        for (const char* after : {"", " ", "   ", "Z", "z", "Z ", "Zjunk", "ZZ", "+05:00", "-01:00", "+0530", ".5",
                                  ",25", ".", "0", ":00", "T", "/", "Z+01:00"})
            expect_same(before + base + after);
}

// Durations of every combination of units, with values at and past what
// packs as digits.
TEST_F(FastRead, DurationUnitsAndValues) {
    const char* const kUnits[] = {"Y", "M", "D", "H", "M", "S"};
    const char* const kValues[] = {"0",    "1",     "9",     "10",   "12",   "13",   "23",   "24",  "31",
                                   "32",   "59",    "60",    "99",   "100",  "1234", "9999", "10000", "007",
                                   "0000000000000000001", "999999999999999999", "9223372036854775807",
                                   "9223372036854775808"};
    std::mt19937 random(20260101);
    for (unsigned units = 1; units < 64; ++units)
        for (int pick = 0; pick < 40; ++pick) {
            std::string t = "P";
            for (int u = 0; u < 6; ++u) {
                if (u == 3 && (units >> 3)) t += 'T';
                if (units >> u & 1) t += std::string(kValues[random() % std::size(kValues)]) + kUnits[u];
            }
            expect_same(t);
            expect_same("-" + t);
            expect_same("  " + t + "  ");
        }
    for (const char* v : kValues)
        for (const char* unit : {"Y", "M", "D", "W", "H", "S"})
            for (const char* mark : {"", "T"}) {
                std::string t = "P";
                t.append(mark).append(v).append(unit);
                expect_same(t);
            }
    EXPECT_GT(shortcut_taken, 5000);
}

TEST_F(FastRead, DurationForms) {
    const char* const kTexts[] = {
        "P1Y2M10DT2H30M", "p1y2m10dt2h30m", "-P1Y2M3DT4H5M6S", "PT30M", "-PT30M", "P1M", "PT1M", "P3W", "P1.5W",
        "PT36H", "PT36.5H", "P1Y2M3.5D", "P1M40D", "PT25H30M", "P1Y40D", "P1H", "P1S", "P2D1Y", "P1Y1Y", "P1Y2",
        "P1X", "P12", "P1.5Y2.5M", "P", "-P", "PT", "P1YT", "PT1HT2M", "PT1Y", "PT1D", "P1DT2D", "PT1Y1D1H1M1S",
        "P1Y2M3D4H", "P1Y2M3DT4H5M6S7", "P1Y 2M", "P 1Y", "- P1Y", "--P1Y", "P-1Y", "P+1Y", "P1YZ", "PT1HZ",
        "P1234Y", "P1234T", "P12345Y", "P0Y", "P0D", "PT0S", "P0000Y", "P0001Y2M", "P1Y2M3DT4H5M6.5S", "P1,5D",
        "P2020-01-15", "P20200115", "PT10:30", "P0001-02-03T04:05:06", "P1Y/P2M", "P1Y.", "P.5Y", "P1DT", "PTT1H",
        "PT1H2M3S4", "P9999Y12M31DT23H59M59S", "P10000Y", "P9999Y13M", "P1Y2M32D", "PT24H", "PT60M", "PT60S",
    };
    for (const char* t : kTexts) expect_same(t);
}

// Seeded mutations of common texts: characters replaced, inserted and
// removed, from the alphabet.
TEST_F(FastRead, SeededMutations) {
    const std::string kSeeds[] = {datetime(2020, 1, 15, 10, 30, 0), datetime(1999, 12, 31, 23, 59, 59) + "Z",
                                  "P1Y2M10DT2H30M5S", "-P12Y11M30DT23H59M59S", "PT5M", "P3D"};
    std::mt19937 random(424242);
    for (int round = 0; round < 4000; ++round) {
        std::string t = kSeeds[random() % std::size(kSeeds)];
        for (int edits = 1 + static_cast<int>(random() % 3); edits > 0; --edits) {
            const std::size_t at = random() % (t.size() + 1);
            const char c = kAlphabet[random() % (sizeof kAlphabet - 1)];
            switch (random() % 3) {
            case 0: if (at < t.size()) t[at] = c; break;
            case 1: t.insert(at, 1, c); break;
            default: if (at < t.size()) t.erase(at, 1);
            }
        }
        expect_same(t);
    }
    EXPECT_GT(compared, 100000);
}

// A host whose upper-case table or character classes differ: the shortcut
// must see the characters as the general reader sees them, or leave the
// text to it.
TEST_F(FastRead, HostsWithOtherCharacterTables) {
    struct Table {
        const char* what;
        unsigned char from, to;  // upper case of `from` is `to`
        bool digit_class;        // or: `from` is a digit to the character classes
    };
    const Table kTables[] = {
        {"t not upper-cased", 't', 't', false}, {"- read as _", '-', '_', false},  {": read as ;", ':', ';', false},
        {"T read as U", 'T', 'U', false},        {"5 read as T", '5', 'T', false},  {"1 read as -", '1', '-', false},
        {"0 read as P", '0', 'P', false},        {"y read as W", 'y', 'W', false},  {"Y read as D", 'Y', 'D', false},
        {"z read as Z", 'z', 'Y', false},        {"- is a digit", '-', '-', true},  {"Y is a digit", 'Y', 'Y', true},
        {"M is a digit", 'M', 'M', true},
    };
    const char* const kTexts[] = {"2020-01-15T10:30:00", "2020-01-15t10:30:00", "2020-01-15T10:30:00Z",
                                  "2020-01-15T10:30:00z", "2015-01-15T10:30:00", "0010-01-15T10:30:00",
                                  "P1Y2M10DT2H30M5S",    "p1y2m10dt2h30m",       "P1234Y5M",
                                  "P5Y",                 "PT5H",                 "P1234M"};
    ServiceAnchor* const reference = v_global_gcb_anchor;
    for (const Table& table : kTables) {
        std::uint8_t upcase[256], classes[256];
        std::memcpy(upcase, reference->upcase, sizeof upcase);
        std::memcpy(classes, reference->char_class, sizeof classes);
        if (table.digit_class)
            classes[table.from] |= kCharDigit;
        else
            upcase[table.from] = table.to;
        ServiceAnchor anchor = *reference;
        anchor.upcase = upcase;
        anchor.char_class = classes;
        v_global_gcb_anchor = &anchor;
        for (const char* t : kTexts) {
            SCOPED_TRACE(table.what);
            expect_same(t);
        }
        v_global_gcb_anchor = reference;
    }
}

// The shortcut reads what the benches and the formats write.
TEST_F(FastRead, TakesTheCommonForms) {
    struct Case {
        const char* text;
        const char* packed;
    };
    const Case kCases[] = {
        {"2020-01-15T10:30:00", "2020115103000FFD"}, {"  1582-10-15T00:00:00Z", "1582A15000000FFD"},
        {"9999-12-31T23:59:59", "9999C31235959FFD"}, {"P1Y2M10DT2H30M", "00012100230FFFFC"},
        {"-P1Y2M3DT4H5M6S", "0A01203040506FFC"},     {"PT30M", "FFFFFFFFF30FFFFC"},
        {"-PT30M", "FEFFFFFFF30FFFFC"},               {"P0Y", "0000FFFFFFFFFFFC"},
        {"pt000000000000000059s", "FFFFFFFFFFF59FFC"},
    };
    for (const Case& c : kCases) {
        ExactText t(c.text);
        Entity e;
        ASSERT_TRUE(read_common_form(t.data(), t.size(), &e)) << c.text;
        EXPECT_EQ(hex_of(e.packed, 8), c.packed) << c.text;
        expect_same(c.text);
    }
}

}  // namespace
