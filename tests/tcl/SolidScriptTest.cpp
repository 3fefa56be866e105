// Scripts of models with solids: three-dof nodes, twins of shared joints, the solid material and
// element tags after the frames and shells.
#include "ScriptTestSupport.h"

#include "model/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace vandra;
using namespace vandra::testing;

namespace {

// Joints 1..10: a column 1-2, a shell 2-3-4-5 and a brick on 3..10, so joints 3, 4 and 5 are
// shared between the shell and the brick and 6..10 belong to the brick only.
TModel MixedModel() {
    TModel m = SmallColumnModel();
    m.NodeCount = 10;
    m.Nodes.resize(11);
    for (int j = 3; j <= 10; ++j) {
        m.Nodes[j].X = 1000.0 * (j % 2);
        m.Nodes[j].Z = 3000 + 1000.0 * (j / 7);
    }
    m.Nodes[7].Restraint = {0, 1, 1, 1, 1, 1, 1};
    m.Nodes[8].Mass = {0, 5, 5, 5, 1, 1, 1};
    m.Mats[1].U = 0.2;
    m.AreaSecCount = 1;
    m.AreaSecs.resize(2);
    m.AreaSecs[1] = {200, 1, 1, "WALL", 0, kShellMITC4};
    m.ShellCount = 1;
    m.Shells.resize(2);
    m.Shells[1].SecIdx = 1;
    m.Shells[1].N1 = 2;
    m.Shells[1].N2 = 3;
    m.Shells[1].N3 = 4;
    m.Shells[1].N4 = 5;
    m.SolidCount = 1;
    m.Solids.resize(2);
    m.Solids[1].SecNo = 100;
    m.Solids[1].N = {0, 3, 4, 5, 6, 7, 8, 9, 10};
    m.LoadCaseCount = 1;
    m.LoadCaseNames = {"", "DEAD"};
    m.LoadCount = 2;
    m.Loads.resize(3);
    m.Loads[1] = {9, kJointForce, 1, 0, 0, 0, -10, 3, 0, 0};
    m.Loads[2] = {3, kJointForce, 1, 0, 0, 0, -10, 3, 0, 0};
    return m;
}

size_t Find(const ScriptLineList& lines, const std::string& line) {
    return static_cast<size_t>(std::find(lines.begin(), lines.end(), line) - lines.begin());
}

// The first line that starts with `start`.
size_t FindTag(const ScriptLineList& lines, const std::string& start) {
    return static_cast<size_t>(
        std::find_if(lines.begin(), lines.end(),
                     [&](std::string_view line) { return line.rfind(start, 0) == 0; }) -
        lines.begin());
}

} // namespace

TEST(SolidScript, SharedJointsGetTiedTwinsAndSolidOnlyJointsThreeDof) {
    TModel model = MixedModel();
    ScriptLineList lines;
    WarningList warnings;
    GenerateScript(model, TSettings(), lines, &warnings);

    const size_t three = Find(lines, "model BasicBuilder -ndm 3 -ndf 3");
    const size_t six = Find(lines, "model BasicBuilder -ndm 3 -ndf 6");
    ASSERT_LT(three, six);
    ASSERT_LT(six, Find(lines, "puts \"material\""));
    EXPECT_LT(FindTag(lines, "node 5 "), three);
    // Joints 6..10 in the three-dof block, then the twins 11, 12, 13 of joints 3, 4, 5.
    for (int tag = 6; tag <= 13; ++tag)
        EXPECT_EQ(FindTag(lines, "node " + std::to_string(tag) + " "), three + tag - 5);
    EXPECT_EQ(six, three + 9);

    for (const char* expected : {
             "mass 8 5.000E+000 5.000E+000 5.000E+000",
             "fix 7 1 1 1;",
             "equalDOF 3 11 1 2 3",
             "equalDOF 4 12 1 2 3",
             "equalDOF 5 13 1 2 3",
             "element ShellMITC4 2 2 3 4 5 701",
             "element stdBrick 3 11 12 13 6 7 8 9 10 1",
             "load 9 0.000E+000 0.000E+000 -1.000E+001",
             "load 3 0.000E+000 0.000E+000 -1.000E+001 3.000E+000 0.000E+000 0.000E+000",
         })
        EXPECT_LT(Find(lines, expected), lines.size()) << expected;
    // The plate fibers of material 1 have defined its ElasticIsotropic already.
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         "nDMaterial ElasticIsotropic 1 3.000E+004 2.000E-001"),
              1);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].What, "1 joint load(s) put moments on joints that only solids use");

    const std::string complaint = StandInComplaint(lines);
    if (complaint == "no tclsh") GTEST_SKIP() << complaint;
    EXPECT_EQ(complaint, "");
}

