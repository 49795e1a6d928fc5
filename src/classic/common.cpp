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

namespace {

// True when the fraction f shown with k decimals reads as a whole second, as
// zfmtime decides it.
bool fraction_rounds_up(double f, int k) {
    if (k == 0) return f >= 0.5;
    const double scaled = f * zpowten[k];
    return f > 0.9 && zpowten[k] - scaled < 1 && scaled - std::floor(scaled) > 0.4999999;
}

// zfmtime's half unit of the last decimal shown, and a hair, by decimals.
constexpr double kHalfUnit[10] = {
    5 / 1e1 + 0.00000001, 5 / 1e2 + 0.00000001, 5 / 1e3 + 0.00000001, 5 / 1e4 + 0.00000001,
    5 / 1e5 + 0.00000001, 5 / 1e6 + 0.00000001, 5 / 1e7 + 0.00000001, 5 / 1e8 + 0.00000001,
    5 / 1e9 + 0.00000001, 5 / 1e10 + 0.00000001,
};

}  // namespace

int put_clock(double t, int d, char* out) {
    // zfmtime's two stages: a time within half a unit (and a hair) of the
    // next hour or minute is carried into it first; then the shown fraction
    // decides whether the seconds round up, which may carry on. The whole
    // seconds are split as integers and the fraction added back: the
    // remainders are exact, as the host's split of a time is.
    const double half_unit = kHalfUnit[d];
    const int whole = static_cast<int>(t);
    double fraction = t - whole;
    int hour = whole / 3600;
    const int hour_seconds = whole - hour * 3600;
    int minute = hour_seconds / 60;
    int second = hour_seconds - minute * 60;
    if (hour_seconds + fraction + half_unit >= kSecondsPerHour) {
        ++hour, minute = 0, second = 0, fraction = 0;
    } else if (second + fraction + half_unit >= kSecondsPerMinute) {
        ++minute, second = 0, fraction = 0;
    }
    if (fraction_rounds_up(fraction, d)) {
        fraction = 0;
        if (++second == 60) second = 0, ++minute;
        if (minute == 60) minute = 0, ++hour;
    }

    out[2] = ':';
    out[5] = ':';
    if (hour == 24) {
        // The last instant of the day that the text can show.
        std::memcpy(out, "23", 2);
        std::memcpy(out + 3, "59", 2);
        std::memcpy(out + 6, "59", 2);
        if (d > 0) {
            out[8] = '.';
            std::memset(out + 9, '9', static_cast<std::size_t>(d));
        }
        return 23;
    }
    put_digit_pair(out, hour);
    put_digit_pair(out + 3, minute);
    if (d == 0) {
        // Below half a second: the whole seconds are the digits.
        put_digit_pair(out + 6, second);
    } else {
        // The seconds and their fraction in the host's numeric text.
        const double seconds = second + fraction;
        FormatBlock inner{};
        inner.width = d + 3;
        inner.decimals = d;
        inner.value = &seconds;
        inner.output = out + 6;
        hostcall::zfmt(&inner);
        if (out[6] == ' ') out[6] = '0';
    }
    return hour;
}

}  // namespace classic
