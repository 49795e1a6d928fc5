// The tool's value reader against the general reading of the same text:
// plain decimals, which it reads itself, must give the bits from_chars
// gives, and every other text the same answer as read_value.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

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
    const std::string strays = " x/:.-+e\t\xFA\x7F";
    for (int i = 0; i < 300000; ++i) {
        std::string text;
        if (rng() % 4 == 0) text += '-';
        const int whole = static_cast<int>(rng() % 18), fraction = static_cast<int>(rng() % 18);
        for (int k = 0; k < whole; ++k) text += static_cast<char>('0' + rng() % 10);
        if (rng() % 2) {
            text += '.';
            for (int k = 0; k < fraction; ++k) text += static_cast<char>('0' + rng() % 10);
        }
        if (rng() % 8 == 0) text.insert(rng() % (text.size() + 1), 1, strays[rng() % strays.size()]);
        expect_same(reader, entry, rules, text);
        if (HasFatalFailure()) return;
    }
}

}  // namespace
}  // namespace e2e
