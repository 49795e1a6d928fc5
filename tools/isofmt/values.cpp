// VALUE texts read as the kind of value a format takes, numeric options, and
// one routine call.
#include <algorithm>
#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>

#include "tool.h"

namespace isofmt::tool {
namespace {

// isspace, without the library call for the ASCII characters.
bool is_space(char ch) {
    const auto c = static_cast<unsigned char>(ch);
    return c < 0x80 ? c == ' ' || static_cast<unsigned char>(c - '\t') < 5 : std::isspace(c) != 0;
}

// Inline: the tool's stream reads every value through it.
[[gnu::always_inline]] inline std::string_view trim(std::string_view t) {
    // Most texts start and end with a printing ASCII character.
    auto prints = [](char c) { return static_cast<unsigned char>(c - '!') < 0x5E; };
    if (!t.empty() && prints(t.front()) && prints(t.back())) return t;
    while (!t.empty() && is_space(t.front())) t.remove_prefix(1);
    while (!t.empty() && is_space(t.back())) t.remove_suffix(1);
    return t;
}

bool equals_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// How many of the eight characters at p are digits before the first that
// is not, and their value: one load, the first non-digit found by a mask,
// and the digits before it converted together.
[[gnu::always_inline]] inline int leading_digits(const char* p, std::uint64_t& value) {
    constexpr std::uint64_t kHigh = 0xF0F0F0F0F0F0F0F0, kThree = 0x3030303030303030;
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    // A byte is a digit when its high half is 3 and adding 6 keeps it so;
    // the carry of a non-digit byte may mark the bytes after it, which do
    // not count.
    const std::uint64_t not_digit = ((w & kHigh) ^ kThree) | (((w + 0x0606060606060606) & kHigh) ^ kThree);
    const int n = not_digit == 0 ? 8 : std::countr_zero(not_digit) / 8;
    if (n == 0) return 0;
    // The n digits at the top, zeros (leading zero digits) below them.
    w = (w & 0x0F0F0F0F0F0F0F0F) << (8 * (8 - n));
    w = (w * (10 * 256 + 1)) >> 8;
    w = ((w & 0x00FF00FF00FF00FF) * (100 * 65536 + 1)) >> 16;
    value = ((w & 0x0000FFFF0000FFFF) * (10000 * 0x100000000 + 1)) >> 32;
    return n;
}

// [-]digits[.digits] with at most 15 digits in all: the digits as a whole
// number and the power of ten below it are both exact doubles, so their
// quotient is the correctly rounded value from_chars gives. nullopt for any
// other text.
[[gnu::always_inline]] inline std::optional<double> read_plain_decimal(std::string_view t) {
    static constexpr double kScale[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* p = t.data();
    const char* const end = p + t.size();
    const bool negative = p != end && *p == '-';
    p += negative;
    const char* const start = p;
    if (end - p > 16) return std::nullopt;  // more than 15 digits and a point
    std::uint64_t digits = 0;
    if (end - p >= 8) p += leading_digits(p, digits);
    const char* point = nullptr;
    for (; p != end; ++p) {
        const auto d = static_cast<unsigned char>(*p - '0');
        if (d < 10) {
            digits = digits * 10 + d;
        } else if (*p == '.' && !point) {
            point = p;
        } else {
            return std::nullopt;
        }
    }
    const int after_point = point ? static_cast<int>(end - point - 1) : 0;
    const int count = static_cast<int>(end - start) - (point ? 1 : 0);
    if (count == 0 || count > 15 || (point && after_point == 0)) return std::nullopt;  // none after the point
    const double v = static_cast<double>(static_cast<std::int64_t>(digits)) / kScale[after_point];
    return negative ? -v : v;
}

// The whole text as a decimal number (a leading '+' allowed).
std::optional<double> read_number(std::string_view t) {
    if (std::optional<double> v = read_plain_decimal(t)) return v;
    if (!t.empty() && t.front() == '+') {
        t.remove_prefix(1);
        if (!t.empty() && t.front() == '-') return std::nullopt;
    }
    double v = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
    return v;
}

template <typename T>
bool read_all(std::string_view t, T& out, int base) {
    if (t.empty()) return false;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), out, base);
    return ec == std::errc() && end == t.data() + t.size();
}

bool is_missing(std::string_view t, const ValueRules& rules) {
    return t == "." || equals_ignoring_case(t, "nan") || t == trim(rules.missing_text);
}

const char* literal_kind_name(Literal::Kind k) {
    switch (k) {
    case Literal::Kind::date: return "date";
    case Literal::Kind::time: return "time";
    case Literal::Kind::datetime: break;
    }
    return "datetime";
}

// What a numeric format's value may look like, for the messages.
const char* value_help(ValueKind kind) {
    switch (kind) {
    case ValueKind::date: return "a day number, a date such as 2020-01-15, or . for missing";
    case ValueKind::time: return "seconds, a time such as 10:30:00 or T103000, or . for missing";
    default: break;
    }
    return "seconds since 1960-01-01, a datetime such as 2020-01-15T10:30:00 or 20200115T103000Z, "
           "a date, or . for missing";
}

bool read_numeric(const CatalogueEntry& entry, std::string_view t, std::string_view text,
                  FormatValue& value, std::string& problem) {
    if (std::optional<double> v = read_number(t)) {
        value.number = *v;
        return true;
    }
    const ValueKind want = value_kind(entry);
    const std::optional<Literal> lit = read_literal(t);
    if (!lit) {
        problem = "unparsable value " + quote(text) + " (" + entry.name + " takes " + value_help(want) + ")";
        return false;
    }
    const bool fits = (want == ValueKind::date && lit->kind == Literal::Kind::date) ||
                      (want == ValueKind::time && lit->kind == Literal::Kind::time) ||
                      (want == ValueKind::datetime && lit->kind != Literal::Kind::time);
    if (!fits) {
        problem = quote(text) + " is a " + literal_kind_name(lit->kind) + "; " + entry.name + " takes a " +
                  value_kind_name(want);
        return false;
    }
    if (lit->zoned && takes_local_time(entry)) {
        problem = quote(text) + " has a zone designator; " + entry.name + " takes a local " +
                  value_kind_name(want) + " in the --tz zone: give it without the designator";
        return false;
    }
    value.number = lit->kind == Literal::Kind::date && want == ValueKind::datetime ? lit->clock * 86400.0
                                                                                 : lit->universal();
    return true;
}

std::size_t packed_digits(const CatalogueEntry& entry) { return entry.shape == Shape::interval_format ? 32 : 16; }

bool read_packed(const CatalogueEntry& entry, std::string_view t, std::string_view text, FormatValue& value,
                 std::string& problem) {
    const std::size_t n = packed_digits(entry);
    bool hex = t.size() == n;
    for (char c : t) hex = hex && std::isxdigit(static_cast<unsigned char>(c));
    if (!hex) {
        problem = "bad packed value " + quote(text) + " (" + entry.name + " takes " + std::to_string(n) +
                  " hexadecimal digits, or . for missing)";
        return false;
    }
    value.packed.assign(t);
    return true;
}

}  // namespace

