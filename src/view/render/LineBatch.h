// Lines collected by pen and drawn together. An SVG writes every painter call as an element of
// its own (a <polyline> of about 70 bytes a line, and a group of about 250 bytes at every change
// of pen), so a 100,000-frame model view drawn line by line with alternating colours would pass
// 30 MB; the same lines as one path per pen take about 18 bytes each.
//
// Lines keep their order within a pen; the pens are drawn in the order of their first line, so a
// line may come to lie under a line of another pen that was drawn before it. Draw the batch at
// each layer's end to keep the layers in order.
#pragma once

#include <QLineF>
#include <QPointF>
#include <QRgb>
#include <QVector>

#include <cstdint>
#include <unordered_map>
#include <vector>

class QPainter;

namespace vandra {

class LineBatch {
public:
    // A solid line of the colour and width, square caps and mitred joins as the canvas draws.
    void Add(QRgb color, int width, const QLineF& line);
    // Draws the lines collected and forgets them. An SVG painter gets one path per pen, a raster
    // painter one drawLines call per pen. The painter's pen is left as the last pen drawn.
    void Draw(QPainter& painter);
    bool Empty() const { return runs_.empty(); }

private:
    struct Run {
        QRgb color;
        int width;
        QVector<QLineF> lines;
    };
    std::vector<Run> runs_;
    std::unordered_map<uint64_t, size_t> runOfPen_; // colour and width -> index in runs_
};

// Polygons filled without an outline, collected by colour and drawn as one path a colour (the
// result diagrams of a large model in an SVG). Each polygon is turned counter-clockwise, so that
// overlapping polygons of one colour fill their union under the non-zero rule.
class FillBatch {
public:
    void Add(QRgb color, const QPointF* polygon, int count);
    void Draw(QPainter& painter);
    bool Empty() const { return runs_.empty(); }

private:
    struct Run {
        QRgb color;
        std::vector<QPointF> points;
        std::vector<int> sizes; // points of each polygon, one after the other
    };
    std::vector<Run> runs_;
    std::unordered_map<QRgb, size_t> runOfColor_;
};

} // namespace vandra
