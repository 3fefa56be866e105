// The section analysis against the real solver: each uniaxial law on a strain ramp (a zero-length
// element whose far node follows the imposed strain), and the forces of a fiber section under
// imposed strain planes (a zero-length section element), so that the diagram and the solver's
// moment-curvature runs speak of the same forces with the same signs.
#include "SolverSupport.h"

#include "../sections/FiberSectionBuilder.h"
#include "model/MaterialLaws.h"
#include "sections/MaterialResponse.h"
#include "sections/SectionForces.h"

#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace vandra::testing {
namespace {

std::string Exact(double v) {
    std::ostringstream out;
    out.precision(17);
    out << v;
    return out.str();
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

// The analysis that imposes the pattern's displacements in `steps` equal steps, printing
// "S <case> <values>" after each step; `values` is a Tcl expression list for case $c.
std::vector<std::string> ImposedRun(int cases, int steps, const std::string& values) {
    return {"system BandGeneral",
            "numberer Plain",
            "constraints Penalty 1e20 1e20",
            "test NormDispIncr 1e-12 50 0",
            "algorithm Newton",
            "integrator LoadControl " + Exact(1.0 / steps),
            "analysis Static",
            "for {set s 1} {$s <= " + std::to_string(steps) + "} {incr s} {",
            "  if {[analyze 1] != 0} { puts \"step $s failed\"; break }",
            "  for {set c 1} {$c <= " + std::to_string(cases) + "} {incr c} {",
            "    puts \"S $c " + values + "\"",
            "  }",
            "}"};
}

// The rows printed as "S <case> <numbers>", by case.
std::map<int, std::vector<std::vector<double>>> Rows(const std::string& console) {
    std::map<int, std::vector<std::vector<double>>> rows;
    std::istringstream in(console);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("S ", 0) != 0) continue;
        std::istringstream fields(line.substr(2));
        int c = 0;
        fields >> c;
        std::vector<double> numbers;
        for (double v = 0; fields >> v;)
            numbers.push_back(v);
        rows[c].push_back(numbers);
    }
    return rows;
}

class SectionAnalysisSolverTest : public SolverTest {};

TEST_F(SectionAnalysisSolverTest, MonotonicLawsFollowTheSolverMaterials) {
    struct Case {
        const char* what;
        TMAT mat;
        double strain; // the end of the ramp
        double scale;  // a stress of the law's size, for values near zero
    };
    TMAT elastic;
    elastic.MatType = kMatElastic;
    elastic.E = 30000;
    const TMAT steel01 = SteelLaw(kMatSteel01, 400, 200000, 0.02);
    const TMAT steel02 = SteelLaw(kMatSteel02, 400, 200000, 0.02, 18);
    const TMAT concrete01 = ConcreteLaw(kMatConcrete01, -30, -0.002, -6, -0.006);
    const TMAT concrete02 = ConcreteLaw(kMatConcrete02, -30, -0.002, -6, -0.006, 3, 1500);
    TMAT early = ConcreteLaw(kMatConcrete02, -40, -0.0025, -30, -0.002, 2, 400);
    const std::vector<Case> cases = {
        {"Elastic", elastic, -0.01, 300},
        {"Steel01 in tension", steel01, 0.03, 400},
        {"Steel01 in compression", steel01, -0.03, 400},
        {"Steel02 in tension", steel02, 0.03, 400},
        {"Steel02 in compression", steel02, -0.03, 400},
        {"Concrete01 in compression", concrete01, -0.01, 30},
        {"Concrete01 in tension", concrete01, 0.002, 30},
        {"Concrete02 in compression", concrete02, -0.01, 30},
        {"Concrete02 in tension", concrete02, 0.004, 3},
        {"Concrete02 crushing before its peak", early, -0.004, 40},
        {"Concrete02 softening slowly", early, 0.01, 2},
    };
    const int steps = 100;
    std::vector<std::string> script = {"model BasicBuilder -ndm 1 -ndf 1", "node 1 0.0", "fix 1 1"};
    std::vector<std::string> pattern = {"pattern Plain 1 Linear {"};
    for (size_t i = 0; i < cases.size(); ++i) {
        const std::string tag = std::to_string(i + 1), node = std::to_string(i + 2);
        script.push_back(MaterialLine(cases[i].mat, static_cast<int>(i + 1)));
        script.push_back("node " + node + " 0.0");
        script.push_back("element zeroLength " + tag + " 1 " + node + " -mat " + tag + " -dir 1");
        pattern.push_back("  sp " + node + " 1 " + Exact(cases[i].strain));
    }
    pattern.push_back("}");
    script.insert(script.end(), pattern.begin(), pattern.end());
    const std::vector<std::string> run =
        ImposedRun(static_cast<int>(cases.size()), steps,
                   "[nodeDisp [expr {$c + 1}] 1] [lindex [eleResponse $c force] 1]");
    script.insert(script.end(), run.begin(), run.end());

    const SolverRun result = RunSolver(script);
    ExpectCleanRun(result, "the material ramps");
    auto rows = Rows(result.Console());
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const std::vector<std::vector<double>>& ramp = rows[static_cast<int>(i + 1)];
        EXPECT_EQ(ramp.size(), static_cast<size_t>(steps)) << c.what;
        for (const std::vector<double>& row : ramp) {
            ASSERT_EQ(row.size(), 2u) << c.what;
            const double strain = row[0], stress = row[1];
            EXPECT_NEAR(MonotonicStress(c.mat, strain), stress,
                        0.005 * std::fabs(stress) + 1e-9 * c.scale)
                << c.what << " at strain " << strain;
        }
    }
}

