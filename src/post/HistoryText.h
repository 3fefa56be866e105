// One joint's recorded history as CSV text: a header "time,X,Y,Z" and one line per recorded step.
#pragma once

#include "post/ResultFields.h"

#include <string>

namespace vandra {

std::string JointHistoryCsv(const TJointHistory& history);

} // namespace vandra
