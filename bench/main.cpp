// The benchmark binary: checks the peers' texts against isofmt's, then runs
// the benchmarks; --instructions (under callgrind) counts instead.
#include <benchmark/benchmark.h>

#include <cstring>

#include "compare.h"

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--instructions") == 0) return compare::count_instructions();
    const bool check_only = argc > 1 && std::strcmp(argv[1], "--check") == 0;
    const int mismatches = compare::check();
    if (check_only) return mismatches == 0 ? 0 : 1;
    compare::register_benchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
