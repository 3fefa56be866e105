// The one entry for importing a model file's text: hands it to the importer of its format. Every
// command that opens a model (the main window, vandra-cli) comes through here, by way of the
// document's ReadModelFile.
#pragma once

#include "import/S2kText.h"
#include "model/Model.h"
#include "model/Progress.h"

#include <string>
#include <vector>

namespace vandra {

// Imports the text of a model file (its lines already read) by the importer of its format: a
// tabular SAP2000 file (TABLE: headers) is converted, anything else is read as version 6 text.
// fileName names the file in warnings and errors. The conversion of a tabular file says what it
// read and how in report lines (empty for version 6 text).
// The importer counts its progress (a cancel throws Cancelled).
TModel ImportModelText(const S2kText& lines, const std::string& fileName,
                       std::vector<std::string>* report = nullptr, Progress* progress = nullptr);

} // namespace vandra
