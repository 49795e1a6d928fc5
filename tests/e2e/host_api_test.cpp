// The reference host API over the loaded plug-ins: the catalogue they
// register, calls through it, environments and the log.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <limits>

#include <isofmt/host.h>

#include "support/c_library_zone.h"
#include "support/item_tables.h"

namespace e2e {
namespace {

using isofmt::CatalogueEntry;
using isofmt::Host;
using isofmt::Kind;
using isofmt::Request;
using isofmt::Shape;

// A host of its own per test, with the plug-ins loaded.
class LoadedHost : public ::testing::Test {
protected:
    LoadedHost() { host.load_directory(ISOFMT_PLUGIN_DIR); }
    Host host;
};

const CatalogueEntry& entry(const Host& host, const char* name, Kind kind = Kind::format) {
    const CatalogueEntry* e = host.find(name, kind);
    if (!e) throw std::runtime_error(std::string("not in the catalogue: ") + name);
    return *e;
}

Request sized(int width, int decimals = 0) {
    Request r;
    r.width = width;
    r.decimals = decimals;
    return r;
}

TEST_F(LoadedHost, ItemTablesOfTheThreeIsoModules) {
    for (const auto& row : testing_support::kIsoItemRows) {
        const CatalogueEntry& e = entry(host, row.name);
        EXPECT_EQ(e.module, row.module) << row.name;
        EXPECT_EQ(e.min_width, row.min_width) << row.name;
        EXPECT_EQ(e.max_width, row.max_width) << row.name;
        EXPECT_EQ(e.default_width, row.default_width) << row.name;
        EXPECT_EQ(e.min_decimals, 0) << row.name;
        EXPECT_EQ(e.default_decimals, 0) << row.name;
        EXPECT_EQ(e.max_decimals, row.max_decimals) << row.name;
        EXPECT_EQ(e.shape, Shape::numeric) << row.name;
        EXPECT_NE(e.routine, nullptr) << row.name;
    }
    // dtaltfm1 registers the routines of dtextnd1 from its own copy of them.
    EXPECT_NE(entry(host, "IS8601DZ").routine, entry(host, "E8601DZ").routine);
}

TEST_F(LoadedHost, ClassicFormatsBoundBySlot) {
    struct Row {
        const char* name;
        int min_width, max_width;
    } rows[] = {
        {"CLKDTAMPM", 7, 40}, {"CLKDT", 7, 40},    {"CLKHHMM", 2, 20},  {"CLKHOUR", 2, 20}, {"CLKDYAMPM", 8, 40},
        {"CLKMMSS", 2, 20},   {"CLKTIME", 2, 20},  {"CLKTAMPM", 2, 20}, {"CLKTOD", 2, 20},
    };
    for (const Row& row : rows) {
        const CatalogueEntry& e = entry(host, row.name);
        EXPECT_EQ(e.module, "dtclockf") << row.name;
        EXPECT_EQ(e.min_width, row.min_width) << row.name;
        EXPECT_EQ(e.max_width, row.max_width) << row.name;
        EXPECT_NE(e.routine, nullptr) << row.name;
    }
}

TEST_F(LoadedHost, DurationAndIntervalRoutinesByName) {
    EXPECT_EQ(entry(host, "IS860DU").shape, Shape::duration_format);
    EXPECT_EQ(entry(host, "IS860PD").shape, Shape::duration_format);
    EXPECT_EQ(entry(host, "IS860VL").shape, Shape::interval_format);
    for (const char* name : {"IS860DU", "IS860PD", "IS860VL"})
        EXPECT_EQ(entry(host, name, Kind::informat).shape, Shape::informat) << name;
    EXPECT_EQ(host.find("IS860DU", Kind::format)->kind, Kind::format);
    EXPECT_EQ(host.find("E8601DA", Kind::informat), nullptr);
    EXPECT_EQ(host.catalogue().size(), 27u + 9u + 3u + 3u);
}

TEST_F(LoadedHost, AnyNanIsMissing) {
    double payload;
    const std::uint64_t bits = 0xFFFFFE0000000000ull;
    std::memcpy(&payload, &bits, sizeof payload);
    for (double nan : {std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::quiet_NaN(), payload}) {
        const isofmt::Result r = host.format(entry(host, "E8601DA"), nan, sized(10));
        EXPECT_EQ(r.text, "         .");
        EXPECT_EQ(r.status, 0);
    }
}

TEST_F(LoadedHost, InformatAndFormatRoundTrip) {
    const isofmt::Result packed = host.informat(entry(host, "IS860DU", Kind::informat), "P1Y2M3DT4H5M6S", Request{});
    ASSERT_EQ(packed.status, 0);
    ASSERT_EQ(packed.text, "0001203040506FFC");
    Request designators = sized(14);
    designators.options = 0x0001;
    EXPECT_EQ(host.format_packed(entry(host, "IS860DU"), packed.text, designators).text, "P1Y2M3DT4H5M6S");
}

TEST_F(LoadedHost, ParsesLiterals) {
    EXPECT_EQ(host.parse_literal("1960-01-01"), 0.0);
    EXPECT_EQ(host.parse_literal("1582-01-01"), -138061.0);
    EXPECT_EQ(host.parse_literal("09:05:00"), 32700.0);
    EXPECT_EQ(host.parse_literal("1960-01-02T00:00:01"), 86401.0);
    EXPECT_EQ(host.parse_literal("not a date"), std::nullopt);
}

TEST_F(LoadedHost, ZoneAndMissingTextPerEnvironment) {
    isofmt::EnvironmentConfig config;
    config.time_zone = "+05:30";
    config.missing_text = "?";
    Request r = sized(26);
    r.environment = host.create_environment(config);
    EXPECT_EQ(host.format(entry(host, "E8601DX"), 0, r).text, " 1960-01-01T05:30:00+05:30");
    EXPECT_EQ(host.format(entry(host, "E8601DA"), std::nan(""), Request{.width = 10, .environment = r.environment}).text,
              "         ?");
    r.environment = host.default_environment();
    EXPECT_EQ(host.format(entry(host, "E8601DX"), 0, r).text, " 1960-01-01T00:00:00+00:00");
}

// The zone formats in summer and winter of years past the zone files' last
// listed transitions, against the C library's local time of each instant:
// E8601DX and B8601DX shift the universal value, E8601LX labels a local one.
TEST_F(LoadedHost, ZoneFormatsInFarYearsAgreeWithTheCLibrary) {
    using testing_support::unix_of;
    for (const char* zone : {"America/New_York", "Europe/Paris", "Australia/Sydney"}) {
        testing_support::CLibraryZone c(zone);
        Request r = sized(26);
        r.environment = host.create_environment({.time_zone = zone});
        Request basic = sized(20);
        basic.environment = r.environment;
        for (int year : {2040, 2100, 9999})
            for (int month : {1, 7}) {
                const std::int64_t u = unix_of(year, month, 15, 12);
                const std::tm tm = c.local(u);
                const long offset = tm.tm_gmtoff, a = offset < 0 ? -offset : offset;
                const char sign = offset < 0 ? '-' : '+';
                char extended[32], compact[32];
                std::snprintf(extended, sizeof extended, " %04d-%02d-%02dT%02d:%02d:%02d%c%02ld:%02ld",
                              tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, sign,
                              a / 3600, a % 3600 / 60);
                std::snprintf(compact, sizeof compact, "%04d%02d%02dT%02d%02d%02d%c%02ld%02ld", tm.tm_year + 1900,
                              tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec, sign, a / 3600,
                              a % 3600 / 60);
                const double x = static_cast<double>(u - testing_support::kUnix1960);
                EXPECT_EQ(host.format(entry(host, "E8601DX"), x, r).text, extended) << zone;
                EXPECT_EQ(host.format(entry(host, "B8601DX"), x, basic).text, compact) << zone;
                EXPECT_EQ(host.format(entry(host, "E8601LX"), x + offset, r).text, extended) << zone;
            }
    }
}

std::vector<std::string> logged_lines(const std::string& debug) {
    std::vector<std::string> logged;
    isofmt::HostConfig config;
    config.debug = debug;
    config.log = [&](std::string_view line) { logged.emplace_back(line); };
    Host host(config);
    host.load_directory(ISOFMT_PLUGIN_DIR);
    Request narrow = sized(5);
    const isofmt::Result r =
        host.format_packed(entry(host, "IS860VL"), "2020115103000FFD0001203040506FFC", narrow);
    EXPECT_EQ(r.text, "*****");
    EXPECT_EQ(r.status, static_cast<std::int32_t>(0x8001d825u));
    return logged;
}

TEST(HostLog, ProblemsLoggedOnlyWithDiagnostics) {
    EXPECT_THAT(logged_lines("trace,N8601diag"),
                ::testing::ElementsAre(::testing::HasSubstr("Problem with formatting: Insufficient room to format the result.")));
    EXPECT_THAT(logged_lines("N8601DIA"), ::testing::IsEmpty());
    EXPECT_THAT(logged_lines(""), ::testing::IsEmpty());
}

// format_lines writes, for every value in turn, what format_to writes and a
// LF, and nothing past the lines; it refuses a target that cannot hold n
// lines of room() and a LF.
TEST_F(LoadedHost, LinesOfAPreparedFormatAreItsTextsInTurn) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double values[] = {0, -1.5, 2031915907.25, 1e12, -1e12, nan, 86399.9995, -0.0, 1e300, 59.9999};
    const std::size_t n = std::size(values);
    struct Row {
        const char* name;
        Request request;
    };
    Request wide = sized(40, 6);
    Request narrow_capacity = sized(19);
    narrow_capacity.capacity = 5;
    Request validated = sized(10, 12);
    validated.validate = true;
    const Row rows[] = {{"E8601DT", sized(19)},   {"E8601DT", sized(23, 3)}, {"E8601DZ", sized(29, 3)},
                        {"E8601DA", Request{}},   {"CLKDT", sized(19)},      {"B8601DZ", sized(26)},
                        {"E8601TM", wide},        {"E8601DT", narrow_capacity}, {"E8601DT", validated}};
    for (const Row& row : rows) {
        const CatalogueEntry& e = entry(host, row.name, Kind::format);
        const isofmt::Host::NumericFormat prepared = host.prepare_format(e, row.request);
        const std::size_t line = prepared.room() + 1;
        std::string expected, one(prepared.room(), '#');
        for (double v : values) {
            const isofmt::Written w = prepared.format_to(v, one.data(), one.size());
            expected.append(one, 0, w.length);
            expected += '\n';
        }
        for (std::size_t count : {std::size_t{0}, std::size_t{1}, n}) {
            std::string out(count * line + 8, '#');
            const std::size_t written = prepared.format_lines(values, count, out.data(), count * line);
            const std::size_t want = count == n ? expected.size() : count == 0 ? 0 : expected.find('\n') + 1;
            EXPECT_EQ(out.substr(0, written), expected.substr(0, want)) << row.name << " " << count;
            EXPECT_EQ(out.substr(written).find_first_not_of('#'), std::string::npos) << row.name << " " << count;
        }
        std::string out(n * line, '#');
        EXPECT_THROW(prepared.format_lines(values, n, out.data(), n * line - 1), isofmt::Error) << row.name;
    }
}

}  // namespace
}  // namespace e2e

