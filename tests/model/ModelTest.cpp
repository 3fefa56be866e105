#include "model/Model.h"

#include <gtest/gtest.h>

#include <set>

using namespace vandra;

TEST(Model, LookupByNameIsExactAndTheLastMatchWins) {
    TModel m;
    m.MatCount = 3;
    m.Mats.resize(4);
    m.Mats[1].Name = "C30";
    m.Mats[2].Name = "c30";
    m.Mats[3].Name = "C30";
    EXPECT_EQ(FindMaterial(m, "C30"), 3);
    EXPECT_EQ(FindMaterial(m, "c30"), 2);
    EXPECT_EQ(FindMaterial(m, "C3"), 0);
    EXPECT_EQ(FindMaterial(m, ""), 0);  // record 0 is never a match
    m.MatCount = -1;
    EXPECT_EQ(FindMaterial(m, "C30"), 0);
}

TEST(Model, SectionColoursCycleThroughTwentyDistinctEntries) {
    EXPECT_EQ(SectionColor(21), SectionColor(1));
    EXPECT_EQ(SectionColor(1), PackColor(255, 0, 0));
    EXPECT_EQ(SectionColor(20), PackColor(0, 0, 0));
    std::set<uint32_t> seen(Palette.begin(), Palette.begin() + 17);
    for (int k = 17; k <= 19; ++k) EXPECT_TRUE(seen.insert(SectionColor(k)).second) << k;
    EXPECT_EQ(ColorRed(PackColor(1, 2, 3)), 1);
    EXPECT_EQ(ColorGreen(PackColor(1, 2, 3)), 2);
    EXPECT_EQ(ColorBlue(PackColor(1, 2, 3)), 3);
}

TEST(Model, SettingsStartWithTheirDefaults) {
    TSettings s;
    EXPECT_TRUE(s.RecOpt[1]);
    for (int i = 2; i <= 5; ++i) EXPECT_FALSE(s.RecOpt[i]);
    EXPECT_EQ(s.LoadSteps, 100);
    EXPECT_EQ(s.NumIntgrPts, 3);
    EXPECT_EQ(s.ModalNumber, 12);
    EXPECT_TRUE(s.GenPlateFiber);
    EXPECT_FALSE(s.UseAggregator);
}
