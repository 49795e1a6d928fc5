// The common case of the datetime formats: a datetime split into the fields
// its text shows, and writers of the extended and basic texts from them.
// The extended, zone-qualified and basic datetime routines share these so
// that each writes its whole text in one pass.
#pragma once

#include <cmath>
#include <cstring>

#include "abi/call_block.h"
#include "binding/hostcall.h"
#include "render/render.h"
#include "render/units.h"

// A present datetime as its text shows it with d decimals: the rounding
// carried through seconds, minutes and hours. Hour 24 stands for the last
// instant of the day (23:59:59.999...), which the text shows instead.
struct ShownDatetime {
    int year, month, day, hour, minute, second;
    double fraction;
};

namespace shown_detail {

// True when the fraction shown with k decimals reads as a whole second, as
// the time renderer decides it.
inline bool fraction_rounds_up(double f, int k) {
    if (k == 0) return f >= 0.5;
    const double scaled = f * zpowten[k];
    return f > 0.9 && zpowten[k] - scaled < 1 && scaled - std::floor(scaled) > 0.4999999;
}

// Half a unit of the last decimal shown, and a hair, for 0 to 9 decimals:
// 5 / 10^(d + 1) + 0.00000001, each rounded as the division and the sum
// round when computed.
inline constexpr struct HalfUnits {
    double of[10];
    constexpr HalfUnits() : of{} {
        double power = 10;
        for (int d = 0; d < 10; ++d, power *= 10) of[d] = 5 / power + 0.00000001;
    }
} kHalfUnits;

// The quotient and remainder of t by a whole unit for 0 <= t < a day, as
// whole_units gives them: the true floor and the exact remainder. The
// quotient is estimated by the reciprocal, which may be one off either way
// next to a multiple of the unit; each correction is exact there, the
// operands being within a factor of two of each other.
template <int Unit>
inline int split_units(double t, double* rest) {
    constexpr double kReciprocal = 1.0 / Unit;
    int q = static_cast<int>(t * kReciprocal);
    double r = t - q * static_cast<double>(Unit);
    if (r < 0) {
        r += Unit;
        --q;
    } else if (r >= Unit) {
        r -= Unit;
        ++q;
    }
    *rest = r;
    return q;
}

}  // namespace shown_detail

// The fields of x in range with 0 to 9 decimals, with the host's day, time
// of day and calendar as the general path asks them; false for a value the
// general paths must render (a year without four digits, a host answer out
// of its range). The time itself is split here (exact remainders, as the
// host's split) and rounded as the time renderer rounds.
inline bool split_shown(double x, int d, ShownDatetime* f) {
    const double date = hostcall::zdatprt(x);
    double year = NAN, month = NAN, day = NAN;
    hostcall::zymdjul(&year, &month, &day, hostcall::zjuldat(date));
    if (!(year >= 1000 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= 31)) return false;
    const double t = hostcall::ztimprt(x);
    if (!(t >= 0 && t < kSecondsPerDay)) return false;
    // A time within half a unit (and a hair) of the next hour or minute is
    // carried into it first; then the shown fraction decides whether the
    // seconds round up, which may carry on.
    const double half_unit = shown_detail::kHalfUnits.of[d];
    double in_hour, in_minute;
    using shown_detail::split_units;
    int hour = split_units<3600>(t, &in_hour);
    int minute = split_units<60>(in_hour, &in_minute);
    double s = in_minute;
    if (in_hour + half_unit >= kSecondsPerHour) {
        ++hour, minute = 0, s = 0;
    } else if (in_minute + half_unit >= kSecondsPerMinute) {
        ++minute, s = 0;
    }
    int second = static_cast<int>(s);
    double fraction = s - second;
    if (shown_detail::fraction_rounds_up(fraction, d)) {
        fraction = 0;
        if (++second == 60) second = 0, ++minute;
        if (minute == 60) minute = 0, ++hour;
    }
    *f = {static_cast<int>(year), static_cast<int>(month), static_cast<int>(day), hour, minute, second, fraction};
    return true;
}

// "00" to "99".
inline constexpr struct DigitPairs {
    char text[200];
    constexpr DigitPairs() : text{} {
        for (int i = 0; i < 100; ++i) {
            text[2 * i] = static_cast<char>('0' + i / 10);
            text[2 * i + 1] = static_cast<char>('0' + i % 10);
        }
    }
} kDigitPairs;

inline void put_pair(char* out, int v) { std::memcpy(out, kDigitPairs.text + 2 * v, 2); }

// Places of the texts: yyyy-mm-ddThh:mm:ss[.f...] and yyyymmddThhmmss[f...].
inline int extended_places(int d) { return 19 + d + (d > 0 ? 1 : 0); }
inline int basic_places(int d) { return 15 + d; }

// The seconds with d > 0 decimals as the host's numeric text writes them in
// d + 3 places at out, the blank of a one-digit second made a zero.
inline void put_seconds_text(char* out, const ShownDatetime& f, int d) {
    const double seconds = f.second + f.fraction;
    FormatBlock inner{};
    inner.width = d + 3;
    inner.decimals = d;
    inner.value = &seconds;
    inner.output = out;
    hostcall::zfmt(&inner);
    if (out[0] == ' ') out[0] = '0';
}

// yyyy, mm and dd of f with Step places between them for the delimiters (1
// in the extended text, 0 in the basic).
template <int Step>
inline void put_date(char* out, const ShownDatetime& f) {
    put_pair(out, f.year / 100);
    put_pair(out + 2, f.year % 100);
    put_pair(out + 4 + Step, f.month);
    put_pair(out + 6 + 2 * Step, f.day);
}

// yyyy-mm-ddThh:mm:ss[.f...]: extended_places(d) places.
inline void put_extended(char* out, const ShownDatetime& f, int d) {
    put_date<1>(out, f);
    out[4] = '-';
    out[7] = '-';
    out[10] = 'T';
    out[13] = ':';
    out[16] = ':';
    if (f.hour == 24) {
        std::memcpy(out + 11, "23:59:59", 8);
        if (d > 0) {
            out[19] = '.';
            std::memset(out + 20, '9', static_cast<std::size_t>(d));
        }
        return;
    }
    put_pair(out + 11, f.hour);
    put_pair(out + 14, f.minute);
    if (d == 0)
        put_pair(out + 17, f.second);
    else
        put_seconds_text(out + 17, f, d);
}

// yyyymmddThhmmss[f...]: basic_places(d) places, the extended text without
// its delimiters.
inline void put_basic(char* out, const ShownDatetime& f, int d) {
    put_date<0>(out, f);
    out[8] = 'T';
    if (f.hour == 24) {
        std::memcpy(out + 9, "235959", 6);
        std::memset(out + 15, '9', static_cast<std::size_t>(d));
        return;
    }
    put_pair(out + 9, f.hour);
    put_pair(out + 11, f.minute);
    if (d == 0) {
        put_pair(out + 13, f.second);
    } else {
        char seconds[12];  // ss.f... for up to nine decimals
        put_seconds_text(seconds, f, d);
        out[13] = seconds[0];
        out[14] = seconds[1];
        std::memcpy(out + 15, seconds + 3, static_cast<std::size_t>(d));
    }
}
