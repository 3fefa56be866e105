// LineRaster against the painter's two pixels wide pen, line by line: the painter leaves out some
// pixels whose centres lie within 0.001 pixel of the pen's edge (up to 1.1 % of a line here).
#include "view/render/LineRaster.h"

#include "RenderTestSupport.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace vandra::testing;

TEST(LineRaster, DrawsThePaintersWidePenLineByLine) {
    const QRgb blank = BlankImage(1, 1).pixel(0, 0), red = qRgb(200, 0, 0);
    // The lines from (x + k, y) to (x + k + dx, y + dy), k = 0..7: none, short, long, leaving.
    const int cases[][4] = {{10, 10, 0, 0},   {10, 10, 1, 0},    {10, 10, 1, -1},
                            {12, 20, 1, 3},   {12, 20, -3, 1},   {2, 3, 35, 17},
                            {14, 5, 3, -900}, {30, 20, 700, -9}, {-500, 37, 1100, -80}};
    for (const auto& [x0, y0, dx, dy] : cases) {
        int drawn = 0, differing = 0;
        for (int k = 0; k < 8; ++k) {
            QImage raster = BlankImage(40, 40), painted = BlankImage(40, 40);
            vandra::LineRaster(raster).Line(x0 + k, y0, x0 + k + dx, y0 + dy, red);
            QPainter p(&painted);
            p.setPen(QPen(QColor(red), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
            p.drawLine(x0 + k, y0, x0 + k + dx, y0 + dy);
            p.end();
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 40; ++x) {
                    drawn += painted.pixel(x, y) != blank;
                    differing += raster.pixel(x, y) != painted.pixel(x, y);
                }
        }
        EXPECT_TRUE(drawn > 0 && differing <= drawn / 50)
            << x0 << " " << dx << " " << dy << ": " << differing << " of " << drawn;
    }
}
