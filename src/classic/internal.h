// Pieces that the classic formats share: fitting a field into the output
// capacity, the range check as a status, month abbreviations, splitting a
// datetime, and the renderers that several formats build on.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "abi/call_block.h"
#include "render/render.h"
#include "render/units.h"
#include "text/text.h"

namespace classic {


// Renders into at most the block's output capacity. When the width exceeds
// the capacity, the text is the one the routine writes at a width equal to
// the capacity (the capacity cut to 0 when negative), the output length is
// that width and the status is 0x8001d826 unless the rendering failed
// otherwise. A width of 0 or less writes nothing. The caller has validated.
using Renderer = std::int32_t (*)(FormatBlock* block);
std::int32_t render_fitted(FormatBlock* block, Renderer render);

// A format routine: validation, then the rendering fitted into the capacity.
inline std::int32_t run_format(FormatBlock* block, const Limits& limits, Renderer render) {
    if (const std::int32_t s = validate(block, limits)) return s;
    return render_fitted(block, render);
}

// The range check with its status: true when the caller goes on rendering;
// otherwise the field is written and *status holds what to return.
bool range_ok(FormatBlock* block, int kind, std::int32_t* status);

// Writes the three-letter abbreviation of month m (1 to 12) from the month
// table of the block's environment (else the host's default environment).
// Without a table, or for an entry shorter than three letters, blanks stand
// in for what is not there.
void put_month(const FormatBlock* block, int month, char* out);


// A datetime as the day it falls on (floor) and its seconds into that day,
// 0 <= seconds < 86400.
struct DayTime {
    double day;
    double seconds;
};
DayTime split_datetime(double datetime);

// zfmtod's text for a time of day t (0 <= t < 86400): the hour zero-padded
// where the width has room, and never 24. Returns zfmtime's status.
std::int32_t render_time_of_day(FormatBlock* block, double t);

// Day-month-year and the time of day at the block's decimals, right-aligned
// in `width` characters of the block's output (zfmdttm's text). With
// twelve_hour the two hour digits are those of the 12-hour clock and the
// result tells whether the hour shown is past noon.
struct DatetimeText {
    bool pm;
};
DatetimeText render_datetime(FormatBlock* block, int width, bool twelve_hour);

// The time x (seconds, folded into one day) on the 12-hour clock, in the
// block's width: the time and " AM"/" PM", or the bare suffix below width 5.
// Hour, suffix and day come from the text as shown, after every rounding.
struct ClockText {
    std::int32_t status;
    bool pm;
    bool next_day;  // the time shown lies on a later day than x
};
ClockText render_clock12(FormatBlock* block, double x);

// "00" to "99": the two digits of v (0 to 99) at out.
extern const char kDigitPairs[201];
inline void put_digit_pair(char* out, int v) {
    out[0] = kDigitPairs[2 * v];
    out[1] = kDigitPairs[2 * v + 1];
}

// The time of day t (0 <= t < 86400) as zfmtime shows it with d decimals
// (0 to 9) in a field with room for them all: its hour (24 after a carry
// past the day's last second), minute, second and fraction shown.
struct ClockParts {
    int hour, minute, second;
    double fraction;
};

// zfmtime's half unit of the last decimal shown, and a hair, by decimals.
inline constexpr double kHalfUnit[10] = {
    5 / 1e1 + 0.00000001, 5 / 1e2 + 0.00000001, 5 / 1e3 + 0.00000001, 5 / 1e4 + 0.00000001,
    5 / 1e5 + 0.00000001, 5 / 1e6 + 0.00000001, 5 / 1e7 + 0.00000001, 5 / 1e8 + 0.00000001,
    5 / 1e9 + 0.00000001, 5 / 1e10 + 0.00000001,
};

// True when the fraction f shown with k decimals reads as a whole second, as
// zfmtime decides it.
inline bool fraction_rounds_up(double f, int k) {
    if (k == 0) return f >= 0.5;
    const double scaled = f * zpowten[k];
    return f > 0.9 && zpowten[k] - scaled < 1 && scaled - std::floor(scaled) > 0.4999999;
}

// zfmtime's two stages: a time within half a unit (and a hair) of the next
// hour or minute is carried into it first; then the shown fraction decides
// whether the seconds round up, which may carry on. The whole seconds are
// split as integers and the fraction added back: the remainders are exact,
// as the host's split of a time is.
inline ClockParts split_clock(double t, int d) {
    const double half_unit = kHalfUnit[d];
    const int whole = static_cast<int>(t);
    ClockParts c;
    c.fraction = t - whole;
    c.hour = whole / 3600;
    const int hour_seconds = whole - c.hour * 3600;
    c.minute = hour_seconds / 60;
    c.second = hour_seconds - c.minute * 60;
    if (hour_seconds + c.fraction + half_unit >= kSecondsPerHour) {
        ++c.hour, c.minute = 0, c.second = 0, c.fraction = 0;
    } else if (c.second + c.fraction + half_unit >= kSecondsPerMinute) {
        ++c.minute, c.second = 0, c.fraction = 0;
    }
    if (fraction_rounds_up(c.fraction, d)) {
        c.fraction = 0;
        if (++c.second == 60) c.second = 0, ++c.minute;
        if (c.minute == 60) c.minute = 0, ++c.hour;
    }
    return c;
}

// mm:ss, with d decimals after a point, of c: 5 + d + (d > 0) characters at
// out, the seconds in the host's numeric text when there are decimals.
void put_minute_second(const ClockParts& c, int d, char* out);

// The common case of the time of day: t (0 <= t < 86400) as hh:mm:ss, with
// d decimals (0 to 9) after a point, in the 8 + d + (d > 0) characters at
// out. The text is what render_time_of_day writes in a field of that width:
// zfmtime's rounding, a time that rounds up to 24 shown as the last instant
// of the day. Returns the hour the text shows.
inline int put_clock(double t, int d, char* out) {
    const ClockParts c = split_clock(t, d);
    out[2] = ':';
    if (c.hour == 24) {
        // The last instant of the day that the text can show.
        std::memcpy(out, "23:59:59", 8);
        if (d > 0) {
            out[8] = '.';
            std::memset(out + 9, '9', static_cast<std::size_t>(d));
        }
        return 23;
    }
    put_digit_pair(out, c.hour);
    put_minute_second(c, d, out + 3);
    return c.hour;
}

// The common case of render_clock12 for a value x in the range, at most
// nine decimals (0 to 9) and a field with room for every one: the time as
// zfmtime shows it on the 12-hour clock (1 to 12), the suffix and the day
// after every rounding. Not ok, for the general path, when the rounding
// carries past 12 o'clock.
struct TwelveHourText {
    bool ok = false;
    ClockParts clock{};
    bool pm = false;
    bool next_day = false;
};
TwelveHourText twelve_hour_common(double x, int d);

// The hour of the 12-hour clock at out, one digit below 10; returns the
// characters written.
inline int put_hour12(int hour, char* out) {
    if (hour < 10) {
        out[0] = static_cast<char>('0' + hour);
        return 1;
    }
    put_digit_pair(out, hour);
    return 2;
}

// n blanks at out: short runs inline.
inline void put_blanks(char* out, int n) {
    if (n < 8) {
        for (int i = 0; i < n; ++i) out[i] = ' ';
    } else {
        fill_blanks(out, n);
    }
}

// The decimals of a block, negative ones as none; -1 above nine, which no
// common case takes.
inline int common_decimals(const FormatBlock* block) {
    const int d = block->decimals > 0 ? block->decimals : 0;
    return d <= 9 ? d : -1;
}

// The first second of 1582 and the first past the range that the range
// check renders; the first of the year 10000.
inline constexpr double kFirstSecond = -138061.0 * kSecondsPerDay;
inline constexpr double kEndSecond = 6589336.0 * kSecondsPerDay;
inline constexpr double kYear10000Second = 2936548.0 * kSecondsPerDay;

// Whether x is in the range and splits exactly into a day and its time
// (not within a day below zero, where the time of day is x + 86400 rounded).
inline bool splits_exactly(double x, double end) {
    return x >= 0 ? x < end : x <= -kSecondsPerDay && x >= kFirstSecond;
}

// A value that splits exactly as its day and the seconds into that day,
// from its whole seconds as an integer: the quotient and remainder that the
// host's split gives.
inline double split_day(double x, double* seconds) {
    auto whole = static_cast<std::int64_t>(x);
    if (static_cast<double>(whole) > x) --whole;  // the floor below zero
    std::int64_t day = whole / 86400, rest = whole % 86400;
    if (rest < 0) rest += 86400, --day;
    *seconds = static_cast<double>(rest) + (x - static_cast<double>(whole));
    return static_cast<double>(day);
}

// The 24-hour hour digits at `at` made those of the 12-hour clock (12, then
// 1 to 11); true when the hour is past noon.
inline bool hour_to_twelve(int hour, char* at) {
    put_digit_pair(at, hour % 12 == 0 ? 12 : hour % 12);
    return hour >= 12;
}

}  // namespace classic
