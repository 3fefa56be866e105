// A two-storey shear building in the real solver against closed form: four columns per storey,
// their ends kept from turning about the horizontal axes, so that each storey is a spring of
// 4 x 12 E I / h^3 in each direction, and a rigid floor at each level whose mass is on its master.
// Periods and participating masses, computed from the mode shapes and in the solver's own report,
// are those of the two-mass chain; drifts and storey shears under a lateral load are the
// springs'.
#include "PostRuns.h"

#include "post/FrameForces.h"
#include "post/ModalTable.h"
#include "post/RecorderReaders.h"
#include "post/Storeys.h"

#include <cmath>
#include <numbers>
#include <string>

namespace vandra::testing {
namespace {

constexpr double kE = 30000, kH = 3000;
constexpr double kDepth = 500, kWidth = 300; // along X, along Y
constexpr double kM1 = 20, kM2 = 10;         // the floors' masses
constexpr double kColumnX = 12 * kE * (kWidth * kDepth * kDepth * kDepth / 12) / (kH * kH * kH);
constexpr double kColumnY = 12 * kE * (kDepth * kWidth * kWidth * kWidth / 12) / (kH * kH * kH);

std::string ShearBuilding(const std::string& loads) {
    std::string s = R"(SYSTEM
  DOF=UX,UY,UZ,RX,RY,RZ  LENGTH=MM  FORCE=N  PAGE=SECTIONS

JOINT
)";
    const double corner[4][2] = {{0, 0}, {6000, 0}, {6000, 4000}, {0, 4000}};
    int j = 0;
    for (int level = 0; level <= 2; ++level)
        for (const auto& c : corner)
            s += "  " + std::to_string(++j) + "  X=" + std::to_string(c[0]) +
                 "  Y=" + std::to_string(c[1]) + "  Z=" + std::to_string(kH * level) + "\n";
    s += "  13  X=3000  Y=2000  Z=3000\n  14  X=3000  Y=2000  Z=6000\n\nRESTRAINT\n";
    for (j = 1; j <= 4; ++j)
        s += "  ADD=" + std::to_string(j) + "  DOF=U1,U2,U3,R1,R2,R3\n";
    for (j = 5; j <= 12; ++j)
        s += "  ADD=" + std::to_string(j) + "  DOF=R1,R2\n";
    s += "\nCONSTRAINT\n  NAME=1  TYPE=DIAPHRAGM  AXIS=Z\n";
    for (int k : {5, 6, 7, 8, 13})
        s += "    ADD=" + std::to_string(k) + "\n";
    s += "  NAME=2  TYPE=DIAPHRAGM  AXIS=Z\n";
    for (int k : {9, 10, 11, 12, 14})
        s += "    ADD=" + std::to_string(k) + "\n";
    // The floors' masses, and one at a fixed base joint: it moves with no mode.
    s += "\nMASS\n  ADD=1  U1=3  U2=3\n";
    s += "  ADD=13  U1=" + std::to_string(kM1) + "  U2=" + std::to_string(kM1) + "\n";
    s += "  ADD=14  U1=" + std::to_string(kM2) + "  U2=" + std::to_string(kM2) + "\n";
    s += R"(
MATERIAL
  NAME=CONC  IDES=C
    T=0  E=30000  U=.2

FRAME SECTION
  NAME=ECOL  MAT=CONC  SH=R  T=500,300

FRAME
)";
    for (int f = 1; f <= 8; ++f)
        s += "  " + std::to_string(f) + "  J=" + std::to_string(f) + "," + std::to_string(f + 4) +
             "  SEC=ECOL  NSEG=2  ANG=0\n";
    return s + "\nLOAD\n  NAME=LATERAL\n    TYPE=FORCE\n" + loads + "\nEND\n";
}

// The two modes of the chain of masses m1 (bottom), m2 on springs k, k: (omega^2, participating
// mass ratio) of each, in order.
struct ChainMode {
    double lambda, ratio;
};
std::array<ChainMode, 2> Chain(double k, double m1, double m2) {
    const double b = (2 * m2 + m1) * k,
                 root = k * std::sqrt((2 * m2 + m1) * (2 * m2 + m1) - 4 * m1 * m2);
    std::array<ChainMode, 2> modes;
    for (int n = 0; n < 2; ++n) {
        const double lambda = (b + (n == 0 ? -root : root)) / (2 * m1 * m2);
        const double phi2 = (2 * k - lambda * m1) / k; // phi1 = 1
        const double l = m1 + m2 * phi2, mn = m1 + m2 * phi2 * phi2;
        modes[static_cast<size_t>(n)] = {lambda, l * l / mn / (m1 + m2)};
    }
    return modes;
}

class ModalDriftSolverTest : public SolverTest {};

