// FORMAT texts (NAME[W][.D]) and where an embedding library finds the plug-ins.
#include "isofmt/select.h"


#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <stdexcept>

namespace isofmt {
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



}  // namespace

Selection select_routine(const Host& host, std::string_view text, Kind kind) {
    const std::string unknown =
        std::string("unknown ") + kind_word(kind) + " " + quote_text(text) + " (see 'isofmt list')";
    const CatalogueEntry* entry = longest_prefix(host, text, kind);
    if (!entry) {
        const Kind other = kind == Kind::format ? Kind::informat : Kind::format;
        if (const CatalogueEntry* e = longest_prefix(host, text, other))
            throw std::invalid_argument(e->name + (other == Kind::format ? " is a format, not an informat"
                                                                         : " is an informat, not a format") +
                                        " (see 'isofmt list')");
        throw std::invalid_argument(unknown);
    }
    Selection s{entry, entry->default_width, entry->default_decimals};
    std::string_view rest = text.substr(entry->name.size());
    const std::size_t dot = rest.find('.');
    const std::string_view width = rest.substr(0, dot);
    // A letter after the name makes it another name; anything else is the width (E8601DA-1).
    if (!rest.empty() && std::isalpha(static_cast<unsigned char>(rest[0]))) throw std::invalid_argument(unknown);
    if (!width.empty() && (!read_count(width, s.width) || s.width < 1))
        throw std::invalid_argument("bad width " + quote_text(width) + " in " + quote_text(text) +
                                    " (a number from 1 to " + std::to_string(kMaxField) + ")");
    if (dot != std::string_view::npos) {
        const std::string_view decimals = rest.substr(dot + 1);
        if (!decimals.empty() && !read_count(decimals, s.decimals))
            throw std::invalid_argument("bad decimals " + quote_text(decimals) + " in " + quote_text(text) +
                                        " (a number from 0 to " + std::to_string(kMaxField) + ")");
    }
    return s;
}

std::string quote_text(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string q = "'";
    const std::size_t shown = std::min(text.size(), kQuoteLimit);
    for (std::size_t i = 0; i < shown; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        switch (c) {
        case '\t': q += "\\t"; continue;
        case '\n': q += "\\n"; continue;
        case '\r': q += "\\r"; continue;
        case '\0': q += "\\0"; continue;
        case '\\': q += "\\\\"; continue;
        case '\'': q += "\\'"; continue;
        default: break;
        }
        if (c < 0x20 || c >= 0x7f) {
            ((q += "\\x") += kHex[c >> 4]) += kHex[c & 15];
        } else {
            q += static_cast<char>(c);
        }
    }
    q += "'";
    if (shown < text.size()) q += "... (" + std::to_string(text.size()) + " bytes)";
    return q;
}

}  // namespace isofmt
