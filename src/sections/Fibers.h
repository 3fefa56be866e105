// Fiber discretisation of frame sections: the fiber table that a fiber section of the script lists.
#pragma once

#include "model/Model.h"

namespace vandra {

// True for the frame types whose sections get fibers (nonlinear, displacement-based, hinged beam
// columns and both trusses).
bool HasFiberSection(int frameType);

// The most fibers one section may have: far beyond any practical layout (a 300 x 300 grid), it
// keeps a mistyped division count from exhausting the memory or overflowing the numbering.
inline constexpr long long kMaxFibersPerSection = 100000;

// The number of fibers GenerateSectionFibers gives the section, counted without overflow; -1 for
// a shape without a layout.
long long FiberCountOf(const TSECTION& section);

// Rebuilds the fiber table of one section from its shape, dimensions, divisions and bars. Bars take
// material rebarMat, every other fiber the section's MatIdx. A shape without a layout (none) leaves
// the table and FiberCount as they were. The table grows as needed; entries past FiberCount may
// remain from an earlier, larger layout. More than kMaxFibersPerSection fibers raise InputError
// and leave the section as it was.
void GenerateSectionFibers(TSECTION& section, int rebarMat);

// GenerateSectionFibers over every section 1..SectionCount whose frame type has a fiber section.
void GenerateFibers(TModel& model, const TSettings& settings);

} // namespace vandra
