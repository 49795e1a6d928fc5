// Sign tables of the packed encoding and the single-unit codes.
#include "duration/duration.h"

namespace {

// The packed-decimal bytes 0x00..0x99 in ascending order, then 0xFF.
constexpr std::array<std::uint8_t, 101> make_postxt() {
    std::array<std::uint8_t, 101> t{};
    for (int i = 0; i < 100; ++i) t[i] = static_cast<std::uint8_t>((i / 10) << 4 | (i % 10));
    t[100] = 0xFF;
    return t;
}

// The first hundred byte values with a nibble above 9, ascending, then 0xFE.
constexpr std::array<std::uint8_t, 101> make_negtxt() {
    std::array<std::uint8_t, 101> t{};
    int n = 0;
    for (int b = 0; b < 256 && n < 100; ++b)
        if ((b >> 4) > 9 || (b & 0xF) > 9) t[n++] = static_cast<std::uint8_t>(b);
    t[100] = 0xFE;
    return t;
}

}  // namespace

constexpr std::array<std::uint8_t, 101> postxt = make_postxt();
constexpr std::array<std::uint8_t, 101> negtxt = make_negtxt();
constexpr std::array<std::uint8_t, 7> poss = {1, 2, 3, 4, 8, 16, 32};

static_assert(postxt[0] == 0x00 && postxt[10] == 0x10 && postxt[99] == 0x99 && postxt[100] == 0xFF);
static_assert(negtxt[0] == 0x0A && negtxt[5] == 0x0F && negtxt[6] == 0x1A);
static_assert(negtxt[59] == 0x9F && negtxt[60] == 0xA0 && negtxt[99] == 0xC7 && negtxt[100] == 0xFE);
