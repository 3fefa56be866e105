// The writers of the OpenSees script, each appending one section's lines. GenerateScript runs them
// in their fixed order after the header; they read the model and the settings, take every tag from
// the generation's tag plan and every section property and fiber from its derived sections, and
// change nothing.
#pragma once

#include "model/Errors.h"
#include "model/Model.h"
#include "model/NumberText.h"
#include "sections/ScriptSection.h"
#include "tcl/GroundRecord.h"
#include "tcl/ScriptGenerator.h"
#include "tcl/TagPlan.h"

#include <array>
#include <cmath>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace vandra {

// What every writer reads: the model and the settings as the engineer gave them, the tags of the
// generation, and the frame sections as the script gives them ([1..SectionCount], derived once per
// generation), and the record of a time history (null for other analyses and for the model
// alone).
struct ScriptContext {
    const TModel& model;
    const TSettings& settings;
    const TagPlan& tags;
    const std::vector<TScriptSection>& sections;
    const ScriptRecord* record = nullptr;
};

using ScriptWriter = void (*)(const ScriptContext& context, ScriptLineList& lines);

void WriteNodesAndConstraints(const ScriptContext& context, ScriptLineList& lines);
void WriteEqualDofs(const ScriptContext& context, ScriptLineList& lines);
void WriteMaterials(const ScriptContext& context, ScriptLineList& lines);
void WriteFiberSections(const ScriptContext& context, ScriptLineList& lines);
void WritePlateFiberSections(const ScriptContext& context, ScriptLineList& lines);
void WriteFrameElements(const ScriptContext& context, ScriptLineList& lines);
void WriteShellElements(const ScriptContext& context, ScriptLineList& lines);
void WriteSolidElements(const ScriptContext& context, ScriptLineList& lines);
void WriteSpringElements(const ScriptContext& context, ScriptLineList& lines);
void WriteRecorders(const ScriptContext& context, ScriptLineList& lines);
void WriteLoadsAndAnalysis(const ScriptContext& context, ScriptLineList& lines);

// What every run of a ground-motion suite does before its record: for D+L+Time Hist Analysis the
// gravity stage, its loads then held constant at time 0; then Rayleigh damping of the given ratio
// fitted to the first two modes.
void WriteGroundMotionPrelude(const ScriptContext& context, double damping, ScriptLineList& lines);

// One uniaxial material (model material m) and one fiber section (frame section s, whose fibers
// the context's sections hold) as WriteMaterials and WriteFiberSections write them; the section
// analysis writes its one section with them.
void WriteMaterial(const ScriptContext& context, int m, ScriptLineList& lines);
void WriteFiberSection(const ScriptContext& context, int s, ScriptLineList& lines);

// A warning for each load of the written load patterns that is left out (the joint or the frame
// element it acts on is not in the script, or is a rigid link) or that acts along a truss and was
// written as loads on the truss's end joints.
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

// A frame's local axes 1, 2, 3 as unit vectors, and its length, between the places the script
// writes its joints at.
struct FrameAxes {
    std::array<double, 3> E1{1, 0, 0}, E2{0, 0, 1}, E3{0, -1, 0};
    double Length = 0;
};
FrameAxes FrameAxesOf(const TModel& model, const TFRAME& frame);

// The section properties of a frame's element: its section's times its modifiers.
TSectionProps ModifiedProperties(const TSectionProps& props, const TModifiers& modifiers);

} // namespace script
} // namespace vandra
