// Script generation of a large model: 200,000 nonlinear frames on a 3D grid, fiber sections,
// node, element and section recorders. Reports bytes of saved script text per second.
#include "model/Model.h"
#include "tcl/ScriptGenerator.h"

#include <benchmark/benchmark.h>

namespace {

using namespace vandra;

constexpr int kFrames = 200000;

// Columns on a grid: a line of joints per column, one frame per storey.
TModel LargeModel() {
    constexpr int kStoreys = 20;
    constexpr int kColumns = kFrames / kStoreys;
    TModel m;
    m.NodeCount = kColumns * (kStoreys + 1);
    m.Nodes.resize(static_cast<size_t>(m.NodeCount) + 1);
    m.FrameCount = kFrames;
    m.Frames.resize(static_cast<size_t>(kFrames) + 1);
    int node = 0, frame = 0;
    for (int c = 0; c < kColumns; ++c) {
        for (int s = 0; s <= kStoreys; ++s) {
            TNODE& n = m.Nodes[static_cast<size_t>(++node)];
            n.X = 6000.0 * (c % 100);
            n.Y = 5000.0 * (c / 100);
            n.Z = 3500.0 * s;
            if (s == 0) n.Restraint = {0, 1, 1, 1, 1, 1, 1};
            if (s == 0) continue;
            TFRAME& f = m.Frames[static_cast<size_t>(++frame)];
            f.SecIdx = 1 + c % 4;
            f.NodeI = node - 1;
            f.NodeJ = node;
            f.Axis2X = 1;
            f.Axis2Y = -1.2e-16;
        }
    }
    m.MatCount = 2;
    m.Mats.resize(3);
    for (int i = 1; i <= 2; ++i) {
        m.Mats[static_cast<size_t>(i)].MatType = 1;
        m.Mats[static_cast<size_t>(i)].E = i == 1 ? 30000 : 200000;
        m.Mats[static_cast<size_t>(i)].G = i == 1 ? 12500 : 76923.1;
    }
    m.SectionCount = 4;
    m.Sections.resize(5);
    for (int s = 1; s <= 4; ++s) {
        TSECTION& sec = m.Sections[static_cast<size_t>(s)];
        sec.Name = "NCOL" + std::string(1, static_cast<char>('0' + s));
        sec.Shape = kShapeRectangle;
        sec.FrameType = kNonlinearBeamColumn;
        sec.T[1] = 300 + 100 * s;
        sec.T[2] = 300 + 50 * s;
        sec.MatIdx = 1;
        sec.DivideFX = sec.DivideFY = sec.BarNumNX = sec.BarNumNY = 5;
        sec.Cover = 35;
        sec.BarTop = sec.BarBot = 1000;
        sec.SectionKind = kColumnSection;
        sec.GeoTransf = kPDelta;
    }
    return m;
}

void BM_GenerateScript(benchmark::State& state) {
    TModel model = LargeModel();
    TSettings settings;
    settings.RecOpt = {false, true, true, true, false, false};
    ScriptLineList lines;
    size_t bytes = 0;
    for (auto _ : state) {
        GenerateScript(model, settings, lines);
        benchmark::DoNotOptimize(lines.Text().data());
        bytes = lines.Text().size();
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
    state.counters["lines"] = static_cast<double>(lines.size());
    state.counters["script_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_GenerateScript)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
