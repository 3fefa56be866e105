// What the core knows about a moment-curvature run of a fiber section at constant axial force:
// how far the curvature may go (where the interaction analysis at that force stops), which fibers
// are bars, cover and core, and the events on the curve the solver gave back. MomentCurvature.md
// (in src/tcl, beside the script of the run) describes the run as a whole.
#pragma once

#include "model/Model.h"
#include "sections/Fibers.h"
#include "sections/Interaction.h"
#include "sections/SectionForces.h"

#include <span>
#include <vector>

namespace vandra {

// The analysis section of frame section s (1..SectionCount), whose fibers are its script
// section's (ScriptSectionOf). InputError, "Frame section NAME ...", for a frame type without a
// fiber section (the elastic ones, the rigid beam) and whatever PrepareAnalysisSection refuses.
AnalysisSection AnalysisSectionOf(const TModel& model, int s, std::span<const TFIBER> fibers);

// True for the frame types whose elements are elastic: no fibers, a moment of E I times the
// curvature.
bool HasElasticSection(int frameType);

// The largest curvature (positive, about axis, the other curvature zero) at which a plane strain
// state with every fiber inside its strain range (AnalysisStrainRange) carries the axial force
// `axial` (positive in tension): where the positive branch of the interaction diagram takes its
// moment from. Raises InputError "Frame section NAME: ..." for an axial force beyond the squash
// load or the tensile strength, one that no such plane carries, and a section whose fibers all
// lie on a line parallel to the axis.
double LimitCurvature(const AnalysisSection& section, BendingAxis axis, double axial);

// What a fiber is for the marks of a curve.
enum class FiberRole {
    Steel,         // a steel law: a bar, or a plate of a steel section
    CoverConcrete, // concrete whose centre lies outside the bars' cover line
    CoreConcrete,  // concrete inside it, or any concrete of a section without cover
};

// The role of each fiber of SectionFibers(section, ...) (same order), its materials those of the
// model. The core of a rectangle with a cover c is the rectangle inset by c on every side.
std::vector<FiberRole> FiberRolesOf(const TSECTION& section, std::span<const TFIBER> fibers,
                                    const TModel& model);

// One converged state of the run: the section's deformations and forces as the solver reports
// them (deformations P, kappa z, kappa y as a StrainPlane).
struct SectionState {
    StrainPlane plane;
    SectionForce force;
};

// The curvature about the run's axis and the moment about it.
double CurvatureOf(const SectionState& state, BendingAxis axis);
double MomentOf(const SectionState& state, BendingAxis axis);

enum class CurveMarkKind {
    FirstYield,    // the first steel fiber reaches its yield strain Fy / E0, either way
    PeakMoment,    // the largest moment of the curve
    CoverCrushing, // the first cover concrete fiber reaches its crushing strain epsU
    CoreCrushing,  // the first core concrete fiber reaches it
};

struct CurveMark {
    CurveMarkKind kind = CurveMarkKind::PeakMoment;
    double curvature = 0, moment = 0;
};

// The marks the curve reaches, in the order of CurveMarkKind. The strains are those of the states'
// planes on the section's fibers (roles in the same order); the first state is the axial load
// alone. Each mark but the peak lies between the two states that straddle it, where the first
// fiber reaches its strain: exact for the curvature, whose strains are linear in the
// deformations, and linear in between for the moment.
std::vector<CurveMark> CurveMarks(const AnalysisSection& section, std::span<const FiberRole> roles,
                                  BendingAxis axis, std::span<const SectionState> states);

// Ends the curve where its first fiber reaches the limit of its strain range
// (AnalysisStrainRange): the first state that takes a fiber past it is replaced by the state
// between it and the one before at which the fiber is at its limit (deformations and forces
// linear in between), and the states after it are dropped. False when no state goes past a limit.
bool CutAtStrainLimit(const AnalysisSection& section, std::vector<SectionState>& states);

} // namespace vandra
