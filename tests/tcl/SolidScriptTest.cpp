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
