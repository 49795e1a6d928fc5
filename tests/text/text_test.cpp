// The fixed-width text routines.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "support/static_host.h"
#include "text/text.h"

namespace {

TEST(Text, ByteRunsAndSearches) {
    EXPECT_EQ(vzabl(' ', "    ", 4), 1);
    EXPECT_EQ(vzabl(' ', "  x ", 4), 0);
    EXPECT_EQ(vzabl('x', "", 0), 1);
    EXPECT_EQ(vzabl(0x120, "    ", 4), 1);  // only the low byte counts
    EXPECT_EQ(vzatl(0x120, "    ", 4), 0);  // the whole int counts
    EXPECT_EQ(vzatl(0xE9, "\xE9\xE9", 2), 1);  // bytes read as 0..255
    EXPECT_EQ(vzatl('x', "", -1), 1);
    EXPECT_EQ(wzstpos("12:34", 5, ':'), 2);
    EXPECT_EQ(wzstpos("a\xE9", 2, 0xE9), 1);
    EXPECT_EQ(wzstpos(nullptr, 5, ':'), -1);
    EXPECT_EQ(wzstnot("   x", 4, ' '), 3);
    EXPECT_EQ(wzstnot("    ", 4, ' '), -1);
    EXPECT_EQ(wzstnot("x", 0, ' '), -1);
    EXPECT_EQ(wzstlen(nullptr), 0);
}

TEST(Text, VzmpCopiesThenPadsOverlapSafe) {
    const struct {
        int srclen, dstlen;
        const char* want;
    } cases[] = {{5, 3, "abc"}, {3, 5, "abc  "}, {0, 4, "    "}, {3, 0, ""}};
    for (const auto& c : cases) {
        char dst[8];
        std::memset(dst, '#', sizeof dst);
        vzmp("abcde", c.srclen, dst, c.dstlen);
        EXPECT_EQ(std::string(dst, c.dstlen + 1), std::string(c.want) + "#");
    }
    char text[] = "abcdefgh";
    vzmp(text, 6, text + 2, 6);
    EXPECT_STREQ(text, "ababcdef");
}

TEST(Text, WzbcupThroughHostTable) {
    testing_support::StaticHost h;
    EXPECT_EQ(wzbcup("n8601diag", "N8601DIAG", 9), 0);
    EXPECT_EQ(wzbcup("abc", "xyz", 0), 0);
    EXPECT_EQ(wzbcup("abc", "ABD", 3), 'C' - 'D');
    EXPECT_EQ(wzbcup("\xFF", "\x01", 1), 0xFF - 0x01);  // unsigned bytes
}

TEST(Text, WzclchrFieldsAndOverflow) {
    const struct {
        std::int64_t value;
        int width;
        const char* want;
        std::int32_t status;
    } cases[] = {
        {0, 1, "0", 0},
        {123, 5, "  123", 0},
        {100, 2, "**", status::kFieldTooNarrow},
        {-12, 3, "-12", 0},
        {-12, 2, "**", status::kFieldTooNarrow},
        {-9, 1, "*", status::kFieldTooNarrow},
        {-9, 4, "  -9", 0},
        {INT64_MAX, 19, "9223372036854775807", 0},
        {INT64_MIN, 20, "-9223372036854775808", 0},
        {INT64_MIN, 19, "*******************", status::kFieldTooNarrow},
    };
    for (const auto& c : cases) {
        char field[24];
        std::memset(field, '#', sizeof field);
        EXPECT_EQ(wzclchr(c.value, field, c.width), c.status) << c.value;
        EXPECT_EQ(std::string(field, c.width + 1), std::string(c.want) + "#") << c.value;
    }
}

TEST(Text, WzstdelFixedAndStringModes) {
    char fixed[] = "1960-01-01T00:00:00.5+05:00";
    EXPECT_EQ(wzstdel(fixed, 27, "-:.", 3), 21);
    EXPECT_EQ(std::string(fixed, 27), "19600101T0000005+0500      ");
    char string_mode[] = "12:34:56";
    EXPECT_EQ(wzstdel(string_mode, -1, ":", -1), 6);
    EXPECT_EQ(std::memcmp(string_mode, "123456\0", 7), 0);
    char untouched[] = "12:34:56";
    EXPECT_EQ(wzstdel(untouched, 8, ":", 0), 8);
    EXPECT_STREQ(untouched, "12:34:56");
    char high[] = "a\xF0" "b\xF0";
    EXPECT_EQ(wzstdel(high, 4, "\xF0", 1), 2);
    EXPECT_EQ(std::string(high, 4), "ab  ");
}

TEST(Text, WzstjlsJustifiesAndMeasures) {
    const struct {
        const char* text;
        int code;
        const char* want;
        int length, start;
    } cases[] = {
        {"        ", 'L', "        ", 0, 0}, {" ab ", 'R', "  ab", 2, 2},
        {" ab ", 'n', " ab ", 2, 1},         {"abc       ", 'C', "   abc    ", 3, 3},
        {"   a b    ", 'c', "   a b    ", 3, 3}, {"      abc ", 'l', "abc       ", 3, 0},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        int length = -1, start = -1;
        wzstjls(text.data(), static_cast<int>(text.size()), c.code, &length, &start);
        EXPECT_EQ(text, c.want) << '"' << c.text << "\" " << char(c.code);
        EXPECT_EQ(length, c.length) << c.text;
        EXPECT_EQ(start, c.start) << c.text;
    }
}

// Long fields take the word-at-a-time path: every position of the last
// non-blank, at every alignment, against a plain scan. The bytes around the
// field are not blank, so a read outside it would show.
TEST(Text, WzstripWordScanMatchesByteScan) {
    EXPECT_EQ(wzstrip("x", -3), -3);
    alignas(8) char buffer[96];
    for (int offset = 0; offset < 8; ++offset)
        for (int n = 0; n <= 70; ++n)
            for (int last = -1; last < n; ++last) {
                std::memset(buffer, 'x', sizeof buffer);
                char* field = buffer + 8 + offset;
                std::memset(field, ' ', static_cast<std::size_t>(n));
                if (last >= 0) field[last] = last % 2 ? '\t' : 'z';
                ASSERT_EQ(wzstrip(field, n), last + 1) << "offset " << offset << " n " << n;
            }
}

// Only the low byte of `to` and `from` counts, and nothing outside the text
// is touched, at every length.
TEST(Text, WzstrncReplacesInsideTheText) {
    char date[] = "2015/01/02";
    wzstrnc(date, 10, 0x12D, '/');
    EXPECT_STREQ(date, "2015-01-02");
    for (int n = 0; n <= 100; ++n) {
        std::string input(static_cast<std::size_t>(n), 'a');
        for (int i = 0; i < n; ++i) input[i] = "/a/b//\xFF-"[(i * 7 + n) % 8];
        std::string want = "/" + input + "/";
        for (int i = 1; i <= n; ++i)
            if (want[i] == '/') want[i] = '-';
        std::string got = "/" + input + "/";
        wzstrnc(got.data() + 1, n, '-', '/');
        ASSERT_EQ(got, want) << "n " << n;
    }
}

TEST(Text, FillBytesEveryLengthStaysInside) {
    char buffer[260];
    for (int n = -1; n <= 250; ++n) {
        std::memset(buffer, '#', sizeof buffer);
        fill_bytes(buffer + 3, n, '*');
        const int filled = n > 0 ? n : 0;
        ASSERT_EQ(std::string(buffer + 2, filled + 2), "#" + std::string(filled, '*') + "#") << n;
    }
}

}  // namespace

