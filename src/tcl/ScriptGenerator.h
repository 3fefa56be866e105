// The OpenSees Tcl script generator.
#pragma once

#include "model/Model.h"
#include "model/ModelCheck.h"
#include "model/Progress.h"
#include "tcl/ScriptLineList.h"

#include <string>

namespace vandra {

// Derives the section properties and fiber tables of the generation (sections/ScriptSection.h),
// then replaces ScriptLines by the header and the ten writers' lines in their fixed order. Refuses
// (InputError, ScriptLines untouched) a model or settings that cannot give a script. What the
// engineer must know about the script written (the model check) is appended to warnings when it is
// given. Counts one unit of progress a writer; a cancel throws Cancelled and leaves ScriptLines
// untouched.
void GenerateScript(const TModel& model, const TSettings& settings, ScriptLineList& ScriptLines,
                    WarningList* warnings = nullptr, Progress* progress = nullptr);

// Writes the lines' text (8-bit, each line followed by CR LF). InputError when the file cannot be
// written.
void WriteScriptFile(const std::string& path, const ScriptLineList& lines);

} // namespace vandra
