// Whole runs of a suite on the local pool with the real solver (VANDRA_OPENSEES, else OpenSees on
// the PATH): 8 runs of an oscillator of one degree of freedom under a 1,000 s sine record (100,000
// steps, about half a second of solver time each), on 1 and on 2 solvers at a time. The time is
// wall-clock time of the whole suite, from the first Poll to the last; the ratio of the two is the
// speed-up of the pool (2 jobs should be at least 1.8 times faster on an idle machine of 2 cores or
// more).
#include "SuiteFolders.h"
#include "model/SolverLocator.h"
#include "motion/LocalPool.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <string>

using namespace vandra;

namespace {

constexpr int kRuns = 8;
constexpr double kSeconds = 1000;

void BM_LocalPoolSuite(benchmark::State& state) {
    const std::string solver = FindSolver("/nonexistent");
    if (solver.empty()) {
        state.SkipWithError("no OpenSees solver: set VANDRA_OPENSEES or put OpenSees on the PATH");
        return;
    }
    const std::filesystem::path scratch = std::filesystem::temp_directory_path() /
                                          ("vandra_bench_pool_" + std::to_string(::getpid()));
    motion::Record record;
    record.dt = 0.01;
    for (int k = 0; k * record.dt <= kSeconds; ++k)
        record.accel.push_back(0.2 * std::sin(2 * std::numbers::pi * 1.1 * k * record.dt));
    std::vector<double> factors;
    for (int k = 1; k <= kRuns; ++k)
        factors.push_back(0.25 * k);
    const int jobs = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        const std::filesystem::path dir = testing::FreshSuiteFolder(scratch, "suite");
        testing::MakeSuite(dir, {record}, factors, [](const auto& run, const auto& r) {
            return testing::OscillatorScript({}, r.dt, r.Steps() - 1, run.scale);
        });
        state.ResumeTiming();
        motion::LocalPool pool(dir.string(), {solver, jobs});
        while (pool.Poll(1000)) {
        }
        if (pool.Progress().done != kRuns) state.SkipWithError("a run of the suite failed");
    }
    std::filesystem::remove_all(scratch);
}
BENCHMARK(BM_LocalPoolSuite)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(3)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
