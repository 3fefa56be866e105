// The deflected shape of a frame drawn curved, from the displacements and rotations of its end
// joints (the node files and the rotation files "node%d_rot.out" of one step): along local x the
// displacement is linear, in each bending plane it is the cubic (Hermite) that takes both ends'
// displacements and slopes, the slope of the deflection v along local y being the rotation about
// local z and that of the deflection w along local z minus the rotation about local y. This is
// the exact shape of a prismatic elastic member without loads between its ends.
#pragma once

#include "post/FrameGeometry.h"

namespace vandra {

// A joint's motion in global axes: translations and rotations (radians).
struct TJointMotion {
    Vec3 U{}, R{};
};

// n >= 2 points of the frame's displaced axis, end I to end J, in global coordinates: the point
// of the chord plus scale times the displacement there. A member that does not bend (a truss, a
// rigid link, a frame without local axes) stays straight between its displaced ends.
void CurvedFrame(const TFrameGeometry& g, const TJointMotion& i, const TJointMotion& j,
                 double scale, bool bends, int n, Vec3* out);

} // namespace vandra
