// Tabular SAP2000 models in the solver: the gravity analysis of the imported model runs cleanly
// and its base reactions carry the whole applied load.
#include "SolverSupport.h"

#include "import/S2kImport.h"
#include "import/TabularImport.h"
#include "tcl/ScriptGenerator.h"

#include <cmath>
#include <sstream>
#include <string>

namespace vandra::testing {
namespace {

// Sum of the vertical load of case c: joint forces, and frame loads over their length.
double AppliedZ(const TModel& m, int c) {
    double total = 0;
    for (int l = 1; l <= m.LoadCount; ++l) {
        const TLOAD& load = m.Loads[static_cast<size_t>(l)];
        if (load.CaseIdx != c) continue;
        if (load.Kind == kJointForce) total += load.FZ;
        if (load.Kind != kFrameDistributed) continue;
        const TFRAME& f = m.Frames[static_cast<size_t>(load.Target)];
        const TNODE& a = m.Nodes[static_cast<size_t>(f.NodeI)];
        const TNODE& b = m.Nodes[static_cast<size_t>(f.NodeJ)];
        const double dx = b.X - a.X, dy = b.Y - a.Y, dz = b.Z - a.Z;
        const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
        const double z = load.Dir == 1   ? dz / length
                         : load.Dir == 2 ? f.Axis2Z
                                         : dx / length * f.Axis2Y - dy / length * f.Axis2X;
        total += load.FX * z * length;
    }
    return total;
}

class TabularGravityTest : public SolverTest {};

TEST_F(TabularGravityTest, BaseReactionsEqualTheDeadLoad) {
    const struct {
        const char* file;
        double handSum; // N, downward: from the tables; 0 where only the model's sum is checked
    } cases[] = {
        // Frames 984.754089826653 kN, slabs 150 x 36 x 0.25 x 24.99261766 kN, 38 x 30 x 6 kN.
        {"ofem-demo.s2k", (984.754089826653 + 150 * 36 * 0.25 * 24.99261766 + 38 * 30 * 6) * 1000},
        {"building-pso.$2k", 0},
        {"bridge-pso.$2k", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TModel model = ImportTabular(
            ReadS2kFile(std::string(VANDRA_SOURCE_DIR) + "/tests/data/sap-tabular/" + c.file),
            c.file);
        const double applied = AppliedZ(model, 1); // DEAD is the first pattern of each file
        ASSERT_EQ(model.LoadCaseNames[1], "DEAD");
        if (c.handSum > 0) EXPECT_NEAR(-applied, c.handSum, 1e-6 * c.handSum);
        TSettings settings;
        settings.LoadSteps = 1;
        ScriptLineList lines;
        GenerateScript(model, settings, lines);
        lines.push_back("reactions");
        lines.push_back("set fz 0.0");
        lines.push_back("foreach n [getNodeTags] { set fz [expr {$fz + [nodeReaction $n 3]}] }");
        lines.push_back("puts \"BASE FZ $fz\"");
        const SolverRun run = RunSolver(lines);
        ExpectCleanRun(run, c.file);
        const size_t at = run.Console().find("BASE FZ ");
        ASSERT_NE(at, std::string::npos) << run.Console();
        double reaction = 0;
        std::istringstream(run.Console().substr(at + 8)) >> reaction;
        // The script writes loads with four significant digits.
        EXPECT_NEAR(reaction, -applied, 5e-4 * std::abs(applied));
    }
}

} // namespace
} // namespace vandra::testing
