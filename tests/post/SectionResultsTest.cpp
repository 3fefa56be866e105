// A moment-curvature run read back and judged by what the solver printed (a complete run and one
// that stopped on an error are read in the solver and window tests).
#include "../TestTempDir.h"
#include "../sections/FrameSectionModel.h"

#include "post/SectionResults.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace vandra;
using namespace vandra::testing;

TEST(SectionResults, AStepThatDidNotConvergeIsNamed) {
    FrameSectionModel m;
    m.Rectangle("EL", kElasticBeamColumn, 600, 300, m.Material(ElasticLaw(200000)), 1, 1);
    MomentCurvatureRequest request;
    request.section = 1;
    request.axis = BendingAxis::Y;
    request.maxCurvature = 1e-5;
    const MomentCurvaturePlan plan = PlanMomentCurvature(m.model, m.settings, request);
    const std::string folder = ProcessTempDir() + "/section-run";
    std::filesystem::create_directories(folder);

    // A step that did not converge: the curve up to it, and which step it was.
    std::ofstream(folder + "/" + kCurveFileName) << "0 0 0 0 0 0 0 0\n1 2 3 0 4 5 6 0\n";
    const MomentCurvatureCurve curve = ReadMomentCurvature(
        plan, folder,
        "WARNING no convergence\nsection run failed at step 2 of 100\nsection run done\n");
    EXPECT_EQ(curve.failure,
              "the solver did not converge at step 2 of 100 (the curvature grows by 1E-7 a step)");
    EXPECT_EQ(curve.states.size(), 2u);
}
