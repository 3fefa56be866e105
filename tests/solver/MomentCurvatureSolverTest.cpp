// Moment-curvature runs in the real solver against closed form (an elastic section, a plastic steel
// rectangle, the first yield of a doubly reinforced column) and against the interaction diagram.
#include "SolverSupport.h"

#include "../sections/FrameSectionModel.h"
#include "post/SectionResults.h"
#include "sections/MaterialResponse.h"
#include "sections/ScriptSection.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

namespace vandra::testing {
namespace {

// The curve of a clean run: it reaches the curvature asked for, or ends with its first fiber at
// the limit of its strain range.
MomentCurvatureCurve RunCurve(const FrameSectionModel& m, BendingAxis axis, double axial,
                              std::optional<double> maxCurvature = {}) {
    MomentCurvatureRequest request;
    request.section = 1;
    request.axis = axis;
    request.axial = axial;
    request.maxCurvature = maxCurvature;
    const MomentCurvaturePlan plan = PlanMomentCurvature(m.model, m.settings, request);
    const SolverRun run = RunSolver(plan.script);
    ExpectCleanRun(run, "the moment-curvature run of " + plan.name);
    MomentCurvatureCurve curve = ReadMomentCurvature(plan, run.Folder().string(), run.Console());
    EXPECT_EQ(curve.failure, "");
    if (curve.states.empty()) return curve;
    const SectionState& last = curve.states.back();
    double reach = CurvatureOf(last, request.axis) / plan.targetCurvature;
    if (plan.stopAtLimit) {
        reach = 0;
        for (const AnalysisFiber& f : plan.fibers.fibers) {
            const StrainRange r = AnalysisStrainRange(plan.fibers.mats[static_cast<size_t>(f.mat)]);
            const double e =
                last.plane.axial - f.y * last.plane.curvatureZ + f.z * last.plane.curvatureY;
            reach = std::max({reach, e / r.compression, e / r.tension});
        }
    }
    EXPECT_NEAR(reach, 1, 1e-9);
    return curve;
}

constexpr double kFy = 250, kEs = 200000;

// The first-yield moment about y of the column of the test below by the transformed cracked
// section: the concrete linear, the bars at n = Es / Ec (the fibers leave the concrete under the
// compression bars in place, so n rather than n - 1 there too).
double CrackedFirstYield() {
    const double b = 300, d = 460, dc = 40, as = 1200, ec = 30000, n = kEs / ec;
    // b c^2 / 2 + n as (c - dc) = n as (d - c)
    const double qa = b / 2, qb = 2 * n * as, qc = -n * as * (d + dc);
    const double c = (-qb + std::sqrt(qb * qb - 4 * qa * qc)) / (2 * qa);
    const double cracked =
        b * c * c * c / 3 + n * as * (c - dc) * (c - dc) + n * as * (d - c) * (d - c);
    return ec * 400 / kEs / (d - c) * cracked;
}

class MomentCurvatureSolverTest : public SolverTest {};

TEST_F(MomentCurvatureSolverTest, CurvesMatchClosedForm) {
    FrameSectionModel elastic, plate, column;
    elastic.Rectangle("EL600", kElasticBeamColumn, 600, 300, elastic.Material(ElasticLaw(kEs)), 1,
                      1);
    // A plastic steel rectangle 400 deep (z) by 200 wide (y) in 40 by 40 cells: at ten yield
    // strains at the outermost cells the innermost are still elastic (with all of them yielded,
    // and no hardening, the section would have no stiffness left).
    plate.Rectangle("PLATE", kNonlinearBeamColumn, 400, 200,
                    plate.Material(SteelLaw(kMatSteel01, kFy, kEs, 0)), 40, 40);
    // 500 deep by 300 wide of Concrete01 (Ec 30000, no tension) with two rows of three bars of
    // 400 at 40 from the top and bottom faces, Steel01 of fy 400.
    const int concrete = column.Material(ConcreteLaw(kMatConcrete01, -30, -0.002, -6, -0.006));
    column.ColumnBars(column.Rectangle("RC500", kNonlinearBeamColumn, 500, 300, concrete, 3, 50),
                      column.Material(SteelLaw(kMatSteel01, 400, kEs, 0.01)), 40, 3, 1200);
    enum Quantity { kStiffness, kPeak, kFirstYield };
    const struct {
        FrameSectionModel model;
        BendingAxis axis;
        double axial;
        std::optional<double> maxCurvature;
        Quantity quantity;
        double expected, tolerance; // relative
    } cases[] = {
        // 300 x 600: I33 = 300 600^3 / 12 about y, I22 = 600 300^3 / 12 about z; the axial load
        // changes nothing.
        {elastic, BendingAxis::Y, -1e6, 1e-5, kStiffness, kEs * 5.4e9, 1e-9},
        {elastic, BendingAxis::Z, 0, 2e-5, kStiffness, kEs * 1.35e9, 1e-9},
        {plate, BendingAxis::Y, 0, {}, kPeak, kFy * 200 * 400 * 400 / 4, 0.01},
        {plate, BendingAxis::Z, 0, {}, kPeak, kFy * 400 * 200 * 200 / 4, 0.01},
        {column, BendingAxis::Y, 0, {}, kFirstYield, CrackedFirstYield(), 0.05},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        const MomentCurvatureCurve curve = RunCurve(c.model, c.axis, c.axial, c.maxCurvature);
        double value = c.quantity == kPeak ? 0 : std::nan("");
        for (size_t i = 1; i < curve.states.size(); ++i) {
            const double m = MomentOf(curve.states[i], c.axis);
            if (c.quantity == kStiffness) {
                EXPECT_NEAR(m / CurvatureOf(curve.states[i], c.axis), c.expected,
                            c.tolerance * c.expected);
            }
            if (c.quantity == kPeak) value = std::max(value, m);
        }
        for (const CurveMark& mark : curve.marks)
            if (c.quantity == kFirstYield && mark.kind == CurveMarkKind::FirstYield)
                value = mark.moment;
        if (c.quantity != kStiffness) {
            EXPECT_NEAR(value, c.expected, c.tolerance * c.expected);
        }
    }
}

TEST_F(MomentCurvatureSolverTest, PeaksAgreeWithTheInteractionDiagram) {
    // A column 500 deep by 300 wide of Concrete02 and Steel02 with twelve bars, so that the
    // moments about y and z differ.
    FrameSectionModel m;
    const int concrete = m.Material(ConcreteLaw(kMatConcrete02, -30, -0.002, -6, -0.006, 3, 1500));
    const int steel = m.Material(SteelLaw(kMatSteel02, 400, kEs, 0.01, 18));
    TSECTION& s = m.Rectangle("C500", kNonlinearBeamColumn, 500, 300, concrete, 10, 10);
    m.ColumnBars(s, steel, 40, 4, 1256, 2, 628);
    const AnalysisSection section =
        PrepareAnalysisSection(s.Name, ScriptSectionOf(m.model, 1, steel).Fibers, m.model);
    const double squash = SquashLoad(section);
    for (BendingAxis axis : {BendingAxis::Y, BendingAxis::Z}) {
        for (double p : {0.1 * squash, 0.3 * squash, 0.5 * squash}) {
            SCOPED_TRACE(p);
            InteractionSampling sampling;
            sampling.axialForces = {p};
            double diagram = std::nan("");
            for (const InteractionPoint& point : ComputeInteraction(section, axis, sampling).points)
                if (point.kind == InteractionPointKind::Positive &&
                    std::fabs(point.force.P - p) <= 1e-9 * -squash)
                    diagram = axis == BendingAxis::Y ? point.force.My : point.force.Mz;
            double peak = 0;
            for (const SectionState& state : RunCurve(m, axis, p).states)
                peak = std::max(peak, MomentOf(state, axis));
            EXPECT_NEAR(peak, diagram, 0.03 * diagram);
        }
    }
}

} // namespace
} // namespace vandra::testing
