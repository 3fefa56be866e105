// The results drawn over the model view: member force diagrams, reactions as arrows, and frames
// drawn curved from their end rotations. post/Forces.md gives the signs.
//
// A diagram is drawn on every frame that has the component (trusses N only, rigid links none), at
// the frame's undisplaced place, in the plane of the component: N, Vz, T and My along the local z
// axis, Vy along y and Mz along -y (moments on their tension side). It is filled, one colour per
// sign, between the member and the curve of its values; the largest value of the model is drawn
// at a tenth of the model's size times TViewOptions::DiagramScale. An envelope draws its largest
// and its smallest values along each member through the ends and the extremes. Values are printed
// at the ends and at the extreme of frames drawn at least kDiagramLabelPixels long, and a legend
// states the component, its sign convention and the largest value.
#pragma once

#include "model/Model.h"
#include "post/Results.h"
#include "view/Camera.h"
#include "view/ViewOptions.h"
#include "view/render/ModelRenderer.h"

#include <QImage>

namespace vandra {

class Canvas;

inline constexpr double kDiagramFraction = 0.1;
// The fills of a diagram's positive and negative values.
inline constexpr QRgb kPositiveFill = qRgb(150, 180, 255);
inline constexpr QRgb kNegativeFill = qRgb(255, 160, 140);
inline constexpr int kDiagramLabelPixels = 60;

// Whether the frames are drawn curved: displacements and their rotations are loaded and drawn.
bool DrawsCurvedFrames(const TResults& results, const TViewState& view);

// The frame layer with every beam-column drawn as its deflected shape (cubic in each bending
// plane, CurvedFrames.h), trusses straight between their displaced ends; rigid links are not
// drawn, as in the straight frame layer.
void DrawCurvedFrames(Canvas& c, const TModel& model, const TViewState& view,
                      const TResults& results);

// The diagram of options.Diagram (with its values and legend) and, with options.ShowReactions,
// the reactions as arrows, over what the canvas holds: on an image (the fast canvas fills straight
// into the pixels of a 32-bit image; its edges may differ from the painter's by a pixel) or in an
// SVG (each colour's fills and lines merged into paths).
void DrawResultLayers(Canvas& c, const TModel& model, const TViewOptions& options,
                      const TViewState& view, const TResults& results);
// The same over what the image holds.
void DrawResultLayers(QImage& image, const TModel& model, const TViewOptions& options,
                      const TViewState& view, const TResults& results,
                      DrawPath path = DrawPath::Fast);

} // namespace vandra
