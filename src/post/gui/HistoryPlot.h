// A line plot with QPainter (on the screen and into a PNG alike): one joint's displacement against
// the recorded time column, a section's moment against its curvature.
#pragma once

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

class HistoryPlot : public QWidget {
    Q_OBJECT
public:
    explicit HistoryPlot(QWidget* parent = nullptr);
    void setCurve(PlotCurve curve);
    const PlotCurve& curve() const { return curve_; }
    // The plot as a picture of the widget's size.
    QImage toImage() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PlotCurve curve_;
};

} // namespace vandra::gui
