// Version 6 text (.s2k) of a model, for engineers who keep their models in that format.
#pragma once

#include "model/Model.h"

#include <string>

namespace vandra {

// The s2k text of what the version 6 layout can hold (lines ended by CR LF, the layout the
// importer reads). What it cannot hold is added to `lost`, one warning per kind.
std::string WriteS2kText(const TModel& model, WarningList& lost);

} // namespace vandra
