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

// For the runs of a ground-motion suite: the model alone (the header and the writers up to the
// solids: no recorders, loads or analysis) into modelLines, and what each run does before its
// record (WriteGroundMotionPrelude: the gravity stage of type 6, the Rayleigh damping of the given
// ratio) into preludeLines. The checks of GenerateScript; InputError also for an analysis type
// other than a time history (5, 6 or 7).
void GenerateGroundMotionModel(const TModel& model, const TSettings& settings, double damping,
                               ScriptLineList& modelLines, ScriptLineList& preludeLines,
                               WarningList* warnings = nullptr);

// Writes the lines' text (8-bit, each line followed by CR LF). InputError when the file cannot be
// written.
void WriteScriptFile(const std::string& path, const ScriptLineList& lines);

} // namespace vandra
