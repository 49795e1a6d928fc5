// ISO 8601 text of one entity record, a datetime or a duration, in the form
// the render options choose: one pass over the six components, driven by
// the designator row, the delimiter row and the filler.
#include "abi/problems.h"
#include "duration/duration.h"
#include "duration/format_support.h"
#include "render/render.h"
#include "text/text.h"

namespace {

using shown::field_length;

namespace opt = render_option;

constexpr char kDesignators[] = "YMDHMS";   // after each component
constexpr char kDelimiters[] = "-- :: ";    // after each component when delimited; a blank adds nothing
constexpr char kFiller[] = "xxxxxxxx";      // 4 for a year, 2 for the others
constexpr int kNumberField = 10;
// '-', 'P', six numbers each with a designator and a delimiter, 'T', and
// '.' with three fraction digits.
constexpr int kLongestText = 2 + 6 * (kNumberField + 2) + 1 + 4;

// A single-unit value is always written with designators, and its fraction
// keeps its '.' even on seconds (PT90.5S, which reads back as itself).
constexpr std::int32_t kSingleUnitOptions = opt::kDesignators;

// The text as it is built: every character appended is part of it (a
// dropped digit, '.' or blank delimiter is simply not appended).
struct Work {
    char text[kLongestText];
    int length = 0;

    void put(char c) { text[length++] = c; }
    void put(const char* s, int n) {
        for (int i = 0; i < n; ++i) put(s[i]);
    }
    // The value in decimal. With `digits`, a value below 10^digits gets
    // exactly that many digits, leading zeros included (a larger value is
    // written in full rather than cut); a value that needs more than 10
    // positions shows as ten asterisks.
    void put_value(std::int64_t value, int digits) {
        char field[kNumberField];
        const auto limit = static_cast<std::int64_t>(zpowten[digits]);
        int start = 0;
        if (digits > 0 && value >= 0 && value < limit) {
            wzclchr(value + limit, field, kNumberField);
            start = kNumberField - digits;  // past the leading '1'
        } else {
            wzclchr(value, field, kNumberField);
            while (start < kNumberField - 1 && field[start] == ' ') ++start;
        }
        put(field + start, kNumberField - start);
    }
    // Thousandths as three digits with leading zeros, after a '.' unless it
    // is dropped; without all digits, up to two trailing zeros go.
    void put_fraction(std::int64_t thousandths, bool point, bool all_digits) {
        // A stored fraction is below 1000; a larger one (never written by the
        // reading side) is shown as .999 rather than as a fourth digit.
        const std::int64_t v = thousandths < 0 ? 0 : thousandths > 999 ? 999 : thousandths;
        char digits[4];
        wzclchr(1000 + v, digits, 4);
        int n = 3;
        if (!all_digits)
            while (n > 1 && digits[n] == '0') --n;
        if (point) put('.');
        put(digits + 1, n);
    }
};

bool delimited(std::int32_t options) { return (options & (opt::kDelimited | opt::kDelimitedAlt)) != 0; }

std::int32_t gap_bit(bool datetime) { return datetime ? opt::kDatetimeGap : opt::kDurationGap; }

// The gap switch: a present component after a missing one turns the
// kind's gap bit into the delimited form.
std::int32_t apply_gap_switch(std::uint8_t missing, bool datetime, std::int32_t options) {
    const std::int32_t gap = gap_bit(datetime);
    const std::int32_t form = datetime ? opt::kDelimitedAlt : opt::kDelimited;
    bool gap_seen = false;
    for (int c = 0; c < component::kFraction; ++c) {
        const bool absent = component::absent(missing, c);
        if (!absent && gap_seen) return (options & ~gap) | form;
        gap_seen = gap_seen || absent;
    }
    return options;
}

// What the options and the missing mask make of one record: which
// components are written and how.
struct Layout {
    std::int32_t options;
    std::uint8_t missing;
    int last;   // the last present component, -1 when none
    int count;  // components written: all six with a filler, else up to the last
    bool designators, leading_zeros, has_fraction;
};

Layout layout_of(const Entity* e, std::int32_t options) {
    Layout l{};
    const bool datetime = e->is_datetime != 0;
    if (!datetime && e->single_form) options = kSingleUnitOptions;
    l.missing = e->missing;
    if (l.missing != 0 && (options & gap_bit(datetime))) {
        options = apply_gap_switch(l.missing, datetime, options);
    } else if (e->implied_anchor) {
        l.missing = 0xFE;  // the synthesized start of a lone duration shows nothing
    }
    l.last = component::kSecond;
    while (l.last >= 0 && component::absent(l.missing, l.last)) --l.last;
    l.count = (options & (opt::kFillX | opt::kFillHyphen)) ? component::kFraction : l.last + 1;
    l.designators = (options & opt::kDesignators) != 0;
    l.leading_zeros = datetime || !l.designators;
    if (delimited(options)) options |= opt::kFillHyphen;
    l.has_fraction = !(l.missing & missing_bit::kFraction);
    l.options = options;
    return l;
}

// Component c with its filler or number, fraction, designator and delimiter.
void put_component(Work& w, const Entity& e, const Layout& l, int c) {
    using namespace component;
    const std::int32_t options = l.options;
    const bool is_absent = absent(l.missing, c);
    if (l.designators && is_absent) return;
    std::int64_t value = field(e, c);
    if (e.is_datetime && (options & opt::kZeroAsOne) && (c == kMonth || c == kDay) && value == 0) value = 1;
    if (c == kDay && e.weeks) value /= 7;
    const int width = c == kYear ? 4 : 2;
    if (is_absent && (options & opt::kFillX)) {
        w.put(kFiller, width);
    } else if (is_absent && (options & opt::kFillHyphen)) {
        w.put('-');
    } else {
        w.put_value(value, l.leading_zeros ? width : 0);
    }
    if (c == l.last && l.has_fraction) {
        const bool point = !((options & opt::kDatetimeGap) && l.last == kSecond);
        w.put_fraction(e.thousandths, point, delimited(options));
    }
    if (l.designators) w.put(c == kDay && e.weeks ? 'W' : kDesignators[c]);
    if (c != l.count - 1 && delimited(options) && kDelimiters[c] != ' ') w.put(kDelimiters[c]);
}

}  // namespace

int convert_to_text(const Entity* e, FormatBlock* block, std::int32_t options) {
    const int field = field_length(block);
    block->output_length = field;
    if (e->missing == missing_bit::kAll) {
        fill_blanks(block->output, field);
        return 0;
    }
    Work w;
    if (e->negative) w.put('-');
    if (!e->is_datetime) w.put('P');
    const Layout l = layout_of(e, options);
    for (int c = 0; c < l.count; ++c) {
        if (c == component::kHour) w.put('T');
        put_component(w, *e, l, c);
    }
    if (w.length > field) {
        fill_asterisks(block->output, field);
        return problem::kNoRoom;
    }
    vzmp(w.text, w.length, block->output, field);
    return 0;
}
