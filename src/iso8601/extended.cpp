// Extended ISO 8601 date, time and datetime: 2008-09-15, 09:05:00.123,
// 2008-09-15T09:05:00.123, and the date of a datetime.
#include <cmath>
#include <cstring>

#include "binding/hostcall.h"
#include "iso8601/formats.h"
#include "iso8601/iso8601.h"
#include "iso8601/ranges.h"
#include "iso8601/shown_datetime.h"
#include "render/render.h"
#include "text/text.h"

namespace {

constexpr int kDatePlaces = 10;                                 // yyyy-mm-dd
constexpr int kTimePlaces = 8;                                 // hh:mm:ss
constexpr int kDatetimePlaces = kDatePlaces + 1 + kTimePlaces;  // yyyy-mm-ddThh:mm:ss

bool digit_at(const char* out, int i) { return hostcall::is_digit(out[i]); }

// Sets the two characters at *at (after skipping one delimiter) to "59";
// false when the text ends first.
bool put_59(char* out, int len, int* at) {
    int q = *at;
    if (q >= len) return false;
    if (!digit_at(out, q)) ++q;
    if (q + 1 >= len) return false;
    out[q] = '5';
    out[q + 1] = '9';
    *at = q + 2;
    return true;
}

// A time in the last second of the day may have rounded up to hour 24; the
// text is then shown as the last representable instant of the day,
// 23:59:59.999..., keeping its layout.
void fold_midnight(char* out, int len) {
    const int p = wzstnot(out, len, ' ');
    if (p < 0 || p + 1 >= len || out[p] != '2' || out[p + 1] != '4') return;
    out[p + 1] = '3';
    int q = p + 2;
    if (!put_59(out, len, &q) || !put_59(out, len, &q)) return;
    if (q >= len) return;
    if (!digit_at(out, q)) ++q;
    for (; q < len && digit_at(out, q); ++q) out[q] = '9';
}

// yyyy-mm-dd of a day number, as the year-month-day renderer writes it at
// width 10, with the host's calendar; false, having written nothing, for a
// year without four digits.
bool put_date(char* out, double date) {
    double year = NAN, month = NAN, day = NAN;
    hostcall::zymdjul(&year, &month, &day, hostcall::zjuldat(date));
    if (!(year >= 1000 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= 31)) return false;
    const int y = static_cast<int>(year);
    put_two_digits(out, y / 100);
    put_two_digits(out + 2, y % 100);
    out[4] = '-';
    put_two_digits(out + 5, static_cast<int>(month));
    out[7] = '-';
    put_two_digits(out + 8, static_cast<int>(day));
    return true;
}

}  // namespace

std::int32_t f8601da(FormatBlock* block) {
    if (const std::int32_t s = validate(block, kExtendedDA)) return s;
    const double x = block_value(block);
    if (outside(x, kIsoDate)) {
        render_asterisks(block);
        return status::kOk;
    }
    // The common case, a present date in a field of the text's width.
    if (block->width == kDatePlaces && x == x && put_date(block->output, x)) {
        block->output_length = kDatePlaces;
        return status::kOk;
    }
    return zfmymd(block);
}

std::int32_t f8601da_general(FormatBlock* block) {
    if (const std::int32_t s = validate(block, kExtendedDA)) return s;
    if (outside(block_value(block), kIsoDate)) {
        render_asterisks(block);
        return status::kOk;
    }
    return zfmymd(block);
}

std::int32_t f8601tm(FormatBlock* block) {
    if (const std::int32_t s = validate(block, kExtendedTM)) return s;
    const double x = block_value(block);
    if (outside(x, kIsoTime)) {
        render_asterisks(block);
        return status::kOk;
    }
    const std::int32_t s = zfmtime(block);
    // The host's missing-value text is left as it was written.
    if (s != status::kOk || is_missing(x)) return s;
    char* out = block->output;
    const int len = block->output_length;
    // Hours have two digits: a one-digit hour with a blank before it gets a zero.
    const int colon = wzstpos(out, len, ':');
    if (colon >= 2 && out[colon - 2] == ' ') out[colon - 2] = '0';
    if (x > 86399 && x < 86400) fold_midnight(out, len);
    return s;
}

