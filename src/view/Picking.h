// Picking a joint in the model view by its screen point.
#pragma once

#include "model/Model.h"

namespace vandra {

// The joint whose screen point (from the last redraw) is nearest to (x, y) and at most `radius`
// pixels away; 0 when none is.
int NearestJoint(const TModel& model, int x, int y, int radius);

} // namespace vandra
