// Camera and projection of the model view: pure functions over plain view state.
#pragma once

#include "model/Model.h"

#include <cstddef>
#include <vector>

namespace vandra {

struct TViewState {
    double PlanAngle = 0;   // degrees, rotation about global Z
    double TiltAngle = 0;   // degrees, tilt about the screen's horizontal axis
    double ViewScale = 5.0; // model length units per pixel
    double PanU = 0, PanV = 0;
    double DisplacementScale = 0;
};

// Displacements drawn at the nodes (times DisplacementScale): node i moves by X[i], Y[i], Z[i].
// Null arrays, and nodes at or past Count, do not move.
struct TNodeOffsets {
    const double* X = nullptr;
    const double* Y = nullptr;
    const double* Z = nullptr;
    size_t Count = 0;
};

// Nearest integer, an exact half going to the even neighbour. Values beyond +-kPixelLimit (and
// NaN, which becomes 0) are clamped so that sums of a few pixel positions never overflow.
constexpr int kPixelLimit = 100'000'000;
int RoundPixel(double v);

// True when idx is a real record of a table with this count and vector size (1..count, present).
template <typename Table> bool IsRecord(const Table& table, int count, int idx) {
    return idx >= 1 && idx <= count && static_cast<size_t>(idx) < table.size();
}
// The last index a loop 1..count may visit without leaving the vector.
template <typename Table> int LastRecord(const Table& table, int count) {
    const long long inVector = static_cast<long long>(table.size()) - 1;
    return static_cast<int>(count < inVector ? count : inVector);
}

// The rotation, scale and image centre of one projection, computed once per redraw: where a
// point of the model's space falls in an image W x H.
struct ViewProjector {
    ViewProjector(const TViewState& view, int W, int H);

    // The rotated coordinates across and up the screen, before scale and pan.
    double U(double X, double Y) const { return X * cosA - Y * sinA; }
    double V(double X, double Y, double Z) const { return Z * sinB - (X * sinA + Y * cosA) * cosB; }

    // In pixels from the image's top-left corner, not rounded.
    void Place(double X, double Y, double Z, double& sx, double& sy) const {
        const double u = U(X, Y);
        const double v = V(X, Y, Z);
        sx = (u - panU) / scale + halfW;
        sy = (v - panV) / scale + halfH;
    }
    // Rounded to the pixel (RoundPixel), as the nodes are projected.
    void operator()(double X, double Y, double Z, int& sx, int& sy) const {
        double x, y;
        Place(X, Y, Z, x, y);
        sx = RoundPixel(x);
        sy = RoundPixel(y);
    }

    double cosA, sinA, cosB, sinB, scale, panU, panV, halfW, halfH;
};

// A point of the image, in pixels from its top-left corner.
struct TScreenPoint {
    int X = 0, Y = 0;
};

// A frame on the screen: its midpoint, the tip of its axis 2 tick (40 pixels from the midpoint)
// and the points at 20 % and 80 % of its drawn length, where its end results are shown.
struct TFrameScreen {
    TScreenPoint Mid, Axis, EndI, EndJ;
};

// Where the last projection put the model: node i at Nodes[i], frame f at Frames[f] (entry 0
// unused). The view owns it; the renderer, picking and the mouse state machine read it.
struct TProjection {
    std::vector<TScreenPoint> Nodes;
    std::vector<TFrameScreen> Frames;
};

// Projects every node and every frame of the model for an image W x H into projection, which
// then holds one entry per node and frame record. A frame whose nodes are not in the node table
// keeps the screen points it had (none is drawn or picked). Nodes are drawn displaced by offsets;
// frame midpoints and axis ticks stay at the undisplaced geometry, the 20 % and 80 % points
// follow the displaced nodes.
void ProjectModel(const TModel& model, const TViewState& view, int W, int H,
                  const TNodeOffsets& offsets, TProjection& projection);
// Projects the nodes only (the animation leaves the frames' screen points alone).
void ProjectNodes(const TModel& model, const TViewState& view, int W, int H,
                  const TNodeOffsets& offsets, TProjection& projection);

// Zoom all: centres the joints' extent in the image and scales it to 80 % of the image's width or
// height, whichever is tighter, for any coordinates. Does nothing on an empty node table or an
// empty image; a single joint (no extent) gets 1 model unit per pixel.
void ZoomAll(const TModel& model, TViewState& view, int W, int H);

// The view of a W x H image for an image of w x h pixels showing the same: the centre stays and
// the scale grows or shrinks so that what fills the W x H image fits w x h.
void FitViewToSize(TViewState& view, int W, int H, int w, int h);

enum class PlaneView { XY, XZ, YZ };
// Sets the two angles of a plane view (the caller then redraws and zooms all).
void SetPlaneView(TViewState& view, PlaneView plane);

// One wheel notch: down (zoom in) multiplies ViewScale by 0.9, up divides by 0.9.
void WheelNotch(TViewState& view, bool up);
void PanDrag(TViewState& view, int X, int Y, int X0, int Y0);
// An angle beyond +-360 degrees (strictly) starts again at 0.
void RotateDrag(TViewState& view, int X, int Y, int X0, int Y0, int W, int H);

} // namespace vandra
