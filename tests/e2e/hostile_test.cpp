// Hostile input at every entry point, through the loaded plug-ins: empty and
// 100,000-character texts, NUL and non-ASCII bytes, 40-digit numbers, every
// problem code the informats give, widths, decimals and capacities at the
// edges with the validation flag off and on, NaNs of every payload,
// infinities, subnormals and -0. Each case must give a result within the
// room it was given (the host's buffers are exactly that room, so a
// sanitizer sees any access beyond it) or a clean refusal.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include <isofmt/host.h>

#include "abi/call_block.h"
#include "isofmt/tool.h"  // tools/isofmt

namespace e2e {
namespace {

using isofmt::CatalogueEntry;
using isofmt::Host;
using isofmt::Kind;
using isofmt::Request;
using isofmt::Shape;

class Hostile : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        host = new Host(config());
        host->load_directory(ISOFMT_PLUGIN_DIR);
    }
    static void TearDownTestSuite() {
        delete host;
        host = nullptr;
    }
    static isofmt::HostConfig config() {
        isofmt::HostConfig c;
        c.debug = "N8601DIAG";  // problems are logged as they would be in use
        c.log = [](std::string_view) {};
        return c;
    }
    static std::vector<const CatalogueEntry*> entries(Kind kind, bool numeric) {
        std::vector<const CatalogueEntry*> out;
        for (const auto& e : host->catalogue())
            if (e.kind == kind && (e.shape == Shape::numeric) == numeric) out.push_back(&e);
        return out;
    }
    static Host* host;
};
Host* Hostile::host = nullptr;

