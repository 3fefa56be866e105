// Lines two pixels wide written straight into the pixels of a 32-bit image: the frame lines of an
// animation step, which must be drawn far faster than the painter strokes wide lines. The pixels
// match the painter's along a line; its ends may differ by a pixel.
#pragma once

#include <QImage>

#include <cstdint>

namespace vandra {

class LineRaster {
public:
    // Usable only on 32-bit RGB images (IsUsable); the image must not be painted on meanwhile.
    explicit LineRaster(QImage& image);
    bool IsUsable() const { return bits_ != nullptr; }
    // The line from (x1, y1) to (x2, y2), covering the pixel rows (or columns) on both sides of
    // it, as a painter's two pixels wide pen does; parts outside the image are cut off.
    void Line(int x1, int y1, int x2, int y2, QRgb color);

private:
    uint32_t* bits_ = nullptr;
    qsizetype stride_ = 0;
    int width_ = 0, height_ = 0;
};

} // namespace vandra
