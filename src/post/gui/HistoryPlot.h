// A line plot with QPainter (on the screen, into a PNG and into an SVG alike): one joint's
// displacement against the recorded time column, a section's moment against its curvature, a
// base or storey shear over the steps, a drift profile. Every plot saves from its context menu
// ("Save plot...") as PNG, SVG or CSV (the plotted points, the columns named by the axis labels,
// which carry the quantity and its unit).
#pragma once

#include "view/render/PictureWriter.h"

#include <QString>
#include <QWidget>

#include <vector>

class QPainter;

namespace vandra::gui {

// A point of a plot marked with a dot and a short label beside it.
struct PlotMark {
    double x = 0, y = 0;
    QString label;
};

struct PlotCurve {
    std::vector<double> x, y;
    QString title, xLabel, yLabel;
    std::vector<PlotMark> marks;
};

// Draws axes with ticks and labels, the curve and its marks into `area`.
void DrawHistoryPlot(QPainter& painter, const QRect& area, const PlotCurve& curve);

// The plot as a picture of width x height pixels to save (SavePicture): PNG and SVG painted by
// DrawHistoryPlot, CSV of the curve's points (x then y, headed by xLabel and yLabel).
Picture PlotPicture(const PlotCurve& curve, int width, int height);

class HistoryPlot : public QWidget {
    Q_OBJECT
public:
    explicit HistoryPlot(QWidget* parent = nullptr);
    void setCurve(PlotCurve curve);
    const PlotCurve& curve() const { return curve_; }
    // The plot as a picture of the widget's size.
    QImage toImage() const;
    // Writes the plot at the widget's size in the format the name's extension asks for (.png,
    // .svg, .csv); throws as SavePicture does.
    void save(const std::string& path) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PlotCurve curve_;
};

} // namespace vandra::gui
