// The ISO 8601 reader: one left-to-right pass over a datetime or duration
// text into an entity record, then the checks, the zone offset, the
// overflowing duration components and the packing.
#include <algorithm>
#include <climits>
#include <cstring>

#include "duration/duration.h"
#include "duration/engine.h"
#include "binding/hostcall.h"
#include "text/text.h"

namespace {

// Letters that may follow a number of the designator form.
constexpr char kUnitLetters[] = "YMDHSW";
// Components in order: year, month, day, hour, minute (m), second, fraction
// (i). The minute and fraction letters are never read; the reader substitutes
// them.
constexpr char kComponentOrder[] = "YMDHmSi";

constexpr int kFraction = component::kFraction;
constexpr int kTimeIndex = 3;    // a T moves the token index here
constexpr int kTooManyTokens = 7;
constexpr int kAll = INT_MAX;

enum class Form { undecided, basic, delimited, designator };

// Widest number a token may use, by token index: 0, 1 to 5, 6.
struct Widths {
    int at[3];
};
constexpr Widths kDatetimePositional = {{4, 2, 3}};  // undecided or basic
constexpr Widths kDatetimeDelimited = {{kAll, kAll, kAll}};
constexpr Widths kDurationBasic = {{4, 2, kAll}};
constexpr Widths kDurationOther = {{kAll, kAll, kAll}};

bool in_set(char c, const char* set, int n) { return c != ' ' && wzstpos(set, n, c) >= 0; }

// A fraction read as `v` from `n` digits, in thousandths, placed by the
// position of its digits and rounded with a small downward bias. A fraction
// that would round up to a whole unit keeps 999, so that it reads back as
// the same time.
std::int64_t scale_fraction(std::int64_t v, int n) {
    if (n <= 3) return v * (n == 1 ? 100 : n == 2 ? 10 : 1);
    double x = static_cast<double>(v);
    for (int i = 3; i < n; ++i) x /= 10;
    std::int64_t t = static_cast<std::int64_t>(x + 0.499999);
    return std::min<std::int64_t>(t, 999);
}

struct Reader {
    const char* text;
    int len;  // without trailing blanks
    Entity* e;
    int mode;
    int pos = 0;
    Form form = Form::undecided;
    bool time_seen = false;
    int fraction_token = -1;  // token that began a fraction
    char zone = 0;            // '+', '-' or 'Z' that ended the tokens
    int zone_at = -1;
    bool strict_broken = false;
    int index = 0;
    // The current token.
    bool omitted = false;
    int count = 0;
    std::int64_t value = 0;
    char next = ' ';

    char upper_at(int i) const { return i < len ? static_cast<char>(hostcall::upcase(text[i])) : ' '; }
    bool fraction_begun() const { return fraction_token >= 0; }
    bool strict() const { return mode == parse_mode::kStrict || mode == parse_mode::kStrictOmitted; }

    bool read(int widest) {
        std::int32_t used = 0;
        std::int64_t v = 0;
        if (hostcall::wzrlchr(text + pos, std::min(widest, len - pos), 0, &used, &v) != 0 || used <= 0) return false;
        count = used, value = v, next = upper_at(pos + used);
        return true;
    }

    // A fraction runs to the end of its digits, whatever its token index.
    int widest() const {
        if (fraction_begun()) return kAll;
        const Widths& w = e->is_datetime ? (form == Form::delimited ? kDatetimeDelimited : kDatetimePositional)
                                         : (form == Form::basic ? kDurationBasic : kDurationOther);
        return w.at[index == 0 ? 0 : index <= 5 ? 1 : 2];
    }

