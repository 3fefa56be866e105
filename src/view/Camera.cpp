#include "view/Camera.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vandra {
namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
constexpr double kAxisTickPixels = 40.0;
constexpr double kFitFraction = 0.8;
constexpr double kWheelFactor = 0.9;
constexpr double kFullTurn = 360.0;
constexpr double kDragHalfTurn = 180.0;

using Projector = ViewProjector;

void ProjectNodesWith(const TModel& model, const TViewState& view, const Projector& project,
                      const TNodeOffsets& offsets, TProjection& projection) {
    const double s = view.DisplacementScale;
    const int last = LastRecord(model.Nodes, model.NodeCount);
    projection.Nodes.resize(static_cast<size_t>(last > 0 ? last : 0) + 1);
    const bool moved = offsets.X != nullptr && offsets.Y != nullptr && offsets.Z != nullptr;
    for (int i = 1; i <= last; ++i) {
        const auto k = static_cast<size_t>(i);
        const TNODE& n = model.Nodes[k];
        TScreenPoint& p = projection.Nodes[k];
        if (moved && k < offsets.Count)
            project(n.X + s * offsets.X[k], n.Y + s * offsets.Y[k], n.Z + s * offsets.Z[k], p.X,
                    p.Y);
        else
            project(n.X, n.Y, n.Z, p.X, p.Y);
    }
}

void ProjectFrames(const TModel& model, const TViewState& view, const Projector& project,
                   TProjection& projection) {
    const double tick = kAxisTickPixels * view.ViewScale;
    const int last = LastRecord(model.Frames, model.FrameCount);
    projection.Frames.resize(static_cast<size_t>(last > 0 ? last : 0) + 1);
    for (int f = 1; f <= last; ++f) {
        const TFRAME& fr = model.Frames[static_cast<size_t>(f)];
        if (!IsRecord(model.Nodes, model.NodeCount, fr.NodeI) ||
            !IsRecord(model.Nodes, model.NodeCount, fr.NodeJ))
            continue;
        const TNODE& ni = model.Nodes[static_cast<size_t>(fr.NodeI)];
        const TNODE& nj = model.Nodes[static_cast<size_t>(fr.NodeJ)];
        const TScreenPoint& si = projection.Nodes[static_cast<size_t>(fr.NodeI)];
        const TScreenPoint& sj = projection.Nodes[static_cast<size_t>(fr.NodeJ)];
        TFrameScreen& sf = projection.Frames[static_cast<size_t>(f)];
        const double mx = (ni.X + nj.X) / 2, my = (ni.Y + nj.Y) / 2, mz = (ni.Z + nj.Z) / 2;
        project(mx, my, mz, sf.Mid.X, sf.Mid.Y);
        project(mx + tick * fr.Axis2X, my + tick * fr.Axis2Y, mz + tick * fr.Axis2Z, sf.Axis.X,
                sf.Axis.Y);
        const double dx = static_cast<double>(sj.X) - si.X;
        const double dy = static_cast<double>(sj.Y) - si.Y;
        sf.EndI.X = RoundPixel(si.X + dx * 0.2);
        sf.EndI.Y = RoundPixel(si.Y + dy * 0.2);
        sf.EndJ.X = RoundPixel(si.X + dx * 0.8);
        sf.EndJ.Y = RoundPixel(si.Y + dy * 0.8);
    }
}

double ResetBeyondFullTurn(double angle) {
    return std::fabs(angle) > kFullTurn ? 0.0 : angle;
}

} // namespace

ViewProjector::ViewProjector(const TViewState& view, int W, int H)
    : cosA(std::cos(view.PlanAngle * kDegree)), sinA(std::sin(view.PlanAngle * kDegree)),
      cosB(std::cos(view.TiltAngle * kDegree)), sinB(std::sin(view.TiltAngle * kDegree)),
      scale(view.ViewScale), panU(view.PanU), panV(view.PanV), halfW(W / 2.0), halfH(H / 2.0) {}

