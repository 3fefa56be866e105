// A 2D canvas over a retained QImage with the drawing model the model view is written against:
// a pen (colour, width, solid or clear), a brush (colour; solid, clear or diagonal cross-hatch)
// and a font (face, size in points, colour) that persist between calls; boxes given by two
// corners whose right and bottom edges are exclusive; text placed by its top-left corner.
//
// The canvas sets QPainter's pen and brush only when they change. Unless it is built plain, it
// also writes two pixels wide lines itself (LineRaster), collects consecutive other lines drawn
// with one pen into one QPainter::drawLines call, paints node dots from a pre-rendered mask,
// fills result bands and draws their one pixel wide curves itself, and skips shapes whose box
// lies wholly outside the image; the pixels differ from the painter's only where a pixel's
// centre lies on an edge (the renderer's tests compare both ways of drawing).
//
// A canvas over a painter of a vector device (an SVG) collects the lines of a layer by pen and
// draws each pen's lines as one path when the layer ends (a shape or text that is not a line, or
// the canvas's end), which keeps the SVG of a large model small (LineBatch).
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QPoint>
#include <QVector>

#include "view/render/LineBatch.h"
#include "view/render/LineRaster.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace vandra {

enum class BrushStyle { Solid, Clear, DiagCross };

class Canvas {
public:
    Canvas(QImage& image, bool plain);
    // Draws with a painter that is already active on a device of width x height pixels; the
    // painter's state is restored at the end.
    Canvas(QPainter& painter, int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool IsActive() const { return painter_->isActive(); }
    int Width() const { return width_; }
    int Height() const { return height_; }

    void SetPen(QRgb color, int width) {
        if (penClear_ || penColor_ != color || penWidth_ != width) ChangePen(color, width);
    }
    void SetPenClear();
    void SetBrushColor(QRgb color);
    void SetBrushStyle(BrushStyle style);
    void SetFontFace(const QString& face);
    void SetFontSize(int points);
    void SetFontColor(QRgb color);

    void Rectangle(int x1, int y1, int x2, int y2);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Line(int x1, int y1, int x2, int y2);
    void Polygon(const QPoint* points, int count);
    void TextOut(int x, int y, std::string_view text);
    // Ellipse(x - 4, y - 4, x + 4, y + 4): the dot of a node.
    void NodeDot(int x, int y);

    // Points not rounded to the pixel, for what is drawn over the model (result diagrams).
    // The region between the straight base from `from` to `to` and the polyline curve[0 ..
    // count), which starts beside `from` and ends beside `to`, filled with color and no outline
    // (on an image the pixels whose centres it holds). The curve must not cross the base, so
    // that the region is one simple polygon.
    void FillBand(const QPointF& from, const QPointF& to, const QPointF* curve, int count,
                  QRgb color);
    // The polyline through count points, one pixel wide.
    void Polyline(const QPointF* points, int count, QRgb color);
    // The painter, for text and shapes the canvas has no call for; what was collected is drawn
    // first, and the canvas sets its pen, brush and font again at its next call.
    QPainter& Painter();

    // Draws the lines collected so far.
    void Flush() {
        if (vector_ || !pendingLines_.isEmpty()) DrawCollected();
    }

private:
    static constexpr int kDot = 8;

    void Start();
    void ApplyPen();
    void ApplyBrush();
    void ChangePen(QRgb color, int width);
    void DrawCollected();
    bool BoxOutside(int x1, int y1, int x2, int y2, int margin) const {
        return static_cast<long long>(x2) + margin <= 0 ||
               static_cast<long long>(y2) + margin <= 0 ||
               static_cast<long long>(x1) - margin >= width_ ||
               static_cast<long long>(y1) - margin >= height_;
    }
    void FillPolygonF(const QPointF* p, int n, QRgb color);
    // Fills the rows y0..y1 of a polygon that every row crosses twice; false when it is not one.
    bool FillMonotone(const QPointF* p, int n, int y0, int y1, QRgb color);
    void ThinLine(const QPointF& a, const QPointF& b, QRgb color);
    void BuildDotMask();

    QPainter ownPainter_;
    QPainter* painter_;
    bool plain_;
    bool vector_ = false;
    LineBatch vectorLines_;
    FillBatch vectorFills_;
    std::optional<LineRaster> raster_; // two pixels wide lines straight into the image (fast)
    std::vector<QPointF> band_;         // the polygon of FillBand
    uint32_t* bits_ = nullptr;          // the image's pixels when the canvas writes them itself
    qsizetype stride_ = 0;              // in pixels
    int width_ = 0, height_ = 0;

    // The canvas state as the drawing code set it.
    QRgb penColor_ = qRgb(0, 0, 0);
    int penWidth_ = 1;
    bool penClear_ = false;
    QRgb brushColor_ = qRgb(255, 255, 255);
    BrushStyle brushStyle_ = BrushStyle::Solid;
    QRgb fontColor_ = qRgb(0, 0, 0);
    QFont font_;
    std::optional<QFontMetrics> metrics_;

    // What QPainter currently holds; 'Text' marks the pen as set to the font colour.
    enum class PainterPen { Unset, Pen, NoPen, Text };
    PainterPen painterPen_ = PainterPen::Unset;
    QRgb painterPenColor_ = 0;
    int painterPenWidth_ = 0;
    bool brushApplied_ = false;
    QRgb painterBrushColor_ = 0;
    BrushStyle painterBrushStyle_ = BrushStyle::Solid;

    // Lines of the current batch, with a hash set of their end points: drawing the same line
    // again with the same pen in one batch changes no pixel, so repeats (storeys on top of each
    // other in a plan view) are dropped.
    bool SeenInBatch(int x1, int y1, int x2, int y2);
    void NextBatch();
    QVector<QLineF> pendingLines_;
    size_t seenCount_ = 0;
    std::array<std::array<int, 2>, kDot> dotSpans_{}; // [first, end) of each row of the dot
    bool dotMaskBuilt_ = false;
};

} // namespace vandra
