// Fiber layouts beyond those the reference scripts already list (rectangle column and beam, I,
// box and pipe with the import's defaults).
#include "sections/Fibers.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

using namespace vandra;

namespace {

constexpr int kRebar = 9;

// A 500 deep, 300 wide rectangle with the import's defaults.
TSECTION Rectangle(int kind) {
    TSECTION s;
    s.Shape = kShapeRectangle;
    s.FrameType = kNonlinearBeamColumn;
    s.T = {0, 500, 300, 0, 0, 0, 0};
    s.MatIdx = 1;
    s.DivideFX = s.DivideFY = s.BarNumNX = s.BarNumNY = 5;
    s.Cover = 35;
    s.BarTop = s.BarBot = 1000;
    s.SectionKind = kind;
    return s;
}

void ExpectFiber(const TSECTION& s, int k, double y, double z, double area, int mat) {
    ASSERT_LT(static_cast<size_t>(k), s.Fibers.size()) << k;
    const TFIBER& f = s.Fibers[static_cast<size_t>(k)];
    EXPECT_NEAR(f.FibY, y, 1e-9) << "fiber " << k;
    EXPECT_NEAR(f.FibZ, z, 1e-9) << "fiber " << k;
    EXPECT_NEAR(f.FibArea, area, 1e-9) << "fiber " << k;
    EXPECT_EQ(f.FibMat, mat) << "fiber " << k;
}

} // namespace

TEST(Fibers, UnusualBarCounts) {
    // A single bar in a row stands on the centre line instead of dividing by zero.
    TSECTION beam = Rectangle(kBeamSection);
    beam.BarNumNX = 1;
    beam.BarNumNY = 2;
    GenerateSectionFibers(beam, kRebar);
    EXPECT_EQ(beam.FiberCount, 28);
    ExpectFiber(beam, 26, 0, 215, 1000, kRebar);
    ExpectFiber(beam, 27, -115, -215, 500, kRebar);
    ExpectFiber(beam, 28, 115, -215, 500, kRebar);

    // A column without X bars numbers its Y bars straight after the cells.
    TSECTION column = Rectangle(kColumnSection);
    column.BarNumNX = 0;
    GenerateSectionFibers(column, kRebar);
    EXPECT_EQ(column.FiberCount, 35);
    ExpectFiber(column, 26, -115, -215 + 430.0 / 6, 200, kRebar);
    ExpectFiber(column, 35, 115, -215 + 5 * 430.0 / 6, 200, kRebar);

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
    ExpectFiber(s, 100, 135, 225, 1500, 1);
    ExpectFiber(s, 120, 115, -215 + 5 * 430.0 / 6, 200, kRebar);
    s.DivideFX = s.DivideFY = 1;
    GenerateSectionFibers(s, kRebar);
    EXPECT_EQ(s.FiberCount, 21);
    ExpectFiber(s, 1, 0, 0, 150000, 1);
    EXPECT_GE(s.Fibers.size(), 121u);
    // A mistyped division count is refused, not allocated, and the table stays as it was.
    s.DivideFX = s.DivideFY = 1 << 20;
    EXPECT_EQ(FiberCountOf(s), (1LL << 40) + 20);
    EXPECT_THROW(GenerateSectionFibers(s, kRebar), InputError);
    EXPECT_EQ(s.FiberCount, 21);
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
