// Fixed-width text routines: a byte pointer and a signed length, blank-padded
// on the right, never NUL-terminated. Positions are 0-based; a search that
// finds nothing gives -1.
#pragma once

#include <cstdint>

extern "C" {
int vzabl(int ch, const char* text, std::int64_t n);
int vzatl(int ch, const char* text, std::int64_t n);
void vzmp(const char* src, int srclen, char* dst, int dstlen);
int wzbcup(const char* a, const char* b, int n);
int wzclchr(std::int64_t value, char* field, int w);
int wzstdel(char* text, int n, const char* set, int setn);
void wzstjls(char* text, int n, int code, int* length, int* start);
int wzstlen(const char* s);
int wzstnot(const char* text, int n, int ch);
int wzstpos(const char* text, int n, int ch);
int wzstrip(const char* text, int n);
void wzstrnc(char* text, int n, int to, int from);
int min(int a, int b);
int max(int a, int b);
}

// a - b and a + b held within int: the widths, decimals and capacities a
// caller gives may be any int, the extremes included.
inline int clamp_to_int(long long v) {
    return v < -2147483647LL - 1 ? -2147483647 - 1 : v > 2147483647LL ? 2147483647 : static_cast<int>(v);
}
inline int sub_sat(int a, int b) { return clamp_to_int(static_cast<long long>(a) - b); }
inline int add_sat(int a, int b) { return clamp_to_int(static_cast<long long>(a) + b); }

// In-place fills used for blank and asterisk fields (16 bytes at a time up to
// 96 bytes, the library fill beyond).
void fill_bytes(char* dst, int n, char ch);
inline void fill_blanks(char* dst, int n) { fill_bytes(dst, n, ' '); }
inline void fill_asterisks(char* dst, int n) { fill_bytes(dst, n, '*'); }
