#include "post/gui/HistoryPlot.h"

#include "app/gui/ErrorBox.h"
#include "model/NumberText.h"

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <exception>
#include <memory>

namespace vandra::gui {
namespace {

constexpr int kLeft = 80, kRight = 20, kTop = 30, kBottom = 50;
constexpr int kTicks = 5;
constexpr int kTickLength = 4;
constexpr double kMarkRadius = 3.5;
constexpr double kMarkMargin = 0.08; // of the range, above and right of a plot with marks

struct Range {
    double lo = 0, hi = 1;
};

Range RangeOf(const std::vector<double>& v) {
    if (v.empty()) return {};
    const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
    // The origin stays in the picture: a capacity curve starts there.
    Range r{std::min(*lo, 0.0), std::max(*hi, 0.0)};
    if (r.hi == r.lo) {
        const double pad = r.lo == 0 ? 1 : std::fabs(r.lo) * 0.1;
        r.lo -= pad;
        r.hi += pad;
    }
    return r;
}

// A step of 1, 2 or 5 times a power of ten that cuts the range into about kTicks parts.
double NiceStep(const Range& r) {
    const double raw = (r.hi - r.lo) / kTicks;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (raw <= m * power) return m * power;
    return 10 * power;
}

QString TickText(double v, double step) {
    const double rounded = std::round(v / step) * step;
    return QString::fromStdString(
        text::FormatGeneral(std::fabs(rounded) < step * 1e-9 ? 0 : rounded));
}

} // namespace

void DrawHistoryPlot(QPainter& p, const QRect& area, const PlotCurve& curve) {
    p.fillRect(area, Qt::white);
    Range rx = RangeOf(curve.x), ry = RangeOf(curve.y);
    if (!curve.marks.empty()) { // room for the marks' dots and labels at the edges
        rx.hi += (rx.hi - rx.lo) * kMarkMargin;
        ry.hi += (ry.hi - ry.lo) * kMarkMargin;
    }
    const QFontMetrics metrics = p.fontMetrics();
    // Room on the left for the widest tick label beside the axis label.
    int left = kLeft;
    const double yStep = NiceStep(ry);
    for (double v = std::ceil(ry.lo / yStep) * yStep; v <= ry.hi + yStep * 1e-9; v += yStep)
        left = std::max(left, metrics.horizontalAdvance(TickText(v, yStep)) + kTickLength +
                                  metrics.height() + 12);
    const QRect plot = area.adjusted(left, kTop, -kRight, -kBottom);
    if (plot.width() < 10 || plot.height() < 10) return;
    p.setPen(Qt::black);
    p.drawText(QRect(area.left(), area.top(), area.width(), kTop), Qt::AlignCenter, curve.title);
    p.drawRect(plot);
    const auto sx = [&](double x) {
        return plot.left() + (x - rx.lo) / (rx.hi - rx.lo) * plot.width();
    };
    const auto sy = [&](double y) {
        return plot.bottom() - (y - ry.lo) / (ry.hi - ry.lo) * plot.height();
    };
    for (const bool horizontal : {true, false}) {
        const Range& r = horizontal ? rx : ry;
        const double step = NiceStep(r);
        for (double v = std::ceil(r.lo / step) * step; v <= r.hi + step * 1e-9; v += step) {
            const QString label = TickText(v, step);
            if (horizontal) {
                const int x = static_cast<int>(std::lround(sx(v)));
                p.setPen(QColor(225, 225, 225));
                p.drawLine(x, plot.top(), x, plot.bottom());
                p.setPen(Qt::black);
                p.drawLine(x, plot.bottom(), x, plot.bottom() + kTickLength);
                p.drawText(x - metrics.horizontalAdvance(label) / 2,
                           plot.bottom() + kTickLength + metrics.ascent() + 2, label);
            } else {
                const int y = static_cast<int>(std::lround(sy(v)));
                p.setPen(QColor(225, 225, 225));
                p.drawLine(plot.left(), y, plot.right(), y);
                p.setPen(Qt::black);
                p.drawLine(plot.left() - kTickLength, y, plot.left(), y);
                p.drawText(plot.left() - kTickLength - 2 - metrics.horizontalAdvance(label),
                           y + metrics.ascent() / 2, label);
            }
        }
    }
    p.drawText(
        QRect(plot.left(), area.bottom() - metrics.height() - 4, plot.width(), metrics.height()),
        Qt::AlignCenter, curve.xLabel);
    p.save();
    p.translate(area.left() + metrics.height(), plot.center().y());
    p.rotate(-90);
    p.drawText(QRect(-plot.height() / 2, -metrics.height(), plot.height(), metrics.height()),
               Qt::AlignCenter, curve.yLabel);
    p.restore();
    if (curve.x.empty()) return;
    QPainterPath path;
    path.moveTo(sx(curve.x[0]), sy(curve.y[0]));
    for (size_t k = 1; k < curve.x.size() && k < curve.y.size(); ++k)
        path.lineTo(sx(curve.x[k]), sy(curve.y[k]));
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(0, 0, 200), 2));
    p.setClipRect(plot);
    p.drawPath(path);
    for (const PlotMark& mark : curve.marks) {
        const QPointF at(sx(mark.x), sy(mark.y));
        p.setPen(QPen(QColor(200, 0, 0), 1));
        p.setBrush(QColor(200, 0, 0));
        p.drawEllipse(at, kMarkRadius, kMarkRadius);
        p.setPen(Qt::black);
        // Right of the dot, or left of it where the plot ends.
        const double width = metrics.horizontalAdvance(mark.label);
        const double x = at.x() + kMarkRadius + 2 + width <= plot.right()
                             ? at.x() + kMarkRadius + 2
                             : at.x() - kMarkRadius - 2 - width;
        p.drawText(QPointF(x, at.y() - kMarkRadius - 2), mark.label);
    }
}

