#include "model/SettingsByName.h"

#include "model/Errors.h"
#include "model/MaterialLaws.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"

#include <array>
#include <string>

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

bool AssignProgramSetting(TSettings& s, std::string_view name, std::string_view value) {
    struct IntField {
        std::string_view name;
        int TSettings::*field;
    };
    struct RealField {
        std::string_view name;
        double TSettings::*field;
    };
    struct FlagField {
        std::string_view name;
        bool TSettings::*field;
    };
    static constexpr IntField kInts[] = {
        {"AnalysisType", &TSettings::AnalysisType},   {"LoadCase", &TSettings::LoadCase},
        {"LoadVector", &TSettings::LoadVector},       {"LoadSteps", &TSettings::LoadSteps},
        {"ControlNode", &TSettings::ControlNode},     {"ControlDof", &TSettings::ControlDof},
        {"AnalysisStep", &TSettings::AnalysisStep},   {"NumIntgrPts", &TSettings::NumIntgrPts},
        {"RebarMat", &TSettings::RebarMat},           {"ModalNumber", &TSettings::ModalNumber},
        {"ShownLoadCase", &TSettings::ShownLoadCase}, {"ShownLoadType", &TSettings::ShownLoadType},
    };
    static constexpr RealField kReals[] = {
        {"LoadFactor", &TSettings::LoadFactor},
        {"ControlDisp", &TSettings::ControlDisp},
        {"ResultMin", &TSettings::ResultMin},
        {"ResultMax", &TSettings::ResultMax},
    };
    static constexpr FlagField kFlags[] = {
        {"UseAggregator", &TSettings::UseAggregator},
        {"GenPlateFiber", &TSettings::GenPlateFiber},
        {"GenNodeMass", &TSettings::GenNodeMass},
    };
    for (const IntField& f : kInts)
        if (f.name == name) return (s.*f.field = parse::Integer(value)), true;
    for (const RealField& f : kReals)
        if (f.name == name) return (s.*f.field = parse::Float(value)), true;
    for (const FlagField& f : kFlags)
        if (f.name == name) return (s.*f.field = Flag(name, value)), true;
    if (name == "RecOpt") return Flags(name, value, s.RecOpt), true;
    if (name == "ViewOpt") return Flags(name, value, s.ViewOpt), true;
    return false;
}

void AssignSectionField(TSECTION& sec, std::string_view field, std::string_view value) {
    struct IntField {
        std::string_view name;
        int TSECTION::*field;
    };
    struct RealField {
        std::string_view name;
        double TSECTION::*field;
    };
    static constexpr IntField kInts[] = {
        {"FrameType", &TSECTION::FrameType},     {"GeoTransf", &TSECTION::GeoTransf},
        {"SectionKind", &TSECTION::SectionKind}, {"DivideFX", &TSECTION::DivideFX},
        {"DivideFY", &TSECTION::DivideFY},       {"BarNumNX", &TSECTION::BarNumNX},
        {"BarNumNY", &TSECTION::BarNumNY},
    };
    static constexpr RealField kReals[] = {
        {"Cover", &TSECTION::Cover},         {"BarTop", &TSECTION::BarTop},
        {"BarBot", &TSECTION::BarBot},       {"HingeLenI", &TSECTION::HingeLenI},
        {"HingeLenJ", &TSECTION::HingeLenJ},
    };
    for (const IntField& f : kInts)
        if (f.name == field) return void(sec.*f.field = parse::Integer(value));
    for (const RealField& f : kReals)
        if (f.name == field) return void(sec.*f.field = parse::Float(value));
    if (field == "Color") {
        const int v = parse::Integer(value);
        if (v < 0 || v > 0xFFFFFF)
            throw UsageError("Color takes a packed colour 0..16777215, not " + Quoted(value));
        sec.Color = static_cast<uint32_t>(v);
        return;
    }
    throw UsageError("unknown frame section field " + Quoted(field));
}

void AssignAreaSectionField(TAREASEC& sec, std::string_view field, std::string_view value) {
    if (field != "NonlinType") throw UsageError("unknown shell section field " + Quoted(field));
    sec.NonlinType = Flag(field, value) ? kShellDKGQ : kShellMITC4;
}

// MatType chooses a law (its unset parameters get their defaults); a parameter takes a number. A
// change that leaves the law without sound parameters is refused and changes nothing.
void AssignMaterialField(TMAT& mat, std::string_view field, std::string_view value) {
    TMAT changed = mat;
    if (field == "MatType") {
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

} // namespace vandra
