#include "app/project/ProjectFile.h"

#include "import/S2kImport.h"
#include "model/AtomicFile.h"
#include "model/Errors.h"
#include "model/MaterialLaws.h"
#include "model/NumberText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>
#include <limits>
#include <map>
#include <string_view>

namespace vandra::project {
namespace {

constexpr const char* kFormat = "VANDRA project";
constexpr int kVersion = 1;

template <typename Record> struct IntField {
    const char* name;
    int Record::*field;
};
template <typename Record> struct RealField {
    const char* name;
    double Record::*field;
};
template <typename Record> struct FlagField {
    const char* name;
    bool Record::*field;
};

// What the frame section dialog edits (Color apart: it is a packed colour).
constexpr IntField<TSECTION> kSectionInts[] = {
    {"FrameType", &TSECTION::FrameType},     {"GeoTransf", &TSECTION::GeoTransf},
    {"SectionKind", &TSECTION::SectionKind}, {"DivideFX", &TSECTION::DivideFX},
    {"DivideFY", &TSECTION::DivideFY},       {"BarNumNX", &TSECTION::BarNumNX},
    {"BarNumNY", &TSECTION::BarNumNY}};
constexpr RealField<TSECTION> kSectionReals[] = {{"Cover", &TSECTION::Cover},
                                                 {"BarTop", &TSECTION::BarTop},
                                                 {"BarBot", &TSECTION::BarBot},
                                                 {"HingeLenI", &TSECTION::HingeLenI},
                                                 {"HingeLenJ", &TSECTION::HingeLenJ}};

// The settings of the analysis, recorder and view option dialogs.
constexpr IntField<TSettings> kSettingInts[] = {
    {"AnalysisType", &TSettings::AnalysisType}, {"LoadCase", &TSettings::LoadCase},
    {"LoadVector", &TSettings::LoadVector},     {"LoadSteps", &TSettings::LoadSteps},
    {"ControlNode", &TSettings::ControlNode},   {"ControlDof", &TSettings::ControlDof},
    {"AnalysisStep", &TSettings::AnalysisStep}, {"NumIntgrPts", &TSettings::NumIntgrPts},
    {"RebarMat", &TSettings::RebarMat},         {"ModalNumber", &TSettings::ModalNumber}};
constexpr RealField<TSettings> kSettingReals[] = {{"LoadFactor", &TSettings::LoadFactor},
                                                  {"ControlDisp", &TSettings::ControlDisp}};
constexpr FlagField<TSettings> kSettingFlags[] = {{"UseAggregator", &TSettings::UseAggregator},
                                                  {"GenPlateFiber", &TSettings::GenPlateFiber},
                                                  {"GenNodeMass", &TSettings::GenNodeMass}};

QString Q(const std::string& s) {
    return QString::fromLocal8Bit(s);
}
std::string Local(const QString& s) {
    return s.toLocal8Bit().toStdString();
}

[[noreturn]] void Bad(const std::string& where, const char* field, const char* what) {
    throw InputError(where + ": " + field + " " + what);
}

// Readers of one value: a missing key keeps the record's value, a value of the wrong kind is an
// error naming where it was.
void ReadInt(const QJsonObject& o, const char* key, int& out, const std::string& where) {
    if (!o.contains(QLatin1String(key))) return;
    const QJsonValue v = o.value(QLatin1String(key));
    const double d = v.toDouble(std::numeric_limits<double>::quiet_NaN());
    if (!v.isDouble() || d != std::floor(d) || d < std::numeric_limits<int>::min() ||
        d > std::numeric_limits<int>::max())
        Bad(where, key, "must be an integer");
    out = static_cast<int>(d);
}
void ReadReal(const QJsonObject& o, const char* key, double& out, const std::string& where) {
    if (!o.contains(QLatin1String(key))) return;
    const QJsonValue v = o.value(QLatin1String(key));
    if (!v.isDouble() || !std::isfinite(v.toDouble())) Bad(where, key, "must be a number");
    out = v.toDouble();
}
void ReadFlag(const QJsonObject& o, const char* key, bool& out, const std::string& where) {
    if (!o.contains(QLatin1String(key))) return;
    const QJsonValue v = o.value(QLatin1String(key));
    if (!v.isBool()) Bad(where, key, "must be true or false");
    out = v.toBool();
}
template <size_t N>
void ReadFlags(const QJsonObject& o, const char* key, std::array<bool, N>& out,
               const std::string& where) {
    if (!o.contains(QLatin1String(key))) return;
    const QJsonArray a = o.value(QLatin1String(key)).toArray();
    if (a.size() != static_cast<qsizetype>(N - 1)) Bad(where, key, "has the wrong number of flags");
    for (size_t i = 1; i < N; ++i) {
        const QJsonValue v = a.at(static_cast<qsizetype>(i - 1));
        if (!v.isBool()) Bad(where, key, "must hold true or false");
        out[i] = v.toBool();
    }
}

QJsonObject SectionObject(const TSECTION& s) {
    QJsonObject o;
    for (const auto& f : kSectionInts)
        o.insert(QLatin1String(f.name), s.*f.field);
    for (const auto& f : kSectionReals)
        o.insert(QLatin1String(f.name), s.*f.field);
    o.insert(QStringLiteral("Color"), static_cast<qint64>(s.Color));
    return o;
}

void ReadSection(const QJsonObject& o, TSECTION& s, const std::string& where) {
    for (const auto& f : kSectionInts)
        ReadInt(o, f.name, s.*f.field, where);
    for (const auto& f : kSectionReals)
        ReadReal(o, f.name, s.*f.field, where);
    int color = static_cast<int>(s.Color);
    ReadInt(o, "Color", color, where);
    if (color < 0 || color > 0xFFFFFF) Bad(where, "Color", "must be a packed colour 0..16777215");
    s.Color = static_cast<uint32_t>(color);
}

QJsonObject MaterialObject(const TMAT& m) {
    QJsonObject o;
    o.insert(QStringLiteral("MatType"), m.MatType);
    for (const MaterialParam& p : MaterialParams())
        o.insert(QString::fromLatin1(p.name.data(), static_cast<qsizetype>(p.name.size())),
                 m.*p.field);
    return o;
}

void ReadMaterial(const QJsonObject& o, TMAT& m, const std::string& where) {
    for (const MaterialParam& p : MaterialParams())
        ReadReal(o, std::string(p.name).c_str(), m.*p.field, where);
    ReadInt(o, "MatType", m.MatType, where);
    if (FindMaterialLaw(m.MatType) == nullptr) Bad(where, "MatType", "must be 1 to 5");
    CheckMaterialLaw(m);
}

QJsonObject SettingsObject(const TSettings& s) {
    QJsonObject o;
    for (const auto& f : kSettingInts)
        o.insert(QLatin1String(f.name), s.*f.field);
    for (const auto& f : kSettingReals)
        o.insert(QLatin1String(f.name), s.*f.field);
    for (const auto& f : kSettingFlags)
        o.insert(QLatin1String(f.name), s.*f.field);
    const auto flags = [](const auto& array) {
        QJsonArray a;
        for (size_t i = 1; i < array.size(); ++i)
            a.append(static_cast<bool>(array[i]));
        return a;
    };
    o.insert(QStringLiteral("RecOpt"), flags(s.RecOpt));
    o.insert(QStringLiteral("ViewOpt"), flags(s.ViewOpt));
    return o;
}

void ReadSettings(const QJsonObject& o, TSettings& s, const std::string& where) {
    for (const auto& f : kSettingInts)
        ReadInt(o, f.name, s.*f.field, where);
    for (const auto& f : kSettingReals)
        ReadReal(o, f.name, s.*f.field, where);
    for (const auto& f : kSettingFlags)
        ReadFlag(o, f.name, s.*f.field, where);
    ReadFlags(o, "RecOpt", s.RecOpt, where);
    ReadFlags(o, "ViewOpt", s.ViewOpt, where);
}

// Applies the records of `choices` to the table's records of the same name (the last of equal
// names, as every look-up by name). Works on a copy: nothing changes unless all applied.
template <typename Record, typename Find, typename Read>
void ApplyByName(std::vector<Record>& table, const TModel& model, const QJsonValue& choices,
                 const char* tableName, Find find, Read read, std::vector<std::string>& unmatched) {
    if (choices.isUndefined()) return;
    if (!choices.isObject()) throw InputError(std::string(tableName) + " must be a JSON object");
    std::vector<Record> changed = table;
    const QJsonObject all = choices.toObject();
    for (auto it = all.begin(); it != all.end(); ++it) {
        const std::string name = Local(it.key());
        const std::string where = std::string(tableName) + "[" + name + "]";
        if (!it.value().isObject()) throw InputError(where + " must be a JSON object");
        const int k = find(model, name);
        if (k == 0) {
            unmatched.push_back(where);
            continue;
        }
        read(it.value().toObject(), changed[static_cast<size_t>(k)], where);
    }
    table = std::move(changed);
}

QJsonObject ReadJsonFile(const std::string& path, const char* what) {
    QFile file(QFile::decodeName(path.c_str()));
    if (!file.open(QIODevice::ReadOnly))
        throw InputError("Cannot read " + std::string(what) + " \"" + path + "\". " +
                         Local(file.errorString()));
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (doc.isNull() || !doc.isObject())
        throw InputError("\"" + path + "\" is not a " + what + ": " + Local(error.errorString()) +
                         " at byte " + text::FormatInt(error.offset));
    return doc.object();
}

void WriteJsonFile(const std::string& path, const QJsonObject& o) {
    const QByteArray bytes = QJsonDocument(o).toJson(QJsonDocument::Indented);
    WriteFileAtomically(path,
                        std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

} // namespace

bool IsProjectPath(const std::string& path) {
    return std::string_view(path).ends_with(kProjectSuffix);
}

QJsonObject SectionSettings(const TModel& model) {
    QJsonObject o;
    for (int s = 1; s <= CountOf(model.SectionCount); ++s) {
        const TSECTION& sec = model.Sections[static_cast<size_t>(s)];
        o.insert(Q(sec.Name), SectionObject(sec));
    }
    return o;
}

std::vector<std::string> ApplySectionSettings(TModel& model, const QJsonObject& settings) {
    std::vector<std::string> unmatched;
    ApplyByName(model.Sections, model, settings, "Sections", FindSection, ReadSection, unmatched);
    return unmatched;
}

void ExportSectionLibrary(const std::string& path, const TModel& model) {
    WriteJsonFile(path, QJsonObject{{QStringLiteral("Sections"), SectionSettings(model)}});
}

std::vector<std::string> ImportSectionLibrary(const std::string& path, TModel& model) {
    const QJsonObject o = ReadJsonFile(path, "section library");
    const QJsonValue sections = o.value(QStringLiteral("Sections"));
    if (!sections.isObject())
        throw InputError("\"" + path + "\" is not a section library: it has no \"Sections\"");
    return ApplySectionSettings(model, sections.toObject());
}

QJsonObject ProjectDocument(const TModel& model, const TSettings& settings,
                            const std::string& s2kPath, const std::string& projectPath) {
    const QDir projectDir = QFileInfo(QFile::decodeName(projectPath.c_str())).absoluteDir();
    const QString s2k = QFileInfo(QFile::decodeName(s2kPath.c_str())).absoluteFilePath();
    QJsonObject areaSecs, mats;
    for (int a = 1; a <= CountOf(model.AreaSecCount); ++a) {
        const TAREASEC& sec = model.AreaSecs[static_cast<size_t>(a)];
        areaSecs.insert(Q(sec.Name), QJsonObject{{QStringLiteral("NonlinType"), sec.NonlinType}});
    }
    for (int m = 1; m <= CountOf(model.MatCount); ++m) {
        const TMAT& mat = model.Mats[static_cast<size_t>(m)];
        mats.insert(Q(mat.Name), MaterialObject(mat));
    }
    return QJsonObject{{QStringLiteral("Format"), QLatin1String(kFormat)},
                       {QStringLiteral("Version"), kVersion},
                       {QStringLiteral("Model"), projectDir.relativeFilePath(s2k)},
                       {QStringLiteral("Settings"), SettingsObject(settings)},
                       {QStringLiteral("Sections"), SectionSettings(model)},
                       {QStringLiteral("AreaSecs"), areaSecs},
                       {QStringLiteral("Mats"), mats}};
}

void SaveProject(const std::string& projectPath, const TModel& model, const TSettings& settings,
                 const std::string& s2kPath) {
    WriteJsonFile(projectPath, ProjectDocument(model, settings, s2kPath, projectPath));
}

OpenedProject OpenProject(const std::string& projectPath) {
    const QJsonObject o = ReadJsonFile(projectPath, "VANDRA project");
    if (o.value(QStringLiteral("Format")).toString() != QLatin1String(kFormat) ||
        !o.value(QStringLiteral("Model")).isString())
        throw InputError("\"" + projectPath + "\" is not a VANDRA project");
    if (o.value(QStringLiteral("Version")).toInt() > kVersion)
        throw InputError("\"" + projectPath +
                         "\" was written by a newer VANDRA; this one reads project version 1");

    OpenedProject p;
    const QDir projectDir = QFileInfo(QFile::decodeName(projectPath.c_str())).absoluteDir();
    const QString s2k =
        QDir::cleanPath(projectDir.absoluteFilePath(o.value(QStringLiteral("Model")).toString()));
    p.s2kPath = Local(s2k);
    if (!QFileInfo(s2k).isFile())
        throw InputError("The model file \"" + p.s2kPath + "\" of project \"" + projectPath +
                         "\" does not exist. Put the .s2k file back beside the project (or at "
                         "the path the project names) and open the project again.");
    p.lines = ReadS2kFile(p.s2kPath);
    p.model = ImportS2k(p.lines);

    try {
        const QJsonValue settings = o.value(QStringLiteral("Settings"));
        if (!settings.isUndefined()) {
            if (!settings.isObject()) throw InputError("Settings must be a JSON object");
            ReadSettings(settings.toObject(), p.settings, "Settings");
        }
        ApplyByName(p.model.Sections, p.model, o.value(QStringLiteral("Sections")), "Sections",
                    FindSection, ReadSection, p.unmatched);
        ApplyByName(
            p.model.AreaSecs, p.model, o.value(QStringLiteral("AreaSecs")), "AreaSecs",
            FindAreaSection,
            [](const QJsonObject& v, TAREASEC& a, const std::string& where) {
                ReadInt(v, "NonlinType", a.NonlinType, where);
                if (a.NonlinType != kShellMITC4 && a.NonlinType != kShellDKGQ)
                    Bad(where, "NonlinType", "must be 0 or 1");
            },
            p.unmatched);
        ApplyByName(p.model.Mats, p.model, o.value(QStringLiteral("Mats")), "Mats", FindMaterial,
                    ReadMaterial, p.unmatched);
    } catch (const InputError& e) {
        throw InputError("Project \"" + projectPath + "\": " + e.what());
    }
    return p;
}

std::string UnmatchedMessage(const std::vector<std::string>& unmatched) {
    if (unmatched.empty()) return std::string();
    std::string message = "These names match nothing in the model and were not applied:";
    for (const std::string& name : unmatched)
        message += "\n" + name;
    return message;
}

} // namespace vandra::project
