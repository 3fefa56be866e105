// The canvas's fill of a result band, on an image against the pixels whose centres lie in the
// polygon, and in an SVG where overlapping bands of one colour must fill their union.
#include "view/render/Canvas.h"

#include "RenderTestSupport.h"

#include <QBuffer>
#include <QSvgGenerator>
#include <QSvgRenderer>

#include <gtest/gtest.h>

#include <vector>

using namespace vandra;
using namespace vandra::testing;

namespace {

constexpr int kW = 100;
constexpr int kH = 100;
constexpr QRgb kFill = qRgb(150, 180, 255);

// Even-odd: whether (x, y) lies inside the polygon.
bool Inside(const std::vector<QPointF>& polygon, double x, double y) {
    bool in = false;
    for (size_t k = 0, j = polygon.size() - 1; k < polygon.size(); j = k++) {
        const QPointF& a = polygon[k];
        const QPointF& b = polygon[j];
        if ((a.y() > y) != (b.y() > y) && x < a.x() + (y - a.y()) * (b.x() - a.x()) / (b.y() - a.y()))
            in = !in;
    }
    return in;
}

TEST(BandFill, AnImageGetsThePixelsWhoseCentresLieInTheBand) {
    EnsureGuiApplication();
    // No pixel centre lies on an edge, so the pixels are exactly those whose centres are inside.
    const struct {
        const char* name;
        QPointF from, to;
        std::vector<QPointF> curve;
    } cases[] = {
        {"a curve bulging away from its base", {10.3, 80.7}, {90.3, 80.7},
         {{10.3, 60.2}, {30.6, 30.4}, {50.2, 22.3}, {70.8, 33.1}, {90.3, 61.6}}},
        // Rows between the dips cross the band four times.
        {"a curve dipping twice towards its base", {10.3, 80.7}, {90.3, 80.7},
         {{10.3, 20.2}, {30.6, 70.4}, {50.2, 15.3}, {70.8, 72.1}, {90.3, 25.6}}},
        {"a slanted member", {5.2, 90.1}, {85.6, 12.3}, {{25.4, 95.3}, {60.1, 70.2}, {95.8, 30.7}}},
        // Beyond the image and, at its far corner, beyond the canvas's clip margin.
        {"a band reaching far outside", {-30.2, 50.3}, {60.7, -20.1},
         {{-10000.3, 9000.6}, {80.2, 40.9}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QImage image = BlankImage(kW, kH);
        {
            Canvas canvas(image, false);
            canvas.FillBand(c.from, c.to, c.curve.data(), static_cast<int>(c.curve.size()), kFill);
        }
        std::vector<QPointF> polygon{c.from, c.to};
        polygon.insert(polygon.end(), c.curve.rbegin(), c.curve.rend());
        int filled = 0;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const bool inside = Inside(polygon, x + 0.5, y + 0.5);
                filled += inside;
                EXPECT_EQ(image.pixel(x, y) == (kFill | 0xFF000000u), inside) << x << ", " << y;
            }
        EXPECT_GT(filled, 100);
    }
}

TEST(BandFill, OverlappingBandsOfOneColourFillTheirUnionInAnSvg) {
    EnsureGuiApplication();
    // The two rectangles run round opposite ways; where they overlap (around 50, 40) the
    // non-zero rule of the SVG's one path would leave a hole if the turns were not made alike.
    const QPointF right[2] = {{80, 20}, {80, 60}}; // the first band: x 10 to 80, turning left
    const QPointF left[2] = {{20, 20}, {20, 60}};  // the second: x 20 to 90, turning right
    QBuffer svg;
    svg.open(QIODevice::WriteOnly);
    {
        QSvgGenerator generator;
        generator.setOutputDevice(&svg);
        generator.setSize(QSize(kW, kH));
        generator.setViewBox(QRect(0, 0, kW, kH));
        QPainter painter(&generator);
        Canvas canvas(painter, kW, kH);
        canvas.FillBand({10, 20}, {10, 60}, right, 2, kFill);
        canvas.FillBand({90, 20}, {90, 60}, left, 2, kFill);
    }
    QSvgRenderer renderer(svg.data());
    QImage image(kW, kH, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    EXPECT_EQ(image.pixel(50, 40), kFill | 0xFF000000u);
    EXPECT_EQ(image.pixel(50, 80), qRgb(255, 255, 255) | 0xFF000000u);
}

} // namespace