TEST(SolidScript, SolidMaterialIsItsPropertyNumberWhenThatIsAMaterial) {
    struct Case {
        int secNo;
        const char* material; // the ElasticIsotropic line
        const char* brick;
        size_t warnings;
    };
    const Case cases[] = {
        {2, "nDMaterial ElasticIsotropic 2 2.000E+005 3.000E-001",
         "element stdBrick 3 11 12 13 6 7 8 9 10 2", 0},
        {7, "nDMaterial ElasticIsotropic 1 3.000E+004 2.000E-001",
         "element stdBrick 3 11 12 13 6 7 8 9 10 1", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.secNo);
        TModel model = MixedModel();
        model.MatCount = 2;
        model.Mats.resize(3);
        model.Mats[2] = {"STEEL", 1, 200000, 0.3, 76923};
        model.Solids[1].SecNo = c.secNo;
        model.LoadCount = 0;
        TSettings settings;
        settings.GenPlateFiber = false;
        ScriptLineList lines;
        WarningList warnings;
        GenerateScript(model, settings, lines, &warnings);
        EXPECT_EQ(
            std::count_if(lines.begin(), lines.end(),
                          [](std::string_view line) { return line.rfind("nDMaterial", 0) == 0; }),
            1);
        EXPECT_LT(Find(lines, c.material), lines.size());
        EXPECT_LT(Find(lines, c.brick), lines.size());
        ASSERT_EQ(warnings.size(), c.warnings);
        if (c.warnings == 1)
            EXPECT_EQ(FormatWarning(warnings[0]), "Solid property 7 is no material of the model; "
                                                  "its solids are made of material 1 (C30)");
    }
}

// A rigid beam ties solid joint 6 to frame joint 1: the twin of joint 6 follows joint 1 itself, as
// a constraint hung on another one is lost by the solver's transformation handler.
TEST(SolidScript, TwinOfARigidBeamEndFollowsTheRetainedEnd) {
    TModel model = MixedModel();
    model.SectionCount = 2;
    model.Sections.resize(3);
    model.Sections[2] = model.Sections[1];
    model.Sections[2].Name = "R1";
    model.Sections[2].FrameType = kRigidBeam;
    model.FrameCount = 2;
    model.Frames.resize(3);
    model.Frames[2] = model.Frames[1];
    model.Frames[2].NodeI = 6;
    model.Frames[2].NodeJ = 1;
    model.Frames[2].SecIdx = 2;
    model.Frames[2].Release = kReleaseJ;
    model.Nodes[6].LinkNode = 1;
    const ScriptLineList lines = Generate(model);
    // Joints 3, 4, 5 and 6 have twins 11 to 14.
    for (const char* expected :
         {"equalDOF 1 6 1 2 3", "equalDOF 3 11 1 2 3", "equalDOF 1 14 1 2 3",
          "node 14 0.000E+000 0.000E+000 0.000E+000", "element stdBrick 4 11 12 13 14 7 8 9 10 1"})
        EXPECT_LT(Find(lines, expected), lines.size()) << expected;
    EXPECT_EQ(Find(lines, "equalDOF 6 14 1 2 3"), lines.size());
    const std::string complaint = StandInComplaint(lines);
    if (complaint == "no tclsh") GTEST_SKIP() << complaint;
    EXPECT_EQ(complaint, "");
}

TEST(SolidScript, RefusesSolidsThatCannotRun) {
    struct Case {
        const char* what;
        void (*change)(TModel&, TSettings&);
        const char* message;
    };
    const Case cases[] = {
        {"no material",
         [](TModel& m, TSettings&) {
             m.MatCount = 0;
             m.Sections[1].MatIdx = 0;
             m.AreaSecs[1].MatIdx = 0;
         },
         "The solids need a material (E and U of their nDMaterial), but the model defines none"},
        {"missing joint", [](TModel& m, TSettings&) { m.Solids[1].N[5] = 11; },
         "Solid 1 refers to joint 11, which does not exist"},
        {"solid joint in a diaphragm",
         [](TModel& m, TSettings&) {
             m.DiaphCount = 1;
             m.Diaphs.resize(2);
             m.Diaphs[1].Master = 2;
             m.Diaphs[1].SlaveCount = 2;
             m.Diaphs[1].DiaNodes = {0, 1, 10};
         },
         "Joint 10 belongs to a solid and follows rigid diaphragm 1; a solid's joint cannot follow "
         "a diaphragm: take it out of the diaphragm"},
        {"rotation of a solid joint pushed",
         [](TModel&, TSettings& s) {
             s.AnalysisType = kSingleDisplacementControl;
             s.ControlNode = 9;
             s.ControlDof = 5;
         },
         "Control DOF 5 is a rotation, but joint 9 belongs to solids only, whose nodes have "
         "translations 1 to 3 only"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TModel model = MixedModel();
        TSettings settings;
        c.change(model, settings);
        ScriptLineList lines = {"previous"};
        try {
            GenerateScript(model, settings, lines);
            ADD_FAILURE() << "no refusal";
        } catch (const InputError& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
        EXPECT_EQ(lines, ScriptLineList{"previous"});
    }
}
