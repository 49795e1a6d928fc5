// The host's numeric and missing-value text, hexadecimal digits, integer
// reading and the missing-value notation.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "service_host.h"

namespace {

using runtime_test::ServiceHost;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A call with a target of exactly `width` bytes (the sanitizers see a write
// beyond it) and capacity 0, as the time renderer's fresh block has.
std::string render(std::int32_t (*service)(FormatBlock*), double value, int width, int decimals,
                   Environment* environment = nullptr) {
    auto out = std::make_unique<char[]>(width > 0 ? width : 0);
    FormatBlock b{};
    b.width = width;
    b.decimals = decimals;
    b.value = &value;
    b.output = out.get();
    b.environment = environment;
    service(&b);
    EXPECT_EQ(b.output_length, width > 0 ? width : 0);
    return std::string(out.get(), b.output_length > 0 ? b.output_length : 0);
}

std::int32_t zfmt(FormatBlock* b) { return hostcall::zfmt(b); }
std::int32_t zfmmiss(FormatBlock* b) { return hostcall::zfmmiss(b); }

TEST(Zfmt, RoundsHalfAwayFromZeroAndFitsTheWidth) {
    ServiceHost h;
    struct Case {
        double value;
        int width, decimals;
        const char* text;
    };
    const Case cases[] = {
        {0.5, 1, 0, "1"},        {2.5, 1, 0, "3"},         {56.5, 2, 0, "57"},     {-2.5, 3, 0, " -3"},
        {56.789, 5, 2, "56.79"}, {0.5, 3, 1, "0.5"},       {0.125, 4, 2, "0.13"},  {12.25, 8, 3, "  12.250"},
        {45296.789 - 45240, 5, 2, "56.79"},  // the seconds as the time renderer passes them
        {1.005, 4, 2, "1.01"},   // the decimal value 1.005, not the binary one just below it
        {-0.4, 2, 0, " 0"},      // no sign when nothing negative is left to show
        {9.995, 4, 2, "10.0"},   // decimals give way first...
        {123.456, 3, 2, "123"},  {0.5, 2, 1, " 1"},
        {12345, 4, 0, "****"},   // ...then asterisks
        {-1234, 4, 0, "****"},   {std::numeric_limits<double>::infinity(), 3, 0, "***"},
        {1e20, 21, 0, "100000000000000000000"}, {1e-7, 10, 8, "0.00000010"},
        {0.1, 30, 1000, "0.1000000000000000000000000000"}, {kNaN, 3, 0, "  ."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(render(zfmt, c.value, c.width, c.decimals), c.text) << c.value << " " << c.width << "." << c.decimals;
    }
    EXPECT_EQ(render(zfmt, -1.5, 2000, 0), std::string(1998, ' ') + "-2");
    EXPECT_EQ(render(zfmt, 1.7976931348623157e308, 400, 2).size(), 400u);
    EXPECT_EQ(render(zfmt, 5, -3, 0), "");
}

TEST(Zfmmiss, TheEnvironmentsMissingTextRightAligned) {
    ServiceHost h;
    EXPECT_EQ(render(zfmmiss, kNaN, 5, 3), "    .");
    EXPECT_EQ(render(zfmmiss, kNaN, 0, 0), "");
    Environment* na = h.host.create_environment({.missing_text = "N/A"});
    EXPECT_EQ(render(zfmmiss, kNaN, 5, 0, na), "  N/A");
    EXPECT_EQ(render(zfmmiss, kNaN, 2, 0, na), "N/");
    ServiceHost blank(runtime_test::with_environment({.missing_text = " "}));
    EXPECT_EQ(render(zfmt, kNaN, 3, 2), "   ");  // no environment: the default one's
}

TEST(TextServices, HexDigitsIntegersAndTheMissingNotation) {
    ServiceHost h;
    const std::uint8_t bytes[] = {0x01, 0xAB, 0xFF, 0x5c};
    struct Hex {
        int count, width;
        const char* text;
    };
    for (const Hex& c : {Hex{4, 8, "01ABFF5C"}, Hex{4, 5, "01ABF###"}, Hex{2, 8, "01AB####"}, Hex{4, -1, "########"}}) {
        char out[8];
        std::memset(out, '#', sizeof out);
        hostcall::wzfmhc(bytes, c.count, c.width, 1, out);
        EXPECT_EQ(std::string(out, 8), c.text) << c.count << " " << c.width;
    }

    struct Integer {
        const char* text;
        int limit;
        bool read;
        std::int32_t count;
        std::int64_t value;
    };
    const Integer integers[] = {
        {"123x", 4, true, 3, 123},   {"12345", 2, true, 2, 12}, {"9223372036854775807", 19, true, 19, INT64_MAX},
        {"9223372036854775808", 19, false, 0, 0},  // overflow: not read
        {"9223372036854775799", 19, true, 19, INT64_MAX - 8},  {"9223372036854775810", 19, false, 0, 0},
        {"09223372036854775807", 20, true, 20, INT64_MAX},     {"92233720368547758070", 20, false, 0, 0},
        {"-1", 2, false, 0, 0},      {" 1", 2, false, 0, 0},    {"1", 0, false, 0, 0},
    };
    for (const Integer& c : integers) {
        auto text = std::make_unique<char[]>(c.limit);  // exactly the characters allowed
        std::memcpy(text.get(), c.text, c.limit);
        std::int32_t count = -1;
        std::int64_t value = -1;
        EXPECT_EQ(hostcall::wzrlchr(text.get(), c.limit, 0, &count, &value) == 0, c.read) << c.text;
        EXPECT_EQ(count, c.count) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }

    char scratch[16];
    for (const char* yes : {".", "  .  ", "   ."}) EXPECT_NE(hostcall::wzifmch(yes, std::strlen(yes), scratch), 0) << yes;
    for (const char* no : {"..", "", "   ", "0", ". x", "\t."}) EXPECT_EQ(hostcall::wzifmch(no, std::strlen(no), scratch), 0) << no;
}

// Every byte value, every count up to past the eight-byte steps and every
// width, odd and too small ones included: two digits per byte, high nibble
// first, never beyond the width or the count.
TEST(TextServices, HexDigitsOfEveryByteInEveryWidth) {
    ServiceHost h;
    std::uint8_t bytes[256];
    for (int i = 0; i < 256; ++i) bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
    constexpr char kHex[] = "0123456789ABCDEF";
    for (int start = 0; start < 256; start += 19)
        for (int count = -1; count <= 20; ++count)
            for (int width = -2; width <= 44; ++width) {
                const std::uint8_t* b = bytes + (start + 20 <= 256 ? start : 0);
                std::string expected(48, '#');
                for (int i = 0; i < count && 2 * i < width; ++i) {
                    expected[2 * i] = kHex[b[i] >> 4];
                    if (2 * i + 1 < width) expected[2 * i + 1] = kHex[b[i] & 15];
                }
                std::string out(48, '#');
                hostcall::wzfmhc(b, count, width, 1, out.data());
                ASSERT_EQ(out, expected) << "count " << count << " width " << width;
            }
}

// The environment's missing-value text reads back as missing, as "." does.
TEST(MissingNotation, TheEnvironmentsMissingTextToo) {
    char scratch[16];
    struct Case {
        const char* missing_text;
        std::vector<const char*> yes, no;
    } cases[] = {
        {"NA", {"NA", " NA  ", "."}, {"na", "N A", "NAN", ""}},
        {" - ", {"-", "  -", "."}, {"--", " "}},
        {"", {"", "    ", "."}, {"x"}},
    };
    for (const Case& c : cases) {
        ServiceHost h(runtime_test::with_environment({.missing_text = c.missing_text}));
        for (const char* t : c.yes) EXPECT_NE(hostcall::wzifmch(t, std::strlen(t), scratch), 0) << c.missing_text << ": " << t;
        for (const char* t : c.no) EXPECT_EQ(hostcall::wzifmch(t, std::strlen(t), scratch), 0) << c.missing_text << ": " << t;
    }
}

}  // namespace