double from_bits(std::uint64_t bits) {
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// NaNs of every kind of payload: quiet and signalling, either sign, the
// smallest and largest payloads and the 27 special missing values.
std::vector<double> nans() {
    std::vector<double> v = {std::nan(""), -std::nan("")};
    for (std::uint64_t bits : {0x7FF0000000000001ull, 0x7FF4000000000000ull, 0x7FF8000000000001ull,
                               0x7FFFFFFFFFFFFFFFull, 0xFFF0000000000001ull, 0xFFFFFFFFFFFFFFFFull})
        v.push_back(from_bits(bits));
    for (std::uint64_t k = 1; k <= 27; ++k) v.push_back(from_bits(0xFFFFFF0000000000ull | k << 32));
    return v;
}

const double kExtremes[] = {
    std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
    std::numeric_limits<double>::max(), -std::numeric_limits<double>::max(), 1e300, -1e300, 1e15, -1e15,
    2147483648.0, -2147483649.0, 9.2233720368547758e18, -9.2233720368547758e18};

// What the host hands to a routine: -1 (the default) or width 1, decimals
// and capacity 0, to kMaxField; anything else is refused before any call.
bool host_accepts(int width, int decimals, int capacity) {
    auto in = [](int v, int low) { return v == -1 || (v >= low && v <= isofmt::kMaxField); };
    return in(width, 1) && in(decimals, 0) && in(capacity, 0);
}

bool validation_status(std::int32_t s) {
    return s == status::kWidthBelowMin || s == status::kWidthAboveMax || s == status::kDecimalsBelowMin ||
           s == status::kDecimalsAboveMax;
}

std::vector<int> edge_widths(const CatalogueEntry& e) {
    return {-2, -1, 0, 1, e.min_width - 1, e.min_width, e.default_width, e.max_width, e.max_width + 1, 32767, INT_MIN};
}
std::vector<int> edge_decimals(const CatalogueEntry& e) {
    return {-1, 0, 1, e.max_decimals, e.max_decimals + 1, 32767, INT_MAX, INT_MIN};
}

// Every numeric format, every edge of width and decimals, validation off and
// on: within the room; a validation refusal writes nothing; with the flag on
// and the width and decimals within the entry's limits nothing is refused.
TEST_F(Hostile, NumericFormatsAtEveryEdge) {
    for (const CatalogueEntry* e : entries(Kind::format, true))
        for (int width : edge_widths(*e))
            for (int decimals : edge_decimals(*e))
                for (bool validate : {false, true}) {
                    const Request r{.width = width, .decimals = decimals, .validate = validate};
                    const int w = width == -1 ? e->default_width : width;
                    const int d = decimals == -1 ? e->default_decimals : decimals;
                    const bool in_limits = w >= e->min_width && w <= e->max_width && d >= e->min_decimals &&
                                           d <= e->max_decimals;
                    if (!host_accepts(width, decimals, -1)) {
                        EXPECT_THROW(host->format(*e, 0.0, r), isofmt::Error);
                        continue;
                    }
                    for (double v : {0.0, 86399.999, -1.5, 1e10, std::nan(""), 1e300}) {
                        const auto got = host->format(*e, v, r);
                        SCOPED_TRACE(e->name + " w=" + std::to_string(width) + " d=" + std::to_string(decimals) +
                                     " v=" + std::to_string(v) + (validate ? " validated" : ""));
                        EXPECT_LE(got.text.size(), static_cast<std::size_t>(std::max(w, 0)));
                        if (validation_status(got.status)) {
                            EXPECT_TRUE(validate);
                            EXPECT_FALSE(in_limits);
                            EXPECT_EQ(got.text, "");
                        } else if (w > 0) {
                            EXPECT_EQ(got.text.size(), static_cast<std::size_t>(w));
                        }
                        if (validate && !in_limits) {
                            EXPECT_TRUE(validation_status(got.status));
                        }
                    }
                }
}

// Every NaN is the missing value; the extremes are within the room; a
// subnormal and -0 show as 0 does.
TEST_F(Hostile, NumericFormatsOnSpecialValues) {
    // (A negative subnormal is before the epoch: the day before, or a
    // negative elapsed time.)
    const double subnormals[] = {std::numeric_limits<double>::denorm_min(), -0.0,
                                 std::numeric_limits<double>::min() / 2};
    for (const CatalogueEntry* e : entries(Kind::format, true))
        for (int decimals : {0, e->max_decimals}) {
            const Request r{.width = e->max_width, .decimals = decimals};
            SCOPED_TRACE(e->name + " d=" + std::to_string(decimals));
            const auto missing = host->format(*e, std::nan(""), r);
            for (double v : nans()) EXPECT_EQ(host->format(*e, v, r).text, missing.text);
            EXPECT_EQ(host->format(*e, -std::numeric_limits<double>::denorm_min(), r).text.size(),
                      static_cast<std::size_t>(e->max_width));
            for (double v : kExtremes)
                EXPECT_EQ(host->format(*e, v, r).text.size(), static_cast<std::size_t>(e->max_width)) << v;
            const auto zero = host->format(*e, 0.0, r);
            for (double v : subnormals) EXPECT_EQ(host->format(*e, v, r).text, zero.text) << v;
        }
}

std::string repeated(std::string_view unit, std::size_t length) {
    std::string s;
    while (s.size() < length) s += unit;
    s.resize(length);
    return s;
}

const std::string kForty = repeated("1234567890", 40);

// Texts no informat or packed format should trip over.
std::vector<std::string> hostile_texts() {
    using namespace std::string_literals;
    return {"",
            repeated("P", 100000),
            repeated("9", 100000),
            repeated(" ", 100000),
            repeated("P1Y", 100000),
            "\0"s,
            "P1Y\0M"s,
            "2020-01-01\0T10:00:00"s,
            "P1\xC3\x9D",
            "\xFF\xFE\xFD\x80",
            "\xEF\xBC\xB0\xEF\xBC\x91\xEF\xBC\xB9",  // full-width P1Y
            kForty,
            "P" + kForty + "Y",
            "PT" + kForty + "S",
            "P1Y." + kForty + "M",
            "2020-01-01T" + kForty,
            kForty + "-01-01",
            "2020-01-01T00:00:00/" + kForty,
            "FFFFFFFFFFFFFFFF",
            repeated("F", 32),
            "0001203040506FFC",
            "2020115103000FFD000000000000000G",
            "0001203040506FFZ",
            "0001203040506FF",
            "0001203040506FFC0"};
}

// Every informat on every hostile text, every edge of width and capacity and
// any parse mode: a problem code from 0 to 27, within the target.
TEST_F(Hostile, InformatsOnHostileTexts) {
    for (const CatalogueEntry* e : entries(Kind::informat, false))
        for (const std::string& text : hostile_texts())
            for (int width : {-1, 0, 1, 16, 32767, INT_MIN})
                for (int capacity : {-1, 0, 1, 15, 16, 31, 32, 32767})
                    for (std::int32_t mode : {0, 0x80, 0x100, 0x200, -1, INT_MAX, INT_MIN}) {
                        const Request r{.width = width, .capacity = capacity, .mode = mode};
                        if (!host_accepts(width, -1, capacity)) {
                            EXPECT_THROW(host->informat(*e, text, r), isofmt::Error);
                            continue;
                        }
                        const auto got = host->informat(*e, text, r);
                        SCOPED_TRACE(e->name + " '" + text.substr(0, 40) + "' w=" + std::to_string(width) +
                                     " c=" + std::to_string(capacity) + " mode=" + std::to_string(mode));
                        EXPECT_GE(got.status, 0);
                        EXPECT_LE(got.status, 27);
                        const int room = capacity == -1 ? (e->name == "IS860VL" ? 32 : 16) : capacity;
                        EXPECT_LE(got.text.size(), static_cast<std::size_t>(std::max(room, 0)));
                    }
}

// Every packed format on every hostile text, widths, capacities and option
// words at the edges: within the room.
TEST_F(Hostile, PackedFormatsOnHostileTexts) {
    for (const CatalogueEntry* e : entries(Kind::format, false))
        for (const std::string& text : hostile_texts())
            for (int width : {-1, 0, 1, e->max_width, e->max_width + 1, 32767, INT_MIN})
                for (int capacity : {-1, 0, 1, 16, 32767, INT_MIN})
                    for (std::int32_t options : {0, 1, 4, 0x1000, -1, INT_MAX, INT_MIN}) {
                        const Request r{.width = width, .capacity = capacity, .options = options, .dt_options = ~options};
                        if (!host_accepts(width, -1, capacity)) {
                            EXPECT_THROW(host->format_packed(*e, text, r), isofmt::Error);
                            continue;
                        }
                        const auto got = host->format_packed(*e, text, r);
                        const int w = width == -1 ? e->default_width : width;
                        const int room = capacity == -1 ? w : capacity;
                        EXPECT_LE(got.text.size(), static_cast<std::size_t>(std::max(room, 0)))
                            << e->name << " '" << text.substr(0, 40) << "' w=" << width << " c=" << capacity;
                    }
}

// The problem codes the informats give, each through the host with its
// message.
struct CodeCase {
    const char* informat;
    const char* text;
    std::int32_t mode;
    int capacity;
    int code;
};
const CodeCase kCodes[] = {
    {"IS860DU", "12345678901234567890123", 0, -1, 1},
    {"IS860DU", "PY", 0, -1, 2},
    {"IS860DU", "PT-.5S", 0, -1, 2},  // an omitted component before a decimal sign
    {"IS860VL", "2020-01-01T10:00:-.5", 0, -1, 2},
    {"IS860VL", "p-w", 0, -1, 2},  // an omitted component before a unit letter
    {"IS860DU", "P1Y-M", 0, -1, 2},
    {"IS860PD", "P1", 0, -1, 3},
    {"IS860DU", "2020Y", 0, -1, 4},
    {"IS860DU", "P1Y-2M", 0, -1, 5},
    {"IS860VL", "P1D2M", 0, -1, 6},
    {"IS860PD", "2020-13-01", 0, -1, 7},
    {"IS860VL", "2020-02-30", 0, -1, 8},
    {"IS860DU", "2020-01-01T10:00:00+2500", 0, -1, 9},
    {"IS860PD", "2020-01-01T10:00:00Y", 0, -1, 12},
    {"IS860VL", "/", 0, -1, 13},
    {"IS860VL", "P1D/P2D", 0, -1, 14},
    {"IS860VL", "2020-01-01T00:00:00", 0, -1, 16},
    {"IS860DU", "2020-1-1", 0x80, -1, 17},
    {"IS860DU", "20200101T1000", 0x80, -1, 18},
    {"IS860DU", "P1.5Y2.5M", 0, -1, 20},
    {"IS860PD", "P1H", 0, -1, 21},
    {"IS860DU", "P1Y", 0, 10, 22},
    {"IS860VL", "P1Y/2020-01-01", 0, 31, 22},
    {"IS860VL", "P1DT", 0, -1, 23},
};

TEST_F(Hostile, EveryProblemCodeOfTheInformats) {
    for (const CodeCase& c : kCodes) {
        const auto got =
            host->informat(*host->find(c.informat, Kind::informat), c.text, {.capacity = c.capacity, .mode = c.mode});
        EXPECT_EQ(got.status, c.code) << c.informat << " " << c.text;
    }
}

// The request itself: a width or capacity beyond the largest a host gives is
// refused, not allocated; the wrong call for an entry is refused.
TEST_F(Hostile, RequestsBeyondTheLimits) {
    const CatalogueEntry& da = *host->find("E8601DA", Kind::format);
    const CatalogueEntry& du = *host->find("IS860DU", Kind::format);
    const CatalogueEntry& dui = *host->find("IS860DU", Kind::informat);
    for (int big : {isofmt::kMaxField + 1, INT_MAX}) {
        EXPECT_THROW(host->format(da, 0, {.width = big}), isofmt::Error);
        EXPECT_THROW(host->format(da, 0, {.capacity = big}), isofmt::Error);
        EXPECT_THROW(host->format_packed(du, "0001203040506FFC", {.width = big}), isofmt::Error);
        EXPECT_THROW(host->informat(dui, "P1Y", {.capacity = big}), isofmt::Error);
    }
    EXPECT_EQ(host->format(da, 0, {.width = isofmt::kMaxField}).text.size(),
              static_cast<std::size_t>(isofmt::kMaxField));
    EXPECT_THROW(host->format(du, 0, {}), isofmt::Error);
    EXPECT_THROW(host->format_packed(da, "", {}), isofmt::Error);
    EXPECT_THROW(host->informat(da, "", {}), isofmt::Error);
}

// The tool's reading of FORMAT names, values and option words: each text is
// read as the table says or refused with a usage error.
TEST_F(Hostile, ToolReadingOfArguments) {
    using isofmt::tool::UsageError;
    using namespace std::string_literals;
    struct FormatCase {
        std::string text;
        int width, decimals;  // -1: refused
    };
    const FormatCase formats[] = {
        {"E8601DZ", 26, 0},          {"e8601dz26.3", 26, 3},     {"E8601DZ32767", 32767, 0},
        {"E8601DZ32768", -1, 0},     {"E8601DZ2147483648", -1, 0}, {"E8601DZ" + kForty, -1, 0},
        {"E8601DZ0", -1, 0},         {"E8601DZ-1", -1, 0},       {"E8601DZ26.", 26, 0},
        {"E8601DZ.3", 26, 3},        {"E8601DZ26.-1", -1, 0},    {"E8601DZ26.32768", -1, 0},
        {"", -1, 0},                 {"E8601DZ\0"s, -1, 0},      {"E8601DZ26\0"s, -1, 0},
        {"\xC3\x89" "8601DZ", -1, 0},   {repeated("E", 100000), -1, 0},
    };
    for (const FormatCase& c : formats) {
        if (c.width < 0) {
            EXPECT_THROW(isofmt::tool::select_format(*host, c.text, Kind::format), UsageError) << c.text.substr(0, 40);
            continue;
        }
        const auto s = isofmt::tool::select_format(*host, c.text, Kind::format);
        EXPECT_EQ(s.entry->name, "E8601DZ");
        EXPECT_EQ(s.width, c.width) << c.text;
        EXPECT_EQ(s.decimals, c.decimals) << c.text;
    }
    // Values as a datetime format reads them.
    const isofmt::CatalogueEntry* datetime = host->find("E8601DT", Kind::format);
    ASSERT_NE(datetime, nullptr);
    const auto number = [&](const std::string& text) {
        isofmt::tool::FormatValue v;
        std::string problem;
        if (!isofmt::tool::read_value(*datetime, text, {}, v, problem)) throw UsageError(problem);
        return v.number;
    };
    const std::string refused_values[] = {"", repeated("9", 100000) + "x", "\0"s, "1\0"s, "\xC3\xA9", "P1Y", "1e400x", "--1"};
    for (const std::string& v : refused_values) EXPECT_THROW(number(v), UsageError) << v.substr(0, 40);
    EXPECT_TRUE(std::isnan(number(" NaN ")));
    EXPECT_TRUE(std::isnan(number(".")));
    EXPECT_TRUE(std::signbit(number("-0")));
    EXPECT_EQ(number(kForty), 1.2345678901234568e39);
    EXPECT_EQ(number("4.9e-324"), std::numeric_limits<double>::denorm_min());
    const std::string refused_words[] = {"", "0x", "0x100000000", "2147483648", "-2147483649", "+-1", "\0"s, kForty};
    for (const std::string& w : refused_words)
        EXPECT_THROW(isofmt::tool::parse_word("--options", w), UsageError) << w.substr(0, 40);
    EXPECT_EQ(isofmt::tool::parse_word("--options", "0xFFFFFFFF"), -1);
    EXPECT_EQ(isofmt::tool::parse_word("--options", "-2147483648"), INT_MIN);
}

}  // namespace
}  // namespace e2e
