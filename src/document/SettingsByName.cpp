#include "document/SettingsByName.h"

#include "model/Errors.h"
#include "model/MaterialLaws.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"
#include "model/ShownText.h"
#include "sections/Fibers.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace vandra {
namespace {

constexpr std::string_view kAnalysisTypes[] = {
    "Single Load Control",       "Single Displacement Control",
    "Gravity+PushOver",          "Modal Analysis",
    "Time History Analysis",     "D+L+Time Hist Analysis",
    "MultipleSupport Excitation"};

constexpr std::string_view kRecorders[] = {
    "Displacement of All Nodes", "Element Force of All Frames",
    "Force/Disp Beam Column Section Deformation", "Force/Disp Beam Column Section  Stress-Strain",
    "Modal Shape"};

constexpr std::string_view kViewLayers[] = {
    "Node",           "Node Labels",   "Frame",        "Frame Labels",  "Frame Axis",
    "Node Support",   "Diaphragms",    "Hinge Circle", "Shell Element", "Shell Labels",
    "Moment Release", "Solid Element", "Solid Label"};

constexpr std::string_view kDirections[] = {"X", "Y", "Z"};

const SettingEntry kSettings[] = {
    {"AnalysisType", "integer", &TSettings::AnalysisType, true, "Analysis Type", kAnalysisTypes},
    {"LoadCase", "integer", &TSettings::LoadCase, true, "Load Case"},
    {"LoadVector", "integer", &TSettings::LoadVector, true, "Load Vector"},
    {"LoadSteps", "integer", &TSettings::LoadSteps, true, "Load Steps"},
    {"LoadFactor", "number", &TSettings::LoadFactor, true, "Load Factor"},
    {"ControlNode", "integer", &TSettings::ControlNode, true, "Control Node"},
    {"ControlDof", "integer", &TSettings::ControlDof, true, "Control Dof"},
    {"ControlDisp", "number", &TSettings::ControlDisp, true, "Control Disp"},
    {"AnalysisStep", "integer", &TSettings::AnalysisStep, true, "Analysis Step"},
    {"NumIntgrPts", "integer", &TSettings::NumIntgrPts, true, "Force/Disp Beam Column numIntgrPts"},
    {"RebarMat", "integer", &TSettings::RebarMat, true, "Rebar Material Number"},
    {"UseAggregator", "0/1", &TSettings::UseAggregator, true, "Torsional Constant and Shear Area"},
    {"ModalNumber", "integer", &TSettings::ModalNumber, true, "Modal Number"},
    {"GenPlateFiber", "0/1", &TSettings::GenPlateFiber, true,
     "Gen ND Material Plate Fiber Information"},
    {"GenNodeMass", "0/1", &TSettings::GenNodeMass, true, "Gen Mass Information"},
    {"RecOpt", "5 flags 0/1", &TSettings::RecOpt, true, "Output(Recorder Setting)", kRecorders},
    {"RecReactions", "0/1", &TSettings::RecReactions, true, "Reactions of the Supports"},
    {"RecRotations", "0/1", &TSettings::RecRotations, true, "Rotations of All Nodes"},
    {"RecModalReport", "0/1", &TSettings::RecModalReport, true, "Modal Properties Report"},
    {"RecordFile", "file: PEER .AT2 or one value a line, in g", &TSettings::RecordFile, true,
     "Record File"},
    {"RecordDt", "seconds, for a one-column file", &TSettings::RecordDt, true,
     "Record Time Step (s)"},
    {"RecordScale", "number, times g", &TSettings::RecordScale, true, "Record Scale Factor"},
    {"RecordDirection", "1..3: X, Y, Z", &TSettings::RecordDirection, true, "Record Direction",
     kDirections},
    {"DampingRatio", "number", &TSettings::DampingRatio, true, "Damping Ratio"},
    {"ViewOpt", "13 flags 0/1", &TViewOptions::ViewOpt, true, "Object View", kViewLayers},
    {"ShownLoadCase", "integer", &TViewOptions::ShownLoadCase},
    {"ShownLoadType", "integer", &TViewOptions::ShownLoadType},
    {"Diagram", "0..6: none, N, Vy, Vz, T, My, Mz", &TViewOptions::Diagram},
    {"DiagramScale", "number", &TViewOptions::DiagramScale},
    {"DiagramValues", "0/1", &TViewOptions::DiagramValues},
    {"ShowReactions", "0/1", &TViewOptions::ShowReactions},
    {"ResultLegend", "0/1", &TViewOptions::ResultLegend},
    {"ResultMin", "number", &TResults::ResultMin},
    {"ResultMax", "number", &TResults::ResultMax},
};

const SectionFieldEntry kSectionFields[] = {
    {{"FrameType", "integer"}, &TSECTION::FrameType},
    {{"GeoTransf", "integer"}, &TSECTION::GeoTransf},
    {{"SectionKind", "integer"}, &TSECTION::SectionKind},
    {{"DivideFX", "integer"}, &TSECTION::DivideFX},
    {{"DivideFY", "integer"}, &TSECTION::DivideFY},
    {{"BarNumNX", "integer"}, &TSECTION::BarNumNX},
    {{"BarNumNY", "integer"}, &TSECTION::BarNumNY},
    {{"Cover", "number"}, &TSECTION::Cover},
    {{"BarTop", "number"}, &TSECTION::BarTop},
    {{"BarBot", "number"}, &TSECTION::BarBot},
    {{"HingeLenI", "number"}, &TSECTION::HingeLenI},
    {{"HingeLenJ", "number"}, &TSECTION::HingeLenJ},
    {{"Color", "packed colour 0..16777215"}, &TSECTION::Color},
};

constexpr SettingName kAreaSecFields[] = {{"NonlinType", "0/1"}};

std::string Quoted(std::string_view s) {
    return text::ShownToken(s);
}

bool Flag(std::string_view name, std::string_view value) {
    const int v = parse::Integer(value);
    if (v != 0 && v != 1)
        throw UsageError(std::string(name) + " takes 0 or 1, not " + Quoted(value));
    return v == 1;
}

// A list of exactly flags.size() - 1 comma-separated 0/1 values into flags[1..].
template <size_t N>
void Flags(std::string_view name, std::string_view value, std::array<bool, N>& flags) {
    constexpr size_t kCount = N - 1;
    std::array<bool, N> result = flags;
    size_t i = 1, start = 0;
    while (true) {
        const size_t comma = value.find(',', start);
        const std::string_view item = value.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        if (i > kCount)
            throw UsageError(std::string(name) + " takes " + text::FormatInt(kCount) + " flags");
        result[i++] = Flag(name, item);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (i != kCount + 1)
        throw UsageError(std::string(name) + " takes " + text::FormatInt(kCount) + " flags");
    flags = result;
}

std::string_view RoomText(SettingRoom room) {
    switch (room) {
    case SettingRoom::Analysis:
        return "the analysis settings";
    case SettingRoom::View:
        return "the view options";
    case SettingRoom::Results:
        return "the colour range of the results";
    }
    return {};
}

bool AssignProgramSetting(const SettingRooms& rooms, std::string_view name,
                          std::string_view value) {
    for (const SettingEntry& e : kSettings) {
        if (e.Name != name) continue;
        const bool assigned = VisitSetting(e, rooms, [&](auto& field) {
            using T = std::remove_reference_t<decltype(field)>;
            if constexpr (std::is_same_v<T, int>)
                field = parse::Integer(value);
            else if constexpr (std::is_same_v<T, double>)
                field = parse::Float(value);
            else if constexpr (std::is_same_v<T, bool>)
                field = Flag(name, value);
            else if constexpr (std::is_same_v<T, std::string>)
                field = std::string(value);
            else
                Flags(name, value, field);
        });
        if (!assigned)
            throw UsageError(std::string(name) + " belongs to " + std::string(RoomText(RoomOf(e))) +
                             ", which this command does not use");
        return true;
    }
    return false;
}

// A change that leaves the section with a layout that would be silently wrong is refused and
// changes nothing.
void AssignSectionField(TSECTION& stored, std::string_view field, std::string_view value) {
    TSECTION sec = stored;
    for (const SectionFieldEntry& f : kSectionFields) {
        if (f.Text.Name != field) continue;
        std::visit(
            [&](auto member) {
                using T = std::remove_reference_t<decltype(sec.*member)>;
                if constexpr (std::is_same_v<T, int>) {
                    sec.*member = parse::Integer(value);
                } else if constexpr (std::is_same_v<T, double>) {
                    sec.*member = parse::Float(value);
                } else {
                    const int v = parse::Integer(value);
                    if (v < 0 || v > kMaxPackedColor)
                        throw UsageError(std::string(field) +
                                         " takes a packed colour 0..16777215, not " +
                                         Quoted(value));
                    sec.*member = static_cast<uint32_t>(v);
                }
            },
            f.Field);
        CheckFiberLayout(sec);
        stored = sec;
        return;
    }
    throw UsageError("unknown frame section field " + Quoted(field));
}

void AssignAreaSectionField(TAREASEC& sec, std::string_view field, std::string_view value) {
    if (field != kAreaSecFields[0].Name)
        throw UsageError("unknown shell section field " + Quoted(field));
    sec.NonlinType = Flag(field, value) ? kShellDKGQ : kShellMITC4;
}

// MatType chooses a law (its unset parameters get their defaults); a parameter takes a number. A
// change that leaves the law without sound parameters is refused and changes nothing.
void AssignMaterialField(TMAT& mat, std::string_view field, std::string_view value) {
    TMAT changed = mat;
    if (field == MatFieldNames()[0].Name) {
        ChooseMaterialLaw(changed, parse::Integer(value));
    } else if (const MaterialParam* param = FindMaterialParam(field)) {
        changed.*param->field = parse::Float(value);
    } else {
        throw UsageError("unknown material field " + Quoted(field));
    }
    CheckMaterialLaw(changed);
    mat = changed;
}

} // namespace

std::span<const SettingEntry> SettingsTable() {
    return kSettings;
}

const SettingEntry& SettingNamed(std::string_view name) {
    for (const SettingEntry& e : kSettings)
        if (e.Name == name) return e;
    throw std::out_of_range("no setting named " + Quoted(name));
}

SettingRoom RoomOf(const SettingEntry& entry) {
    return std::visit(
        [](auto member) {
            using Class = typename detail::MemberClass<decltype(member)>::Type;
            if constexpr (std::is_same_v<Class, TSettings>)
                return SettingRoom::Analysis;
            else if constexpr (std::is_same_v<Class, TViewOptions>)
                return SettingRoom::View;
            else
                return SettingRoom::Results;
        },
        entry.Field);
}

std::span<const SectionFieldEntry> SectionFieldTable() {
    return kSectionFields;
}

void AssignSetting(TModel& model, const SettingRooms& rooms, std::string_view assignment) {
    static constexpr std::string_view kSections = "Sections[";
    static constexpr std::string_view kAreaSecs = "AreaSecs[";
    static constexpr std::string_view kMats = "Mats[";
    const bool isSection = assignment.starts_with(kSections);
    const bool isAreaSec = assignment.starts_with(kAreaSecs);
    const bool isMat = assignment.starts_with(kMats);
    if (isSection || isAreaSec || isMat) {
        // TABLE[NAME].FIELD=VALUE; the name runs to the "]." that precedes the field.
        const std::string_view table = isSection ? kSections : isAreaSec ? kAreaSecs : kMats;
        const size_t open = table.size();
        const size_t close = assignment.find("].", open);
        const size_t eq = close == std::string_view::npos ? close : assignment.find('=', close);
        if (eq == std::string_view::npos)
            throw UsageError("a section setting reads " + std::string(table) +
                             "NAME].FIELD=VALUE, not " + Quoted(assignment));
        const std::string name(assignment.substr(open, close - open));
        const std::string_view field = assignment.substr(close + 2, eq - close - 2);
        const std::string_view value = assignment.substr(eq + 1);
        if (isSection) {
            const int s = FindSection(model, name);
            if (s == 0) throw UsageError("no frame section named " + Quoted(name));
            AssignSectionField(model.Sections[static_cast<size_t>(s)], field, value);
        } else if (isMat) {
            const int m = FindMaterial(model, name);
            if (m == 0) throw UsageError("no material named " + Quoted(name));
            AssignMaterialField(model.Mats[static_cast<size_t>(m)], field, value);
        } else {
            const int a = FindAreaSection(model, name);
            if (a == 0) throw UsageError("no shell section named " + Quoted(name));
            AssignAreaSectionField(model.AreaSecs[static_cast<size_t>(a)], field, value);
        }
        return;
    }
    const size_t eq = assignment.find('=');
    if (eq == std::string_view::npos)
        throw UsageError("a setting reads NAME=VALUE, not " + Quoted(assignment));
    const std::string_view name = assignment.substr(0, eq);
    if (!AssignProgramSetting(rooms, name, assignment.substr(eq + 1)))
        throw UsageError("unknown setting " + Quoted(name));
}

std::span<const SettingName> ProgramSettingNames() {
    static const std::vector<SettingName> names = [] {
        std::vector<SettingName> all;
        for (const SettingEntry& e : kSettings)
            all.push_back({e.Name, e.Values});
        return all;
    }();
    return names;
}

std::span<const SettingName> SectionFieldNames() {
    static const std::vector<SettingName> names = [] {
        std::vector<SettingName> all;
        for (const SectionFieldEntry& f : kSectionFields)
            all.push_back(f.Text);
        return all;
    }();
    return names;
}

std::span<const SettingName> AreaSecFieldNames() {
    return kAreaSecFields;
}

std::span<const SettingName> MatFieldNames() {
    static const std::vector<SettingName> names = [] {
        std::vector<SettingName> all{
            {"MatType", "1..5: Elastic, Steel01, Concrete01, Steel02, Concrete02"}};
        for (const MaterialParam& p : MaterialParams())
            all.push_back({p.name, "number"});
        return all;
    }();
    return names;
}

std::string SettingNamesHelp() {
    std::string words = "--set NAME=VALUE takes a setting by its name:";
    auto list = [&](std::span<const SettingName> names) {
        for (size_t i = 0; i < names.size(); ++i)
            words += std::string(" ") + std::string(names[i].Name) + " (" +
                     std::string(names[i].Values) + ")" + (i + 1 < names.size() ? "," : "");
    };
    list(ProgramSettingNames());
    words += "; a frame section field as Sections[NAME].FIELD=VALUE:";
    list(SectionFieldNames());
    words += "; a shell section field as AreaSecs[NAME].FIELD=VALUE:";
    list(AreaSecFieldNames());
    words += "; a material field as Mats[NAME].FIELD=VALUE:";
    list(MatFieldNames());
    words += ". Flags are 0 or 1; a list of flags is comma-separated, as RecOpt=1,0,0,0,1. A "
             "concrete with fpc >= 0 or a steel with Fy <= 0 is refused.";

    // Wrapped at blanks into lines of at most 96 characters.
    std::string out;
    size_t lineStart = 0;
    size_t pos = 0;
    while (pos < words.size()) {
        size_t next = words.find(' ', pos + 1);
        if (next == std::string::npos) next = words.size();
        if (next - lineStart > 96 && pos > lineStart) {
            out += words.substr(lineStart, pos - lineStart) + "\n";
            lineStart = pos + 1;
        }
        pos = next;
    }
    out += words.substr(lineStart) + "\n";
    return out;
}

} // namespace vandra
