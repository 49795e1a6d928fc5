// The time of day on the 24-hour clock (zfmtod) and a time on the 12-hour
// clock with its AM/PM suffix (zfmtimm); both are drawn by zfmtime.
#include <cmath>
#include <cstring>

#include "classic/classic.h"
#include "classic/internal.h"
#include "render/remainder.h"
#include "binding/hostcall.h"
#include "render/render.h"
#include "text/text.h"

namespace classic {
namespace {

constexpr Limits kClockLimits{2, 20, 0, 19};

// A time of day that the text rounds up to 24 reads as the last instant that
// can be shown instead: 23, then 59 for each group that follows, then 9 for
// every decimal.
void never_24(char* text, int length) {
    const int i = wzstnot(text, length, ' ');
    if (i < 0 || i + 1 >= length || text[i] != '2' || text[i + 1] != '4') return;
    text[i + 1] = '3';
    int at = i + 2;
    for (int group = 0; group < 2; ++group) {
        if (at < length && !hostcall::is_digit(text[at])) ++at;  // the colon
        if (at >= length) return;
        text[at++] = '5';
        if (at < length) text[at++] = '9';
    }
    if (at < length && !hostcall::is_digit(text[at])) ++at;  // the point
    while (at < length && hostcall::is_digit(text[at])) text[at++] = '9';
}

// The hour that zfmtime's text starts with: its leading digits after the
// blanks; -1 when there are none.
int shown_hour(const char* text, int length) {
    int i = 0;
    while (i < length && text[i] == ' ') ++i;
    if (i >= length || text[i] < '0' || text[i] > '9') return -1;
    int hour = 0;
    for (; i < length && text[i] >= '0' && text[i] <= '9' && hour < 1000; ++i) hour = hour * 10 + (text[i] - '0');
    return hour;
}

const char* suffix(bool pm) { return pm ? " PM" : " AM"; }

// Whether zfmtime, given one place more than the block's width, still
// rounds the 12-hour time t up to 13 o'clock: the decimals a one-digit hour
// has room for do not undo the carry.
bool reaches_next_hour_with_one_more_place(const FormatBlock* block, double t) {
    char area[24];
    FormatBlock wider = *block;
    wider.width = block->width + 1;
    wider.capacity = wider.width;
    wider.output = area;
    wider.value = &t;
    wider.flags = 0;
    if (wider.width > static_cast<int>(sizeof area) || zfmtime(&wider) != status::kOk) return false;
    return shown_hour(area, wider.width) == 13;
}

std::int32_t render_tod(FormatBlock* block) {
    std::int32_t result;
    if (!range_ok(block, kRangeTime, &result)) return result;
    return render_time_of_day(block, hostcall::ztimprt(block_value(block)));
}

std::int32_t render_timm(FormatBlock* block) {
    std::int32_t result;
    if (!range_ok(block, kRangeTime, &result)) return result;
    const ClockText clock = render_clock12(block, block_value(block));
    block->output_length = block->width;
    return clock.status;
}

}  // namespace

std::int32_t render_time_of_day(FormatBlock* block, double t) {
    FormatBlock copy = *block;
    copy.value = &t;
    if (const std::int32_t s = zfmtime(&copy)) return s;
    char* text = copy.output;
    const int length = copy.output_length;
    // Zero-pad a one-digit hour where there is room before the first colon.
    int p = wzstpos(text, length, ':');
    if (p < 0) p = block->width;
    if (p - 2 >= 0 && p - 2 < length && text[p - 2] == ' ') text[p - 2] = '0';
    block->output_length = length;
    if (t > 86399 && t < kSecondsPerDay && length >= 2) never_24(text, length);
    return status::kOk;
}

namespace {

// The time of day a datetime or time shows with d decimals, and whether the
// rounding took it into the next day. With 0 or 1 decimals a fraction that
// shows as a whole second is taken to that second first, so minutes-only
// layouts agree with the seconds.
struct DayTime12 {
    double seconds;  // 0 <= seconds < 86400
    bool next_day;
};

DayTime12 time_of_day(double x, int d) {
    const double day = std::floor(x / kSecondsPerDay);
    const double fraction = fmod_units(x, 1);
    if ((d == 0 && fraction >= 0.5) || (d == 1 && fraction >= 0.95)) x = std::floor(x) + 1;
    double v = fmod_units(x, kSecondsPerDay);
    if (v < 0) v += kSecondsPerDay;
    const bool next_day = std::floor(x / kSecondsPerDay) > day;
    if (v >= kSecondsPerDay) return {0, true};  // a hair below midnight folds onto it
    return {v, next_day};
}

// A field too narrow for digits: the suffix of the time rounded to the
// requested decimals, or asterisks when even that does not fit.
ClockText suffix_only(FormatBlock* block, DayTime12 t, int d) {
    char* out = block->output;
    const int width = block->width;
    const double half_unit = 0.00000001 + 5 / zpowten[min(d, 30) + 1];
    const double hour = std::floor((t.seconds + half_unit) / 3600);
    const bool pm = hour >= 12 && hour < 24;
    if (width >= 2) {
        fill_blanks(out, width - 2);
        std::memcpy(out + width - 2, suffix(pm) + 1, 2);
    } else {
        fill_asterisks(out, width);
    }
    return {status::kOk, pm, t.next_day || hour >= 24};
}

}  // namespace

ClockText render_clock12(FormatBlock* block, double x) {
    const int d = block->decimals > 0 ? block->decimals : 0;
    DayTime12 t = time_of_day(x, d);
    char* out = block->output;
    const int width = block->width;
    if (width < 5) return suffix_only(block, t, d);

    // zfmtime draws the time with the hour moved onto the 12-hour clock
    // (1 to 12); the hour its text shows, after all of its rounding, decides
    // the suffix and the day.
    int hour = static_cast<int>(t.seconds / 3600);  // 0 to 23
    const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
    double shown = t.seconds + (hour12 - hour) * 3600.0;
    const std::int32_t saved_width = block->width;
    const void* saved_value = block->value;
    block->width = width - 3;
    block->value = &shown;
    std::int32_t s = zfmtime(block);
    if (s == status::kOk) {
        const int text_hour = shown_hour(out, width - 3);
        if (text_hour == hour12 + 1) {  // rounded up into the next hour
            if (++hour == 24) {
                hour = 0;
                t.next_day = true;
            }
            if (text_hour == 13) {
                // Past 12 o'clock it is 1 o'clock, drawn with the decimals
                // that the one hour digit leaves room for: one more than
                // beside the 12, when the time rounded to that many still
                // reaches 1 o'clock; else with the decimals the rounding kept.
                const std::int32_t saved_decimals = block->decimals;
                if (!reaches_next_hour_with_one_more_place(block, shown)) {
                    const int point = wzstpos(out, width - 3, '.');
                    block->decimals = point < 0 ? 0 : width - 3 - point - 1;
                }
                shown = 3600;
                s = zfmtime(block);
                block->decimals = saved_decimals;
            }
        }
        if (s == status::kOk) std::memcpy(out + width - 3, suffix(hour >= 12), 3);
    }
    block->width = saved_width;
    block->value = saved_value;
    return {s, hour >= 12, t.next_day};
}

namespace {

// hh:mm:ss, the text before the point and the decimals; the 12-hour clock
// has its suffix after it.
constexpr int kClockPlaces = 8;

int clock_places(int d) { return kClockPlaces + d + (d > 0 ? 1 : 0); }

// time_of_day for 0 <= x < 2^52 from its whole seconds as an integer: the
// same time and day (the day time_of_day takes from x / 86400, which never
// rounds up to the next whole number: 86400 is no power of two).
DayTime12 time_of_day_nonnegative(double x, int d) {
    auto whole = static_cast<std::int64_t>(x);
    const double fraction = x - static_cast<double>(whole);
    const std::int64_t day = whole / 86400;
    if ((d == 0 && fraction >= 0.5) || (d == 1 && fraction >= 0.95)) {
        const std::int64_t next = whole + 1;
        const std::int64_t next_day = next / 86400;
        return {static_cast<double>(next - next_day * 86400), next_day > day};
    }
    return {static_cast<double>(whole - day * 86400) + fraction, false};
}

}  // namespace

TwelveHourText twelve_hour_common(double x, int d) {
    const DayTime12 t = x >= 0 ? time_of_day_nonnegative(x, d) : time_of_day(x, d);
    // zfmtime draws the time with the hour moved onto the 12-hour clock; a
    // carry past 12 o'clock is left to the general path.
    const int hour = static_cast<int>(t.seconds / 3600);
    const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
    TwelveHourText text;
    text.clock = split_clock(t.seconds + (hour12 - hour) * 3600.0, d);
    text.next_day = t.next_day;
    text.pm = hour >= 12;
    if (text.clock.hour == hour12 + 1) {  // rounded up into the next hour
        if (text.clock.hour == 13) return {};
        if (hour + 1 == 24) {
            text.pm = false;
            text.next_day = true;
        } else {
            text.pm = hour + 1 >= 12;
        }
    }
    text.ok = true;
    return text;
}

}  // namespace classic

