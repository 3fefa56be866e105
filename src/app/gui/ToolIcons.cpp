#include "app/gui/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

namespace vandra::gui {
namespace {

// Every picture is drawn on a 24 x 24 grid, painted at twice that size so it stays sharp when
// the tool bar scales it down.
constexpr int kGrid = 24;
constexpr int kPixmapSize = 48;

const QColor kInk(40, 40, 40);
const QColor kSteel(70, 110, 170);
const QColor kLightSteel(180, 200, 230);
const QColor kGreen(40, 140, 60);
const QColor kRed(200, 40, 40);
const QColor kOrange(230, 140, 30);
const QColor kPaper(250, 250, 245);

QPen Pen(const QColor& colour, double width = 1.5) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void DrawLetters(QPainter& p, const QString& letters, const QColor& colour) {
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(10);
    font.setBold(true);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(QRectF(0, 11, kGrid, 13), Qt::AlignCenter, letters);
}

// Two axes with a plane between them, the plane's name below.
void DrawPlane(QPainter& p, const QString& letters) {
    p.setPen(Pen(kSteel, 1.2));
    p.setBrush(kLightSteel);
    p.drawPolygon(QPolygonF({QPointF(4, 10), QPointF(12, 2), QPointF(20, 2), QPointF(12, 10)}));
    DrawLetters(p, letters, kInk);
}

void DrawArrowHead(QPainter& p, QPointF tip, double angleDeg, double size, const QColor& c) {
    const double a = angleDeg * M_PI / 180.0;
    const QPointF back(tip.x() - size * std::cos(a), tip.y() - size * std::sin(a));
    const QPointF normal(-std::sin(a) * size * 0.5, std::cos(a) * size * 0.5);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPolygon(QPolygonF({tip, back + normal, back - normal}));
}

void DrawOpenModel(QPainter& p) {
    p.setPen(Pen(QColor(150, 110, 20), 1.2));
    p.setBrush(QColor(240, 200, 90));
    p.drawPolygon(QPolygonF({QPointF(2, 6), QPointF(9, 6), QPointF(11, 8), QPointF(21, 8),
                             QPointF(21, 20), QPointF(2, 20)}));
    p.setBrush(QColor(250, 225, 130));
    p.drawPolygon(QPolygonF({QPointF(5, 11), QPointF(23, 11), QPointF(20, 20), QPointF(2, 20)}));
}

void DrawFrameSections(QPainter& p) {
    p.setPen(Pen(kInk, 1.0));
    p.setBrush(kSteel);
    p.drawRect(QRectF(4, 3, 16, 4));
    p.drawRect(QRectF(10, 7, 4, 10));
    p.drawRect(QRectF(4, 17, 16, 4));
}

void DrawMaterials(QPainter& p) {
    p.setPen(Pen(kInk, 1.0));
    p.setBrush(QColor(160, 160, 160));
    p.drawPolygon(QPolygonF({QPointF(3, 9), QPointF(15, 9), QPointF(15, 21), QPointF(3, 21)}));
    p.setBrush(QColor(200, 200, 200));
    p.drawPolygon(QPolygonF({QPointF(3, 9), QPointF(9, 3), QPointF(21, 3), QPointF(15, 9)}));
    p.setBrush(QColor(120, 120, 120));
    p.drawPolygon(QPolygonF({QPointF(15, 9), QPointF(21, 3), QPointF(21, 15), QPointF(15, 21)}));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 90, 90));
    p.drawEllipse(QPointF(7, 14), 1.2, 1.2);
    p.drawEllipse(QPointF(11, 17), 1.0, 1.0);
    p.drawEllipse(QPointF(10, 12), 0.8, 0.8);
}