std::int32_t f8601dt(FormatBlock* block) {
    if (const std::int32_t s = validate(block, kExtendedDT)) return s;
    const double x = block_value(block);
    const int d = block->decimals > 0 ? block->decimals : 0;
    // The common case: a present datetime in range with up to nine decimals
    // and the whole text in the field.
    ShownDatetime f;
    const int places = extended_places(d);
    if (d <= 9 && block->width >= places && x == x && !outside(x, kIsoDatetime) && split_shown(x, d, &f)) {
        const int pad = block->width - places;
        fill_blanks(block->output, pad);
        put_extended(block->output + pad, f, d);
        block->output_length = block->width;
        return status::kOk;
    }
    return f8601dt_general(block);
}

std::int32_t f8601dt_general(FormatBlock* block) {
    if (const std::int32_t s = validate(block, kExtendedDT)) return s;
    const double x = block_value(block);
    if (is_missing(x)) {
        // The missing-value text across the whole width; rendered here rather
        // than by the time renderer, whose width limit is narrower than ours.
        zdatrng(block, kRangeDatetime);
        return status::kOk;
    }
    const int w = block->width;
    // Below the room for the date and its T (only with validation off) the
    // value cannot be shown.
    if (outside(x, kIsoDatetime) || w <= kDatePlaces) {
        render_asterisks(block);
        return status::kOk;
    }
    // Decimals give way first: a field one short of the full text would
    // otherwise leave the time renderer room for the decimals only by
    // writing a one-digit hour (T9:05:00.0), which is not ISO 8601.
    int d = block->decimals > 0 ? block->decimals : 0;
    if (d > 0 && sub_sat(w, kDatetimePlaces + 1) < d) d = max(0, sub_sat(w, kDatetimePlaces + 1));
    const int pad = max(0, sub_sat(w, kDatetimePlaces + d + (d != 0 ? 1 : 0)));
    fill_blanks(block->output, pad);
    char* out = block->output + pad;
    const int rest = w - pad;

    const double date = hostcall::zdatprt(x);
    FormatBlock date_block = *block;
    date_block.width = kDatePlaces;
    date_block.decimals = 0;
    date_block.capacity = kDatePlaces;
    date_block.value = &date;
    date_block.output = out;
    if (const std::int32_t s = f8601da(&date_block)) {
        block->output_length = pad;
        return s;
    }

    out[kDatePlaces] = 'T';
    const double time = hostcall::ztimprt(x);
    FormatBlock time_block = *block;
    time_block.decimals = d;
    time_block.width = rest - kDatePlaces - 1;
    time_block.capacity = sub_sat(sub_sat(block->capacity, pad), kDatePlaces + 1);
    time_block.value = &time;
    time_block.output = out + kDatePlaces + 1;
    const std::int32_t s = f8601tm(&time_block);
    if (s == status::kOk) {
        // The time renderer right-aligns within its own part; blanks it left
        // before the hour move to the front so that the text stays whole.
        const int blanks = max(0, wzstnot(time_block.output, time_block.output_length, ' '));
        if (blanks > 0) {
            std::memmove(out + blanks, out, kDatePlaces + 1);
            fill_blanks(out, blanks);
        }
    }
    block->output_length = pad + date_block.output_length + 1 + time_block.output_length;
    return s;
}

std::int32_t f8601dn(FormatBlock* block) {
    if (const std::int32_t s = validate(block, kExtendedDN)) return s;
    const double x = block_value(block);
    if (outside(x, kIsoDatetime)) {
        render_asterisks(block);
        return status::kOk;
    }
    const double date = hostcall::zdatprt(x);
    FormatBlock inner = *block;
    inner.value = &date;
    const std::int32_t s = f8601da(&inner);
    block->output_length = inner.output_length;
    return s;
}
