// FORMAT arguments (NAME[W][.D]) and the list command.
#include <cctype>
#include <charconv>
#include <cstdio>

#include "tool.h"

namespace isofmt::tool {
namespace {

const char* kind_word(Kind kind) { return kind == Kind::format ? "format" : "informat"; }

bool starts_with_name(std::string_view text, std::string_view name) {
    if (text.size() < name.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(text[i])) != name[i]) return false;
    return true;
}

// The entry of the kind whose name is the longest prefix of the text.
const CatalogueEntry* longest_prefix(const Host& host, std::string_view text, Kind kind) {
    const CatalogueEntry* best = nullptr;
    for (const CatalogueEntry& e : host.catalogue())
        if (e.kind == kind && starts_with_name(text, e.name) &&
            (!best || e.name.size() > best->name.size()))
            best = &e;
    return best;
}

// A run of decimal digits, all of the text, as a number up to kMaxField.
bool read_count(std::string_view digits, int& out) {
    if (digits.empty()) return false;
    for (char c : digits)
        if (c < '0' || c > '9') return false;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), out);
    return ec == std::errc() && end == digits.data() + digits.size() && out <= kMaxField;
}

std::string quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

}  // namespace

Selection select_format(const Host& host, std::string_view text, Kind kind) {
    const std::string unknown =
        std::string("unknown ") + kind_word(kind) + " " + quoted(text) + " (see 'isofmt list')";
    const CatalogueEntry* entry = longest_prefix(host, text, kind);
    if (!entry) {
        const Kind other = kind == Kind::format ? Kind::informat : Kind::format;
        if (const CatalogueEntry* e = longest_prefix(host, text, other))
            throw UsageError(e->name + (other == Kind::format ? " is a format, not an informat"
                                                              : " is an informat, not a format") +
                             " (see 'isofmt list')");
        throw UsageError(unknown);
    }
    Selection s{entry, entry->default_width, entry->default_decimals};
    std::string_view rest = text.substr(entry->name.size());
    const std::size_t dot = rest.find('.');
    const std::string_view width = rest.substr(0, dot);
    if (!width.empty() && (width[0] < '0' || width[0] > '9')) throw UsageError(unknown);
    if (!width.empty() && (!read_count(width, s.width) || s.width < 1))
        throw UsageError("bad width " + quoted(width) + " in " + quoted(text) +
                         " (a number from 1 to " + std::to_string(kMaxField) + ")");
    if (dot != std::string_view::npos) {
        const std::string_view decimals = rest.substr(dot + 1);
        if (!decimals.empty() && !read_count(decimals, s.decimals))
            throw UsageError("bad decimals " + quoted(decimals) + " in " + quoted(text) +
                             " (a number from 0 to " + std::to_string(kMaxField) + ")");
    }
    return s;
}

std::string format_text(const Selection& s) {
    std::string text = s.entry->name + std::to_string(s.width);
    if (s.decimals != 0) text += "." + std::to_string(s.decimals);
    return text;
}

int list_command(const Host& host) {
    for (const CatalogueEntry& e : host.catalogue())
        std::printf("%-10s %-8s %-8s %4d %4d %4d %4d\n", e.name.c_str(), kind_word(e.kind),
                    e.module.c_str(), e.min_width, e.max_width, e.default_width, e.max_decimals);
    return 0;
}

}  // namespace isofmt::tool
