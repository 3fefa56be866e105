#include "view/render/Canvas.h"

#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace vandra;
using namespace vandra::testing;

namespace {

constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kBlue = qRgb(0, 0, 255);
constexpr QRgb kWhite = qRgb(255, 255, 255);

// The box of the pixels that are not white: {minX, minY, maxX, maxY}, or all -1 when none.
QRect Painted(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != (kWhite | 0xFF000000u)) box |= QRect(x, y, 1, 1);
    return box;
}

QImage White(int W, int H) {
    QImage image(W, H, QImage::Format_RGB32);
    image.fill(kWhite);
    return image;
}

} // namespace

// Each shape in both ways of drawing: the box of what it paints (boxes and ellipses exclude their
// right and bottom edges; an ellipse touches every side of its box whatever the pen), its pixels by
// colour (-1: not counted) and points that must be red. Far coordinates are clipped, not lost.
TEST(Canvas, ShapesPaintTheirBoxInBothWaysOfDrawing) {
    EnsureGuiApplication();
    const auto ellipse = [](int pen, int half) {
        return [=](Canvas& c) {
            if (pen == 0) c.SetPenClear();
            else c.SetPen(kBlue, pen);
            c.SetBrushColor(kRed);
            c.Ellipse(20 - half, 20 - half, 20 + half, 20 + half);
        };
    };
    const struct {
        const char* what;
        std::function<void(Canvas&)> draw;
        QRect box;
        int red, blue;
        std::vector<QPoint> reds;
    } cases[] = {
        {"box without a pen",
         [](Canvas& c) { c.SetPenClear(), c.SetBrushColor(kRed), c.Rectangle(0, 0, 10, 10); },
         QRect(0, 0, 10, 10), 100, 0, {}},
        {"box with its outline on the rim",
         [](Canvas& c) { c.SetPen(kBlue, 1), c.SetBrushColor(kRed), c.Rectangle(5, 6, 15, 16); },
         QRect(5, 6, 10, 10), 64, 36, {}},
        {"ellipse without a pen", ellipse(0, 4), QRect(16, 16, 8, 8), -1, -1, {{20, 20}}},
        {"ellipse, pen 1", ellipse(1, 5), QRect(15, 15, 10, 10), -1, -1, {{20, 20}}},
        {"ellipse, pen 2", ellipse(2, 5), QRect(15, 15, 10, 10), -1, -1, {{20, 20}}},
        {"node dot: 8 pixels, the corners cut",
         [](Canvas& c) { c.SetPenClear(), c.SetBrushColor(kBlue), c.NodeDot(10, 10); },
         QRect(6, 6, 8, 8), 0, 52, {}},
        {"far lines and polygon",
         [](Canvas& c) {
             c.SetPen(kBlue, 2);
             c.Line(-kPixelLimit, 10, kPixelLimit, 10);
             c.SetPen(kRed, 1);
             c.Line(25, -kPixelLimit, 25, kPixelLimit);
             c.SetBrushStyle(BrushStyle::Solid);
             c.SetBrushColor(kRed);
             const QPoint far[4] = {
                 {-kPixelLimit, 30}, {kPixelLimit, 30}, {kPixelLimit, 40}, {-kPixelLimit, 40}};
             c.Polygon(far, 4);
         },
         QRect(0, 0, 50, 50), -1, 2 * 50 - 2, {{25, 0}, {25, 49}, {0, 35}, {49, 35}}},
    };
    for (const auto& k : cases)
        for (bool plain : {true, false}) {
            SCOPED_TRACE(std::string(k.what) + (plain ? ", plain" : ", fast"));
            QImage image = White(50, 50);
            {
                Canvas c(image, plain);
                k.draw(c);
            }
            EXPECT_EQ(Painted(image), k.box);
            if (k.red >= 0) EXPECT_EQ(CountColor(image, kRed, 0, 0, 50, 50), k.red);
            if (k.blue >= 0) EXPECT_EQ(CountColor(image, kBlue, 0, 0, 50, 50), k.blue);
            for (const QPoint& p : k.reds)
                EXPECT_EQ(image.pixel(p), kRed | 0xFF000000u) << p.x() << ", " << p.y();
        }
}

TEST(Canvas, NodeDotBlitMatchesTheEllipseEverywhere) {
    EnsureGuiApplication();
    // Dots at every offset across the image edges, compared with the painted ellipse.
    QImage fast = White(23, 17), plain = White(23, 17);
    for (QImage* image : {&fast, &plain}) {
        Canvas c(*image, image == &plain);
        c.SetPenClear();
        c.SetBrushColor(kBlue);
        for (int y = -6; y < 24; y += 3)
            for (int x = -6; x < 30; x += 5)
                c.NodeDot(x, y);
    }
    EXPECT_EQ(fast, plain);
    EXPECT_GT(CountColor(fast, kBlue, 0, 0, 23, 17), 100);
}

TEST(Canvas, TextCellIsFilledOnlyWithASolidBrush) {
    EnsureGuiApplication();
    for (BrushStyle style : {BrushStyle::Solid, BrushStyle::Clear}) {
        QImage image = White(120, 60);
        {
            Canvas c(image, false);
            c.SetFontFace("Comic Sans MS");
            c.SetFontSize(10);
            c.SetFontColor(qRgb(0, 0, 0));
            c.SetBrushColor(kRed);
            c.SetBrushStyle(style);
            c.TextOut(30, 20, "123");
        }
        const QRect box = Painted(image);
        EXPECT_GE(box.left(), 29);
        EXPECT_GE(box.top(), 20);
        const int red = CountColor(image, kRed, 0, 0, 120, 60);
        if (style == BrushStyle::Solid) {
            EXPECT_EQ(image.pixel(30, 20), kRed | 0xFF000000u); // the cell's top-left corner
            EXPECT_GT(red, 80);
            EXPECT_GE(box.height(), 12); // 10 points at 96 DPI: about 13 pixels high
        } else {
            EXPECT_EQ(red, 0);
            EXPECT_FALSE(box.isEmpty());
        }
    }
}

