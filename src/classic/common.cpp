// What the classic formats share: fitting into the capacity, the range check
// as a status, month abbreviations, two-digit fields, datetime splitting.
#include <cmath>
#include <cstring>

#include "classic/internal.h"
#include "render/remainder.h"
#include "binding/hostcall.h"
#include "render/render.h"

namespace classic {

std::int32_t render_fitted(FormatBlock* block, Renderer render) {
    if (block->width <= block->capacity) {
        if (block->width > 0) return render(block);
        block->output_length = 0;
        return status::kOk;
    }
    // Nothing may be written past the capacity: render a copy whose width is
    // the capacity. It is not validated again: the caller's width was.
    FormatBlock fitted = *block;
    fitted.width = block->capacity > 0 ? block->capacity : 0;
    fitted.flags &= static_cast<std::uint8_t>(~kValidateFlag);
    fitted.output_length = 0;
    const std::int32_t result = fitted.width > 0 ? render(&fitted) : status::kOk;
    block->output_length = fitted.output_length;
    return result == status::kOk ? status::kCapacity : result;
}

bool range_ok(FormatBlock* block, int kind, std::int32_t* result) {
    switch (zdatrng(block, kind)) {
        case kRenderable:
            // A field of no width holds nothing (and the renderers below
            // measure their texts against a positive width).
            if (block->width <= 0) {
                block->output_length = 0;
                *result = status::kOk;
                return false;
            }
            return true;
        case kMissingDone:
            *result = status::kOk;
            return false;
        default:
            *result = status::kOutOfRange;
            return false;
    }
}

namespace {

// The first national-language object of the environment that carries a
// table long enough to hold the month abbreviations.
const char* const* month_table(const FormatBlock* block) {
    const Environment* env = hostcall::environment_of(block);
    if (!env) return nullptr;
    for (const LanguageObject* o = env->languages; o; o = o->next)
        if (o->strings && o->string_count > kMonthLastEntry) return o->strings;
    return nullptr;
}

}  // namespace

void put_month(const FormatBlock* block, int month, char* out) {
    const char* const* table = month >= 1 && month <= 12 ? month_table(block) : nullptr;
    // An entry is a length byte followed by the abbreviation.
    const char* entry = table ? table[kMonthFirstEntry - 1 + month] : nullptr;
    const int length = entry ? static_cast<unsigned char>(entry[0]) : 0;
    if (length >= 3) {
        std::memcpy(out, entry + 1, 3);
        return;
    }
    out[0] = out[1] = out[2] = ' ';
    for (int i = 0; i < length; ++i) out[i] = entry[1 + i];
}

DayTime split_datetime(double datetime) {
    // The host's date may lie a day after the datetime (a date rounded toward
    // zero); step back to the day the datetime falls on.
    double day = hostcall::zdatprt(datetime);
    if (datetime < day * kSecondsPerDay) day -= 1;
    double seconds = fmod_units(datetime, kSecondsPerDay);
    if (seconds < 0) seconds += kSecondsPerDay;
    // A datetime a hair below a midnight folds onto 86400 itself: that is
    // the midnight, which starts the next day.
    if (seconds >= kSecondsPerDay) {
        seconds = 0;
        day += 1;
    }
    return {day, seconds + 0.0};
}

const char kDigitPairs[201] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

void put_minute_second(const ClockParts& c, int d, char* out) {
    put_digit_pair(out, c.minute);
    out[2] = ':';
    if (d == 0) {
        // Below half a second: the whole seconds are the digits.
        put_digit_pair(out + 3, c.second);
        return;
    }
    // The seconds and their fraction in the host's numeric text.
    const double seconds = c.second + c.fraction;
    FormatBlock inner{};
    inner.width = d + 3;
    inner.decimals = d;
    inner.value = &seconds;
    inner.output = out + 3;
    hostcall::zfmt(&inner);
    if (out[3] == ' ') out[3] = '0';
}

}  // namespace classic
