// Generated scripts in the real solver where the check is more than a value against closed form:
// names that must stay inert, nonlinear laws that yield or carry no tension, units that must not
// matter, section recorders of every frame type, mode shapes, the member diagram against the
// solver's own section force, and the curved frame against the elastic line.
#include "PostRuns.h"

#include "post/CurvedFrames.h"
#include "post/FrameForces.h"
#include "post/RecorderReaders.h"

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

// Names that would end a comment's line early (a trailing backslash continues it over the pattern
// command) or end the sourced file (^Z) are written inert: the script runs to its end.
TEST_F(ScriptRunsSolverTest, NamesCannotDamageTheScript) {
    TModel model = ModelFile("two_storey_frame.s2k");
    model.LoadCaseNames[1] = "DEAD\\";
    model.Sections[1].Name = "NCOL\x1A" "400\\"; // a fiber section: its name is written
    ExpectCleanRun(RunSolver(Script(model, {})), "inert names");
}

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

// A model in metres or feet and the same model in millimetres are the same structure: the
// displacements agree, in their units, within 0.1 %.
TEST_F(ScriptRunsSolverTest, MetresAndFeetGiveTheDisplacementsOfMillimetres) {
    const struct {
        const char* model;
        int joint, dof;
    } cases[] = {{"hinged_cantilever", 3, 1}, {"hinged_cantilever", 3, 2}, {"cantilever_slab", 4, 3}};
    for (const auto& c : cases) {
        double reference = 0;
        for (const auto& [unit, perMillimetre] : {std::pair{"mm", 1.0}, {"m", 0.001}, {"ft", 1 / 304.8}}) {
            const PostRun p = RunPost(ModelFile(std::string(c.model) + "_" + unit + ".s2k"),
                                      {"RecOpt=1,0,0,0,0", "LoadSteps=2"});
            const TNodeField d = ReadNodeStep(p.model, p.folder(), 2);
            const double v = (c.dof == 1 ? d.X : c.dof == 2 ? d.Y : d.Z)[size_t(c.joint)] / perMillimetre;
            if (reference == 0) reference = v;
            EXPECT_GT(std::abs(reference), 1e-3) << c.model;
            EXPECT_NEAR(v, reference, 1e-3 * std::abs(reference)) << c.model << " in " << unit;
        }
    }
}

// The section recorders of every frame type, with and without the aggregator, read back: beams
// with hinges give end J from their section 6, elastic beams nothing; the mode shapes of a modal
// run move the roof.
TEST_F(ScriptRunsSolverTest, SectionFilesOfEveryFrameTypeAndModeShapesReadBack) {
    for (const char* aggregator : {"UseAggregator=0", "UseAggregator=1"}) {
        const PostRun p = RunPost(ModelFile("two_storey_frame.s2k"),
                                  {"AnalysisType=1", "LoadCase=1", "LoadSteps=5", "RecOpt=1,1,1,0,0",
                                   "Sections[EIPE400].FrameType=4", aggregator});
        for (int component = 1; component <= 3; ++component) {
            const TFrameEnds ends = ReadSectionStep(p.model, p.settings, p.folder(), 5, component);
            EXPECT_TRUE(ends.Any && ends.HasJ[13] && !ends.HasI[21]) << aggregator;
        }
    }
    const PostRun modal = RunPost(ModelFile("two_storey_frame.s2k"),
                                  {"AnalysisType=4", "ModalNumber=3", "RecOpt=1,0,0,0,1"});
    for (int m = 1; m <= 3; ++m) {
        const TNodeField shape = ReadModeShape(modal.model, modal.folder(), m);
        EXPECT_NE(shape.X[21] * shape.X[21] + shape.Y[21] * shape.Y[21], 0) << m;
    }
}

