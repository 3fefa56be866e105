#include "tcl/ScriptGenerator.h"

#include "model/AtomicFile.h"
#include "model/Errors.h"
#include "sections/Fibers.h"
#include "tcl/ScriptWriters.h"
#include "tcl/SectionProperties.h"
#include "tcl/TagPlan.h"

#include <array>

namespace vandra {
namespace {

using script::Slot;

// The sections of the script, in the order the solver must read them.
constexpr std::array<ScriptWriter, 10> kWriters = {
    WriteNodesAndConstraints, WriteEqualDofs,        WriteMaterials,     WriteFiberSections,
    WritePlateFiberSections,  WriteFrameElements,    WriteShellElements, WriteSolidElements,
    WriteRecorders,           WriteLoadsAndAnalysis,
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

// Every reference that the generator follows to read another record, checked before the store
// or the script is touched. References that are only written (element nodes, load targets) are
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
        const bool keepsTable = sec.Shape < kShapeRectangle || sec.Shape > kShapePipe;
        if (HasFiberSection(sec.FrameType) && keepsTable &&
            static_cast<long long>(sec.Fibers.size()) <= sec.FiberCount && sec.FiberCount > 0)
            throw InputError(
                name + " counts " + Num(sec.FiberCount) + " fibers but holds " +
                Num(sec.Fibers.empty() ? 0 : static_cast<long long>(sec.Fibers.size()) - 1));
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

void ApplyIntegrationPoints(TModel& model, const TSettings& settings) {
    for (int f = 1; f <= model.FrameCount; ++f)
        model.Frames[Slot(f)].IntPts = settings.NumIntgrPts;
}

} // namespace

void GenerateScript(TModel& model, const TSettings& settings, ScriptLineList& ScriptLines,
                    WarningList* warnings) {
    if (settings.LoadSteps < 1) throw InputError("Load Steps must be at least 1");
    CheckModel(model);
    const TagPlan tags(model, settings);

    ApplyIntegrationPoints(model, settings);
    ComputeSectionProperties(model);
    GenerateFibers(model, settings);
    // Shell tags follow the frame tags, and the recorders count frames: an absent frame table
    // counts as none from here on.
    if (model.FrameCount < 0) model.FrameCount = 0;

    ScriptLines.clear();
    ScriptLines.reserve(64 + 2 * Slot(CountOf(model.NodeCount)) +
                        2 * Slot(CountOf(model.FrameCount)) + Slot(CountOf(model.ShellCount)) +
                        Slot(CountOf(model.SolidCount)) + Slot(CountOf(model.LoadCount)));
    script::Line(ScriptLines, "wipe");
    script::Line(ScriptLines, "puts \"System\"");
    script::Line(ScriptLines, "model basic -ndm 3 -ndf 6");
    for (ScriptWriter write : kWriters)
        write(model, settings, tags, ScriptLines);
    if (warnings) warnings->insert(warnings->end(), tags.Warnings().begin(), tags.Warnings().end());
}

void WriteScriptFile(const std::string& path, const ScriptLineList& lines) {
    size_t size = 0;
    for (const std::string& line : lines)
        size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    WriteFileAtomically(path, text);
}

} // namespace vandra