    int tokens();
    int decide_form();
    int positional_token();
    int designator_token();
    void store(int component);
    int datetime_checks();
    int zone_offset();
};

int Reader::tokens() {
    while (pos < len && !zone) {
        char c = upper_at(pos);
        if (c == 'T') {
            ++pos, time_seen = true, index = kTimeIndex;
            if (pos >= len) return problem::kEndsAtTimeMark;
            continue;
        }
        if (index == kTimeIndex && !time_seen && fraction_token != kTimeIndex - 1) return problem::kTooManyDigits;
        if (index == kTooManyTokens) return problem::kTooManyDigits;
        omitted = c == '-';
        if (omitted)
            count = 1, value = 0, next = upper_at(pos + 1);
        else if (!read(widest()))
            return problem::kNoNumber;
        // An omitted component has no digits for a decimal sign to follow.
        if (omitted && (next == '.' || next == ',')) return problem::kNoNumber;
        if (form == Form::undecided)
            if (int code = decide_form()) return code;
        // A unit letter needs a number before it: "-" omits only a positional component.
        if (omitted && form == Form::designator && !hostcall::is_digit(next)) return problem::kNoNumber;
        if (int code = form == Form::designator ? designator_token() : positional_token()) return code;
        ++index;
    }
    return 0;
}

// The first token (or the first after a leading T) decides the form.
int Reader::decide_form() {
    const int end = pos + count;
    char last = next;
    bool reaches_end = end >= len;
    if (next == '.' || next == ',') {
        // Look past the decimal sign for the character that follows the digits.
        int i = end + 1;
        while (i < len && hostcall::is_digit(text[i])) ++i;
        reaches_end = i >= len;
        last = i < len ? upper_at(i) : i > end + 1 ? text[len - 1] : next;
    }
    if (index == 0) {
        if (count == 4 && (hostcall::is_digit(last) || reaches_end || last == 'T')) {
            form = Form::basic;
            return 0;
        }
        if (reaches_end || last == 'T') {
            if (count < 4) return problem::kNoYear;
            form = Form::basic;
            return read(4) ? 0 : problem::kNoNumber;
        }
    }
    if (in_set(last, kUnitLetters, 6)) {
        if (e->is_datetime) return problem::kUnitInDatetime;
        form = Form::designator;
        return 0;
    }
    if (index == kTimeIndex) {
        if (!read(6)) return problem::kNoNumber;
        form = pos + count < len ? Form::delimited : Form::basic;
        if (count > 2 && !read(2)) return problem::kNoNumber;
        return 0;
    }
    if (last == ':' || last == '-') {
        form = Form::delimited;
        return 0;
    }
    return problem::kTooManyDigits;
}

int Reader::positional_token() {
    if (form == Form::delimited && (mode == parse_mode::kStrict || (mode == parse_mode::kStrictOmitted && !omitted))) {
        if (index == 0 ? count != 4 : index <= 5 && count != 2 && !fraction_begun()) strict_broken = true;
    }
    int taken = 0;
    bool begins_fraction = false;
    if (next == '.' || next == ',') {
        taken = 1, begins_fraction = true;
    } else if (time_seen && (next == '+' || next == '-' || next == 'Z')) {
        taken = 1, zone = next, zone_at = pos + count;
    } else if (form == Form::delimited && pos + count < len) {
        if (time_seen ? next != ':' : next != '-' && next != 'T') return problem::kBadDelimiter;
        taken = next != 'T';
    }
    store(fraction_begun() ? kFraction : std::min(index, kFraction));
    if (begins_fraction) fraction_token = index;
    pos += count + taken;
    return 0;
}

int Reader::designator_token() {
    char letter;
    bool begins_fraction = false;
    if (next == '.' || next == ',') {
        if (fraction_begun()) return problem::kTwoFractions;
        // The unit is the first unit letter from the decimal sign on.
        letter = 'S';
        for (int i = pos + count; i < len; ++i)
            if (in_set(upper_at(i), kUnitLetters, 6)) {
                letter = upper_at(i);
                break;
            }
        begins_fraction = true;
    } else {
        letter = fraction_token >= 0 && fraction_token == index - 1 ? 'i' : next;
    }
    if (letter == 'M' && time_seen) letter = 'm';
    if (letter == 'W') {
        if (value > INT64_MAX / 7) return problem::kOutOfRange;
        e->weeks = 1, value *= 7, letter = 'D';
    }
    if ((letter == 'H' || letter == 'S') && !time_seen) return problem::kNoTimeMark;
    int component = wzstpos(kComponentOrder, 7, letter);
    if (component < 0) return problem::kNoUnit;
    // The component, every smaller one and the fraction must still be absent.
    std::uint8_t required = missing_bit::kFraction;
    for (int c = component; c < kFraction; ++c) required |= component::kMissingBit[c];
    if ((e->missing & required) != required) return problem::kOutOfOrder;
    store(component);
    if (begins_fraction) fraction_token = index;
    pos += count + 1;
    return 0;
}

void Reader::store(int component) {
    if (omitted) return;
    *component::field(e, component) = component == kFraction ? scale_fraction(value, count) : value;
    e->missing &= static_cast<std::uint8_t>(~component::kMissingBit[component]);
}

int Reader::datetime_checks() {
    const bool year_present = !(e->missing & missing_bit::kYear);
    if (e->year > 9999 || e->month > 12 || e->day > 31 || e->hour > 23 || e->minute > 59 || e->second > 59 ||
        (year_present && e->year < 1582))
        return problem::kOutOfRange;
    // An absent month or day counts as the first; a written 0 is out of range.
    for (int c = 1; c <= 2; ++c) {
        std::int64_t* f = component::field(e, c);
        if (*f != 0) continue;
        if (!(e->missing & component::kMissingBit[c])) return problem::kOutOfRange;
        *f = 1;
    }
    double date = hostcall::zmdy(static_cast<double>(e->month), static_cast<double>(e->day), static_cast<double>(e->year));
    if (calendar::missing(date)) return problem::kInvalidDatetime;
    e->value = hostcall::zdhms(date, static_cast<double>(e->hour), static_cast<double>(e->minute),
                               static_cast<double>(e->second));
    if (calendar::missing(e->value)) return problem::kInvalidDatetime;
    if (e->thousandths != 0) add_fraction(e, +1);
    return 0;
}

// A +hh:mm or -hh:mm (basic: +hhmm) after a complete datetime moves it to
// universal time; the components follow the value.
int Reader::zone_offset() {
    constexpr std::uint8_t kAllComponents = 0xFC;
    if (!e->is_datetime || (e->missing & kAllComponents)) return problem::kBadOffset;
    const bool delimited = form == Form::delimited;
    if (len - (zone_at + 1) < (delimited ? 5 : 4)) return problem::kBadOffset;
    std::int32_t used = 0;
    std::int64_t hours = 0, minutes = 0;
    if (hostcall::wzrlchr(text + zone_at + 1, 2, 0, &used, &hours) != 0 || used != 2) return problem::kBadOffset;
    if (hostcall::wzrlchr(text + zone_at + 3 + delimited, 2, 0, &used, &minutes) != 0 || used != 2)
        return problem::kBadOffset;
    std::int64_t shift = (hours * 60 + minutes) * (zone == '+' ? -1 : 1);  // minutes to universal time
    e->value += static_cast<double>(shift * 60);
    std::int64_t in_day = e->hour * 60 + e->minute + shift;
    std::int64_t days = in_day >= 0 ? in_day / 1440 : -((-in_day + 1439) / 1440);
    in_day -= days * 1440;
    if (days != 0) {
        calendar::Ymd ymd;
        if (!calendar::split_day(hostcall::zdatprt(e->value), &ymd)) return problem::kInvalidDatetime;
        if (ymd.year > 9999) return problem::kOutOfRange;  // beyond what the packed form holds
        e->year = ymd.year, e->month = ymd.month, e->day = ymd.day;
    }
    e->hour = in_day / 60, e->minute = in_day % 60;
    return 0;
}

}  // namespace

