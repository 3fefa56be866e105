// Movie encoding speed at 1280 x 720: 24 frames of the grid building turning by a degree a frame
// (every line moves, the hardest case for the encoder), drawn beforehand, then encoded into one
// MP4 or GIF per iteration, opening and finishing included. items_per_second is frames a second of
// wall time; cpu_ms_per_frame counts the processor time of all threads (x264 runs several), which
// depends less on what else the machine runs.
#include "GridBuilding.h"
#include "view/Camera.h"
#include "view/ViewOptions.h"
#include "view/render/ModelRenderer.h"
#include "view/render/MovieWriter.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <sys/resource.h>
#include <vector>

using namespace vandra;

namespace {

constexpr int kW = 1280;
constexpr int kH = 720;
constexpr int kFrames = 24;

const std::vector<QImage>& Frames() {
    static const std::vector<QImage> frames = [] {
        TModel model = bench::GridBuilding();
        TViewOptions options;
        TViewState view;
        view.TiltAngle = -60;
        QImage image(kW, kH, QImage::Format_RGB32);
        ZoomAll(model, view, kW, kH);
        std::vector<QImage> out;
        for (int k = 0; k < kFrames; ++k) {
            view.PlanAngle = 30 + k;
            RedrawModel(image, model, options, view, 0);
            out.push_back(image.copy());
        }
        return out;
    }();
    return frames;
}

double CpuSeconds() {
    rusage r{};
    ::getrusage(RUSAGE_SELF, &r);
    return static_cast<double>(r.ru_utime.tv_sec + r.ru_stime.tv_sec) +
           static_cast<double>(r.ru_utime.tv_usec + r.ru_stime.tv_usec) * 1e-6;
}

void Encode(benchmark::State& state, const char* name) {
    const std::vector<QImage>& frames = Frames();
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    const double cpu = CpuSeconds();
    for (auto _ : state) {
        MovieWriter movie(path, kW, kH, 30);
        for (const QImage& f : frames)
            movie.AddFrame(f);
        movie.Finish();
    }
    const double encoded = static_cast<double>(state.iterations() * kFrames);
    state.counters["cpu_ms_per_frame"] = 1000 * (CpuSeconds() - cpu) / encoded;
    state.SetItemsProcessed(state.iterations() * kFrames);
    state.counters["bytes_per_frame"] =
        static_cast<double>(std::filesystem::file_size(path)) / kFrames;
    std::filesystem::remove(path);
}

void BM_EncodeMp4(benchmark::State& s) {
    Encode(s, "vandra_bench_movie.mp4");
}
void BM_EncodeGif(benchmark::State& s) {
    Encode(s, "vandra_bench_movie.gif");
}

BENCHMARK(BM_EncodeMp4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EncodeGif)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