// The common case of zfmtod and zfmtimm: a present value in the range (for
// the time of day one that splits exactly into its day and time), at most
// nine decimals and a field that holds every decimal asked for. They write
// what the general paths write, with the host's numeric text for the seconds
// and their decimals.
std::int32_t zfmtod(FormatBlock* block) {
    using namespace classic;
    if (const std::int32_t s = validate(block, kClockLimits)) return s;
    const int d = common_decimals(block);
    const double x = block_value(block);
    if (d >= 0 && block->width <= block->capacity && block->width >= clock_places(d) && splits_exactly(x, kEndSecond)) {
        double t;
        split_day(x, &t);
        const int pad = block->width - clock_places(d);
        put_blanks(block->output, pad);
        put_clock(t, d, block->output + pad);
        block->output_length = block->width;
        return status::kOk;
    }
    return render_fitted(block, render_tod);
}

std::int32_t zfmtimm(FormatBlock* block) {
    using namespace classic;
    if (const std::int32_t s = validate(block, kClockLimits)) return s;
    const int d = common_decimals(block);
    const int width = block->width;
    const double x = block_value(block);
    if (d >= 0 && width <= block->capacity && width >= clock_places(d) + 3 && x >= kFirstSecond && x < kEndSecond) {
        const TwelveHourText text = twelve_hour_common(x, d);
        if (text.ok) {
            // The time right-aligned before the suffix; a one-digit hour
            // without its zero.
            const int length = (text.clock.hour < 10 ? 1 : 2) + 1 + clock_places(d) - 3;
            const int pad = width - 3 - length;
            char* out = block->output;
            put_blanks(out, pad);
            out += pad;
            out += put_hour12(text.clock.hour, out);
            *out++ = ':';
            put_minute_second(text.clock, d, out);
            std::memcpy(block->output + width - 3, suffix(text.pm), 3);
            block->output_length = width;
            return status::kOk;
        }
    }
    return render_fitted(block, render_timm);
}

std::int32_t zfmtod_general(FormatBlock* block) {
    return classic::run_format(block, classic::kClockLimits, classic::render_tod);
}

std::int32_t zfmtimm_general(FormatBlock* block) {
    return classic::run_format(block, classic::kClockLimits, classic::render_timm);
}
