// Value ranges of the ISO formats (lower bound inclusive, upper exclusive):
// 1582-01-01 up to the end of 9999-12-29.
#pragma once

#include "abi/call_block.h"

struct ValueRange {
    double low, high;
};

inline constexpr ValueRange kIsoDate{-138061, 2936548};
inline constexpr ValueRange kIsoTime{0, 86400};
inline constexpr ValueRange kIsoDatetime{-138061.0 * 86400, 2936548.0 * 86400};

// A present value outside the range (a missing value is never outside).
inline bool outside(double x, const ValueRange& r) { return x == x && !(x >= r.low && x < r.high); }
