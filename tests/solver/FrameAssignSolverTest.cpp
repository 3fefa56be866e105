// What SAP2000 frames carry beyond their joints and section, imported from the tabular format and
// run in the real solver against closed form: given properties with shear deformation (both
// planes), property modifiers, rigid end zones, end releases and partial fixity, joint springs,
// chained equal constraints. Units: kN, m (the imported model is in N, mm); E = 2e8, G = E / 2.6.
#include "SolverSupport.h"

#include "import/S2kImport.h"
#include "import/TabularImport.h"
#include "tcl/ScriptGenerator.h"

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

namespace vandra::testing {
namespace {

constexpr double E = 2e8, G = E / 2.6, P = 10;
// The given section "G": A, I33, I22, J, AS2, AS3 (all different, so that a swap shows).
constexpr double I33 = 2e-4, I22 = 5e-5, AS2 = 4e-3, AS3 = 1e-3;

std::string Model(const std::string& joints, const std::string& frames, bool shear,
                  const std::string& more) {
    return std::string("TABLE:  \"PROGRAM CONTROL\"\n   CurrUnits=\"KN, m, C\"\n \n") +
           "TABLE:  \"JOINT COORDINATES\"\n" + joints + " \n" +
           "TABLE:  \"MATERIAL PROPERTIES 02 - BASIC MECHANICAL PROPERTIES\"\n"
           "   Material=S   UnitWeight=0   UnitMass=0   E1=200000000   U12=0.3\n \n"
           "TABLE:  \"FRAME SECTION PROPERTIES 01 - GENERAL\"\n"
           "   SectionName=G   Material=S   Shape=General   Area=0.01   TorsConst=1E-05"
           "   I33=0.0002   I22=0.00005   AS2=" +
           (shear ? "0.004" : "0") + "   AS3=" + (shear ? "0.001" : "0") +
           "\n   SectionName=C   Material=S   Shape=Rectangular   t3=0.4   t2=0.4\n \n"
           "TABLE:  \"CONNECTIVITY - FRAME\"\n" + frames + " \n" +
           "TABLE:  \"LOAD PATTERN DEFINITIONS\"\n   LoadPat=PUSH   SelfWtMult=0\n \n" + more;
}

// A cantilever along X from joint 1 (fixed) to joint 2, L = 3, section G.
std::string Cantilever(bool shear, const std::string& more) {
    return Model("   Joint=1   XorR=0   Y=0   Z=0\n   Joint=2   XorR=3   Y=0   Z=0\n",
                 "   Frame=1   JointI=1   JointJ=2\n", shear,
                 "TABLE:  \"FRAME SECTION ASSIGNMENTS\"\n   Frame=1   AnalSect=G\n \n"
                 "TABLE:  \"JOINT RESTRAINT ASSIGNMENTS\"\n"
                 "   Joint=1   U1=Yes   U2=Yes   U3=Yes   R1=Yes   R2=Yes   R3=Yes\n \n"
                 "TABLE:  \"JOINT LOADS - FORCE\"\n"
                 "   Joint=2   LoadPat=PUSH   CoordSys=GLOBAL   F2=10   F3=-10\n \n" +
                     more);
}

// A beam along X from joint 1 to joint 2 (both fixed), L = 6, through joint 3 at mid-span, which
// carries P down (F3) and P along Y (F2); section G without shear areas.
std::string FixedBeam(const std::string& more) {
    return Model("   Joint=1   XorR=0   Y=0   Z=0\n   Joint=2   XorR=6   Y=0   Z=0\n"
                 "   Joint=3   XorR=3   Y=0   Z=0\n   Joint=4   XorR=0   Y=0   Z=-3\n"
                 "   Joint=5   XorR=6   Y=0   Z=-3\n",
                 "   Frame=1   JointI=1   JointJ=3\n   Frame=2   JointI=3   JointJ=2\n"
                 "   Frame=3   JointI=4   JointJ=1\n   Frame=4   JointI=5   JointJ=2\n",
                 false,
                 "TABLE:  \"FRAME SECTION ASSIGNMENTS\"\n   Frame=1   AnalSect=G\n"
                 "   Frame=2   AnalSect=G\n   Frame=3   AnalSect=C\n   Frame=4   AnalSect=C\n \n"
                 "TABLE:  \"JOINT RESTRAINT ASSIGNMENTS\"\n"
                 "   Joint=1   U1=Yes   U2=Yes   U3=Yes   R1=Yes   R2=Yes   R3=Yes\n"
                 "   Joint=2   U1=Yes   U2=Yes   U3=Yes   R1=Yes   R2=Yes   R3=Yes\n"
                 "   Joint=4   U1=Yes   U2=Yes   U3=Yes   R1=Yes   R2=Yes   R3=Yes\n"
                 "   Joint=5   U1=Yes   U2=Yes   U3=Yes   R1=Yes   R2=Yes   R3=Yes\n \n"
                 "TABLE:  \"JOINT LOADS - FORCE\"\n"
                 "   Joint=3   LoadPat=PUSH   CoordSys=GLOBAL   F2=10   F3=-10\n \n" +
                     more);
}

// Cantilever tip under P: bending about axis 3 (I33) with shear along 2 (AS2), and about axis 2.
double Tip(double L, double I, double As) {
    return P * L * L * L / (3 * E * I) + (As > 0 ? P * L / (G * As) : 0);
}

// Mid-span of a fixed-fixed beam of clear span L under P.
double FixedMid(double L, double I) {
    return P * L * L * L / (192 * E * I);
}

struct Displacement {
    int Joint, Dof;
    double Expected;
};

struct Case {
    const char* Name;
    std::string Text;
    std::vector<Displacement> Expect;
};

std::vector<Case> Cases() {
    constexpr double k = 5e3, kr = 2e3; // kN/m, kN m/rad
    const double L = 3;
    return {
        {"given properties and shear deformation, both planes", Cantilever(true, ""),
         {{2, 3, -Tip(L, I33, AS2)}, {2, 2, Tip(L, I22, AS3)}}},
        {"modifiers of section and frame multiply",
         Cantilever(true, "TABLE:  \"FRAME PROPERTY MODIFIERS\"\n"
                          "   Frame=1   I33Mod=0.5   AS2Mod=2   I22Mod=4   AS3Mod=0.25\n \n"),
         {{2, 3, -Tip(L, 0.5 * I33, 2 * AS2)}, {2, 2, Tip(L, 4 * I22, 0.25 * AS3)}}},
        {"user rigid end zones shorten the span",
         FixedBeam("TABLE:  \"FRAME OFFSET ALONG LENGTH ASSIGNMENTS\"\n"
                   "   Frame=1   Type=User   Length1=0.3   Length2=0   RigidFactor=1\n"
                   "   Frame=2   Type=User   Length1=0   Length2=0.3   RigidFactor=1\n \n"),
         {{3, 3, -FixedMid(5.4, I33)}, {3, 2, FixedMid(5.4, I22)}}},
        {"automatic rigid end zones: half the column depth, by the rigid factor",
         FixedBeam("TABLE:  \"FRAME OFFSET ALONG LENGTH ASSIGNMENTS\"\n"
                   "   Frame=1   Type=Automatic   RigidFactor=0.5\n"
                   "   Frame=2   Type=Automatic   RigidFactor=0.5\n \n"),
         {{3, 3, -FixedMid(5.8, I33)}, {3, 2, FixedMid(5.8, I22)}}},
        {"moment releases make a propped cantilever in both planes",
         FixedBeam("TABLE:  \"FRAME RELEASE ASSIGNMENTS 1 - GENERAL\"\n"
                   "   Frame=2   PI=No   V2I=No   V3I=No   TI=No   M2I=No   M3I=No   PJ=No"
                   "   V2J=No   V3J=No   TJ=No   M2J=Yes   M3J=Yes\n \n"),
         {{3, 3, -7 * P * 216 / (768 * E * I33)}, {3, 2, 7 * P * 216 / (768 * E * I22)}}},
        {"partial fixity is a spring at the released end",
         Cantilever(true, "TABLE:  \"FRAME RELEASE ASSIGNMENTS 1 - GENERAL\"\n"
                          "   Frame=1   M2I=Yes   M3I=Yes   M2J=No   M3J=No\n \n"
                          "TABLE:  \"FRAME RELEASE ASSIGNMENTS 2 - PARTIAL FIXITY\"\n"
                          "   Frame=1   M2I=2000   M3I=2000\n \n"),
         {{2, 3, -(Tip(L, I33, AS2) + P * L * L / kr)}, {2, 2, Tip(L, I22, AS3) + P * L * L / kr}}},
        {"a joint spring works beside the cantilever",
         Cantilever(false, "TABLE:  \"JOINT SPRING ASSIGNMENTS 1 - UNCOUPLED\"\n"
                           "   Joint=2   CoordSys=GLOBAL   U1=0   U2=0   U3=5000   R1=0   R2=0"
                           "   R3=0\n \n"),
         {{2, 3, -P / (k + 3 * E * I33 / (L * L * L))}, {2, 2, Tip(L, I22, 0)}}},
    };
}

double Number(const std::string& console, const std::string& key) {
    const size_t at = console.find(key + " ");
    if (at == std::string::npos) return NAN;
    double v = NAN;
    std::istringstream(console.substr(at + key.size() + 1)) >> v;
    return v;
}

class FrameAssignSolverTest : public SolverTest {};

TEST_F(FrameAssignSolverTest, DisplacementsMatchClosedForm) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.Name);
        const TModel model = ImportTabular(S2kText(c.Text), "case.$2k");
        TSettings settings;
        settings.LoadSteps = 1;
        ScriptLineList lines;
        GenerateScript(model, settings, lines);
        for (const Displacement& d : c.Expect)
            lines.push_back("puts \"D" + std::to_string(d.Joint) + "." + std::to_string(d.Dof) +
                            " [nodeDisp " + std::to_string(d.Joint) + " " +
                            std::to_string(d.Dof) + "]\"");
        const SolverRun run = RunSolver(lines);
        ExpectCleanRun(run, c.Name);
        for (const Displacement& d : c.Expect) {
            // The model is in mm.
            const double got = Number(run.Console(), "D" + std::to_string(d.Joint) + "." +
                                                         std::to_string(d.Dof)) / 1000;
            EXPECT_NEAR(got, d.Expected, 1e-4 * std::abs(d.Expected))
                << "joint " << d.Joint << " dof " << d.Dof;
        }
    }
}

