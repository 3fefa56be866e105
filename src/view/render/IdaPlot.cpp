#include "view/render/IdaPlot.h"

#include "model/NumberText.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace vandra {
namespace {

constexpr int kMarginLeft = 70, kMarginBottom = 50, kMarginTop = 20, kLegendWidth = 170;
constexpr int kMarker = 3;
constexpr size_t kLegendLines = 20;

const QColor kColors[] = {QColor(31, 119, 180),  QColor(255, 127, 14),  QColor(44, 160, 44),
                          QColor(214, 39, 40),   QColor(148, 103, 189), QColor(140, 86, 75),
                          QColor(227, 119, 194), QColor(127, 127, 127), QColor(188, 189, 34),
                          QColor(23, 190, 207)};

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// The largest finite drift of the table, the median's included.
double LargestDrift(const motion::IdaTable& t) {
    double largest = 0;
    const auto take = [&](const std::optional<double>& d) {
        if (d && std::isfinite(*d)) largest = std::max(largest, *d);
    };
    for (const auto& row : t.drift)
        std::for_each(row.begin(), row.end(), take);
    std::for_each(t.median.begin(), t.median.end(), take);
    return largest;
}

// One line through the intensities that have a value; a collapse at the right edge, marked x.
void DrawCurve(QPainter& p, const std::vector<std::optional<double>>& drifts,
               const std::vector<double>& intensities, const auto& at, double xMax) {
    QPainterPath path;
    bool started = false;
    for (size_t i = 0; i < drifts.size(); ++i) {
        if (!drifts[i]) continue;
        const bool collapse = !std::isfinite(*drifts[i]);
        const QPointF point = at(collapse ? xMax : *drifts[i], intensities[i]);
        started ? path.lineTo(point) : path.moveTo(point);
        started = true;
        if (collapse) {
            p.drawLine(point + QPointF(-kMarker, -kMarker), point + QPointF(kMarker, kMarker));
            p.drawLine(point + QPointF(-kMarker, kMarker), point + QPointF(kMarker, -kMarker));
        } else {
            p.drawEllipse(point, kMarker, kMarker);
        }
    }
    p.drawPath(path);
}

} // namespace

PlotAxis RoundAxis(double largest) {
    if (!(largest > 0) || !std::isfinite(largest)) return {};
    const double least = largest / 10;
    const double power = std::pow(10.0, std::floor(std::log10(least)));
    double step = 10 * power;
    for (double m : {1.0, 2.0, 5.0}) {
        if (m * power >= least * (1 - 1e-12)) {
            step = m * power;
            break;
        }
    }
    return {std::ceil(largest / step * (1 - 1e-12)) * step, step};
}

QColor IdaRecordColor(size_t r) {
    return kColors[r % std::size(kColors)];
}

