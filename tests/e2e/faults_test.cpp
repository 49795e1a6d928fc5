// Faults of the host the plug-ins run in: allocators that refuse a request
// at any point of registration, an environment without named storage,
// without a month table, with an empty missing-value text.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <cstdint>
#include <string>
#include <vector>

#include <isofmt/host.h>

namespace e2e {
namespace {

using isofmt::CatalogueEntry;
using isofmt::Host;
using isofmt::HostConfig;
using isofmt::Kind;
using isofmt::Shape;

constexpr std::uint32_t kRegistrationFlags = 0x2006;

// The flags of every allocation request a full load makes, in order.
std::vector<std::uint32_t> load_requests() {
    std::vector<std::uint32_t> flags;
    HostConfig c;
    c.refuse_allocation = [&](std::size_t, std::uint32_t f) {
        flags.push_back(f);
        return false;
    };
    Host h(c);
    h.load_directory(ISOFMT_PLUGIN_DIR);
    return flags;
}

// A config whose allocators refuse the n-th request (from 0). The log goes
// to standard error, where a death test sees it.
HostConfig refusing(std::size_t n) {
    HostConfig c;
    c.refuse_allocation = [n, seen = std::size_t{0}](std::size_t, std::uint32_t) mutable { return seen++ == n; };
    return c;
}

// Every format and informat of a host, on ordinary inputs.
std::string every_result(const Host& h) {
    std::string all;
    auto add = [&](const CatalogueEntry& e, const isofmt::Result& r) {
        all += e.name + "|" + r.text + "|" + std::to_string(r.status) + "\n";
    };
    for (const CatalogueEntry& e : h.catalogue()) {
        if (e.kind == Kind::informat) {
            add(e, h.informat(e, "2020-01-01T10:00:00/P1M", {}));
        } else if (e.shape == Shape::numeric) {
            for (double v : {32700.0, 21929.0, 1.9e9 + 0.5}) add(e, h.format(e, v, {}));
        } else {
            add(e, h.format_packed(
                       e, e.shape == Shape::interval_format ? "2020115103000FFD000000000000000G" : "0001203040506FFC", {}));
        }
    }
    return all;
}

// The end of a refused registration: the run ended with 1016 by the module,
// or (the classic module, which gives no table) a clean load error.
bool ended_with_1016_or_cleanly(int status) {
    return WIFEXITED(status) && (WEXITSTATUS(status) == (1016 & 0xff) || WEXITSTATUS(status) == 0);
}

// A registration result the host cannot give ends the run with 1016 or
// fails the load; a module state record it cannot give leaves the module
// without one: every routine still works, the local-offset formats show no
// offset. Run under ASan, nothing leaks.
TEST(Faults, AllocationRefusedAtEveryRequestOfRegistration) {
    const std::vector<std::uint32_t> requests = load_requests();
    ASSERT_GE(requests.size(), 7u);  // item and routine results of the modules, their state records
    Host plain;
    plain.load_directory(ISOFMT_PLUGIN_DIR);
    const std::string expected = every_result(plain);
    int states = 0, registrations = 0;
    for (std::size_t n = 0; n <= requests.size(); ++n) {
        SCOPED_TRACE("refusing request " + std::to_string(n));
        if (n < requests.size() && requests[n] == kRegistrationFlags) {
            ++registrations;
            EXPECT_EXIT(
                {
                    try {
                        Host h(refusing(n));
                        h.load_directory(ISOFMT_PLUGIN_DIR);
                    } catch (const std::runtime_error& e) {
                        std::fprintf(stderr, "load failed: %s\n", e.what());
                        std::fflush(stderr);
                        std::_Exit(0);
                    }
                    std::_Exit(3);  // loaded without the result it was refused
                },
                ended_with_1016_or_cleanly, "exit with code 1016|load failed: .*gave no routine table");
            continue;
        }
        Host h(refusing(n));
        h.load_directory(ISOFMT_PLUGIN_DIR);
        EXPECT_EQ(h.catalogue().size(), plain.catalogue().size());
        const std::string got = every_result(h);
        if (n == requests.size()) {
            EXPECT_EQ(got, expected);
            continue;
        }
        ++states;
        EXPECT_NE(got, expected);  // a module lost its offset text
        EXPECT_EQ(h.format(*h.find("E8601DA", Kind::format), 21929, {}).text, "2020-01-15");
    }
    EXPECT_GE(states, 2);
    EXPECT_GE(registrations, 5);
}

// Without named storage no module keeps a state: the same results as a host
// that refused every state record, and no diagnostics whatever DEBUG says.
TEST(Faults, EnvironmentWithoutNamedStorage) {
    int lines = 0;
    HostConfig c;
    c.environment.named_storage = false;
    c.debug = "N8601DIAG";
    c.log = [&](std::string_view) { ++lines; };
    Host h(c);
    h.load_directory(ISOFMT_PLUGIN_DIR);
    HostConfig refuse_states;
    refuse_states.refuse_allocation = [](std::size_t, std::uint32_t f) { return f != kRegistrationFlags; };
    Host stateless(refuse_states);
    stateless.load_directory(ISOFMT_PLUGIN_DIR);
    EXPECT_EQ(every_result(h), every_result(stateless));
    EXPECT_EQ(h.format(*h.find("E8601LZ", Kind::format), 32700, {}).text, "09:05:00      ");
    const auto narrow = h.format_packed(*h.find("IS860VL", Kind::format), "2020115103000FFD000000000000000G", {.width = 5});
    EXPECT_EQ(narrow.text, "*****");
    EXPECT_EQ(lines, 0);
    // A request environment without named storage, on a host that has it.
    Host with;
    with.load_directory(ISOFMT_PLUGIN_DIR);
    Environment* bare = with.create_environment({.named_storage = false});
    EXPECT_EQ(with.format(*with.find("E8601LZ", Kind::format), 32700, {.environment = bare}).text, "09:05:00      ");
}

// Without a month table the classic formats that name a month still write
// their whole field, and the ISO formats are unchanged.
TEST(Faults, EnvironmentWithoutMonthTable) {
    Host h;
    h.load_directory(ISOFMT_PLUGIN_DIR);
    Environment* bare = h.create_environment({.month_table = false});
    for (const CatalogueEntry& e : h.catalogue()) {
        if (e.kind != Kind::format || e.shape != Shape::numeric) continue;
        for (double v : {0.0, 1.9e9, 21929.0, std::nan("")}) {
            const auto with = h.format(e, v, {});
            const auto without = h.format(e, v, {.environment = bare});
            EXPECT_EQ(without.text.size(), with.text.size()) << e.name << " " << v;
            if (e.module != "dtclockf") {
                EXPECT_EQ(without.text, with.text) << e.name << " " << v;
            }
        }
    }
}

// An empty missing-value text: every format shows a missing value as blanks
// where "." stands otherwise.
TEST(Faults, EmptyMissingText) {
    HostConfig c;
    c.environment.missing_text = "";
    Host empty(c);
    empty.load_directory(ISOFMT_PLUGIN_DIR);
    Host dot;
    dot.load_directory(ISOFMT_PLUGIN_DIR);
    for (const CatalogueEntry& e : dot.catalogue()) {
        if (e.kind != Kind::format || e.shape != Shape::numeric) continue;
        for (int width : {e.min_width, e.default_width, e.max_width}) {
            std::string expected = dot.format(e, std::nan(""), {.width = width}).text;
            for (char& ch : expected)
                if (ch == '.') ch = ' ';
            EXPECT_EQ(empty.format(*empty.find(e.name, Kind::format), std::nan(""), {.width = width}).text, expected)
                << e.name << width;
        }
    }
}

}  // namespace
}  // namespace e2e
