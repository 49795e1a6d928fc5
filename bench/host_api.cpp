// Cost per value of the C++ API on E8601DT19: Host::format (a new string
// per value) beside Host::format_to (the caller's buffer), over the same
// 1024 datetimes as the comparison; the routine alone is
// compare/E8601DT19/isofmt.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "peers.h"

namespace {

const peers::Family& e8601dt19() {
    for (const peers::Family& f : peers::families())
        if (f.label == "E8601DT19") return f;
    throw std::runtime_error("no E8601DT19 family");
}

isofmt::Request request() {
    isofmt::Request r;
    r.width = 19;
    r.decimals = 0;
    return r;
}

void BM_host_format(benchmark::State& state) {
    const isofmt::Host& host = bench_support::loaded_host();
    const isofmt::CatalogueEntry& entry = *host.find("E8601DT", isofmt::Kind::format);
    const std::vector<peers::Input>& inputs = *e8601dt19().inputs;
    const isofmt::Request r = request();
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(host.format(entry, inputs[i++ & 1023].value, r));
    state.SetItemsProcessed(state.iterations());
}

void BM_host_format_to(benchmark::State& state) {
    const isofmt::Host& host = bench_support::loaded_host();
    const isofmt::CatalogueEntry& entry = *host.find("E8601DT", isofmt::Kind::format);
    const std::vector<peers::Input>& inputs = *e8601dt19().inputs;
    const isofmt::Request r = request();
    char out[32];
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(host.format_to(entry, inputs[i++ & 1023].value, r, out, sizeof out));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(BM_host_format);
BENCHMARK(BM_host_format_to);