extern "C" {

int read_date_or_duration(const char* text, int length, Entity* e, int mode, int in_interval) {
    if (read_common_form(text, length, e)) return 0;
    return read_date_or_duration_general(text, length, e, mode, in_interval);
}

int read_date_or_duration_general(const char* text, int length, Entity* e, int mode, int in_interval) {
    calendar::make_missing(e);
    const int len = text ? wzstrip(text, length) : 0;
    const int first = len > 0 ? wzstnot(text, len, ' ') : -1;
    if (first < 0 || (first == len - 1 && text[first] == '.'))
        return mode == parse_mode::kStrictOmitted ? problem::kAllBlank : 0;

    Reader r{text, len, e, mode};
    r.pos = first;
    if (text[first] == '-') e->negative = 1;
    if (first + e->negative < len && hostcall::upcase(text[first + e->negative]) == 'P') {
        r.pos = first + e->negative + 1;
    } else {
        e->is_datetime = 1, e->negative = 0;
    }
    if (int code = r.tokens()) return code;

    if (e->is_datetime) {
        if (int code = r.datetime_checks()) return code;
    }
    if (r.zone == '+' || r.zone == '-') {
        if (int code = r.zone_offset()) return code;
    }
    if (!e->is_datetime) {
        if (int code = duration_form::resolve_overflow(e, in_interval)) return code;
        if (e->year > 9999) return problem::kOutOfRange;
    }
    if (r.strict() && r.form != Form::designator && e->unit_code == 0) {
        const bool single_number = r.index <= 1 && !r.time_seen;
        if (r.form != Form::delimited && !single_number) return problem::kStrictDelimiters;
        if (r.strict_broken) return problem::kStrictDigits;
    }
    return convert_to_bcd(e);
}

}  // extern "C"

namespace {

// The packed digits of a record read without a problem, when it is of the
// kind asked for (as hexify writes them).
inline void put_packed(FormatBlock* block, const Entity& e, int kind) {
    block->output_length = std::min(block->capacity, 16);
    if (e.is_datetime == kind && block->output_length > 0)
        hostcall::wzfmhc(e.packed, 8, block->output_length, 1, block->output);
}

// The text an informat reads: min(width, input length) characters.
inline int text_length(const FormatBlock* block) {
    return block->value ? std::max(0, std::min(block->width, block->input_length)) : 0;
}

// What get_bcd8 has not read: the missing notation and the shortcut in the
// missing-notation mode, then the general reader.
[[gnu::noinline]] int get_bcd8_general(FormatBlock* block, int kind, int mode, Entity& e) {
    const char* text = static_cast<const char*>(block->value);
    const int length = text_length(block);
    int code = 0;
    char scratch[16];
    if (mode == parse_mode::kMissingNotation && hostcall::wzifmch(text, length, scratch) != 0) {
        calendar::make_missing(&e);
        e.is_datetime = static_cast<std::uint8_t>(kind);
    } else if (mode != parse_mode::kMissingNotation || !read_common_form(text, length, &e)) {
        code = read_date_or_duration_general(text, length, &e, mode, 0);
    }
    if (code != 0) {
        block->output_length = std::min(block->capacity, 16);
        return code;
    }
    put_packed(block, e, kind);
    return 0;
}

}  // namespace

extern "C" {

int get_bcd8(FormatBlock* block, int kind, int mode) {
    Entity e;
    // The missing notation is asked of the host before any reading.
    if (mode != parse_mode::kMissingNotation &&
        read_common_form(static_cast<const char*>(block->value), text_length(block), &e)) {
        put_packed(block, e, kind);
        return 0;
    }
    return get_bcd8_general(block, kind, mode, e);
}

}  // extern "C"
