// The range check that every date and time renderer makes first: a missing
// value is rendered through the host's missing-value text, a value outside
// the calendar's span as asterisks.
#include "binding/hostcall.h"
#include "render/render.h"
#include "text/text.h"
#include "render/units.h"

namespace {

// Day numbers of 1582-01-01 and of the first day past the span.
constexpr double kFirstDay = -138061;
constexpr double kEndDay = 6589336;

bool in_range(double x, int kind) {
    switch (kind) {
        case kRangeDate:
            return x >= kFirstDay && x < kEndDay;
        case kRangeTime:
        case kRangeDatetime:
            return x >= kFirstDay * kSecondsPerDay && x < kEndDay * kSecondsPerDay;
        default:
            return true;
    }
}

}  // namespace

void render_asterisks(FormatBlock* block) {
    const int w = field_width(block);
    fill_asterisks(block->output, w);
    block->output_length = w;
}

int zdatrng(FormatBlock* block, int kind) {
    const double x = block_value(block);
    if (is_missing(x)) {
        // The missing-value text is written without decimals.
        const std::int32_t decimals = block->decimals;
        block->decimals = 0;
        hostcall::zfmmiss(block);
        block->decimals = decimals;
        return kMissingDone;
    }
    if (in_range(x, kind)) return kRenderable;
    render_asterisks(block);
    return kOutOfRangeDone;
}