ValueKind value_kind(const CatalogueEntry& e) {
    switch (e.shape) {
    case Shape::informat: return ValueKind::text;
    case Shape::interval_format: return ValueKind::packed_interval;
    case Shape::duration_format: return e.name == "IS860PD" ? ValueKind::packed_datetime : ValueKind::packed_duration;
    case Shape::numeric: break;
    }
    // The numeric formats by the end of their names; the longest ending wins.
    struct Ending {
        std::string_view text;
        ValueKind kind;
    };
    static constexpr Ending kEndings[] = {
        {"DA", ValueKind::date},       {"DT", ValueKind::datetime},     {"DZ", ValueKind::datetime},
        {"DN", ValueKind::datetime},   {"DX", ValueKind::datetime},     {"LX", ValueKind::datetime},
        {"TM", ValueKind::time},       {"TZ", ValueKind::time},         {"LZ", ValueKind::time},
        {"TX", ValueKind::time},       {"TIME", ValueKind::time},       {"TOD", ValueKind::time},
        {"HOUR", ValueKind::time},     {"MMSS", ValueKind::time},       {"HHMM", ValueKind::time},
        {"TAMPM", ValueKind::time},    {"DTAMPM", ValueKind::datetime}, {"DYAMPM", ValueKind::datetime},
    };
    const Ending* best = nullptr;
    for (const Ending& end : kEndings)
        if (std::string_view(e.name).ends_with(end.text) && (!best || end.text.size() > best->text.size()))
            best = &end;
    return best ? best->kind : ValueKind::datetime;
}

