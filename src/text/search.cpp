// Measuring and searching fixed-width text.
#include <cstring>

#include "text/text.h"

int wzstlen(const char* s) { return s ? static_cast<int>(std::strlen(s)) : 0; }

int wzstpos(const char* text, int n, int ch) {
    if (!text) return -1;
    const char c = static_cast<char>(ch);
    for (int i = 0; i < n; ++i)
        if (text[i] == c) return i;
    return -1;
}

int wzstnot(const char* text, int n, int ch) {
    if (!text) return -1;
    const char c = static_cast<char>(ch);
    for (int i = 0; i < n; ++i)
        if (text[i] != c) return i;
    return -1;
}

namespace {

constexpr std::uint64_t kBlankWord = 0x2020202020202020ull;

// Offset within an 8-byte word (as laid out in memory) of its last byte that
// differs from the blank; `diff` is the word xor eight blanks, non-zero.
inline int last_differing_byte(std::uint64_t diff) {
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    return (63 - __builtin_clzll(diff)) / 8;
#else
    return 7 - __builtin_ctzll(diff) / 8;
#endif
}

}  // namespace

// Scans from the right. Fields longer than 16 bytes are read eight bytes at
// a time over aligned words once the bytes after the last aligned boundary
// have been looked at one by one; no byte outside the field is read.
int wzstrip(const char* text, int n) {
    if (n <= 0) return n;
    int end = n;
    if (n > 16) {
        while (end > 0 && (reinterpret_cast<std::uintptr_t>(text + end) & 7) != 0) {
            if (text[end - 1] != ' ') return end;
            --end;
        }
        while (end >= 8) {
            std::uint64_t word;
            std::memcpy(&word, text + end - 8, 8);
            const std::uint64_t diff = word ^ kBlankWord;
            if (diff != 0) return end - 8 + last_differing_byte(diff) + 1;
            end -= 8;
        }
    }
    while (end > 0 && text[end - 1] == ' ') --end;
    return end;
}
