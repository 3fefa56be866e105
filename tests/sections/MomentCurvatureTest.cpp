// The marks found on a moment-curvature curve from the strains of its states: which fibers are
// bars, cover and core, and where each first reaches its strain.
#include "FrameSectionModel.h"

#include "sections/MomentCurvature.h"
#include "sections/ScriptSection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

using namespace vandra;
using namespace vandra::testing;

TEST(MomentCurvature, MarksFallWhereTheCriticalFiberReachesItsStrain) {
    // 500 deep by 300 wide in 10 mm cells, cover 50: bars at z = +-200 and y = -100, 0, 100; the
    // outermost cover cells at z = +-245 and y = +-145, the outermost core cells at 195 and 95.
    FrameSectionModel m;
    const int concrete = m.Material(ConcreteLaw(kMatConcrete01, -30, -0.002, -6, -0.006));
    const int steel = m.Material(SteelLaw(kMatSteel01, 400, 200000, 0.01)); // yields at 0.002
    TSECTION& sec = m.Rectangle("RC", kNonlinearBeamColumn, 500, 300, concrete, 30, 50);
    m.ColumnBars(sec, steel, 50, 3, 1200);
    const std::vector<TFIBER> fibers = ScriptSectionOf(m.model, 1, steel).Fibers;
    const AnalysisSection s = AnalysisSectionOf(m.model, 1, fibers);
    const std::vector<FiberRole> roles = FiberRolesOf(sec, fibers, m.model);

    struct Case {
        BendingAxis axis;
        double axialStrain, yield, cover, core; // the curvatures of the marks
    };
    const Case cases[] = {
        {BendingAxis::Y, -0.001, 0.001 / 200, 0.005 / 245, 0.005 / 195},
        {BendingAxis::Z, 0, 0.002 / 100, 0.006 / 145, 0.006 / 95},
        {BendingAxis::Z, 0.0005, 0.0015 / 100, 0.0065 / 145, 0.0065 / 95},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.axialStrain);
        // Equal steps past the core's crushing, whose moments peak at step 30.
        std::vector<SectionState> states;
        for (int k = 0; k <= 50; ++k) {
            const double curvature = c.core * 1.2 * k / 50;
            SectionState state;
            state.plane = c.axis == BendingAxis::Y ? StrainPlane{c.axialStrain, curvature, 0}
                                                   : StrainPlane{c.axialStrain, 0, curvature};
            (c.axis == BendingAxis::Y ? state.force.My : state.force.Mz) = k * (60 - k);
            states.push_back(state);
        }
        const std::vector<CurveMark> marks = CurveMarks(s, roles, c.axis, states);
        ASSERT_EQ(marks.size(), 4u);
        const double expected[] = {c.yield, c.core * 1.2 * 30 / 50, c.cover, c.core};
        for (size_t k = 0; k < 4; ++k) {
            EXPECT_EQ(marks[k].kind, static_cast<CurveMarkKind>(k));
            EXPECT_NEAR(marks[k].curvature, expected[k], 1e-9 * expected[k]) << k;
        }
    }
}
