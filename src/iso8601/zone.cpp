// Extended ISO 8601 times and datetimes with a zone designator: universal
// (Z or +00:00), the host's GMT offset, or the offset of the task's zone.
// Each renders its text into a work area through the extended routines,
// then right-aligns text and designator in the width; the datetimes' common
// case writes both straight into the field.
#include <algorithm>
#include <cstring>

#include "binding/hostcall.h"
#include "host/module_state.h"
#include "iso8601/formats.h"
#include "iso8601/iso8601.h"
#include "iso8601/ranges.h"
#include "iso8601/shown_datetime.h"
#include "render/render.h"
#include "text/text.h"
#include "render/units.h"

namespace {

constexpr int kDatetimeArea = 26;
constexpr int kTimeArea = 16;
constexpr int kZoneArea = 8;

// The rendered text inside a work area.
struct Text {
    const char* start;
    int length;
};

Text measure(char* area, int n) {
    int length = 0, start = 0;
    wzstjls(area, n, 'n', &length, &start);
    return {area + start, length};
}

// Blanks, the text and the suffix, right-aligned in the width. A text wider
// than the field (only below the format's minimum width, or for a value
// that the zone shift carried outside the calendar) shows as asterisks; a
// suffix is written only where it fits whole.
std::int32_t assemble(FormatBlock* block, Text text, const char* suffix, int suffix_length) {
    const int w = field_width(block);
    if (text.length > w) {
        render_asterisks(block);
        return status::kOk;
    }
    if (suffix_length < 0 || suffix_length > w - text.length) suffix_length = 0;
    const int blanks = w - text.length - suffix_length;
    fill_blanks(block->output, blanks);
    std::memcpy(block->output + blanks, text.start, static_cast<std::size_t>(text.length));
    std::memcpy(block->output + blanks + text.length, suffix, static_cast<std::size_t>(suffix_length));
    block->output_length = w;
    return status::kOk;
}

// Universal time: +00:00 where six places are left, Z where fewer; a
// missing value keeps the same places blank.
std::int32_t assemble_universal(FormatBlock* block, Text text, bool missing) {
    const int room = sub_sat(block->width, text.length);
    const int e = room >= 6 ? 6 : room >= 1 ? 1 : 0;
    return assemble(block, text, missing ? "      " : e == 6 ? "+00:00" : "Z", e);
}

// The zone's own offset text, asked of the host for the room left; none for
// a missing value or fewer than three places.
std::int32_t assemble_zone(FormatBlock* block, Text text, bool missing, double offset) {
    const int room = sub_sat(block->width, text.length);
    char zone[kZoneArea];
    std::int32_t e = 0;
    if (!missing && room >= 3) hostcall::xkgtzstr(zone, room, &e, offset);
    return assemble(block, text, zone, min(e, kZoneArea));
}

// Decimals for the datetime text in a field of width w: all of them when the
// text fits, else as many as leave a place for the zone designator.
int datetime_decimals(int w, int d) {
    const int shown = d < 0 ? 0 : d > 6 ? 6 : d;
    if (19 + shown + (shown > 0 ? 1 : 0) <= w) return d;
    return max(0, min(d, sub_sat(w, 21)));
}

// The datetime text of v in the work area, through f8601dt on a copy of the
// caller's block. Returns the inner status.
std::int32_t render_datetime(const FormatBlock* block, double v, char (&area)[kDatetimeArea]) {
    FormatBlock inner = *block;
    inner.width = kDatetimeArea;
    inner.capacity = kDatetimeArea;
    inner.input_length = kDatetimeArea;
    inner.output = area;
    inner.value = &v;
    inner.decimals = datetime_decimals(block->width, block->decimals);
    return f8601dt(&inner);
}

// The time text of v, through f8601tm, with the decimals that leave at least
// one place for a designator. Sets the inner width.
std::int32_t render_time(const FormatBlock* block, double v, char (&area)[kTimeArea], int* inner_width) {
    const int k = max(0, min(min(block->decimals, sub_sat(block->width, 10)), 6));
    FormatBlock inner = *block;
    inner.decimals = k;
    inner.width = 8 + k + (k > 0 ? 1 : 0);
    inner.capacity = inner.width;
    inner.input_length = kTimeArea;
    inner.output = area;
    inner.value = &v;
    *inner_width = inner.width;
    return f8601tm(&inner);
}

// Formats that treat the value as universal time or as local time with a
// zone offset taken from the host.
enum class DatetimeZone { shifted, local };

// E8601DX and E8601LX share this routine and so their limits.
static_assert(kExtendedDX.min_width == kExtendedLX.min_width && kExtendedDX.max_width == kExtendedLX.max_width &&
              kExtendedDX.max_decimals == kExtendedLX.max_decimals);

// The common case of the datetime formats with a designator: decimals 0 to 6
// and the whole datetime text in the field, written straight with the
// designator's text after it. The designator is asked for the room the text
// leaves, as in the general path. False, having written nothing, for a value
// left to the general path.
template <class Designator>
bool datetime_common(FormatBlock* block, double v, Designator designator) {
    const int w = block->width;
    const int d = block->decimals > 0 ? block->decimals : 0;
    const int places = extended_places(d);
    ShownDatetime f;
    if (d > 6 || w < places || !split_shown(v, d, &f)) return false;
    char* out = block->output;
    const int e = designator(out + w, w - places);
    fill_blanks(out, w - places - e);
    put_extended(out + w - places - e, f, d);
    block->output_length = w;
    return true;
}

// The zone's offset text for the room left, written to end at *end: the
// designator of the datetimes with the zone's offset.
struct ZoneText {
    double offset;
    int operator()(char* end, int room) const {
        char zone[kZoneArea];
        std::int32_t e = 0;
        if (room >= 3) hostcall::xkgtzstr(zone, room, &e, offset);
        e = std::min(e, kZoneArea);
        if (e < 0 || e > room) return 0;
        std::memcpy(end - e, zone, static_cast<std::size_t>(e));
        return e;
    }
};

std::int32_t datetime_with_zone(FormatBlock* block, DatetimeZone how, bool common_case) {
    if (const std::int32_t s = validate(block, kExtendedDX)) return s;
    const double x = block_value(block);
    const bool missing = is_missing(x);
    double v = x, offset = 0;
    if (!missing) {
        if (outside(x, kIsoDatetime)) {
            render_asterisks(block);
            return status::kOk;
        }
        const std::int32_t universal = how == DatetimeZone::shifted ? 1 : 0;
        offset = hostcall::xkgtzof4(hostcall::environment_of(block), universal, x);
        if (how == DatetimeZone::shifted) v = x + offset;
        // Shifted past either end of the calendar: nothing to show.
        if (outside(v, kIsoDatetime)) {
            render_asterisks(block);
            return status::kOk;
        }
        if (common_case && datetime_common(block, v, ZoneText{offset})) return status::kOk;
    }
    char area[kDatetimeArea];
    if (const std::int32_t s = render_datetime(block, v, area)) return s;
    return assemble_zone(block, measure(area, kDatetimeArea), missing, offset);
}

// +00:00 where the text leaves six places, Z where fewer, as
// assemble_universal writes them.
int universal_text(char* end, int room) {
    if (room >= 6) {
        std::memcpy(end - 6, "+00:00", 6);
        return 6;
    }
    if (room < 1) return 0;
    end[-1] = 'Z';
    return 1;
}

std::int32_t datetime_universal(FormatBlock* block, bool common_case) {
    if (const std::int32_t s = validate(block, kExtendedDZ)) return s;
    const double x = block_value(block);
    if (outside(x, kIsoDatetime)) {
        render_asterisks(block);
        return status::kOk;
    }
    if (common_case && x == x && datetime_common(block, x, universal_text)) return status::kOk;
    char area[kDatetimeArea];
    if (const std::int32_t s = render_datetime(block, x, area)) return s;
    return assemble_universal(block, measure(area, kDatetimeArea), is_missing(x));
}

}  // namespace