// wzstdel against a plain filter: texts over a small alphabet (so members
// are common), sets of one to eight characters, fixed-width and string mode.
TEST(Text, WzstdelMatchesAPlainFilterOnSeededTexts) {
    std::uint64_t state = 0x9FB21C651E98DF25ull;
    auto next = [&] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<unsigned>(state >> 33);
    };
    const char alphabet[] = "0123-:.+ TZ\xF0";
    for (int round = 0; round < 20000; ++round) {
        const int n = static_cast<int>(next() % 40);
        const int setn = 1 + static_cast<int>(next() % 8);
        std::string text(static_cast<std::size_t>(n), ' '), set(static_cast<std::size_t>(setn), ' ');
        for (char& c : text) c = alphabet[next() % (sizeof alphabet - 1)];
        for (char& c : set) c = alphabet[next() % (sizeof alphabet - 1)];
        std::string want;
        for (char c : text)
            if (set.find(c) == std::string::npos) want += c;
        const bool string_mode = round % 2 == 1;
        std::string got = text + '\0';
        const int kept = wzstdel(got.data(), string_mode ? -1 : n, set.data(), setn);
        ASSERT_EQ(kept, static_cast<int>(want.size())) << text << " / " << set;
        if (string_mode)
            ASSERT_EQ(std::string(got.c_str()), want) << text << " / " << set;
        else
            ASSERT_EQ(got.substr(0, static_cast<std::size_t>(n)), want + std::string(n - want.size(), ' '))
                << text << " / " << set;
    }
}
