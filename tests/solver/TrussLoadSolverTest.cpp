// A load along a truss reaches the supports: the script puts half of it on each end joint (the
// solver's truss elements drop a load along their length with "load type unknown", which the run
// check refuses). The triangle's horizontal truss AB carries 5 N/mm over 4000 mm: 10 kN more on
// each support, the bars' forces unchanged, the reactions in equilibrium with the applied load.
#include "PostRuns.h"

#include "post/FrameForces.h"
#include "post/MemberLoads.h"
#include "post/ResultLoading.h"

#include <cmath>

namespace vandra::testing {
namespace {

class TrussLoadSolverTest : public SolverTest {};

TEST_F(TrussLoadSolverTest, LoadAlongATrussGoesToItsEndJoints) {
    const std::string s2k = R"(SYSTEM
  DOF=UX,UY,UZ,RX,RY,RZ  LENGTH=MM  FORCE=N  PAGE=SECTIONS

JOINT
  1  X=0  Y=0  Z=0
  2  X=4000  Y=0  Z=0
  3  X=2000  Y=0  Z=3000

RESTRAINT
  ADD=1  DOF=U1,U2,U3,R1,R2,R3
  ADD=2  DOF=U2,U3,R1,R2,R3
  ADD=3  DOF=U2,R1,R2,R3

MATERIAL
  NAME=STEEL  IDES=S
    T=0  E=200000  U=.3

FRAME SECTION
  NAME=TPIPE  MAT=STEEL  SH=P  T=168.3,8
  NAME=CPIPE  MAT=STEEL  SH=P  T=168.3,8

FRAME
  1  J=1,2  SEC=TPIPE  NSEG=1  ANG=0
  2  J=1,3  SEC=CPIPE  NSEG=1  ANG=0
  3  J=2,3  SEC=TPIPE  NSEG=1  ANG=0

LOAD
  NAME=APEX
    TYPE=FORCE
      ADD=3  UX=10000  UZ=-30000
    TYPE=DISTRIBUTED
      ADD=1  RD=0,1  U2=-5,-5

END
)";
    PostRun p = RunPost(ModelOf(s2k), {"AnalysisType=1", "LoadSteps=1", "RecOpt=0,1,0,0,0"});
    TResults results;
    LoadReactions(results, p.model, p.settings, p.folder(), 1);
    LoadFrameForces(results, p.model, p.settings, p.folder(), 1);
    const TReactionHistory& r = results.Reactions;
    ASSERT_EQ(r.Joints, (std::vector<int>{1, 2, 3}));
    EXPECT_NEAR(r.At(1, 0)[2], 7500 + 10000, 1);  // Az
    EXPECT_NEAR(r.At(1, 1)[2], 22500 + 10000, 1); // Bz
    EXPECT_NEAR(r.At(1, 0)[0], -10000, 1);        // Ax
    const Vec3 applied = AppliedForce(p.model, p.settings, TLoadFactors{1, 0});
    EXPECT_NEAR(applied[2], -30000 - 20000, 1e-6);
    const TReaction total = r.Total(1);
    for (size_t c = 0; c < 3; ++c)
        EXPECT_NEAR(total[c], -applied[c], 1e-4 * 50000) << "direction " << c;
    // The bars carry what the apex load alone gives them (AC, a corotational truss, from its axial
    // force file).
    const double slant = std::sqrt(2000.0 * 2000 + 3000.0 * 3000) / 3000;
    const double expected[] = {0, 15000, -7500 * slant, -22500 * slant};
    for (size_t f = 1; f <= 3; ++f)
        EXPECT_NEAR(results.Forces.AtStep.Ends[f].I[kForceN], expected[f], 1e-3 * 22500 * slant)
            << "frame " << f;
}

} // namespace
} // namespace vandra::testing
