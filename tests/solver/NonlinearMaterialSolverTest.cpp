// Fiber sections of Concrete02 and Steel02 materials in the real solver: a reinforced concrete
// cantilever yields under a pushover, and a truss of concrete carries no tension.
#include "SolverSupport.h"

#include "document/SettingsByName.h"
#include "import/S2kImport.h"
#include "tcl/ScriptGenerator.h"

#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace vandra::testing {
namespace {

// Two joints three metres apart, the lower fixed; N and mm.
std::string TwoJointModel(const std::string& upperRestraint, const std::string& sections,
                          const std::string& frames, const std::string& loads) {
    return "SYSTEM\n  DOF=UX,UY,UZ,RX,RY,RZ  LENGTH=MM  FORCE=N  PAGE=SECTIONS\n\n"
           "JOINT\n  1  X=0  Y=0  Z=0\n  2  X=0  Y=0  Z=3000\n\n"
           "RESTRAINT\n  ADD=1  DOF=U1,U2,U3,R1,R2,R3\n" +
           upperRestraint +
           "\nMATERIAL\n"
           "  NAME=STEEL  IDES=S  M=7.85E-09  W=7.7E-05\n    T=0  E=200000  U=0.3  A=1.17E-05\n"
           "  NAME=CONC  IDES=C  M=2.4E-09  W=2.4E-05\n    T=0  E=25000  U=0.2  A=1.0E-05\n\n"
           "FRAME SECTION\n" +
           sections + "\nFRAME\n" + frames + "\nLOAD\n" + loads;
}

// The script of the model after the assignments, every analysis step followed by a line
// "STEP <displacement of joint 2 along dof> <force>", force being the Tcl expression given.
ScriptLineList SteppedScript(const std::string& s2k, const std::vector<std::string>& sets, int dof,
                             const std::string& force) {
    TModel model = ImportS2k(SplitS2kLines(s2k));
    TSettings settings;
    for (const std::string& s : sets)
        AssignSetting(model, settings, s);
    ScriptLineList lines = {"rename analyze analyzeAll",
                            "proc analyze {n} {",
                            "  for {set i 0} {$i < $n} {incr i} {",
                            "    if {[analyzeAll 1] != 0} { return -1 }",
                            "    reactions",
                            "    puts \"STEP [nodeDisp 2 " + std::to_string(dof) + "] [expr {" +
                                force + "}]\"",
                            "  }",
                            "  return 0",
                            "}"};
    ScriptLineList script;
    GenerateScript(model, settings, script);
    for (std::string_view line : script)
        lines.push_back(line);
    return lines;
}

// The (displacement, force) pairs of the steps printed after the last "pushover" banner (or all).
std::vector<std::pair<double, double>> Steps(const std::string& console) {
    std::vector<std::pair<double, double>> steps;
    std::istringstream in(console);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("pushover", 0) == 0) steps.clear();
        if (line.rfind("STEP ", 0) != 0) continue;
        std::istringstream fields(line.substr(5));
        double u = 0, f = 0;
        if (fields >> u >> f) steps.emplace_back(u, f);
    }
    return steps;
}

class NonlinearMaterialSolverTest : public SolverTest {};

TEST_F(NonlinearMaterialSolverTest, ReinforcedConcreteCantileverYieldsUnderPushover) {
    const std::string s2k = TwoJointModel("", "  NAME=NCOL400  MAT=CONC  SH=R  T=400,400\n",
                                          "  1  J=1,2  SEC=NCOL400  NSEG=2  ANG=0\n",
                                          "  NAME=GRAV\n    TYPE=FORCE\n      ADD=2  UZ=-400000\n"
                                          "  NAME=PUSH\n    TYPE=FORCE\n      ADD=2  UX=100000\n");
    // Gravity from the first case, the push from the second: 100 steps of 1 mm at the top.
    const std::vector<std::string> pushover = {"AnalysisType=3",  "LoadCase=1",   "LoadVector=2",
                                               "ControlNode=2",   "ControlDof=1", "ControlDisp=1",
                                               "AnalysisStep=100"};
    struct Case {
        const char* name;
        std::vector<std::string> materials;
        bool yields;
    };
    const Case cases[] = {
        {"elastic", {}, false},
        {"Concrete02 and Steel02", {"Mats[CONC].MatType=5", "Mats[STEEL].MatType=4"}, true},
        {"Concrete01 and Steel01", {"Mats[CONC].MatType=3", "Mats[STEEL].MatType=2"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> sets = pushover;
        sets.insert(sets.end(), c.materials.begin(), c.materials.end());
        const SolverRun run = RunSolver(SteppedScript(s2k, sets, 1, "-[nodeReaction 1 1]"));
        ExpectCleanRun(run, c.name);
        const auto steps = Steps(run.Console());
        ASSERT_EQ(steps.size(), 100u) << run.Console();
        // Secant stiffness of the first step against the tangent of the last ten.
        const double initial = steps[0].second / steps[0].first;
        const double last =
            (steps[99].second - steps[89].second) / (steps[99].first - steps[89].first);
        EXPECT_NEAR(steps[99].first, 100, 1e-6);
        if (c.yields)
            EXPECT_LT(last, 0.1 * initial) << "no yielding: " << initial << " then " << last;
        else
            EXPECT_NEAR(last / initial, 1, 1e-3);
    }
}

TEST_F(NonlinearMaterialSolverTest, ConcreteTrussCarriesNoTension) {
    // An elastic steel column keeps the joint stable; the concrete truss beside it has no bars.
    const std::string s2k = TwoJointModel(
        "  ADD=2  DOF=U1,U2,R1,R2,R3\n",
        "  NAME=ECOL  MAT=STEEL  SH=R  T=100,100\n  NAME=TBAR  MAT=CONC  SH=R  T=100,100\n",
        "  1  J=1,2  SEC=ECOL  NSEG=2  ANG=0\n  2  J=1,2  SEC=TBAR  NSEG=2  ANG=0\n",
        "  NAME=PULL\n    TYPE=FORCE\n      ADD=2  UZ=1000\n");
    for (const char* law : {"3", "5"}) {
        SCOPED_TRACE(law);
        for (const char* step : {"1.5", "-1.5"}) {
            // 10 steps to a strain of +/- 0.005, well past cracking and past the concrete's peak.
            const std::vector<std::string> sets = {"AnalysisType=2",
                                                   "ControlNode=2",
                                                   "ControlDof=3",
                                                   std::string("ControlDisp=") + step,
                                                   "AnalysisStep=10",
                                                   std::string("Mats[CONC].MatType=") + law,
                                                   "Sections[TBAR].BarTop=0",
                                                   "Sections[TBAR].BarNumNX=0",
                                                   "Sections[TBAR].BarBot=0",
                                                   "Sections[TBAR].BarNumNY=0"};
            const SolverRun run = RunSolver(SteppedScript(s2k, sets, 3, "[lindex [eleForce 2] 2]"));
            ExpectCleanRun(run, law);
            const auto steps = Steps(run.Console());
            ASSERT_EQ(steps.size(), 10u) << run.Console();
            if (step[0] == '-')
                EXPECT_GT(steps[0].second, 1000) << "the concrete carries compression";
            else
                EXPECT_NEAR(steps.back().second, 0, 1e-6) << "tension in a concrete truss";
        }
    }
}

} // namespace
} // namespace vandra::testing
