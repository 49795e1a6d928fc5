// zfmtime: signed seconds as hours, minutes and seconds with an optional
// fraction, right-aligned in the width. Hours are never reduced to a day;
// parts drop from the right as the width shrinks, and rounding is done in two
// stages so that no field ever shows 60.
#include <cmath>
#include <cstring>

#include "binding/hostcall.h"
#include "render/remainder.h"
#include "render/render.h"
#include "text/text.h"
#include "render/units.h"

namespace {

constexpr Limits kTimeLimits{2, 20, 0, 19};
constexpr int kAreaSize = 40;
// Two colons, two minute digits, two second digits and the point.
constexpr int kFixedPlaces = 7;

struct Clock {
    std::int64_t hours;
    int minutes;
    int seconds;
    double fraction;  // 0 <= fraction < 1
};

// First stage: with the requested decimals, a value within half a unit of
// the next whole hour or minute is carried into it before it is split, so
// the host's split never yields 59.9999 seconds that would show as 60.
Clock split(double a, int decimals) {
    std::int64_t day_hours = 0;
    if (a >= kSecondsPerDay) day_hours = static_cast<std::int64_t>(whole_units(a, kSecondsPerDay, &a)) * 24;
    const double half_unit = 5 / zpowten[min(decimals, 30) + 1] + 0.00000001;
    // Both remainders are exact, so the minute's comes from the hour's.
    double in_hour, in_minute;
    whole_units(a, 3600, &in_hour);
    whole_units(in_hour, 60, &in_minute);
    int hour_carry = 0, minute_carry = 0;
    if (in_hour + half_unit >= 3600) {
        hour_carry = 1;
        a -= in_hour;
    } else if (in_minute + half_unit >= 60) {
        minute_carry = 1;
        a -= in_minute;
    }
    Clock c;
    c.hours = day_hours + static_cast<std::int64_t>(hostcall::zhour(a)) + hour_carry;
    c.minutes = static_cast<int>(hostcall::zminute(a) + minute_carry);
    const double s = hostcall::zsecond(a);
    c.seconds = static_cast<int>(s);
    c.fraction = s - c.seconds;
    return c;
}

// True when the fraction shown with k decimals would read as a whole second.
bool rounds_up(double f, int k) {
    if (k == 0) return f >= 0.5;
    const double scaled = f * zpowten[k];
    return f > 0.9 && zpowten[k] - scaled < 1 && scaled - std::floor(scaled) > 0.4999999;
}

// The hour as shown and the decimals that fit beside it.
struct HourText {
    char digits[10];
    int length;
    int decimals;
};

// Second stage: the decimals that fit decide whether the seconds round up;
// a carry into a new hour may add an hour digit, so it starts again.
HourText settle(Clock& c, int width, int decimals, int neg) {
    HourText h;
    for (;;) {
        const int field = c.hours < 10 ? 2 : 10;
        wzclchr(c.hours, h.digits, field);
        wzstjls(h.digits, field, 'l', &h.length, nullptr);
        // The decimals shown: what the width leaves, and what the text area
        // and the table of powers can hold.
        int k = min(decimals, sub_sat(width, h.length + neg + kFixedPlaces));
        k = min(k, min(kAreaSize - neg - h.length - kFixedPlaces, 31));
        h.decimals = k < 0 ? 0 : k;
        if (!rounds_up(c.fraction, h.decimals)) return h;
        c.fraction = 0;
        if (++c.seconds == 60) {
            c.seconds = 0;
            ++c.minutes;
        }
        if (c.minutes < 60) return h;
        c.minutes = 0;
        ++c.hours;
    }
}

// Writes [-]H..H[:MM[:SS[.F..F]]] into area, as much as the width holds;
// returns its length.
int compose(char* area, const Clock& c, const HourText& h, int width, int neg) {
    int len = 0;
    if (neg) area[len++] = '-';
    std::memcpy(area + len, h.digits, static_cast<std::size_t>(h.length));
    len += h.length;
    if (width >= neg + h.length + 3) {
        area[len++] = ':';
        put_two_digits(area + len, c.minutes);
        len += 2;
    }
    if (width >= neg + h.length + 6) {
        area[len++] = ':';
        const int k = h.decimals;
        const int seconds_width = k + 2 + (k > 0 ? 1 : 0);
        const double seconds = c.seconds + c.fraction;
        FormatBlock inner{};
        inner.width = seconds_width;
        inner.decimals = k;
        inner.value = &seconds;
        inner.output = area + len;
        hostcall::zfmt(&inner);
        if (area[len] == ' ') area[len] = '0';
        len += seconds_width;
    }
    return len;
}

}  // namespace

std::int32_t zfmtime(FormatBlock* block) {
    if (const std::int32_t s = validate(block, kTimeLimits)) return s;
    switch (zdatrng(block, kRangeTime)) {
        case kMissingDone: return status::kOk;
        case kOutOfRangeDone: return status::kOutOfRange;
        default: break;
    }
    const int width = block->width;
    const int d = block->decimals > 0 ? block->decimals : 0;
    const double x = block_value(block);
    const int neg = x < 0 ? 1 : 0;
    Clock c = split(std::fabs(x), d);
    const HourText h = settle(c, width, d, neg);
    if (width < neg + h.length) {
        render_asterisks(block);
        return status::kOk;
    }
    char area[kAreaSize];
    const int len = compose(area, c, h, width, neg);
    fill_blanks(block->output, width - len);
    std::memcpy(block->output + width - len, area, static_cast<std::size_t>(len));
    block->output_length = width;
    return status::kOk;
}
