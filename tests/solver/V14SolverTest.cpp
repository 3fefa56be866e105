// A SAP2000 V14 solid model, converted, given a material and imported, runs in the solver with the
// closed-form answer: a brick on rollers under an end pressure shortens by P L / E A.
#include "SolverSupport.h"

#include "convert/V14Converter.h"
#include "document/SettingsByName.h"
#include "import/S2kImport.h"
#include "tcl/ScriptGenerator.h"

#include <cmath>
#include <string>
#include <vector>

namespace vandra::testing {
namespace {

// A 1000 mm cube as V14 tables: on rollers at its base, 25 kN down at each top corner.
std::string BrickV14() {
    std::string t = "File cube.s2k\n\nTABLE:  \"JOINT COORDINATES\"\n";
    const char* xyz[8] = {"XorR=0   Y=0   Z=0",       "XorR=1000   Y=0   Z=0",
                          "XorR=0   Y=1000   Z=0",    "XorR=1000   Y=1000   Z=0",
                          "XorR=0   Y=0   Z=1000",    "XorR=1000   Y=0   Z=1000",
                          "XorR=0   Y=1000   Z=1000", "XorR=1000   Y=1000   Z=1000"};
    for (int j = 1; j <= 8; ++j)
        t += "   Joint=" + std::to_string(j) + "   CoordSys=GLOBAL   CoordType=Cartesian   " +
             xyz[j - 1] + "   SpecialJt=No\n";
    t += "\nTABLE:  \"JOINT RESTRAINT ASSIGNMENTS\"\n";
    const char* fixed[4] = {"U1=Yes   U2=Yes", "U1=No   U2=Yes", "U1=Yes   U2=No", "U1=No   U2=No"};
    for (int j = 1; j <= 4; ++j)
        t += "   Joint=" + std::to_string(j) + "   " + fixed[j - 1] +
             "   U3=Yes   R1=No   R2=No   R3=No\n";
    t += "\nTABLE:  \"JOINT LOADS - FORCE\"\n";
    for (int j = 5; j <= 8; ++j)
        t += "   Joint=" + std::to_string(j) +
             "   LoadPat=PUSH   CoordSys=GLOBAL   F1=0   F2=0   F3=-25000   M1=0   M2=0   M3=0\n";
    return t + "\nTABLE:  \"CONNECTIVITY - SOLID\"\n   Solid=1   Joint1=1   Joint2=2   Joint3=3   "
               "Joint4=4   Joint5=5   Joint6=6   Joint7=7   Joint8=8\n\nEND TABLE DATA\n";
}

class V14SolverTest : public SolverTest {};

TEST_F(V14SolverTest, ConvertedBrickShortensByPLOverEA) {
    const V14Conversion conversion = ConvertV14(SplitS2kLines(BrickV14()));
    std::string v6;
    for (const std::string& line : conversion.V6Lines)
        v6 += line + "\r\n";
    // The converter carries no material: the engineer adds one.
    v6 += "MATERIAL\r\n  NAME=BLOCK  IDES=C  M=0  W=0\r\n    T=0  E=30000  U=0.3  A=0\r\n\r\n";
    TModel model = ImportS2k(SplitS2kLines(v6));
    TSettings settings;
    AssignSetting(model, settings, "RecOpt=1,0,0,0,0");
    ScriptLineList lines;
    GenerateScript(model, settings, lines);

    const SolverRun run = RunSolver(lines);
    ExpectCleanRun(run, "converted brick");
    const auto rows = ReadRecorder(run.Folder() / "node0.out");
    ASSERT_FALSE(rows.empty());
    const double expected = 4 * 25000.0 * 1000 / (30000 * 1000.0 * 1000);
    for (size_t j = 5; j <= 8; ++j) {
        const size_t uz = 1 + 3 * (j - 1) + 2;
        ASSERT_LT(uz, rows.back().size());
        EXPECT_NEAR(rows.back()[uz], -expected, 1e-3 * expected) << "joint " << j;
    }
}

} // namespace
} // namespace vandra::testing
