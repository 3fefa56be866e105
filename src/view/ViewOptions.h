// What the model view shows: the layer switches of "View Option" and the load labels of "Show
// Load". They belong to the view, not to the model or its analysis: an import keeps them (only the
// labelled load case, which names a case of the model, ends with the model).
#pragma once

#include <array>
#include <cstddef>

namespace vandra {

// The view options, by their place in TViewOptions::ViewOpt[1..13].
enum ViewOptionCode : size_t {
    kOptNode = 1,
    kOptNodeLabels = 2,
    kOptFrame = 3,
    kOptFrameLabels = 4,
    kOptFrameAxis = 5,
    kOptNodeSupport = 6,
    kOptDiaphragms = 7,
    kOptHingeCircle = 8,
    kOptShellElement = 9,
    kOptShellLabels = 10,
    kOptMomentRelease = 11,
    kOptSolidElement = 12,
    kOptSolidLabel = 13,
};

// Which loads the view labels (TViewOptions::ShownLoadType).
enum ShownLoadTypeCode : int {
    kShowPointForces = 1,
    kShowElementLoads = 2,
};

struct TViewOptions {
    // [1..13]: Node, Node Labels, Frame, Frame Labels, Frame Axis, Node Support, Diaphragms,
    // Hinge Circle, Shell Element, Shell Labels, Moment Release, Solid Element, Solid Label.
    std::array<bool, 14> ViewOpt{false, true,  false, true,  false, false, true,
                                 false, false, true,  false, true,  true,  false};
    int ShownLoadCase = 0; // the load case whose loads are labelled; 0 for none
    int ShownLoadType = 0; // ShownLoadTypeCode
    // The member force drawn as a diagram on the frames: 0 none, 1..6 N, Vy, Vz, T, My, Mz (the
    // ForceComponent + 1). The largest value is drawn at a tenth of the model's size times
    // DiagramScale; DiagramValues prints the values at the ends and the extreme.
    int Diagram = 0;
    double DiagramScale = 1;
    bool DiagramValues = true;
    // The reactions of the supports drawn as arrows with their values.
    bool ShowReactions = false;
    // The legend of a deformed shape and of section values (step or mode, scale, colour steps).
    bool ResultLegend = true;
};

} // namespace vandra
