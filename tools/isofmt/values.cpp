// Values and numeric options from the command line, and one routine call.
#include <cctype>
#include <charconv>
#include <cmath>
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

std::string_view trim(std::string_view t) {
    while (!t.empty() && is_space(t.front())) t.remove_prefix(1);
    while (!t.empty() && is_space(t.back())) t.remove_suffix(1);
    return t;
}

bool equals_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
    return true;
}

// [-]digits[.digits] with at most 15 digits in all: the digits as a whole
// number and the power of ten below it are both exact doubles, so their
// quotient is the correctly rounded value from_chars gives. nullopt for any
// other text.
std::optional<double> read_plain_decimal(std::string_view t) {
    static constexpr double kPow10[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* p = t.data();
    const char* const end = p + t.size();
    const bool negative = p != end && *p == '-';
    p += negative;
    if (end - p > 16) return std::nullopt;  // more than 15 digits and a point
    std::int64_t digits = 0;
    const char* start = p;
    while (p != end && static_cast<unsigned char>(*p - '0') < 10) digits = digits * 10 + (*p++ - '0');
    int count = static_cast<int>(p - start), after_point = 0;
    if (p != end) {
        if (*p++ != '.') return std::nullopt;
        start = p;
        while (p != end && static_cast<unsigned char>(*p - '0') < 10) digits = digits * 10 + (*p++ - '0');
        after_point = static_cast<int>(p - start);
        if (p != end || after_point == 0) return std::nullopt;  // not a digit, or none after the point
        count += after_point;
    }
    if (count == 0 || count > 15) return std::nullopt;
    const double v = static_cast<double>(digits) / kPow10[after_point];
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

}  // namespace

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
    throw UsageError(std::string(option) + ": bad number '" + std::string(text) +
                     "' (a 32-bit word, decimal or 0x hexadecimal)");
}

double parse_value(const Host& host, std::string_view text) {
    const std::string_view t = trim(text);
    if (t == "." || equals_ignoring_case(t, "nan")) return std::numeric_limits<double>::quiet_NaN();
    if (std::optional<double> v = read_number(t)) return *v;
    if (std::optional<double> v = host.parse_literal(t)) return *v;
    throw UsageError("unparsable value '" + std::string(text) +
                     "' (a number, . or nan, or an ISO 8601 date, time or datetime)");
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

Result run(const Host& host, const Selection& selection, const Request& request,
           std::string_view value) {
    const CatalogueEntry& e = *selection.entry;
    switch (e.shape) {
    case Shape::numeric:
        return host.format(e, parse_value(host, value), request);
    case Shape::duration_format:
    case Shape::interval_format:
        return host.format_packed(e, value, request);
    case Shape::informat:
        break;
    }
    return host.informat(e, value, request);
}

}  // namespace isofmt::tool

namespace isofmt::tool {

Written run_to(const Host& host, const Selection& selection, const Request& request, std::string_view value,
               char* out, std::size_t cap) {
    const CatalogueEntry& e = *selection.entry;
    switch (e.shape) {
    case Shape::numeric:
        return host.format_to(e, parse_value(host, value), request, out, cap);
    case Shape::duration_format:
    case Shape::interval_format:
        return host.format_packed_to(e, value, request, out, cap);
    case Shape::informat:
        break;
    }
    return host.informat_to(e, value, request, out, cap);
}

}  // namespace isofmt::tool