TEST_F(SectionAnalysisSolverTest, SectionForcesFollowTheSolverFiberSection) {
    const FiberSectionBuilder b = ReinforcedLSection();
    const AnalysisSection section = b.Prepare();
    const double forceScale = -SquashLoad(section);

    struct Case {
        const char* what;
        StrainPlane plane;
    };
    const std::vector<Case> cases = {
        {"crushing", {-0.004, 0, 0}},
        {"cracked in tension", {0.003, 0, 0}},
        {"about z, yielding", {0, 0, 8e-5}},
        {"about y, yielding", {0, -3e-5, 0}},
        {"compression with both curvatures", {-0.0015, 1e-5, -2e-5}},
        {"tension with both curvatures", {0.002, -2e-5, 1.5e-5}},
    };
    const int steps = 40;
    std::vector<std::string> script = {"model BasicBuilder -ndm 3 -ndf 6"};
    for (int m = 1; m <= b.model.MatCount; ++m)
        script.push_back(MaterialLine(b.model.Mats[static_cast<size_t>(m)], m));
    script.push_back("section Fiber 1 -GJ 1.0e12 {");
    for (const TFIBER& f : b.fibers)
        script.push_back("  fiber " + Exact(f.FibY) + " " + Exact(f.FibZ) + " " + Exact(f.FibArea) +
                         " " + std::to_string(f.FibMat));
    script.push_back("}");
    std::vector<std::string> pattern = {"pattern Plain 1 Linear {"};
    for (size_t i = 0; i < cases.size(); ++i) {
        const std::string tag = std::to_string(i + 1);
        const std::string fixed = std::to_string(2 * i + 1), moving = std::to_string(2 * i + 2);
        script.push_back("node " + fixed + " 0 0 0");
        script.push_back("node " + moving + " 0 0 0");
        script.push_back("fix " + fixed + " 1 1 1 1 1 1");
        script.push_back("fix " + moving + " 0 1 1 1 0 0");
        script.push_back("element zeroLengthSection " + tag + " " + fixed + " " + moving +
                         " 1 -orient 1 0 0 0 1 0");
        const StrainPlane& p = cases[i].plane;
        pattern.push_back("  sp " + moving + " 1 " + Exact(p.axial));
        pattern.push_back("  sp " + moving + " 5 " + Exact(p.curvatureY));
        pattern.push_back("  sp " + moving + " 6 " + Exact(p.curvatureZ));
    }
    pattern.push_back("}");
    script.insert(script.end(), pattern.begin(), pattern.end());
    const std::vector<std::string> run =
        ImposedRun(static_cast<int>(cases.size()), steps,
                   "[eleResponse $c section deformation] [eleResponse $c section force]");
    script.insert(script.end(), run.begin(), run.end());

    const SolverRun result = RunSolver(script);
    ExpectCleanRun(result, "the imposed strain planes");
    auto rows = Rows(result.Console());
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const std::vector<std::vector<double>>& history = rows[static_cast<int>(i + 1)];
        ASSERT_EQ(history.size(), static_cast<size_t>(steps)) << c.what;
        const std::vector<double>& last = history.back();
        ASSERT_EQ(last.size(), 8u) << c.what; // P kz ky T deformations, then the forces
        // The solver's deformations are P, kappa z, kappa y: the plane imposed, but for the give
        // of the penalty constraints.
        const StrainPlane solved = {last[0], last[2], last[1]};
        auto close = [](double solved, double imposed, double size) {
            return std::fabs(solved - imposed) <= 1e-5 * std::fabs(imposed) + 1e-8 / size;
        };
        EXPECT_TRUE(close(solved.axial, c.plane.axial, 1)) << c.what;
        EXPECT_TRUE(close(solved.curvatureY, c.plane.curvatureY, 600)) << c.what;
        EXPECT_TRUE(close(solved.curvatureZ, c.plane.curvatureZ, 600)) << c.what;
        // The same sums of the same stresses: equal but for rounding, on the scale of the
        // squash load and of its moment over the section's size.
        const SectionForce f = IntegrateSection(section, solved);
        EXPECT_NEAR(f.P, last[4], 1e-6 * forceScale) << c.what;
        EXPECT_NEAR(f.Mz, last[5], 1e-6 * forceScale * 600) << c.what;
        EXPECT_NEAR(f.My, last[6], 1e-6 * forceScale * 600) << c.what;
    }
}

} // namespace
} // namespace vandra::testing
