// Frame auto mesh speed: F frames of 6 m side by side, each cut into S pieces by NumSegments. The
// time must follow the pieces made (F x S), not their square: 30 x 10000 and 3000 x 100 make the
// same 300,000 pieces, 100 x 10000 a million.
#include "import/S2kText.h"
#include "import/TabularImport.h"
#include "model/NumberText.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string MeshedFrames(int frames, int segments) {
    using vandra::text::AppendFormat;
    std::string s = "File bench.$2k\r\n\r\nTABLE:  \"PROGRAM CONTROL\"\r\n"
                    "   ProgramName=SAP2000   CurrUnits=\"KN, m, C\"\r\n\r\n"
                    "TABLE:  \"JOINT COORDINATES\"\r\n";
    for (int f = 0; f < frames; ++f)
        for (int end = 0; end < 2; ++end)
            AppendFormat(s, "   Joint=%d   XorR=%0.1F   Y=%0.1F   Z=3\r\n",
                         {2 * f + end + 1, 6.0 * end, 0.5 * f});
    s += "\r\nTABLE:  \"CONNECTIVITY - FRAME\"\r\n";
    for (int f = 0; f < frames; ++f)
        AppendFormat(s, "   Frame=%d   JointI=%d   JointJ=%d\r\n", {f + 1, 2 * f + 1, 2 * f + 2});
    s += "\r\nTABLE:  \"FRAME AUTO MESH ASSIGNMENTS\"\r\n";
    for (int f = 0; f < frames; ++f)
        AppendFormat(s, "   Frame=%d   AutoMesh=Yes   AtJoints=Yes   NumSegments=%d\r\n",
                     {f + 1, segments});
    return s + "\r\nEND TABLE DATA\r\n";
}

void BM_AutoMesh(benchmark::State& state) {
    const int frames = static_cast<int>(state.range(0));
    const int segments = static_cast<int>(state.range(1));
    const vandra::S2kText text(MeshedFrames(frames, segments));
    for (auto _ : state) {
        const vandra::TModel model = vandra::ImportTabular(text, "bench.$2k");
        benchmark::DoNotOptimize(model.FrameCount);
    }
    state.counters["pieces"] = static_cast<double>(frames) * segments;
}

} // namespace

BENCHMARK(BM_AutoMesh)
    ->Args({3000, 100})
    ->Args({30, 10000})
    ->Args({100, 10000})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

BENCHMARK_MAIN();
