#include "tcl/SectionProperties.h"

#include <gtest/gtest.h>

#include <numbers>

using namespace vandra;

TEST(SectionProperties, RectangleSolidBarAndMissingMaterial) {
    TModel m;
    m.MatCount = 1;
    m.Mats.resize(2);
    m.Mats[1].G = 12500;
    m.SectionCount = 3;
    m.Sections.resize(4);
    m.Sections[1].Shape = kShapeRectangle;
    m.Sections[1].T = {0, 500, 300, 0, 0, 0, 0};
    m.Sections[1].MatIdx = 1;
    m.Sections[2].Shape = kShapePipe; // a wall of half the diameter: a solid bar
    m.Sections[2].T = {0, 100, 50, 0, 0, 0, 0};
    m.Sections[3].Area = 3; // no shape: kept as it is
    m.Sections[3].SecG = 7;
    ComputeSectionProperties(m);

    const TSECTION& r = m.Sections[1];
    EXPECT_DOUBLE_EQ(r.Area, 1.5e5);
    EXPECT_DOUBLE_EQ(r.I33, 3.125e9);
    EXPECT_DOUBLE_EQ(r.I22, 1.125e9);
    EXPECT_DOUBLE_EQ(r.AS2, 1.25e5);
    EXPECT_DOUBLE_EQ(r.AS3, 1.25e5);
    EXPECT_NEAR(r.TorsJ, 2.8174e9, 0.0001e9);
    EXPECT_EQ(r.SecG, 12500);

    const TSECTION& bar = m.Sections[2];
    constexpr double pi = std::numbers::pi;
    EXPECT_DOUBLE_EQ(bar.Area, 2500 * pi);
    EXPECT_DOUBLE_EQ(bar.I22, 1e8 * pi / 64);
    EXPECT_DOUBLE_EQ(bar.TorsJ, 50.0 * 50 * 50 * 50 * pi / 2);
    EXPECT_EQ(bar.SecG, 0); // material slot 0

    EXPECT_EQ(m.Sections[3].Area, 3);
    EXPECT_EQ(m.Sections[3].SecG, 7);

    m.MatCount = -1; // no material table at all
    m.Mats.clear();
    m.Sections[1].T[1] = m.Sections[1].T[2] = 0;
    ComputeSectionProperties(m);
    EXPECT_EQ(m.Sections[1].SecG, 0);
    EXPECT_EQ(m.Sections[1].TorsJ, 0); // no division by zero
}
