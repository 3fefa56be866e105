// Picking a joint in the model view by its screen point.
#pragma once

#include "model/Model.h"
#include "view/Camera.h"

namespace vandra {

// The joint of the model whose screen point (in the projection of the last redraw) is nearest to
// (x, y) and at most `radius` pixels away; 0 when none is.
int NearestJoint(const TModel& model, const TProjection& projection, int x, int y, int radius);

} // namespace vandra
