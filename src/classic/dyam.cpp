// zfmdyam: a datetime as month/day/year and, from width 17, the time in
// hours and minutes on the 12-hour clock, right-aligned.
#include <cmath>
#include <cstring>

#include "classic/classic.h"
#include "classic/internal.h"
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

}  // namespace
}  // namespace classic

std::int32_t zfmdyam(FormatBlock* block) {
    return classic::run_format(block, classic::kDateAmPmLimits, classic::render_dyam);
}
