// The demo command: sample values through every format of the catalogue, as
// tables, and a few widths and decimals that show the rules. Routine output
// is shown between [ and ] so that its blanks can be seen.
#include <algorithm>
#include <cstdio>

#include "abi/problems.h"
#include "tool.h"

namespace isofmt::tool {
namespace {

struct Sample {
    const char* value;  // as the format command takes it
    const char* meaning;
};

// One present value, with a fraction, per kind of value (date, time, datetime:
// the first three of ValueKind).
constexpr Sample kPresent[] = {
    {"17790", "2008-09-15"},
    {"32700.25", "09:05:00.25"},
    {"1537088700.25", "2008-09-15T09:05:00.25"},
};
constexpr const char* kMissing = ".";
constexpr const char* kOutOfRange = "1e12";

// Rows of cells, printed in columns as wide as their widest cell.
class Table {
public:
    explicit Table(std::vector<std::string> header) { rows_.push_back(std::move(header)); }
    void add(std::vector<std::string> row) { rows_.push_back(std::move(row)); }
    bool empty() const { return rows_.size() == 1; }

    void print(const char* title) const {
        if (empty()) return;
        std::vector<std::size_t> widths;
        for (const auto& row : rows_) {
            widths.resize(std::max(widths.size(), row.size()));
            for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
        }
        std::printf("\n%s\n\n", title);
        for (const auto& row : rows_) {
            std::string line = " ";
            for (std::size_t i = 0; i < row.size(); ++i) {
                line += ' ';
                line += row[i];
                if (i + 1 < row.size()) line.append(widths[i] - row[i].size() + 1, ' ');
            }
            line.erase(line.find_last_not_of(' ') + 1);
            std::printf("%s\n", line.c_str());
        }
    }

private:
    std::vector<std::vector<std::string>> rows_;
};

std::string shown(const Result& r) { return "[" + r.text + "]"; }

std::string hex_status(std::int32_t status) {
    char word[16];
    std::snprintf(word, sizeof word, "0x%08x", static_cast<unsigned>(status));
    return word;
}

// The text of a selection for a value, with its status when not 0.
std::string cell(const Host& host, const Settings& settings, const Selection& s, std::string_view value) {
    const Result r = run(host, s, make_request(host, settings, s), value);
    return r.status == 0 ? shown(r) : shown(r) + " " + hex_status(r.status);
}

void numeric_table(const Host& host, const Settings& settings) {
    Table t({"FORMAT", "VALUE", "TEXT", "MISSING", "OUT OF RANGE"});
    for (const CatalogueEntry& e : host.catalogue()) {
        if (e.kind != Kind::format || e.shape != Shape::numeric) continue;
        const Selection s{&e, e.default_width, e.default_decimals};
        const Sample& present = kPresent[static_cast<int>(value_kind(e))];
        t.add({format_text(s), present.meaning, cell(host, settings, s, present.value),
               cell(host, settings, s, kMissing), cell(host, settings, s, kOutOfRange)});
    }
    t.print("Dates, times and datetimes at the default width and decimals");
}

// Samples of the routines that no item table names, by the name the host
// gives them; a routine without samples here is left out.
struct NamedSample {
    std::string_view name;
    const char* value;
};

constexpr NamedSample kPacked[] = {
    {"IS860DU", "0001203040506FFC"},
    {"IS860DU", "0A01203040506FFC"},
    {"IS860DU", "FFFFFFFFF30FFFFC"},
    {"IS860DU", "00000000008E9492"},
    {"IS860DU", "FFFFFFFFFFFFFFFF"},
    {"IS860PD", "2020115103000FFD"},
    {"IS860PD", "2020C31235959F9D"},
    {"IS860PD", "2020F15103000FFD"},
    {"IS860VL", "2020115103000FFD0001203040506FFC"},
    {"IS860VL", "2020115103000FFD2020C31235959F9D"},
    {"IS860VL", "19601010000000030000000000002412"},
};
constexpr std::int32_t kRenderOptions[] = {0, 0x0001, 0x0004};

void packed_table(const Host& host, const Settings& settings) {
    Table t({"FORMAT", "PACKED", "OPTIONS", "TEXT"});
    for (const CatalogueEntry& e : host.catalogue()) {
        if (e.kind != Kind::format || e.shape == Shape::numeric) continue;
        const Selection s{&e, e.default_width, e.default_decimals};
        for (const NamedSample& p : kPacked) {
            if (p.name != e.name) continue;
            bool first = true;
            for (std::int32_t options : kRenderOptions) {
                Settings with = settings;
                with.options = with.dt_options = options;
                char word[16];
                std::snprintf(word, sizeof word, options ? "0x%04x" : "0", static_cast<unsigned>(options));
                t.add({first ? format_text(s) : "", first ? p.value : "", word,
                       cell(host, with, s, p.value)});
                first = false;
            }
        }
    }
    t.print("Packed durations, datetimes and intervals at the default width, by render options");
}

constexpr NamedSample kTexts[] = {
    {"IS860DU", "P1Y2M10DT2H30M"},
    {"IS860DU", "-PT30M"},
    {"IS860DU", "PT36.5H"},
    {"IS860DU", "P3W"},
    {"IS860DU", "P0001-02-10T02:30:00"},
    {"IS860DU", "P1H"},
    {"IS860PD", "2020-01-15T10:30:00"},
    {"IS860PD", "20200115T103000"},
    {"IS860PD", "2020-12-31T23:59:59.999"},
    {"IS860PD", "2020-13-01"},
    {"IS860VL", "2020-01-15T10:30:00/P1M"},
    {"IS860VL", "2020-01-01T00:00:00/P1M40D"},
    {"IS860VL", "P1D"},
    {"IS860VL", "P1D/P2D"},
    {"IS860VL", "2020-01-01/"},
};

void informat_table(const Host& host, const Settings& settings) {
    Table t({"INFORMAT", "TEXT", "PACKED", "CODE"});
    for (const CatalogueEntry& e : host.catalogue()) {
        if (e.kind != Kind::informat) continue;
        const Selection s{&e, e.default_width, e.default_decimals};
        for (const NamedSample& text : kTexts) {
            if (text.name != e.name) continue;
            const Result r = run(host, s, make_request(host, settings, s), text.value);
            t.add({e.name, text.value, shown(r),
                   r.status == 0 ? "0" : std::to_string(r.status) + " " + problem_text(r.status)});
        }
    }
    t.print("ISO 8601 texts read by the informats, with the problem code");
}

struct Rule {
    const char* format;
    const char* value;
    const char* note;
    std::int32_t options = 0;
};

constexpr Rule kRules[] = {
    {"E8601DZ20", "0", "zone suffix by the room left: 1 to 5 places give Z"},
    {"E8601DZ24", "0", ""},
    {"E8601DZ25", "0", "6 places or more give +00:00"},
    {"E8601DZ26.3", "0", "decimals"},
    {"E8601TZ20.5", "32700", ""},
    {"E8601TZ20.6", "32700", "6 decimals leave room for Z only"},
    {"E8601TM12.3", "86399.9996", "never 24:00"},
    {"E8601TM9.1", "32700", "the decimal takes the place of the hour's zero"},
    {"E8601DT19.2", "0", "no room for decimals"},
    {"E8601DX26", "1537088700", "in the zone of --tz"},
    {"E8601LZ14", "32700", "the local offset"},
    {"B8601DA8", "0", "basic form: the delimiters removed"},
    {"B8601TZ9", "32700", ""},
    {"B8601TZ14", "32700", ""},
    {"B8601DZ20", "0", ""},
    {"B8601DX20", "0", "the sign of the offset kept"},
    {"CLKTAMPM11", "0", "12-hour clock"},
    {"CLKTAMPM11", "45296.789", ""},
    {"CLKTAMPM8", "45296.789", "minutes not rounded by the seconds"},
    {"CLKTAMPM4", "45296.789", "AM or PM alone"},
    {"CLKDTAMPM19", "47107.25", ""},
    {"CLKDYAMPM19", "-1", ""},
    {"CLKDT19.2", "47107.25", "datetime with decimals"},
    {"CLKDT16", "86399.6", "rounds up to the next day"},
    {"CLKMMSS9.2", "45296.789", "elapsed minutes and seconds"},
    {"CLKMMSS8.2", "45296.789", "cut, not rounded"},
    {"CLKHHMM5", "45331", "elapsed hours and minutes"},
    {"CLKHOUR4.1", "5400", "decimal hours"},
    {"IS860PD23", "2020F15103000FFD", "month missing; options 0x0002: the delimited form", 0x0002},
    {"IS860DU6", "00000000008E9492", "PT36.5H fitted: the designator goes first"},
    {"IS860DU5", "00000000008E9492", "then the fraction"},
};

void rules_table(const Host& host, const Settings& settings) {
    Table t({"FORMAT", "VALUE", "TEXT", "NOTE"});
    for (const Rule& rule : kRules) {
        Selection s;
        try {
            s = select_format(host, rule.format, Kind::format);
        } catch (const UsageError&) {
            continue;  // a format this catalogue does not hold
        }
        Settings with = settings;
        with.options = rule.options;
        t.add({rule.format, rule.value, cell(host, with, s, rule.value), rule.note});
    }
    t.print("Widths and decimals that show the rules");
}

}  // namespace

int demo_command(const Host& host, const Settings& settings) {
    std::printf("isofmt demo: time zone %s, missing-value text \"%s\"\n\n",
                settings.environment.time_zone.c_str(), settings.environment.missing_text.c_str());
    std::printf("Formats take host values: a date is a day number (day 0 is 1960-01-01), a time\n"
                "is seconds since midnight, a datetime seconds since 1960-01-01T00:00:00.\n"
                "Samples:");
    for (const Sample& s : kPresent) std::printf(" %s = %s;", s.meaning, s.value);
    std::printf("\nmissing %s; out of range %s. Between [ and ] is exactly what the routine\n"
                "wrote; a status other than 0 follows it.\n",
                kMissing, kOutOfRange);
    numeric_table(host, settings);
    packed_table(host, settings);
    informat_table(host, settings);
    rules_table(host, settings);
    return 0;
}

}  // namespace isofmt::tool
