// A line plot of one joint's displacement against the recorded time column, drawn with QPainter
// (on the screen and into a PNG alike).
#pragma once

#include <QString>
#include <QWidget>

#include <vector>

class QPainter;

namespace vandra::gui {

struct PlotCurve {
    std::vector<double> x, y;
    QString title, xLabel, yLabel;
};

// Draws axes with ticks and labels and the curve into `area`.
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
