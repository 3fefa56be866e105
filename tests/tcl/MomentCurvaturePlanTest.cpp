// Sections and requests a moment-curvature run refuses before the solver starts, each with the
// message that says why.
#include "../sections/FrameSectionModel.h"

#include "model/Errors.h"
#include "tcl/MomentCurvatureScript.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

using namespace vandra;
using namespace vandra::testing;

TEST(MomentCurvaturePlan, RequestsTheRunCannotMakeAreRefused) {
    using Change = std::function<void(TModel&, MomentCurvatureRequest&)>;
    const double inf = std::numeric_limits<double>::infinity();
    auto target = [](double k) -> Change {
        return [k](TModel&, MomentCurvatureRequest& r) { r.maxCurvature = k; };
    };
    auto axial = [](double p) -> Change {
        return [p](TModel&, MomentCurvatureRequest& r) { r.axial = p; };
    };
    // 500 x 300 of Concrete01 (fpc -30) with six bars of 400 of Steel01 (fy 400, b 0.01). At ten
    // yield strains a bar carries 400 (1 - 0.01) + 0.01 200000 0.02 = 436: the squash load is
    // -30 150000 - 436 2400 = -5546400, the tensile strength 436 2400 = 1046400. At a uniform
    // strain the concrete peaks at 0.002, where the bars carry 400: -5460000 at most.
    const std::string positive = ": the curvature to reach must be a positive finite number, not ";
    const std::pair<Change, std::string> cases[] = {
        {[](TModel&, MomentCurvatureRequest&) {}, ""},
        {target(0), positive + "0"},
        {target(-1e-5), positive + "-0.00001"},
        {target(std::nan("")), positive + "NAN"},
        {target(inf), positive + "INF"},
        {axial(-6e6), ": the axial load -6000000 is beyond the squash load -5546400 (compression "
                      "is negative)"},
        {axial(1.1e6), ": the axial load 1100000 is beyond the tensile strength 1046400"},
        {axial(-5.5e6), ": no axial strain within the fibers' strain limits carries the axial load "
                        "-5500000 (the squash load -5546400 counts every fiber at its strength at "
                        "once)"},
        {[](TModel& m, auto&) { m.Sections[1].BarNumNX = 0; },
         " has no bars: concrete alone cracks at once, so it has no moment-curvature curve; give "
         "it bars"},
        {[](TModel& m, auto&) { m.Mats[1].MatType = kMatElastic; },
         ": material C01 is elastic, so its fibers have no strength; give it a steel or concrete "
         "law"},
        {[](TModel& m, auto&) { m.Sections[1].FrameType = kRigidBeam; },
         " has no section to analyse: it is a rigid beam or has no frame type"},
        {[](TModel& m, auto&) { m.Sections[1].FrameType = kElasticBeamColumn; },
         " is elastic, so its curvature has no limit: give the curvature to reach"},
        {[](TModel& m, MomentCurvatureRequest& r) {
             m.Sections[1].FrameType = kElasticTimoshenkoBeam, m.Sections[1].MatIdx = 0;
             r.maxCurvature = 1e-5;
         },
         " is elastic with E A 0 and E I 0 about the axis; both must be positive"},
    };
    for (const auto& [change, message] : cases) {
        FrameSectionModel m;
        const int concrete = m.Material(ConcreteLaw(kMatConcrete01, -30, -0.002, -6, -0.006));
        const int steel = m.Material(SteelLaw(kMatSteel01, 400, 200000, 0.01));
        m.ColumnBars(m.Rectangle("RC", kNonlinearBeamColumn, 500, 300, concrete, 3, 50), steel, 40,
                     3, 1200);
        MomentCurvatureRequest request;
        request.section = 1;
        change(m.model, request);
        std::string got;
        try {
            EXPECT_GT(PlanMomentCurvature(m.model, m.settings, request).targetCurvature, 0);
        } catch (const InputError& e) {
            got = e.what();
        }
        EXPECT_EQ(got, message.empty() ? "" : "Frame section RC" + message);
    }
}
