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
    int scripts = 0, refusals = 0;
    for (int round = 0; round < 400; ++round) {
        TModel m = original;
        TSettings s;
        s.AnalysisType = pick(-1, 9);
        s.LoadCase = pick(-2, 4);
        s.LoadVector = pick(-2, 4);
        s.LoadSteps = pick(-1, 200);
        s.AnalysisStep = pick(-5, 200);
        s.NumIntgrPts = pick(-3, 12);
        s.RebarMat = pick(-1, 5);
        s.ModalNumber = pick(-3, 30);
        s.UseAggregator = pick(0, 1) == 1;
        s.GenPlateFiber = pick(0, 1) == 1;
        for (int r = 1; r <= 5; ++r)
            s.RecOpt[r] = pick(0, 1) == 1;
        for (int k = 1; k <= m.SectionCount; ++k) {
            TSECTION& sec = m.Sections[k];
            sec.FrameType = pick(-1, 9);
            sec.GeoTransf = pick(0, 4);
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
        for (int k = 1; k <= m.SectionCount; ++k)
            ASSERT_TRUE(m.Sections[k].FiberCount == 0 ||
                        m.Sections[k].Fibers.size() > static_cast<size_t>(m.Sections[k].FiberCount))
                << "round " << round;
    }
    EXPECT_GT(scripts, 300); // only LoadSteps below 1 is refused here
    EXPECT_GT(refusals, 0);
}
