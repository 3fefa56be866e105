// Every bundled example under every analysis type runs to the end in the real solver, with no
// WARNING and no Tcl error.
#include "SolverSupport.h"

#include "document/SettingsByName.h"
#include "import/S2kImport.h"
#include "tcl/ScriptGenerator.h"
#include "tcl/SettingsCheck.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace vandra::testing {
namespace {

namespace fs = std::filesystem;

const fs::path kSource(VANDRA_SOURCE_DIR);

// The ground-motion records the time-history templates name.
std::vector<fs::path> GroundMotions() {
    return {kSource / "tests/data/GMX.txt", kSource / "tests/data/DM1X.txt"};
}

struct Example {
    const char* file;
    // What the displacement-control types need: a push case other than the gravity case and a
    // free joint to control.
    std::vector<const char*> pushSettings;
    // The example carries no masses: the modal and dynamic types get a lumped mass at every free
    // joint (the generator refuses them without).
    bool addMasses;
};

const std::vector<Example> kExamples = {
    {"two_storey_frame.s2k",
     {"LoadVector=2", "ControlNode=21", "ControlDisp=1", "AnalysisStep=50"},
     false},
    {"slab_wall.s2k", {"LoadVector=2", "ControlNode=12", "ControlDisp=0.1"}, true},
    // One load case: the gravity stage of the pushover gets none, the push presses the top.
    {"solid_block.s2k",
     {"LoadCase=0", "ControlNode=9", "ControlDof=3", "ControlDisp=-0.001"},
     false},
};

TModel Load(const Example& example) {
    return ImportS2k(ReadS2kFile((kSource / "examples" / example.file).string()));
}

void AddMasses(TModel& model) {
    for (int i = 1; i <= model.NodeCount; ++i) {
        TNODE& node = model.Nodes[static_cast<size_t>(i)];
        if (node.Restraint[1] == 0) node.Mass = {0, 0.5, 0.5, 0.5, 0, 0, 0};
    }
}

SolverRun RunScriptOf(TModel& model, const TSettings& settings) {
    ScriptLineList lines;
    GenerateScript(model, settings, lines);
    return RunSolver(lines, GroundMotions());
}

class ExampleRunsTest : public SolverTest {};

TEST_F(ExampleRunsTest, EveryExampleUnderEveryAnalysisType) {
    for (const Example& example : kExamples) {
        for (int type = kSingleLoadControl; type <= kMultipleSupport; ++type) {
            const std::string what = std::string(example.file) + " type " + std::to_string(type);
            SCOPED_TRACE(what);
            TModel model = Load(example);
            if (example.addMasses && type >= kModal) AddMasses(model);
            TSettings settings;
            settings.AnalysisType = type;
            if (type == kSingleDisplacementControl || type == kGravityPushover)
                for (const char* s : example.pushSettings)
                    AssignSetting(model, settings, s);
            settings.RecOpt = {false, true, true, true, false, type == kModal};
            settings.RecReactions = settings.RecRotations = true;
            settings.RecModalReport = type == kModal;
            if (type == kModal) settings.ModalNumber = MaxModes(model);
            const SolverRun run = RunScriptOf(model, settings);
            ExpectCleanRun(run, what);
            if (type == kModal) {
                const auto periods = ReadRecorder(run.Folder() / "Periods.txt");
                ASSERT_EQ(periods.size(), 1u);
                EXPECT_EQ(periods[0].size(), static_cast<size_t>(settings.ModalNumber));
                for (double lambda : periods[0])
                    EXPECT_TRUE(std::isfinite(lambda) && lambda > 0) << lambda;
            }
        }
    }
}

// Names that would end a comment's line early (a trailing backslash continues it over the
// pattern command) or end the sourced file (^Z) are written inert: the script runs to its end.
TEST_F(ExampleRunsTest, NamesCannotDamageTheScript) {
    TModel model = Load(kExamples[0]);
    model.LoadCaseNames[1] = "DEAD\\";
    model.Sections[1].Name = "NCOL\x1A"
                             "400\\";
    ASSERT_EQ(model.Sections[1].FrameType, kNonlinearBeamColumn); // its name is written
    WarningList warnings;
    ScriptLineList lines;
    GenerateScript(model, TSettings(), lines, &warnings);
    EXPECT_EQ(warnings.size(), 2u);
    ExpectCleanRun(RunSolver(lines), "inert names");
}

// The pushover starts from the gravity loads held constant: the push does not scale them.
TEST_F(ExampleRunsTest, PushoverHoldsTheGravityLoads) {
    TModel model = Load(kExamples[0]);
    TSettings settings;
    settings.AnalysisType = kGravityPushover;
    for (const char* s : kExamples[0].pushSettings)
        AssignSetting(model, settings, s);
    settings.RecOpt = {false, true, false, false, false, false};
    const SolverRun run = RunScriptOf(model, settings);
    ExpectCleanRun(run, "pushover");
    const auto rows = ReadRecorder(run.Folder() / "node0.out");
    const size_t gravitySteps = static_cast<size_t>(settings.LoadSteps);
    ASSERT_EQ(rows.size(), gravitySteps + static_cast<size_t>(settings.AnalysisStep));
    // Joint 13 carries a vertical load of the gravity case; its third value is at 1 + 3 * 12 + 2.
    const size_t uz13 = 1 + 3 * 12 + 2;
    const double gravity = rows[gravitySteps - 1][uz13];
    ASSERT_LT(gravity, 0);
    EXPECT_DOUBLE_EQ(rows[gravitySteps - 1][0], 1.0);
    EXPECT_LT(rows[gravitySteps][0], 0.5); // the push counts its own factor from 0
    // The first push step barely changes it (scaled with the push, it fell to a sixth).
    EXPECT_NEAR(rows[gravitySteps][uz13], gravity, 0.1 * std::abs(gravity));
    // The controlled master moves by the control displacement at every step.
    const size_t ux21 = 1 + 3 * 20;
    EXPECT_NEAR(rows.back()[ux21] - rows[gravitySteps - 1][ux21],
                settings.ControlDisp * settings.AnalysisStep, 1e-3); // six digits recorded
}

// Every modal count the generator accepts, the iterative solver's and the dense one's, runs.
TEST_F(ExampleRunsTest, EveryAcceptedModalCountRuns) {
    TModel model = Load(kExamples[0]);
    const int most = MaxModes(model);
    ASSERT_EQ(most, 6);
    for (int modes = 1; modes <= most; ++modes) {
        TSettings settings;
        settings.AnalysisType = kModal;
        settings.ModalNumber = modes;
        const SolverRun run = RunScriptOf(model, settings);
        ExpectCleanRun(run, "modes " + std::to_string(modes));
        const auto periods = ReadRecorder(run.Folder() / "Periods.txt");
        ASSERT_EQ(periods.size(), 1u);
        EXPECT_EQ(periods[0].size(), static_cast<size_t>(modes));
    }
}

} // namespace
} // namespace vandra::testing