const char* value_kind_name(ValueKind kind) {
    switch (kind) {
    case ValueKind::date: return "date";
    case ValueKind::time: return "time";
    case ValueKind::datetime: return "datetime";
    case ValueKind::packed_duration: return "packed duration";
    case ValueKind::packed_datetime: return "packed datetime";
    case ValueKind::packed_interval: return "packed interval";
    case ValueKind::text: break;
    }
    return "text";
}

bool takes_local_time(const CatalogueEntry& e) {
    const std::string_view name = e.name;
    return e.shape == Shape::numeric && (name.ends_with("LX") || name.ends_with("LZ"));
}

bool read_value(const CatalogueEntry& entry, std::string_view text, const ValueRules& rules, FormatValue& value,
                std::string& problem) {
    const std::string_view t = trim(text);
    if (entry.shape == Shape::informat) {
        problem = entry.name + " is an informat: it takes text, not a value";
        return false;
    }
    // A blank packed value is what a host holds for none: missing as well.
    if (is_missing(t, rules) || (t.empty() && entry.shape != Shape::numeric)) {
        value = missing_value(entry);
        return true;
    }
    if (entry.shape == Shape::numeric) return read_numeric(entry, t, text, value, problem);
    return read_packed(entry, t, text, value, problem);
}

ValueReader::ValueReader(const CatalogueEntry& entry, const ValueRules& rules)
    : entry_(entry), rules_(rules), missing_(trim(rules.missing_text)), numeric_(entry.shape == Shape::numeric) {}

bool ValueReader::read(std::string_view text, FormatValue& value, std::string& problem) const {
    // A plain decimal that is not the missing notation is the number it
    // reads as, whatever the format; anything else takes the whole route.
    if (numeric_) {
        const std::string_view t = trim(text);
        if (t != missing_) {
            if (std::optional<double> v = read_plain_decimal(t)) {
                value.number = *v;
                return true;
            }
        }
    }
    return read_value(entry_, text, rules_, value, problem);
}

FormatValue missing_value(const CatalogueEntry& entry) {
    FormatValue v;
    v.number = std::numeric_limits<double>::quiet_NaN();
    if (entry.shape != Shape::numeric) v.packed.assign(packed_digits(entry), 'F');
    return v;
}

std::int32_t parse_word(std::string_view option, std::string_view text) {
    const std::string_view t = trim(text);
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        std::uint32_t u = 0;
        if (read_all(t.substr(2), u, 16)) return static_cast<std::int32_t>(u);
    } else if (!t.empty()) {
        std::int32_t v = 0;
        const std::string_view digits = t.front() == '+' ? t.substr(1) : t;
        if ((digits.size() == t.size() || digits.empty() || digits.front() != '-') && read_all(digits, v, 10))
            return v;  // "+-1" is not a number
    }
    throw UsageError(std::string(option) + ": bad number " + quote(text) +
                     " (a 32-bit word, decimal or 0x hexadecimal)");
}

Request make_request(const Host& host, const Settings& settings, const Selection& selection) {
    Request r;
    r.width = selection.width;
    r.decimals = selection.decimals;
    r.validate = settings.validate;
    r.capacity = settings.capacity;
    r.options = settings.options;
    r.dt_options = settings.dt_options;
    r.mode = settings.mode;
    r.environment = host.default_environment();
    return r;
}

Result run_format(const Host& host, const Selection& selection, const Request& request, const FormatValue& value) {
    const CatalogueEntry& e = *selection.entry;
    if (e.shape == Shape::numeric) return host.format(e, value.number, request);
    return host.format_packed(e, value.packed, request);
}

Result run_informat(const Host& host, const Selection& selection, const Request& request, std::string_view text) {
    return host.informat(*selection.entry, text, request);
}

Result run(const Host& host, const Selection& selection, const Request& request, std::string_view value,
           const ValueRules& rules) {
    if (selection.entry->kind == Kind::informat) return run_informat(host, selection, request, value);
    FormatValue v;
    std::string problem;
    if (!read_value(*selection.entry, value, rules, v, problem)) throw UsageError(problem);
    return run_format(host, selection, request, v);
}

}  // namespace isofmt::tool
