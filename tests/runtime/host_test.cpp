// The anchor a host hands over, its environments and ISO 8601 literals.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "service_host.h"

namespace {

using runtime_test::ServiceHost;

TEST(Anchor, EveryServiceInItsSlot) {
    ServiceHost h;
    const ServiceAnchor* a = h.host.anchor();
#define ISOFMT_SERVICE(name, comp, slot, ...) EXPECT_NE(a->directory[comp][slot], nullptr) << #name;
#include "abi/services.def"
#undef ISOFMT_SERVICE
    EXPECT_EQ(a->directory[0][0], nullptr);
    EXPECT_EQ(a->directory[1], nullptr);
    // A stub clears its component's byte.
    a->component_bytes[service_component::kDate] = 7;
    EXPECT_EQ(hostcall::zday(0), 1);
    EXPECT_EQ(a->component_bytes[service_component::kDate], 0);
    EXPECT_NE(a->handle, nullptr);
    EXPECT_EQ(a->default_environment, h.host.default_environment());
    EXPECT_EQ(hostcall::upcase('q'), 'Q');
    EXPECT_EQ(hostcall::upcase('{'), '{');
    EXPECT_EQ(hostcall::upcase('\xe4'), 0xe4);
    EXPECT_TRUE(hostcall::is_digit('9') && !hostcall::is_digit('a'));
}

// The string table a reader finds by walking the language list.
const LanguageObject* first_table(const Environment* e) {
    for (const LanguageObject* l = e->languages; l; l = l->next) {
        if (l->strings) return l;
    }
    return nullptr;
}

TEST(Environments, MonthAbbreviationsAfterAnObjectWithoutTable) {
    ServiceHost h;
    const Environment* e = h.host.default_environment();
    ASSERT_NE(e->languages, nullptr);
    EXPECT_EQ(e->languages->strings, nullptr);
    const LanguageObject* table = first_table(e);
    ASSERT_NE(table, nullptr);
    ASSERT_GT(table->string_count, kMonthLastEntry);
    const char* months[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    for (int m = 1; m <= 12; ++m) {
        const char* entry = table->strings[kMonthFirstEntry - 1 + m];
        EXPECT_EQ(entry[0], 3);
        EXPECT_EQ(std::string(entry + 1, 3), months[m - 1]);
    }
    Environment* plain = h.host.create_environment({.month_table = false});
    EXPECT_NE(plain->languages, nullptr);
    EXPECT_EQ(first_table(plain), nullptr);
    EXPECT_NE(first_table(h.host.create_environment({})), nullptr);
}

TEST(Literals, DatesTimesAndDatetimes) {
    isofmt::Host host;
    struct Case {
        const char* text;
        double value;
    };
    const double t = 21929 * 86400.0 + 37800;  // 2020-01-15T10:30:00
    const Case cases[] = {
        {"2020-01-15", 21929},   {"1582-01-01", -138061},   {"10:30", 37800},   {"12:34:56.789", 45296.789},
        {"1959-12-31T23:59:59", -1},  {"2020-01-15T10:30:00", t},  {"2020-01-15T10:30:00Z", t},
        {"2020-01-15T10:30:00.5+05:30", t + 0.5 - 19800},  {"2020-01-15T10:30:00-0300", t + 10800},
    };
    for (const Case& c : cases) {
        auto v = host.parse_literal(c.text);
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_EQ(*v, c.value) << c.text;
    }
    for (const char* bad : {"", "2020", "2020-02-30", "2020-13-01", "20200115", "2020-01-15T", "2020-01-15T25:00",
                            "10:60", "10:30:00.", "2020-01-15T10:30:00+", "2020-01-15 x", "abc", "12.5",
                            "103000", "1030", "T", "T10", "20200115T10:30:00", "2020-01-15T103000", "2020-01-15Z",
                            "10:30Zx", "10:30+1", "10:30+24", "20200230T000000", "T10:30:60"}) {
        EXPECT_FALSE(host.parse_literal(bad).has_value()) << bad;
        EXPECT_FALSE(isofmt::read_literal(bad).has_value()) << bad;
    }
}

// The kind, the clock reading as written and the offset, in both forms.
TEST(Literals, KindsFormsAndZones) {
    using K = isofmt::Literal::Kind;
    struct Case {
        const char* text;
        K kind;
        double clock;
        bool zoned;
        int offset;
        double universal;
    };
    const double d = 21929 * 86400.0;  // 2020-01-15T00:00:00
    const Case cases[] = {
        {"2020-01-15", K::date, 21929, false, 0, 21929},
        {"20200115T103000", K::datetime, d + 37800, false, 0, d + 37800},
        {"20200115t103000,5z", K::datetime, d + 37800.5, true, 0, d + 37800.5},
        {"20200115T1030-0130", K::datetime, d + 37800, true, -5400, d + 43200},
        {"2020-01-15T10:30:00+01", K::datetime, d + 37800, true, 3600, d + 34200},
        {"T103000", K::time, 37800, false, 0, 37800},
        {"T10:30", K::time, 37800, false, 0, 37800},
        {"103000Z", K::time, 37800, true, 0, 37800},
        {"0030+01:00", K::time, 1800, true, 3600, 84600},   // wraps back over midnight
        {"23:30:00-01:00", K::time, 84600, true, -3600, 1800},
    };
    for (const Case& c : cases) {
        const std::optional<isofmt::Literal> lit = isofmt::read_literal(c.text);
        ASSERT_TRUE(lit.has_value()) << c.text;
        EXPECT_EQ(lit->kind, c.kind) << c.text;
        EXPECT_EQ(lit->clock, c.clock) << c.text;
        EXPECT_EQ(lit->zoned, c.zoned) << c.text;
        EXPECT_EQ(lit->offset, c.offset) << c.text;
        EXPECT_EQ(lit->universal(), c.universal) << c.text;
    }
}

TEST(Host, PluginDirectoryAndUnknownZone) {
    EXPECT_EQ(std::filesystem::path(isofmt::default_plugin_directory()),
              std::filesystem::canonical("/proc/self/exe").parent_path());
    EXPECT_THROW(isofmt::Host(runtime_test::with_environment({.time_zone = "Nowhere/Special"})), std::runtime_error);
}

}  // namespace