void DrawShellSections(QPainter& p) {
    const QPolygonF plate({QPointF(2, 17), QPointF(8, 5), QPointF(22, 5), QPointF(16, 17)});
    p.setPen(Pen(kInk, 1.0));
    p.setBrush(kLightSteel);
    p.drawPolygon(plate);
    p.setPen(Pen(kSteel, 0.9));
    for (int k = 1; k < 3; ++k) {
        const double t = k / 3.0;
        p.drawLine(QPointF(2 + 6 * t, 17 - 12 * t), QPointF(16 + 6 * t, 17 - 12 * t));
        p.drawLine(QPointF(2 + 14 * t, 17), QPointF(8 + 14 * t, 5));
    }
    p.setPen(Pen(kInk, 1.0));
    p.drawLine(QPointF(16, 17), QPointF(16, 20));
    p.drawLine(QPointF(2, 17), QPointF(2, 20));
    p.drawLine(QPointF(2, 20), QPointF(16, 20));
    p.drawLine(QPointF(16, 20), QPointF(22, 8));
    p.drawLine(QPointF(22, 5), QPointF(22, 8));
}

void DrawZoomAll(QPainter& p) {
    p.setPen(Pen(kSteel, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(7, 7, 10, 10));
    p.setPen(Pen(kInk, 1.5));
    const QPointF corners[4] = {QPointF(2, 2), QPointF(22, 2), QPointF(22, 22), QPointF(2, 22)};
    const double angles[4] = {225, 315, 45, 135};
    for (int k = 0; k < 4; ++k) {
        const QPointF inner(12 + (corners[k].x() - 12) * 0.45, 12 + (corners[k].y() - 12) * 0.45);
        p.setPen(Pen(kInk, 1.5));
        p.drawLine(inner, corners[k]);
        DrawArrowHead(p, corners[k], angles[k], 5, kInk);
    }
}

void DrawRotate(QPainter& p) {
    p.setPen(Pen(kGreen, 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4, 4, 16, 16), 30 * 16, 280 * 16);
    DrawArrowHead(p, QPointF(19.5, 6.5), -60, 7, kGreen);
}

void DrawPan(QPainter& p) {
    p.setPen(Pen(QColor(120, 80, 40), 1.0));
    p.setBrush(QColor(245, 210, 170));
    QPainterPath hand;
    hand.addRoundedRect(QRectF(5, 11, 13, 11), 4, 4);
    const double fingers[4] = {5.5, 8.7, 11.9, 15.1};
    const double tops[4] = {6, 3, 3, 5};
    for (int k = 0; k < 4; ++k)
        hand.addRoundedRect(QRectF(fingers[k], tops[k], 3, 12), 1.5, 1.5);
    hand.addRoundedRect(QRectF(15, 13, 7, 3), 1.5, 1.5);
    p.drawPath(hand.simplified());
}

void DrawRefresh(QPainter& p) {
    p.setPen(Pen(kSteel, 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4, 4, 16, 16), 20 * 16, 140 * 16);
    p.drawArc(QRectF(4, 4, 16, 16), 200 * 16, 140 * 16);
    DrawArrowHead(p, QPointF(4.5, 9.0), 110, 6, kSteel);
    DrawArrowHead(p, QPointF(19.5, 15.0), -70, 6, kSteel);
}

void DrawShowLoads(QPainter& p) {
    p.setPen(Pen(kInk, 2.0));
    p.drawLine(QPointF(2, 20), QPointF(22, 20));
    p.setPen(Pen(kRed, 1.6));
    for (double x : {6.0, 12.0, 18.0}) {
        p.drawLine(QPointF(x, 4), QPointF(x, 14));
        DrawArrowHead(p, QPointF(x, 19), 90, 6, kRed);
        p.setPen(Pen(kRed, 1.6));
    }
    p.drawLine(QPointF(4, 4), QPointF(20, 4));
}

void DrawViewOptions(QPainter& p) {
    p.setPen(Pen(kInk, 1.0));
    p.setBrush(kPaper);
    p.drawRect(QRectF(3, 2, 18, 20));
    for (int k = 0; k < 3; ++k) {
        const double y = 5 + 6 * k;
        p.setPen(Pen(kInk, 1.0));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5, y, 4, 4));
        if (k != 1) {
            p.setPen(Pen(kGreen, 1.4));
            p.drawPolyline(QPolygonF({QPointF(5.5, y + 2), QPointF(7, y + 3.5), QPointF(9.5, y)}));
        }
        p.setPen(Pen(QColor(120, 120, 120), 1.2));
        p.drawLine(QPointF(11, y + 2), QPointF(19, y + 2));
    }
}

