// Elapsed time: decimal hours (zfmhour), and a leading quantity with a
// two-digit trailing part, minutes:seconds (zfmmmss) or hours:minutes
// (zfmhhmm). The sign shows only in the two-part formats.
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

constexpr Limits kElapsedLimits{2, 20, 0, 19};

double whole_days(double a) { return a >= kSecondsPerDay ? std::floor(a / kSecondsPerDay) : 0; }

std::int32_t render_hour(FormatBlock* block) {
    std::int32_t result;
    if (!range_ok(block, kRangeTime, &result)) return result;
    const double a = std::fabs(block_value(block));
    const double hours = hostcall::zhour(a) + 24 * whole_days(a);
    const double rest = fmod_units(a, 3600);
    // Without decimals half an hour counts as a whole one.
    double shown = block->decimals <= 0 && rest >= 1800 ? hours + 1 : hours + rest / 3600;
    const void* saved = block->value;
    block->value = &shown;
    hostcall::zfmt(block);
    block->value = saved;
    return status::kOk;
}

// A magnitude split into the leading quantity and the trailing part.
struct Parts {
    double lead, trail;
};
using Split = Parts (*)(double magnitude, int decimals);

Parts minutes_seconds(double a, int) {
    const double hours = hostcall::zhour(a) + 24 * whole_days(a);
    return {hostcall::zminute(a) + 60 * hours, hostcall::zsecond(a)};
}

// With decimals the minutes carry the leftover seconds as a fraction;
// without, more than 30 leftover seconds make one more minute.
Parts hours_minutes(double a, int decimals) {
    double hours = hostcall::zhour(a) + 24 * whole_days(a);
    double minutes = hostcall::zminute(a);
    const double leftover = a - 3600 * hours - 60 * minutes;
    if (decimals > 0) return {hours, minutes + leftover / 60};
    if (leftover > 30 && ++minutes == 60) {
        minutes = 0;
        hours += 1;
    }
    return {hours, minutes};
}

// Fresh block for the host's numeric format: width characters of value with
// decimals at out.
void put_number(const FormatBlock* caller, double value, int width, int decimals, char* out) {
    FormatBlock b{};
    b.width = width;
    b.decimals = decimals;
    b.value = &value;
    b.input_length = 8;
    b.output = out;
    b.capacity = width;
    b.environment = caller->environment;
    hostcall::zfmt(&b);
}

constexpr int kLeadArea = 12;
constexpr int kTrailArea = 18;

std::int32_t render_two_parts(FormatBlock* block, Split split) {
    std::int32_t result;
    if (!range_ok(block, kRangeTime, &result)) return result;
    const double x = block_value(block);
    const int neg = x < 0 ? 1 : 0;
    const int d = block->decimals > 0 ? block->decimals : 0;
    Parts parts = split(std::fabs(x), d);
    const int width = block->width;
    block->output_length = width;
    fill_blanks(block->output, width);

    // The leading quantity, left room for a sign; the trailing part in q
    // characters: two digits, then the point and at most 15 decimals.
    char lead[kLeadArea];
    char* const lead_digits = lead + neg;
    const int lead_width = kLeadArea - neg;
    const int q = min(kTrailArea, add_sat(d, 2 + (d > 0 ? 1 : 0)));
    const int trail_decimals = sub_sat(q, 2 + (d > 0 ? 1 : 0));
    char trail[kTrailArea];
    put_number(block, parts.lead, lead_width, 0, lead_digits);
    put_number(block, parts.trail, q, trail_decimals, trail);
    // A trailing part that rounds to 60 is carried into the leading quantity.
    const int first = wzstnot(trail, q, ' ');
    if (parts.trail > 59 && first >= 0 && trail[first] == '6') {
        put_number(block, parts.lead + 1, lead_width, 0, lead_digits);
        put_number(block, 0, q, trail_decimals, trail);
    }
    wzstrnc(trail, q, '0', ' ');
    int length;
    wzstjls(lead_digits, lead_width, 'l', &length, nullptr);
    if (neg) {
        lead[0] = '-';
        ++length;
    }

    char* out = block->output;
    if (length > width) {  // the leading quantity does not fit
        const int marks = min(2, width);
        fill_asterisks(out + width - marks, marks);
        return status::kOk;
    }
    // The trailing part is cut on the right to the room left, decimals too.
    const int room = width - length - 1;
    const int shown = room >= 2 ? min(room, q) : 0;
    const int total = length + (shown > 0 ? 1 + shown : 0);
    out += width - total;
    std::memcpy(out, lead, static_cast<std::size_t>(length));
    if (shown > 0) {
        out[length] = ':';
        std::memcpy(out + length + 1, trail, static_cast<std::size_t>(shown));
    }
    return status::kOk;
}

std::int32_t render_mmss(FormatBlock* block) { return render_two_parts(block, minutes_seconds); }
std::int32_t render_hhmm(FormatBlock* block) { return render_two_parts(block, hours_minutes); }

// The common cases: a present value in the range, in a field that fits the
// capacity. The magnitude is split from its whole seconds as an integer (the
// remainders are exact, as the host's split) and whole numbers are written
// as digits; the trailing part with a fraction is the host's numeric text.

