// Pieces that the classic formats share: fitting a field into the output
// capacity, the range check as a status, month abbreviations, splitting a
// datetime, and the renderers that several formats build on.
#pragma once

#include <cstdint>

#include "abi/call_block.h"
#include "render/render.h"
#include "render/units.h"

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

// The common case of the time of day: t (0 <= t < 86400) as hh:mm:ss, with
// d decimals (0 to 9) after a point, in the 8 + d + (d > 0) characters at
// out. The text is what render_time_of_day writes in a field of that width:
// zfmtime's rounding, a time that rounds up to 24 shown as the last instant
// of the day. Returns the hour the text shows.
int put_clock(double t, int d, char* out);

// "00" to "99": the two digits of v (0 to 99) at out.
extern const char kDigitPairs[201];
inline void put_digit_pair(char* out, int v) {
    out[0] = kDigitPairs[2 * v];
    out[1] = kDigitPairs[2 * v + 1];
}

// The 24-hour hour digits at `at` made those of the 12-hour clock (12, then
// 1 to 11); true when the hour is past noon.
inline bool hour_to_twelve(int hour, char* at) {
    put_digit_pair(at, hour % 12 == 0 ? 12 : hour % 12);
    return hour >= 12;
}

}  // namespace classic
