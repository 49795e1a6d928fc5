// ISO 8601 basic form: the extended text without its delimiters,
// 19600101T000000+0000 for 1960-01-01T00:00:00+00:00. Each member widens the
// field by the delimiters that will disappear, lets its extended routine
// write into a work area, deletes every '-', ':' and '.', keeps the sign of a
// zone offset from going with them, and right-aligns what is left. The
// datetimes' common case writes the basic text straight instead.
#include <algorithm>
#include <cstring>

#include "binding/hostcall.h"
#include "iso8601/formats.h"
#include "iso8601/iso8601.h"
#include "iso8601/ranges.h"
#include "iso8601/shown_datetime.h"
#include "render/render.h"
#include "text/text.h"

namespace {

// Where the sign of a zone offset stands in the extended text.
enum class Sign {
    none,     // no zone
    fixed,    // the first of the six places of +hh:mm at the end (or a Z)
    searched, // a zone text of three to six places from the host
};

// The members whose common case is written straight, and the designator
// that follows the datetime there.
enum class Common {
    none,       // always through the extended routine
    datetime,   // no designator
    universal,  // +0000 where the extended text has room for +00:00, Z where less
    shifted,    // the zone's offset text; the value is universal time
    local,      // the zone's offset text; the value is local time
};

struct BasicMember {
    FormatRoutine* extended;
    Limits limits;            // the basic format's own limits
    ValueRange range;
    int decimals_threshold;   // when w < d + t, d becomes max(0, w - t); 0: no rule
    int delimiters;           // added to the width (plus 1 for a point)
    int max_inner_width;      // the extended routine's maximum width
    Sign sign;
    Common common = Common::none;
};

// The decimals rules keep the basic text within the width: the time member
// and the zone-searching datetime members need them as the others do, or a
// short field would cut the hour or the year instead of the fraction.
constexpr BasicMember kDA{f8601da, kBasicDA, kIsoDate, 0, 2, kExtendedDA.max_width, Sign::none};
constexpr BasicMember kTM{f8601tm, kBasicTM, kIsoTime, 6, 2, kExtendedTM.max_width, Sign::none};
constexpr BasicMember kTZ{f8601tz, kBasicTZ, kIsoTime, 7, 3, kExtendedTZ.max_width, Sign::fixed};
constexpr BasicMember kDT{f8601dt, kBasicDT, kIsoDatetime, 15, 4, kExtendedDT.max_width, Sign::none, Common::datetime};
constexpr BasicMember kDZ{f8601dz, kBasicDZ, kIsoDatetime, 16, 5, kExtendedDZ.max_width, Sign::fixed, Common::universal};
constexpr BasicMember kDN{f8601dn, kBasicDN, kIsoDatetime, 0, 2, kExtendedDN.max_width, Sign::none};
constexpr BasicMember kLZ{f8601lz, kBasicLZ, kIsoTime, 7, 3, kExtendedLZ.max_width, Sign::fixed};
constexpr BasicMember kDX{f8601dx, kBasicDX, kIsoDatetime, 15, 5, kExtendedDX.max_width, Sign::searched, Common::shifted};
constexpr BasicMember kLX{f8601lx, kBasicLX, kIsoDatetime, 15, 5, kExtendedLX.max_width, Sign::searched, Common::local};
constexpr BasicMember kTX{f8601tx, kBasicTX, kIsoTime, 0, 3, kExtendedTX.max_width, Sign::searched};

constexpr int kWorkArea = 200;
constexpr char kPlaceholder = 'S';

bool is_sign(char c) { return c == '+' || c == '-'; }

// The offset's sign, set aside as a placeholder that survives the deletion.
struct SavedSign {
    char sign = 0;
    int distance = 0;  // from the end of the text
};

SavedSign save_sign(char* text, int n, Sign how) {
    SavedSign saved;
    if (how == Sign::fixed) {
        if (n >= 6 && text[n - 1] != 'Z' && is_sign(text[n - 6])) saved = {text[n - 6], 6};
    } else if (how == Sign::searched) {
        for (int k = 3; k <= 6 && k <= n; ++k)
            if (is_sign(text[n - k])) {
                saved = {text[n - k], k};
                break;
            }
    }
    if (saved.sign) text[n - saved.distance] = kPlaceholder;
    return saved;
}

// After the deletion the placeholder stands at most one place further right
// (the offset's own colon is gone).
void restore_sign(char* text, int length, Sign how, const SavedSign& saved) {
    if (!saved.sign) return;
    const int first = length - (how == Sign::fixed ? 5 : saved.distance);
    const int last = how == Sign::fixed ? first : length - 3;
    for (int i = max(first, 0); i <= last; ++i)
        if (text[i] == kPlaceholder) {
            text[i] = saved.sign;
            return;
        }
}

// The zone's offset text in the basic form, in place; its new length. The
// usual +hh:mm loses its colon; any other text goes through the deletion
// and the sign's keeping as the whole text would.
int basic_zone_text(char* zone, int e) {
    auto plain = [](char c) { return c != '+' && c != '-' && c != ':' && c != '.'; };
    if (e == 6 && is_sign(zone[0]) && zone[3] == ':' && plain(zone[1]) && plain(zone[2]) && plain(zone[4]) &&
        plain(zone[5])) {
        zone[3] = zone[4];
        zone[4] = zone[5];
        return 5;
    }
    const SavedSign saved = save_sign(zone, e, Sign::searched);
    const int length = wzstdel(zone, e, "-:.", 3);
    restore_sign(zone, length, Sign::searched, saved);
    return length;
}

// The common case of a datetime member: a present value (shifted by its
// zone, still in range) with decimals 0 to 6 as the extended routine gets
// them, and room in the extended routine's width for the whole extended
// text, which its own common case then writes. The basic text is written
// straight, right-aligned, as the deletion and alignment would leave it;
// the designator is asked of the host for the same room as there. False,
// having written nothing, for a value left to the general path.
bool basic_common(FormatBlock* block, const BasicMember& m, double x, int inner_decimals, int inner_width) {
    const int d = inner_decimals > 0 ? inner_decimals : 0;
    const int room = inner_width - extended_places(d);
    if (d > 6 || room < 0) return false;
    double v = x, offset = 0;
    if (m.common == Common::shifted || m.common == Common::local) {
        const std::int32_t universal = m.common == Common::shifted ? 1 : 0;
        offset = hostcall::xkgtzof4(hostcall::environment_of(block), universal, x);
        if (m.common == Common::shifted) v = x + offset;
        if (outside(v, kIsoDatetime)) return false;
    }
    ShownDatetime f;
    if (!split_shown(v, d, &f)) return false;
    // The designator's text in its basic form, e places.
    char zone[8];
    int e = 0;
    if (m.common == Common::universal) {
        e = room >= 6 ? 5 : room >= 1 ? 1 : 0;
    } else if (m.common != Common::datetime && room >= 3) {
        hostcall::xkgtzstr(zone, room, &e, offset);
        e = std::min(e, static_cast<int>(sizeof zone));
        e = e < 0 || e > room ? 0 : basic_zone_text(zone, e);
    }
    const int field = field_width(block);
    const int places = basic_places(d) + e;
    if (places > field) return false;
    char* out = block->output + field - places;
    fill_blanks(block->output, field - places);
    put_basic(out, f, d);
    char* end = out + basic_places(d);
    if (m.common != Common::universal)
        std::memcpy(end, zone, static_cast<std::size_t>(e));
    else if (e == 5)
        std::memcpy(end, "+0000", 5);
    else if (e == 1)
        *end = 'Z';
    block->output_length = field;
    return true;
}

std::int32_t render_basic(FormatBlock* block, const BasicMember& m, bool common_case = true) {
    if (const std::int32_t s = validate(block, m.limits)) return s;
    const double x = block_value(block);
    const bool shown = !is_missing(x) && !outside(x, m.range);
    const int w = block->width;
    int d = block->decimals;
    if (m.decimals_threshold != 0 && sub_sat(w, m.decimals_threshold) < d) d = max(0, sub_sat(w, m.decimals_threshold));
    const int inner_width = std::min(add_sat(w, m.delimiters + (d != 0 ? 1 : 0)), m.max_inner_width);
    if (shown && common_case && m.common != Common::none && basic_common(block, m, x, d, inner_width))
        return status::kOk;

    // Validated once, against this format's limits: the extended routine is
    // handed widths of its own making.
    FormatBlock inner = *block;
    inner.flags &= static_cast<std::uint8_t>(~kValidateFlag);
    if (!shown) {
        // The missing-value text or the asterisks, across the caller's width.
        const std::int32_t s = m.extended(&inner);
        block->output_length = inner.output_length;
        return s;
    }
    char area[kWorkArea];
    inner.output = area;
    inner.input_length = kWorkArea;
    inner.decimals = d;
    inner.width = inner_width;
    if (const std::int32_t s = m.extended(&inner)) return s;

    const int n = std::min(std::max(inner.output_length, 0), kWorkArea);
    const SavedSign saved = save_sign(area, n, m.sign);
    const int length = wzstdel(area, n, "-:.", 3);
    restore_sign(area, length, m.sign, saved);

    // Right-aligned; a field too narrow keeps the rightmost characters.
    const int field = field_width(block);
    const int kept = std::min(length, field);
    fill_blanks(block->output, field - kept);
    std::memcpy(block->output + field - kept, area + length - kept, static_cast<std::size_t>(kept));
    block->output_length = field;
    return status::kOk;
}

}  // namespace

