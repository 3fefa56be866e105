// Full redraw of a grid building with 50,000 joints and 100,000 frames at 1208 x 729, default
// view options, after zoom all: the plan view and a rotated view.
#include "GridBuilding.h"
#include "view/Camera.h"
#include "view/render/ModelRenderer.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

using namespace vandra;

namespace {

constexpr int kW = 1208;
constexpr int kH = 729;
void Redraw(benchmark::State& state, double planAngle, double tiltAngle, DrawPath path) {
    TModel model = bench::GridBuilding();
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
    Redraw(s, 0, 0, DrawPath::Fast);
}
void BM_RedrawRotatedView(benchmark::State& s) {
    Redraw(s, 30, -60, DrawPath::Fast);
}
void BM_RedrawRotatedViewPlain(benchmark::State& s) {
    Redraw(s, 30, -60, DrawPath::Plain);
}

BENCHMARK(BM_RedrawPlanView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawRotatedView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawRotatedViewPlain)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
