// The clear-results command: the model shows no result any more.
#pragma once

#include "model/Model.h"

namespace vandra {

// Sets DispX, DispY, DispZ of every joint and ResultI, ResultJ of every frame to 0.
void ClearResults(TModel& model);

} // namespace vandra
