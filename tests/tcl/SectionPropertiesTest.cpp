#include "tcl/SectionProperties.h"

#include "sections/Fibers.h"

#include <gtest/gtest.h>

#include <array>
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

namespace {

struct Shape {
    const char* name;
    int shape;
    std::array<double, 4> t; // depth, width, flange thickness, web thickness
    double area, i22, i33, as2, as3, torsJ;
};

// Hand values of the rectangles each shape is made of.
const Shape kShapes[] = {
    {"IPE 400",
     kShapeI,
     {400, 180, 13.5, 8.6},
     8067.8,
     13141770.740666667,
     218764745.51666667,
     5.0 / 6 * 400 * 8.6,
     5.0 / 3 * 180 * 13.5,
     380052.46666666667},
    {"box 300 x 200 x 10",
     kShapeBox,
     {300, 200, 10, 10},
     9600,
     63920000,
     120720000,
     6000,
     4000,
     144000000},
};

TSECTION SectionOf(const Shape& s) {
    TSECTION sec;
    sec.Shape = s.shape;
    for (size_t k = 0; k < 4; ++k)
        sec.T[k + 1] = s.t[k];
    return sec;
}

} // namespace

TEST(SectionProperties, IAndBoxAreTheRectanglesDrawn) {
    for (const Shape& s : kShapes) {
        SCOPED_TRACE(s.name);
        TModel m;
        m.SectionCount = 1;
        m.Sections = {TSECTION(), SectionOf(s)};
        ComputeSectionProperties(m);
        const TSECTION& sec = m.Sections[1];
        EXPECT_NEAR(sec.Area, s.area, 1e-9 * s.area);
        EXPECT_NEAR(sec.I22, s.i22, 1e-12 * s.i22);
        EXPECT_NEAR(sec.I33, s.i33, 1e-12 * s.i33);
        EXPECT_NEAR(sec.AS2, s.as2, 1e-12 * s.as2);
        EXPECT_NEAR(sec.AS3, s.as3, 1e-12 * s.as3);
        EXPECT_NEAR(sec.TorsJ, s.torsJ, 1e-12 * s.torsJ);
    }
}

// The fiber section and the elastic properties describe the same shape: with many fibers the sums
// A, A z^2 and A y^2 approach Area, I33 and I22. The flanges (and the webs across their thickness)
// are one fiber thick, so their own inertia about that axis stays out: well under 0.2 %.
TEST(SectionProperties, AgreeWithAFineFiberLayout) {
    for (const Shape& s : kShapes) {
        SCOPED_TRACE(s.name);
        TModel m;
        m.SectionCount = 1;
        m.Sections = {TSECTION(), SectionOf(s)};
        ComputeSectionProperties(m);
        TSECTION fibers = m.Sections[1];
        fibers.DivideFX = fibers.DivideFY = 400;
        GenerateSectionFibers(fibers, 1);
        double area = 0, i22 = 0, i33 = 0;
        for (int k = 1; k <= fibers.FiberCount; ++k) {
            const TFIBER& f = fibers.Fibers[static_cast<size_t>(k)];
            area += f.FibArea;
            i22 += f.FibArea * f.FibY * f.FibY;
            i33 += f.FibArea * f.FibZ * f.FibZ;
        }
        const TSECTION& sec = m.Sections[1];
        EXPECT_NEAR(area, sec.Area, 1e-9 * sec.Area);
        EXPECT_NEAR(i22, sec.I22, 2e-3 * sec.I22);
        EXPECT_NEAR(i33, sec.I33, 2e-3 * sec.I33);
    }
}
