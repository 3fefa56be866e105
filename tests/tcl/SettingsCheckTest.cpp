// Settings refused before a script is written, the degrees of freedom that carry mass, the eigen
// solver chosen, and what the model check tells about a generated script.
#include "ScriptTestSupport.h"

#include "document/SettingsByName.h"
#include "import/S2kImport.h"
#include "model/Errors.h"
#include "tcl/SettingsCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace vandra;
using namespace vandra::testing;

namespace {

TSettings With(TModel& model, std::initializer_list<const char*> assignments) {
    TSettings settings;
    for (const char* a : assignments)
        AssignSetting(model, settings, a);
    return settings;
}

bool Has(const ScriptLineList& lines, std::string_view line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::string Joined(const WarningList& warnings) {
    std::string all;
    for (const TWarning& w : warnings)
        all += FormatWarning(w) + "\n";
    return all;
}

} // namespace

TEST(SettingsCheck, SettingsTheAnalysisDoesNotUseAreNotChecked) {
    // Load control ignores the control node and the modal count; elastic frames ignore the
    // integration points and the rebar material.
    TModel column = SmallColumnModel();
    EXPECT_NO_THROW(
        CheckSettings(column, With(column, {"ControlNode=999", "ControlDof=9", "ModalNumber=-1",
                                            "NumIntgrPts=0", "RebarMat=99", "LoadVector=7"})));
    // A model without load cases still writes the default first case, as an empty pattern.
    EXPECT_NO_THROW(CheckSettings(column, TSettings()));
}

TEST(SettingsCheck, DegreesOfFreedomThatCarryMass) {
    struct Case {
        const char* what;
        void (*build)(TModel&);
        int massDofs;
    };
    // Four joints in a square around joint 5, free unless a case fixes them.
    const std::vector<Case> cases = {
        {"no masses", [](TModel&) {}, 0},
        {"one joint with three masses", [](TModel& m) { m.Nodes[1].Mass = {0, 1, 1, 1, 0, 0, 0}; },
         3},
        {"a fixed direction carries nothing",
         [](TModel& m) {
             m.Nodes[1].Mass = {0, 1, 1, 1, 0, 0, 0};
             m.Nodes[1].Restraint = {0, 0, 0, 1, 0, 0, 0};
         },
         2},
        {"a diaphragm of masses in x and y: two translations and the twist",
         [](TModel& m) {
             for (int i = 1; i <= 4; ++i)
                 m.Nodes[size_t(i)].Mass = {0, 2, 2, 0, 0, 0, 0};
         },
         3},
        {"a diaphragm of masses in x only on a line through the master: one translation",
         [](TModel& m) {
             m.Nodes[1].Mass = {0, 2, 0, 0, 0, 0, 0};
             m.Nodes[3].Mass = {0, 2, 0, 0, 0, 0, 0};
             m.Nodes[1].Y = m.Nodes[3].Y = m.Nodes[5].Y;
         },
         1},
        {"rotational masses of a solid's joint are not counted",
         [](TModel& m) {
             m.Nodes[1].Mass = {0, 1, 1, 1, 1, 1, 1};
             m.SolidCount = 1;
             m.Solids.resize(2);
             m.Solids[1].N = {0, 1, 2, 3, 4, 1, 2, 3, 4};
         },
         3},
        {"vertical masses of tied joints stay their own",
         [](TModel& m) {
             for (int i = 1; i <= 4; ++i)
                 m.Nodes[size_t(i)].Mass = {0, 2, 2, 3, 0, 0, 0};
         },
         7},
    };
    for (const Case& c : cases) {
        TModel m;
        m.NodeCount = 5;
        m.Nodes.resize(6);
        const double xy[6][2] = {{0, 0}, {0, 0}, {4, 0}, {4, 4}, {0, 4}, {2, 2}};
        for (size_t i = 1; i <= 5; ++i) {
            m.Nodes[i].X = xy[i][0];
            m.Nodes[i].Y = xy[i][1];
        }
        m.DiaphCount = 1;
        m.Diaphs.resize(2);
        m.Diaphs[1].Master = 5;
        m.Diaphs[1].DiaNodes = {0, 1, 2, 3, 4};
        m.Diaphs[1].SlaveCount = 4;
        if (std::string_view(c.what).find("diaphragm") == std::string_view::npos &&
            std::string_view(c.what).find("tied") == std::string_view::npos)
            m.DiaphCount = 0;
        c.build(m);
        EXPECT_EQ(MassDofCount(m), c.massDofs) << c.what;
    }
    TModel frame = TwoStoreyFrame();
    EXPECT_EQ(MassDofCount(frame), 6);
}

TEST(SettingsCheck, EigenSolverDeliversEveryAcceptedModeCount) {
    TModel model = TwoStoreyFrame();
    for (int modes = 1; modes <= 6; ++modes) {
        TSettings settings = With(model, {"AnalysisType=4"});
        settings.ModalNumber = modes;
        const ScriptLineList lines = Generate(model, settings);
        // The iterative solver needs twice the modes in degrees of freedom that carry mass.
        EXPECT_TRUE(Has(lines, modes <= 3 ? "set lambda [eigen  $numModes]"
                                          : "set lambda [eigen -fullGenLapack $numModes]"))
            << modes;
    }
    // The damping of the time histories asks for two modes: four degrees of freedom with mass
    // let the iterative solver do it, three need the dense one.
    TModel m = SmallColumnModel();
    m.Nodes[2].Mass = {0, 1, 1, 1, 1, 0, 0};
    const TSettings timeHistory = With(m, {"AnalysisType=5"});
    EXPECT_TRUE(Has(Generate(m, timeHistory), "set lambdaN [eigen [expr $nEigenJ]];"));
    m.Nodes[2].Mass[4] = 0;
    EXPECT_TRUE(
        Has(Generate(m, timeHistory), "set lambdaN [eigen -fullGenLapack [expr $nEigenJ]];"));
}

TEST(SettingsCheck, LargeModelsGetTheIterativeSolverOnly) {
    // 600 joints along x, each with a mass in x: 3600 equations, too many for the dense solver.
    TModel m = SmallColumnModel();
    m.NodeCount = 600;
    m.Nodes.assign(601, TNODE());
    for (size_t i = 1; i <= 600; ++i) {
        m.Nodes[i].X = double(i);
        m.Nodes[i].Mass[1] = 1;
    }
    EXPECT_EQ(MassDofCount(m), 600);
    EXPECT_EQ(MaxModes(m), 300);
    TSettings settings = With(m, {"AnalysisType=4", "ModalNumber=301"});
    EXPECT_THROW(CheckSettings(m, settings), InputError);
    settings.ModalNumber = 300;
    EXPECT_NO_THROW(CheckSettings(m, settings));
}

TEST(SettingsCheck, MultipleSupportWarnsAboutFreeJoints) {
    TModel frame = TwoStoreyFrame(); // joints 1 to 4 are fixed supports
    const TSettings settings = With(frame, {"AnalysisType=7"});
    WarningList warnings;
    ScriptLineList lines;
    GenerateScript(frame, settings, lines, &warnings);
    EXPECT_TRUE(warnings.empty()) << Joined(warnings);
    frame.Nodes[3].Restraint[1] = 0;
    GenerateScript(frame, settings, lines, &warnings);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(FormatWarning(warnings[0]),
              "MultipleSupport Excitation imposes ground motions on joints 1 to 4 in direction 1, "
              "but joint 3 is not restrained in direction 1; the imposedMotion lines were written "
              "as they are: edit them to name the supports of the model");
}

TEST(SettingsCheck, PushoverHoldsGravityBeforeThePush) {
    TModel model = TwoStoreyFrame();
    const ScriptLineList lines =
        Generate(model, With(model, {"AnalysisType=3", "LoadVector=2", "ControlNode=21"}));
    const auto at = [&](std::string_view line) {
        return std::find(lines.begin(), lines.end(), line) - lines.begin();
    };
    EXPECT_LT(at("analyze 100"), at("loadConst -time 0.0"));
    EXPECT_EQ(at("loadConst -time 0.0") + 1, at("puts \"pushover\""));
}

TEST(ScriptSafety, LoadsOnFramesWithoutAnElementAreLeftOutWithAWarning) {
    TModel model = TwoStoreyFrame();
    model.Frames[1].SecIdx = 0; // its section name matched nothing
    TLOAD load;
    load.Kind = kFrameDistributed;
    load.Target = 1;
    load.CaseIdx = 1;
    load.Dir = 3;
    load.FX = 5;
    model.Loads.push_back(load);
    load.Kind = kJointForce;
    load.Target = 77;
    model.Loads.push_back(load);
    model.LoadCount += 2;
    WarningList warnings;
    ScriptLineList lines;
    GenerateScript(model, TSettings(), lines, &warnings);
    for (std::string_view line : lines) {
        EXPECT_FALSE(line.starts_with("eleLoad -ele 1 ")) << line;
        EXPECT_FALSE(line.starts_with("element ") && line.find(" 1 1 7") != std::string::npos)
            << line;
        EXPECT_FALSE(line.starts_with("load 77 ")) << line;
    }
    EXPECT_EQ(Joined(warnings),
              "Load 22 of load case \"DEAD\" (on frame 1) acts on a frame whose section matches "
              "no frame section, so it has no element; it was left out of the script\n"
              "Load 23 of load case \"DEAD\" (on joint 77) acts on a joint that does not exist; "
              "it was left out of the script\n");
    // A case the analysis does not write warns about nothing.
    warnings.clear();
    GenerateScript(model, With(model, {"LoadCase=2"}), lines, &warnings);
    EXPECT_TRUE(warnings.empty()) << Joined(warnings);
}

TEST(ScriptSafety, NamesAreInertInComments) {
    struct Case {
        std::string name;
        std::string written;
    };
    const std::vector<Case> cases = {
        {"DEAD", "DEAD"},
        {"DEAD\\", "DEAD?"},
        {"A\\\\", "A??"},
        {"A\\B", "A\\B"},
        {std::string("X\x1AY"), "X?Y"},
        {"A\rB\nC\tD", "A?B?C?D"},
        {std::string("\x7F\xE9t\xE9"), std::string("?\xE9t\xE9")},
    };
    for (const Case& c : cases) {
        TModel model = TwoStoreyFrame();
        model.LoadCaseNames[1] = c.name;
        model.Sections[1].Name = c.name;
        model.Sections[1].FrameType = kNonlinearBeamColumn;
        WarningList warnings;
        ScriptLineList lines;
        GenerateScript(model, TSettings(), lines, &warnings);
        EXPECT_TRUE(Has(lines, "## Load Case = " + c.written)) << c.written;
        EXPECT_TRUE(Has(lines, "##" + c.written + " ")) << c.written;
        EXPECT_EQ(warnings.size(), c.name == c.written ? 0u : 2u) << Joined(warnings);
        if (c.name != c.written)
            EXPECT_NE(Joined(warnings).find("Load case 1 name \"" + c.written +
                                            "\" holds control characters or ends in a backslash; "
                                            "each was replaced by '?' in the script's comment"),
                      std::string::npos)
                << Joined(warnings);
    }
}
