#include "view/render/Canvas.h"

#include "RenderTestSupport.h"

#include <gtest/gtest.h>

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

TEST(Canvas, BoxesExcludeTheirRightAndBottomEdges) {
    EnsureGuiApplication();
    for (bool plain : {true, false}) {
        QImage image = White(40, 40);
        {
            Canvas c(image, plain);
            c.SetPenClear();
            c.SetBrushColor(kRed);
            c.Rectangle(0, 0, 10, 10);
        }
        EXPECT_EQ(Painted(image), QRect(0, 0, 10, 10));
        EXPECT_EQ(CountColor(image, kRed, 0, 0, 40, 40), 100);

        image = White(40, 40);
        {
            Canvas c(image, plain);
            c.SetPen(kBlue, 1);
            c.SetBrushColor(kRed);
            c.Rectangle(5, 6, 15, 16);
        }
        EXPECT_EQ(Painted(image), QRect(5, 6, 10, 10));
        EXPECT_EQ(CountColor(image, kBlue, 0, 0, 40, 40), 36); // the outline on the box's rim
        EXPECT_EQ(CountColor(image, kRed, 0, 0, 40, 40), 64);
    }
}

TEST(Canvas, EllipsesStayInsideTheirBoxAndTouchEverySide) {
    EnsureGuiApplication();
    const struct {
        int pen; // 0: clear
        int half;
    } cases[] = {{0, 4}, {1, 5}, {2, 5}};
    for (const auto& k : cases) {
        for (bool plain : {true, false}) {
            QImage image = White(40, 40);
            {
                Canvas c(image, plain);
                if (k.pen == 0)
                    c.SetPenClear();
                else
                    c.SetPen(kBlue, k.pen);
                c.SetBrushColor(kRed);
                c.Ellipse(20 - k.half, 20 - k.half, 20 + k.half, 20 + k.half);
            }
            EXPECT_EQ(Painted(image), QRect(20 - k.half, 20 - k.half, 2 * k.half, 2 * k.half))
                << "pen " << k.pen << (plain ? " plain" : " fast");
            EXPECT_EQ(image.pixel(20, 20), kRed | 0xFF000000u);
        }
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

TEST(Canvas, FarCoordinatesAreClippedNotLost) {
    EnsureGuiApplication();
    for (bool plain : {true, false}) {
        QImage image = White(50, 50);
        {
            Canvas c(image, plain);
            c.SetPen(kBlue, 2);
            c.Line(-kPixelLimit, 10, kPixelLimit, 10);
            c.SetPen(kRed, 1);
            c.Line(25, -kPixelLimit, 25, kPixelLimit);
            c.SetBrushStyle(BrushStyle::Solid);
            c.SetBrushColor(kRed);
            const QPoint far[4] = {
                {-kPixelLimit, 30}, {kPixelLimit, 30}, {kPixelLimit, 40}, {-kPixelLimit, 40}};
            c.Polygon(far, 4);
        }
        EXPECT_EQ(CountColor(image, kBlue, 0, 0, 50, 50), 2 * 50 - 2);
        EXPECT_EQ(image.pixel(25, 0), kRed | 0xFF000000u);
        EXPECT_EQ(image.pixel(25, 49), kRed | 0xFF000000u);
        EXPECT_EQ(image.pixel(0, 35), kRed | 0xFF000000u);
        EXPECT_EQ(image.pixel(49, 35), kRed | 0xFF000000u);
    }
}

TEST(Canvas, NodeDotShape) {
    EnsureGuiApplication();
    QImage image = White(20, 20);
    {
        Canvas c(image, true);
        c.SetPenClear();
        c.SetBrushColor(kBlue);
        c.NodeDot(10, 10);
    }
    QString rows;
    for (int y = 6; y < 14; ++y) {
        for (int x = 6; x < 14; ++x)
            rows += image.pixel(x, y) == (kBlue | 0xFF000000u) ? 'o' : '.';
        rows += '\n';
    }
    EXPECT_EQ(rows.toStdString(), "..oooo..\n"
                                  ".oooooo.\n"
                                  "oooooooo\n"
                                  "oooooooo\n"
                                  "oooooooo\n"
                                  "oooooooo\n"
                                  ".oooooo.\n"
                                  "..oooo..\n");
}
