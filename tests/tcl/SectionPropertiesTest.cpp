#include "tcl/SectionProperties.h"

#include <gtest/gtest.h>

#include <numbers>

using namespace vandra;

namespace {

TModel OneSection(int shape, double t1, double t2, double t3 = 0, double t4 = 0) {
    TModel m;
    m.MatCount = 1;
    m.Mats.resize(2);
    m.Mats[1].G = 12500;
    m.SectionCount = 1;
    m.Sections.resize(2);
    TSECTION& s = m.Sections[1];
    s.Shape = shape;
    s.T = {0, t1, t2, t3, t4, 0, 0};
    s.MatIdx = 1;
    ComputeSectionProperties(m);
    return m;
}

} // namespace

TEST(SectionProperties, ClosedFormsOfTheFourShapes) {
    constexpr double pi = std::numbers::pi;
    struct Case {
        const char* what;
        TSECTION s;
        double area, i22, i33, as2, as3, torsJ;
    };
    const Case cases[] = {
        {"500 x 300 rectangle", OneSection(kShapeRectangle, 500, 300).Sections[1], 1.5e5, 1.125e9,
         3.125e9, 1.25e5, 1.25e5,
         250.0 * 150 * 150 * 150 * (16.0 / 3 - 3.36 * 0.6 * (1 - 0.6 * 0.6 * 0.6 * 0.6 / 12))},
        {"square", OneSection(kShapeRectangle, 100, 100).Sections[1], 1e4, 1e8 / 12, 1e8 / 12,
         1e4 * 5 / 6, 1e4 * 5 / 6, 50.0 * 50 * 50 * 50 * (16.0 / 3 - 3.36 * (1 - 1.0 / 12))},
        {"I 400 x 200, 20 / 10", OneSection(kShapeI, 400, 200, 20, 10).Sections[1],
         360.0 * 10 + 2 * 20 * 200, 1000.0 * 400 / 12 + 8e6 * 20 / 6,
         2 * 4000.0 * 190 * 190 + 10 * 6.4e7 / 12, 5.0 / 6 * 400 * 10, 5.0 / 3 * 200 * 20,
         (400.0 * 1000 + 2 * 200 * 8000) / 3},
        {"box 400 x 200, 20 / 10", OneSection(kShapeBox, 400, 200, 20, 10).Sections[1],
         2 * 360.0 * 10 + 2 * 20 * 200, 2 * 4000.0 * 95 * 95 + 2 * 8e6 * 20 / 12,
         2 * 4000.0 * 190 * 190 + 2 * 10 * 6.4e7 / 12, 2 * 400.0 * 10, 2 * 200.0 * 20,
         2 * (80000.0 * 80000) / (200.0 / 20 + 400.0 / 10)},
        {"pipe 200 / 10", OneSection(kShapePipe, 200, 10).Sections[1], (40000.0 - 32400) * pi / 4,
         (1.6e9 - 32400.0 * 32400) * pi / 64, (1.6e9 - 32400.0 * 32400) * pi / 64,
         (40000.0 - 32400) * pi / 4, (40000.0 - 32400) * pi / 4,
         (1e8 - 90.0 * 90 * 90 * 90) * pi / 2},
        {"solid bar: wall of half the diameter", OneSection(kShapePipe, 100, 50).Sections[1],
         1e4 * pi / 4, 1e8 * pi / 64, 1e8 * pi / 64, 1e4 * pi / 4, 1e4 * pi / 4,
         50.0 * 50 * 50 * 50 * pi / 2},
    };
    for (const Case& c : cases) {
        const auto near = [&](double got, double want) {
            EXPECT_NEAR(got, want, 1e-12 * want) << c.what;
        };
        near(c.s.Area, c.area);
        near(c.s.I22, c.i22);
        near(c.s.I33, c.i33);
        near(c.s.AS2, c.as2);
        near(c.s.AS3, c.as3);
        near(c.s.TorsJ, c.torsJ);
        EXPECT_EQ(c.s.SecG, 12500) << c.what;
    }
    EXPECT_NEAR(cases[0].s.TorsJ, 2.817e9, 0.001e9);
}

TEST(SectionProperties, MaterialAndShapeEdges) {
    // Material slot 0, also when the material table is absent, gives no shear modulus.
    TModel m = OneSection(kShapeRectangle, 500, 300);
    m.Sections[1].MatIdx = 0;
    m.Sections[1].SecG = 7;
    ComputeSectionProperties(m);
    EXPECT_EQ(m.Sections[1].SecG, 0);
    m.MatCount = -1;
    m.Mats.clear();
    m.Sections[1].SecG = 7;
    ComputeSectionProperties(m);
    EXPECT_EQ(m.Sections[1].SecG, 0);

    // A section without a shape keeps what it holds; a degenerate rectangle has no torsion.
    TModel none = OneSection(kShapeNone, 500, 300);
    none.Sections[1].Area = 3;
    ComputeSectionProperties(none);
    EXPECT_EQ(none.Sections[1].Area, 3);
    EXPECT_EQ(none.Sections[1].SecG, 0);
    EXPECT_EQ(OneSection(kShapeRectangle, 0, 0).Sections[1].TorsJ, 0);
    EXPECT_EQ(OneSection(kShapeBox, 400, 200, 0, 10).Sections[1].TorsJ, 0);
}