// Gravity on the example's beams, then a displacement-controlled push with gravity held: the
// diagram of a force-based beam at mid-span is its middle integration point's section force
// (N, Mz, My as the solver gives them), in the gravity steps and in the push steps.
TEST_F(ScriptRunsSolverTest, DiagramIsTheSolversSectionForceThroughAPushover) {
    PostRun p = RunPost(ModelFile("two_storey_frame.s2k"),
                        {"AnalysisType=3", "LoadCase=1", "LoadVector=2", "LoadSteps=5",
                         "ControlNode=21", "ControlDof=1", "ControlDisp=0.5", "AnalysisStep=6",
                         "RecOpt=0,1,0,0,0", "Sections[EIPE400].FrameType=2"},
                        {"recorder Element -file mid.out -time -ele 13 section 2 force"});
    const std::vector<std::vector<double>> mid = ReadRecorder(p.run.Folder() / "mid.out");
    ASSERT_EQ(mid.size(), 11u);
    const TFrameLoads loads(p.model, p.settings);
    TMemberDiagram d;
    for (int step : {3, 5, 6, 11}) {
        const TFrameForces forces = ReadFrameForces(p.model, p.settings, p.folder(), step);
        EXPECT_DOUBLE_EQ(forces.Factors.LoadCase, step <= 5 ? forces.Time : 1.0) << step;
        ASSERT_TRUE(BuildFrameDiagram(p.model, loads, forces, 13, d));
        const std::vector<double>& section = mid[size_t(step - 1)]; // t P Mz My T
        ASSERT_EQ(section.size(), 5u);
        const double half = d.Length() / 2;
        EXPECT_NEAR(d.At(kForceN, half), section[1], 1e-3 * std::abs(section[1]) + 1) << step;
        EXPECT_NEAR(d.At(kForceMz, half), section[2], 1e-3 * std::abs(section[2]) + 1e3) << step;
        EXPECT_NEAR(d.At(kForceMy, half), section[3], 1e-3 * std::abs(section[3]) + 1e3) << step;
    }
}

// The cantilever of tests/data drawn curved from its ends' displacements and rotations is the
// elastic line: at mid-length 5 P L^3 / 48 E I in each bending plane, a quarter of the way up
// P x^2 (3 L - x) / 6 E I; drawn straight, half the tip's deflection.
TEST_F(ScriptRunsSolverTest, CurvedCantileverIsTheElasticLine) {
    const PostRun p =
        RunPost(ImportS2k(ReadS2kFile(std::string(VANDRA_SOURCE_DIR) +
                                      "/tests/data/cantilever_elastic/cantilever.s2k")),
                {"AnalysisType=1", "LoadSteps=2", "RecOpt=1,0,0,0,0"});
    const TNodeField disp = ReadNodeStep(p.model, p.folder(), 2);
    const TNodeField rot = ReadNodeRotationStep(p.model, p.folder(), 2);
    // Tip loads 2000 N along X (about the 200 mm deep axis) and 1000 N along Y; L 2000, E 200000.
    const double l = 2000, e = 200000, ix = 100.0 * 200 * 200 * 200 / 12,
                 iy = 200.0 * 100 * 100 * 100 / 12, scale = 10;
    const auto motion = [&](size_t j) {
        return TJointMotion{{disp.X[j], disp.Y[j], disp.Z[j]}, {rot.X[j], rot.Y[j], rot.Z[j]}};
    };
    EXPECT_NEAR(rot.Y[2], 2000 * l * l / (2 * e * ix), 1e-3 * 2000 * l * l / (2 * e * ix));
    Vec3 points[5];
    CurvedFrame(FrameGeometryOf(p.model, 1), motion(1), motion(2), scale, true, 5, points);
    const double midX = 5 * 2000 * l * l * l / (48 * e * ix), x = l / 4;
    EXPECT_NEAR(points[2][0], scale * midX, 1e-3 * scale * midX);
    EXPECT_NEAR(points[2][1], scale * 5 * 1000 * l * l * l / (48 * e * iy),
                1e-3 * scale * 5 * 1000 * l * l * l / (48 * e * iy));
    EXPECT_NEAR(points[2][2], l / 2, 1e-6 * l);
    EXPECT_NEAR(points[1][0], scale * 2000 * x * x * (3 * l - x) / (6 * e * ix), 1e-3 * scale * midX);
    CurvedFrame(FrameGeometryOf(p.model, 1), motion(1), motion(2), scale, false, 5, points);
    EXPECT_NEAR(points[2][0], scale * disp.X[2] / 2, 1e-9);
}

} // namespace
} // namespace vandra::testing
