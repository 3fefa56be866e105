// Full redraw of a grid building with 50,000 joints and 100,000 frames at 1208 x 729, default
// view options, after zoom all: the plan view and a rotated view.
#include "view/Camera.h"
#include "view/render/ModelRenderer.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

using namespace vandra;

namespace {

constexpr int kW = 1208;
constexpr int kH = 729;
constexpr int kNx = 50, kNy = 50, kNz = 20; // 50,000 joints
constexpr int kFrames = 100000;

TModel GridBuilding() {
    TModel m;
    m.Nodes.resize(1);
    auto id = [](int i, int j, int k) { return 1 + i + kNx * (j + kNy * k); };
    for (int k = 0; k < kNz; ++k)
        for (int j = 0; j < kNy; ++j)
            for (int i = 0; i < kNx; ++i) {
                TNODE n;
                n.X = i * 6.0;
                n.Y = j * 5.0;
                n.Z = k * 3.2;
                if (k == 0) n.Restraint = {0, 1, 1, 1, 1, 1, 1};
                m.Nodes.push_back(n);
            }
    m.NodeCount = kNx * kNy * kNz;
    m.Sections.resize(4);
    m.SectionCount = 3;
    for (int s = 1; s <= 3; ++s) {
        m.Sections[static_cast<size_t>(s)].Color = SectionColor(s);
        m.Sections[static_cast<size_t>(s)].FrameType = kElasticBeamColumn;
    }
    m.Frames.resize(1);
    auto add = [&](int a, int b, int sec) {
        if (static_cast<int>(m.Frames.size()) > kFrames) return;
        TFRAME f;
        f.NodeI = a;
        f.NodeJ = b;
        f.SecIdx = sec;
        f.Axis2Z = 1;
        m.Frames.push_back(f);
    };
    for (int k = 0; k + 1 < kNz; ++k)
        for (int j = 0; j < kNy; ++j)
            for (int i = 0; i < kNx; ++i)
                add(id(i, j, k), id(i, j, k + 1), 1);
    for (int k = 1; k < kNz; ++k)
        for (int j = 0; j < kNy; ++j)
            for (int i = 0; i + 1 < kNx; ++i)
                add(id(i, j, k), id(i + 1, j, k), 2);
    for (int k = 1; k < kNz; ++k)
        for (int i = 0; i < kNx; ++i)
            for (int j = 0; j + 1 < kNy; ++j)
                add(id(i, j, k), id(i, j + 1, k), 3);
    m.FrameCount = static_cast<int>(m.Frames.size()) - 1;
    return m;
}

void Redraw(benchmark::State& state, double planAngle, double tiltAngle, DrawPath path) {
    TModel model = GridBuilding();
    TSettings settings;
    TViewState view;
    view.PlanAngle = planAngle;
    view.TiltAngle = tiltAngle;
    QImage image(kW, kH, QImage::Format_RGB32);
    ZoomAll(model, view, kW, kH);
    for (auto _ : state) {
        RedrawModel(image, model, settings, view, 0, path);
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
