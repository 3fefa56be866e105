// Models with solids in the real solver: a column of bricks shortens by P L / E A, a frame on a
// block of bricks runs clean, and so does the bundled solid example.
#include "SolverSupport.h"
#include "TestTempDir.h"

#include "document/SettingsByName.h"
#include "import/S2kImport.h"
#include "tcl/ScriptGenerator.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace vandra::testing {
namespace {

ScriptLineList Script(const std::string& s2k, const std::vector<std::string>& settings) {
    TModel model = ImportS2k(SplitS2kLines(s2k));
    TSettings chosen;
    for (const std::string& s : settings)
        AssignSetting(model, chosen, s);
    ScriptLineList lines;
    GenerateScript(model, chosen, lines);
    return lines;
}

// A column of `bricks` 200 x 200 x 250 bricks standing on joints 1..4, pressed at its top joints
// by four forces of 25 kN.
std::string BrickColumn(int bricks, double poisson, const std::string restraints[4]) {
    std::string s = "; A column of bricks under an end pressure. Units: N, mm.\n\nJOINT\n";
    int joint = 0;
    for (int level = 0; level <= bricks; ++level)
        for (const char* xy : {"X=0  Y=0", "X=200  Y=0", "X=0  Y=200", "X=200  Y=200"})
            s += "  " + std::to_string(++joint) + "  " + xy + "  Z=" + std::to_string(250 * level) +
                 "\n";
    s += "\nRESTRAINT\n";
    for (int j = 1; j <= 4; ++j)
        s += "  ADD=" + std::to_string(j) + "  DOF=" + restraints[j - 1] + "\n";
    s += "\nMATERIAL\n  NAME=BLOCK  IDES=C  M=0  W=0\n    T=0  E=30000  U=" +
         std::to_string(poisson) + "  A=0\n\nSOLID\n";
    for (int k = 0; k < bricks; ++k) {
        s += "  " + std::to_string(k + 1) + "  J=";
        for (int c = 1; c <= 8; ++c)
            s += std::to_string(4 * k + c) + (c < 8 ? "," : "");
        s += "  SEC=1\n";
    }
    s += "\nLOAD\n  NAME=PRESS\n    TYPE=FORCE\n";
    for (int j = joint - 3; j <= joint; ++j)
        s += "      ADD=" + std::to_string(j) + "  UZ=-25000\n";
    return s + "\nEND\n";
}

class SolidSolverTest : public SolverTest {};

TEST_F(SolidSolverTest, BrickColumnShortensByPLOverEA) {
    const std::string fixed[4] = {"U1,U2,U3", "U1,U2,U3", "U1,U2,U3", "U1,U2,U3"};
    const std::string rollers[4] = {"U1,U2,U3", "U2,U3", "U1,U3", "U3"};
    struct Case {
        const char* what;
        int bricks;
        double poisson;
        const std::string* restraints;
    };
    const Case cases[] = {
        {"Poisson 0, base fixed", 4, 0.0, fixed},
        {"Poisson 0.3, base free to spread", 3, 0.3, rollers},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const SolverRun run =
            RunSolver(Script(BrickColumn(c.bricks, c.poisson, c.restraints), {"RecOpt=1,0,0,0,0"}));
        ExpectCleanRun(run, c.what);
        const auto rows = ReadRecorder(run.Folder() / "node0.out");
        ASSERT_FALSE(rows.empty());
        const double length = 250.0 * c.bricks, force = 4 * 25000.0, area = 200.0 * 200.0;
        const double expected = force * length / (30000 * area);
        const int topJoints = 4 * c.bricks + 1;
        for (int j = topJoints; j < topJoints + 4; ++j) {
            const size_t uz = 1 + 3 * static_cast<size_t>(j - 1) + 2;
            ASSERT_LT(uz, rows.back().size());
            EXPECT_NEAR(-rows.back()[uz], expected, 1e-3 * expected) << "joint " << j;
        }
    }
}

// A steel ring on the top face of a concrete block of two bricks, a post on one corner and a
// second post tied to another corner by a rigid link: the ring's joints are shared with the bricks,
// the posts' tops are frame joints only.
const char* const kFrameOnBlock =
    R"(; A steel ring and post on a concrete block. Units: N, mm, s (mass in t).

JOINT
  1  X=0  Y=0  Z=0
  2  X=1000  Y=0  Z=0
  3  X=0  Y=1000  Z=0
  4  X=1000  Y=1000  Z=0
  5  X=0  Y=0  Z=500
  6  X=1000  Y=0  Z=500
  7  X=0  Y=1000  Z=500
  8  X=1000  Y=1000  Z=500
  9  X=0  Y=0  Z=1000
  10  X=1000  Y=0  Z=1000
  11  X=0  Y=1000  Z=1000
  12  X=1000  Y=1000  Z=1000
  13  X=0  Y=0  Z=3000
  14  X=1000  Y=0  Z=1000
  15  X=1000  Y=0  Z=2000

RESTRAINT
  ADD=1  DOF=U1,U2,U3
  ADD=2  DOF=U1,U2,U3
  ADD=3  DOF=U1,U2,U3
  ADD=4  DOF=U1,U2,U3

MASS
  ADD=5  U1=0.5  U2=0.5  U3=0.5
  ADD=13  U1=2  U2=2  U3=2

MATERIAL
  NAME=CONC  IDES=C  M=2.4E-09  W=2.4E-05
    T=0  E=30000  U=0.2  A=1.0E-05
  NAME=STEEL  IDES=S  M=7.85E-09  W=7.7E-05
    T=0  E=200000  U=0.3  A=1.17E-05

FRAME SECTION
  NAME=ERING  MAT=STEEL  SH=R  T=100,100
  NAME=EPOST  MAT=STEEL  SH=R  T=200,200
  NAME=RLINK  MAT=STEEL  SH=R  T=200,200

FRAME
  1  J=9,10  SEC=ERING  NSEG=1  ANG=0
  2  J=10,12  SEC=ERING  NSEG=1  ANG=0
  3  J=12,11  SEC=ERING  NSEG=1  ANG=0
  4  J=11,9  SEC=ERING  NSEG=1  ANG=0
  5  J=9,13  SEC=EPOST  NSEG=1  ANG=0
  6  J=14,15  SEC=EPOST  NSEG=1  ANG=0
  7  J=10,14  SEC=RLINK  NSEG=1  ANG=0  JREL=R2,R3

SOLID
  1  J=1,2,3,4,5,6,7,8  SEC=1
  2  J=5,6,7,8,9,10,11,12  SEC=1

LOAD
  NAME=LATERAL
    TYPE=FORCE
      ADD=13  UX=1000
      ADD=6  UZ=-1000  RX=5

END
)";

