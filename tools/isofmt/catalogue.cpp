// FORMAT arguments (NAME[W][.D]) and the list command.
#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "tool.h"

namespace isofmt::tool {
namespace {

const char* kind_word(Kind kind) { return kind == Kind::format ? "format" : "informat"; }

// What each entry does, for list --long; the ISO names by their ending.
struct Description {
    std::string_view name;  // a whole name, or the two-letter ending of an ISO name
    const char* text;
};
constexpr Description kWhole[] = {
    {"CLKDT", "day, month and year, and the time of day"},
    {"CLKDTAMPM", "as CLKDT, on the 12-hour clock"},
    {"CLKDYAMPM", "month/day/year and the time on the 12-hour clock"},
    {"CLKTIME", "hours (not limited to a day), minutes and seconds"},
    {"CLKTAMPM", "time of day on the 12-hour clock"},
    {"CLKTOD", "time of day, never 24:00"},
    {"CLKHOUR", "elapsed time in decimal hours"},
    {"CLKMMSS", "elapsed time in minutes and seconds"},
    {"CLKHHMM", "elapsed time in hours and minutes"},
};
constexpr Description kEnding[] = {
    {"DA", "date"},
    {"TM", "time of day"},
    {"TZ", "time of day in UTC, with Z or +00:00"},
    {"DT", "datetime"},
    {"DZ", "datetime in UTC, with Z or +00:00"},
    {"DN", "the date of a datetime"},
    {"LZ", "time of day with the local offset of the --tz zone"},
    {"DX", "datetime in the --tz zone, with its offset"},
    {"LX", "local datetime of the --tz zone, with its offset"},
    {"TX", "time of day in the --tz zone, with its offset"},
};

std::string description(const CatalogueEntry& e) {
    if (e.shape == Shape::informat)
        return e.name == "IS860VL"   ? "reads an ISO 8601 interval into 32 packed digits"
               : e.name == "IS860PD" ? "reads an ISO 8601 datetime into 16 packed digits"
                                     : "reads an ISO 8601 duration into 16 packed digits";
    if (e.shape == Shape::interval_format) return "shows a packed interval as ISO 8601 text";
    if (e.shape == Shape::duration_format)
        return e.name == "IS860PD" ? "shows a packed datetime as ISO 8601 text"
                                   : "shows a packed duration as ISO 8601 text";
    for (const Description& d : kWhole)
        if (e.name == d.name) return d.text;
    const std::string_view name = e.name;
    const char* form = name.starts_with("B") ? "basic form, " : "extended form, ";
    for (const Description& d : kEnding)
        if (name.ends_with(d.name)) return form + std::string(d.text);
    return "";
}

// A sample input of each value kind, in ValueKind order; and for the
// informats, by name.
constexpr const char* kSamples[] = {"2008-09-15", "09:05:00.25", "2008-09-15T09:05:00.25", "0001203040506FFC",
                                    "2020115103000FFD", "2020115103000FFD0001203040506FFC", ""};
const char* informat_sample(const CatalogueEntry& e) {
    return e.name == "IS860VL" ? "2020-01-15T10:30:00/P1M" : e.name == "IS860PD" ? "2020-01-15T10:30:00" : "P1Y2M3DT4H5M6S";
}

// The entry at its default width and decimals on the sample: "IN gives OUT".
std::string sample(const Host& host, const CatalogueEntry& e) {
    const Selection s{&e, e.default_width, e.default_decimals};
    Settings settings;
    const char* in = e.kind == Kind::informat ? informat_sample(e) : kSamples[static_cast<int>(value_kind(e))];
    if (e.shape == Shape::duration_format || e.shape == Shape::interval_format) settings.options = 1;
    const Result r = run(host, s, make_request(host, settings, s), in);
    std::string out = r.text;
    out.erase(0, std::min(out.find_first_not_of(' '), out.size()));
    out.erase(out.find_last_not_of(' ') + 1);
    return std::string(in) + " gives " + out;
}

std::string range(int low, int high) { return std::to_string(low) + "-" + std::to_string(high); }

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

int list_command(const Host& host, bool long_form) {
    char line[512];
    if (!long_form) {
        for (const CatalogueEntry& e : host.catalogue()) {
            std::snprintf(line, sizeof line, "%-10s %-8s %-8s %4d %4d %4d %4d  %s\n", e.name.c_str(),
                          kind_word(e.kind), e.module.c_str(), e.min_width, e.max_width, e.default_width,
                          e.max_decimals, value_kind_name(value_kind(e)));
            write_out(line);
        }
        return kExitOk;
    }
    std::snprintf(line, sizeof line, "%-10s %-8s %-8s %-7s %-7s %-8s %-16s %s\n", "NAME", "KIND", "MODULE",
                  "WIDTHS", "DEFAULT", "DECIMALS", "VALUE", "DESCRIPTION: SAMPLE AT THE DEFAULT WIDTH");
    write_out(line);
    for (const CatalogueEntry& e : host.catalogue()) {
        std::string def = std::to_string(e.default_width);
        if (e.default_decimals) def += "." + std::to_string(e.default_decimals);
        const std::string text = description(e) + ": " + sample(host, e);
        std::snprintf(line, sizeof line, "%-10s %-8s %-8s %-7s %-7s %-8s %-16s %s\n", e.name.c_str(),
                      kind_word(e.kind), e.module.c_str(), range(e.min_width, e.max_width).c_str(), def.c_str(),
                      range(e.min_decimals, e.max_decimals).c_str(), value_kind_name(value_kind(e)),
                      text.c_str());
        write_out(line);
    }
    return kExitOk;
}

}  // namespace isofmt::tool
