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

// A single-unit value is always written with designators, and its fraction
// keeps its '.' even on seconds (PT90.5S, which reads back as itself).
constexpr std::int32_t kSingleUnitOptions = opt::kDesignators;

// "00" to "99".
constexpr struct Pairs {
    char text[200];
    constexpr Pairs() : text() {
        for (int i = 0; i < 100; ++i) {
            text[2 * i] = static_cast<char>('0' + i / 10);
            text[2 * i + 1] = static_cast<char>('0' + i % 10);
        }
    }
} kPairs;

inline char* put_pair(char* p, unsigned v) {
    p[0] = kPairs.text[2 * v];
    p[1] = kPairs.text[2 * v + 1];
    return p + 2;
}

inline char* put(char* p, const char* s, int n) {
    for (int i = 0; i < n; ++i) *p++ = s[i];
    return p;
}

// A value below 10^10 in decimal, with leading zeros up to `digits`.
char* put_decimal(char* p, std::uint64_t v, int digits) {
    char buf[kNumberField];
    char* q = buf + kNumberField;
    while (v >= 100) {
        q -= 2;
        put_pair(q, static_cast<unsigned>(v % 100));
        v /= 100;
    }
    if (v >= 10) {
        q -= 2;
        put_pair(q, static_cast<unsigned>(v));
    } else {
        *--q = static_cast<char>('0' + v);
    }
    while (buf + kNumberField - q < digits) *--q = '0';
    return put(p, q, static_cast<int>(buf + kNumberField - q));
}

// A value put_value does not write itself: one of 100 or more, or negative.
[[gnu::noinline]] char* put_long_value(char* p, std::int64_t value, int digits) {
    if (value >= 0 && value < 10000000000) return put_decimal(p, static_cast<std::uint64_t>(value), digits);
    // A negative value, or one too long for the field.
    char field[kNumberField];
    wzclchr(value, field, kNumberField);
    int start = 0;
    while (start < kNumberField - 1 && field[start] == ' ') ++start;
    return put(p, field + start, kNumberField - start);
}

// The value in decimal. With `digits` (0, 2 or 4), a value below 10^digits
// gets exactly that many digits, leading zeros included (a larger value is
// written in full rather than cut); a value that needs more than 10
// positions shows as ten asterisks.
[[gnu::always_inline]] inline char* put_value(char* p, std::int64_t value, int digits) {
    if (static_cast<std::uint64_t>(value) < 100 && digits <= 2) {
        if (value >= 10 || digits == 2) return put_pair(p, static_cast<unsigned>(value));
        *p = static_cast<char>('0' + value);
        return p + 1;
    }
    if (digits == 4 && static_cast<std::uint64_t>(value) < 10000) {
        const auto v = static_cast<unsigned>(value);
        return put_pair(put_pair(p, v / 100), v % 100);
    }
    return put_long_value(p, value, digits);
}

// Thousandths as three digits with leading zeros, after a '.' unless it is
// dropped; without all digits, up to two trailing zeros go.
inline char* put_fraction(char* p, std::int64_t thousandths, bool point, bool all_digits) {
    // A stored fraction is below 1000; a larger one (never written by the
    // reading side) is shown as .999 rather than as a fourth digit.
    const unsigned v = thousandths < 0 ? 0 : thousandths > 999 ? 999 : static_cast<unsigned>(thousandths);
    if (point) *p++ = '.';
    *p = static_cast<char>('0' + v / 100);
    put_pair(p + 1, v % 100);
    if (all_digits || v % 10 != 0) return p + 3;
    return v % 100 != 0 ? p + 2 : p + 1;
}

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
inline char* put_component(char* p, const Entity& e, const Layout& l, int c) {
    using namespace component;
    const std::int32_t options = l.options;
    const bool is_absent = absent(l.missing, c);
    if (l.designators && is_absent) return p;
    std::int64_t value = field(e, c);
    if (e.is_datetime && (options & opt::kZeroAsOne) && (c == kMonth || c == kDay) && value == 0) value = 1;
    if (c == kDay && e.weeks) value /= 7;
    const int width = c == kYear ? 4 : 2;
    if (is_absent && (options & opt::kFillX)) {
        p = put(p, kFiller, width);
    } else if (is_absent && (options & opt::kFillHyphen)) {
        *p++ = '-';
    } else {
        p = put_value(p, value, l.leading_zeros ? width : 0);
    }
    if (c == l.last && l.has_fraction) {
        const bool point = !((options & opt::kDatetimeGap) && l.last == kSecond);
        p = put_fraction(p, e.thousandths, point, delimited(options));
    }
    if (l.designators) *p++ = c == kDay && e.weeks ? 'W' : kDesignators[c];
    if (c != l.count - 1 && delimited(options) && kDelimiters[c] != ' ') *p++ = kDelimiters[c];
    return p;
}

