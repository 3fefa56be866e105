#include "view/Interaction.h"

#include <algorithm>

namespace vandra {
namespace {

// The pick box around a frame's screen midpoint: 10 x 10 pixels, top-left at (mid - 5, mid - 5).
constexpr int kPickBefore = 5;
constexpr int kPickAfter = 4;

const char* const kStatusPan = "Pan";
const char* const kStatusRotate = "Rotate View";
const char* const kStatusSelect = "Select Elem";
const char* const kStatusNone = "None";

MouseOutcome Status(const char* text) {
    MouseOutcome out;
    out.setStatus = true;
    out.statusText = text;
    return out;
}

bool InPickBox(const TScreenPoint& mid, int X, int Y) {
    return X >= mid.X - kPickBefore && X <= mid.X + kPickAfter && Y >= mid.Y - kPickBefore &&
           Y <= mid.Y + kPickAfter;
}

// The last frame in table order whose pick box holds (X, Y); frames that the view cannot draw
// (an end joint outside the node table) are not pickable.
int PickFrame(const TModel& model, const TProjection& projection, int X, int Y) {
    int picked = 0;
    const int last = std::min(LastRecord(model.Frames, model.FrameCount),
                              LastRecord(projection.Frames, model.FrameCount));
    for (int f = 1; f <= last; ++f) {
        const TFRAME& fr = model.Frames[static_cast<size_t>(f)];
        if (!IsRecord(model.Nodes, model.NodeCount, fr.NodeI) ||
            !IsRecord(model.Nodes, model.NodeCount, fr.NodeJ))
            continue;
        if (InPickBox(projection.Frames[static_cast<size_t>(f)].Mid, X, Y)) picked = f;
    }
    return picked;
}

} // namespace

MouseOutcome ChoosePan(TInteraction& s) {
    s.MouseMode = kPanArmed;
    return Status(kStatusPan);
}

MouseOutcome ChooseRotate(TInteraction& s) {
    s.MouseMode = kRotateArmed;
    return Status(kStatusRotate);
}

MouseOutcome ChooseSelect(TInteraction& s) {
    s.MouseMode = kSelect;
    return Status(kStatusSelect);
}

MouseOutcome ChooseIdle(TInteraction& s) {
    s.MouseMode = kIdle;
    return {};
}

MouseOutcome MousePress(TInteraction& s, const TModel& model, const TProjection& projection, int X,
                        int Y, bool rightButton) {
    MouseOutcome out;
    if (s.MouseMode == kSelect) {
        s.SelectedFrame = PickFrame(model, projection, X, Y);
        if (s.SelectedFrame != 0) {
            out.showFrameProperties = true;
            out.redraw = true;
        }
    }
    if (s.MouseMode == kPanArmed) {
        s.LastMouseX = X;
        s.LastMouseY = Y;
        s.MouseMode = kPanning;
    }
    if (s.MouseMode == kRotateArmed) {
        s.LastMouseX = X;
        s.LastMouseY = Y;
        s.MouseMode = kRotating;
    }
    if (rightButton) {
        s.MouseMode = kMouseNone;
        out.setStatus = true;
        out.statusText = kStatusNone;
    }
    return out;
}

MouseOutcome MouseMove(TInteraction& s, TViewState& view, int X, int Y, int W, int H) {
    MouseOutcome out;
    if (s.MouseMode == kPanning) {
        PanDrag(view, X, Y, s.LastMouseX, s.LastMouseY);
    } else if (s.MouseMode == kRotating) {
        RotateDrag(view, X, Y, s.LastMouseX, s.LastMouseY, W, H);
    } else {
        return out;
    }
    s.LastMouseX = X;
    s.LastMouseY = Y;
    out.redraw = true;
    return out;
}

MouseOutcome MouseRelease(TInteraction& s, TViewState& view, int X, int Y, int W, int H) {
    if (s.MouseMode == kPanning) {
        PanDrag(view, X, Y, s.LastMouseX, s.LastMouseY);
        s.MouseMode = kPanArmed;
        MouseOutcome out = Status(kStatusPan);
        out.redraw = true;
        return out;
    }
    if (s.MouseMode == kRotating) {
        RotateDrag(view, X, Y, s.LastMouseX, s.LastMouseY, W, H);
        s.MouseMode = kRotateArmed;
        MouseOutcome out = Status(kStatusRotate);
        out.redraw = true;
        return out;
    }
    return {};
}

} // namespace vandra
