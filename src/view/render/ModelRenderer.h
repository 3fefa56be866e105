// The layered redraw of the model view into a retained QImage.
#pragma once

#include "model/Model.h"
#include "view/Camera.h"

#include <QImage>

namespace vandra {

// Clears the image, projects the model (writing the screen points into the store) and draws
// every layer that the view options switch on, then the load labels.
void RedrawModel(QImage& image, TModel& model, const TSettings& settings, const TViewState& view,
                 int SelectedFrame);

// The reduced redraw of an animation step: background, nodes, supports and frames without
// option tests or selection, nodes displaced by HistX/Y/Z[view.AnimationStep].
void RedrawAnimationFrame(QImage& image, TModel& model, const TViewState& view);

// How the canvas draws: Fast batches lines, blits node dots and skips what lies outside the
// image; Plain makes one painter call per element. Both give the same pixels.
enum class DrawPath { Fast, Plain };
void RedrawModel(QImage& image, TModel& model, const TSettings& settings, const TViewState& view,
                 int SelectedFrame, DrawPath path);
void RedrawAnimationFrame(QImage& image, TModel& model, const TViewState& view, DrawPath path);

} // namespace vandra