bool common_value(const FormatBlock* block, double* x) {
    *x = block_value(block);
    return block->width > 0 && block->width <= block->capacity && *x >= kFirstSecond && *x < kEndSecond;
}

// How many digits v (0 <= v < 10^12) has.
int digit_count(std::int64_t v) {
    int n = 1;
    for (std::int64_t p = 10; n < 12 && v >= p; p *= 10) ++n;
    return n;
}

// The digits of v, ending just before `end`.
void put_digits_before(std::int64_t v, char* end) {
    for (; v >= 100; v /= 100) {
        end -= 2;
        put_digit_pair(end, static_cast<int>(v % 100));
    }
    if (v >= 10) {
        put_digit_pair(end - 2, static_cast<int>(v));
    } else {
        end[-1] = static_cast<char>('0' + v);
    }
}

bool two_parts_common(FormatBlock* block, bool hours_minutes) {
    double x;
    const int d = common_decimals(block);
    if (d < 0 || !common_value(block, &x)) return false;
    const int neg = x < 0 ? 1 : 0;
    const double a = std::fabs(x);
    const auto whole = static_cast<std::int64_t>(a);
    std::int64_t lead;
    double trail;
    if (!hours_minutes) {
        lead = whole / 60;
        trail = static_cast<double>(whole % 60) + (a - static_cast<double>(whole));
    } else {
        // As hours_minutes: the leftover seconds as a fraction of a minute,
        // or past 30 one more minute.
        std::int64_t hours = whole / 3600;
        std::int64_t minutes = whole % 3600 / 60;
        const double leftover = a - 3600 * static_cast<double>(hours) - 60 * static_cast<double>(minutes);
        if (d > 0) {
            trail = static_cast<double>(minutes) + leftover / 60;
        } else {
            if (leftover > 30 && ++minutes == 60) {
                minutes = 0;
                hours += 1;
            }
            trail = static_cast<double>(minutes);
        }
        lead = hours;
    }

    // The trailing part in q characters: two digits, then the point and the
    // decimals; blanks before the digits become zeros.
    const int q = d + 2 + (d > 0 ? 1 : 0);
    char trail_text[kTrailArea];
    if (d == 0 && trail == std::floor(trail)) {
        put_digit_pair(trail_text, static_cast<int>(trail));
    } else {
        put_number(block, trail, q, d, trail_text);
        // Rounded up to 60: carried into the leading quantity by the
        // general path.
        int first = 0;
        while (first < q && trail_text[first] == ' ') ++first;
        if (trail > 59 && first < q && trail_text[first] == '6') return false;
    }
    const int length = neg + digit_count(lead);
    const int width = block->width;
    if (length > width) return false;

    // The trailing part is cut on the right to the room left, decimals too.
    const int room = width - length - 1;
    const int shown = room >= 2 ? (room < q ? room : q) : 0;
    const int total = length + (shown > 0 ? 1 + shown : 0);
    char* out = block->output;
    put_blanks(out, width - total);
    out += width - total;
    if (neg) out[0] = '-';
    put_digits_before(lead, out + length);
    if (shown > 0) {
        out += length;
        *out++ = ':';
        for (int i = 0; i < shown; ++i) out[i] = trail_text[i] == ' ' ? '0' : trail_text[i];
    }
    block->output_length = width;
    return true;
}

}  // namespace
}  // namespace classic

std::int32_t zfmhour(FormatBlock* block) {
    using namespace classic;
    if (const std::int32_t s = validate(block, kElapsedLimits)) return s;
    double x;
    if (common_value(block, &x)) {
        // As render_hour: hours and the rest as a fraction of an hour, or
        // without decimals half an hour as a whole one.
        const double a = std::fabs(x);
        const auto whole = static_cast<std::int64_t>(a);
        const std::int64_t hours = whole / 3600;
        const double rest = static_cast<double>(whole - hours * 3600) + (a - static_cast<double>(whole));
        const double h = static_cast<double>(hours);
        double shown = block->decimals <= 0 && rest >= 1800 ? h + 1 : h + rest / 3600;
        const void* saved = block->value;
        block->value = &shown;
        hostcall::zfmt(block);
        block->value = saved;
        return status::kOk;
    }
    return render_fitted(block, render_hour);
}

std::int32_t zfmmmss(FormatBlock* block) {
    using namespace classic;
    if (const std::int32_t s = validate(block, kElapsedLimits)) return s;
    if (two_parts_common(block, false)) return status::kOk;
    return render_fitted(block, render_mmss);
}

std::int32_t zfmhhmm(FormatBlock* block) {
    using namespace classic;
    if (const std::int32_t s = validate(block, kElapsedLimits)) return s;
    if (two_parts_common(block, true)) return status::kOk;
    return render_fitted(block, render_hhmm);
}

std::int32_t zfmhour_general(FormatBlock* block) {
    return classic::run_format(block, classic::kElapsedLimits, classic::render_hour);
}

std::int32_t zfmmmss_general(FormatBlock* block) {
    return classic::run_format(block, classic::kElapsedLimits, classic::render_mmss);
}

std::int32_t zfmhhmm_general(FormatBlock* block) {
    return classic::run_format(block, classic::kElapsedLimits, classic::render_hhmm);
}
