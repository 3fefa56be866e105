// Tabular SAP2000 models in the solver: the gravity analysis of the imported model runs cleanly
// and its base reactions carry the whole applied load.
#include "CorpusFiles.h"
#include "SolverSupport.h"
#include "import/ModelTotals.h"

#include "import/S2kImport.h"
#include "import/TabularImport.h"
#include "tcl/ScriptGenerator.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>

namespace vandra::testing {
namespace {

class TabularGravityTest : public SolverTest {};

TEST_F(TabularGravityTest, BaseReactionsEqualTheDeadLoad) {
    if (!vandra::testing::HaveCorpus()) GTEST_SKIP() << "no corpus";
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
        TModel model = ImportTabular(ReadS2kFile(vandra::testing::CorpusFile(c.file)), c.file);
        const double applied = TotalZ(model, 1); // DEAD is the first pattern of each file
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

// Two equal cantilever columns whose tops an equal constraint ties in UX: a push on one top is
// shared half and half, through the equalDOF tie the script writes.
TEST_F(TabularGravityTest, EqualConstraintSharesAPushBetweenTwoColumns) {
    const std::string text =
        "TABLE:  \"PROGRAM CONTROL\"\n   CurrUnits=\"KN, m, C\"\n \n"
        "TABLE:  \"JOINT COORDINATES\"\n   Joint=1   XorR=0   Y=0   Z=0\n"
        "   Joint=2   XorR=0   Y=0   Z=3\n   Joint=3   XorR=5   Y=0   Z=0\n"
        "   Joint=4   XorR=5   Y=0   Z=3\n \n"
        "TABLE:  \"MATERIAL PROPERTIES 02 - BASIC MECHANICAL PROPERTIES\"\n"
        "   Material=S   UnitWeight=0   UnitMass=0   E1=210000000   U12=0.3\n \n"
        "TABLE:  \"FRAME SECTION PROPERTIES 01 - GENERAL\"\n"
        "   SectionName=C   Material=S   Shape=Rectangular   t3=0.3   t2=0.3\n \n"
        "TABLE:  \"CONNECTIVITY - FRAME\"\n   Frame=1   JointI=1   JointJ=2\n"
        "   Frame=2   JointI=3   JointJ=4\n \n"
        "TABLE:  \"FRAME SECTION ASSIGNMENTS\"\n   Frame=1   AnalSect=C\n   Frame=2   AnalSect=C\n "
        "\n"
        "TABLE:  \"JOINT RESTRAINT ASSIGNMENTS\"\n"
        "   Joint=1   U1=Yes   U2=Yes   U3=Yes   R1=Yes   R2=Yes   R3=Yes\n"
        "   Joint=3   U1=Yes   U2=Yes   U3=Yes   R1=Yes   R2=Yes   R3=Yes\n \n"
        "TABLE:  \"CONSTRAINT DEFINITIONS - EQUAL\"\n"
        "   Name=EQ   CoordSys=GLOBAL   UX=Yes   UY=No   UZ=No   RX=No   RY=No   RZ=No\n \n"
        "TABLE:  \"JOINT CONSTRAINT ASSIGNMENTS\"\n   Joint=2   Constraint=EQ\n   Joint=4   "
        "Constraint=EQ\n \n"
        "TABLE:  \"LOAD PATTERN DEFINITIONS\"\n   LoadPat=PUSH   SelfWtMult=0\n \n"
        "TABLE:  \"JOINT LOADS - FORCE\"\n   Joint=2   LoadPat=PUSH   CoordSys=GLOBAL   F1=10\n";
    const S2kText source(text);
    TModel model = ImportTabular(source, "equal.s2k");
    ASSERT_EQ(model.EqualDofCount, 1);
    TSettings settings;
    settings.LoadSteps = 1;
    ScriptLineList lines;
    GenerateScript(model, settings, lines);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "equalDOF 2 4 1"), lines.end());
    lines.push_back("reactions");
    lines.push_back("puts \"BASE FX [nodeReaction 1 1] [nodeReaction 3 1]\"");
    const SolverRun run = RunSolver(lines);
    ExpectCleanRun(run, "equal constraint");
    const size_t at = run.Console().find("BASE FX ");
    ASSERT_NE(at, std::string::npos) << run.Console();
    double left = 0, right = 0;
    std::istringstream(run.Console().substr(at + 8)) >> left >> right;
    EXPECT_NEAR(left, -5000, 1);
    EXPECT_NEAR(right, -5000, 1);
}

} // namespace
} // namespace vandra::testing
