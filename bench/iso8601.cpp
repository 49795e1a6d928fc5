// Cost per value of the ISO 8601 datetime formats, each called directly
// through the routine address the loaded plug-in registered, beside a peer
// that writes the same layout with the C library or the date/tz library.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include <date/tz.h>

#include "bench_support.h"

namespace {

using bench_support::kUnixEpoch;

// Datetimes spread over 1900 to 2100 with millisecond fractions; a power of
// two of them so that the index wraps with a mask.
const std::vector<double>& datetimes() {
    static const std::vector<double> values = [] {
        std::vector<double> v(1024);
        std::uint64_t state = 0x9E3779B97F4A7C15ull;
        for (double& x : v) {
            state = state * 6364136223846793005ull + 1442695040888963407ull;
            const double span = 200.0 * 365.2425 * 86400;
            x = -60.0 * 365.2425 * 86400 + static_cast<double>(state >> 11) / 9007199254740992.0 * span;
            x = std::floor(x * 1000) / 1000;
        }
        return v;
    }();
    return values;
}

void format_routine(benchmark::State& state, const char* name, int width, int decimals, bool zoned) {
    FormatRoutine* routine = bench_support::routine_of(name);
    char out[64];
    FormatBlock block = bench_support::call_block(nullptr, width, decimals, out);
    block.environment = zoned ? bench_support::new_york() : nullptr;
    const std::vector<double>& values = datetimes();
    std::size_t i = 0;
    for (auto _ : state) {
        block.value = &values[i++ & (values.size() - 1)];
        benchmark::DoNotOptimize(routine(&block));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

// The peer: gmtime_r and strftime for the calendar part, snprintf for the
// fraction and the fixed +00:00, right-aligned in the width.
void peer_strftime(benchmark::State& state, int width, int decimals, bool universal_suffix) {
    const std::vector<double>& values = datetimes();
    char out[64], text[64];
    std::size_t i = 0;
    for (auto _ : state) {
        const double x = values[i++ & (values.size() - 1)] - kUnixEpoch;  // Unix time
        const double whole = std::floor(x);
        const std::time_t t = static_cast<std::time_t>(whole);
        std::tm tm;
        gmtime_r(&t, &tm);
        int n = static_cast<int>(std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &tm));
        if (decimals > 0)
            n += std::snprintf(text + n, sizeof text - n, ".%0*d", decimals,
                               static_cast<int>((x - whole) * std::pow(10, decimals) + 0.5));
        if (universal_suffix) n += std::snprintf(text + n, sizeof text - n, "+00:00");
        std::snprintf(out, sizeof out, "%*.*s", width, n, text);
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

// The peer of the zone format: the date/tz library's zoned time and format.
void peer_zoned(benchmark::State& state) {
    const date::time_zone* zone = date::locate_zone("America/New_York");
    const std::vector<double>& values = datetimes();
    std::size_t i = 0;
    for (auto _ : state) {
        const double x = values[i++ & (values.size() - 1)] - kUnixEpoch;  // Unix time
        const date::sys_time<std::chrono::milliseconds> t{
            std::chrono::milliseconds(static_cast<std::int64_t>(std::llround(x * 1000)))};
        std::string text = date::format("%FT%T%Ez", date::make_zoned(zone, t));
        benchmark::DoNotOptimize(text);
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK_CAPTURE(format_routine, E8601DT19, "E8601DT", 19, 0, false);
BENCHMARK_CAPTURE(format_routine, E8601DT23_3, "E8601DT", 23, 3, false);
BENCHMARK_CAPTURE(peer_strftime, E8601DT23_3_strftime, 23, 3, false);
BENCHMARK_CAPTURE(format_routine, E8601DZ26, "E8601DZ", 26, 0, false);
BENCHMARK_CAPTURE(format_routine, E8601DZ29_3, "E8601DZ", 29, 3, false);
BENCHMARK_CAPTURE(peer_strftime, E8601DZ29_3_strftime, 29, 3, true);
BENCHMARK_CAPTURE(format_routine, B8601DZ26, "B8601DZ", 26, 0, false);
BENCHMARK_CAPTURE(format_routine, B8601DZ26_3, "B8601DZ", 26, 3, false);
BENCHMARK_CAPTURE(format_routine, E8601DX29_3, "E8601DX", 29, 3, true);
BENCHMARK(peer_zoned)->Name("peer_zoned/E8601DX29_3_date_tz");

}  // namespace
