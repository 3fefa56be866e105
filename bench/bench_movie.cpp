// Movie encoding speed at 1280 x 720: 24 frames of the grid building turning by a degree a frame
// (every line moves, the hardest case for the encoder), drawn beforehand, then encoded into one
// MP4 or GIF per iteration, opening and finishing included. items_per_second is frames a second.
#include "GridBuilding.h"
#include "view/Camera.h"
#include "view/render/ModelRenderer.h"
#include "view/render/MovieWriter.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <vector>

using namespace vandra;

namespace {

constexpr int kW = 1280;
constexpr int kH = 720;
constexpr int kFrames = 24;

const std::vector<QImage>& Frames() {
    static const std::vector<QImage> frames = [] {
        TModel model = bench::GridBuilding();
        TSettings settings;
        TViewState view;
        view.TiltAngle = -60;
        QImage image(kW, kH, QImage::Format_RGB32);
        ZoomAll(model, view, kW, kH);
        std::vector<QImage> out;
        for (int k = 0; k < kFrames; ++k) {
            view.PlanAngle = 30 + k;
            RedrawModel(image, model, settings, view, 0);
            out.push_back(image.copy());
        }
        return out;
    }();
    return frames;
}

void Encode(benchmark::State& state, const char* name) {
    const std::vector<QImage>& frames = Frames();
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    for (auto _ : state) {
        MovieWriter movie(path, kW, kH, 30);
        for (const QImage& f : frames)
            movie.AddFrame(f);
        movie.Finish();
    }
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
