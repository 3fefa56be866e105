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
