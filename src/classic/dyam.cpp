// zfmdyam: a datetime as month/day/year and, from width 17, the time in
// hours and minutes on the 12-hour clock, right-aligned.
#include <cmath>
#include <cstring>

#include "classic/classic.h"
#include "classic/internal.h"
#include "binding/hostcall.h"
#include "render/render.h"
#include "text/text.h"

namespace classic {
namespace {

constexpr Limits kDateAmPmLimits{8, 40, 0, 39};
constexpr int kTimeField = 9;  // " hh:mm AM", the hour blank-padded
constexpr int kTimeFromWidth = 17;
constexpr int kFourDigitYearFromWidth = 19;

// A number without leading zeros; returns the characters written.
int put_number(char* out, int v) {
    if (v >= 10) {
        put_two_digits(out, v);
        return 2;
    }
    out[0] = static_cast<char>('0' + v);
    return 1;
}

std::int32_t render_dyam(FormatBlock* block) {
    const int width = block->width;
    block->output_length = width;
    fill_blanks(block->output, width);
    std::int32_t result;
    if (!range_ok(block, kRangeDatetime, &result)) return result;

    DayTime dt = split_datetime(block_value(block));
    int end = width;
    if (width >= kTimeFromWidth) {
        // The time first: when it rounds up to midnight the date moves on.
        FormatBlock time{};
        time.width = kTimeField;
        time.input_length = 8;
        time.capacity = kTimeField;
        time.value = &dt.seconds;
        time.output = block->output + width - kTimeField;
        if (render_clock12(&time, dt.seconds).next_day) dt.day += 1;
        end = width - kTimeField;
    }

    double year, month, day;
    char date[12];
    int length = 0;
    if (zfmcymd(&year, &month, &day, dt.day) == 1) {
        length += put_number(date + length, static_cast<int>(month));
        date[length++] = '/';
        length += put_number(date + length, static_cast<int>(day));
        date[length++] = '/';
        if (width >= kFourDigitYearFromWidth) {
            wzclchr(static_cast<std::int64_t>(year), date + length, 4);
            length += 4;
        } else {
            put_two_digits(date + length, static_cast<int>(std::fmod(year, 100)));
            length += 2;
        }
    }
    // A date the calendar cannot give, or one wider than its room, shows as
    // asterisks.
    if (length == 0 || length > end) {
        fill_asterisks(block->output, end);
    } else {
        std::memcpy(block->output + end - length, date, static_cast<std::size_t>(length));
    }
    return status::kOk;
}

// The common case: a present datetime from 1582 to 9999 that splits exactly,
// in a field from the width that shows the time; what render_dyam writes,
// with the host's calendar. False, having written nothing, for a value left
// to the general path.
bool dyam_common(FormatBlock* block) {
    const double x = block_value(block);
    if (!splits_exactly(x, kYear10000Second)) return false;
    double t;
    double day = split_day(x, &t);
    // The time first, as hh:mm on the 12-hour clock: when it rounds up to
    // midnight the date moves on.
    const TwelveHourText time = twelve_hour_common(t, 0);
    if (!time.ok) return false;
    if (time.next_day) day += 1;
    double year = NAN, month = NAN, mday = NAN;
    hostcall::zymdjul(&year, &month, &mday, hostcall::zjuldat(day));
    if (!(year >= 1000 && year <= 9999 && month >= 1 && month <= 12 && mday >= 1 && mday <= 31)) return false;

    // The date right-aligned before the time's field, without leading
    // zeros, written from its end.
    const int width = block->width;
    const int end = width - kTimeField;
    const int m = static_cast<int>(month), dd = static_cast<int>(mday), y = static_cast<int>(year);
    const bool four = width >= kFourDigitYearFromWidth;
    const int length = (m >= 10 ? 2 : 1) + 1 + (dd >= 10 ? 2 : 1) + 1 + (four ? 4 : 2);
    char* out = block->output;
    put_blanks(out, end - length);
    char* at = out + end - length;
    at += put_number(at, m);
    *at++ = '/';
    at += put_number(at, dd);
    *at++ = '/';
    if (four) {
        put_digit_pair(at, y / 100);
        at += 2;
    }
    put_digit_pair(at, y % 100);
    // The time's field: " hh:mm AM", the hour blank-padded.
    out += end;
    out[0] = ' ';
    out[1] = ' ';
    put_hour12(time.clock.hour, out + (time.clock.hour < 10 ? 2 : 1));
    out[3] = ':';
    put_digit_pair(out + 4, time.clock.minute);
    std::memcpy(out + 6, time.pm ? " PM" : " AM", 3);
    return true;
}

}  // namespace
}  // namespace classic

std::int32_t zfmdyam(FormatBlock* block) {
    using namespace classic;
    if (const std::int32_t s = validate(block, kDateAmPmLimits)) return s;
    if (block->width <= block->capacity && block->width >= kTimeFromWidth && dyam_common(block)) {
        block->output_length = block->width;
        return status::kOk;
    }
    return render_fitted(block, render_dyam);
}

std::int32_t zfmdyam_general(FormatBlock* block) {
    return classic::run_format(block, classic::kDateAmPmLimits, classic::render_dyam);
}
