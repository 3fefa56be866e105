// The layered redraw of the model view into a retained QImage.
#pragma once

#include "model/Model.h"
#include "post/Results.h"
#include "view/Camera.h"
#include "view/ViewOptions.h"
#include "view/render/PictureWriter.h"

#include <QImage>

class QPainter;

namespace vandra {

// How the canvas draws: Fast writes two pixels wide lines, node dots and result fills straight
// into a 32-bit image, batches the other lines and skips what lies outside the image; Plain makes
// one painter call per element. They differ only where a pixel's centre lies on the edge of a
// line or fill (LineRaster.h).
enum class DrawPath { Fast, Plain };

// Clears the image, projects the model into projection with the nodes displaced by the loaded
// displacements times view.DisplacementScale, and draws every layer that the view options switch
// on, then the load labels. The end circles show the loaded section values in the results' colour
// range; frames without values get none (before any load every frame shows the value 0).
void RedrawModel(QImage& image, const TModel& model, const TViewOptions& options,
                 const TViewState& view, int SelectedFrame, const TResults& results,
                 TProjection& projection, DrawPath path = DrawPath::Fast);
// The same into a projection of its own, which it returns.
TProjection RedrawModel(QImage& image, const TModel& model, const TViewOptions& options,
                        const TViewState& view, int SelectedFrame,
                        const TResults& results = TResults(), DrawPath path = DrawPath::Fast);

// What RedrawModel draws, on a painter already active on a device of width x height pixels (an
// SVG): the same layers through the same drawing code, each layer's lines merged into one path a
// pen.
void PaintModel(QPainter& painter, int width, int height, const TModel& model,
                const TViewOptions& options, const TViewState& view, int SelectedFrame,
                const TResults& results);

// The model view of width x height pixels as a picture to save (SavePicture): a PNG holds the
// pixels RedrawModel draws, an SVG what PaintModel draws, shifted by half a pixel so that
// one-pixel lines lie on pixel centres as on the image. The picture refers to model, options and
// results, which must outlive it.
Picture ModelViewPicture(const TModel& model, const TViewOptions& options, const TViewState& view,
                         int SelectedFrame, const TResults& results, int width, int height,
                         std::string title);

// The reduced redraw of animation step `step` (1..history.Steps): background, nodes, supports and
// frames without option tests or selection, nodes displaced by the history of that step (their
// screen points go into projection; the frames' stay). A step outside the history draws the
// undisplaced model. The fast path writes the frame lines straight into the pixels of a 32-bit
// image; their ends may differ from the plain path by a pixel.
void RedrawAnimationFrame(QImage& image, const TModel& model, const TViewState& view,
                          const TNodeHistory& history, int step, TProjection& projection,
                          DrawPath path = DrawPath::Fast);

} // namespace vandra
