// The writers of the OpenSees script, each appending one section's lines. GenerateScript runs them
// in their fixed order after the header; they read the store and the settings, take every tag from
// the generation's tag plan, and change nothing.
#pragma once

#include "model/Errors.h"
#include "model/Model.h"
#include "model/NumberText.h"
#include "tcl/ScriptGenerator.h"
#include "tcl/TagPlan.h"

#include <cmath>
#include <initializer_list>
#include <string>
#include <string_view>

namespace vandra {

using ScriptWriter = void (*)(const TModel&, const TSettings&, const TagPlan&, ScriptLineList&);

void WriteNodesAndConstraints(const TModel& model, const TSettings& settings, const TagPlan& tags,
                              ScriptLineList& lines);
void WriteEqualDofs(const TModel& model, const TSettings& settings, const TagPlan& tags,
                    ScriptLineList& lines);
void WriteMaterials(const TModel& model, const TSettings& settings, const TagPlan& tags,
                    ScriptLineList& lines);
void WriteFiberSections(const TModel& model, const TSettings& settings, const TagPlan& tags,
                        ScriptLineList& lines);
void WritePlateFiberSections(const TModel& model, const TSettings& settings, const TagPlan& tags,
                             ScriptLineList& lines);
void WriteFrameElements(const TModel& model, const TSettings& settings, const TagPlan& tags,
                        ScriptLineList& lines);
void WriteShellElements(const TModel& model, const TSettings& settings, const TagPlan& tags,
                        ScriptLineList& lines);
void WriteSolidElements(const TModel& model, const TSettings& settings, const TagPlan& tags,
                        ScriptLineList& lines);
void WriteRecorders(const TModel& model, const TSettings& settings, const TagPlan& tags,
                    ScriptLineList& lines);
void WriteLoadsAndAnalysis(const TModel& model, const TSettings& settings, const TagPlan& tags,
                           ScriptLineList& lines);

// A warning for each load of the written load patterns that is left out because the joint or the
// frame element it acts on is not in the script.
void AddSkippedLoadWarnings(const TModel& model, const TSettings& settings, WarningList& warnings);

namespace script {

constexpr int kShellKindShell = 1; // TAREASEC::ShellKind of a section of type shell

// Appends one line: a template filled with its arguments. GenerateScript refuses non-finite
// values before the writers run; one that still arrives here stops the generation.
inline void Line(ScriptLineList& lines, std::string_view tmpl,
                 std::initializer_list<text::FmtArg> args) {
    for (const text::FmtArg& arg : args)
        if (arg.kind == text::FmtArg::kDouble && !std::isfinite(arg.d))
            throw InputError("A value of the script line \"" + std::string(tmpl) +
                             "\" is not a finite number");
    lines.AppendFormat(tmpl, args);
}

// Appends one line of fixed text.
inline void Line(ScriptLineList& lines, std::string_view literal) {
    lines.push_back(literal);
}

// A name as it may stand in a Tcl comment of the script: control characters (line ends, the
// ^Z that ends a sourced file) and backslashes at its end (which would continue the comment over
// the next command) are replaced by '?'. The one way names enter the script.
std::string InertName(std::string_view name);

// Record `index` of a table, or an empty record for slot 0 of a table that has none. References
// are checked by GenerateScript before any writer runs.
template <typename Record> const Record& At(const std::vector<Record>& table, int index) {
    static const Record kEmpty{};
    if (index < 0 || index >= static_cast<int>(table.size())) return kEmpty;
    return table[static_cast<size_t>(index)];
}

inline size_t Slot(int index) {
    return static_cast<size_t>(index);
}

} // namespace script
} // namespace vandra
