// Elastic properties of frame sections derived from their shape dimensions.
#pragma once

#include "model/Model.h"

namespace vandra {

// For every section 1..SectionCount with a shape (rectangle, I, box, pipe): recomputes Area, I22,
// I33, AS2, AS3 and TorsJ from T[1..4], and copies G of its material into SecG (0 when the
// material is slot 0 or the material table is empty). A section whose properties the file gave
// (GivenProps) keeps them and gets SecG; any other section without a shape keeps its fields.
void ComputeSectionProperties(TModel& model);

} // namespace vandra
