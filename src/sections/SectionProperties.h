// Elastic properties of frame sections: computed from their shape dimensions, or as a file gave
// them.
#pragma once

#include "model/Model.h"

namespace vandra {

// The properties the elements of a section get: those its file gave (GivenProps), else those of
// its shape computed from T[1..4] in extended precision (rectangle: depth, width; I and box:
// depth, width, flange and web thickness; pipe: diameter, wall); all zero for a section without
// either.
TSectionProps SectionPropertiesOf(const TSECTION& section);

} // namespace vandra
