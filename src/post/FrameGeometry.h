// Where a frame's element stands in the script: its end points (both ends of a rigid link stand
// where the linked joint stands) and the local axes its geomTransf gives it: x from end I to end
// J, y = vecxz x x (normalized), z = x x y, with vecxz the frame's local axis 2. A frame's
// section forces, loads and deflections are all given in these axes.
#pragma once

#include "model/Model.h"

#include <array>

namespace vandra {

using Vec3 = std::array<double, 3>;

struct TFrameGeometry {
    Vec3 I{}, J{};
    double Length = 0;
    Vec3 X{}, Y{}, Z{};   // unit vectors in global coordinates
    bool Valid = false;   // the ends exist and are apart: X is known
    bool HasAxes = false; // and axis 2 is not along the frame: Y and Z are known
};

TFrameGeometry FrameGeometryOf(const TModel& model, int frame);

// Where the script puts a joint (a linked joint stands at the joint it is linked to); false for a
// number that is not a joint.
bool JointPlace(const TModel& model, int joint, Vec3& place);

// The frame type (FrameTypeCode) of a frame's section, 0 when its section is not in the model.
int FrameTypeOf(const TModel& model, int frame);

// The frame types whose elements are beam-columns: all six end forces, distributed loads taken.
bool IsBeamColumn(int frameType);

// A vector given in the frame's local axes, in global coordinates, and back.
Vec3 ToGlobal(const TFrameGeometry& g, const Vec3& local);
Vec3 ToLocal(const TFrameGeometry& g, const Vec3& global);

} // namespace vandra
