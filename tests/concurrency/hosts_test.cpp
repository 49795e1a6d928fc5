// Several hosts in one process: each renders and reads with its own zone,
// missing text and DEBUG option, logs to its own sink, and stays sound when
// the others are destroyed, in whatever order they come and go, on one
// thread or many.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "isofmt/host.h"

namespace {

using isofmt::Kind;

struct Settings {
    const char* zone;
    const char* missing;
    const char* debug;
};

// Settings that give every call below a different text or log.
constexpr Settings kSettings[] = {
    {"UTC", ".", ""},
    {"+05:30", "NA", "N8601DIAG"},
    {"America/New_York", "", "N8601DIAG"},
};

// One host with the plug-ins loaded, counting the lines it logs.
class Probe {
public:
    explicit Probe(const Settings& s) : host_(config(s)) { host_.load_directory(ISOFMT_PLUGIN_DIR); }

    // Every call's text and status, one string; the log lines they gave.
    std::string texts() const {
        std::string all;
        auto add = [&](const isofmt::Result& r) { all += r.text + "|" + std::to_string(r.status) + "\n"; };
        auto format = [&](const char* name) -> const isofmt::CatalogueEntry& { return *host_.find(name, Kind::format); };
        auto informat = [&](const char* name) -> const isofmt::CatalogueEntry& {
            return *host_.find(name, Kind::informat);
        };
        add(host_.format(format("E8601DA"), std::nan(""), {}));
        add(host_.format(format("E8601LZ"), 32700.0, {.width = 14}));
        add(host_.format(format("IS8601LZ"), 32700.0, {.width = 14}));
        add(host_.format(format("E8601DZ"), std::nan(""), {}));
        add(host_.format(format("CLKTIME"), std::nan(""), {}));
        add(host_.format(format("E8601DX"), 1.9e9, {}));
        add(host_.format_packed(format("IS860DU"), "0001203040506FFC", {}));
        add(host_.informat(informat("IS860VL"), "2020-01-01T00:00:00/P1M40D", {}));
        add(host_.informat(informat("IS860DU"), "P1Y2", {}));
        // No room: a problem, logged with N8601DIAG.
        add(host_.format_packed(format("IS860VL"), "2020115103000FFD000000000000000G", {.width = 5}));
        add(host_.informat(informat("IS860DU"), "P1Y", {.capacity = 10}));  // too short a target
        return all;
    }
    int lines() const { return lines_.load(); }

private:
    isofmt::HostConfig config(const Settings& s) {
        isofmt::HostConfig c;
        c.environment.time_zone = s.zone;
        c.environment.missing_text = s.missing;
        c.debug = s.debug;
        c.log = [this](std::string_view) { ++lines_; };
        return c;
    }

    std::atomic<int> lines_{0};
    isofmt::Host host_;
};

struct Expected {
    std::string texts;
    int lines = 0;
};

// What each setting gives with its host alone in the process.
const std::array<Expected, 3>& expected() {
    static const std::array<Expected, 3> e = [] {
        std::array<Expected, 3> out;
        for (int i = 0; i < 3; ++i) {
            Probe p(kSettings[i]);
            out[i].texts = p.texts();
            out[i].lines = p.lines();
        }
        return out;
    }();
    return e;
}

void expect_own(const Probe& p, int setting) {
    const int before = p.lines();
    EXPECT_EQ(p.texts(), expected()[setting].texts) << "setting " << setting;
    EXPECT_EQ(p.lines() - before, expected()[setting].lines) << "setting " << setting;
}

TEST(Hosts, SettingsGiveDifferentResults) {
    const auto& e = expected();
    EXPECT_NE(e[0].texts, e[1].texts);
    EXPECT_NE(e[1].texts, e[2].texts);
    EXPECT_NE(e[0].texts, e[2].texts);
    EXPECT_EQ(e[0].lines, 1);  // the too-short target is logged whatever DEBUG says
    EXPECT_GT(e[1].lines, 1);
    EXPECT_EQ(e[1].lines, e[2].lines);
}

// Three hosts created in every order and destroyed in every order; after
// each step every live host gets its own results, and a host created after
// one has gone (which may take over its image) does too.
TEST(Hosts, CreatedAndDestroyedInEveryOrder) {
    std::array<int, 3> create = {0, 1, 2};
    do {
        std::array<int, 3> destroy = {0, 1, 2};
        do {
            std::array<std::unique_ptr<Probe>, 3> probes;
            for (int i : create) {
                probes[i] = std::make_unique<Probe>(kSettings[i]);
                for (int j = 0; j < 3; ++j)
                    if (probes[j]) expect_own(*probes[j], j);
            }
            for (int step = 0; step < 3; ++step) {
                probes[destroy[step]].reset();
                for (int j = 0; j < 3; ++j)
                    if (probes[j]) expect_own(*probes[j], j);
                if (step == 0) {
                    Probe late(kSettings[destroy[0]]);
                    expect_own(late, destroy[0]);
                }
            }
            if (HasFailure()) return;
        } while (std::next_permutation(destroy.begin(), destroy.end()));
    } while (std::next_permutation(create.begin(), create.end()));
}

TEST(Hosts, TwoHostsWithTheSameSettingsAndInterleavedCalls) {
    for (int s = 0; s < 3; ++s) {
        Probe a(kSettings[s]), b(kSettings[s]), c(kSettings[(s + 1) % 3]);
        for (int round = 0; round < 3; ++round) {
            expect_own(a, s);
            expect_own(c, (s + 1) % 3);
            expect_own(b, s);
        }
    }
}

// Hosts used on threads of their own while other threads create and
// destroy hosts of every setting.
TEST(Hosts, OnThreadsWhileOthersComeAndGo) {
    const auto& e = expected();
    std::array<std::unique_ptr<Probe>, 3> probes;
    for (int i = 0; i < 3; ++i) probes[i] = std::make_unique<Probe>(kSettings[i]);
    std::atomic<int> mismatches{0};
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t)
        threads.emplace_back([&, t] {
            const Probe& p = *probes[t % 3];
            for (int round = 0; round < 40; ++round)
                if (p.texts() != e[t % 3].texts) ++mismatches;
        });
    threads.emplace_back([&] {
        for (int round = 0; !stop.load() || round < 3; ++round) {
            Probe transient(kSettings[round % 3]);
            if (transient.texts() != e[round % 3].texts) ++mismatches;
        }
    });
    for (std::size_t t = 0; t + 1 < threads.size(); ++t) threads[t].join();
    stop = true;
    threads.back().join();
    EXPECT_EQ(mismatches.load(), 0);
    for (int i = 0; i < 3; ++i) {
        const int before = probes[i]->lines();
        EXPECT_EQ(probes[i]->texts(), e[i].texts);
        EXPECT_EQ(probes[i]->lines() - before, e[i].lines);
    }
}

}  // namespace