std::int32_t b8601da(FormatBlock* block) { return render_basic(block, kDA); }
std::int32_t b8601tm(FormatBlock* block) { return render_basic(block, kTM); }
std::int32_t b8601tz(FormatBlock* block) { return render_basic(block, kTZ); }
std::int32_t b8601dt(FormatBlock* block) { return render_basic(block, kDT); }
std::int32_t b8601dz(FormatBlock* block) { return render_basic(block, kDZ); }
std::int32_t b8601dt_general(FormatBlock* block) { return render_basic(block, kDT, false); }
std::int32_t b8601dz_general(FormatBlock* block) { return render_basic(block, kDZ, false); }
std::int32_t b8601dx_general(FormatBlock* block) { return render_basic(block, kDX, false); }
std::int32_t b8601lx_general(FormatBlock* block) { return render_basic(block, kLX, false); }
std::int32_t b8601dn(FormatBlock* block) { return render_basic(block, kDN); }
std::int32_t b8601lz(FormatBlock* block) { return render_basic(block, kLZ); }
std::int32_t b8601dx(FormatBlock* block) { return render_basic(block, kDX); }
std::int32_t b8601lx(FormatBlock* block) { return render_basic(block, kLX); }
std::int32_t b8601tx(FormatBlock* block) { return render_basic(block, kTX); }