TEST_F(SolidSolverTest, FrameOnABlockOfBricksRunsClean) {
    // A ground acceleration of 1 Hz for the time history, 1,100 steps of 0.02 s.
    const std::filesystem::path motion =
        std::filesystem::path(vandra::testing::ProcessTempDir()) / "GMX.txt";
    {
        std::ofstream out(motion);
        for (int i = 0; i < 1100; ++i)
            out << 1000 * std::sin(2 * 3.141592653589793 * 0.02 * i) << "\n";
    }
    const std::vector<std::vector<std::string>> settingsOfRuns = {
        {"RecOpt=1,1,0,0,0"},
        {"AnalysisType=2", "ControlNode=13", "ControlDof=1", "ControlDisp=0.01", "AnalysisStep=10"},
        {"AnalysisType=5"},
    };
    for (const auto& settings : settingsOfRuns) {
        const SolverRun run = RunSolver(Script(kFrameOnBlock, settings), {motion});
        ExpectCleanRun(run, "frame on a block, " + settings[0]);
    }
}

TEST_F(SolidSolverTest, SolidExampleRunsCleanStaticAndModal) {
    const std::string example = std::string(VANDRA_SOURCE_DIR) + "/examples/solid_block.s2k";
    for (const char* type : {"AnalysisType=1", "AnalysisType=4"}) {
        TModel model = ImportS2k(ReadS2kFile(example));
        TSettings settings;
        AssignSetting(model, settings, type);
        ScriptLineList lines;
        GenerateScript(model, settings, lines);
        ExpectCleanRun(RunSolver(lines), std::string("solid example, ") + type);
    }
}

} // namespace
} // namespace vandra::testing