namespace e2e {
namespace {

// format_to and its packed and informat forms write into the caller's buffer
// exactly what the string forms return, need no more than room(), leave the
// rest of the buffer alone, and refuse a buffer smaller than room().
TEST_F(LoadedHost, IntoTheCallersBuffer) {
    struct Row {
        const char* name;
        Kind kind;
        const char* input;  // a number for the numeric formats
        Request request;
    };
    Request vl;
    vl.options = 1;
    vl.dt_options = 4;
    const Row rows[] = {
        {"E8601DT", Kind::format, "2031915907.25", sized(23, 3)},
        {"B8601DZ", Kind::format, "-1.5", sized(26)},
        {"CLKDT", Kind::format, "nan", sized(19)},
        {"E8601DA", Kind::format, "1e12", sized(10)},
        {"IS860DU", Kind::format, "0001203040506FFC", vl},
        {"IS860VL", Kind::format, "2020115103000FFD0001203040506FFC", vl},
        {"IS860PD", Kind::informat, "2020-12-31T23:59:59.999", Request{}},
        {"IS860VL", Kind::informat, "2020-01-15T10:30:00/P1Y2M3DT4H5M6S", Request{}},
    };
    for (const Row& row : rows) {
        const CatalogueEntry& e = entry(host, row.name, row.kind);
        const std::size_t room = host.room(e, row.request);
        std::string buffer(room + 8, '#');
        isofmt::Written w;
        isofmt::Result r;
        if (e.shape == Shape::numeric) {
            const double v = std::strtod(row.input, nullptr);
            w = host.format_to(e, v, row.request, buffer.data(), room);
            r = host.format(e, v, row.request);
            EXPECT_THROW(host.format_to(e, v, row.request, buffer.data(), room - 1), isofmt::Error) << row.name;
            // The prepared form writes the same, and refuses the same.
            const isofmt::Host::NumericFormat prepared = host.prepare_format(e, row.request);
            EXPECT_EQ(prepared.room(), room) << row.name;
            std::string again(room + 8, '#');
            const isofmt::Written p = prepared.format_to(v, again.data(), room);
            EXPECT_EQ(again, buffer) << row.name;
            EXPECT_EQ(p.length, w.length) << row.name;
            EXPECT_EQ(p.status, w.status) << row.name;
            EXPECT_THROW(prepared.format_to(v, again.data(), room - 1), isofmt::Error) << row.name;
        } else if (row.kind == Kind::format) {
            w = host.format_packed_to(e, row.input, row.request, buffer.data(), room);
            r = host.format_packed(e, row.input, row.request);
        } else {
            w = host.informat_to(e, row.input, row.request, buffer.data(), room);
            r = host.informat(e, row.input, row.request);
        }
        EXPECT_EQ(buffer.substr(0, w.length), r.text) << row.name;
        EXPECT_EQ(w.status, r.status) << row.name;
        EXPECT_EQ(buffer.substr(room), std::string(8, '#')) << row.name;
    }
}

// A prepared numeric format checks its request once, as format_to does each
// time, and takes numeric formats only.
TEST_F(LoadedHost, PreparedFormatChecksItsRequestOnce) {
    const CatalogueEntry& dt = entry(host, "E8601DT", Kind::format);
    EXPECT_THROW(host.prepare_format(dt, sized(0)), isofmt::Error);
    Request bad_decimals;
    bad_decimals.decimals = -2;
    EXPECT_THROW(host.prepare_format(dt, bad_decimals), isofmt::Error);
    EXPECT_THROW(host.prepare_format(entry(host, "IS860DU", Kind::format), Request{}), isofmt::Error);
    Request validated = sized(10);
    validated.validate = true;
    isofmt::Host::NumericFormat narrow = host.prepare_format(dt, validated);
    std::string out(narrow.room(), '#');
    EXPECT_EQ(narrow.format_to(0, out.data(), out.size()).status, host.format(dt, 0, validated).status);
    const isofmt::Host::NumericFormat moved = std::move(narrow);
    EXPECT_EQ(moved.room(), 10u);
}

}  // namespace
}  // namespace e2e
