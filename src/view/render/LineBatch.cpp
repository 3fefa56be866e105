#include "view/render/LineBatch.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace vandra {
namespace {
// Qt SVG reads at most 32,767 elements of a path and drops the rest: longer runs are cut into
// paths of this many lines (two elements each).
constexpr qsizetype kMaxPathLines = 10000;
} // namespace

void LineBatch::Add(QRgb color, int width, const QLineF& line) {
    const uint64_t pen = (static_cast<uint64_t>(static_cast<uint32_t>(width)) << 32) | color;
    const auto [it, added] = runOfPen_.try_emplace(pen, runs_.size());
    if (added) runs_.push_back({color, width, {}});
    runs_[it->second].lines.push_back(line);
}

void LineBatch::Draw(QPainter& painter) {
    const bool vector =
        painter.paintEngine() != nullptr && painter.paintEngine()->type() == QPaintEngine::SVG;
    painter.setBrush(Qt::NoBrush);
    for (const Run& run : runs_) {
        painter.setPen(QPen(QColor::fromRgb(run.color), run.width, Qt::SolidLine, Qt::SquareCap,
                            Qt::MiterJoin));
        if (!vector) {
            painter.drawLines(run.lines);
            continue;
        }
        for (qsizetype first = 0; first < run.lines.size(); first += kMaxPathLines) {
            const qsizetype end = std::min(run.lines.size(), first + kMaxPathLines);
            QPainterPath path;
            path.reserve(2 * static_cast<int>(end - first));
            for (qsizetype i = first; i < end; ++i) {
                const QLineF& l = run.lines[i];
                // A line that starts where the previous one ended continues its subpath.
                if (i == first || l.p1() != run.lines[i - 1].p2() ||
                    run.lines[i - 1].p1() == run.lines[i - 1].p2())
                    path.moveTo(l.p1());
                // A path drops a segment of no length, which an image draws as a dot of the pen's
                // width: a hundredth of a pixel keeps the dot.
                path.lineTo(l.p1() == l.p2() ? l.p2() + QPointF(0.01, 0) : l.p2());
            }
            painter.drawPath(path);
        }
    }
    runs_.clear();
    runOfPen_.clear();
}

void FillBatch::Add(QRgb color, const QPointF* polygon, int count) {
    if (count < 3) return;
    const auto [it, added] = runOfColor_.try_emplace(color, runs_.size());
    if (added) runs_.push_back({color, {}, {}});
    Run& run = runs_[it->second];
    const size_t start = run.points.size();
    run.points.insert(run.points.end(), polygon, polygon + count);
    // Twice the signed area (y down the screen: positive is clockwise as seen).
    double area = 0;
    const size_t n = run.points.size() - start;
    for (size_t k = 0; k < n; ++k) {
        const QPointF& a = run.points[start + k];
        const QPointF& b = run.points[start + (k + 1) % n];
        area += a.x() * b.y() - b.x() * a.y();
    }
    if (area > 0) std::reverse(run.points.begin() + static_cast<std::ptrdiff_t>(start), run.points.end());
    run.sizes.push_back(static_cast<int>(n));
}

void FillBatch::Draw(QPainter& painter) {
    painter.setPen(Qt::NoPen);
    for (const Run& run : runs_) {
        painter.setBrush(QColor::fromRgb(run.color));
        QPainterPath path;
        path.setFillRule(Qt::WindingFill);
        size_t at = 0;
        qsizetype elements = 0;
        for (const int size : run.sizes) {
            // Qt SVG reads at most 32,767 elements of a path (one a point).
            if (elements + size > 2 * kMaxPathLines) {
                painter.drawPath(path);
                path = QPainterPath();
                path.setFillRule(Qt::WindingFill);
                elements = 0;
            }
            path.moveTo(run.points[at]);
            for (int k = 1; k < size; ++k)
                path.lineTo(run.points[at + static_cast<size_t>(k)]);
            path.closeSubpath();
            at += static_cast<size_t>(size);
            elements += size + 1;
        }
        painter.drawPath(path);
    }
    runs_.clear();
    runOfColor_.clear();
}

} // namespace vandra
