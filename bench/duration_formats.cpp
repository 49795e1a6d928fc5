// Cost per value of the duration and interval formats, called through the
// loaded plug-ins as a host calls them, on a mix of typical packed values.
#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "bench_support.h"

namespace {

using bench_support::call_block;
using bench_support::routine_of;

struct Sample {
    const char* label;
    const char* value;
    std::int32_t options;
};

// Packed durations: datetimes, digit-form and single-unit durations, missing.
constexpr std::array kDurations = {
    Sample{"datetime/delimited", "2020C31235959F9D", 0x0004},
    Sample{"datetime/basic", "2020115103000FFD", 0},
    Sample{"duration/designators", "0001203040506FFC", 0x0001},
    Sample{"duration/negative", "FEFFFFFFF30FFFFC", 0x0001},
    Sample{"duration/single-unit", "00000000008E9492", 0x0001},
    Sample{"missing", "FFFFFFFFFFFFFFFF", 0x0001},
};

// Packed intervals: start and end, start and duration, lone duration.
constexpr std::array kIntervals = {
    Sample{"datetime/datetime", "20201010000003E920201020000001F5", 0x0001},
    Sample{"datetime/duration", "2020115103000FFD0001203040506FFC", 0x0001},
    Sample{"lone-duration", "19601010000000030001203040506FFC", 0x0001},
};

void duration_format(benchmark::State& state, const char* name, int width, const Sample& s) {
    auto* routine = routine_of<DurationFormatRoutine>(name);
    char out[64];
    for (auto _ : state) {
        FormatBlock b = call_block(s.value, width, 0, out);
        benchmark::DoNotOptimize(routine(&b, s.options));
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations());
}

void interval_format(benchmark::State& state, int width, const Sample& s) {
    auto* routine = routine_of<IntervalFormatRoutine>("IS860VL");
    char out[64];
    for (auto _ : state) {
        FormatBlock b = call_block(s.value, width, 0, out);
        benchmark::DoNotOptimize(routine(&b, s.options, 0x0004));
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations());
}

// A field narrower than the text: the fraction is shortened to fit.
void interval_fitted(benchmark::State& state) {
    interval_format(state, 42, kIntervals[0]);
}

const bool registered = [] {
    for (const Sample& s : kDurations) {
        benchmark::RegisterBenchmark((std::string("format/IS860DU/") + s.label).c_str(), duration_format, "IS860DU", 30, s);
        benchmark::RegisterBenchmark((std::string("format/IS860PD/") + s.label).c_str(), duration_format, "IS860PD", 30, s);
    }
    for (const Sample& s : kIntervals)
        benchmark::RegisterBenchmark((std::string("format/IS860VL/") + s.label).c_str(), interval_format, 60, s);
    benchmark::RegisterBenchmark("format/IS860VL/fitted", interval_fitted);
    return true;
}();

}  // namespace
