// isofmt beside its peers, family by family on the same inputs: first a
// check that every peer's text is isofmt's text (without the blanks that
// align it in its field), then one benchmark per family and routine
// ("compare/FAMILY/ROUTINE"), and under callgrind the instructions per
// value of isofmt and of the floor.
#include "compare.h"

#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

#include "bench_support.h"

namespace compare {
namespace {

using peers::Family;
using peers::Input;

// isofmt's routine for a family, called through the address the loaded
// plug-in registered, as a host calls it.
class Ours {
public:
    explicit Ours(const Family& f) : family_(f) {
        const isofmt::CatalogueEntry* e =
            bench_support::loaded_host().find(f.name, f.informat ? isofmt::Kind::informat : isofmt::Kind::format);
        if (e == nullptr) throw std::runtime_error(std::string("no routine ") + f.name);
        shape_ = e->shape;
        routine_ = e->routine;
        block_.width = f.width;
        block_.decimals = f.decimals;
        block_.capacity = f.informat ? (shape_ == isofmt::Shape::informat && std::strcmp(f.name, "IS860VL") == 0 ? 32 : 16)
                                     : f.width;
        block_.environment = f.new_york ? bench_support::new_york() : nullptr;
    }

    // The routine's text of one input in out; returns its output length.
    int operator()(const Input& in, char* out) {
        block_.output = out;
        switch (shape_) {
        case isofmt::Shape::numeric:
            block_.value = &in.value;
            status_ = reinterpret_cast<FormatRoutine*>(routine_)(&block_);
            break;
        case isofmt::Shape::duration_format:
            block_.value = in.text.data();
            block_.input_length = static_cast<std::int32_t>(in.text.size());
            status_ = reinterpret_cast<DurationFormatRoutine*>(routine_)(&block_, family_.options);
            break;
        case isofmt::Shape::interval_format:
            block_.value = in.text.data();
            block_.input_length = static_cast<std::int32_t>(in.text.size());
            status_ = reinterpret_cast<IntervalFormatRoutine*>(routine_)(&block_, family_.options, family_.dt_options);
            break;
        case isofmt::Shape::informat:
            block_.value = in.text.data();
            block_.input_length = static_cast<std::int32_t>(in.text.size());
            status_ = reinterpret_cast<InformatRoutine*>(routine_)(&block_, 0);
            return block_.capacity;
        }
        return block_.output_length;
    }

    std::int32_t status() const { return status_; }

private:
    const Family& family_;
    isofmt::Shape shape_;
    void* routine_;
    FormatBlock block_{};
    std::int32_t status_ = 0;
};

std::string_view trimmed(std::string_view t) {
    while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
    return t;
}

std::string bench_name(const Family& f, const char* routine) {
    std::string name = "compare/" + f.label + "/" + routine;
    for (char& c : name)
        if (c == ' ') c = '_';
    return name;
}

template <class Routine>
void run(benchmark::State& state, const Family& f, Routine routine) {
    const std::vector<Input>& inputs = *f.inputs;
    char out[128];
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(routine(inputs[i++ & (inputs.size() - 1)], out));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}

// The values of one pass, counted under callgrind between a zero and a dump
// named "ROUTINE|FAMILY".
template <class Routine>
void count(const Family& f, const char* label, Routine routine) {
    const std::vector<Input>& inputs = *f.inputs;
    char out[128];
    for (const Input& in : inputs) benchmark::DoNotOptimize(routine(in, out));  // warm: first calls set up state
    const std::string dump = std::string(label) + "|" + f.label;
    CALLGRIND_ZERO_STATS;
    for (const Input& in : inputs) {
        benchmark::DoNotOptimize(routine(in, out));
        benchmark::ClobberMemory();
    }
    CALLGRIND_DUMP_STATS_AT(dump.c_str());
}

}  // namespace

int check() {
    int failures = 0;
    for (const Family& f : peers::families()) {
        Ours ours(f);
        for (const peers::Peer& p : f.peers) {
            int mismatches = 0;
            std::string first;
            for (const Input& in : *f.inputs) {
                char a[128], b[128];
                const int n = ours(in, a);
                const std::string_view mine = trimmed(std::string_view(a, static_cast<std::size_t>(n)));
                const int m = p.routine(in, b);
                const std::string_view theirs(b, static_cast<std::size_t>(m > 0 ? m : 0));
                if (ours.status() != 0 || mine != theirs) {
                    if (mismatches++ == 0)
                        first = "isofmt '" + std::string(a, static_cast<std::size_t>(n)) + "' status " +
                                std::to_string(ours.status()) + ", " + p.name + " '" + std::string(theirs) + "'";
                }
            }
            if (mismatches != 0) {
                std::fprintf(stderr, "check: %s: %s differs on %d of %zu inputs, first: %s\n", f.label.c_str(), p.name,
                             mismatches, f.inputs->size(), first.c_str());
                ++failures;
            }
        }
    }
    std::fprintf(stderr, "check: %s\n", failures == 0 ? "every peer writes isofmt's text" : "MISMATCHES (see above)");
    return failures;
}

void register_benchmarks() {
    for (const Family& f : peers::families()) {
        benchmark::RegisterBenchmark(bench_name(f, "isofmt").c_str(), [&f](benchmark::State& s) { run(s, f, Ours(f)); });
        for (const peers::Peer& p : f.peers)
            benchmark::RegisterBenchmark(bench_name(f, p.name).c_str(),
                                         [&f, &p](benchmark::State& s) { run(s, f, p.routine); });
    }
}

int count_instructions() {
    if (!RUNNING_ON_VALGRIND) {
        std::fprintf(stderr, "--instructions: run under valgrind --tool=callgrind\n");
        return 2;
    }
    for (const Family& f : peers::families()) {
        count(f, "isofmt", Ours(f));
        const peers::Peer& last = f.peers.back();
        if (std::strcmp(last.name, "floor") == 0) count(f, "floor", last.routine);
    }
    return 0;
}

}  // namespace compare
