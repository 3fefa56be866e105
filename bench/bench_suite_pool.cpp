// Whole runs of a suite on the local pool with the real solver (VANDRA_OPENSEES, else OpenSees on
// the PATH): 8 runs of an oscillator of one degree of freedom under a 60 s record (6,000 steps,
// about a second of solver time each), on 1 and on 2 solvers at a time. The time is wall-clock
// time of the whole suite, from the first Poll to the last; the ratio of the two is the speed-up
// of the pool (2 jobs should be at least 1.8 times faster on an idle machine of 2 cores or more).
#include "SuiteFolders.h"
#include "model/SolverLocator.h"
#include "motion/LocalPool.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

using namespace vandra;

namespace {

constexpr int kRuns = 8;
constexpr double kSeconds = 60;

void BM_LocalPoolSuite(benchmark::State& state) {
    const std::string solver = FindSolver("/nonexistent");
    if (solver.empty()) {
        state.SkipWithError("no OpenSees solver: set VANDRA_OPENSEES or put OpenSees on the PATH");
        return;
    }
    const std::filesystem::path scratch = std::filesystem::temp_directory_path() /
                                          ("vandra_bench_pool_" + std::to_string(::getpid()));
    const motion::Record record = testing::GroundMotion(1, kSeconds);
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
