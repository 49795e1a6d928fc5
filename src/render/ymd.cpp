// Year-month-day rendering: the split of a day number, the right-to-left
// layout, and the six format routines that differ only in their layout row.
#include <cmath>
#include <cstring>

#include "binding/hostcall.h"
#include "render/render.h"
#include "text/text.h"

namespace {

// One row per format routine.
struct YmdLayout {
    char separator;        // 0: none
    int max_width;
    int max_decimals;
    int four_digit_width;  // the width at which the year keeps four digits
};

constexpr YmdLayout kDash{'-', 10, 9, 10};
constexpr YmdLayout kBlank{' ', 10, 9, 10};
constexpr YmdLayout kColon{':', 10, 9, 10};
constexpr YmdLayout kNone{0, 8, 7, 8};
constexpr YmdLayout kPoint{'.', 10, 9, 10};
constexpr YmdLayout kSlash{'/', 10, 9, 10};

// Writes a number field that ends just left of `edge` and returns its start:
// two characters (zero-padded) for a number up to 99, else four; a number
// that needs more shows as asterisks, as does one that is not a number.
int put_date_field(char* area, int edge, double v) {
    const int field = v <= 99 ? 2 : 4;
    char* at = area + edge - field;
    if (!(std::fabs(v) < 1e15)) {
        fill_asterisks(at, field);
    } else {
        wzclchr(static_cast<std::int64_t>(v), at, field);
        if (field == 2 && at[0] == ' ') at[0] = '0';
    }
    return edge - field;
}

std::int32_t render_ymd(FormatBlock* block, const YmdLayout& layout) {
    if (const std::int32_t s = validate(block, {2, layout.max_width, 0, layout.max_decimals})) return s;
    switch (zdatrng(block, kRangeDate)) {
        case kMissingDone: return status::kOk;
        case kOutOfRangeDone: return status::kOutOfRange;
        default: break;
    }
    block->output_length = field_width(block);
    double year = NAN, month = NAN, day = NAN;
    zfmcymd(&year, &month, &day, block_value(block));
    if (block->width < layout.four_digit_width) year = std::fmod(std::trunc(year), 100);
    zfmcprt(block->width, layout.separator, block->output, year, month, day);
    return status::kOk;
}

}  // namespace

int zfmcymd(double* year, double* month, double* day, double date) {
    if (is_missing(date)) return -1;
    const double julian = hostcall::zjuldat(date);
    if (is_missing(julian)) return -1;
    hostcall::zymdjul(year, month, day, julian);
    return is_missing(*year) || is_missing(*month) || is_missing(*day) ? -1 : 1;
}

// Lays the parts out from the right end of a blank work area: the day only
// when the width is above 5, the month above 3, separators only where all of
// them fit (width 5 has the one between year and month). The text shows
// through a window of the width; a width beyond 10 is blank on the left.
int zfmcprt(int width, int separator, char* output, double year, double month, double day) {
    constexpr int kWindow = 10;
    // Room for three four-character fields and two separators, whatever the
    // numbers; only the rightmost kWindow characters are ever shown.
    char area[16];
    fill_blanks(area, sizeof area);
    const char s = static_cast<char>(separator);
    int edge = sizeof area;
    if (width > 5) {
        edge = put_date_field(area, edge, day);
        if (width >= 8 && s) area[--edge] = s;
    }
    if (width > 3) {
        edge = put_date_field(area, edge, month);
        if (s && (width == 5 || width >= 8)) area[--edge] = s;
    }
    put_date_field(area, edge, year);

    if (width <= 0) return 0;
    const int shown = min(width, kWindow);
    fill_blanks(output, width - shown);
    std::memcpy(output + width - shown, area + sizeof area - shown, static_cast<std::size_t>(shown));
    return 0;
}

std::int32_t zfmymd(FormatBlock* block) { return render_ymd(block, kDash); }
std::int32_t zfmymdb(FormatBlock* block) { return render_ymd(block, kBlank); }
std::int32_t zfmymdc(FormatBlock* block) { return render_ymd(block, kColon); }
std::int32_t zfmymdn(FormatBlock* block) { return render_ymd(block, kNone); }
std::int32_t zfmymdp(FormatBlock* block) { return render_ymd(block, kPoint); }
std::int32_t zfmymds(FormatBlock* block) { return render_ymd(block, kSlash); }
