// A model in metres and the same model in millimetres are the same structure to the solver: the
// displacements agree, in their units, within 0.1 %.
#include "solver/SolverSupport.h"

#include "document/SettingsByName.h"
#include "import/S2kImport.h"
#include "model/NumberText.h"
#include "tcl/ScriptGenerator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace vandra;
using namespace vandra::testing;

namespace {

struct Unit {
    const char* name;
    double perMillimetre; // lengths of the unit in one millimetre
};

std::string L(double millimetres, const Unit& u) {
    return text::FormatGeneral(millimetres * u.perMillimetre);
}

std::string Header(const Unit& u) {
    return std::string("title\nSYSTEM\n  DOF=UX,UY,UZ,RX,RY,RZ  LENGTH=") + u.name +
           "  FORCE=N\n\n";
}

std::string Material(double eNewtonPerMM2, const Unit& u) {
    return "MATERIAL\n  NAME=CONC  IDES=C  M=0  W=0\n    T=0  E=" +
           text::FormatGeneral(eNewtonPerMM2 / (u.perMillimetre * u.perMillimetre)) +
           "  U=0.2  A=0\n\n";
}

// A column 3 m high of beam-with-hinges elements (hinges 400 mm long, fiber sections with bars at
// the default cover), fixed at its base, pushed at its top in X and Y.
std::string HingedCantilever(const Unit& u) {
    return Header(u) + "JOINT\n  1  X=0  Y=0  Z=0\n  2  X=0  Y=0  Z=" + L(1500, u) +
           "\n  3  X=0  Y=0  Z=" + L(3000, u) +
           "\n\nRESTRAINT\n  ADD=1  DOF=U1,U2,U3,R1,R2,R3\n\n" + Material(25000, u) +
           "FRAME SECTION\n  NAME=HCOL  MAT=CONC  SH=R  T=" + L(400, u) + "," + L(300, u) +
           "\n\nFRAME\n  1  J=1,2  SEC=HCOL  NSEG=1  ANG=0\n  2  J=2,3  SEC=HCOL  NSEG=1  ANG=0\n\n"
           "LOAD\n  NAME=PUSH\n    TYPE=FORCE\n      ADD=3  UX=10000  UY=5000\n\nEND\n";
}

// A slab 2 m x 1 m, 125 mm thick, of two shells, fixed along one long edge and loaded at the
// other.
std::string CantileverSlab(const Unit& u) {
    std::string joints = "JOINT\n";
    const double xy[6][2] = {{0, 0}, {1000, 0}, {2000, 0}, {0, 1000}, {1000, 1000}, {2000, 1000}};
    for (int k = 0; k < 6; ++k)
        joints += "  " + std::to_string(k + 1) + "  X=" + L(xy[k][0], u) + "  Y=" + L(xy[k][1], u) +
                  "  Z=0\n";
    return Header(u) + joints +
           "\nRESTRAINT\n  ADD=1  DOF=U1,U2,U3,R1,R2,R3\n  ADD=2  DOF=U1,U2,U3,R1,R2,R3\n"
           "  ADD=3  DOF=U1,U2,U3,R1,R2,R3\n\n" +
           Material(30000, u) +
           "SHELL SECTION\n  NAME=SLAB  MAT=CONC  TYPE=Thin,Shell  TH=" + L(125, u) + "," +
           L(125, u) +
           "\n\nSHELL\n  1  J=1,2,4,5  SEC=SLAB\n  2  J=2,3,5,6  SEC=SLAB\n\n"
           "LOAD\n  NAME=PUSH\n    TYPE=FORCE\n      ADD=4  UZ=-1000\n      ADD=5  UZ=-1000\n"
           "      ADD=6  UZ=-1000\n\nEND\n";
}

// The displacements of every joint at the end of the analysis, in millimetres.
std::vector<double> DisplacementsInMillimetres(const std::string& s2k, const Unit& u) {
    TModel model = ImportS2k(SplitS2kLines(s2k));
    TSettings settings;
    AssignSetting(model, settings, "RecOpt=1,0,0,0,0");
    ScriptLineList lines;
    GenerateScript(model, settings, lines);
    const SolverRun run = RunSolver(lines);
    ExpectCleanRun(run, u.name);
    const std::vector<std::vector<double>> rows = ReadRecorder(run.Folder() / "node0.out");
    if (rows.empty()) return {};
    std::vector<double> last(rows.back().begin() + 1, rows.back().end()); // without the time
    for (double& d : last)
        d /= u.perMillimetre;
    return last;
}

class LengthUnitSolverTest : public SolverTest {};

} // namespace

TEST_F(LengthUnitSolverTest, MetresAndMillimetresGiveTheSameDisplacements) {
    const Unit millimetres{"MM", 1}, metres{"M", 0.001}, feet{"FT", 1 / 304.8};
    const struct {
        const char* what;
        std::string (*model)(const Unit&);
        size_t dof; // the checked value: its column in node0.out, time excluded
    } cases[] = {
        {"tip of the hinged cantilever, X", HingedCantilever, 6},
        {"tip of the hinged cantilever, Y", HingedCantilever, 7},
        {"free corner of the slab, Z", CantileverSlab, 11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<double> reference =
            DisplacementsInMillimetres(c.model(millimetres), millimetres);
        ASSERT_GT(reference.size(), c.dof);
        ASSERT_GT(std::abs(reference[c.dof]), 1e-3);
        for (const Unit& u : {metres, feet}) {
            SCOPED_TRACE(u.name);
            const std::vector<double> other = DisplacementsInMillimetres(c.model(u), u);
            ASSERT_EQ(other.size(), reference.size());
            EXPECT_NEAR(other[c.dof], reference[c.dof], 1e-3 * std::abs(reference[c.dof]));
        }
    }
}