void DrawSelect(QPainter& p) {
    p.setPen(Pen(kInk, 1.0));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(6, 2), QPointF(6, 19), QPointF(10, 15), QPointF(13, 22),
                             QPointF(16, 21), QPointF(13, 14), QPointF(18, 14)}));
}

void DrawIdle(QPainter& p) {
    p.setPen(Pen(kInk, 1.0));
    p.setBrush(QColor(225, 225, 225));
    p.drawEllipse(QRectF(3, 3, 18, 18));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 90, 90));
    p.drawRect(QRectF(8.5, 7.5, 2.5, 9));
    p.drawRect(QRectF(13, 7.5, 2.5, 9));
}

void DrawAnalysisSettings(QPainter& p) {
    QPainterPath gear;
    const int teeth = 8;
    for (int k = 0; k < 2 * teeth; ++k) {
        const double a0 = (k - 0.5) * M_PI / teeth;
        const double a1 = (k + 0.5) * M_PI / teeth;
        const double r = (k % 2 == 0) ? 10.0 : 7.5;
        const QPointF q0(12 + r * std::cos(a0), 12 + r * std::sin(a0));
        const QPointF q1(12 + r * std::cos(a1), 12 + r * std::sin(a1));
        if (k == 0)
            gear.moveTo(q0);
        else
            gear.lineTo(q0);
        gear.lineTo(q1);
    }
    gear.closeSubpath();
    gear.addEllipse(QPointF(12, 12), 3.2, 3.2);
    gear.setFillRule(Qt::OddEvenFill);
    p.setPen(Pen(kInk, 0.9));
    p.setBrush(QColor(150, 150, 160));
    p.drawPath(gear);
}

void DrawRecorderSettings(QPainter& p) {
    p.setPen(Pen(kInk, 1.0));
    p.setBrush(kSteel);
    p.drawPolygon(QPolygonF(
        {QPointF(3, 3), QPointF(18, 3), QPointF(21, 6), QPointF(21, 21), QPointF(3, 21)}));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(6, 3, 11, 7));
    p.setBrush(QColor(70, 70, 70));
    p.drawRect(QRectF(13, 4, 2.5, 5));
    p.setBrush(kPaper);
    p.drawRect(QRectF(6, 13, 12, 8));
    p.setPen(Pen(kRed, 1.0));
    p.drawLine(QPointF(8, 16), QPointF(16, 16));
    p.drawLine(QPointF(8, 18.5), QPointF(14, 18.5));
}

void DrawScript(QPainter& p) {
    p.setPen(Pen(kInk, 1.0));
    p.setBrush(kPaper);
    p.drawPolygon(QPolygonF(
        {QPointF(4, 2), QPointF(15, 2), QPointF(20, 7), QPointF(20, 22), QPointF(4, 22)}));
    p.drawPolyline(QPolygonF({QPointF(15, 2), QPointF(15, 7), QPointF(20, 7)}));
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(7);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kRed);
    p.drawText(QRectF(4, 9, 16, 8), Qt::AlignCenter, QStringLiteral("Tcl"));
    p.setPen(Pen(QColor(130, 130, 130), 1.0));
    p.drawLine(QPointF(7, 19), QPointF(17, 19));
}

void DrawRunSolver(QPainter& p) {
    p.setPen(Pen(QColor(20, 100, 40), 1.0));
    p.setBrush(kGreen);
    p.drawPolygon(QPolygonF({QPointF(6, 3), QPointF(20, 12), QPointF(6, 21)}));
}