// The common forms, written straight; each writes what the general pass
// writes for the records and options render_text gives it.

// A duration with designators alone: each present component with its
// designator, 'T' before the time, the fraction on the last one.
[[gnu::always_inline]] inline char* designated(char* p, const Entity& e, int c, int last, std::int64_t value,
                                               char designator) {
    if (component::absent(e.missing, c)) return p;
    p = put_value(p, value, 0);
    if (c == last && !(e.missing & missing_bit::kFraction)) p = put_fraction(p, e.thousandths, true, false);
    *p++ = designator;
    return p;
}

char* duration_with_designators(char* p, const Entity& e) {
    using namespace component;
    int last = kSecond;
    while (last >= 0 && absent(e.missing, last)) --last;
    p = designated(p, e, kYear, last, e.year, 'Y');
    p = designated(p, e, kMonth, last, e.month, 'M');
    p = e.weeks ? designated(p, e, kDay, last, e.day / 7, 'W') : designated(p, e, kDay, last, e.day, 'D');
    if (last >= kHour) *p++ = 'T';
    p = designated(p, e, kHour, last, e.hour, 'H');
    p = designated(p, e, kMinute, last, e.minute, 'M');
    return designated(p, e, kSecond, last, e.second, 'S');
}

// A datetime with every component, delimited: yyyy-mm-ddThh:mm:ss[.fff].
char* delimited_datetime(char* p, const Entity& e) {
    p = put_value(p, e.year, 4);
    *p++ = '-';
    p = put_value(p, e.month, 2);
    *p++ = '-';
    p = put_value(p, e.day, 2);
    *p++ = 'T';
    p = put_value(p, e.hour, 2);
    *p++ = ':';
    p = put_value(p, e.minute, 2);
    *p++ = ':';
    p = put_value(p, e.second, 2);
    if (!(e.missing & missing_bit::kFraction)) p = put_fraction(p, e.thousandths, true, true);
    return p;
}

// Every option bit the general pass reads.
constexpr std::int32_t kOptionBits = opt::kDesignators | opt::kDatetimeGap | opt::kDelimited | opt::kDelimitedAlt |
                                     opt::kFillX | opt::kFillHyphen | opt::kZeroAsOne | opt::kDurationGap;

constexpr std::uint8_t kComponentBits = 0xFC;

}  // namespace

int shown::render_text_general(const Entity& e, std::int32_t options, char* text) {
    char* p = text;
    if (e.negative) *p++ = '-';
    if (!e.is_datetime) *p++ = 'P';
    const Layout l = layout_of(&e, options);
    for (int c = 0; c < l.count; ++c) {
        if (c == component::kHour) *p++ = 'T';
        p = put_component(p, e, l, c);
    }
    return static_cast<int>(p - text);
}

int shown::render_text(const Entity& e, std::int32_t options, char* text) {
    const std::int32_t used = options & kOptionBits;
    if (e.implied_anchor) return render_text_general(e, options, text);
    char* p = text;
    if (!e.is_datetime && !e.single_form && used == opt::kDesignators) {
        if (e.negative) *p++ = '-';
        *p++ = 'P';
        return static_cast<int>(duration_with_designators(p, e) - text);
    }
    if (e.is_datetime && !e.weeks && (e.missing & kComponentBits) == 0 && used == opt::kDelimited) {
        if (e.negative) *p++ = '-';
        return static_cast<int>(delimited_datetime(p, e) - text);
    }
    return render_text_general(e, options, text);
}

int convert_to_text(const Entity* e, FormatBlock* block, std::int32_t options) {
    const int field = field_length(block);
    block->output_length = field;
    if (e->missing == missing_bit::kAll) {
        fill_blanks(block->output, field);
        return 0;
    }
    char text[shown::kLongestText];
    const int length = shown::render_text(*e, options, text);
    if (length > field) {
        fill_asterisks(block->output, field);
        return problem::kNoRoom;
    }
    vzmp(text, length, block->output, field);
    return 0;
}
