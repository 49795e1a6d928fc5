// FORMAT arguments (NAME[W][.D]) and the list command.
#include <cstdio>
#include <stdexcept>

#include "tool.h"

namespace isofmt::tool {
namespace {

const char* kind_word(Kind kind) { return kind == Kind::format ? "format" : "informat"; }

}  // namespace

Selection select_format(const Host& host, std::string_view text, Kind kind) {
    try {
        return isofmt::select_routine(host, text, kind);
    } catch (const std::invalid_argument& e) {
        throw UsageError(e.what());
    }
}

std::string format_text(const Selection& s) {
    std::string text = s.entry->name + std::to_string(s.width);
    if (s.decimals != 0) (text += '.') += std::to_string(s.decimals);
    return text;
}

int list_command(const Host& host) {
    for (const CatalogueEntry& e : host.catalogue())
        std::printf("%-10s %-8s %-8s %4d %4d %4d %4d\n", e.name.c_str(), kind_word(e.kind),
                    e.module.c_str(), e.min_width, e.max_width, e.default_width, e.max_decimals);
    return 0;
}

}  // namespace isofmt::tool
