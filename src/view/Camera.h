// Camera and projection of the model view: pure functions over plain view state.
#pragma once

#include "model/Model.h"

namespace vandra {

struct TViewState {
    double PlanAngle = 0;   // degrees, rotation about global Z
    double TiltAngle = 0;   // degrees, tilt about the screen's horizontal axis
    double ViewScale = 5.0; // model length units per pixel
    double PanU = 0, PanV = 0;
    double DisplacementScale = 0;
    int AnimationStep = -1; // >= 0: project with HistX/Y/Z[step] instead of DispX/Y/Z
};

// Nearest integer, an exact half going to the even neighbour.
int RoundPixel(double v);

// Projects every node (ScreenX, ScreenY) and every frame's screen points for an image W x H.
void ProjectModel(TModel& model, const TViewState& view, int W, int H);

// Zoom all: fits the model into the image (twice, reprojecting after each pass).
void ZoomAll(TModel& model, TViewState& view, int W, int H);

enum class PlaneView { XY, XZ, YZ };
// Sets the two angles of a plane view (the caller then redraws and zooms all).
void SetPlaneView(TViewState& view, PlaneView plane);

// One wheel notch: down (zoom in) multiplies ViewScale by 0.9, up divides by 0.9.
void WheelNotch(TViewState& view, bool up);
void PanDrag(TViewState& view, int X, int Y, int X0, int Y0);
void RotateDrag(TViewState& view, int X, int Y, int X0, int Y0, int W, int H);

}  // namespace vandra
