#include "view/render/Canvas.h"

#include <QPen>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <limits>

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

Canvas::Canvas(QImage& image, bool plain) : painter_(&ownPainter_), plain_(plain) {
    if (image.isNull()) return;
    image.setDotsPerMeterX(kDotsPerMeter);
    image.setDotsPerMeterY(kDotsPerMeter);
    width_ = image.width();
    height_ = image.height();
    image.bits(); // detach now, so that the painter and the dot blits share one buffer
    if (!ownPainter_.begin(&image)) return;
    if (!plain) {
        raster_.emplace(image);
        if (!raster_->IsUsable()) {
            raster_.reset();
        } else {
            bits_ = reinterpret_cast<uint32_t*>(image.bits());
            stride_ = image.bytesPerLine() / 4;
        }
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

void Canvas::ChangePen(QRgb color, int width) {
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
    if (penClear_) return;
    if (raster_ && penWidth_ == kRasterWidth) {
        // The frame lines of a large model: straight into the pixels, which the raster cuts to
        // the image itself.
        if (!BoxOutside(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + 1,
                        std::max(y1, y2) + 1, kRasterWidth + 1))
            raster_->Line(x1, y1, x2, y2, penColor_);
        return;
    }
    if (!painter_->isActive()) return;
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

void Canvas::DrawCollected() {
    if (vector_ && !vectorFills_.Empty()) {
        vectorFills_.Draw(*painter_);
        painterPen_ = PainterPen::Unset;
        brushApplied_ = false;
    }
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
    // The dot is copied from a mask straight into the pixels when the canvas writes them itself.
    if (bits_ == nullptr || !penClear_ || brushStyle_ != BrushStyle::Solid) {
        Ellipse(x - kHalf, y - kHalf, x + kHalf, y + kHalf);
        return;
    }
    if (BoxOutside(x - kHalf, y - kHalf, x + kHalf, y + kHalf, 0)) return;
    Flush();
    if (!dotMaskBuilt_) BuildDotMask();
    const uint32_t color = brushColor_ | 0xFF000000u;
    const int x0 = x - kHalf, y0 = y - kHalf;
    if (x0 >= 0 && y0 >= 0 && x0 + kDot <= width_ && y0 + kDot <= height_) {
        uint32_t* row = bits_ + static_cast<qsizetype>(y0) * stride_ + x0;
        for (const auto& span : dotSpans_) {
            for (int k = span[0]; k < span[1]; ++k)
                row[k] = color;
            row += stride_;
        }
        return;
    }
    for (int dy = std::max(0, -y0); dy < kDot && y0 + dy < height_; ++dy) {
        uint32_t* row = bits_ + static_cast<qsizetype>(y0 + dy) * stride_;
        const auto& span = dotSpans_[static_cast<size_t>(dy)];
        const int first = std::max(x0 + span[0], 0), end = std::min(x0 + span[1], width_);
        for (int k = first; k < end; ++k)
            row[k] = color;
    }
}

} // namespace vandra

namespace vandra {

QPainter& Canvas::Painter() {
    Flush();
    painterPen_ = PainterPen::Unset;
    brushApplied_ = false;
    metrics_.reset();
    return *painter_;
}

namespace {
// The first pixel whose centre is at or after v: ceil(v - 0.5).
int FirstCentre(double v) {
    const double s = v - 0.5;
    const int i = static_cast<int>(s);
    return i + (s > i ? 1 : 0);
}
} // namespace

void Canvas::FillPolygonF(const QPointF* p, int n, QRgb color) {
    double minX = p[0].x(), maxX = minX, minY = p[0].y(), maxY = minY;
    for (int k = 0; k < n; ++k) {
        if (!std::isfinite(p[k].x()) || !std::isfinite(p[k].y())) return;
        minX = std::min(minX, p[k].x());
        maxX = std::max(maxX, p[k].x());
        minY = std::min(minY, p[k].y());
        maxY = std::max(maxY, p[k].y());
    }
    if (maxX < 0 || maxY < 0 || minX > width_ || minY > height_) return;
    if (bits_ == nullptr) {
        painter_->setPen(Qt::NoPen);
        painter_->setBrush(QColor::fromRgb(color));
        painterPen_ = PainterPen::Unset;
        brushApplied_ = false;
        painter_->drawPolygon(p, n);
        return;
    }
    // The rows whose centres lie in the polygon; in each row the pixels whose centres lie between
    // two of the row's crossings with the edges (the first and second, the third and fourth, ...).
    // Each edge is walked once, stepping its x (fixed point, 16 fractional bits) from row centre
    // to row centre; a row crossed twice (all rows of a convex polygon) is filled between its two
    // crossings, a row crossed more often gets its crossings again and sorted.
    if (minX < -kClipMargin || maxX > width_ + kClipMargin) {
        // Far outside: cut to the clip box first, so that the fixed-point x cannot overflow.
        QPolygonF polygon;
        polygon.reserve(n);
        for (int k = 0; k < n; ++k)
            polygon << p[k];
        polygon = ClipPolygon(polygon, ClipBox{-kClipMargin, -kClipMargin, width_ + kClipMargin,
                                               height_ + kClipMargin});
        if (polygon.size() >= 3) FillPolygonF(polygon.constData(), static_cast<int>(polygon.size()), color);
        return;
    }
    const int y0 = std::max(0, FirstCentre(minY));
    const int y1 = std::min(height_ - 1, FirstCentre(std::min(maxY, height_ + 1.0)) - 1);
    if (y1 < y0) return;
    if (FillMonotone(p, n, y0, y1, color)) return;
    constexpr double kOne = 65536.0;
    struct Row {
        int64_t left, right;
        int crossings;
    };
    static thread_local std::vector<Row> rows;
    static thread_local std::vector<int64_t> crossings;
    const auto count = static_cast<size_t>(y1 - y0 + 1);
    rows.assign(count, Row{INT64_MAX, INT64_MIN, 0});
    struct EdgeRows {
        int first, last;
        int64_t x, step; // at the first row's centre
    };
    // Rows whose centre y + 0.5 satisfies a.y <= y + 0.5 < b.y for an edge from a to b (a above).
    const auto walk = [&](QPointF a, QPointF b, EdgeRows& e) {
        if (a.y() > b.y()) std::swap(a, b);
        e.first = std::max(y0, FirstCentre(std::max(a.y(), -1.0)));
        e.last = std::min(y1, FirstCentre(std::min(b.y(), height_ + 1.0)) - 1);
        const double step = (b.x() - a.x()) / (b.y() - a.y());
        e.x = static_cast<int64_t>((a.x() + (e.first + 0.5 - a.y()) * step) * kOne);
        e.step = static_cast<int64_t>(step * kOne);
        return e.first <= e.last;
    };
    bool crowded = false;
    for (int k = 0; k < n; ++k) {
        const QPointF& a = p[k];
        const QPointF& b = p[k + 1 < n ? k + 1 : 0];
        EdgeRows e{};
        if (a.y() == b.y() || !walk(a, b, e)) continue;
        Row* r = rows.data() + (e.first - y0);
        int64_t x = e.x;
        for (int y = e.first; y <= e.last; ++y, ++r, x += e.step) {
            r->left = std::min(r->left, x);
            r->right = std::max(r->right, x);
            crowded |= ++r->crossings > 2;
        }
    }
    const uint32_t c = color | 0xFF000000u;
    // The pixels whose centres lie in [left, right): from ceil(left - 0.5) to ceil(right - 0.5) - 1.
    const auto span = [&](uint32_t* row, int64_t left, int64_t right) {
        const int x0 = static_cast<int>(std::max<int64_t>(0, (left + 0x7FFF) >> 16));
        const int x1 = static_cast<int>(std::min<int64_t>(width_ - 1, ((right + 0x7FFF) >> 16) - 1));
        for (int x = x0; x <= x1; ++x)
            row[x] = c;
    };
    for (size_t i = 0; i < count; ++i) {
        const Row& r = rows[i];
        if (r.crossings < 2) continue;
        const int y = y0 + static_cast<int>(i);
        uint32_t* row = bits_ + static_cast<qsizetype>(y) * stride_;
        if (!crowded || r.crossings == 2) {
            span(row, r.left, r.right);
            continue;
        }
        crossings.clear();
        for (int k = 0; k < n; ++k) {
            EdgeRows e{};
            const QPointF& a = p[k];
            const QPointF& b = p[k + 1 < n ? k + 1 : 0];
            if (a.y() == b.y() || !walk(a, b, e) || y < e.first || y > e.last) continue;
            crossings.push_back(e.x + (y - e.first) * e.step);
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t q = 0; q + 1 < crossings.size(); q += 2)
            span(row, crossings[q], crossings[q + 1]);
    }
}

bool Canvas::FillMonotone(const QPointF* p, int n, int y0, int y1, QRgb color) {
    // The top and bottom vertices; the polygon is monotone when y never falls from the top to
    // the bottom going forward, nor going backward.
    int top = 0, bottom = 0;
    for (int k = 1; k < n; ++k) {
        if (p[k].y() < p[top].y()) top = k;
        if (p[k].y() > p[bottom].y()) bottom = k;
    }
    const auto next = [n](int k) { return k + 1 < n ? k + 1 : 0; };
    const auto prev = [n](int k) { return k > 0 ? k - 1 : n - 1; };
    for (int k = top; k != bottom; k = next(k))
        if (p[next(k)].y() < p[k].y()) return false;
    for (int k = top; k != bottom; k = prev(k))
        if (p[prev(k)].y() < p[k].y()) return false;
    // Each chain's edge covers the rows whose centres yc lie in [a.y, b.y); along it x steps in
    // fixed point (16 fractional bits) from row to row. The rows y0..y1 lie within the polygon's
    // height, so each chain has an edge for every one of them.
    constexpr double kOne = 65536.0;
    const auto fixed = [](double v) {
        const double f = v * kOne;
        return static_cast<int64_t>(f < 0 ? f - 0.5 : f + 0.5);
    };
    struct Chain {
        int at;
        int lastRow;
        int64_t x, step;
    };
    const auto edgeFor = [&](Chain& chain, int y, auto step) {
        for (int guard = 0; guard < n; ++guard) {
            const QPointF& a = p[chain.at];
            const QPointF& b = p[step(chain.at)];
            const int last = FirstCentre(std::min(b.y(), height_ + 1.0)) - 1;
            if (b.y() > a.y() && last >= y) {
                const double slope = (b.x() - a.x()) / (b.y() - a.y());
                chain.x = fixed(a.x() + (y + 0.5 - a.y()) * slope);
                chain.step = fixed(slope);
                chain.lastRow = last;
                return true;
            }
            chain.at = step(chain.at);
        }
        return false;
    };
    Chain forward{top, y0 - 1, 0, 0};
    Chain backward = forward;
    const uint32_t c = color | 0xFF000000u;
    const int64_t lastX = width_ - 1;
    uint32_t* row = bits_ + static_cast<qsizetype>(y0) * stride_;
    for (int y = y0; y <= y1;) {
        if (y > forward.lastRow && !edgeFor(forward, y, next)) break;
        if (y > backward.lastRow && !edgeFor(backward, y, prev)) break;
        // The rows down to the nearer end of the two edges, with everything in registers.
        const int end = std::min({y1, forward.lastRow, backward.lastRow});
        int64_t fx = forward.x, bx = backward.x;
        const int64_t fs = forward.step, bs = backward.step;
        for (; y <= end; ++y, row += stride_, fx += fs, bx += bs) {
            // The pixels whose centres lie in [left, right).
            const int64_t left = std::min(fx, bx), right = std::max(fx, bx);
            const int64_t x0 = std::max<int64_t>(0, (left + 0x7FFF) >> 16);
            const int64_t x1 = std::min(lastX, ((right + 0x7FFF) >> 16) - 1);
            for (int64_t x = x0; x <= x1; ++x)
                row[x] = c;
        }
        forward.x = fx;
        backward.x = bx;
    }
    return true;
}

void Canvas::ThinLine(const QPointF& a, const QPointF& b, QRgb color) {
    if (!std::isfinite(a.x()) || !std::isfinite(a.y()) || !std::isfinite(b.x()) ||
        !std::isfinite(b.y()))
        return;
    if (bits_ == nullptr) {
        QLineF line(a, b);
        const ClipBox box{-kClipMargin, -kClipMargin, width_ + kClipMargin, height_ + kClipMargin};
        if (!ClipLine(line, box)) return;
        painter_->setPen(QPen(QColor::fromRgb(color), 1));
        painterPen_ = PainterPen::Unset;
        painter_->drawLine(line);
        return;
    }
    // Cut to the pixel centres of the image, then one pixel per step along the longer axis, the
    // other coordinate stepped in fixed point (16 fractional bits); rounding a point of the image
    // keeps it in the image.
    QLineF line(a, b);
    const double right = width_ - 1.0, bottom = height_ - 1.0;
    if (a.x() >= 0 && a.x() <= right && a.y() >= 0 && a.y() <= bottom && b.x() >= 0 &&
        b.x() <= right && b.y() >= 0 && b.y() <= bottom) {
        // Inside: the numbers the cut would give (the whole line, its end as start plus extent).
        line.setP2(QPointF(a.x() + (b.x() - a.x()), a.y() + (b.y() - a.y())));
    } else if (!ClipLine(line, ClipBox{0, 0, right, bottom})) {
        return;
    }
    const double dx = line.dx(), dy = line.dy();
    const int steps = FirstCentre(std::max(std::abs(dx), std::abs(dy)) + 0.5);
    constexpr double kOne = 65536.0;
    const auto fixed = [](double v) {
        const double f = v * kOne;
        return static_cast<int64_t>(f < 0 ? f - 0.5 : f + 0.5);
    };
    // Half a pixel ahead, so that the shift rounds to the nearest pixel.
    int64_t x = fixed(line.x1() + 0.5), y = fixed(line.y1() + 0.5);
    const int64_t sx = steps == 0 ? 0 : fixed(dx / steps), sy = steps == 0 ? 0 : fixed(dy / steps);
    const int64_t maxX = (static_cast<int64_t>(width_) << 16) - 1;
    const int64_t maxY = (static_cast<int64_t>(height_) << 16) - 1;
    const uint32_t c = color | 0xFF000000u;
    // The cut line lies within the pixel centres, half a pixel inside the image's edges, and each
    // step's rounding moves the point by at most 2^-17 pixel: in fewer than 2^15 steps it cannot
    // leave the image.
    if (steps < (1 << 15)) {
        for (int k = 0; k <= steps; ++k, x += sx, y += sy)
            bits_[(y >> 16) * stride_ + (x >> 16)] = c;
        return;
    }
    for (int k = 0; k <= steps; ++k, x += sx, y += sy) {
        const int64_t px = std::clamp<int64_t>(x, 0, maxX) >> 16;
        const int64_t py = std::clamp<int64_t>(y, 0, maxY) >> 16;
        bits_[py * stride_ + px] = c;
    }
}

void Canvas::FillBand(const QPointF& from, const QPointF& to, const QPointF* curve, int count,
                      QRgb color) {
    if (!painter_->isActive() || count < 2) return;
    std::vector<QPointF>& polygon = band_;
    polygon.clear();
    polygon.push_back(from);
    polygon.push_back(to);
    polygon.insert(polygon.end(), std::make_reverse_iterator(curve + count),
                   std::make_reverse_iterator(curve));
    if (vector_) {
        vectorFills_.Add(color, polygon.data(), static_cast<int>(polygon.size()));
        return;
    }
    Flush();
    FillPolygonF(polygon.data(), static_cast<int>(polygon.size()), color);
}

void Canvas::Polyline(const QPointF* points, int count, QRgb color) {
    if (!painter_->isActive() || count < 2) return;
    if (vector_) {
        for (int k = 0; k + 1 < count; ++k)
            vectorLines_.Add(color, 1, QLineF(points[k], points[k + 1]));
        return;
    }
    Flush();
    for (int k = 0; k + 1 < count; ++k)
        ThinLine(points[k], points[k + 1], color);
}

} // namespace vandra
