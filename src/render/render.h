// Date and time rendering primitives: range check with missing values, time
// rendering, year-month-day rendering.
#pragma once

#include <cstdint>

#include "abi/call_block.h"

// Range kinds of zdatrng.
inline constexpr int kRangeDate = 1;
inline constexpr int kRangeTime = 2;
inline constexpr int kRangeDatetime = 3;

// Results of zdatrng.
inline constexpr int kRenderable = 0;
inline constexpr int kOutOfRangeDone = 1;
inline constexpr int kMissingDone = 2;

extern const double zpowten[32];  // 10^0 .. 10^31

// The width a routine fills: the block's width, or 0 for a negative one.
inline int field_width(const FormatBlock* block) { return block->width > 0 ? block->width : 0; }

// A field of asterisks across the width; the output length is the width.
void render_asterisks(FormatBlock* block);

// Two digits of v (0 to 99), zero-padded.
inline void put_two_digits(char* out, int v) {
    out[0] = static_cast<char>('0' + v / 10);
    out[1] = static_cast<char>('0' + v % 10);
}

extern "C" {
int zdatrng(FormatBlock* block, int kind);
std::int32_t zfmtime(FormatBlock* block);
int zfmcymd(double* year, double* month, double* day, double date);
int zfmcprt(int width, int separator, char* output, double year, double month, double day);
std::int32_t zfmymd(FormatBlock* block);
std::int32_t zfmymdb(FormatBlock* block);
std::int32_t zfmymdc(FormatBlock* block);
std::int32_t zfmymdn(FormatBlock* block);
std::int32_t zfmymdp(FormatBlock* block);
std::int32_t zfmymds(FormatBlock* block);
}
