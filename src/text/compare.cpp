// Byte-run tests, the case-blind comparison and the two int helpers.
#include "binding/hostcall.h"
#include "text/text.h"

int vzabl(int ch, const char* text, std::int64_t n) {
    const char c = static_cast<char>(ch);
    for (std::int64_t i = 0; i < n; ++i)
        if (text[i] != c) return 0;
    return 1;
}

// Compares each byte, read as 0..255, with the whole int: a ch outside
// 0..255 matches nothing.
int vzatl(int ch, const char* text, std::int64_t n) {
    for (std::int64_t i = 0; i < n; ++i)
        if (static_cast<unsigned char>(text[i]) != ch) return 0;
    return 1;
}

int wzbcup(const char* a, const char* b, int n) {
    const std::uint8_t* up = hostcall::upcase_table();
    for (int i = 0; i < n; ++i) {
        const unsigned char x = static_cast<unsigned char>(a[i]);
        const unsigned char y = static_cast<unsigned char>(b[i]);
        if (x == y) continue;
        if (up[x] != up[y]) return static_cast<int>(up[x]) - static_cast<int>(up[y]);
    }
    return 0;
}

int min(int a, int b) { return a < b ? a : b; }
int max(int a, int b) { return a >= b ? a : b; }
