// Moment-curvature runs of frame sections in the real solver, as vandra-cli mcurv and the section
// analysis window make them: against closed form (an elastic section, a plastic steel rectangle,
// the first yield of a steel rectangle and of a doubly reinforced column) and against the
// interaction diagram the core computes for the same section.
#include "SolverSupport.h"

#include "../sections/FrameSectionModel.h"
#include "post/SectionResults.h"
#include "sections/MaterialResponse.h"
#include "sections/ScriptSection.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace vandra::testing {
namespace {

struct Ran {
    MomentCurvaturePlan plan;
    MomentCurvatureCurve curve;
};

Ran RunCurve(const FrameSectionModel& m, const MomentCurvatureRequest& request) {
    Ran r{PlanMomentCurvature(m.model, m.settings, request), {}};
    const SolverRun run = RunSolver(r.plan.script);
    ExpectCleanRun(run, "the moment-curvature run of " + r.plan.name);
    r.curve = ReadMomentCurvature(r.plan, run.Folder().string(), run.Console());
    EXPECT_EQ(r.curve.failure, "") << run.Console();
    if (r.curve.states.empty()) return r;
    const SectionState& last = r.curve.states.back();
    if (!r.plan.stopAtLimit) {
        EXPECT_EQ(r.curve.states.size(), static_cast<size_t>(request.steps) + 1);
        EXPECT_NEAR(CurvatureOf(last, request.axis), r.plan.targetCurvature,
                    1e-9 * r.plan.targetCurvature);
        return r;
    }
    // The curve ends with its first fiber at the limit of its strain range.
    double reach = 0;
    for (const AnalysisFiber& f : r.plan.fibers.fibers) {
        const double strain =
            last.plane.axial - f.y * last.plane.curvatureZ + f.z * last.plane.curvatureY;
        const StrainRange range =
            AnalysisStrainRange(r.plan.fibers.mats[static_cast<size_t>(f.mat)]);
        reach = std::max({reach, strain / range.compression, strain / range.tension});
    }
    EXPECT_NEAR(reach, 1, 1e-9);
    return r;
}

double Peak(const Ran& r) {
    double peak = 0;
    for (const SectionState& s : r.curve.states)
        peak = std::max(peak, MomentOf(s, r.plan.request.axis));
    return peak;
}

double Mark(const Ran& r, CurveMarkKind kind) {
    for (const CurveMark& m : r.curve.marks)
        if (m.kind == kind) return m.moment;
    ADD_FAILURE() << "no mark " << CurveMarkName(kind);
    return std::nan("");
}

TMAT Elastic(double e, double g) {
    TMAT m;
    m.Name = "EL";
    m.MatType = kMatElastic;
    m.E = e;
    m.G = g;
    return m;
}

constexpr double kFy = 250, kEs = 200000;

// A plastic steel rectangle 400 deep (z) by 200 wide (y) in 40 by 40 cells: at ten yield strains
// at the outermost cells the innermost are still elastic (with all of them yielded, and no
// hardening, the section would have no stiffness left).
FrameSectionModel SteelRectangle() {
    FrameSectionModel m;
    m.Rectangle("PLATE", kNonlinearBeamColumn, 400, 200,
                m.Material(SteelLaw(kMatSteel01, kFy, kEs, 0)), 40, 40);
    return m;
}

// The moment at which the outermost of n cells over the depth h (its centre at h/2 (1 - 1/n))
// reaches the yield strain, the cells' moment of inertia being w h^3 / 12 (1 - 1/n^2).
double FirstYieldOfCells(double w, double h, int n) {
    return kFy * w * h * h * h / 12 * (1 - 1.0 / (n * n)) / (h / 2 * (1 - 1.0 / n));
}

// A column 500 deep by 300 wide of Concrete01 (Ec 30000, no tension) with two rows of three bars
// of 400 at 40 from the top and bottom faces, Steel01 of fy 400.
FrameSectionModel DoublyReinforcedColumn() {
    FrameSectionModel m;
    const int concrete = m.Material(ConcreteLaw(kMatConcrete01, -30, -0.002, -6, -0.006));
    const int steel = m.Material(SteelLaw(kMatSteel01, 400, kEs, 0.01));
    TSECTION& s = m.Rectangle("RC500", kNonlinearBeamColumn, 500, 300, concrete, 3, 50);
    m.ColumnBars(s, steel, 40, 3, 1200);
    return m;
}

// Its first-yield moment about y by the transformed cracked section: concrete linear with
// Ec = 2 fpc / epsc0, no tension, the bars at n = Es / Ec (the fibers leave the concrete under the
// compression bars in place, so n rather than n - 1 there too).
double CrackedFirstYield() {
    const double b = 300, d = 460, dc = 40, as = 1200, ec = 30000, n = kEs / ec;
    // b c^2 / 2 + n as (c - dc) = n as (d - c)
    const double qa = b / 2, qb = 2 * n * as, qc = -n * as * (d + dc);
    const double c = (-qb + std::sqrt(qb * qb - 4 * qa * qc)) / (2 * qa);
    const double cracked =
        b * c * c * c / 3 + n * as * (c - dc) * (c - dc) + n * as * (d - c) * (d - c);
    const double curvature = 400 / kEs / (d - c);
    return ec * curvature * cracked;
}

enum class Quantity { Stiffness, Peak, FirstYield };

struct Case {
    std::string what;
    FrameSectionModel model;
    BendingAxis axis;
    double axial;
    std::optional<double> maxCurvature;
    Quantity quantity;
    double expected, tolerance; // relative
};

class MomentCurvatureSolverTest : public SolverTest {};

TEST_F(MomentCurvatureSolverTest, CurvesMatchClosedForm) {
    FrameSectionModel elastic;
    elastic.Rectangle("EL600", kElasticBeamColumn, 600, 300, elastic.Material(Elastic(kEs, 8e4)), 1,
                      1);
    // 300 x 600: I33 = 300 600^3 / 12 = 5.4e9 about y, I22 = 600 300^3 / 12 = 1.35e9 about z;
    // the axial load changes nothing.
    const std::vector<Case> cases = {
        {"elastic about y", elastic, BendingAxis::Y, -1e6, 1e-5, Quantity::Stiffness, kEs * 5.4e9,
         1e-9},
        {"elastic about z", elastic, BendingAxis::Z, 0, 2e-5, Quantity::Stiffness, kEs * 1.35e9,
         1e-9},
        {"plastic about y",
         SteelRectangle(),
         BendingAxis::Y,
         0,
         {},
         Quantity::Peak,
         kFy * 200 * 400 * 400 / 4,
         0.01},
        {"plastic about z",
         SteelRectangle(),
         BendingAxis::Z,
         0,
         {},
         Quantity::Peak,
         kFy * 400 * 200 * 200 / 4,
         0.01},
        {"steel first yield about y",
         SteelRectangle(),
         BendingAxis::Y,
         0,
         {},
         Quantity::FirstYield,
         FirstYieldOfCells(200, 400, 40),
         0.01},
        {"steel first yield about z",
         SteelRectangle(),
         BendingAxis::Z,
         0,
         {},
         Quantity::FirstYield,
         FirstYieldOfCells(400, 200, 40),
         0.01},
        {"reinforced first yield",
         DoublyReinforcedColumn(),
         BendingAxis::Y,
         0,
         {},
         Quantity::FirstYield,
         CrackedFirstYield(),
         0.05},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MomentCurvatureRequest request;
        request.section = 1;
        request.axis = c.axis;
        request.axial = c.axial;
        request.maxCurvature = c.maxCurvature;
        const Ran r = RunCurve(c.model, request);
        switch (c.quantity) {
        case Quantity::Stiffness:
            for (size_t i = 1; i < r.curve.states.size(); ++i)
                EXPECT_NEAR(MomentOf(r.curve.states[i], c.axis) /
                                CurvatureOf(r.curve.states[i], c.axis),
                            c.expected, c.tolerance * c.expected)
                    << "step " << i;
            break;
        case Quantity::Peak:
            EXPECT_NEAR(Peak(r), c.expected, c.tolerance * c.expected);
            break;
        case Quantity::FirstYield:
            EXPECT_NEAR(Mark(r, CurveMarkKind::FirstYield), c.expected, c.tolerance * c.expected);
            break;
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
        for (double share : {0.1, 0.3, 0.5}) {
            SCOPED_TRACE((axis == BendingAxis::Y ? "about y at " : "about z at ") +
                         std::to_string(share) + " of the squash load");
            InteractionSampling sampling;
            sampling.axialForces = {share * squash};
            double diagram = std::nan("");
            for (const InteractionPoint& p : ComputeInteraction(section, axis, sampling).points)
                if (p.kind == InteractionPointKind::Positive &&
                    std::fabs(p.force.P - share * squash) <= 1e-9 * -squash)
                    diagram = axis == BendingAxis::Y ? p.force.My : p.force.Mz;
            MomentCurvatureRequest request;
            request.section = 1;
            request.axis = axis;
            request.axial = share * squash;
            EXPECT_NEAR(Peak(RunCurve(m, request)), diagram, 0.03 * diagram);
        }
    }
}

} // namespace
} // namespace vandra::testing
