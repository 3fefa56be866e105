// The colour table of one GIF frame. A GIF pixel is an index into a table of at most 256
// colours. The model view draws few colours (white, the section and result colours, the text's
// smoothed edges), so most frames fit a table exactly; a frame with more keeps its 256 most
// frequent colours (the lines and the background) and shows each other colour as the nearest kept
// one. A frame whose colours all lie in the previous table keeps that table, so a movie of
// one-coloured frames repeats no table.
#pragma once

#include <QImage>

#include <cstdint>
#include <vector>

namespace vandra {

class FramePalette {
public:
    static constexpr int kMaxColors = 256;

    // Fills `indices` (rows of `stride` bytes, the image's width used) with the palette index of
    // every pixel of a Format_RGB32 image, first updating the palette. Returns whether the
    // palette changed.
    bool Map(const QImage& rgb32, uint8_t* indices, int stride);

    // The colours, 0xffRRGGBB, at most kMaxColors.
    const std::vector<QRgb>& Colors() const { return colors_; }

private:
    std::vector<QRgb> colors_;
};

} // namespace vandra
