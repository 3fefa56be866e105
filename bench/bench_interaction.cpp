// The interaction diagram of the fiber sections the frame section dialog shows: a reinforced
// concrete column of 20 by 20 cells and 16 bars (Concrete02, Steel02), and a steel pipe of 72
// fibers (Steel02), each in both bending directions with the default sampling.
#include "sections/Interaction.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

namespace {

using namespace vandra;

// Materials 1 and 2: the concrete and the steel of the defaults for N and mm.
TModel TwoMaterials() {
    TModel m;
    m.Mats = {TMAT{},
              TMAT{.Name = "CONC",
                   .MatType = kMatConcrete02,
                   .E = 25000,
                   .fpc = -30,
                   .epsc0 = -0.002,
                   .fpcu = -6,
                   .epsU = -0.006,
                   .lambda = 0.1,
                   .ft = 3,
                   .Ets = 1500},
              TMAT{.Name = "STEEL",
                   .MatType = kMatSteel02,
                   .E = 200000,
                   .Fy = 400,
                   .E0 = 200000,
                   .b = 0.01,
                   .R0 = 18,
                   .cR1 = 0.925,
                   .cR2 = 0.15}};
    m.MatCount = 2;
    return m;
}

std::vector<TFIBER> Column() {
    std::vector<TFIBER> fibers;
    for (int j = 0; j < 20; ++j)
        for (int i = 0; i < 20; ++i)
            fibers.push_back({-190.0 + 20 * i, -190.0 + 20 * j, 400, 1});
    for (int k = 0; k < 5; ++k) {
        const double t = -150.0 + 75 * k;
        fibers.push_back({t, -150, 314, 2});
        fibers.push_back({t, 150, 314, 2});
        if (k > 0 && k < 4) {
            fibers.push_back({-150, t, 314, 2});
            fibers.push_back({150, t, 314, 2});
        }
    }
    return fibers;
}

std::vector<TFIBER> Pipe() {
    std::vector<TFIBER> fibers;
    for (int i = 0; i < 72; ++i) {
        const double angle = 2 * std::numbers::pi * i / 72;
        fibers.push_back({80 * std::cos(angle), 80 * std::sin(angle), 60, 2});
    }
    return fibers;
}

void Diagrams(benchmark::State& state, const std::vector<TFIBER>& fibers) {
    const TModel model = TwoMaterials();
    const AnalysisSection section = PrepareAnalysisSection("S", fibers, model);
    size_t points = 0;
    for (auto _ : state) {
        for (BendingAxis axis : {BendingAxis::Y, BendingAxis::Z}) {
            const InteractionDiagram d = ComputeInteraction(section, axis);
            points += d.points.size();
            benchmark::DoNotOptimize(d.points.data());
        }
    }
    state.counters["points"] =
        benchmark::Counter(static_cast<double>(points), benchmark::Counter::kAvgIterations);
}

void BM_ColumnDiagrams(benchmark::State& state) {
    Diagrams(state, Column());
}
void BM_PipeDiagrams(benchmark::State& state) {
    Diagrams(state, Pipe());
}

} // namespace

BENCHMARK(BM_ColumnDiagrams)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PipeDiagrams)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
