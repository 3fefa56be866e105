// The 200 x 200 pixel picture of one frame section that the frame section dialog shows: outline,
// division grid and bars, and the fiber count that generation will give. Computed here as a list
// of drawing primitives in paint order; the widgets and the command-line tool only paint them.
#pragma once

#include "model/Model.h"

#include <string>
#include <vector>

namespace vandra {

inline constexpr int kPreviewSize = 200;   // the picture is kPreviewSize square
inline constexpr int kPreviewCentre = 100; // pixel of the section's centre
inline constexpr int kPreviewSpan = 160;   // pixels of the larger of T1 and T2
inline constexpr int kPreviewDotRadius = 4;
inline constexpr int kPreviewTextX = 50, kPreviewTextY = 180; // top left of the count text

enum class PreviewColor { Black, Blue, Red };

struct PreviewPrimitive {
    enum Kind {
        Rectangle, // black outline from (x1, y1) to (x2, y2), filled white
        Ellipse,   // black outline in the box (x1, y1) to (x2, y2), filled white
        Line,      // from (x1, y1) to (x2, y2) in color
        Dot,       // filled in color, in the box (x1, y1) to (x2, y2)
        Text,      // text with its top left at (x1, y1), black on white
    };
    Kind kind;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    PreviewColor color = PreviewColor::Black;
    std::string text;

    bool operator==(const PreviewPrimitive&) const = default;
};

// The primitives that draw the picture of section s, first the white square that clears it. A
// section without a shape, or whose larger dimension is not positive, shows only that square (and
// its count, if its shape has one). The count text is "NUM OF FIBERS = n" with n the fibers
// SectionFibers gives; a pipe shows none. Grid lines, bars and pipe rays are drawn for at
// most kMaxFibersPerSection divisions, far beyond what 160 pixels can show.
std::vector<PreviewPrimitive> DrawSectionPreview(const TSECTION& s);

// v rounded to the nearest integer, an exact half going to the even neighbour; values beyond
// +/- 1e6 are held there, so that a wild dimension cannot overflow a pixel.
int PreviewPixel(double v);

} // namespace vandra
