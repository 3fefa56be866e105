#include "app/project/ProjectFile.h"

#include "document/SettingsByName.h"
#include "model/AddedMaterial.h"
#include "model/AtomicFile.h"
#include "model/Errors.h"
#include "model/InputFile.h"
#include "model/MaterialLaws.h"
#include "model/NumberText.h"
#include "model/ShownText.h"
#include "sections/Fibers.h"

#include <sys/stat.h>

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <map>
#include <string_view>
#include <type_traits>
#include <variant>

namespace vandra::project {
namespace {

namespace fs = std::filesystem;

constexpr const char* kFormat = "VANDRA project";
constexpr int kVersion = 1;

// Bytes 0x80..0xFF of a name that is not UTF-8, as the characters U+EF80..U+EFFF.
constexpr char16_t kByteMarkerBase = 0xEF00;

bool IsByteMarker(QChar c) {
    return c.unicode() >= kByteMarkerBase + 0x80 && c.unicode() <= kByteMarkerBase + 0xFF;
}

// A JSON value as a message shows it.
std::string ValueText(const QJsonValue& v) {
    if (v.isUndefined()) return "missing";
    if (v.isString()) return text::ShownToken(BytesOf(v.toString()));
    if (v.isDouble()) return text::FormatGeneral(v.toDouble());
    if (v.isBool()) return v.toBool() ? "true" : "false";
    if (v.isNull()) return "null";
    return v.isArray() ? "a JSON array" : "a JSON object";
}

// A project this program can read has the Version 1, a number; a larger whole number is a
// project of a newer program.
void CheckVersion(const QJsonValue& version, const std::string& projectPath) {
    const double v = version.toDouble(std::numeric_limits<double>::quiet_NaN());
    if (version.isDouble() && v > kVersion && v == std::floor(v))
        throw InputError("\"" + projectPath +
                         "\" was written by a newer VANDRA; this one reads project version 1");
    if (!version.isDouble() || v != kVersion)
        throw InputError("\"" + projectPath +
                         "\" is not a VANDRA project: its Version must be 1, not " +
                         ValueText(version));
}

QString Q(const std::string& s) {
    return JsonText(s);
}
std::string Local(const QString& s) {
    return BytesOf(s);
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
void ReadText(const QJsonObject& o, const char* key, std::string& out, const std::string& where) {
    if (!o.contains(QLatin1String(key))) return;
    const QJsonValue v = o.value(QLatin1String(key));
    if (!v.isString()) Bad(where, key, "must be a text");
    out = BytesOf(v.toString());
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

QLatin1String Key(std::string_view name) {
    return QLatin1String(name.data(), static_cast<qsizetype>(name.size()));
}

// A value into the JSON object: a number, true or false, or a list of flags (flags[1..]).
template <typename Value> QJsonValue JsonOf(const Value& v) {
    if constexpr (std::is_same_v<Value, std::string>) {
        return JsonText(v);
    } else if constexpr (std::is_same_v<Value, uint32_t>) {
        return static_cast<qint64>(v);
    } else if constexpr (std::is_arithmetic_v<Value>) {
        return v;
    } else {
        QJsonArray a;
        for (size_t i = 1; i < v.size(); ++i)
            a.append(static_cast<bool>(v[i]));
        return a;
    }
}

// A value from the JSON object by its type; a missing key keeps the value.
template <typename Value>
void ReadValue(const QJsonObject& o, std::string_view name, Value& v, const std::string& where) {
    const std::string key(name);
    if constexpr (std::is_same_v<Value, int>) {
        ReadInt(o, key.c_str(), v, where);
    } else if constexpr (std::is_same_v<Value, double>) {
        ReadReal(o, key.c_str(), v, where);
    } else if constexpr (std::is_same_v<Value, bool>) {
        ReadFlag(o, key.c_str(), v, where);
    } else if constexpr (std::is_same_v<Value, std::string>) {
        ReadText(o, key.c_str(), v, where);
    } else if constexpr (std::is_same_v<Value, uint32_t>) {
        int color = static_cast<int>(v);
        ReadInt(o, key.c_str(), color, where);
        if (color < 0 || color > kMaxPackedColor)
            Bad(where, key.c_str(), "must be a packed colour 0..16777215");
        v = static_cast<uint32_t>(color);
    } else {
        ReadFlags(o, key.c_str(), v, where);
    }
}

QJsonObject SectionObject(const TSECTION& s) {
    QJsonObject o;
    for (const SectionFieldEntry& f : SectionFieldTable())
        std::visit([&](auto member) { o.insert(Key(f.Text.Name), JsonOf(s.*member)); }, f.Field);
    return o;
}

void ReadSection(const QJsonObject& o, TSECTION& s, const std::string& where) {
    for (const SectionFieldEntry& f : SectionFieldTable())
        std::visit([&](auto member) { ReadValue(o, f.Text.Name, s.*member, where); }, f.Field);
    CheckFiberLayout(s);
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

// The materials added in the program ("Added": true) that the model file does not hold, added
// again with their E and U; their laws are applied with the others.
void AddMaterials(TModel& model, const QJsonValue& mats) {
    if (!mats.isObject()) return;
    const QJsonObject all = mats.toObject();
    for (auto it = all.begin(); it != all.end(); ++it) {
        const QJsonObject o = it.value().toObject();
        bool added = false;
        const std::string where = "Mats[" + Local(it.key()) + "]";
        ReadFlag(o, "Added", added, where);
        if (!added || FindMaterial(model, Local(it.key())) != 0) continue;
        TMAT mat;
        mat.Name = Local(it.key());
        ReadReal(o, "E", mat.E, where);
        ReadReal(o, "U", mat.U, where);
        AddSolidMaterial(model, mat);
    }
}

// The settings that projects keep, from the settings table.
QJsonObject SettingsObject(const ConstSettingRooms& rooms) {
    QJsonObject o;
    for (const SettingEntry& e : SettingsTable())
        if (e.InProject)
            VisitSetting(e, rooms, [&](const auto& v) { o.insert(Key(e.Name), JsonOf(v)); });
    return o;
}

void ReadSettings(const QJsonObject& o, const SettingRooms& rooms, const std::string& where) {
    for (const SettingEntry& e : SettingsTable())
        if (e.InProject) VisitSetting(e, rooms, [&](auto& v) { ReadValue(o, e.Name, v, where); });
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
    InputFile file = OpenInputFile(path);
    if (!file.Kind().empty())
        throw InputError("\"" + path + "\" is " + std::string(file.Kind()) + ", not a " + what);
    std::string bytes;
    if (!file.IsOpen() || !file.ReadAll(bytes))
        throw InputError("Cannot read " + std::string(what) + " \"" + path + "\". " +
                         std::strerror(file.IsOpen() ? errno : file.Error()));
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(
        QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())), &error);
    if (doc.isNull())
        throw InputError("\"" + path + "\" is not a " + what + ": " +
                         error.errorString().toStdString() + " at byte " +
                         text::FormatInt(error.offset));
    if (!doc.isObject())
        throw InputError("\"" + path + "\" is not a " + what +
                         ": it holds a JSON array where an object must be");
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
                            const TViewOptions& view, const std::string& s2kPath,
                            const std::string& projectPath, const std::string& suitePath) {
    // Paths as the system's bytes: a folder or file name that is not UTF-8 keeps its bytes.
    const fs::path projectDir = fs::absolute(fs::path(projectPath)).parent_path();
    const fs::path s2k = fs::absolute(fs::path(s2kPath)).lexically_normal();
    const fs::path relative = s2k.lexically_relative(projectDir.lexically_normal());
    QJsonObject areaSecs, mats;
    for (int a = 1; a <= CountOf(model.AreaSecCount); ++a) {
        const TAREASEC& sec = model.AreaSecs[static_cast<size_t>(a)];
        areaSecs.insert(Q(sec.Name), QJsonObject{{QStringLiteral("NonlinType"), sec.NonlinType}});
    }
    for (int m = 1; m <= CountOf(model.MatCount); ++m) {
        const TMAT& mat = model.Mats[static_cast<size_t>(m)];
        QJsonObject o = MaterialObject(mat);
        if (mat.Added) { // the model file does not hold it: its elastic constants are kept here
            o.insert(QStringLiteral("Added"), true);
            o.insert(QStringLiteral("E"), mat.E);
            o.insert(QStringLiteral("U"), mat.U);
        }
        mats.insert(Q(mat.Name), o);
    }
    QJsonObject document{
        {QStringLiteral("Format"), QLatin1String(kFormat)},
        {QStringLiteral("Version"), kVersion},
        {QStringLiteral("Model"), Q(relative.empty() ? s2k.string() : relative.string())},
        {QStringLiteral("Settings"), SettingsObject({&settings, &view})},
        {QStringLiteral("Sections"), SectionSettings(model)},
        {QStringLiteral("AreaSecs"), areaSecs},
        {QStringLiteral("Mats"), mats}};
    if (!suitePath.empty()) {
        const fs::path suite = fs::absolute(fs::path(suitePath)).lexically_normal();
        const fs::path fromProject = suite.lexically_relative(projectDir.lexically_normal());
        document.insert(QStringLiteral("Suite"),
                        Q(fromProject.empty() ? suite.string() : fromProject.string()));
    }
    return document;
}

void SaveProject(const std::string& projectPath, const TModel& model, const TSettings& settings,
                 const TViewOptions& view, const std::string& s2kPath,
                 const std::string& suitePath) {
    WriteJsonFile(projectPath,
                  ProjectDocument(model, settings, view, s2kPath, projectPath, suitePath));
}

OpenedProject OpenProject(const std::string& projectPath, Progress* progress) {
    const QJsonObject o = ReadJsonFile(projectPath, "VANDRA project");
    if (o.value(QStringLiteral("Format")).toString() != QLatin1String(kFormat) ||
        !o.value(QStringLiteral("Model")).isString())
        throw InputError("\"" + projectPath + "\" is not a VANDRA project");
    CheckVersion(o.value(QStringLiteral("Version")), projectPath);

    OpenedProject p;
    const fs::path projectDir = fs::absolute(fs::path(projectPath)).parent_path();
    const std::string s2kPath =
        (projectDir / fs::path(Local(o.value(QStringLiteral("Model")).toString())))
            .lexically_normal()
            .string();
    struct stat st {};
    if (::stat(s2kPath.c_str(), &st) != 0 && errno == ENOENT)
        throw InputError("The model file \"" + s2kPath + "\" of project \"" + projectPath +
                         "\" does not exist. Put the .s2k file back beside the project (or at "
                         "the path the project names) and open the project again.");
    p.model = ReadModelFile(s2kPath, nullptr, progress);
    TModel& model = p.model.Model;

    try {
        TSettings settings;
        const QJsonValue stored = o.value(QStringLiteral("Settings"));
        if (!stored.isUndefined()) {
            if (!stored.isObject()) throw InputError("Settings must be a JSON object");
            ReadSettings(stored.toObject(), {&settings, &p.view}, "Settings");
        }
        p.model.Settings = settings;
        const QJsonValue suite = o.value(QStringLiteral("Suite"));
        if (!suite.isUndefined() && !suite.isString())
            throw InputError("Suite must be the path of a suite file");
        p.model.SuitePath =
            suite.isString()
                ? (projectDir / fs::path(Local(suite.toString()))).lexically_normal().string()
                : std::string();
        ApplyByName(model.Sections, model, o.value(QStringLiteral("Sections")), "Sections",
                    FindSection, ReadSection, p.unmatched);
        ApplyByName(
            model.AreaSecs, model, o.value(QStringLiteral("AreaSecs")), "AreaSecs", FindAreaSection,
            [](const QJsonObject& v, TAREASEC& a, const std::string& where) {
                ReadInt(v, "NonlinType", a.NonlinType, where);
                if (a.NonlinType != kShellMITC4 && a.NonlinType != kShellDKGQ)
                    Bad(where, "NonlinType", "must be 0 or 1");
            },
            p.unmatched);
        AddMaterials(model, o.value(QStringLiteral("Mats")));
        ApplyByName(model.Mats, model, o.value(QStringLiteral("Mats")), "Mats", FindMaterial,
                    ReadMaterial, p.unmatched);
    } catch (const InputError& e) {
        throw InputError("Project \"" + projectPath + "\": " + e.what());
    }
    return p;
}

std::string UnmatchedMessage(const std::vector<std::string>& unmatched) {
    if (unmatched.empty()) return std::string();
    std::string message = "These names match nothing in the model and were not applied:";
    // A line end inside a name would make a line of its own.
    for (const std::string& name : unmatched)
        message += "\n" + text::EscapeControls(name);
    return message;
}

QString JsonText(std::string_view bytes) {
    const QByteArray raw =
        QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    const QString text = QString::fromUtf8(raw);
    const bool markerFree = std::none_of(text.begin(), text.end(), IsByteMarker);
    if (markerFree && text.toUtf8() == raw) return text;
    QString marked;
    marked.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        marked += u < 0x80 ? QChar(u) : QChar(static_cast<char16_t>(kByteMarkerBase + u));
    }
    return marked;
}

std::string BytesOf(const QString& text) {
    if (std::none_of(text.begin(), text.end(), IsByteMarker)) return text.toUtf8().toStdString();
    std::string bytes;
    for (const QChar c : text) {
        if (IsByteMarker(c))
            bytes += static_cast<char>(c.unicode() - kByteMarkerBase);
        else
            bytes += QString(c).toUtf8().toStdString();
    }
    return bytes;
}

} // namespace vandra::project
