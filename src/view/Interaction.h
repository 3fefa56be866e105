// The mouse state machine of the model view: pan, rotate and select modes.
#pragma once

#include "model/Model.h"
#include "view/Camera.h"

#include <string>

namespace vandra {

enum MouseModeCode : int {
    kMouseNone = 0,
    kPanArmed = 1,
    kPanning = 2,
    kRotateArmed = 3,
    kRotating = 4,
    kSelect = 101,
    kIdle = 102,
};

struct TInteraction {
    int MouseMode = kMouseNone;
    int LastMouseX = 0, LastMouseY = 0;
    int SelectedFrame = 0;
};

// What the view must do after an event.
struct MouseOutcome {
    bool redraw = false;
    bool showFrameProperties = false;
    bool setStatus = false; // panel 1 takes statusText
    std::string statusText;
};

// The commands that choose a mode ("Pan", "Rotate View", "Select Elem"; idle keeps the text).
MouseOutcome ChoosePan(TInteraction& s);
MouseOutcome ChooseRotate(TInteraction& s);
MouseOutcome ChooseSelect(TInteraction& s);
MouseOutcome ChooseIdle(TInteraction& s);

// In select mode a press picks the frame whose midpoint in the projection (of the last redraw) is
// under the pointer.
MouseOutcome MousePress(TInteraction& s, const TModel& model, const TProjection& projection, int X,
                        int Y, bool rightButton);
MouseOutcome MouseMove(TInteraction& s, TViewState& view, int X, int Y, int W, int H);
MouseOutcome MouseRelease(TInteraction& s, TViewState& view, int X, int Y, int W, int H);

} // namespace vandra
