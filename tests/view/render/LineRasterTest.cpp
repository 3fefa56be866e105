// LineRaster against the painter's two pixels wide square-capped pen, line by line: the painter
// leaves out some pixels whose centres lie within a few thousandths of a pixel of the pen's edge
// (LineRaster.h: 0.5 % of the pixels on random lines; up to 1.1 % of a few slanted ones here), so
// at most 2 % of the pixels drawn may differ; a wrong end, side or cut changes whole columns.
#include "view/render/LineRaster.h"

#include "RenderTestSupport.h"

#include <QPainter>
#include <QPen>

#include <gtest/gtest.h>

#include <vector>

using namespace vandra;
using namespace vandra::testing;

TEST(LineRaster, DrawsThePaintersWidePenLineByLine) {
    EnsureGuiApplication();
    constexpr int kSide = 40;
    const QRgb blank = BlankImage(1, 1).pixel(0, 0);
    const struct {
        const char* name;
        int x1, y1, dx, dy; // each line starts at (x1 + k, y1) for k = 0..7 and runs by (dx, dy)
    } cases[] = {
        {"no length", 10, 10, 0, 0},         {"one pixel along x", 10, 10, 1, 0},
        {"one pixel diagonal", 10, 10, 1, -1}, {"short and steep", 12, 20, 1, 3},
        {"short and flat", 12, 20, -3, 1},   {"long and slanted", 2, 3, 35, 17},
        {"out through the top", 14, 5, 3, -900}, {"out through the right", 30, 20, 700, -9},
        {"across from far outside", -500, 37, 1100, -80},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int drawn = 0, differing = 0;
        for (int k = 0; k < 8; ++k) {
            QImage raster = BlankImage(kSide, kSide), painted = BlankImage(kSide, kSide);
            LineRaster(raster).Line(c.x1 + k, c.y1, c.x1 + k + c.dx, c.y1 + c.dy, qRgb(200, 0, 0));
            QPainter p(&painted);
            p.setPen(QPen(QColor(200, 0, 0), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            p.drawLine(c.x1 + k, c.y1, c.x1 + k + c.dx, c.y1 + c.dy);
            p.end();
            for (int y = 0; y < kSide; ++y)
                for (int x = 0; x < kSide; ++x) {
                    drawn += painted.pixel(x, y) != blank;
                    differing += raster.pixel(x, y) != painted.pixel(x, y);
                }
        }
        EXPECT_GT(drawn, 0);
        EXPECT_LE(differing, drawn / 50) << differing << " of " << drawn;
    }
}
