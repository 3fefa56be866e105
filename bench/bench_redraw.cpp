// Full redraw of a grid building with 50,000 joints and 100,000 frames at 1208 x 729, default
// view options, after zoom all: the plan view and a rotated view; and the rotated view with the
// moment diagram Mz of every frame drawn over it, on an image and saved as an SVG.
#include "GridBuilding.h"
#include "document/Document.h"
#include "post/Results.h"
#include "view/Camera.h"
#include "view/render/ModelRenderer.h"
#include "view/render/PictureWriter.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

using namespace vandra;

namespace {

constexpr int kW = 1208;
constexpr int kH = 729;
void Redraw(benchmark::State& state, const TModel& model, double planAngle, double tiltAngle,
            DrawPath path) {
    const TViewOptions options;
    const TResults none;
    TProjection projection; // kept between redraws, as the view keeps it
    TViewState view;
    view.PlanAngle = planAngle;
    view.TiltAngle = tiltAngle;
    QImage image(kW, kH, QImage::Format_RGB32);
    ZoomAll(model, view, kW, kH);
    for (auto _ : state) {
        RedrawModel(image, model, options, view, 0, none, projection, path);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["frames"] = model.FrameCount;
    state.counters["joints"] = model.NodeCount;
}

void BM_RedrawPlanView(benchmark::State& s) {
    Redraw(s, bench::GridBuilding(), 0, 0, DrawPath::Fast);
}
void BM_RedrawRotatedView(benchmark::State& s) {
    Redraw(s, bench::GridBuilding(), 30, -60, DrawPath::Fast);
}
void BM_RedrawRotatedViewPlain(benchmark::State& s) {
    Redraw(s, bench::GridBuilding(), 30, -60, DrawPath::Plain);
}
// The imported model of bench/make_grid.py (150,480 frames by default), named by VANDRA_GRID:
//   python3 bench/make_grid.py /tmp/grid.s2k && VANDRA_GRID=/tmp/grid.s2k bench_redraw
void BM_RedrawRotatedMadeGrid(benchmark::State& s) {
    const char* path = std::getenv("VANDRA_GRID");
    if (path == nullptr) {
        s.SkipWithError("VANDRA_GRID names no model (see bench/make_grid.py)");
        return;
    }
    Redraw(s, ReadModelFile(path).Model, 30, -60, DrawPath::Fast);
}

// Every frame a beam-column with Mz from +1 at end I to -1 at end J (the loads of the model's
// first case along it), drawn as a moment diagram with its values.
struct MomentScene {
    TModel model = bench::GridBuilding();
    TViewOptions options;
    TResults results;
    TViewState view;

    MomentScene() {
        options.Diagram = kForceMz + 1;
        TForceResults& forces = results.Forces;
        forces.Step = 1;
        forces.Loads = TFrameLoads(model, TSettings());
        forces.AtStep.Step = 1;
        forces.AtStep.Time = 1;
        forces.AtStep.Factors = LoadFactorsAt(TSettings(), 1, 1, 0);
        const auto frames = static_cast<size_t>(model.FrameCount) + 1;
        forces.AtStep.Kind.assign(frames, ForceKind::Beam);
        forces.AtStep.Kind[0] = ForceKind::None;
        forces.AtStep.Ends.resize(frames);
        for (TEndForces& e : forces.AtStep.Ends) {
            e.I[kForceMz] = 1;
            e.J[kForceMz] = -1;
        }
        forces.Shapes = ShapeDiagrams(model, forces.Loads, forces.AtStep);
        view.PlanAngle = 30;
        view.TiltAngle = -60;
        ZoomAll(model, view, kW, kH);
    }
};

void BM_RedrawMomentDiagram(benchmark::State& state) {
    const MomentScene scene;
    TProjection projection;
    QImage image(kW, kH, QImage::Format_RGB32);
    for (auto _ : state) {
        RedrawModel(image, scene.model, scene.options, scene.view, 0, scene.results, projection,
                    DrawPath::Fast);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["frames"] = scene.model.FrameCount;
}

// The same view saved as an SVG; "bytes" is the file's size.
void BM_SaveMomentDiagramSvg(benchmark::State& state) {
    const MomentScene scene;
    const std::string path =
        (std::filesystem::temp_directory_path() / "bench_redraw_moment.svg").string();
    for (auto _ : state)
        SavePicture(path, ModelViewPicture(scene.model, scene.options, scene.view, 0,
                                           scene.results, kW, kH, "moment"));
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}

BENCHMARK(BM_RedrawPlanView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawRotatedView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawRotatedMadeGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawRotatedViewPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawMomentDiagram)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveMomentDiagramSvg)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
