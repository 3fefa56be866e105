// The moment-curvature run of one frame section in the solver: the small script that defines the
// section as the building script does, loads it axially and pushes its curvature
// (post/SectionCurve.h reads what it wrote). MomentCurvature.md describes the run.
#pragma once

#include "model/Model.h"
#include "sections/MomentCurvature.h"
#include "tcl/ScriptLineList.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vandra {

// The file the run writes in its folder: per converged state the section's deformations
// (P, kappa z, kappa y, twist) then its forces (P, Mz, My, T).
inline constexpr const char* kCurveFileName = "curve.out";

// What the script prints: the last line of a run that reached its end, the line of a run whose
// axial load did not converge, and the start of the line of a step that did not ("... K of N").
inline constexpr std::string_view kSectionRunDone = "section run done";
inline constexpr std::string_view kSectionRunAxialFailed =
    "section run failed under the axial load";
inline constexpr std::string_view kSectionRunStepFailed = "section run failed at step";

// How far past the core's limit curvature a run that stops at the solver's strain limit may go.
inline constexpr int kLimitOvershoot = 3;

struct MomentCurvatureRequest {
    int section = 0;  // 1..SectionCount
    double axial = 0; // positive in tension, as the interaction diagram gives it
    BendingAxis axis = BendingAxis::Z;
    // The curvature to reach; without one, LimitCurvature at the axial load (a section with fibers)
    // and required for an elastic section.
    std::optional<double> maxCurvature;
    int steps = 100;
};

struct MomentCurvaturePlan {
    MomentCurvatureRequest request;
    std::string name; // the section's name
    // The curvature the run makes its steps toward: the one asked for, reached by the last step;
    // without one, LimitCurvature, and then the run goes on in steps of the same size until the
    // solver's states take a fiber past its strain limit (stopAtLimit), kLimitOvershoot times as
    // far at most.
    double targetCurvature = 0;
    bool stopAtLimit = false;
    bool elastic = false;         // an elastic frame section: M = stiffness times the curvature
    double elasticStiffness = 0;  // E I about the axis; 0 for a fiber section
    AnalysisSection fibers;       // a fiber section's fibers, from their area centroid
    std::vector<FiberRole> roles; // of each fiber
    ScriptLineList script;
};

// E I about the axis of frame section s as its elastic elements have it: E of its material (0
// without one) times I33 (about y) or I22 (about z) of its shape.
double ElasticBendingStiffness(const TModel& model, int s, BendingAxis axis);

// Checks the request and writes the script. Refuses (InputError, "Frame section NAME ...") a
// section the solver could not push: a frame type without any section, a law the analysis cannot
// use (PrepareAnalysisSection), concrete without bars, an axial load beyond what the section
// carries (LimitCurvature), a curvature to reach that is not a positive finite number, an elastic
// section without one or without stiffness; UsageError for a step count outside 1..100000.
MomentCurvaturePlan PlanMomentCurvature(const TModel& model, const TSettings& settings,
                                        const MomentCurvatureRequest& request);

} // namespace vandra
