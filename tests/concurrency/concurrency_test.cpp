// Eight threads render and read every family through one host at once, with
// diagnostics on (so that problems are logged from many threads at once),
// while registration refreshes the shared module state; every result must
// equal the one a single thread gets. Run under ThreadSanitizer by the test script.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "abi/image.h"
#include "isofmt/host.h"

namespace {

struct Call {
    const char* name;
    isofmt::Kind kind;
    std::variant<double, const char*> input;
    int width;
    int decimals;
    int capacity = -1;
};

const Call kCalls[] = {
    {"E8601DZ", isofmt::Kind::format, 1.5e9 + 0.25, 26, 3},
    {"E8601LZ", isofmt::Kind::format, 32700.0, 14, 0},
    {"IS8601LZ", isofmt::Kind::format, 32700.0, 14, 0},
    {"B8601LZ", isofmt::Kind::format, 32700.0, 14, 0},
    {"E8601DX", isofmt::Kind::format, 1.9e9, 26, 0},
    {"E8601LX", isofmt::Kind::format, 1.9e9, 26, 0},
    {"E8601TX", isofmt::Kind::format, 3600.0, 14, 0},
    {"B8601DX", isofmt::Kind::format, 0.0, 20, 0},
    {"E8601DT", isofmt::Kind::format, -1.0, 26, 6},
    {"CLKDT", isofmt::Kind::format, 47107.25, 21, 2},
    {"CLKDTAMPM", isofmt::Kind::format, 47107.25, 22, 0},
    {"CLKTAMPM", isofmt::Kind::format, 45296.789, 11, 0},
    {"IS860VL", isofmt::Kind::format, "2020115103000FFD000000000000000G", 40, 0},
    {"IS860DU", isofmt::Kind::format, "0001203040506FFC", 24, 0},
    {"IS860VL", isofmt::Kind::informat, "2020-01-01T00:00:00/P1M40D", 80, 0},
    {"IS860VL", isofmt::Kind::informat, "P1Y2", 80, 0},
    {"IS860DU", isofmt::Kind::informat, "P1Y2M3DT4H5M6S", 80, 0, 10},
};

isofmt::Result run(const isofmt::Host& host, const isofmt::CatalogueEntry& e, const Call& c) {
    isofmt::Request r;
    r.width = c.width;
    r.decimals = c.decimals;
    r.capacity = c.capacity;
    if (c.kind == isofmt::Kind::informat) return host.informat(e, std::get<const char*>(c.input), r);
    if (e.shape == isofmt::Shape::numeric) return host.format(e, std::get<double>(c.input), r);
    return host.format_packed(e, std::get<const char*>(c.input), r);
}

TEST(Concurrency, ThreadsRenderAndReadThroughOneHost) {
    std::mutex log_mutex;
    std::size_t log_lines = 0;
    isofmt::HostConfig config;
    config.debug = "N8601DIAG";
    config.environment.time_zone = "America/New_York";
    config.log = [&](std::string_view) {
        std::lock_guard lock(log_mutex);
        ++log_lines;
    };
    isofmt::Host host(config);
    host.load_directory(ISOFMT_PLUGIN_DIR);

    struct Prepared {
        const isofmt::CatalogueEntry* entry;
        const Call* call;
        isofmt::Result expected;
    };
    std::vector<Prepared> prepared;
    for (const auto& c : kCalls)
        if (const auto* e = host.find(c.name, c.kind)) prepared.push_back({e, &c, run(host, *e, c)});
    ASSERT_GE(prepared.size(), 8u);
    // Every family: each entry of the catalogue on a value it renders, one
    // out of range and one with a problem to log.
    std::vector<Call> every;
    for (const auto& e : host.catalogue()) {
        const bool packed = e.kind == isofmt::Kind::format && e.shape != isofmt::Shape::numeric;
        const bool interval = e.shape == isofmt::Shape::interval_format;
        if (e.kind == isofmt::Kind::informat) {
            every.push_back({e.name.c_str(), e.kind, "2020-01-01T10:00:00/P1M2DT3H", -1, -1});
            every.push_back({e.name.c_str(), e.kind, "P1Y2", -1, -1});
        } else if (packed) {
            every.push_back({e.name.c_str(), e.kind, interval ? "2020115103000FFD000000000000000G" : "0001203040506FFC", -1, -1});
            every.push_back({e.name.c_str(), e.kind, interval ? "2020115103000FFD000000000000000G" : "0001203040506FFC", 5, 0});
        } else {
            every.push_back({e.name.c_str(), e.kind, 1.9e9 + 0.125, -1, e.max_decimals});
            every.push_back({e.name.c_str(), e.kind, 32700.5, -1, -1});
            every.push_back({e.name.c_str(), e.kind, 1e300, -1, -1});
        }
    }
    for (const auto& c : every) prepared.push_back({host.find(c.name, c.kind), &c, run(host, *host.find(c.name, c.kind), c)});
    ASSERT_GT(log_lines, 0u);

    // Refreshing the shared module state while the formats read it.
    void* module = dlopen((std::string(ISOFMT_PLUGIN_DIR) + "/dtaltfm1.so").c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(module, nullptr);
    auto* routine = reinterpret_cast<ModuleRoutine*>(dlsym(module, "dtaltfm1"));
    ASSERT_NE(routine, nullptr);

    std::atomic<int> mismatches{0};
    std::atomic<bool> stop{false};
    std::thread registrar([&] {
        while (!stop.load()) {
            routine(2);
            std::this_thread::yield();
        }
    });
    std::vector<std::thread> workers;
    for (int t = 0; t < 8; ++t)
        workers.emplace_back([&, t] {
            for (int i = 0; i < 150; ++i)
                for (std::size_t k = 0; k < prepared.size(); ++k) {
                    const auto& p = prepared[(k + t) % prepared.size()];
                    const auto got = run(host, *p.entry, *p.call);
                    if (got.text != p.expected.text || got.status != p.expected.status) ++mismatches;
                }
        });
    for (auto& w : workers) w.join();
    stop = true;
    registrar.join();
    dlclose(module);
    EXPECT_EQ(mismatches.load(), 0);
}

// One prepared format shared by threads that render batches of lines at
// once (one call scope a batch), on two hosts with different zones: every
// batch equals what one thread gets.
TEST(Concurrency, ThreadsShareAPreparedFormatsLines) {
    std::vector<std::unique_ptr<isofmt::Host>> hosts;
    for (const char* zone : {"America/New_York", "Australia/Lord_Howe"}) {
        isofmt::HostConfig config;
        config.environment.time_zone = zone;
        hosts.push_back(std::make_unique<isofmt::Host>(config));
        hosts.back()->load_directory(ISOFMT_PLUGIN_DIR);
    }
    std::vector<double> values;
    for (int i = 0; i < 64; ++i) values.push_back(-2e9 + i * 7.3e7 + i * 0.125);
    struct Shared {
        isofmt::Host::NumericFormat format;
        std::string expected;
    };
    std::vector<Shared> shared;
    for (const auto& host : hosts)
        for (const char* name : {"E8601DX", "E8601LX", "E8601DT"}) {
            isofmt::Request r;
            r.width = 29;
            r.decimals = 3;
            Shared s{host->prepare_format(host->entry(name, isofmt::Kind::format), r), {}};
            s.expected.resize(values.size() * (s.format.room() + 1));
            s.expected.resize(s.format.format_lines(values.data(), values.size(), s.expected.data(), s.expected.size()));
            shared.push_back(std::move(s));
        }
    ASSERT_NE(shared[0].expected, shared[3].expected);  // the zones differ
    std::atomic<int> mismatches{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < 6; ++t)
        workers.emplace_back([&, t] {
            std::string out;
            for (int i = 0; i < 200; ++i) {
                const Shared& s = shared[(i + t) % shared.size()];
                out.resize(values.size() * (s.format.room() + 1));
                out.resize(s.format.format_lines(values.data(), values.size(), out.data(), out.size()));
                if (out != s.expected) ++mismatches;
            }
        });
    for (auto& w : workers) w.join();
    EXPECT_EQ(mismatches.load(), 0);
}

}  // namespace