Picture PlotPicture(const PlotCurve& curve, int width, int height) {
    // The picture keeps its own copy: the CSV columns look into it.
    const auto kept = std::make_shared<const PlotCurve>(curve);
    Picture picture;
    picture.Width = width;
    picture.Height = height;
    picture.Title = curve.title.toStdString();
    picture.Paint = [kept, width, height](QPainter& p) {
        DrawHistoryPlot(p, QRect(0, 0, width, height), *kept);
    };
    const size_t n = std::min(kept->x.size(), kept->y.size());
    picture.Data = {{kept->xLabel.toStdString(), std::span(kept->x.data(), n)},
                    {kept->yLabel.toStdString(), std::span(kept->y.data(), n)}};
    return picture;
}

HistoryPlot::HistoryPlot(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("historyPlot"));
    setMinimumSize(400, 280);
    auto* save = new QAction(QStringLiteral("Save plot..."), this);
    save->setObjectName(QStringLiteral("savePlotAction"));
    addAction(save);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(save, &QAction::triggered, this, [this] {
        const QString path = QFileDialog::getSaveFileName(
            this, QStringLiteral("Save plot"), QString(),
            QStringLiteral("PNG picture (*.png);;SVG drawing (*.svg);;CSV data (*.csv)"));
        if (path.isEmpty()) return;
        try {
            this->save(QFile::encodeName(path).toStdString());
        } catch (const std::exception& e) {
            ShowErrorBox(this, QString::fromLocal8Bit(e.what()));
        }
    });
}

void HistoryPlot::save(const std::string& path) const {
    SavePicture(path, PlotPicture(curve_, width(), height()));
}

void HistoryPlot::setCurve(PlotCurve curve) {
    curve_ = std::move(curve);
    update();
}

QImage HistoryPlot::toImage() const {
    QImage image(size(), QImage::Format_RGB32);
    QPainter p(&image);
    DrawHistoryPlot(p, image.rect(), curve_);
    return image;
}

void HistoryPlot::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DrawHistoryPlot(p, rect(), curve_);
}

} // namespace vandra::gui
