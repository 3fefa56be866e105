// The IDA curves of a suite: the intensity (up) against the peak storey drift ratio (across), one
// line per record through its runs with a result, and the median across the records drawn thick
// in black. A run that did not converge (a collapse) ends its record's line with a flat line to
// the right edge at that intensity; where half or more of the records collapsed, so does the
// median. Drawn on any QPainter: the window's widget, a PNG or an SVG.
#pragma once

#include "motion/SuiteResults.h"
#include "view/render/PictureWriter.h"

#include <QColor>
#include <QRect>

#include <string>
#include <vector>

class QPainter;

namespace vandra {

// The axis from 0 to a round number at or above `largest`, and its tick step (1, 2 or 5 times a
// power of ten, four to ten ticks).
struct PlotAxis {
    double max = 1;
    double step = 0.2;
};
PlotAxis RoundAxis(double largest);

// The colour of record r's line.
QColor IdaRecordColor(size_t r);

void DrawIdaPlot(QPainter& painter, const QRect& area, const motion::IdaTable& table);

// The plot as a picture of the given size, for SavePicture (PNG or SVG; it holds no CSV data:
// suite-results --csv gives the table).
Picture IdaPlotPicture(const motion::IdaTable& table, int width, int height,
                       const std::string& title);

} // namespace vandra
