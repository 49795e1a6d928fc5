// Values and numeric options from the command line, and one routine call.
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "tool.h"

namespace isofmt::tool {
namespace {

std::string_view trim(std::string_view t) {
    while (!t.empty() && std::isspace(static_cast<unsigned char>(t.front()))) t.remove_prefix(1);
    while (!t.empty() && std::isspace(static_cast<unsigned char>(t.back()))) t.remove_suffix(1);
    return t;
}

bool equals_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
    return true;
}

// The whole text as a decimal number (a leading '+' allowed).
std::optional<double> read_number(std::string_view t) {
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
