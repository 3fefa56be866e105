#include "view/render/Canvas.h"

#include <QPen>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace vandra {
namespace {

// 96 dots per inch: font sizes in points come out as on a 96-DPI screen.
constexpr int kDotsPerMeter = 3780;
// Lines and polygons reaching further than this beyond the image are cut at this distance, so
// that the rasteriser only ever sees moderate coordinates.
constexpr double kClipMargin = 4096;
// Text is never wider or taller than this; labels further outside cannot reach the image.
constexpr int kTextReach = 100000;
const char* const kFallbackFace = "DejaVu Sans";
// The pen width LineRaster draws.
constexpr int kRasterWidth = 2;

struct ClipBox {
    double left, top, right, bottom;
};

// Liang-Barsky: keeps the part of the line inside the box; false when nothing is left.
bool ClipLine(QLineF& line, const ClipBox& box) {
    const double x0 = line.x1(), y0 = line.y1();
    const double dx = line.x2() - x0, dy = line.y2() - y0;
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 - box.left, box.right - x0, y0 - box.top, box.bottom - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    line = QLineF(x0 + t0 * dx, y0 + t0 * dy, x0 + t1 * dx, y0 + t1 * dy);
    return true;
}

bool Inside(const QPointF& p, const ClipBox& box) {
    return p.x() >= box.left && p.x() <= box.right && p.y() >= box.top && p.y() <= box.bottom;
}

// Sutherland-Hodgman against one edge of the box at a time.
QPolygonF ClipPolygon(const QPolygonF& polygon, const ClipBox& box) {
    QPolygonF out = polygon;
    for (int edge = 0; edge < 4 && !out.isEmpty(); ++edge) {
        auto inside = [&](const QPointF& p) {
            switch (edge) {
            case 0:
                return p.x() >= box.left;
            case 1:
                return p.x() <= box.right;
            case 2:
                return p.y() >= box.top;
            default:
                return p.y() <= box.bottom;
            }
        };
        auto cross = [&](const QPointF& a, const QPointF& b) {
            double t = 0;
            switch (edge) {
            case 0:
                t = (box.left - a.x()) / (b.x() - a.x());
                break;
            case 1:
                t = (box.right - a.x()) / (b.x() - a.x());
                break;
            case 2:
                t = (box.top - a.y()) / (b.y() - a.y());
                break;
            default:
                t = (box.bottom - a.y()) / (b.y() - a.y());
                break;
            }
            return a + (b - a) * t;
        };
        const QPolygonF in = out;
        out.clear();
        for (qsizetype i = 0; i < in.size(); ++i) {
            const QPointF& cur = in[i];
            const QPointF& prev = in[(i + in.size() - 1) % in.size()];
            if (inside(cur)) {
                if (!inside(prev)) out << cross(prev, cur);
                out << cur;
            } else if (inside(prev)) {
                out << cross(prev, cur);
            }
        }
    }
    return out;
}

} // namespace

Canvas::Canvas(QImage& image, bool plain) : image_(&image), painter_(&ownPainter_), plain_(plain) {
    if (image.isNull()) return;
    image.setDotsPerMeterX(kDotsPerMeter);
    image.setDotsPerMeterY(kDotsPerMeter);
    width_ = image.width();
    height_ = image.height();
    image.bits(); // detach now, so that the painter and the dot blits share one buffer
    if (!ownPainter_.begin(&image)) return;
    if (!plain) {
        raster_.emplace(image);
        if (!raster_->IsUsable()) raster_.reset();
    }
    Start();
}

Canvas::Canvas(QPainter& painter, int width, int height)
    : painter_(&painter), plain_(false), vector_(true), width_(width), height_(height) {
    if (!painter.isActive()) return;
    painter.save();
    Start();
}

void Canvas::Start() {
    painter_->setRenderHint(QPainter::Antialiasing, false);
    font_.setStyleHint(QFont::SansSerif);
    NextBatch();
}

Canvas::~Canvas() {
    if (!painter_->isActive()) return;
    Flush();
    if (vector_)
        painter_->restore();
    else
        ownPainter_.end();
}

void Canvas::SetPen(QRgb color, int width) {
    if (!penClear_ && penColor_ == color && penWidth_ == width) return;
    if (!vector_) Flush();
    penClear_ = false;
    penColor_ = color;
    penWidth_ = width;
}

