// The colour legend of the Deformation Shape dialog: a 155 x 40 picture of the six-colour result
// scale with "min" over its left end and "max" over its right end, drawn at start-up.
#pragma once

#include <QImage>

namespace vandra::gui {

inline constexpr int kLegendWidth = 155;
inline constexpr int kLegendHeight = 40;

QImage MakeResultLegend();

} // namespace vandra::gui
