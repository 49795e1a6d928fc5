// Dates with a month abbreviation: month and year (zfmmony), day, month and
// year (zfmdate).
#include <cmath>
#include <cstring>

#include "classic/classic.h"
#include "classic/internal.h"
#include "render/render.h"
#include "text/text.h"

namespace classic {
namespace {

constexpr Limits kMonthYearLimits{5, 7, 0, 6};
constexpr Limits kDateLimits{5, 11, 0, 8};

struct Civil {
    double year, month, day;
};

// MMMyy, or MMMyyyy with four_digits; a year past 9999 shows as asterisks.
void put_month_year(const FormatBlock* block, const Civil& c, bool four_digits, char* out) {
    put_month(block, static_cast<int>(c.month), out);
    if (four_digits) {
        wzclchr(static_cast<std::int64_t>(c.year), out + 3, 4);
        if (out[3] == ' ') out[3] = '0';
    } else {
        put_two_digits(out + 3, static_cast<int>(std::fmod(c.year, 100)));
    }
}

// Range check, output length, and the date split; false when the field is
// already written (missing, out of range, or too narrow for any layout).
bool begin(FormatBlock* block, int min_width, Civil* c, std::int32_t* result) {
    if (!range_ok(block, kRangeDate, result)) return false;
    block->output_length = block->width;
    *result = status::kOk;
    if (block->width < min_width) {
        fill_asterisks(block->output, block->width);
        return false;
    }
    zfmcymd(&c->year, &c->month, &c->day, block_value(block));
    return true;
}

// Widths 5 and 6: MMMyy (after a blank at 6); 7 and more: MMMyyyy,
// right-aligned.
std::int32_t render_month_year(FormatBlock* block) {
    Civil c;
    std::int32_t result;
    if (!begin(block, 5, &c, &result)) return result;
    const int length = block->width >= 7 ? 7 : 5;
    char* out = block->output;
    fill_blanks(out, block->width - length);
    put_month_year(block, c, length == 7, out + block->width - length);
    return status::kOk;
}

// ddMMM, ddMMMyy, ddMMMyyyy at the odd widths 5, 7 and 9, after a blank at
// the even width above each; dd-MMM-yyyy from 11, right-aligned.
std::int32_t render_date(FormatBlock* block) {
    Civil c;
    std::int32_t result;
    if (!begin(block, 5, &c, &result)) return result;
    const int width = block->width;
    const int length = width >= 11 ? 11 : width - (width % 2 == 0 ? 1 : 0);
    fill_blanks(block->output, width - length);
    char* out = block->output + width - length;
    put_two_digits(out, static_cast<int>(c.day));
    char month_year[7];
    put_month_year(block, c, length >= 9, month_year);
    if (length == 11) {
        out[2] = '-';
        std::memcpy(out + 3, month_year, 3);
        out[6] = '-';
        std::memcpy(out + 7, month_year + 3, 4);
    } else {
        std::memcpy(out + 2, month_year, static_cast<std::size_t>(length - 2));
    }
    return status::kOk;
}

}  // namespace
}  // namespace classic

std::int32_t zfmmony(FormatBlock* block) {
    return classic::run_format(block, classic::kMonthYearLimits, classic::render_month_year);
}

std::int32_t zfmdate(FormatBlock* block) {
    return classic::run_format(block, classic::kDateLimits, classic::render_date);
}