int RoundPixel(double v) {
    if (std::isnan(v)) return 0;
    if (v > kPixelLimit) return kPixelLimit;
    if (v < -kPixelLimit) return -kPixelLimit;
    // The default floating point rounding mode rounds an exact half to the even neighbour.
#if defined(__SSE2__)
    return _mm_cvtsd_si32(_mm_set_sd(v)); // nearbyint and the conversion in one instruction
#else
    return static_cast<int>(std::nearbyint(v));
#endif
}

void ProjectNodes(const TModel& model, const TViewState& view, int W, int H,
                  const TNodeOffsets& offsets, TProjection& projection) {
    ProjectNodesWith(model, view, Projector(view, W, H), offsets, projection);
}

void ProjectModel(const TModel& model, const TViewState& view, int W, int H,
                  const TNodeOffsets& offsets, TProjection& projection) {
    const Projector project(view, W, H);
    ProjectNodesWith(model, view, project, offsets, projection);
    ProjectFrames(model, view, project, projection);
}

void ZoomAll(const TModel& model, TViewState& view, int W, int H) {
    const int last = LastRecord(model.Nodes, model.NodeCount);
    if (last < 1 || W <= 0 || H <= 0) return;
    // The extent of the joints in the screen's axes (model units), straight from the rotation:
    // the view is centred on the middle of that extent, whatever the coordinates' origin.
    const Projector rotate(TViewState{view.PlanAngle, view.TiltAngle, 1.0, 0, 0, 0}, 0, 0);
    double minU = 0, maxU = 0, minV = 0, maxV = 0;
    for (int i = 1; i <= last; ++i) {
        const TNODE& n = model.Nodes[static_cast<size_t>(i)];
        const double u = rotate.U(n.X, n.Y), v = rotate.V(n.X, n.Y, n.Z);
        if (i == 1 || u < minU) minU = u;
        if (i == 1 || u > maxU) maxU = u;
        if (i == 1 || v < minV) minV = v;
        if (i == 1 || v > maxV) maxV = v;
    }
    view.PanU = (minU + maxU) / 2;
    view.PanV = (minV + maxV) / 2;
    const double r = std::max((maxU - minU) / (W * kFitFraction), (maxV - minV) / (H * kFitFraction));
    view.ViewScale = r > 0 && std::isfinite(r) ? r : 1.0;
}

void SetPlaneView(TViewState& view, PlaneView plane) {
    switch (plane) {
    case PlaneView::XY:
        view.PlanAngle = 0;
        view.TiltAngle = 0;
        break;
    case PlaneView::XZ:
        view.PlanAngle = 0;
        view.TiltAngle = -90;
        break;
    case PlaneView::YZ:
        view.PlanAngle = 90;
        view.TiltAngle = -90;
        break;
    }
}

void WheelNotch(TViewState& view, bool up) {
    if (up)
        view.ViewScale /= kWheelFactor;
    else
        view.ViewScale *= kWheelFactor;
}

void PanDrag(TViewState& view, int X, int Y, int X0, int Y0) {
    view.PanU -= (static_cast<double>(X) - X0) * view.ViewScale;
    view.PanV -= (static_cast<double>(Y) - Y0) * view.ViewScale;
}

void RotateDrag(TViewState& view, int X, int Y, int X0, int Y0, int W, int H) {
    if (W > 0) view.PlanAngle += (static_cast<double>(X) - X0) / W * kDragHalfTurn;
    if (H > 0) view.TiltAngle += (static_cast<double>(Y) - Y0) / H * kDragHalfTurn;
    view.PlanAngle = ResetBeyondFullTurn(view.PlanAngle);
    view.TiltAngle = ResetBeyondFullTurn(view.TiltAngle);
}

void FitViewToSize(TViewState& view, int W, int H, int w, int h) {
    if (W <= 0 || H <= 0 || w <= 0 || h <= 0) return;
    view.ViewScale /= std::min(static_cast<double>(w) / W, static_cast<double>(h) / H);
}

} // namespace vandra
