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

} // namespace vandra
