// What the section analysis gives back: the moment-curvature curve a section run wrote
// (tcl/MomentCurvatureScript.h), read from the run's folder and judged by what the solver printed,
// with its marks; the curve and the interaction diagrams as CSV.
#pragma once

#include "tcl/MomentCurvatureScript.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vandra {

struct MomentCurvatureCurve {
    std::vector<SectionState> states; // the axial load alone first, then one per step
    std::vector<CurveMark> marks;     // CurveMarks of a fiber section
    // Why the run did not reach its target (empty when it did): the step that did not converge,
    // a solver that stopped before the end of the script.
    std::string failure;
};

// Reads the curve file of the run's folder (none when the run never wrote it) and judges the run
// by the console text the solver printed. InputError, naming the file, line and column, for a curve
// file that holds anything but rows of eight finite numbers.
MomentCurvatureCurve ReadMomentCurvature(const MomentCurvaturePlan& plan, const std::string& folder,
                                         std::string_view console);

// The curve as CSV: a header "curvature,moment" and one line per state.
std::string MomentCurvatureCsv(const MomentCurvaturePlan& plan, const MomentCurvatureCurve& curve);

// The interaction diagrams as CSV: a header "axis,P,My,Mz" and one line per point, axis "y" or
// "z" (InteractionDiagram::axis), the diagrams one after the other in the order given.
std::string InteractionCsv(std::span<const InteractionDiagram> diagrams);

// What a mark is, as the lists and the plot name it: "first yield", "peak moment", "cover
// crushing", "core crushing".
std::string_view CurveMarkName(CurveMarkKind kind);

} // namespace vandra
