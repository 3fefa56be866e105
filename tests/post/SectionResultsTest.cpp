// A moment-curvature run read back: its curve file, and the run judged by what the solver printed
// (the columns are checked against the solver itself).
#include "../TestTempDir.h"
#include "../sections/FrameSectionModel.h"

#include "post/SectionResults.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace vandra;
using namespace vandra::testing;

TEST(SectionResults, RunsAreJudgedByTheirConsoleAndCurveFile) {
    FrameSectionModel m;
    m.Rectangle("EL", kElasticBeamColumn, 600, 300, m.Material(ElasticLaw(200000)), 1, 1);
    MomentCurvatureRequest request;
    request.section = 1;
    request.axis = BendingAxis::Y;
    request.maxCurvature = 1e-5;
    const MomentCurvaturePlan plan = PlanMomentCurvature(m.model, m.settings, request);
    const std::string folder = ProcessTempDir() + "/section-run";
    std::filesystem::create_directories(folder);

    const std::string rows = "0 0 0 0 0 0 0 0\n-1e-6 2e-9 1e-7 0 -5 3 108000000 0\n";
    struct Case {
        std::string curve, console, failure;
        size_t states;
    };
    const Case cases[] = {
        {rows, "banner\nsection run done\n", "", 2},
        {rows, "WARNING no convergence\nsection run failed at step 2 of 100\nsection run done\n",
         "the solver did not converge at step 2 of 100 (the curvature grows by 1E-7 a step)", 2},
        {"", "invalid command name \"section\"", "the solver stopped before the end of the script",
         0},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(folder + "/" + kCurveFileName);
        if (!c.curve.empty()) std::ofstream(folder + "/" + kCurveFileName) << c.curve;
        const MomentCurvatureCurve curve = ReadMomentCurvature(plan, folder, c.console);
        EXPECT_EQ(curve.failure, c.failure);
        ASSERT_EQ(curve.states.size(), c.states);
    }
}
