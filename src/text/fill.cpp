// In-place byte fills for blank and asterisk fields. Fields of up to 96 bytes
// are filled with 16-byte stores (the last one overlapping the previous when
// the length is not a multiple of 16); longer fields go to the library fill.
#include <cstring>

#include "text/text.h"

namespace {

typedef char Bytes16 __attribute__((vector_size(16)));

inline void store16(char* dst, Bytes16 v) { std::memcpy(dst, &v, 16); }

// Fewer than 16 bytes: two overlapping stores of the largest power of two
// that fits.
inline void fill_short(char* dst, int n, char ch) {
    if (n >= 8) {
        std::uint64_t v = 0x0101010101010101ull * static_cast<unsigned char>(ch);
        std::memcpy(dst, &v, 8);
        std::memcpy(dst + n - 8, &v, 8);
    } else if (n >= 4) {
        std::uint32_t v = 0x01010101u * static_cast<unsigned char>(ch);
        std::memcpy(dst, &v, 4);
        std::memcpy(dst + n - 4, &v, 4);
    } else if (n > 0) {
        dst[0] = ch;
        dst[n / 2] = ch;
        dst[n - 1] = ch;
    }
}

}  // namespace

void fill_bytes(char* dst, int n, char ch) {
    if (n < 16) {
        fill_short(dst, n, ch);
        return;
    }
    if (n > 96) {
        std::memset(dst, static_cast<unsigned char>(ch), static_cast<std::size_t>(n));
        return;
    }
    Bytes16 v = Bytes16{} + ch;
    for (int i = 0; i + 16 <= n; i += 16) store16(dst + i, v);
    store16(dst + n - 16, v);
}
