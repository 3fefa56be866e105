// Where a joint or frame of the model stands in the recorder files: the OpenSees tag the script
// gave it. Every reader goes through these functions, so that a different tag plan changes them
// alone.
#pragma once

#include "model/Model.h"

namespace vandra {

// The node tag of joint j.
inline int JointNodeTag(const TModel& model, int j) {
    (void)model;
    return j;
}

// The element tag of frame f.
inline int FrameElementTag(const TModel& model, int f) {
    (void)model;
    return f;
}

// The count of element tags the recorder blocks are cut from (the script records tags 1..this).
inline int ElementTagCount(const TModel& model) {
    return CountOf(model.FrameCount);
}

} // namespace vandra
