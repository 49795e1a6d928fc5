// The tool's value reader against the general reading of the same text:
// plain decimals, which it reads itself, must give the bits from_chars
// gives, and every other text the same answer as read_value.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "isofmt/decimal_line.h"
#include "isofmt/tool.h"

namespace e2e {
namespace {

using isofmt::CatalogueEntry;
using isofmt::tool::FormatValue;
using isofmt::tool::ValueReader;
using isofmt::tool::ValueRules;

CatalogueEntry datetime_entry() {
    CatalogueEntry e;
    e.name = "E8601DT";
    e.shape = isofmt::Shape::numeric;
    return e;
}

// A decimal of up to `longest` - 1 digits before and after an optional
// point, negative one time in four, with one of the strays now and then.
std::string seeded_decimal(std::mt19937_64& rng, unsigned longest, const std::string& strays) {
    std::string text;
    if (rng() % 4 == 0) text += '-';
    const auto whole = rng() % longest, fraction = rng() % longest;
    for (unsigned k = 0; k < whole; ++k) text += static_cast<char>('0' + rng() % 10);
    if (rng() % 2) {
        text += '.';
        for (unsigned k = 0; k < fraction; ++k) text += static_cast<char>('0' + rng() % 10);
    }
    if (rng() % 8 == 0) text.insert(rng() % (text.size() + 1), 1, strays[rng() % strays.size()]);
    return text;
}

// The reader's answer equals read_value's; for a number, also the bits of
// the same text read with an exponent (which only from_chars takes).
void expect_same(const ValueReader& reader, const CatalogueEntry& entry, const ValueRules& rules,
                 const std::string& text) {
    FormatValue fast, general;
    std::string fast_problem, general_problem;
    const bool fast_ok = reader.read(text, fast, fast_problem);
    const bool general_ok = isofmt::tool::read_value(entry, text, rules, general, general_problem);
    ASSERT_EQ(fast_ok, general_ok) << "'" << text << "'";
    if (!fast_ok) {
        EXPECT_EQ(fast_problem, general_problem) << "'" << text << "'";
        return;
    }
    EXPECT_EQ(std::bit_cast<std::uint64_t>(fast.number), std::bit_cast<std::uint64_t>(general.number))
        << "'" << text << "'";
    FormatValue exact;
    std::string problem;
    if (!std::isnan(general.number) && text.find_first_of("0123456789") != std::string::npos &&
        text.find_first_of("eE") == std::string::npos &&
        isofmt::tool::read_value(entry, text + "e0", rules, exact, problem)) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(fast.number), std::bit_cast<std::uint64_t>(exact.number))
            << "'" << text << "'";
    }
}

TEST(ValueReader, CornerTexts) {
    const CatalogueEntry entry = datetime_entry();
    for (const char* missing : {".", "NA", " 0 ", "-1"}) {
        const ValueRules rules{missing};
        const ValueReader reader(entry, rules);
        for (const char* text :
             {"", " ", ".", "-", "+", "-.", "5.", ".5", "-.5", "+5", "+-5", "-0", "0", "00000000", "000000001",
              "12345678", "123456789", "1234567.8", "12345678.9", "123456789012345", "1234567890123456",
              "12345678.1234567", "12345678.12345678", "99999999999999.9", "999999999999999",
              "-999999999999999", "0.000000000000001", "1e5", "1E5", "nan", "NaN", "NA", "-1", " 42 ", "\t42\n",
              "4 2", "42x", "x42", "1234567x", "12345678x", "1234567/", "1234567:", "12.34.5", "..5",
              "1960-01-01", "2020-01-15T10:30:00", "20200115T103000Z", "\xFA" "1234567", "123\xFA" "4567"})
            expect_same(reader, entry, rules, text);
    }
}

// Seeded decimals of every length around the eight-character steps, with a
// stray character now and then.
TEST(ValueReader, SeededDecimals) {
    const CatalogueEntry entry = datetime_entry();
    const ValueRules rules{"."};
    const ValueReader reader(entry, rules);
    std::mt19937_64 rng(8601);
    for (int i = 0; i < 300000; ++i) {
        expect_same(reader, entry, rules, seeded_decimal(rng, 18, " x/:.-+e\t\xFA\x7F"));
        if (HasFatalFailure()) return;
    }
}

// The short lines that the stream reads in place must be the plain decimals
// of at most 15 characters: [-]digits[.digits], a point with a digit after
// it, one digit at least.
bool is_short_decimal(const std::string& line) {
    if (line.size() > 15) return false;
    std::size_t i = line.rfind('-', 0) == 0 ? 1 : 0, before = 0, after = 0;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) ++before;
    if (i < line.size() && line[i] == '.')
        for (++i; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) ++after;
    return i == line.size() && before + after > 0 && (after > 0 || line.find('.') == std::string::npos);
}

// read_decimal_line on the line between 16 bytes before it and what follows
// its end (LF, CR LF or none, then junk), in a buffer of exactly the bytes
// it may read: 16 before the line and 16 from its start.
void expect_line(const std::string& line, const std::string& end, char junk) {
    std::string window = line + end;
    window.resize(16, junk);
    std::vector<char> buffer(16, junk);
    buffer.insert(buffer.end(), window.begin(), window.end());
    double value = 0;
    const unsigned length = isofmt::tool::detail::read_decimal_line(buffer.data() + 16, value);
#if defined(__SSE2__)
    const bool read = line.size() < 16 && window[line.size()] == '\n' && is_short_decimal(line);
    ASSERT_EQ(length != 0, read) << "'" << line << "' end " << end.size() << " junk " << int(junk);
#endif
    if (length == 0) return;
    EXPECT_EQ(length, line.size() + 1);
    const std::optional<double> plain = isofmt::tool::detail::read_plain_decimal(line);
    ASSERT_TRUE(plain) << line;
    EXPECT_EQ(std::bit_cast<std::uint64_t>(value), std::bit_cast<std::uint64_t>(*plain)) << "'" << line << "'";
}

TEST(DecimalLine, SameAsPlainReading) {
    const char* const corners[] = {"", "-", ".", "-.", "5.", ".5", "-.5", "-0", "0", "-0.0", "00000000",
                                   "123456789012345", "-12345678901234", "1234567890.12345", "99999999999999.9",
                                   "-9999999999999.9", "0.00000000000001", "-.00000000000001", "1.2.3", "--1",
                                   "1-", "+5", " 5", "5 ", "1e5", "12345678x", "\xFA" "1", "1\x00" "2"};
    const char* const ends[] = {"\n", "\r\n", "", "\n7\n", "x\n"};
    for (const char* line : corners)
        for (const char* end : ends)
            for (char junk : {'\n', '7', '.', '\0'}) expect_line(line, end, junk);
    // Seeded lines of every length, with a stray character now and then.
    std::mt19937_64 rng(1582);
    for (int i = 0; i < 200000 && !HasFatalFailure(); ++i) {
        const std::string line = seeded_decimal(rng, 17, " x/:.-+e\t\r\xFA\x7F");
        expect_line(line, ends[rng() % std::size(ends)], "\n7.\0"[rng() % 4]);
    }
}

}  // namespace
}  // namespace e2e
