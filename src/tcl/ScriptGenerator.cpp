#include "tcl/ScriptGenerator.h"

#include "model/AtomicFile.h"
#include "model/Errors.h"
#include "model/JointStability.h"
#include "sections/Fibers.h"
#include "tcl/ScriptWriters.h"
#include "tcl/SettingsCheck.h"
#include "tcl/TagPlan.h"

#include <array>
#include <cmath>
#include <optional>
#include <span>

namespace vandra {
namespace {

using script::InertName;
using script::Slot;

// The sections of the script, in the order the solver must read them.
constexpr std::array<ScriptWriter, 11> kWriters = {
    WriteNodesAndConstraints, WriteEqualDofs,      WriteMaterials,     WriteFiberSections,
    WritePlateFiberSections,  WriteFrameElements,  WriteShellElements, WriteSolidElements,
    WriteSpringElements,      WriteRecorders,      WriteLoadsAndAnalysis,
};

std::string Num(long long v) {
    return text::FormatInt(v);
}

// A table must hold the records its count announces.
template <typename Record>
void CheckTable(const std::vector<Record>& table, int count, const char* what) {
    if (count > 0 && static_cast<long long>(table.size()) <= count)
        throw InputError(std::string("The ") + what + " table holds " +
                         Num(table.empty() ? 0 : static_cast<long long>(table.size()) - 1) +
                         " records but its count is " + Num(count));
}

// A cross-reference read by a writer must be 0 (none) or a record of its table.
void CheckReference(int index, int count, const std::string& from, const char* to) {
    if (index != 0 && (index < 1 || index > count))
        throw InputError(from + " refers to " + to + " " + Num(index) + ", which does not exist");
}

// Every reference that the generator follows to read another record, checked before anything is
// derived or written. References that are only written (element nodes, load targets) are
// written as stored.
void CheckModel(const TModel& m) {
    CheckTable(m.Nodes, m.NodeCount, "joint");
    CheckTable(m.Frames, m.FrameCount, "frame");
    CheckTable(m.Shells, m.ShellCount, "shell");
    CheckTable(m.Solids, m.SolidCount, "solid");
    CheckTable(m.Mats, m.MatCount, "material");
    CheckTable(m.Sections, m.SectionCount, "frame section");
    CheckTable(m.AreaSecs, m.AreaSecCount, "shell section");
    CheckTable(m.Loads, m.LoadCount, "load");
    CheckTable(m.Diaphs, m.DiaphCount, "diaphragm");

    for (int i = 1; i <= m.NodeCount; ++i)
        CheckReference(m.Nodes[Slot(i)].LinkNode, m.NodeCount, "Joint " + Num(i), "joint");
    for (int f = 1; f <= m.FrameCount; ++f)
        CheckReference(m.Frames[Slot(f)].SecIdx, m.SectionCount, "Frame " + Num(f),
                       "frame section");
    for (int s = 1; s <= m.SectionCount; ++s) {
        const TSECTION& sec = m.Sections[Slot(s)];
        const std::string name = "Frame section " + Num(s) + " (" + sec.Name + ")";
        CheckReference(sec.MatIdx, m.MatCount, name, "material");
        const long long fibers = FiberCountOf(sec);
        if (HasFiberSection(sec.FrameType) && fibers > kMaxFibersPerSection)
            throw InputError(name + " would have " + Num(fibers) +
                             " fibers; a section may have at most " + Num(kMaxFibersPerSection));
    }
    for (int a = 1; a <= m.AreaSecCount; ++a)
        CheckReference(m.AreaSecs[Slot(a)].MatIdx, m.MatCount,
                       "Shell section " + Num(a) + " (" + m.AreaSecs[Slot(a)].Name + ")",
                       "material");
    for (int i = 1; i <= m.ShellCount; ++i)
        CheckReference(m.Shells[Slot(i)].SecIdx, m.AreaSecCount, "Shell " + Num(i),
                       "shell section");
    for (int d = 1; d <= m.DiaphCount; ++d) {
        const TDIAPH& diaph = m.Diaphs[Slot(d)];
        if (diaph.SlaveCount > 0 &&
            static_cast<long long>(diaph.DiaNodes.size()) <= diaph.SlaveCount)
            throw InputError("Diaphragm " + Num(d) + " counts " + Num(diaph.SlaveCount) +
                             " joints but lists fewer");
    }
}

// Every number the writers take from the model or its derived sections must be finite: an
// overflowing section property or an INF typed in a file would be written as text the solver
// cannot read. The record's name is built only for the refusal: the checks run over every joint,
// frame and load.
template <typename RecordName>
void CheckFinite(double value, const RecordName& record, const char* field) {
    if (std::isfinite(value)) return;
    throw InputError(record() + ": " + field + " is not a finite number (" +
                     (std::isnan(value) ? "NaN"
                      : value > 0       ? "INF"
                                        : "-INF") +
                     "); nothing was written");
}

// The name of a setting, for CheckFinite.
auto Named(const char* name) {
    return [name] { return std::string(name); };
}

void CheckFiniteValues(const TModel& m, const TSettings& settings,
                       const std::vector<TScriptSection>& sections) {
    CheckFinite(settings.LoadFactor, Named("Load Factor (LoadFactor)"), "the value");
    CheckFinite(settings.ControlDisp, Named("Control Disp (ControlDisp)"), "the value");
    for (int i = 1; i <= CountOf(m.NodeCount); ++i) {
        const TNODE& node = m.Nodes[Slot(i)];
        const auto name = [i] { return "Joint " + Num(i); };
        CheckFinite(node.X, name, "X");
        CheckFinite(node.Y, name, "Y");
        CheckFinite(node.Z, name, "Z");
        for (size_t k = 1; k <= 6; ++k)
            CheckFinite(node.Mass[k], name, "a mass");
    }
    for (int k = 1; k <= CountOf(m.MatCount); ++k) {
        const TMAT& mat = m.Mats[Slot(k)];
        const auto name = [k, &mat] {
            return "Material " + Num(k) + " (" + InertName(mat.Name) + ")";
        };
        CheckFinite(mat.E, name, "E");
        CheckFinite(mat.G, name, "G");
        CheckFinite(mat.U, name, "U");
    }
    for (int k = 1; k <= CountOf(m.SectionCount); ++k) {
        const TSECTION& sec = m.Sections[Slot(k)];
        const TScriptSection& derived = sections[Slot(k)];
        const TSectionProps& p = derived.Props;
        const auto name = [k, &sec] {
            return "Frame section " + Num(k) + " (" + InertName(sec.Name) + ")";
        };
        for (auto [value, field] : {std::pair{p.Area, "Area"},
                                    {p.I22, "I22"},
                                    {p.I33, "I33"},
                                    {p.AS2, "AS2"},
                                    {p.AS3, "AS3"},
                                    {p.TorsJ, "TorsJ"},
                                    {derived.G, "G"},
                                    {sec.HingeLenI, "HingeLenI"},
                                    {sec.HingeLenJ, "HingeLenJ"}})
            CheckFinite(value, name, field);
        for (const TFIBER& f : derived.Fibers) {
            CheckFinite(f.FibY, name, "a fiber position");
            CheckFinite(f.FibZ, name, "a fiber position");
            CheckFinite(f.FibArea, name, "a fiber area");
        }
    }
    for (int k = 1; k <= CountOf(m.AreaSecCount); ++k) {
        const auto name = [k, &m] {
            return "Shell section " + Num(k) + " (" + InertName(m.AreaSecs[Slot(k)].Name) + ")";
        };
        CheckFinite(m.AreaSecs[Slot(k)].Thickness, name, "the thickness");
    }
    for (int f = 1; f <= CountOf(m.FrameCount); ++f) {
        const TFRAME& frame = m.Frames[Slot(f)];
        const auto name = [f] { return "Frame " + Num(f); };
        CheckFinite(frame.Axis2X, name, "the local axis 2");
        CheckFinite(frame.Axis2Y, name, "the local axis 2");
        CheckFinite(frame.Axis2Z, name, "the local axis 2");
    }
    for (int l = 1; l <= CountOf(m.LoadCount); ++l) {
        const TLOAD& load = m.Loads[Slot(l)];
        const auto name = [l] { return "Load " + Num(l); };
        for (double value : {load.FX, load.FY, load.FZ, load.MX, load.MY, load.MZ})
            CheckFinite(value, name, "a force");
    }
}

// A warning for a name that InertName changes.
void AddNameWarning(std::string_view name, const std::string& what, WarningList& warnings) {
    const std::string inert = InertName(name);
    if (inert == name) return;
    warnings.push_back({"", 0,
                        what + " \"" + inert + "\" holds control characters or ends in a backslash",
                        "each was replaced by '?' in the script's comment"});
}

// The names the writers put in comments: sections with a fiber section, shell sections with a
// plate fiber section, the load cases of the patterns.
void AddNameWarnings(const TModel& m, const TSettings& settings, WarningList& warnings) {
    for (int k = 1; k <= CountOf(m.SectionCount); ++k)
        if (HasFiberSection(m.Sections[Slot(k)].FrameType))
            AddNameWarning(m.Sections[Slot(k)].Name, "Frame section " + Num(k) + " name", warnings);
    if (settings.GenPlateFiber)
        for (int k = 1; k <= CountOf(m.AreaSecCount); ++k)
            if (m.AreaSecs[Slot(k)].ShellKind == script::kShellKindShell)
                AddNameWarning(m.AreaSecs[Slot(k)].Name, "Shell section " + Num(k) + " name",
                               warnings);
    const int cases =
        std::min<int>(CountOf(m.LoadCaseCount), static_cast<int>(m.LoadCaseNames.size()) - 1);
    for (int c = 1; c <= cases; ++c)
        AddNameWarning(m.LoadCaseNames[Slot(c)], "Load case " + Num(c) + " name", warnings);
}

// Room reserved per expected line: more than most lines take, so that the text seldom moves while
// it grows. Room that is never written costs no memory.
constexpr size_t kReservedBytesPerLine = 96;

// The writers that define the model, the first kModelWriters of kWriters.
constexpr size_t kModelWriters = 9;

// What a generation works from, checked: the tag plan and the derived sections.
struct Checked {
    TagPlan tags;
    std::vector<TScriptSection> sections;
    std::optional<ScriptRecord> record;
};

// withRecord: the whole script, which reads the chosen record of a time history.
Checked Check(const TModel& model, const TSettings& settings, bool withRecord) {
    CheckModel(model);
    CheckSettings(model, settings);
    // A joint that end releases leave free to turn makes the stiffness matrix singular.
    if (const std::vector<TLooseJoint> loose = LooseReleasedJoints(model); !loose.empty()) {
        std::string frames;
        for (int f : loose.front().Frames)
            frames += (frames.empty() ? "" : ", ") + Num(f);
        throw InputError("Joint " + Num(loose.front().Joint) +
                         " is free to turn: the end releases of frame " + frames +
                         " leave nothing to hold it in the released rotation; take a release off "
                         "or hold the joint");
    }
    Checked checked{TagPlan(model, settings), ScriptSectionsOf(model, settings), std::nullopt};
    CheckFiniteValues(model, settings, checked.sections);
    if (withRecord && UsesRecord(settings.AnalysisType)) checked.record = ScriptRecordOf(settings);
    return checked;
}

// The header and the lines of the given writers, in their order, into a new list.
ScriptLineList RunWriters(const ScriptContext& context, std::span<const ScriptWriter> writers,
                          Progress* progress = nullptr) {
    const TModel& model = context.model;
    const size_t lines = 64 + 2 * Slot(CountOf(model.NodeCount)) +
                         2 * Slot(CountOf(model.FrameCount)) + Slot(CountOf(model.ShellCount)) +
                         Slot(CountOf(model.SolidCount)) + Slot(CountOf(model.LoadCount));
    ScriptLineList next;
    next.reserve(lines, lines * kReservedBytesPerLine);
    script::Line(next, "wipe");
    script::Line(next, "puts \"System\"");
    script::Line(next, "model basic -ndm 3 -ndf 6");
    for (ScriptWriter write : writers) {
        write(context, next);
        AddProgress(progress, 1);
    }
    return next;
}

void AddWarnings(const TModel& model, const TSettings& settings, const TagPlan& tags,
                 WarningList& warnings) {
    warnings.insert(warnings.end(), tags.Warnings().begin(), tags.Warnings().end());
    AddSettingsWarnings(model, settings, warnings);
    AddNameWarnings(model, settings, warnings);
    AddSkippedLoadWarnings(model, settings, warnings);
}

} // namespace

std::string script::InertName(std::string_view name) {
    std::string inert(name);
    for (char& c : inert)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    for (auto it = inert.rbegin(); it != inert.rend() && *it == '\\'; ++it)
        *it = '?';
    return inert;
}

void GenerateScript(const TModel& model, const TSettings& settings, ScriptLineList& ScriptLines,
                    WarningList* warnings, Progress* progress) {
    StartProgress(progress, "Generating the script", std::size(kWriters) + 1);
    const Checked checked = Check(model, settings, true);
    AddProgress(progress, 1);
    // Built aside, so that a refusal by a writer leaves the previous script.
    ScriptLineList next = RunWriters({model, settings, checked.tags, checked.sections,
                                      checked.record ? &*checked.record : nullptr},
                                     kWriters, progress);
    ScriptLines.swap(next);
    if (warnings != nullptr) AddWarnings(model, settings, checked.tags, *warnings);
}

void GenerateGroundMotionModel(const TModel& model, const TSettings& settings, double damping,
                               ScriptLineList& modelLines, ScriptLineList& preludeLines,
                               WarningList* warnings) {
    const int type = settings.AnalysisType;
    if (type != kTimeHistory && type != kGravityTimeHistory && type != kMultipleSupport)
        throw InputError("A ground-motion suite runs a time history: Analysis Type (AnalysisType) "
                         "is " +
                         Num(type) + ", it must be 5, 6 or 7");
    const Checked checked = Check(model, settings, false);
    const ScriptContext context{model, settings, checked.tags, checked.sections, nullptr};
    ScriptLineList next = RunWriters(context, std::span(kWriters).first(kModelWriters));
    ScriptLineList prelude;
    WriteGroundMotionPrelude(context, damping, prelude);
    modelLines.swap(next);
    preludeLines.swap(prelude);
    // The joints of the multiple-support template are not those a suite moves.
    if (warnings == nullptr) return;
    TSettings warned = settings;
    if (type == kMultipleSupport) warned.AnalysisType = kTimeHistory;
    AddWarnings(model, warned, checked.tags, *warnings);
}

void WriteScriptFile(const std::string& path, const ScriptLineList& lines) {
    WriteFileAtomically(path, lines.Text());
}

} // namespace vandra
