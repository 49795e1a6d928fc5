// Cost per text of the duration, datetime and interval informats, called
// through the loaded plug-ins as a host calls them: each on a mix of typical
// texts, and each text on its own.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "bench_support.h"

namespace {

struct Mix {
    const char* name;
    int digits;
    std::vector<const char*> texts;
};

const std::vector<Mix>& mixes() {
    static const std::vector<Mix> m = {
        {"IS860DU", 16, {"P1Y2M10DT2H30M", "PT30M", "-P1Y2M3DT4H5M6S", "PT36.5H", "P3W", "P1M40D",
                         "P0001-02-10T02:30:00", "P1Y2M3.5D"}},
        {"IS860PD", 16, {"2020-01-15T10:30:00", "20200115T103000Z", "2020-12-31T23:59:59.999",
                         "2020-01-15T10:30:00+05:00", "2020-01-15", "--01-15"}},
        {"IS860VL", 32, {"2020-01-01T00:00:00/2020-03-12T12:00:00", "2020-01-01T00:00:00/P1D", "P1Y2M10DT2H30M",
                         "2020-01-01T00:00:00/P1M40D", "P1M40D/2020-03-12T00:00:00"}},
    };
    return m;
}

void read_texts(benchmark::State& state, const Mix& mix, std::vector<const char*> texts) {
    auto* routine = bench_support::routine_of<InformatRoutine>(mix.name, isofmt::Kind::informat);
    std::vector<int> lengths;
    for (const char* t : texts) lengths.push_back(static_cast<int>(std::strlen(t)));
    char target[32];
    for (auto _ : state) {
        for (std::size_t i = 0; i < texts.size(); ++i) {
            FormatBlock b = bench_support::call_block(texts[i], lengths[i], 0, target);
            b.input_length = lengths[i];
            b.capacity = mix.digits;
            benchmark::DoNotOptimize(routine(&b, 0));
            benchmark::DoNotOptimize(target);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(texts.size()));
}

const bool registered = [] {
    for (const Mix& mix : mixes()) {
        benchmark::RegisterBenchmark((std::string(mix.name) + "/mix").c_str(), read_texts, mix, mix.texts);
        for (const char* t : mix.texts)
            benchmark::RegisterBenchmark((std::string(mix.name) + "/" + t).c_str(), read_texts, mix,
                                         std::vector<const char*>{t});
    }
    return true;
}();

}  // namespace
