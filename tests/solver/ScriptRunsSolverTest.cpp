// Generated scripts in the real solver where the check is more than a value against closed form:
// nonlinear laws that yield or carry no tension, seen step by step through the pushover.
#include "PostRuns.h"


#include <sstream>

namespace vandra::testing {
namespace {

ScriptLineList Script(TModel model, const std::vector<std::string>& sets) {
    TSettings settings;
    for (const std::string& s : sets)
        AssignSetting(model, settings, s);
    ScriptLineList lines;
    GenerateScript(model, settings, lines);
    return lines;
}

// The (displacement of joint 2 along dof, force) pairs printed after each analysis step, from
// the last "pushover" banner on: `analyze` runs its steps one at a time and prints them.
std::vector<std::pair<double, double>> Steps(const TModel& model,
                                             const std::vector<std::string>& sets, int dof,
                                             const std::string& force) {
    ScriptLineList lines = {"rename analyze analyzeAll", "proc analyze {n} {",
                            "  for {set i 0} {$i < $n} {incr i} {",
                            "    if {[analyzeAll 1] != 0} { return -1 }", "    reactions",
                            "    puts \"STEP [nodeDisp 2 " + std::to_string(dof) + "] [expr {" +
                                force + "}]\"",
                            "  }", "  return 0", "}"};
    for (std::string_view line : Script(model, sets))
        lines.push_back(line);
    const SolverRun run = RunSolver(lines);
    ExpectCleanRun(run, sets.back());
    std::vector<std::pair<double, double>> steps;
    std::istringstream in(run.Console());
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with("pushover")) steps.clear();
        double u = 0, f = 0;
        if (line.starts_with("STEP ") && std::istringstream(line.substr(5)) >> u >> f)
            steps.emplace_back(u, f);
    }
    return steps;
}

class ScriptRunsSolverTest : public SolverTest {};

// A reinforced concrete cantilever pushed 100 mm at its top under gravity: a tangent of the last
// ten steps under a tenth of the first step's secant once its laws yield, the same when elastic.
// A concrete truss (no bars) stretched past cracking carries nothing; compressed, it does.
TEST_F(ScriptRunsSolverTest, NonlinearLawsYieldAndConcreteCarriesNoTension) {
    const TModel cantilever = ModelFile("rc_cantilever.s2k");
    const std::vector<std::string> push = {"AnalysisType=3", "LoadCase=1",   "LoadVector=2",
                                           "ControlNode=2",  "ControlDof=1", "ControlDisp=1",
                                           "AnalysisStep=100"};
    for (const auto& [laws, yields] :
         {std::pair{std::vector<std::string>{"Mats[CONC].MatType=1"}, false},
          {{"Mats[CONC].MatType=5", "Mats[STEEL].MatType=4"}, true},
          {{"Mats[CONC].MatType=3", "Mats[STEEL].MatType=2"}, true}}) {
        std::vector<std::string> sets = push;
        sets.insert(sets.end(), laws.begin(), laws.end());
        const auto s = Steps(cantilever, sets, 1, "-[nodeReaction 1 1]");
        ASSERT_EQ(s.size(), 100u) << laws.back();
        const double initial = s[0].second / s[0].first;
        const double last = (s[99].second - s[89].second) / (s[99].first - s[89].first);
        EXPECT_NEAR(s[99].first, 100, 1e-6);
        EXPECT_TRUE(yields ? last < 0.1 * initial : std::abs(last / initial - 1) < 1e-3)
            << laws.back() << ": " << initial << " then " << last;
    }
    const TModel truss = ModelFile("concrete_truss.s2k");
    for (const char* law : {"Mats[CONC].MatType=3", "Mats[CONC].MatType=5"})
        for (const char* step : {"1.5", "-1.5"}) { // to a strain of 0.005 either way
            const auto s = Steps(truss,
                                 {"AnalysisType=2", "ControlNode=2", "ControlDof=3",
                                  std::string("ControlDisp=") + step, "AnalysisStep=10",
                                  "Sections[TBAR].BarTop=0", "Sections[TBAR].BarNumNX=0",
                                  "Sections[TBAR].BarBot=0", "Sections[TBAR].BarNumNY=0", law},
                                 3, "[lindex [eleForce 2] 2]");
            ASSERT_EQ(s.size(), 10u) << law;
            if (step[0] == '-') { EXPECT_GT(s[0].second, 1000) << law << " carries compression"; }
            else EXPECT_NEAR(s.back().second, 0, 1e-6) << law << " carries tension";
        }
}

} // namespace
} // namespace vandra::testing
