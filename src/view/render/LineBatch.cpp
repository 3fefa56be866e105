#include "view/render/LineBatch.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

namespace vandra {

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
        QPainterPath path;
        path.reserve(2 * static_cast<int>(run.lines.size()));
        for (const QLineF& l : run.lines) {
            path.moveTo(l.p1());
            // A path drops a segment of no length, which an image draws as a dot of the pen's
            // width: a hundredth of a pixel keeps the dot.
            path.lineTo(l.p1() == l.p2() ? l.p2() + QPointF(0.01, 0) : l.p2());
        }
        painter.drawPath(path);
    }
    runs_.clear();
    runOfPen_.clear();
}

} // namespace vandra
