// Element force reading and member diagrams of the 100,000-frame grid building.
// BM_ForceEnvelope: every line of the element force files of 100,000 frames x 100 steps (about
// 1.4 GB of recorder text in 1,000 files, written to a temporary folder first) folded into the
// envelope, the diagrams of the loaded beams included; bytes_per_second is the reading speed.
// BM_ForceStep: one step (the last) of the same files; bytes_per_second counts the whole files,
// which are read to reach the line.
// BM_StoreyShears: the shear of every storey at every step (the storey shear curves), read in one
// pass over the same files; bytes_per_second as above.
// BM_Diagrams: the moment diagram of every frame at one step (build, extremes and 9 points).
#include "GridBuilding.h"
#include "model/NumberText.h"
#include "post/FrameForces.h"
#include "post/Storeys.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

using namespace vandra;

namespace {

constexpr int kSteps = 100;
constexpr double kMB = 1024.0 * 1024.0;

TModel LoadedGrid() {
    TModel m = bench::GridBuilding();
    m.LoadCaseCount = 1;
    m.LoadCaseNames = {"", "DEAD"};
    m.Loads.resize(1);
    for (int f = 1; f <= m.FrameCount; ++f) {
        if (m.Frames[static_cast<size_t>(f)].SecIdx == 1) continue; // the columns
        TLOAD l;
        l.Kind = kFrameDistributed;
        l.Target = f;
        l.CaseIdx = 1;
        l.Dir = 2;
        l.FX = -20;
        m.Loads.push_back(l);
    }
    m.LoadCount = static_cast<int>(m.Loads.size()) - 1;
    return m;
}

// ele1.out .. ele1000.out as the solver writes them: the time column, then 12 end forces of each
// of 100 elements in its shortest 6-digit number text. Returns the bytes written.
size_t WriteForceFiles(const std::filesystem::path& dir, int frames) {
    size_t bytes = 0;
    std::string line;
    for (int block = 1; block <= frames / 100; ++block) {
        std::ofstream out(dir / text::Format("ele%d.out", {block}), std::ios::binary);
        for (int k = 1; k <= kSteps; ++k) {
            line.clear();
            text::AppendGeneral(line, k * 0.01);
            for (int j = 0; j < 1200; ++j) {
                line += ' ';
                const double v = std::sin(k * 0.0123 + j * 0.37 + block) * 1.37e5 * (1 + j % 5);
                text::AppendE(line, v, 6);
            }
            line += '\n';
            out << line;
            bytes += line.size();
        }
    }
    return bytes;
}

struct Files {
    TModel model = LoadedGrid();
    TSettings settings;
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("vandra_bench_forces_" + std::to_string(getpid()));
    size_t bytes = 0;

    Files() {
        settings.AnalysisType = kSingleLoadControl;
        settings.LoadCase = 1;
        std::filesystem::create_directories(dir);
        bytes = WriteForceFiles(dir, model.FrameCount);
    }
    ~Files() { std::filesystem::remove_all(dir); }
};

Files& Shared() {
    static Files files;
    return files;
}

void BM_ForceEnvelope(benchmark::State& state) {
    Files& f = Shared();
    for (auto _ : state) {
        TFrameForceEnvelope envelope = ReadFrameForceEnvelope(f.model, f.settings, f.dir.string());
        benchmark::DoNotOptimize(envelope.Frames.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.bytes));
    state.counters["text_MB"] = static_cast<double>(f.bytes) / kMB;
}

void BM_ForceStep(benchmark::State& state) {
    Files& f = Shared();
    for (auto _ : state) {
        TFrameForces forces = ReadFrameForces(f.model, f.settings, f.dir.string(), kSteps);
        benchmark::DoNotOptimize(forces.Ends.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.bytes));
}

void BM_StoreyShears(benchmark::State& state) {
    Files& f = Shared();
    const TLevels levels = FindLevels(f.model);
    for (auto _ : state) {
        TStoreyShearHistory shears = ReadStoreyShearHistory(f.model, f.settings, levels,
                                                            f.dir.string());
        benchmark::DoNotOptimize(shears.Values.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * f.bytes));
    state.counters["storeys"] = levels.StoreyCount();
}

void BM_Diagrams(benchmark::State& state) {
    Files& f = Shared();
    const TFrameForces forces = ReadFrameForces(f.model, f.settings, f.dir.string(), kSteps);
    const TFrameLoads loads(f.model, f.settings);
    TMemberDiagram diagram;
    std::vector<TDiagramPoint> points;
    for (auto _ : state) {
        double sum = 0;
        for (int frame = 1; frame <= f.model.FrameCount; ++frame) {
            if (!BuildFrameDiagram(f.model, loads, forces, frame, diagram)) continue;
            diagram.Points(kForceMy, 9, points);
            sum += diagram.Peak(kForceMy).Value + points.back().Value;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["frames"] = f.model.FrameCount;
}

BENCHMARK(BM_ForceEnvelope)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ForceStep)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_StoreyShears)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_Diagrams)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
