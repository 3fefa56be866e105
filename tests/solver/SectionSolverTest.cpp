// Sections in the real solver: each uniaxial law on a strain ramp (a zero-length element whose far
// node follows the imposed strain) and a fiber section under imposed strain planes (a zero-length
// section element), so that the section analysis and the solver speak of the same forces with the
// same signs; moment-curvature runs against closed form (an elastic section, a plastic steel
// rectangle, the first yield of a doubly reinforced column) and against the interaction diagram.
// (An oscillator under a record reaches the spectral displacement VANDRA computes:
// SuiteSolverTest.)
#include "SolverSupport.h"

#include "../sections/FiberSectionBuilder.h"
#include "../sections/FrameSectionModel.h"
#include "model/MaterialLaws.h"
#include "model/NumberText.h"
#include "post/SectionResults.h"
#include "sections/MaterialResponse.h"
#include "sections/ScriptSection.h"
#include "sections/SectionForces.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vandra::testing {
namespace {

using text::FormatGeneral; // numbers into the scripts to 15 significant digits

// "uniaxialMaterial LAW tag params..." with the parameters in the order of the law table, as the
// script writer lists them.
std::string MaterialLine(const TMAT& m, int tag) {
    const MaterialLaw* law = FindMaterialLaw(m.MatType);
    std::string line = "uniaxialMaterial " + std::string(law->name) + " " + std::to_string(tag);
    if (m.MatType == kMatElastic) return line + " " + FormatGeneral(m.E);
    for (const MaterialParam& p : law->params)
        line += " " + FormatGeneral(m.*p.field);
    return line;
}

// Runs the model lines with the displacements of `sps` ("sp node dof value", one pattern) imposed
// in `steps` equal steps, printing after each step `values` (Tcl, for case $c) of each case. Fails
// the test on a WARNING or Tcl error; returns the rows of numbers of each case.
std::map<int, std::vector<std::vector<double>>> RunImposed(std::vector<std::string> script,
                                                           const std::vector<std::string>& sps,
                                                           size_t cases, int steps,
                                                           const std::string& values) {
    script.push_back("pattern Plain 1 Linear {");
    script.insert(script.end(), sps.begin(), sps.end());
    script.insert(script.end(),
                  {"}", "system BandGeneral", "numberer Plain", "constraints Penalty 1e20 1e20",
                   "test NormDispIncr 1e-12 50 0", "algorithm Newton",
                   "integrator LoadControl " + FormatGeneral(1.0 / steps), "analysis Static",
                   "set f [open rows.txt w]",
                   "for {set s 1} {$s <= " + std::to_string(steps) + "} {incr s} {",
                   "  if {[analyze 1] != 0} { puts \"step $s failed\"; break }",
                   "  for {set c 1} {$c <= " + std::to_string(cases) + "} {incr c} {",
                   "    puts $f \"$c " + values + "\"", "  }", "}", "close $f"});
    const SolverRun run = RunSolver(ScriptLineList(script.begin(), script.end()));
    ExpectCleanRun(run, "the imposed strains");
    std::map<int, std::vector<std::vector<double>>> rows;
    for (std::vector<double>& row : ReadRecorder(run.Folder() / "rows.txt"))
        rows[int(row[0])].emplace_back(row.begin() + 1, row.end());
    return rows;
}

class ImposedScriptsSolverTest : public SolverTest {};

TEST_F(ImposedScriptsSolverTest, MonotonicLawsFollowTheSolverMaterials) {
    const TMAT elastic = ElasticLaw(30000);
    const TMAT steel01 = SteelLaw(kMatSteel01, 400, 200000, 0.02);
    const TMAT steel02 = SteelLaw(kMatSteel02, 400, 200000, 0.02, 18);
    const TMAT concrete01 = ConcreteLaw(kMatConcrete01, -30, -0.002, -6, -0.006);
    const TMAT concrete02 = ConcreteLaw(kMatConcrete02, -30, -0.002, -6, -0.006, 3, 1500);
    // Crushing before its peak, softening slowly in tension.
    const TMAT odd = ConcreteLaw(kMatConcrete02, -40, -0.0025, -30, -0.002, 2, 400);
    // Each law ramped from zero to a strain well past its last branch, either way.
    const std::vector<std::pair<TMAT, double>> cases = {
        {elastic, -0.01},    {steel01, 0.03},     {steel01, -0.03},    {steel02, 0.03},
        {steel02, -0.03},    {concrete01, -0.01}, {concrete01, 0.002}, {concrete02, -0.01},
        {concrete02, 0.004}, {odd, -0.004},       {odd, 0.01}};
    const int steps = 300;
    std::vector<std::string> script = {"model BasicBuilder -ndm 1 -ndf 1", "node 1 0.0", "fix 1 1"};
    std::vector<std::string> sps;
    for (size_t i = 0; i < cases.size(); ++i) {
        const std::string tag = std::to_string(i + 1), node = std::to_string(i + 2);
        script.push_back(MaterialLine(cases[i].first, static_cast<int>(i + 1)));
        script.push_back("node " + node + " 0.0");
        script.push_back("element zeroLength " + tag + " 1 " + node + " -mat " + tag + " -dir 1");
        sps.push_back("sp " + node + " 1 " + FormatGeneral(cases[i].second));
    }
    auto rows = RunImposed(script, sps, cases.size(), steps,
                           "[nodeDisp [expr {$c + 1}] 1] [lindex [eleResponse $c force] 1]");
    for (size_t i = 0; i < cases.size(); ++i) {
        const TMAT& mat = cases[i].first;
        const std::vector<std::vector<double>>& ramp = rows[static_cast<int>(i + 1)];
        EXPECT_EQ(ramp.size(), static_cast<size_t>(steps)) << "case " << i;
        for (const std::vector<double>& row : ramp) {
            ASSERT_EQ(row.size(), 2u);
            // The solver's own formulas, so equal but for rounding (a looser 0.5 % would let a
            // Steel02 with R0 a tenth off pass).
            const double strength = std::max({mat.Fy, -mat.fpc, mat.E * 0.01});
            EXPECT_NEAR(MonotonicStress(mat, row[0]), row[1],
                        1e-6 * std::fabs(row[1]) + 1e-9 * strength)
                << "case " << i << " at strain " << row[0];
        }
    }
}

TEST_F(ImposedScriptsSolverTest, SectionForcesFollowTheSolverFiberSection) {
    const FiberSectionBuilder b = ReinforcedLSection();
    const AnalysisSection section = b.Prepare();
    // Crushing, cracked, yielding about either axis, both curvatures in compression and tension.
    const std::vector<StrainPlane> planes = {{-0.004, 0, 0},         {0.003, 0, 0},
                                             {0, 0, 8e-5},           {0, -3e-5, 0},
                                             {-0.0015, 1e-5, -2e-5}, {0.002, -2e-5, 1.5e-5}};
    const int steps = 40;
    std::vector<std::string> script = {"model BasicBuilder -ndm 3 -ndf 6"};
    for (int m = 1; m <= b.model.MatCount; ++m)
        script.push_back(MaterialLine(b.model.Mats[static_cast<size_t>(m)], m));
    script.push_back("section Fiber 1 -GJ 1.0e12 {");
    for (const TFIBER& f : b.fibers)
        script.push_back("  fiber " + FormatGeneral(f.FibY) + " " + FormatGeneral(f.FibZ) + " " +
                         FormatGeneral(f.FibArea) + " " + std::to_string(f.FibMat));
    script.push_back("}");
    std::vector<std::string> sps;
    for (size_t i = 0; i < planes.size(); ++i) {
        const std::string fixed = std::to_string(2 * i + 1), moving = std::to_string(2 * i + 2);
        script.insert(script.end(),
                      {"node " + fixed + " 0 0 0", "node " + moving + " 0 0 0",
                       "fix " + fixed + " 1 1 1 1 1 1", "fix " + moving + " 0 1 1 1 0 0",
                       "element zeroLengthSection " + std::to_string(i + 1) + " " + fixed + " " +
                           moving + " 1 -orient 1 0 0 0 1 0"});
        sps.insert(sps.end(), {"sp " + moving + " 1 " + FormatGeneral(planes[i].axial),
                               "sp " + moving + " 5 " + FormatGeneral(planes[i].curvatureY),
                               "sp " + moving + " 6 " + FormatGeneral(planes[i].curvatureZ)});
    }
    auto rows = RunImposed(script, sps, planes.size(), steps,
                           "[eleResponse $c section deformation] [eleResponse $c section force]");
    const double scale = -SquashLoad(section); // and times the section's size for moments
    for (size_t i = 0; i < planes.size(); ++i) {
        const std::vector<std::vector<double>>& history = rows[static_cast<int>(i + 1)];
        ASSERT_EQ(history.size(), static_cast<size_t>(steps)) << "plane " << i;
        // Deformations P, kappa z, kappa y, twist (as reached through the penalty constraints),
        // then forces P, Mz, My, T: the same sums of the same stresses, equal but for rounding.
        const std::vector<double>& last = history.back();
        ASSERT_EQ(last.size(), 8u) << "plane " << i;
        const SectionForce f = IntegrateSection(section, {last[0], last[2], last[1]});
        EXPECT_NEAR(f.P, last[4], 1e-6 * scale) << "plane " << i;
        EXPECT_NEAR(f.Mz, last[5], 1e-6 * scale * 600) << "plane " << i;
        EXPECT_NEAR(f.My, last[6], 1e-6 * scale * 600) << "plane " << i;
    }
}

// The curve of a clean run: it reaches the curvature asked for, or ends with its first fiber at
// the limit of its strain range.
MomentCurvatureCurve RunCurve(const FrameSectionModel& m, BendingAxis axis, double axial,
                              std::optional<double> maxCurvature = {}) {
    const MomentCurvatureRequest request{1, axial, axis, maxCurvature};
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

// Curves against closed form (an elastic section, a plastic steel rectangle, the first yield of a
// doubly reinforced column) and against the interaction diagram.
TEST_F(MomentCurvatureSolverTest, CurvesMatchClosedFormAndTheInteractionDiagram) {
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
    // A column 500 deep by 300 wide of Concrete02 and Steel02 with twelve bars, so that the
    // moments about y and z differ: its peaks under an axial load are the interaction diagram's.
    FrameSectionModel rc;
    const int steel = rc.Material(SteelLaw(kMatSteel02, 400, kEs, 0.01, 18));
    rc.ColumnBars(
        rc.Rectangle("C500", kNonlinearBeamColumn, 500, 300,
                     rc.Material(ConcreteLaw(kMatConcrete02, -30, -0.002, -6, -0.006, 3, 1500)), 10,
                     10),
        steel, 40, 4, 1256, 2, 628);
    const AnalysisSection section =
        PrepareAnalysisSection("C500", ScriptSectionOf(rc.model, 1, steel).Fibers, rc.model);
    const double squash = SquashLoad(section);
    const auto diagram = [&](BendingAxis axis, double p) {
        InteractionSampling sampling;
        sampling.axialForces = {p};
        for (const InteractionPoint& point : ComputeInteraction(section, axis, sampling).points)
            if (point.kind == InteractionPointKind::Positive &&
                std::fabs(point.force.P - p) <= 1e-9 * -squash)
                return axis == BendingAxis::Y ? point.force.My : point.force.Mz;
        return std::nan("");
    };
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
        {rc, BendingAxis::Y, 0.1 * squash, {}, kPeak, diagram(BendingAxis::Y, 0.1 * squash), 0.03},
        {rc, BendingAxis::Y, 0.3 * squash, {}, kPeak, diagram(BendingAxis::Y, 0.3 * squash), 0.03},
        {rc, BendingAxis::Y, 0.5 * squash, {}, kPeak, diagram(BendingAxis::Y, 0.5 * squash), 0.03},
        {rc, BendingAxis::Z, 0.1 * squash, {}, kPeak, diagram(BendingAxis::Z, 0.1 * squash), 0.03},
        {rc, BendingAxis::Z, 0.3 * squash, {}, kPeak, diagram(BendingAxis::Z, 0.3 * squash), 0.03},
        {rc, BendingAxis::Z, 0.5 * squash, {}, kPeak, diagram(BendingAxis::Z, 0.5 * squash), 0.03},
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

} // namespace
} // namespace vandra::testing
