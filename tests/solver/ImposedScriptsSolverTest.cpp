// Hand-written scripts in the real solver: each uniaxial law on a strain ramp (a zero-length
// element whose far node follows the imposed strain) and a fiber section under imposed strain
// planes (a zero-length section element), so that the section analysis and the solver speak of the
// same forces with the same signs. (An oscillator under a record reaches the spectral displacement
// VANDRA computes: SuitePoolSolverTest.)
#include "SolverSupport.h"

#include "../sections/FiberSectionBuilder.h"
#include "model/MaterialLaws.h"
#include "sections/MaterialResponse.h"
#include "sections/SectionForces.h"

#include <algorithm>
#include <cmath>
#include <charconv>
#include <map>
#include <string>
#include <vector>

namespace vandra::testing {
namespace {

std::string Exact(double v) {
    char text[32]; // the shortest text that reads back as v
    return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

// "uniaxialMaterial LAW tag params..." with the parameters in the order of the law table, as the
// script writer lists them.
std::string MaterialLine(const TMAT& m, int tag) {
    const MaterialLaw* law = FindMaterialLaw(m.MatType);
    std::string line = "uniaxialMaterial " + std::string(law->name) + " " + std::to_string(tag);
    if (m.MatType == kMatElastic) return line + " " + Exact(m.E);
    for (const MaterialParam& p : law->params)
        line += " " + Exact(m.*p.field);
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
                   "integrator LoadControl " + Exact(1.0 / steps), "analysis Static",
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
    TMAT elastic;
    elastic.MatType = kMatElastic;
    elastic.E = 30000;
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
        sps.push_back("sp " + node + " 1 " + Exact(cases[i].second));
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
        script.push_back("  fiber " + Exact(f.FibY) + " " + Exact(f.FibZ) + " " + Exact(f.FibArea) +
                         " " + std::to_string(f.FibMat));
    script.push_back("}");
    std::vector<std::string> sps;
    for (size_t i = 0; i < planes.size(); ++i) {
        const std::string fixed = std::to_string(2 * i + 1), moving = std::to_string(2 * i + 2);
        script.insert(script.end(),
                      {"node " + fixed + " 0 0 0", "node " + moving + " 0 0 0",
                       "fix " + fixed + " 1 1 1 1 1 1", "fix " + moving + " 0 1 1 1 0 0",
                       "element zeroLengthSection " + std::to_string(i + 1) + " " + fixed + " " +
                           moving + " 1 -orient 1 0 0 0 1 0"});
        sps.insert(sps.end(), {"sp " + moving + " 1 " + Exact(planes[i].axial),
                               "sp " + moving + " 5 " + Exact(planes[i].curvatureY),
                               "sp " + moving + " 6 " + Exact(planes[i].curvatureZ)});
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


} // namespace
} // namespace vandra::testing
