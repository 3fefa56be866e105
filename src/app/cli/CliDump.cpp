// vandra-cli dump FILE.s2k: the whole model store after the import, as one JSON object. Every
// table is an array of its records 1..count (element 0 left out), each record an object keyed by
// the store's field names; indexed arrays inside records (Restraint, Mass, T, N, DiaNodes) also
// leave out slot 0. Each frame section also holds what a script generated now would give it: its
// properties (Area..TorsJ), its material's SecG and its fibers.
#include "app/cli/CliSupport.h"
#include "app/cli/Commands.h"
#include "import/S2kImport.h"
#include "model/Errors.h"
#include "model/MaterialLaws.h"
#include "sections/ScriptSection.h"

#include <QCommandLineParser>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace vandra::cli {
namespace {

QJsonValue Text(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

// Elements first..last of an indexed array or vector.
template <typename Array> QJsonArray Slice(const Array& a, size_t first, size_t last) {
    QJsonArray out;
    for (size_t i = first; i <= last && i < a.size(); ++i)
        out.append(a[i]);
    return out;
}

QJsonObject NodeJson(const TNODE& n) {
    return {{"X", n.X},
            {"Y", n.Y},
            {"Z", n.Z},
            {"Restraint", Slice(n.Restraint, 1, 6)},
            {"Mass", Slice(n.Mass, 1, 6)},
            {"LinkNode", n.LinkNode}};
}

QJsonObject FrameJson(const TFRAME& f) {
    return {{"SecName", Text(f.SecName)}, {"SecIdx", f.SecIdx}, {"NodeI", f.NodeI},
            {"NodeJ", f.NodeJ},           {"Angle", f.Angle},   {"Axis2X", f.Axis2X},
            {"Axis2Y", f.Axis2Y},         {"Axis2Z", f.Axis2Z}, {"Nseg", f.Nseg},
            {"Release", f.Release}};
}

QJsonObject SectionJson(const TSECTION& s, const TScriptSection& derived) {
    QJsonArray fibers;
    for (const TFIBER& f : derived.Fibers)
        fibers.append(QJsonObject{
            {"FibY", f.FibY}, {"FibZ", f.FibZ}, {"FibArea", f.FibArea}, {"FibMat", f.FibMat}});
    const TSectionProps& p = derived.Props;
    return {{"Shape", s.Shape},
            {"FrameType", s.FrameType},
            {"T", Slice(s.T, 1, 6)},
            {"MatIdx", s.MatIdx},
            {"Name", Text(s.Name)},
            {"Color", static_cast<qint64>(s.Color)},
            {"Area", p.Area},
            {"I22", p.I22},
            {"I33", p.I33},
            {"AS2", p.AS2},
            {"AS3", p.AS3},
            {"TorsJ", p.TorsJ},
            {"SecG", derived.G},
            {"GivenProps", s.GivenProps.has_value()},
            {"Fibers", fibers},
            {"FiberCount", fibers.size()},
            {"DivideFX", s.DivideFX},
            {"DivideFY", s.DivideFY},
            {"BarNumNX", s.BarNumNX},
            {"BarNumNY", s.BarNumNY},
            {"Cover", s.Cover},
            {"BarTop", s.BarTop},
            {"BarBot", s.BarBot},
            {"SectionKind", s.SectionKind},
            {"GeoTransf", s.GeoTransf},
            {"HingeLenI", s.HingeLenI},
            {"HingeLenJ", s.HingeLenJ}};
}

QJsonObject AreaSecJson(const TAREASEC& s) {
    return {{"Thickness", s.Thickness},
            {"ShellKind", s.ShellKind},
            {"MatIdx", s.MatIdx},
            {"Name", Text(s.Name)},
            {"Color", static_cast<qint64>(s.Color)},
            {"NonlinType", s.NonlinType}};
}

QJsonObject ShellJson(const TSHELL& s) {
    return {{"SecName", Text(s.SecName)},
            {"SecIdx", s.SecIdx},
            {"N1", s.N1},
            {"N2", s.N2},
            {"N3", s.N3},
            {"N4", s.N4}};
}

QJsonObject SolidJson(const TSOLID& s) {
    return {{"SecNo", s.SecNo}, {"N", Slice(s.N, 1, 8)}};
}

// The parameters of the material's own law follow the elastic constants.
QJsonObject MatJson(const TMAT& m) {
    QJsonObject o{
        {"Name", Text(m.Name)}, {"MatType", m.MatType}, {"E", m.E}, {"U", m.U}, {"G", m.G}};
    if (const MaterialLaw* law = FindMaterialLaw(m.MatType))
        for (const MaterialParam& p : law->params)
            o.insert(QLatin1String(p.name.data(), static_cast<qsizetype>(p.name.size())),
                     m.*p.field);
    return o;
}

QJsonObject LoadJson(const TLOAD& l) {
    return {{"Target", l.Target}, {"Kind", l.Kind}, {"CaseIdx", l.CaseIdx}, {"Dir", l.Dir},
            {"FX", l.FX},         {"FY", l.FY},     {"FZ", l.FZ},           {"MX", l.MX},
            {"MY", l.MY},         {"MZ", l.MZ}};
}

QJsonObject DiaphJson(const TDIAPH& d) {
    return {{"SlaveCount", d.SlaveCount},
            {"DiaNodes", Slice(d.DiaNodes, 1, static_cast<size_t>(std::max(d.SlaveCount, 0)))},
            {"Master", d.Master}};
}

QJsonObject EqualDofJson(const TEQUALDOF& e) {
    return {{"Retained", e.Retained}, {"Constrained", e.Constrained}, {"Dof", Slice(e.Dof, 1, 6)}};
}

// Records 1..count of a table.
template <typename Record, typename ToJson>
QJsonArray Table(const std::vector<Record>& table, int count, ToJson toJson) {
    QJsonArray out;
    for (int k = 1; k <= count && static_cast<size_t>(k) < table.size(); ++k)
        out.append(toJson(table[static_cast<size_t>(k)]));
    return out;
}

QJsonArray SectionsJson(const TModel& m, const TSettings& settings) {
    const std::vector<TScriptSection> derived = ScriptSectionsOf(m, settings);
    QJsonArray out;
    for (size_t k = 1; k < derived.size(); ++k)
        out.append(SectionJson(m.Sections[k], derived[k]));
    return out;
}

QJsonObject ModelJson(const TModel& m, const TSettings& settings) {
    QJsonArray caseNames;
    for (int k = 1; k <= m.LoadCaseCount && static_cast<size_t>(k) < m.LoadCaseNames.size(); ++k)
        caseNames.append(Text(m.LoadCaseNames[static_cast<size_t>(k)]));
    return {{"NodeCount", m.NodeCount},
            {"FrameCount", m.FrameCount},
            {"ShellCount", m.ShellCount},
            {"ShellCount1", m.ShellCount1},
            {"SolidCount", m.SolidCount},
            {"MatCount", m.MatCount},
            {"SectionCount", m.SectionCount},
            {"AreaSecCount", m.AreaSecCount},
            {"LoadCount", m.LoadCount},
            {"DiaphCount", m.DiaphCount},
            {"LoadCaseCount", m.LoadCaseCount},
            {"LoadCaseNames", caseNames},
            {"Nodes", Table(m.Nodes, m.NodeCount, NodeJson)},
            {"Frames", Table(m.Frames, m.FrameCount, FrameJson)},
            {"Shells", Table(m.Shells, m.ShellCount, ShellJson)},
            {"Solids", Table(m.Solids, m.SolidCount, SolidJson)},
            {"Mats", Table(m.Mats, m.MatCount, MatJson)},
            {"Sections", SectionsJson(m, settings)},
            {"AreaSecs", Table(m.AreaSecs, m.AreaSecCount, AreaSecJson)},
            {"Loads", Table(m.Loads, m.LoadCount, LoadJson)},
            {"Diaphs", Table(m.Diaphs, m.DiaphCount, DiaphJson)},
            {"EqualDofCount", m.EqualDofCount},
            {"EqualDofs", Table(m.EqualDofs, m.EqualDofCount, EqualDofJson)}};
}

} // namespace

int CommandDump(const QStringList& args) {
    QCommandLineParser parser;
    const QString file =
        ParseModelFile(parser, args, "dump", "dump needs exactly one argument: FILE.s2k");
    Document doc;
    ImportModel(file, doc);
    // Names went in as Latin-1 characters, one per byte; the UTF-8 document turned back into
    // Latin-1 gives every name as the bytes it is, without encoding it twice.
    const QByteArray json =
        QString::fromUtf8(
            QJsonDocument(ModelJson(doc.model(), doc.settings())).toJson(QJsonDocument::Indented))
            .toLatin1();
    WriteStdout(std::string_view(json.constData(), static_cast<size_t>(json.size())));
    FinishStdout();
    return 0;
}

} // namespace vandra::cli
