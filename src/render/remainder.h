// Exact remainders without std::fmod.
#pragma once

#include <cmath>

// Below this magnitude every whole number is a double and every double is a
// multiple of its ulp that divides 1, so x - q * unit is exact for a whole
// quotient q whenever the true result is no larger than x.
inline constexpr double kExactLimit = 0x1p52;

// x = q * unit + *rest with whole q and 0 <= *rest < unit, for a whole unit up
// to a day and 0 <= x < kExactLimit (or -kExactLimit < x <= -unit, where the
// true rest is below |x| and a multiple of x's ulp); returns q. The quotient
// comes from one division, less one where the division rounded up to a whole
// number. Both steps are exact, so *rest is the remainder std::fmod gives, at
// a fraction of its cost.
inline double whole_units(double x, double unit, double* rest) {
    double q = std::floor(x / unit);
    double r = x - q * unit;
    if (r < 0) {
        r += unit;
        q -= 1;
    }
    *rest = r;
    return q;
}

// Exactly std::fmod(x, unit) for a whole unit up to a day, by whole_units
// wherever it applies: for x <= -unit the remainder it gives is the true
// one plus unit, exact because x's ulp is at least unit's share of 2^-53.
inline double fmod_units(double x, double unit) {
    double r;
    if (x > 0 && x < kExactLimit) {  // (a zero keeps its sign through std::fmod)
        whole_units(x, unit, &r);
        return r;
    }
    if (x <= -unit && x > -kExactLimit) {
        whole_units(x, unit, &r);
        return r == 0 ? -0.0 : r - unit;
    }
    return std::fmod(x, unit);
}
