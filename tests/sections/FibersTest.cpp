#include "sections/Fibers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using namespace vandra;

namespace {

constexpr double kTol = 1e-9;
constexpr int kRebar = 9;

// A 500 deep, 300 wide rectangle with the import's defaults.
TSECTION Rectangle(int kind) {
    TSECTION s;
    s.Shape = kShapeRectangle;
    s.FrameType = kNonlinearBeamColumn;
    s.T[1] = 500;
    s.T[2] = 300;
    s.MatIdx = 1;
    s.DivideFX = s.DivideFY = s.BarNumNX = s.BarNumNY = 5;
    s.Cover = 35;
    s.BarTop = s.BarBot = 1000;
    s.SectionKind = kind;
    return s;
}

struct Fib {
    int k;
    double y, z, area;
    int mat;
};

void ExpectFibers(const TSECTION& s, const std::vector<Fib>& want) {
    for (const Fib& w : want) {
        ASSERT_LT(static_cast<size_t>(w.k), s.Fibers.size()) << w.k;
        const TFIBER& f = s.Fibers[static_cast<size_t>(w.k)];
        EXPECT_NEAR(f.FibY, w.y, kTol) << "fiber " << w.k;
        EXPECT_NEAR(f.FibZ, w.z, kTol) << "fiber " << w.k;
        EXPECT_NEAR(f.FibArea, w.area, kTol) << "fiber " << w.k;
        EXPECT_EQ(f.FibMat, w.mat) << "fiber " << w.k;
    }
}

} // namespace

TEST(Fibers, RectangleColumnCellsThenFourBarRows) {
    TSECTION s = Rectangle(kColumnSection);
    GenerateSectionFibers(s, kRebar);
    EXPECT_EQ(s.FiberCount, 45);
    // Cells row by row from the bottom left; X rows bottom then top; Y rows left then right,
    // spaced so that no Y bar is a corner.
    ExpectFibers(s, {{1, -120, -200, 6000, 1},
                     {5, 120, -200, 6000, 1},
                     {6, -120, -100, 6000, 1},
                     {25, 120, 200, 6000, 1},
                     {26, -115, -215, 200, kRebar},
                     {28, 0, -215, 200, kRebar},
                     {30, 115, -215, 200, kRebar},
                     {31, -115, 215, 200, kRebar},
                     {36, -115, -215 + 430.0 / 6, 200, kRebar},
                     {40, -115, -215 + 5 * 430.0 / 6, 200, kRebar},
                     {41, 115, -215 + 430.0 / 6, 200, kRebar},
                     {45, 115, -215 + 5 * 430.0 / 6, 200, kRebar}});
}

TEST(Fibers, RectangleBeamAndUnusualBarCounts) {
    TSECTION beam = Rectangle(kBeamSection);
    GenerateSectionFibers(beam, kRebar);
    EXPECT_EQ(beam.FiberCount, 35);
    ExpectFibers(beam, {{26, -115, 215, 200, kRebar}, {35, 115, -215, 200, kRebar}});

    // A single bar in a row stands on the centre line.
    beam.BarNumNX = 1;
    beam.BarNumNY = 2;
    GenerateSectionFibers(beam, kRebar);
    EXPECT_EQ(beam.FiberCount, 28);
    ExpectFibers(
        beam,
        {{26, 0, 215, 1000, kRebar}, {27, -115, -215, 500, kRebar}, {28, 115, -215, 500, kRebar}});

    // A column without X bars numbers its Y bars straight after the cells.
    TSECTION column = Rectangle(kColumnSection);
    column.BarNumNX = 0;
    GenerateSectionFibers(column, kRebar);
    EXPECT_EQ(column.FiberCount, 35);
    ExpectFibers(column, {{26, -115, -215 + 430.0 / 6, 200, kRebar},
                          {35, 115, -215 + 5 * 430.0 / 6, 200, kRebar}});

    // Negative counts mean none; a bar layout of unknown kind gives the cells alone.
    column.DivideFX = -2;
    column.BarNumNY = -1;
    GenerateSectionFibers(column, kRebar);
    EXPECT_EQ(column.FiberCount, 0);
    TSECTION other = Rectangle(3);
    GenerateSectionFibers(other, kRebar);
    EXPECT_EQ(other.FiberCount, 25);
}

