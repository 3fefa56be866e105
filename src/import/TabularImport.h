// Import of a SAP2000 tabular text model (the format SAP2000 writes today, ".s2k" or ".$2k") into
// the model store, without going through version 6 text.
//
// Everything is converted to N and mm (masses to N s^2/mm); joints are numbered 1..N in table
// order, then the joints made by frame meshing and the diaphragm masters. What the model cannot
// carry is reported as a warning in TModel::Warnings; what was read and how it was converted goes
// to the report lines.
#pragma once

#include "import/S2kText.h"
#include "model/Model.h"
#include "model/Progress.h"

#include <string>
#include <vector>

namespace vandra {

// Builds the model of a tabular file whose lines are `lines`. `fileName` names the file in
// warnings and errors. A bad number throws ConversionError and an unknown reference InputError,
// both naming table, row and line; no partial model escapes. Counts one unit of progress a table
// reader and throws Cancelled at the first count after a cancel.
TModel ImportTabular(const S2kText& lines, const std::string& fileName,
                     std::vector<std::string>* report = nullptr, Progress* progress = nullptr);

} // namespace vandra
