// Cost per value of the classic clock formats, called through the loaded
// dtclockf plug-in as a host calls them, each beside strftime or snprintf
// producing the same layout from the same value.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <ctime>

#include "bench_support.h"

namespace {

using bench_support::call_block;
using bench_support::kUnixEpoch;

// 2024-05-21T13:05:07.25 and a few neighbours, as host datetimes.
constexpr double kDatetimes[] = {2031915907.25, 2031872400.0, 2031958799.6, -1.0};
constexpr double kTimes[] = {47107.25, 45296.789, 86399.6, 3599.96};

void routine(benchmark::State& state, const char* name, int width, int decimals, bool datetimes) {
    FormatRoutine* f = bench_support::routine_of(name);
    const double* values = datetimes ? kDatetimes : kTimes;
    char out[64];
    std::size_t i = 0;
    for (auto _ : state) {
        const double value = values[i++ & 3];
        FormatBlock b = call_block(&value, width, decimals, out);
        benchmark::DoNotOptimize(f(&b));
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations());
}

// strftime on the broken-down UTC time of a host datetime, then whatever
// the layout adds after the seconds.
template <class Tail>
void peer_strftime(benchmark::State& state, const char* layout, Tail tail) {
    char out[64];
    std::size_t i = 0;
    for (auto _ : state) {
        const double value = kDatetimes[i++ & 3];
        const double whole = std::floor(value);
        const std::time_t t = static_cast<std::time_t>(whole - kUnixEpoch);
        std::tm tm;
        gmtime_r(&t, &tm);
        const std::size_t n = std::strftime(out, sizeof out, layout, &tm);
        tail(out + n, sizeof out - n, value - whole, tm);
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations());
}

template <class Print>
void peer_snprintf(benchmark::State& state, Print print) {
    char out[64];
    std::size_t i = 0;
    for (auto _ : state) {
        const double value = kTimes[i++ & 3];
        benchmark::DoNotOptimize(print(out, sizeof out, value));
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations());
}

void no_tail(char*, std::size_t, double, const std::tm&) {}

void BM_CLKDT(benchmark::State& s) { routine(s, "CLKDT", 19, 0, true); }
void BM_CLKDT_strftime(benchmark::State& s) { peer_strftime(s, "%d%b%Y:%H:%M:%S", no_tail); }
void BM_CLKDT_decimals(benchmark::State& s) { routine(s, "CLKDT", 21, 2, true); }
void BM_CLKDTAMPM(benchmark::State& s) { routine(s, "CLKDTAMPM", 22, 2, true); }
void BM_CLKDTAMPM_strftime(benchmark::State& s) {
    peer_strftime(s, "%d%b%y:%I:%M:%S", [](char* at, std::size_t room, double fraction, const std::tm& tm) {
        std::snprintf(at, room, ".%02d %s", static_cast<int>(fraction * 100), tm.tm_hour >= 12 ? "PM" : "AM");
    });
}
void BM_CLKDYAMPM(benchmark::State& s) { routine(s, "CLKDYAMPM", 19, 0, true); }
void BM_CLKDYAMPM_strftime(benchmark::State& s) { peer_strftime(s, "%-m/%-d/%Y %l:%M %p", no_tail); }
void BM_CLKTOD(benchmark::State& s) { routine(s, "CLKTOD", 11, 2, false); }
void BM_CLKTAMPM(benchmark::State& s) { routine(s, "CLKTAMPM", 11, 0, false); }
void BM_CLKTIME(benchmark::State& s) { routine(s, "CLKTIME", 11, 2, false); }
void BM_CLKHOUR(benchmark::State& s) { routine(s, "CLKHOUR", 6, 2, false); }
void BM_CLKMMSS(benchmark::State& s) { routine(s, "CLKMMSS", 9, 2, false); }
void BM_CLKHHMM(benchmark::State& s) { routine(s, "CLKHHMM", 8, 2, false); }

// hh:mm:ss.ff and its 12-hour form from seconds, and the elapsed layouts.
void BM_CLKTOD_snprintf(benchmark::State& s) {
    peer_snprintf(s, [](char* out, std::size_t n, double v) {
        const int whole = static_cast<int>(v);
        return std::snprintf(out, n, "%02d:%02d:%05.2f", whole / 3600 % 24, whole / 60 % 60, std::fmod(v, 60));
    });
}
void BM_CLKTAMPM_snprintf(benchmark::State& s) {
    peer_snprintf(s, [](char* out, std::size_t n, double v) {
        const int whole = static_cast<int>(v + 0.5);
        const int h = whole / 3600 % 24;
        return std::snprintf(out, n, "%2d:%02d:%02d %s", h % 12 == 0 ? 12 : h % 12, whole / 60 % 60, whole % 60,
                             h >= 12 ? "PM" : "AM");
    });
}
void BM_CLKHOUR_snprintf(benchmark::State& s) {
    peer_snprintf(s, [](char* out, std::size_t n, double v) { return std::snprintf(out, n, "%6.2f", v / 3600); });
}
void BM_CLKMMSS_snprintf(benchmark::State& s) {
    peer_snprintf(s, [](char* out, std::size_t n, double v) {
        return std::snprintf(out, n, "%d:%05.2f", static_cast<int>(v / 60), std::fmod(v, 60));
    });
}

}  // namespace

BENCHMARK(BM_CLKDT);
BENCHMARK(BM_CLKDT_strftime);
BENCHMARK(BM_CLKDT_decimals);
BENCHMARK(BM_CLKDTAMPM);
BENCHMARK(BM_CLKDTAMPM_strftime);
BENCHMARK(BM_CLKDYAMPM);
BENCHMARK(BM_CLKDYAMPM_strftime);
BENCHMARK(BM_CLKTOD);
BENCHMARK(BM_CLKTOD_snprintf);
BENCHMARK(BM_CLKTAMPM);
BENCHMARK(BM_CLKTAMPM_snprintf);
BENCHMARK(BM_CLKTIME);
BENCHMARK(BM_CLKHOUR);
BENCHMARK(BM_CLKHOUR_snprintf);
BENCHMARK(BM_CLKMMSS);
BENCHMARK(BM_CLKMMSS_snprintf);
BENCHMARK(BM_CLKHHMM);