void Canvas::SetPenClear() {
    if (penClear_) return;
    if (!vector_) Flush();
    penClear_ = true;
}

void Canvas::SetBrushColor(QRgb color) {
    brushColor_ = color;
}
void Canvas::SetBrushStyle(BrushStyle style) {
    brushStyle_ = style;
}

void Canvas::SetFontFace(const QString& face) {
    if (metrics_ && font_.families().value(0) == face) return;
    font_.setFamilies({face, QString::fromLatin1(kFallbackFace)});
    if (!painter_->isActive()) return;
    painter_->setFont(font_);
    metrics_.emplace(painter_->fontMetrics());
}

void Canvas::SetFontSize(int points) {
    if (metrics_ && font_.pointSize() == points) return;
    font_.setPointSize(points);
    if (!painter_->isActive()) return;
    painter_->setFont(font_);
    metrics_.emplace(painter_->fontMetrics());
}

void Canvas::SetFontColor(QRgb color) {
    fontColor_ = color;
}

void Canvas::ApplyPen() {
    if (penClear_) {
        if (painterPen_ != PainterPen::NoPen) painter_->setPen(Qt::NoPen);
        painterPen_ = PainterPen::NoPen;
        return;
    }
    if (painterPen_ == PainterPen::Pen && painterPenColor_ == penColor_ &&
        painterPenWidth_ == penWidth_)
        return;
    painter_->setPen(
        QPen(QColor::fromRgb(penColor_), penWidth_, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painterPen_ = PainterPen::Pen;
    painterPenColor_ = penColor_;
    painterPenWidth_ = penWidth_;
}

void Canvas::ApplyBrush() {
    if (brushApplied_ && painterBrushStyle_ == brushStyle_ &&
        (brushStyle_ == BrushStyle::Clear || painterBrushColor_ == brushColor_))
        return;
    switch (brushStyle_) {
    case BrushStyle::Solid:
        painter_->setBrush(QColor::fromRgb(brushColor_));
        break;
    case BrushStyle::Clear:
        painter_->setBrush(Qt::NoBrush);
        break;
    case BrushStyle::DiagCross:
        painter_->setBrush(QBrush(QColor::fromRgb(brushColor_), Qt::DiagCrossPattern));
        break;
    }
    brushApplied_ = true;
    painterBrushStyle_ = brushStyle_;
    painterBrushColor_ = brushColor_;
}

bool Canvas::BoxOutside(int x1, int y1, int x2, int y2, int margin) const {
    return static_cast<long long>(x2) + margin <= 0 || static_cast<long long>(y2) + margin <= 0 ||
           static_cast<long long>(x1) - margin >= width_ ||
           static_cast<long long>(y1) - margin >= height_;
}

void Canvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (!painter_->isActive() || x2 <= x1 || y2 <= y1) return;
    Flush();
    if (!plain_ && BoxOutside(x1, y1, x2, y2, 0)) return;
    const int w = x2 - x1, h = y2 - y1;
    if (brushStyle_ == BrushStyle::Solid) {
        painter_->fillRect(QRect(x1, y1, w, h), QColor::fromRgb(brushColor_));
    } else if (brushStyle_ == BrushStyle::DiagCross) {
        painter_->fillRect(QRect(x1, y1, w, h),
                           QBrush(QColor::fromRgb(brushColor_), Qt::DiagCrossPattern));
    }
    if (penClear_) return;
    // The outline runs along the inside of the box.
    ApplyPen();
    painter_->setBrush(Qt::NoBrush);
    brushApplied_ = false;
    const int p = penWidth_;
    if (p <= 1)
        painter_->drawRect(QRect(x1, y1, w - 1, h - 1));
    else
        painter_->drawRect(QRectF(x1 + p / 2.0, y1 + p / 2.0, w - p, h - p));
}

void Canvas::Ellipse(int x1, int y1, int x2, int y2) {
    if (!painter_->isActive() || x2 <= x1 || y2 <= y1) return;
    Flush();
    if (!plain_ && BoxOutside(x1, y1, x2, y2, 0)) return;
    const int w = x2 - x1, h = y2 - y1;
    ApplyBrush();
    if (penClear_) {
        // Without an outline the rasteriser trims the ellipse unevenly; an outline of the
        // brush's own colour gives the symmetric shape that fills the box.
        if (brushStyle_ != BrushStyle::Solid) return;
        painter_->setPen(QColor::fromRgb(brushColor_));
        painterPen_ = PainterPen::Unset;
        painter_->drawEllipse(QRect(x1, y1, w - 1, h - 1));
        return;
    }
    ApplyPen();
    const int p = penWidth_;
    if (p <= 1)
        painter_->drawEllipse(QRect(x1, y1, w - 1, h - 1));
    else
        painter_->drawEllipse(QRectF(x1 + p / 2.0, y1 + p / 2.0, w - p, h - p));
}

void Canvas::Line(int x1, int y1, int x2, int y2) {
    if (!painter_->isActive() || penClear_) return;
    if (!plain_ && BoxOutside(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1,
                              std::max(y1, y2) + 1, penWidth_ + 1))
        return;
    QLineF line(x1, y1, x2, y2);
    const ClipBox box{-kClipMargin, -kClipMargin, width_ + kClipMargin, height_ + kClipMargin};
    if (!Inside(line.p1(), box) || !Inside(line.p2(), box)) {
        if (!ClipLine(line, box)) return;
    }
    if (plain_) {
        ApplyPen();
        painter_->drawLine(line);
        return;
    }
    if (vector_) {
        vectorLines_.Add(penColor_, penWidth_, line);
        return;
    }
    if (raster_ && penWidth_ == kRasterWidth) {
        raster_->Line(x1, y1, x2, y2, penColor_);
        return;
    }
    if (SeenInBatch(x1, y1, x2, y2)) return;
    pendingLines_.push_back(line);
}

// The hash set outlives the canvas (one per thread), so that a redraw neither allocates nor
// clears it: a slot belongs to the current batch only when it carries the batch's number.
namespace {
struct SeenLine {
    int x1, y1, x2, y2;
    uint32_t batch;
};
struct SeenLines {
    std::vector<SeenLine> table;
    uint32_t batch = 1;
};
thread_local SeenLines tSeen;
} // namespace

void Canvas::NextBatch() {
    seenCount_ = 0;
    if (++tSeen.batch == 0) { // the numbers wrapped: forget every slot
        std::fill(tSeen.table.begin(), tSeen.table.end(), SeenLine{0, 0, 0, 0, 0});
        tSeen.batch = 1;
    }
}

bool Canvas::SeenInBatch(int x1, int y1, int x2, int y2) {
    std::vector<SeenLine>& table = tSeen.table;
    if (table.size() < 2 * (seenCount_ + 1)) {
        // Grow and start afresh: lines already collected may at worst be collected once more.
        size_t size = 1024;
        while (size < 4 * (seenCount_ + 1))
            size *= 2; // a power of two, at most half full
        table.assign(size, SeenLine{0, 0, 0, 0, 0});
        NextBatch();
    }
    uint64_t h = static_cast<uint32_t>(x1) * 0x9E3779B97F4A7C15ull;
    h = (h ^ static_cast<uint32_t>(y1)) * 0xC2B2AE3D27D4EB4Full;
    h = (h ^ static_cast<uint32_t>(x2)) * 0x165667B19E3779F9ull;
    h = (h ^ static_cast<uint32_t>(y2)) * 0x9E3779B97F4A7C15ull;
    const size_t mask = table.size() - 1;
    const uint32_t batch = tSeen.batch;
    for (size_t i = static_cast<size_t>(h >> 20) & mask;; i = (i + 1) & mask) {
        SeenLine& slot = table[i];
        if (slot.batch != batch) {
            slot = SeenLine{x1, y1, x2, y2, batch};
            ++seenCount_;
            return false;
        }
        if (slot.x1 == x1 && slot.y1 == y1 && slot.x2 == x2 && slot.y2 == y2) return true;
    }
}

void Canvas::Flush() {
    if (vector_ && !vectorLines_.Empty()) {
        vectorLines_.Draw(*painter_);
        painterPen_ = PainterPen::Unset;
        brushApplied_ = false;
    }
    if (pendingLines_.isEmpty()) return;
    ApplyPen();
    painter_->drawLines(pendingLines_);
    pendingLines_.clear();
    NextBatch();
}

void Canvas::Polygon(const QPoint* points, int count) {
    if (!painter_->isActive() || count < 2) return;
    Flush();
    int minX = points[0].x(), maxX = minX, minY = points[0].y(), maxY = minY;
    for (int i = 1; i < count; ++i) {
        minX = std::min(minX, points[i].x());
        maxX = std::max(maxX, points[i].x());
        minY = std::min(minY, points[i].y());
        maxY = std::max(maxY, points[i].y());
    }
    if (!plain_ && BoxOutside(minX, minY, maxX + 1, maxY + 1, penWidth_ + 1)) return;
    QPolygonF polygon;
    polygon.reserve(count);
    for (int i = 0; i < count; ++i)
        polygon << QPointF(points[i]);
    const ClipBox box{-kClipMargin, -kClipMargin, width_ + kClipMargin, height_ + kClipMargin};
    if (minX < box.left || minY < box.top || maxX > box.right || maxY > box.bottom) {
        polygon = ClipPolygon(polygon, box);
        if (polygon.size() < 2) return;
    }
    ApplyBrush();
    ApplyPen();
    painter_->drawPolygon(polygon);
}

void Canvas::TextOut(int x, int y, std::string_view text) {
    if (!painter_->isActive() || text.empty() || !metrics_) return;
    if (x >= width_ + kTextReach || y >= height_ + kTextReach || x < -kTextReach || y < -kTextReach)
        return;
    Flush();
    const QString qtext = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    if (brushStyle_ == BrushStyle::Solid) {
        painter_->fillRect(QRect(x, y, metrics_->horizontalAdvance(qtext), metrics_->height()),
                           QColor::fromRgb(brushColor_));
    }
    if (painterPen_ != PainterPen::Text || painterPenColor_ != fontColor_) {
        painter_->setPen(QColor::fromRgb(fontColor_));
        painterPen_ = PainterPen::Text;
        painterPenColor_ = fontColor_;
    }
    painter_->drawText(QPoint(x, y + metrics_->ascent()), qtext);
}

bool Canvas::DotMaskUsable() const {
    if (image_ == nullptr) return false;
    const QImage::Format f = image_->format();
    return !plain_ && penClear_ && brushStyle_ == BrushStyle::Solid &&
           (f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 ||
            f == QImage::Format_ARGB32_Premultiplied);
}

void Canvas::BuildDotMask() {
    // The dot drawn once by the same call as Ellipse makes, then copied pixel by pixel.
    QImage dot(kDot, kDot, QImage::Format_ARGB32_Premultiplied);
    dot.fill(Qt::transparent);
    {
        QPainter p(&dot);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::white);
        p.setBrush(Qt::white);
        p.drawEllipse(QRect(0, 0, kDot - 1, kDot - 1));
    }
    // Each row of the dot is one run of pixels (a convex shape).
    for (int y = 0; y < kDot; ++y) {
        auto& span = dotSpans_[static_cast<size_t>(y)];
        span = {0, 0};
        for (int x = 0; x < kDot; ++x) {
            if (qAlpha(dot.pixel(x, y)) == 0) continue;
            if (span[1] == 0) span[0] = x;
            span[1] = x + 1;
        }
    }
    dotMaskBuilt_ = true;
}

void Canvas::NodeDot(int x, int y) {
    constexpr int kHalf = kDot / 2;
    if (!DotMaskUsable()) {
        Ellipse(x - kHalf, y - kHalf, x + kHalf, y + kHalf);
        return;
    }
    if (!painter_->isActive() || BoxOutside(x - kHalf, y - kHalf, x + kHalf, y + kHalf, 0)) return;
    Flush();
    if (!dotMaskBuilt_) BuildDotMask();
    const QRgb color = brushColor_ | 0xFF000000u;
    const int x0 = x - kHalf, y0 = y - kHalf;
    uchar* bits = image_->bits();
    const qsizetype stride = image_->bytesPerLine();
    for (int dy = std::max(0, -y0); dy < kDot && y0 + dy < height_; ++dy) {
        QRgb* row = reinterpret_cast<QRgb*>(bits + stride * (y0 + dy));
        const auto& span = dotSpans_[static_cast<size_t>(dy)];
        const int first = std::max(x0 + span[0], 0), end = std::min(x0 + span[1], width_);
        for (int x = first; x < end; ++x)
            row[x] = color;
    }
}

} // namespace vandra
