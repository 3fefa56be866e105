// Whatever the dialogs let an engineer type, the generator writes a script or refuses with a
// message: odd settings and section values never crash it or make it write past a table.
#include "import/S2kImport.h"
#include "model/Errors.h"
#include "tcl/ScriptGenerator.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace vandra;

TEST(SettingsFuzz, OddSettingsGiveAScriptOrAMessage) {
    const TModel original =
        ImportS2k(ReadS2kFile(std::string(VANDRA_SOURCE_DIR) + "/examples/two_storey_frame.s2k"));
    std::mt19937 random(20261206);
    auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    // Mostly a value the checks accept, now and then one from around and outside its range.
    auto pickOdd = [&](int low, int high, int oddLow, int oddHigh) {
        return pick(0, 19) == 0 ? pick(oddLow, oddHigh) : pick(low, high);
    };
    int scripts = 0, refusals = 0;
    for (int round = 0; round < 400; ++round) {
        TModel m = original;
        TSettings s;
        s.AnalysisType = pickOdd(1, 7, -1, 9);
        s.LoadCase = pickOdd(0, 2, -2, 4);
        s.LoadVector = pickOdd(0, 2, -2, 4);
        s.ControlNode = pickOdd(7, 21, -1, 30);
        s.ControlDof = pickOdd(1, 2, -1, 8);
        s.LoadSteps = pickOdd(1, 200, -1, 200);
        s.AnalysisStep = pick(-5, 200);
        s.NumIntgrPts = pickOdd(2, 12, -3, 25);
        s.RebarMat = pickOdd(1, 2, -1, 5);
        s.ModalNumber = pickOdd(1, 6, -3, 30);
        s.UseAggregator = pick(0, 1) == 1;
        s.GenPlateFiber = pick(0, 1) == 1;
        for (int r = 1; r <= 5; ++r)
            s.RecOpt[r] = pick(0, 1) == 1;
        for (int k = 1; k <= m.SectionCount; ++k) {
            TSECTION& sec = m.Sections[k];
            sec.FrameType = pickOdd(1, 8, -1, 9);
            sec.GeoTransf = pickOdd(1, 3, 0, 4);
            sec.SectionKind = pick(0, 3);
            sec.DivideFX = pick(-2, 40);
            sec.DivideFY = pick(-2, 40);
            sec.BarNumNX = pick(-2, 8);
            sec.BarNumNY = pick(-2, 8);
            sec.Cover = pick(-50, 300);
        }
        ScriptLineList lines;
        try {
            GenerateScript(m, s, lines);
            ++scripts;
            ASSERT_GT(lines.size(), 10u) << "round " << round;
        } catch (const InputError&) {
            ++refusals;
            ASSERT_TRUE(lines.empty()) << "a refused script left lines, round " << round;
        }
    }
    EXPECT_GT(scripts, 50);
    EXPECT_GT(refusals, 0);
}
