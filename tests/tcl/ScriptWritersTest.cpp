// What the script cases cannot reach through a model file: models of many joints, records no
// import makes (odd loads, names with control characters, broken tables).
#include "ScriptTestSupport.h"

#include "document/SettingsByName.h"
#include "model/Errors.h"
#include "tcl/SettingsCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace vandra::testing {
namespace {

using Lines = std::vector<std::string>;

Lines Starting(const ScriptLineList& lines, std::string_view prefix) {
    Lines found;
    for (std::string_view line : lines)
        if (line.starts_with(prefix)) found.emplace_back(line);
    return found;
}

std::string Joined(const WarningList& warnings) {
    std::string all;
    for (const TWarning& w : warnings)
        all += FormatWarning(w) + "\n";
    return all;
}

// n joints along X and n - 1 elastic frames between them.
TModel Chain(int nodes) {
    TModel m = ModelFile("small_column.s2k");
    m.NodeCount = nodes;
    m.Nodes.assign(size_t(nodes) + 1, TNODE());
    for (int i = 1; i <= nodes; ++i)
        m.Nodes[size_t(i)].X = i;
    m.FrameCount = std::max(nodes - 1, 0);
    m.Frames.assign(size_t(m.FrameCount) + 1, TFRAME());
    for (int f = 1; f <= m.FrameCount; ++f)
        m.Frames[size_t(f)] = {{}, 1, f, f + 1, 0, 0, 0, 1, 0, kNoRelease};
    return m;
}

// Shell sections by their place in the table, one that is no shell (ShellKind 0, which an import
// puts last) among them: plate fiber tags and shell element tags keep its gap, each shell
// material's elastic nD material is defined once, and shell tags follow the frame tags (from 1
// without frames: a script case).
TEST(ScriptWriters, ShellSectionsKeepTheirPlaceInTheTags) {
    TModel m = Chain(33); // 32 frames: the shells get tags from 33
    m.FrameCount = 10;
    m.Frames.resize(11);
    m.MatCount = 3;
    m.Mats = {TMAT(), m.Mats[1], m.Mats[1], {"C25", 1, 25000, 0.2, 25000 / 2.4}};
    m.Mats[1].U = m.Mats[2].U = 0;
    m.AreaSecs = {TAREASEC(), {200, 1, 3, "W1"}, {200, 0, 2, "OTHER"}, {200, 1, 3, "W2", 0, kShellDKGQ},
                  {200, 1, 1, "S1"}};
    m.AreaSecCount = 4;
    m.Shells = {TSHELL(), {{}, 3, 11, 12, 13, 14}, {{}, 2, 20, 21, 22, 23}, {{}, 4, 30, 31, 32, 33}};
    m.ShellCount = 3;
    ScriptLineList lines = Generate(m);
    const auto at = std::find(lines.begin(), lines.end(), "uniaxialMaterial Elastic 3 2.500E+004");
    ASSERT_LT(at + 13, lines.end());
    EXPECT_EQ(Lines(at + 1, at + 13),
              (Lines{"", "nDMaterial ElasticIsotropic 1 3.000E+004 0.000E+000",
                     "nDMaterial ElasticIsotropic 3 2.500E+004 2.000E-001", "##W1 ",
                     "nDMaterial PlateFiber 601 3", "section PlateFiber 701 601 200.00", "##W2 ",
                     "nDMaterial PlateFiber 603 3", "section PlateFiber 703 603 200.00", "##S1 ",
                     "nDMaterial PlateFiber 604 1", "section PlateFiber 704 604 200.00"}));
    EXPECT_EQ(Starting(lines, "element Shell"),
              (Lines{"element ShellDKGQ 11 11 12 13 14 703", "element ShellMITC4 13 30 31 32 33 704"}));
}

// Loads of the chosen case only; a distributed load along local 2 or 3 with the sign of the
// element's axes; no line for a case 0 load, a direction outside 1..3 or an unfilled entry, and
// none, with a warning, for a joint that does not exist. (A load on a frame without an element,
// or a free joint among the supports of a multiple support excitation: the script cases.)
TEST(ScriptWriters, LoadPatternsOfTheChosenCase) {
    TModel m = Chain(12);
    m.LoadCaseCount = 2;
    m.LoadCaseNames = {"", "DEAD", "LIVE"};
    m.Loads = {TLOAD(),
               {12, kJointForce, 1, 0, 0, 0, -10, 0, 0, 0},
               {3, kFrameDistributed, 1, 3, 5, 0, 0, 0, 0, 0},
               {3, kFrameDistributed, 0, 3, 5, 0, 0, 0, 0, 0},
               {3, kFrameDistributed, 1, 2, 5, 0, 0, 0, 0, 0},
               {2, kFrameDistributed, 1, 1, -7, 0, 0, 0, 0, 0},
               {2, kFrameDistributed, 1, 4, -7, 0, 0, 0, 0, 0},
               {1, kLoadUnfilled, 1, 1, 1, 0, 1, 0, 0, 0},
               {9, kJointForce, 2, 0, 1, 0, 0, 0, 0, 0},
               {77, kJointForce, 1, 3, 5, 0, 0, 0, 0, 0}};
    m.LoadCount = 9;
    WarningList warnings;
    ScriptLineList lines;
    TSettings live; // a case the analysis does not write warns about nothing
    live.LoadCase = 2;
    GenerateScript(m, live, lines, &warnings);
    EXPECT_TRUE(warnings.empty()) << Joined(warnings);
    GenerateScript(m, TSettings(), lines, &warnings);
    EXPECT_EQ(Joined(warnings), "Load 9 of load case \"DEAD\" (on joint 77) acts on a joint that "
                                "does not exist; it was left out of the script\n");
    const auto at = std::find(lines.begin(), lines.end(), "puts \"loading\"");
    ASSERT_LT(at + 8, lines.end());
    EXPECT_EQ(Lines(at, at + 8),
              (Lines{"puts \"loading\"", "## Load Case = DEAD", "pattern Plain 1 Linear {",
                     "load 12 0.000E+000 0.000E+000 -1.000E+001 0.000E+000 0.000E+000 0.000E+000",
                     "eleLoad -ele 3 -type -beamUniform -5.000E+000 0 0",
                     "eleLoad -ele 3 -type -beamUniform 0 5.000E+000 0",
                     "eleLoad -ele 2 -type -beamUniform 0 0 -7.000E+000", "}"}));
}

// Names that would end a comment's line early or end the sourced file are written inert.
TEST(ScriptWriters, NamesAreInertInComments) {
    const std::pair<std::string, std::string> cases[] = {
        {"DEAD", "DEAD"},
        {"DEAD\\", "DEAD?"},
        {"A\\\\", "A??"},
        {"A\\B", "A\\B"},
        {std::string("X\x1AY"), "X?Y"},
        {"A\rB\nC\tD", "A?B?C?D"},
        {std::string("\x7F\xE9t\xE9"), std::string("?\xE9t\xE9")}};
    std::vector<ScriptLineList> scripts;
    for (const auto& [name, written] : cases) {
        TModel model = ModelFile("two_storey_frame.s2k");
        model.LoadCaseNames[1] = name;
        model.Sections[1].Name = name; // a fiber section: its name is written
        WarningList warnings;
        ScriptLineList& lines = scripts.emplace_back();
        GenerateScript(model, TSettings(), lines, &warnings);
        EXPECT_EQ(Starting(lines, "## Load Case = " + written), Lines{"## Load Case = " + written});
        EXPECT_EQ(Starting(lines, "##" + written + " ").size(), 1u) << written;
        EXPECT_EQ(warnings.size(), name == written ? 0u : 2u) << Joined(warnings);
        EXPECT_EQ(name != written,
                  Joined(warnings).find("Load case 1 name \"" + written +
                                        "\" holds control characters or ends in a backslash; each "
                                        "was replaced by '?' in the script's comment") !=
                      std::string::npos)
            << Joined(warnings);
    }
    // Tcl runs each script to a last line of ours (a trailing backslash would continue the comment
    // over the next command, a ^Z end the sourced file).
    for (size_t k : {1, 2, 4})
        scripts[k].push_back("error {the end}");
    for (const std::string& complaint : StandInComplaints({&scripts[1], &scripts[2], &scripts[4]}))
        EXPECT_EQ(complaint, "the end");
}

// (How many degrees of freedom carry mass: tests/cases/tcl/mass-dofs.case.)
TEST(SettingsCheck, TheDenseEigenSolverComputesAtMostThreeHundredModes) {
    // 600 joints with a mass in x: 3600 equations, too many for the dense solver.
    TModel m = Chain(600);
    for (TNODE& n : m.Nodes)
        n.Mass[1] = 1;
    EXPECT_EQ(MaxModes(m), 300);
    TSettings settings;
    settings.AnalysisType = kModal;
    settings.ModalNumber = 301;
    EXPECT_THROW(CheckSettings(m, settings), InputError);
    settings.ModalNumber = 300;
    EXPECT_NO_THROW(CheckSettings(m, settings));
}

// Tables that disagree with their counts or refer outside themselves, and numbers the solver could
// not read (refused after the sections are derived): the message, the previous script kept and
// the model as it was.
TEST(ScriptWriters, BrokenTablesAndNumbersAreRefusedAndChangeNothing) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const struct {
        const char* model;
        const char* set;
        void (*spoil)(TModel&, TSettings&);
        const char* message;
    } cases[] = {
        {"small_column.s2k", "", [](TModel& m, TSettings&) { m.FrameCount = 2; },
         "The frame table holds 1 records but its count is 2"},
        {"small_column.s2k", "", [](TModel& m, TSettings&) { m.Frames[1].SecIdx = 2; },
         "Frame 1 refers to frame section 2, which does not exist"},
        {"small_column.s2k", "", [](TModel& m, TSettings&) { m.Nodes[2].LinkNode = 3; },
         "Joint 2 refers to joint 3, which does not exist"},
        {"small_column.s2k", "", [](TModel& m, TSettings&) { m.Sections[1].MatIdx = -1; },
         "Frame section 1 (E500X300) refers to material -1, which does not exist"},
        {"small_column.s2k", "",
         [](TModel& m, TSettings&) { m.DiaphCount = 1, m.Diaphs = {TDIAPH(), {2, {0, 1}, 0}}; },
         "Diaphragm 1 counts 2 joints but lists fewer"},
        {"two_storey_frame.s2k", "", [](TModel& m, TSettings&) { m.Sections[3].T[1] = 1e300; },
         "Frame section 3 (EIPE400): I33 is not a finite number (INF); nothing was written"},
        {"two_storey_frame.s2k", "", [](TModel& m, TSettings&) { m.Mats[2].E = kInf; },
         "Material 2 (CONC): E is not a finite number (INF); nothing was written"},
        {"two_storey_frame.s2k", "", [](TModel& m, TSettings&) { m.Nodes[4].Z = -kInf; },
         "Joint 4: Z is not a finite number (-INF); nothing was written"},
        {"two_storey_frame.s2k", "Sections[NCOL400].FrameType=2",
         [](TModel& m, TSettings&) { m.Loads[1].FZ = kInf; },
         "Load 1: a force is not a finite number (INF); nothing was written"},
        {"two_storey_frame.s2k", "Sections[NCOL400].FrameType=2",
         [](TModel& m, TSettings&) { m.Sections[1].BarTop = kInf; },
         "Frame section 1 (NCOL400): a fiber area is not a finite number (INF); nothing was "
         "written"},
        {"two_storey_frame.s2k", "", [](TModel&, TSettings& s) { s.LoadFactor = std::nan(""); },
         "Load Factor (LoadFactor): the value is not a finite number (NaN); nothing was written"},
        {"mixed.s2k", "", [](TModel& m, TSettings& s) { m.FrameCount = -1, m.Frames.clear(), s.ControlDisp = -kInf; },
         "Control Disp (ControlDisp): the value is not a finite number (-INF); nothing was "
         "written"},
    };
    for (const auto& c : cases) {
        TModel model = ModelFile(c.model);
        TSettings settings;
        if (*c.set) AssignSetting(model, settings, c.set);
        c.spoil(model, settings);
        const TModel before = model;
        ScriptLineList lines = {"previous"};
        try {
            GenerateScript(model, settings, lines);
            ADD_FAILURE() << "accepted: " << c.message;
        } catch (const InputError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_EQ(lines, ScriptLineList{"previous"});
        EXPECT_TRUE(model == before) << c.message;
    }
}

} // namespace
} // namespace vandra::testing