TEST(Fibers, TheTableGrowsPastEightyAndKeepsOldEntries) {
    TSECTION s = Rectangle(kColumnSection);
    s.DivideFX = s.DivideFY = 10;
    GenerateSectionFibers(s, kRebar);
    EXPECT_EQ(s.FiberCount, 120);
    ASSERT_GE(s.Fibers.size(), 121u);
    ExpectFibers(s, {{100, 135, 225, 1500, 1}, {120, 115, -215 + 5 * 430.0 / 6, 200, kRebar}});
    s.DivideFX = s.DivideFY = 1;
    GenerateSectionFibers(s, kRebar);
    EXPECT_EQ(s.FiberCount, 21);
    ExpectFibers(s, {{1, 0, 0, 150000, 1}});
}

TEST(Fibers, IAndBoxFlangesThenWebs) {
    TSECTION s;
    s.Shape = kShapeI;
    s.T[1] = 400; // depth
    s.T[2] = 200; // flange width
    s.T[3] = 20;  // flange thickness
    s.T[4] = 10;  // web thickness
    s.MatIdx = 2;
    s.DivideFX = 4;
    s.DivideFY = 6;
    GenerateSectionFibers(s, kRebar);
    EXPECT_EQ(s.FiberCount, 14);
    ExpectFibers(s, {{1, -75, -190, 1000, 2},
                     {4, 75, -190, 1000, 2},
                     {5, -75, 190, 1000, 2},
                     {9, 0, -150, 600, 2},
                     {14, 0, 150, 600, 2}});

    s.Shape = kShapeBox;
    GenerateSectionFibers(s, kRebar);
    EXPECT_EQ(s.FiberCount, 20);
    ExpectFibers(s, {{1, -75, -190, 1000, 2},
                     {8, 75, 190, 1000, 2},
                     {9, -95, -150, 600, 2},
                     {14, -95, 150, 600, 2},
                     {15, 95, -150, 600, 2},
                     {20, 95, 150, 600, 2}});
}

TEST(Fibers, PipeFibersOnTheMidWallCircle) {
    TSECTION s;
    s.Shape = kShapePipe;
    s.T[1] = 200;
    s.T[2] = 10;
    s.MatIdx = 3;
    s.DivideFX = 20;
    s.FiberCount = 99;
    GenerateSectionFibers(s, kRebar);
    EXPECT_EQ(s.FiberCount, 20);
    const double r = 95, area = (200.0 * 200 - 180.0 * 180) * std::numbers::pi / 4 / 20;
    const double c18 = std::cos(std::numbers::pi / 10), s18 = std::sin(std::numbers::pi / 10);
    ExpectFibers(s, {{1, r, 0, area, 3},
                     {2, r * c18, r * s18, area, 3},
                     {6, 0, r, area, 3},
                     {11, -r, 0, area, 3}});
}

TEST(Fibers, OnlyFiberFrameTypesWithAShapeAreRebuilt) {
    TModel m;
    m.SectionCount = 9;
    m.Sections.resize(10, Rectangle(kColumnSection));
    for (int t = 1; t <= 8; ++t)
        m.Sections[static_cast<size_t>(t)].FrameType = t;
    m.Sections[9].Shape = kShapeNone;
    m.Sections[9].FiberCount = 3;
    m.Sections[9].Fibers.resize(4);
    TSettings settings;
    GenerateFibers(m, settings);
    for (int t = 1; t <= 8; ++t)
        EXPECT_EQ(m.Sections[static_cast<size_t>(t)].FiberCount, HasFiberSection(t) ? 45 : 0) << t;
    EXPECT_EQ(m.Sections[9].FiberCount, 3);
    EXPECT_EQ(m.Sections[2].Fibers[26].FibMat, settings.RebarMat);
}
