// Datetimes as day, month abbreviation, year and time of day: on the 24-hour
// clock (zfmdttm) and on the 12-hour clock with a suffix (zfmdtmm).
#include <cmath>
#include <cstring>

#include "classic/classic.h"
#include "classic/internal.h"
#include "binding/hostcall.h"
#include "render/render.h"
#include "text/text.h"

namespace classic {
namespace {

constexpr Limits kDatetimeLimits{7, 40, 0, 39};
constexpr int kAreaSize = 40;
// ddMMMyy, a colon and hh:mm:ss: the room that decimals come after.
constexpr int kBeforeDecimals = 16;
// The 12-hour clock needs room for its suffix beside the time.
constexpr int kSuffixFromWidth = 13;
constexpr int kSuffixLength = 3;

int seconds_layout_width(int decimals) { return 8 + decimals + (decimals > 0 ? 1 : 0); }

// True when t, shown with d decimals, reads 86400: the next midnight.
bool rounds_to_midnight(double t, int d) {
    if (t >= kSecondsPerDay) return true;
    if (t <= 86399.49999999) return false;
    if (d == 0) return true;
    const double scale = zpowten[min(d, 30) + 1];
    return scale - (t - std::floor(t)) * scale <= 5;
}

// The 24-hour hour digits at `at` made those of the 12-hour clock.
bool to_twelve_hour(char* at) {
    if (at[0] < '0' || at[0] > '9' || at[1] < '0' || at[1] > '9') return false;
    const int hour = (at[0] - '0') * 10 + (at[1] - '0');
    put_two_digits(at, hour % 12 == 0 ? 12 : hour % 12);
    return hour >= 12;
}

std::int32_t render_dttm(FormatBlock* block) {
    std::int32_t result;
    if (!range_ok(block, kRangeDatetime, &result)) return result;
    render_datetime(block, block->width, false);
    block->output_length = block->width;
    return status::kOk;
}

// From width 13 the 12-hour text of width - 3 and its suffix; below it the
// 24-hour text, which has no room for one.
std::int32_t render_dtmm(FormatBlock* block) {
    std::int32_t result;
    if (!range_ok(block, kRangeDatetime, &result)) return result;
    const int width = block->width;
    if (width < kSuffixFromWidth) {
        render_datetime(block, width, false);
    } else {
        const DatetimeText text = render_datetime(block, width - kSuffixLength, true);
        std::memcpy(block->output + width - kSuffixLength, text.pm ? " PM" : " AM", kSuffixLength);
    }
    block->output_length = width;
    return status::kOk;
}

}  // namespace

DatetimeText render_datetime(FormatBlock* block, int width, bool twelve_hour) {
    int d = block->decimals > 0 ? block->decimals : 0;
    DayTime dt = split_datetime(block_value(block));
    // A time that rounds up to the next midnight shows as midnight of the
    // next day.
    if (rounds_to_midnight(dt.seconds, d)) {
        dt.seconds = 0;
        dt.day += 1;
    }
    // Decimals give way first. The point is not counted, so at width - d of
    // exactly 16 the text is one character long and loses its last one.
    if (d > 0 && width - d < kBeforeDecimals) d = max(width - kBeforeDecimals, 0);

    char area[kAreaSize];
    const int date_width = (width - d > 18 || width - d == 9) ? 9 : 7;
    FormatBlock date{};
    date.width = date_width;
    date.capacity = date_width;
    date.value = &dt.day;
    date.output = area;
    date.environment = block->environment;
    zfmdate(&date);
    int pos = date_width;

    DatetimeText result{false};
    if (width > 9) area[pos++] = ':';
    if (width > 9 && width >= pos + 2) {
        int time_width = 2, time_decimals = 0;  // hours
        if (width >= pos + 8) {                 // hours, minutes, seconds, decimals
            time_decimals = d;
            time_width = seconds_layout_width(time_decimals);
            if (time_width > kAreaSize - pos) {
                time_decimals = max(31 - pos, 0);
                time_width = seconds_layout_width(time_decimals);
            }
        } else if (width >= pos + 5) {  // hours and minutes
            time_width = 5;
        }
        FormatBlock time{};
        time.width = time_width;
        time.decimals = time_decimals;
        time.output = area + pos;
        time.capacity = time_width;
        time.environment = block->environment;
        render_time_of_day(&time, dt.seconds);
        if (area[pos] == ' ') area[pos] = '0';
        if (twelve_hour) result.pm = to_twelve_hour(area + pos);
        pos += time_width;
    }

    char* out = block->output;
    if (pos < width) {
        fill_blanks(out, width - pos);
        out += width - pos;
    }
    std::memcpy(out, area, static_cast<std::size_t>(min(pos, width)));
    return result;
}

namespace {

// ddMMMyy:hh:mm:ss, the text before the point and the decimals; from width
// 19 + d the year has four digits.
constexpr int kShortPlaces = 16;
constexpr int kFourDigitYearAbove = 18;

// Whether render_datetime writes its whole text in `width`: the date, the
// time and every decimal asked for.
bool whole_text_fits(int width, int d) { return d >= 0 && width >= kShortPlaces + d + (d > 0 ? 1 : 0); }

// The common case of render_datetime: a present datetime from 1582 to 9999,
// at most nine decimals and room for the whole text. Writes what the general
// path writes, with the host's calendar, month names and numeric text, but
// splits the datetime itself (exact remainders, as the host's split) and
// writes the other digits straight. Returns the hour the text shows, or -1,
// having written nothing, for a value it leaves to the general path.
int datetime_common(FormatBlock* block, int width, int d) {
    const double x = block_value(block);
    if (!splits_exactly(x, kYear10000Second)) return -1;
    double t;
    double day = split_day(x, &t);
    if (rounds_to_midnight(t, d)) {
        t = 0;
        day += 1;
    }
    double year = NAN, month = NAN, mday = NAN;
    hostcall::zymdjul(&year, &month, &mday, hostcall::zjuldat(day));
    if (!(year >= 1000 && year <= 9999 && month >= 1 && month <= 12 && mday >= 1 && mday <= 31)) return -1;

    const bool four = width - d > kFourDigitYearAbove;
    const int pad = width - (kShortPlaces + (four ? 2 : 0) + d + (d > 0 ? 1 : 0));
    put_blanks(block->output, pad);
    char* out = block->output + pad;
    put_digit_pair(out, static_cast<int>(mday));
    put_month(block, static_cast<int>(month), out + 2);
    const int y = static_cast<int>(year);
    if (four) {
        put_digit_pair(out + 5, y / 100);
        out += 2;
    }
    put_digit_pair(out + 5, y % 100);
    out[7] = ':';
    return put_clock(t, d, out + 8);
}

}  // namespace
}  // namespace classic

