#include "sections/render/SectionPreviewPainter.h"

#include <QFont>
#include <QPainter>

namespace vandra {
namespace {

QColor ColorOf(PreviewColor c) {
    switch (c) {
    case PreviewColor::Blue:
        return QColor(0, 0, 255);
    case PreviewColor::Red:
        return QColor(255, 0, 0);
    case PreviewColor::Black:
        break;
    }
    return QColor(0, 0, 0);
}

QRect Box(const PreviewPrimitive& p) {
    return QRect(QPoint(p.x1, p.y1), QPoint(p.x2, p.y2));
}

} // namespace

void PaintSectionPreview(QPainter& painter, const std::vector<PreviewPrimitive>& picture) {
    const QColor white(255, 255, 255), black(0, 0, 0);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const PreviewPrimitive& p : picture) {
        switch (p.kind) {
        case PreviewPrimitive::Rectangle:
            painter.setPen(black);
            painter.setBrush(white);
            painter.drawRect(p.x1, p.y1, p.x2 - p.x1, p.y2 - p.y1);
            break;
        case PreviewPrimitive::Ellipse:
            painter.setPen(black);
            painter.setBrush(white);
            painter.drawEllipse(Box(p));
            break;
        case PreviewPrimitive::Line:
            painter.setPen(ColorOf(p.color));
            painter.drawLine(p.x1, p.y1, p.x2, p.y2);
            break;
        case PreviewPrimitive::Dot:
            painter.setPen(ColorOf(p.color));
            painter.setBrush(ColorOf(p.color));
            painter.drawEllipse(Box(p));
            break;
        case PreviewPrimitive::Text:
            painter.setPen(black);
            painter.setBackground(white);
            painter.setBackgroundMode(Qt::OpaqueMode);
            painter.drawText(QRect(p.x1, p.y1, kPreviewSize - p.x1, kPreviewSize - p.y1),
                             Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(p.text));
            painter.setBackgroundMode(Qt::TransparentMode);
            break;
        }
    }
}

QImage SectionPreviewImage(const TSECTION& s) {
    QImage image(kPreviewSize, kPreviewSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(QFont(QStringLiteral("Arial"), 8));
    PaintSectionPreview(painter, DrawSectionPreview(s));
    return image;
}

} // namespace vandra
