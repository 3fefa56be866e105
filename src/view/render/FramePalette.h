// The colour table of the frames of a GIF. A GIF pixel is an index into a table of at most 256
// colours. The model view draws few colours (white, the section and result colours, the grey edges
// of smoothed text), so most frames fit a table exactly; the first frame's table holds its colours
// most frequent first, and a frame with more than fit draws each colour left over with the nearest
// one in the table.
//
// The encoder stores only what changed from the previous frame, and it finds that by comparing
// indices, not colours. So a table entry that the previous frame's pixels use keeps its colour;
// a new colour takes an entry that is free or that the previous frame did not use. A frame whose
// colours all lie in the table keeps the table. When the new colours find no entry (a frame of
// other colours after one that used all 256), the table is built again from this frame alone,
// which must then be stored whole.
#pragma once

#include <QImage>

#include <array>
#include <cstdint>
#include <vector>

namespace vandra {

class FramePalette {
public:
    static constexpr int kMaxColors = 256;

    enum class Change { None, Added, Rebuilt };

    // Fills `indices` (rows of `stride` bytes, the image's width used) with the table index of
    // every pixel of a Format_RGB32 image, first updating the table. Returns how the table
    // changed: Rebuilt when indices of the previous frame now stand for other colours.
    Change Map(const QImage& rgb32, uint8_t* indices, int stride);

    // The colours, 0xffRRGGBB, at most kMaxColors.
    const std::vector<QRgb>& Colors() const { return colors_; }

private:
    std::vector<QRgb> colors_;
    std::array<bool, kMaxColors> usedBefore_{}; // the entries the previous frame's pixels use
};

} // namespace vandra
