// Fiber layouts beyond those the reference scripts already list (rectangle column and beam, I,
// box and pipe with the import's defaults).
#include "sections/Fibers.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

#include <vector>

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

// Fiber k, counted from 1 as the script lists them.
void ExpectFiber(const std::vector<TFIBER>& fibers, int k, double y, double z, double area,
                 int mat) {
    ASSERT_LE(static_cast<size_t>(k), fibers.size()) << k;
    const TFIBER& f = fibers[static_cast<size_t>(k - 1)];
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
    const std::vector<TFIBER> beamFibers = SectionFibers(beam, kRebar);
    EXPECT_EQ(beamFibers.size(), 28u);
    ExpectFiber(beamFibers, 26, 0, 215, 1000, kRebar);
    ExpectFiber(beamFibers, 27, -115, -215, 500, kRebar);
    ExpectFiber(beamFibers, 28, 115, -215, 500, kRebar);

    // A column without X bars numbers its Y bars straight after the cells.
    TSECTION column = Rectangle(kColumnSection);
    column.BarNumNX = 0;
    const std::vector<TFIBER> columnFibers = SectionFibers(column, kRebar);
    EXPECT_EQ(columnFibers.size(), 35u);
    ExpectFiber(columnFibers, 26, -115, -215 + 430.0 / 6, 200, kRebar);
    ExpectFiber(columnFibers, 35, 115, -215 + 5 * 430.0 / 6, 200, kRebar);

    // Negative counts mean none; a bar layout of unknown kind gives the cells alone.
    column.DivideFX = -2;
    column.BarNumNY = -1;
    EXPECT_TRUE(SectionFibers(column, kRebar).empty());
    EXPECT_EQ(SectionFibers(Rectangle(3), kRebar).size(), 25u);
}

TEST(Fibers, FineColumnAndTooManyFibers) {
    TSECTION s = Rectangle(kColumnSection);
    s.DivideFX = s.DivideFY = 10;
    const std::vector<TFIBER> fibers = SectionFibers(s, kRebar);
    EXPECT_EQ(fibers.size(), 120u);
    ExpectFiber(fibers, 100, 135, 225, 1500, 1);
    ExpectFiber(fibers, 120, 115, -215 + 5 * 430.0 / 6, 200, kRebar);
    s.DivideFX = s.DivideFY = 1;
    ExpectFiber(SectionFibers(s, kRebar), 1, 0, 0, 150000, 1);
    // A mistyped division count is refused, not allocated.
    s.DivideFX = s.DivideFY = 1 << 20;
    EXPECT_EQ(FiberCountOf(s), (1LL << 40) + 20);
    EXPECT_THROW(SectionFibers(s, kRebar), InputError);
}