TEST_F(ModalDriftSolverTest, PeriodsAndParticipatingMassesOfAShearBuilding) {
    PostRun p = RunPost(ModelOf(ShearBuilding("      ADD=13  UX=1\n")),
                        {"AnalysisType=4", "ModalNumber=4", "RecOpt=0,0,0,0,1"});
    const TModalTable computed = ReadModalTable(p.model, p.folder(), 4);
    const TModalTable report = ReadModalReport(p.folder());
    ASSERT_EQ(computed.Modes.size(), 4u);
    ASSERT_EQ(report.Modes.size(), 4u);
    const auto y = Chain(4 * kColumnY, kM1, kM2), x = Chain(4 * kColumnX, kM1, kM2);
    const struct {
        ChainMode mode;
        int direction;
    } expected[] = {{y[0], kUY}, {x[0], kUX}, {y[1], kUY}, {x[1], kUX}};
    for (size_t m = 0; m < 4; ++m) {
        SCOPED_TRACE("mode " + std::to_string(m + 1));
        const TModeRow& row = computed.Modes[m];
        const TModeRow& solver = report.Modes[m];
        const auto& e = expected[m];
        EXPECT_NEAR(row.Eigenvalue, e.mode.lambda, 1e-6 * e.mode.lambda);
        EXPECT_NEAR(row.Period, 2 * std::numbers::pi / std::sqrt(e.mode.lambda), 1e-6 * row.Period);
        EXPECT_NEAR(solver.Period, row.Period, 1e-5 * row.Period);
        EXPECT_NEAR(solver.Frequency, row.Frequency, 1e-5 * row.Frequency);
        for (int d : {kUX, kUY, kUZ, kRZ}) {
            const auto sd = static_cast<size_t>(d);
            EXPECT_NEAR(row.Ratio[sd], d == e.direction ? e.mode.ratio : 0.0, 1e-5) << d;
            EXPECT_NEAR(solver.Ratio[sd], row.Ratio[sd], 1e-5) << "direction " << d;
            EXPECT_NEAR(solver.Cumulative[sd], row.Cumulative[sd], 1e-5) << "direction " << d;
        }
    }
    // All the free mass takes part once every mode is in; the fixed base joint's does not.
    EXPECT_NEAR(computed.Modes.back().Cumulative[kUX], 1, 1e-5);
    EXPECT_NEAR(computed.FreeMass[kUX], kM1 + kM2, 1e-9);
    EXPECT_NEAR(report.FreeMass[kUX], kM1 + kM2, 1e-9);
}

// 10 kN along X at the first floor and 20 kN at the roof: the first storey carries 30 kN, the
// second 20 kN, each drifting by its shear over its spring, over the storey height.
TEST_F(ModalDriftSolverTest, DriftsAndStoreyShearsUnderALateralLoad) {
    PostRun p = RunPost(ModelOf(ShearBuilding("      ADD=13  UX=10000\n      ADD=14  UX=20000\n")),
                        {"AnalysisType=1", "LoadSteps=4", "RecOpt=1,1,0,0,0"});
    const TLevels levels = FindLevels(p.model);
    ASSERT_TRUE(levels.FromDiaphragms);
    ASSERT_EQ(levels.StoreyCount(), 2);
    const TNodeHistory history = ReadNodeHistory(p.model, p.folder(), 0);
    const TDrifts drifts = ComputeDrifts(p.model, levels, history);
    ASSERT_EQ(drifts.Steps, 4);
    const double shear[] = {30000, 20000};
    const TFrameForces forces = ReadFrameForces(p.model, p.settings, p.folder(), 4);
    const std::vector<TStoreyShear> shears =
        StoreyShears(p.model, levels, TFrameLoads(p.model, p.settings), forces);
    for (int s = 1; s <= 2; ++s) {
        SCOPED_TRACE("storey " + std::to_string(s));
        const double expected = shear[s - 1] / (4 * kColumnX) / kH;
        // The corners, and on the second storey the masters one above the other.
        EXPECT_EQ(drifts.Pairs[static_cast<size_t>(s - 1)], s == 1 ? 4 : 5);
        EXPECT_NEAR(drifts.At(4, s).X, expected, 1e-4 * expected);
        EXPECT_NEAR(drifts.At(2, s).X, expected / 2, 1e-4 * expected);
        EXPECT_NEAR(drifts.At(4, s).Y, 0, 1e-6 * expected);
        EXPECT_EQ(drifts.RangeX[static_cast<size_t>(s - 1)].MaxStep, 4);
        EXPECT_NEAR(drifts.RangeX[static_cast<size_t>(s - 1)].Max, expected, 1e-4 * expected);
        EXPECT_NEAR(shears[static_cast<size_t>(s - 1)].X, shear[s - 1], 1e-4 * shear[s - 1]);
        EXPECT_EQ(shears[static_cast<size_t>(s - 1)].Frames, 4);
    }
}

} // namespace
} // namespace vandra::testing