std::int32_t f8601dz(FormatBlock* block) { return datetime_universal(block, true); }
std::int32_t f8601dz_general(FormatBlock* block) { return datetime_universal(block, false); }

std::int32_t f8601tz(FormatBlock* block) {
    if (const std::int32_t s = validate(block, kExtendedTZ)) return s;
    const double x = block_value(block);
    if (outside(x, kIsoTime)) {
        render_asterisks(block);
        return status::kOk;
    }
    char area[kTimeArea];
    int inner_width;
    if (const std::int32_t s = render_time(block, x, area, &inner_width)) return s;
    return assemble_universal(block, measure(area, inner_width), is_missing(x));
}

std::int32_t f8601lz(FormatBlock* block) {
    if (const std::int32_t s = validate(block, kExtendedLZ)) return s;
    const double x = block_value(block);
    if (outside(x, kIsoTime)) {
        render_asterisks(block);
        return status::kOk;
    }
    const std::int32_t s = f8601tz(block);
    if (s != status::kOk || is_missing(x)) return s;
    // +00:00 becomes the host's GMT offset; a Z stays.
    const int plus = wzstpos(block->output, block->output_length, '+');
    if (plus >= 0 && plus + 6 <= block->output_length) {
        char gmt[6];
        load_gmt_text(get_gmt_offsetc(block), gmt);
        std::memcpy(block->output + plus, gmt, sizeof gmt);
    }
    return s;
}

std::int32_t f8601dx(FormatBlock* block) { return datetime_with_zone(block, DatetimeZone::shifted, true); }
std::int32_t f8601lx(FormatBlock* block) { return datetime_with_zone(block, DatetimeZone::local, true); }
std::int32_t f8601dx_general(FormatBlock* block) { return datetime_with_zone(block, DatetimeZone::shifted, false); }
std::int32_t f8601lx_general(FormatBlock* block) { return datetime_with_zone(block, DatetimeZone::local, false); }

std::int32_t f8601tx(FormatBlock* block) {
    if (const std::int32_t s = validate(block, kExtendedTX)) return s;
    const double x = block_value(block);
    const bool missing = is_missing(x);
    double v = x, offset = 0;
    if (!missing) {
        if (outside(x, kIsoTime)) {
            render_asterisks(block);
            return status::kOk;
        }
        // The time of day in the zone, wrapped around midnight.
        offset = hostcall::xkgtzoff(hostcall::environment_of(block));
        v = x + offset;
        if (v < 0) v += kSecondsPerDay;
        if (v >= kSecondsPerDay) v -= kSecondsPerDay;
    }
    char area[kTimeArea];
    int inner_width;
    if (const std::int32_t s = render_time(block, v, area, &inner_width)) return s;
    return assemble_zone(block, measure(area, inner_width), missing, offset);
}