void DrawClearResults(QPainter& p) {
    p.save();
    p.translate(12, 12);
    p.rotate(-35);
    p.setPen(Pen(kInk, 1.0));
    p.setBrush(QColor(235, 120, 140));
    p.drawRoundedRect(QRectF(-9, -4.5, 9, 9), 1.5, 1.5);
    p.setBrush(QColor(90, 120, 200));
    p.drawRoundedRect(QRectF(0, -4.5, 9, 9), 1.5, 1.5);
    p.restore();
    p.setPen(Pen(QColor(130, 130, 130), 1.0));
    p.drawLine(QPointF(3, 22), QPointF(21, 22));
}

void DrawDeformation(QPainter& p) {
    p.setPen(QPen(QColor(150, 150, 150), 1.2, Qt::DashLine));
    p.drawLine(QPointF(3, 8), QPointF(21, 8));
    p.setPen(Pen(kInk, 1.8));
    p.drawLine(QPointF(3, 4), QPointF(3, 12));
    QPainterPath beam;
    beam.moveTo(3, 8);
    beam.cubicTo(QPointF(11, 8), QPointF(17, 12), QPointF(21, 18));
    p.setPen(Pen(kRed, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(beam);
    DrawArrowHead(p, QPointF(21, 22), 90, 5, kOrange);
}

void DrawAnimation(QPainter& p) {
    p.setPen(Pen(kInk, 1.0));
    p.setBrush(QColor(60, 60, 60));
    p.drawRect(QRectF(2, 4, 20, 16));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (int k = 0; k < 5; ++k) {
        p.drawRect(QRectF(3.5 + 4 * k, 5, 2, 2));
        p.drawRect(QRectF(3.5 + 4 * k, 17, 2, 2));
    }
    p.setBrush(kLightSteel);
    p.drawRect(QRectF(4, 8.5, 7, 7));
    p.drawRect(QRectF(13, 8.5, 7, 7));
}

} // namespace

QIcon MakeToolIcon(ToolIcon which) {
    QPixmap pixmap(kPixmapSize, kPixmapSize);
    pixmap.fill(Qt::transparent);
    {
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(double(kPixmapSize) / kGrid, double(kPixmapSize) / kGrid);
        switch (which) {
        case ToolIcon::OpenModel:
            DrawOpenModel(p);
            break;
        case ToolIcon::FrameSections:
            DrawFrameSections(p);
            break;
        case ToolIcon::Materials:
            DrawMaterials(p);
            break;
        case ToolIcon::ShellSections:
            DrawShellSections(p);
            break;
        case ToolIcon::ViewXY:
            DrawPlane(p, QStringLiteral("XY"));
            break;
        case ToolIcon::ViewXZ:
            DrawPlane(p, QStringLiteral("XZ"));
            break;
        case ToolIcon::ViewYZ:
            DrawPlane(p, QStringLiteral("YZ"));
            break;
        case ToolIcon::ZoomAll:
            DrawZoomAll(p);
            break;
        case ToolIcon::Rotate:
            DrawRotate(p);
            break;
        case ToolIcon::Pan:
            DrawPan(p);
            break;
        case ToolIcon::Refresh:
            DrawRefresh(p);
            break;
        case ToolIcon::ShowLoads:
            DrawShowLoads(p);
            break;
        case ToolIcon::ViewOptions:
            DrawViewOptions(p);
            break;
        case ToolIcon::Select:
            DrawSelect(p);
            break;
        case ToolIcon::Idle:
            DrawIdle(p);
            break;
        case ToolIcon::AnalysisSettings:
            DrawAnalysisSettings(p);
            break;
        case ToolIcon::RecorderSettings:
            DrawRecorderSettings(p);
            break;
        case ToolIcon::Script:
            DrawScript(p);
            break;
        case ToolIcon::RunSolver:
            DrawRunSolver(p);
            break;
        case ToolIcon::ClearResults:
            DrawClearResults(p);
            break;
        case ToolIcon::Deformation:
            DrawDeformation(p);
            break;
        case ToolIcon::Animation:
            DrawAnimation(p);
            break;
        }
    }
    return QIcon(pixmap);
}

} // namespace vandra::gui
