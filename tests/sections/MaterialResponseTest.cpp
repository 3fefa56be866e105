// The monotonic laws at points worked out by hand on each branch (the solver group compares them
// with the real materials on whole strain ramps), and the strength each law reaches within the
// strain range of the section analysis.
#include "FiberSectionBuilder.h"

#include "sections/MaterialResponse.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vandra;
using namespace vandra::testing;

namespace {

const TMAT kSteel01 = SteelLaw(kMatSteel01, 400, 200000, 0.02);
const TMAT kSteel02 = SteelLaw(kMatSteel02, 400, 200000, 0.02, 18);
const TMAT kConcrete01 = ConcreteLaw(kMatConcrete01, -30, -0.002, -6, -0.006);
const TMAT kConcrete02 = ConcreteLaw(kMatConcrete02, -30, -0.002, -6, -0.006, 3, 1500);

TMAT Positive(TMAT m) {
    m.fpc = -m.fpc;
    m.epsc0 = -m.epsc0;
    m.fpcu = -m.fpcu;
    m.epsU = -m.epsU;
    return m;
}

TMAT Elastic(double e) {
    TMAT m;
    m.MatType = kMatElastic;
    m.E = e;
    return m;
}

} // namespace

TEST(MaterialResponse, MonotonicStressOnEveryBranch) {
    struct Case {
        const char* what;
        TMAT mat;
        double strain, stress;
    };
    // Steel02 at its yield strain: Fy (b + (1 - b) / 2^(1/R0)); at ten times it the hardening
    // asymptote Fy (1 + 9 b) less (1 - b) Fy (1 - 10 / (1 + 10^R0)^(1/R0)), negligible for R0 18.
    const double atYield = 400 * (0.02 + 0.98 / std::pow(2.0, 1.0 / 18));
    const Case cases[] = {
        {"elastic", Elastic(1000), -0.003, -3},
        {"Steel01 elastic", kSteel01, 0.001, 200},
        {"Steel01 hardening", kSteel01, 0.004, 408},
        {"Steel01 hardening in compression", kSteel01, -0.004, -408},
        {"Steel02 at yield", kSteel02, 0.002, atYield},
        {"Steel02 at yield in compression", kSteel02, -0.002, -atYield},
        {"Steel02 on the asymptote", kSteel02, 0.02, 472},
        {"Steel02 near the origin", kSteel02, 0.0001, 20},
        {"Concrete01 parabola", kConcrete01, -0.001, -22.5},
        {"Concrete01 peak", kConcrete01, -0.002, -30},
        {"Concrete01 descending", kConcrete01, -0.004, -18},
        {"Concrete01 residual", kConcrete01, -0.01, -6},
        {"Concrete01 tension", kConcrete01, 0.001, 0},
        {"Concrete01 given positive", Positive(kConcrete01), -0.004, -18},
        {"Concrete02 descending", kConcrete02, -0.004, -18},
        {"Concrete02 before cracking", kConcrete02, 0.00005, 1.5},
        {"Concrete02 softening", kConcrete02, 0.0011, 1.5},
        {"Concrete02 softened", kConcrete02, 0.003, 0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(MonotonicStress(c.mat, c.strain), c.stress, 1e-6 * std::fabs(c.stress) + 1e-9)
            << c.what;
}

TEST(MaterialResponse, CompressiveStrengthWithinTheStrainRange) {
    struct Case {
        const char* what;
        TMAT mat;
        double strength;
    };
    TMAT earlyCrushing = kConcrete01;
    earlyCrushing.epsU = -0.0015; // crushes on the parabola: 30 (2 0.75 - 0.75^2)
    TMAT hardening = kConcrete02;
    hardening.fpcu = -40;
    const Case cases[] = {
        {"Steel01 hardens up to ten times its yield strain", kSteel01,
         -(400 + 0.02 * 200000 * 0.018)},
        {"Steel01 without hardening", SteelLaw(kMatSteel01, 400, 200000, 0), -400},
        {"concrete at its peak", kConcrete01, -30},
        {"concrete crushing before its peak", earlyCrushing, -28.125},
        {"concrete stronger when crushed", hardening, -40},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(CompressiveStrength(c.mat), c.strength, 1e-9 * std::fabs(c.strength)) << c.what;
}
