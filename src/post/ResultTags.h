// Where a joint or frame of the model stands in the recorder files: the tag the script gave it
// (JointNodeTag and FrameElementTag come from the script's tag plan), and the count of element
// tags the recorder blocks are cut from. Every reader goes through these functions.
#pragma once

#include "model/Model.h"
#include "tcl/TagPlan.h"

namespace vandra {

// The script records the frame elements of frames 1..FrameCount in blocks of this count.
inline int ElementTagCount(const TModel& model) {
    return CountOf(model.FrameCount);
}

} // namespace vandra
