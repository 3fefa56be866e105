// Fiber discretisation of frame sections: the fiber table that a fiber section of the script lists.
#pragma once

#include "model/Model.h"

namespace vandra {

// True for the frame types whose sections get fibers (nonlinear, displacement-based, hinged beam
// columns and both trusses).
bool HasFiberSection(int frameType);

// Rebuilds the fiber table of one section from its shape, dimensions, divisions and bars. Bars take
// material rebarMat, every other fiber the section's MatIdx. A shape without a layout (none) leaves
// the table and FiberCount as they were. The table grows as needed; entries past FiberCount may
// remain from an earlier, larger layout.
void GenerateSectionFibers(TSECTION& section, int rebarMat);

// GenerateSectionFibers over every section 1..SectionCount whose frame type has a fiber section.
void GenerateFibers(TModel& model, const TSettings& settings);

} // namespace vandra
