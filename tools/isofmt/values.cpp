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

using detail::read_plain_decimal;
using detail::trim;

bool equals_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
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
    if (std::optional<double> v = plain(text)) {
        value.number = *v;
        return true;
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
