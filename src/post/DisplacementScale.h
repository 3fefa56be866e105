// The displacement scale a deformed shape starts from: the largest displacement drawn as a fixed
// fraction of the model's size, so that a run in millimetres and a mode shape normalised to 1 both
// show at a glance. The window's Deformation Shape and Animation dialogs and `render` without
// --scale use it.
#pragma once

#include "model/Model.h"
#include "post/ResultFields.h"

namespace vandra {

// The largest displacement is drawn at this fraction of the model's size.
inline constexpr double kDeformedFraction = 0.1;

// The largest side of the box around the joints (0 for fewer than two distinct places).
double ModelSize(const TModel& model);

// The largest length of a joint's displacement (X, Y, Z) over joints 1..NodeCount; values that
// are not finite are passed over.
double LargestDisplacement(const TModel& model, const TNodeField& disp);
// The same over every step of a history.
double LargestDisplacement(const TModel& model, const TNodeHistory& history);

// The scale that draws `largest` at kDeformedFraction of ModelSize, rounded to two significant
// digits; 1 when nothing moves or the model has no size.
double AutomaticScale(const TModel& model, double largest);

} // namespace vandra