std::int32_t zfmdttm(FormatBlock* block) {
    using namespace classic;
    if (const std::int32_t s = validate(block, kDatetimeLimits)) return s;
    const int d = common_decimals(block);
    if (block->width <= block->capacity && whole_text_fits(block->width, d) &&
        datetime_common(block, block->width, d) >= 0) {
        block->output_length = block->width;
        return status::kOk;
    }
    return render_fitted(block, render_dttm);
}

std::int32_t zfmdtmm(FormatBlock* block) {
    using namespace classic;
    if (const std::int32_t s = validate(block, kDatetimeLimits)) return s;
    const int d = common_decimals(block);
    const int width = sub_sat(block->width, kSuffixLength);
    if (block->width <= block->capacity && whole_text_fits(width, d)) {
        const int hour = datetime_common(block, width, d);
        if (hour >= 0) {
            // The time ends the text: hh:mm:ss, then the point and decimals.
            char* hour_digits = block->output + width - (8 + d + (d > 0 ? 1 : 0));
            std::memcpy(block->output + width, hour_to_twelve(hour, hour_digits) ? " PM" : " AM", kSuffixLength);
            block->output_length = block->width;
            return status::kOk;
        }
    }
    return render_fitted(block, render_dtmm);
}

std::int32_t zfmdttm_general(FormatBlock* block) {
    return classic::run_format(block, classic::kDatetimeLimits, classic::render_dttm);
}

std::int32_t zfmdtmm_general(FormatBlock* block) {
    return classic::run_format(block, classic::kDatetimeLimits, classic::render_dtmm);
}