// Every tie the script writes holds in the solver, chains included: three cantilever columns whose
// tops two equal constraints tie in UX one after the other share a push on one top equally; the
// rigid link of the bundled example (frame 29, joint 19 on joint 8, a diaphragm joint) carries
// joint 8's translations to joint 19.
TEST_F(FrameAssignSolverTest, ChainedTiesMoveTogether) {
    std::string joints, frames, sections, restraints;
    for (int c = 0; c < 3; ++c) {
        const std::string x = std::to_string(4 * c), base = std::to_string(2 * c + 1),
                          top = std::to_string(2 * c + 2), f = std::to_string(c + 1);
        joints += "   Joint=" + base + "   XorR=" + x + "   Y=0   Z=0\n   Joint=" + top +
                  "   XorR=" + x + "   Y=0   Z=3\n";
        frames += "   Frame=" + f + "   JointI=" + base + "   JointJ=" + top + "\n";
        sections += "   Frame=" + f + "   AnalSect=G\n";
        restraints += "   Joint=" + base + "   U1=Yes   U2=Yes   U3=Yes   R1=Yes   R2=Yes   R3=Yes\n";
    }
    const std::string text = Model(
        joints, frames, false,
        "TABLE:  \"FRAME SECTION ASSIGNMENTS\"\n" + sections + " \n" +
            "TABLE:  \"JOINT RESTRAINT ASSIGNMENTS\"\n" + restraints + " \n" +
            "TABLE:  \"CONSTRAINT DEFINITIONS - EQUAL\"\n"
            "   Name=A   CoordSys=GLOBAL   UX=Yes   UY=No   UZ=No   RX=No   RY=No   RZ=No\n"
            "   Name=B   CoordSys=GLOBAL   UX=Yes   UY=No   UZ=No   RX=No   RY=No   RZ=No\n \n"
            "TABLE:  \"JOINT CONSTRAINT ASSIGNMENTS\"\n   Joint=2   Constraint=A\n"
            "   Joint=4   Constraint=A\n   Joint=4   Constraint=B\n   Joint=6   Constraint=B\n \n"
            "TABLE:  \"JOINT LOADS - FORCE\"\n   Joint=2   LoadPat=PUSH   CoordSys=GLOBAL   F1=10\n");
    TSettings settings;
    settings.LoadSteps = 1;
    ScriptLineList lines;
    GenerateScript(ImportTabular(S2kText(text), "chain.$2k"), settings, lines);
    lines.push_back("puts \"UX [nodeDisp 2 1] [nodeDisp 4 1] [nodeDisp 6 1]\"");
    SolverRun run = RunSolver(lines);
    ExpectCleanRun(run, "chain of equal constraints");
    std::istringstream ux(run.Console().substr(std::min(run.Console().find("UX "),
                                                        run.Console().size())));
    std::string key;
    double u[3] = {NAN, NAN, NAN};
    ux >> key >> u[0] >> u[1] >> u[2];
    for (double& v : u)
        v /= 1000; // mm
    // A push along X moves a column along its axis 2 (global X), bending it about axis 3.
    const double each = Tip(3, I33, 0) / 3;
    for (double v : u)
        EXPECT_NEAR(v, each, 1e-4 * each);

    const TModel example =
        ImportS2k(ReadS2kFile(std::string(VANDRA_SOURCE_DIR) + "/examples/two_storey_frame.s2k"));
    ScriptLineList gravity;
    GenerateScript(example, settings, gravity);
    gravity.push_back("puts \"TIED [nodeDisp 8] [nodeDisp 19]\"");
    run = RunSolver(gravity);
    ExpectCleanRun(run, "two_storey_frame.s2k");
    std::istringstream tied(run.Console().substr(std::min(run.Console().find("TIED "),
                                                          run.Console().size())));
    double d8[6], d19[6];
    tied >> key;
    for (double& v : d8)
        tied >> v;
    for (double& v : d19)
        tied >> v;
    ASSERT_TRUE(tied) << run.Console();
    EXPECT_GT(std::abs(d8[2]), 1e-6); // the link moves under gravity
    for (int d = 0; d < 3; ++d) // the link releases rotations
        EXPECT_NEAR(d19[d], d8[d], 1e-6 * (std::abs(d8[d]) + 1e-9)) << "dof " << d + 1;
}

} // namespace
} // namespace vandra::testing
