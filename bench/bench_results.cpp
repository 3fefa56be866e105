// Result reading and the animation tick.
// BM_NodeHistory: the displacement history of 10,000 nodes x 1,000 steps (about 300 MB of recorder
// text in 100 node files, written to a temporary folder first); bytes_per_second is the reading
// speed, extra_MB the peak memory the read added, values_MB the doubles it holds.
// BM_AnimationTick: one tick of the animation of the 100,000-frame grid building.
#include "GridBuilding.h"
#include "model/NumberText.h"
#include "post/Animation.h"
#include "post/RecorderReaders.h"
#include "view/Camera.h"
#include "view/render/ModelRenderer.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

using namespace vandra;

namespace {

constexpr int kHistoryNodes = 10000;
constexpr int kHistorySteps = 1000;
constexpr double kMB = 1024.0 * 1024.0;

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

long CurrentKilobytes() {
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Writes node0.out .. node99.out as the solver writes them: a time column, then X, Y, Z of 100
// nodes per line in the solver's shortest number text. Returns the bytes written.
size_t WriteHistoryFiles(const std::filesystem::path& dir) {
    size_t bytes = 0;
    std::string line;
    for (int block = 0; block < kHistoryNodes / 100; ++block) {
        std::ofstream out(dir / text::Format("node%d.out", {block}), std::ios::binary);
        for (int k = 1; k <= kHistorySteps; ++k) {
            line.clear();
            text::AppendGeneral(line, k * 0.02);
            for (int j = 0; j < 300; ++j) {
                line += ' ';
                const double v = std::sin(k * 0.0123 + j * 0.37 + block) * 0.0137 * (1 + j % 7);
                text::AppendE(line, v, 6);
            }
            line += '\n';
            out << line;
            bytes += line.size();
        }
    }
    return bytes;
}

TModel NodesOnly(int count) {
    TModel m;
    m.Nodes.resize(static_cast<size_t>(count) + 1);
    m.NodeCount = count;
    return m;
}

void BM_NodeHistory(benchmark::State& state) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("vandra_bench_history_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const size_t bytes = WriteHistoryFiles(dir);
    const TModel model = NodesOnly(kHistoryNodes);
    const long before = CurrentKilobytes();
    for (auto _ : state) {
        TNodeHistory history = ReadNodeHistory(model, dir.string(), kHistorySteps);
        benchmark::DoNotOptimize(history.X.data());
    }
    const long peak = PeakKilobytes();
    std::filesystem::remove_all(dir);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["text_MB"] = static_cast<double>(bytes) / kMB;
    state.counters["values_MB"] = 3.0 * kHistorySteps * (kHistoryNodes + 1) * sizeof(double) / kMB +
                                  kHistorySteps * sizeof(double) / kMB;
    state.counters["extra_MB"] = static_cast<double>(peak - before) / 1024.0;
}

void BM_AnimationTick(benchmark::State& state) {
    TModel model = bench::GridBuilding();
    TViewState view;
    view.PlanAngle = 30;
    view.TiltAngle = -60;
    constexpr int kW = 1208, kH = 729;
    QImage image(kW, kH, QImage::Format_RGB32);
    ZoomAll(model, view, kW, kH);
    constexpr int kSteps = 20;
    TNodeHistory history;
    history.Steps = kSteps;
    history.Stride = static_cast<size_t>(model.NodeCount) + 1;
    history.Time.assign(kSteps, 0.0);
    for (std::vector<double>* v : {&history.X, &history.Y, &history.Z}) {
        v->resize(kSteps * history.Stride);
        for (size_t k = 0; k < v->size(); ++k)
            (*v)[k] = std::sin(static_cast<double>(k) * 1e-3) * 0.5;
    }
    TAnimation animation;
    animation.AnimScale = 10;
    animation.Frames = AnimationFrameCount(animation.Motion, history.Steps, kModeShapeFrames);
    TProjection projection;
    for (auto _ : state) {
        animation.Frame = StepAnimation(animation.Frame, 1, animation.Frames);
        const TAnimationFrame frame =
            AnimationFrameAt(animation.Motion, animation.Frame, animation.Frames);
        view.DisplacementScale = animation.AnimScale * frame.Factor;
        RedrawAnimationFrame(image, model, view, history, frame.Step, projection);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["frames"] = model.FrameCount;
}

BENCHMARK(BM_NodeHistory)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AnimationTick)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
