// The one entry for opening a model file: reads the file and hands its text to the importer of
// its format. Every command that opens a model (the main window, vandra-cli) comes through here.
#pragma once

#include "import/S2kText.h"
#include "model/Model.h"

#include <string>

namespace vandra {

// Imports the text of a model file (its lines already read) by the importer of its format.
// fileName names the file in warnings and errors.
TModel ImportModelText(const S2kText& lines, const std::string& fileName);

// Reads the file at path (the system's 8-bit name) and imports it.
TModel ImportModelFile(const std::string& path);

} // namespace vandra
