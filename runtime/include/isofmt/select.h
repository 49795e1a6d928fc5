// Choosing a routine by its FORMAT text (NAME[W][.D]) and finding the
// plug-ins for a program or a library that embeds the host.
#pragma once

#include <string>
#include <string_view>

#include <isofmt/host.h>

namespace isofmt {

// kMaxField (isofmt/host.h) bounds the width and decimals a FORMAT text may give.

// A text as messages show it: in single quotes, at most kQuoteLimit bytes of
// it (then "..." and its length), bytes that do not print escaped (\t, \0,
// \x1b), a backslash or a quote escaped by a backslash.
inline constexpr std::size_t kQuoteLimit = 60;
ISOFMT_API std::string quote_text(std::string_view text);

// A FORMAT text resolved against the catalogue.
struct Selection {
    const CatalogueEntry* entry = nullptr;
    int width = 0;
    int decimals = 0;
};

// The catalogue entry of the given kind whose name is the longest prefix of
// the text (upper or lower case), with the width and decimals that follow it
// or the entry's defaults. Throws std::invalid_argument naming what is wrong
// (an unknown name, a format given as an informat, a bad width or decimals).
ISOFMT_API Selection select_routine(const Host& host, std::string_view text, Kind kind);


}  // namespace isofmt
