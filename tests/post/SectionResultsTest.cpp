// A moment-curvature run read back: the states of its curve file, and the run judged by what the
// solver printed.
#include "../TestTempDir.h"
#include "../sections/FrameSectionModel.h"

#include "model/Errors.h"
#include "post/SectionResults.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace vandra;
using namespace vandra::testing;

TEST(SectionResults, RunsAreJudgedByTheirConsoleAndCurveFile) {
    FrameSectionModel m;
    TMAT elastic;
    elastic.Name = "EL";
    elastic.MatType = kMatElastic;
    elastic.E = 200000;
    m.Rectangle("EL", kElasticBeamColumn, 600, 300, m.Material(elastic), 1, 1);
    MomentCurvatureRequest request;
    request.section = 1;
    request.axis = BendingAxis::Y;
    request.maxCurvature = 1e-5;
    const MomentCurvaturePlan plan = PlanMomentCurvature(m.model, m.settings, request);
    const std::string folder = ProcessTempDir() + "/section-run";
    std::filesystem::create_directories(folder);

    // Deformations P, kz, ky, T, then forces P, Mz, My, T.
    const std::string rows = "0 0 0 0 0 0 0 0\n-1e-6 2e-9 1e-7 0 -5 3 108000000 0\n";
    struct Case {
        std::string curve, console, failure;
        size_t states;
    };
    const Case cases[] = {
        {rows, "banner\nsection run done\n", "", 2},
        {rows, "WARNING no convergence\nsection run failed at step 2 of 100\nsection run done\n",
         "the solver did not converge at step 2 of 100 (the curvature grows by 1E-7 a step)", 2},
        {"", "section run failed under the axial load\nsection run done\n",
         "the solver did not converge under the axial load 0", 0},
        {"", "invalid command name \"section\"", "the solver stopped before the end of the script",
         0},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(folder + "/" + kCurveFileName);
        if (!c.curve.empty()) std::ofstream(folder + "/" + kCurveFileName) << c.curve;
        const MomentCurvatureCurve curve = ReadMomentCurvature(plan, folder, c.console);
        EXPECT_EQ(curve.failure, c.failure);
        ASSERT_EQ(curve.states.size(), c.states);
        if (c.states == 2) {
            EXPECT_EQ(CurvatureOf(curve.states[1], BendingAxis::Y), 1e-7);
            EXPECT_EQ(MomentOf(curve.states[1], BendingAxis::Y), 1.08e8);
            EXPECT_EQ(CurvatureOf(curve.states[1], BendingAxis::Z), 2e-9);
            EXPECT_EQ(MomentOf(curve.states[1], BendingAxis::Z), 3);
        }
    }
    std::ofstream(folder + "/" + kCurveFileName) << "0 0 0 0 0 0 0 0\n1 2 3 4 5 6 7\n";
    try {
        ReadMomentCurvature(plan, folder, "section run done");
        ADD_FAILURE() << "a short line was read";
    } catch (const InputError& e) {
        EXPECT_EQ(std::string(e.what()), folder + "/" + kCurveFileName +
                                             ", line 2, column 8: the line ends after 7 columns; "
                                             "its block needs 8");
    }
}