void DrawIdaPlot(QPainter& p, const QRect& area, const motion::IdaTable& t) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRect plot = area.adjusted(kMarginLeft, kMarginTop, -kLegendWidth, -kMarginBottom);
    const PlotAxis x = RoundAxis(LargestDrift(t));
    const PlotAxis y = RoundAxis(t.intensities.empty() ? 0 : t.intensities.back());
    const auto at = [&](double drift, double intensity) {
        return QPointF(plot.left() + drift / x.max * plot.width(),
                       plot.bottom() - intensity / y.max * plot.height());
    };
    const QFontMetrics metrics = p.fontMetrics();
    p.setPen(QPen(QColor(200, 200, 200), 1));
    for (double v = 0; v <= x.max * (1 + 1e-9); v += x.step)
        p.drawLine(at(v, 0), at(v, y.max));
    for (double v = 0; v <= y.max * (1 + 1e-9); v += y.step)
        p.drawLine(at(0, v), at(x.max, v));
    p.setPen(Qt::black);
    p.drawRect(plot);
    // Every grid line of the drift axis is labelled when the labels fit side by side, else
    // every second, fifth... one.
    const int xTicks = static_cast<int>(std::lround(x.max / x.step));
    int widest = 0;
    for (int k = 0; k <= xTicks; ++k)
        widest = std::max(widest, metrics.horizontalAdvance(Q(text::FormatGeneral(k * x.step))));
    const double tickPixels = x.max > 0 ? plot.width() * x.step / x.max : 1;
    int labelEvery = 1;
    for (int m : {1, 2, 5, 10}) {
        labelEvery = m;
        if (m * tickPixels >= widest + 8) break;
    }
    for (int k = 0; k <= xTicks; k += labelEvery) {
        const QString label = Q(text::FormatGeneral(k * x.step));
        const QPointF a = at(k * x.step, 0);
        p.drawText(
            QPointF(a.x() - metrics.horizontalAdvance(label) / 2.0, a.y() + metrics.height() + 2),
            label);
    }
    for (double v = 0; v <= y.max * (1 + 1e-9); v += y.step) {
        const QString label = Q(text::FormatGeneral(v));
        const QPointF a = at(0, v);
        p.drawText(
            QPointF(a.x() - metrics.horizontalAdvance(label) - 6, a.y() + metrics.ascent() / 2.0),
            label);
    }
    const QString xTitle = QStringLiteral("Peak storey drift ratio");
    p.drawText(QPointF(plot.center().x() - metrics.horizontalAdvance(xTitle) / 2.0,
                       plot.bottom() + 2 * metrics.height() + 8),
               xTitle);
    const QString yTitle = t.kind == motion::IntensityKind::kLevel ? QStringLiteral("Sa(T1), g")
                                                                   : QStringLiteral("Scale factor");
    p.save();
    p.translate(area.left() + metrics.height(), plot.center().y());
    p.rotate(-90);
    p.drawText(QPointF(-metrics.horizontalAdvance(yTitle) / 2.0, 0), yTitle);
    p.restore();

    // The median under the records: a record whose drifts are the median stays visible on it.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 3));
    DrawCurve(p, t.median, t.intensities, at, x.max);
    for (size_t r = 0; r < t.records.size(); ++r) {
        std::vector<std::optional<double>> drifts;
        for (const auto& row : t.drift)
            drifts.push_back(row[r]);
        p.setPen(QPen(IdaRecordColor(r), 1.5));
        DrawCurve(p, drifts, t.intensities, at, x.max);
    }

    // The legend: the median first, then the records (the first kLegendLines).
    const int left = plot.right() + 16;
    int top = plot.top() + metrics.height();
    const auto legendLine = [&](const QPen& pen, const QString& label) {
        p.setPen(pen);
        p.drawLine(QPointF(left, top - metrics.ascent() / 2.0),
                   QPointF(left + 24, top - metrics.ascent() / 2.0));
        p.setPen(Qt::black);
        p.drawText(QPointF(left + 30, top),
                   metrics.elidedText(label, Qt::ElideMiddle, kLegendWidth - 40));
        top += metrics.height() + 2;
    };
    legendLine(QPen(Qt::black, 3), QStringLiteral("median"));
    for (size_t r = 0; r < std::min(t.records.size(), kLegendLines); ++r)
        legendLine(QPen(IdaRecordColor(r), 1.5), Q(t.records[r]));
    if (t.records.size() > kLegendLines) {
        p.setPen(Qt::black);
        p.drawText(QPointF(left, top),
                   QStringLiteral("and %1 more").arg(t.records.size() - kLegendLines));
    }
    p.restore();
}

Picture IdaPlotPicture(const motion::IdaTable& table, int width, int height,
                       const std::string& title) {
    Picture picture;
    picture.Width = width;
    picture.Height = height;
    picture.Title = title;
    picture.Paint = [table, width, height](QPainter& p) {
        p.fillRect(QRect(0, 0, width, height), Qt::white);
        DrawIdaPlot(p, QRect(0, 0, width, height), table);
    };
    return picture;
}

} // namespace vandra
