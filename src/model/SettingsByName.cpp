#include "model/SettingsByName.h"

#include "model/Errors.h"
#include "model/MaterialLaws.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"

#include <array>
#include <string>
#include <vector>

namespace vandra {
namespace {

std::string Quoted(std::string_view s) {
    return "'" + std::string(s) + "'";
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

// Every program setting by name: exactly one of the member pointers is set, or none for the
// flag lists RecOpt and ViewOpt.
struct ProgramSetting {
    SettingName Text;
    int TSettings::*Int = nullptr;
    double TSettings::*Real = nullptr;
    bool TSettings::*Flag = nullptr;
};
constexpr ProgramSetting kProgramSettings[] = {
    {{"AnalysisType", "integer"}, &TSettings::AnalysisType},
    {{"LoadCase", "integer"}, &TSettings::LoadCase},
    {{"LoadVector", "integer"}, &TSettings::LoadVector},
    {{"LoadSteps", "integer"}, &TSettings::LoadSteps},
    {{"LoadFactor", "number"}, nullptr, &TSettings::LoadFactor},
    {{"ControlNode", "integer"}, &TSettings::ControlNode},
    {{"ControlDof", "integer"}, &TSettings::ControlDof},
    {{"ControlDisp", "number"}, nullptr, &TSettings::ControlDisp},
    {{"AnalysisStep", "integer"}, &TSettings::AnalysisStep},
    {{"NumIntgrPts", "integer"}, &TSettings::NumIntgrPts},
    {{"RebarMat", "integer"}, &TSettings::RebarMat},
    {{"UseAggregator", "0/1"}, nullptr, nullptr, &TSettings::UseAggregator},
    {{"ModalNumber", "integer"}, &TSettings::ModalNumber},
    {{"GenPlateFiber", "0/1"}, nullptr, nullptr, &TSettings::GenPlateFiber},
    {{"GenNodeMass", "0/1"}, nullptr, nullptr, &TSettings::GenNodeMass},
    {{"RecOpt", "5 flags 0/1"}},
    {{"ViewOpt", "13 flags 0/1"}},
    {{"ShownLoadCase", "integer"}, &TSettings::ShownLoadCase},
    {{"ShownLoadType", "integer"}, &TSettings::ShownLoadType},
    {{"ResultMin", "number"}, nullptr, &TSettings::ResultMin},
    {{"ResultMax", "number"}, nullptr, &TSettings::ResultMax},
};

struct SectionField {
    SettingName Text;
    int TSECTION::*Int = nullptr;
    double TSECTION::*Real = nullptr;
};
constexpr SectionField kSectionFields[] = {
    {{"FrameType", "integer"}, &TSECTION::FrameType},
    {{"GeoTransf", "integer"}, &TSECTION::GeoTransf},
    {{"SectionKind", "integer"}, &TSECTION::SectionKind},
    {{"DivideFX", "integer"}, &TSECTION::DivideFX},
    {{"DivideFY", "integer"}, &TSECTION::DivideFY},
    {{"BarNumNX", "integer"}, &TSECTION::BarNumNX},
    {{"BarNumNY", "integer"}, &TSECTION::BarNumNY},
    {{"Cover", "number"}, nullptr, &TSECTION::Cover},
    {{"BarTop", "number"}, nullptr, &TSECTION::BarTop},
    {{"BarBot", "number"}, nullptr, &TSECTION::BarBot},
    {{"HingeLenI", "number"}, nullptr, &TSECTION::HingeLenI},
    {{"HingeLenJ", "number"}, nullptr, &TSECTION::HingeLenJ},
    {{"Color", "packed colour 0..16777215"}},
};

constexpr SettingName kAreaSecFields[] = {{"NonlinType", "0/1"}};

template <typename Entry, size_t N> std::vector<SettingName> NamesOf(const Entry (&table)[N]) {
    std::vector<SettingName> names;
    for (const Entry& e : table)
        names.push_back(e.Text);
    return names;
}

bool AssignProgramSetting(TSettings& s, std::string_view name, std::string_view value) {
    for (const ProgramSetting& f : kProgramSettings) {
        if (f.Text.Name != name) continue;
        if (f.Int)
            s.*f.Int = parse::Integer(value);
        else if (f.Real)
            s.*f.Real = parse::Float(value);
        else if (f.Flag)
            s.*f.Flag = Flag(name, value);
        else if (name == "RecOpt")
            Flags(name, value, s.RecOpt);
        else
            Flags(name, value, s.ViewOpt);
        return true;
    }
    return false;
}

void AssignSectionField(TSECTION& sec, std::string_view field, std::string_view value) {
    for (const SectionField& f : kSectionFields) {
        if (f.Text.Name != field) continue;
        if (f.Int) return void(sec.*f.Int = parse::Integer(value));
        if (f.Real) return void(sec.*f.Real = parse::Float(value));
        const int v = parse::Integer(value); // Color
        if (v < 0 || v > 0xFFFFFF)
            throw UsageError("Color takes a packed colour 0..16777215, not " + Quoted(value));
        sec.Color = static_cast<uint32_t>(v);
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

void AssignSetting(TModel& model, TSettings& settings, std::string_view assignment) {
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
    if (!AssignProgramSetting(settings, name, assignment.substr(eq + 1)))
        throw UsageError("unknown setting " + Quoted(name));
}

std::span<const SettingName> ProgramSettingNames() {
    static const std::vector<SettingName> names = NamesOf(kProgramSettings);
    return names;
}

std::span<const SettingName> SectionFieldNames() {
    static const std::vector<SettingName> names = NamesOf(kSectionFields);
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
