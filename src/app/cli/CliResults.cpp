// vandra-cli results FILE.s2k --dir RUN [--step N | --envelope | --mode M]
// [--section axial|kz|ky] [--set NAME=VALUE]...: the values the readers load, as JSON (with
// --envelope the smallest and largest displacement of every joint over the steps).
// vandra-cli history FILE.s2k --dir RUN --node N: one joint's recorded history as CSV.
#include "app/cli/CliProgress.h"
#include "app/cli/CliResultOptions.h"
#include "app/cli/CliSupport.h"
#include "app/cli/Commands.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "post/Envelopes.h"
#include "post/HistoryText.h"
#include "post/RecorderReaders.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <string>

namespace vandra::cli {
namespace {

QJsonValue ValueOrNull(bool has, double value) {
    return has ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

QJsonObject ResultsJson(const TModel& model, const TResults& results, bool sections) {
    QJsonArray nodes;
    const int joints = CountOf(model.NodeCount);
    for (int j = 1; j <= joints; ++j) {
        const auto k = static_cast<size_t>(j);
        nodes.append(QJsonObject{{"DispX", results.Disp.X[k]},
                                 {"DispY", results.Disp.Y[k]},
                                 {"DispZ", results.Disp.Z[k]}});
    }
    QJsonObject out{{"Nodes", nodes}};
    if (!sections) return out;
    const TFrameEnds& ends = results.Ends;
    QJsonArray frames;
    for (size_t f = 1; f < ends.I.size(); ++f) {
        if (!ends.HasI[f] && !ends.HasJ[f]) {
            frames.append(QJsonValue(QJsonValue::Null));
            continue;
        }
        frames.append(QJsonObject{{"ResultI", ValueOrNull(ends.HasI[f], ends.I[f])},
                                  {"ResultJ", ValueOrNull(ends.HasJ[f], ends.J[f])}});
    }
    out.insert("Frames", frames);
    out.insert("ResultMin", ValueOrNull(ends.Any, ends.Min));
    out.insert("ResultMax", ValueOrNull(ends.Any, ends.Max));
    return out;
}

QJsonObject RangeJson(const TValueRange& r) {
    return QJsonObject{{"Min", r.Min}, {"MinStep", r.MinStep}, {"Max", r.Max}, {"MaxStep", r.MaxStep}};
}

// The smallest and largest displacement of every joint over every recorded step.
QJsonObject EnvelopeJson(const TModel& model, const std::string& folder) {
    const TNodeHistory history = ReadNodeHistory(model, folder, 0);
    const TNodeEnvelope envelope = EnvelopeOf(history);
    QJsonArray nodes;
    for (size_t j = 1; j < envelope.Joints.size(); ++j) {
        const auto& xyz = envelope.Joints[j];
        nodes.append(QJsonObject{
            {"DispX", RangeJson(xyz[0])}, {"DispY", RangeJson(xyz[1])}, {"DispZ", RangeJson(xyz[2])}});
    }
    return QJsonObject{{"Envelope", true}, {"Steps", history.Steps}, {"Nodes", nodes}};
}

} // namespace

int CommandResults(const QStringList& args) {
    QCommandLineParser parser;
    const ResultOptions options;
    options.addTo(parser);
    const QCommandLineOption set("set", "Assign a setting or a section field before reading.",
                                 "NAME=VALUE");
    parser.addOption(set);
    const std::string usage = "results takes one FILE.s2k --dir RUN [--step N | --envelope | "
                              "--mode M] [--section axial|kz|ky] [--set NAME=VALUE]...";
    const QString file = ParseModelFile(parser, args, "results", usage);
    const ResultRequest request = ParseResultRequest(parser, options, true);
    Document doc;
    TViewOptions view;
    ImportModel(file, doc, &view);
    AssignSettings(doc, view, parser.values(set));
    QJsonObject out;
    {
        const ResultReadProgress reading;
        LoadResults(doc, request);
        out = request.envelope ? EnvelopeJson(doc.model(), request.folder)
                               : ResultsJson(doc.model(), doc.results(), request.component > 0);
    }
    const QByteArray json = QJsonDocument(out).toJson(QJsonDocument::Indented);
    WriteStdout(std::string_view(json.constData(), static_cast<size_t>(json.size())));
    FinishStdout();
    return 0;
}

int CommandHistory(const QStringList& args) {
    QCommandLineParser parser;
    const QCommandLineOption dir("dir", "The folder the solver wrote its recorder files into.",
                                 "RUN");
    const QCommandLineOption node("node", "The joint whose history is printed.", "N");
    parser.addOption(dir);
    parser.addOption(node);
    const std::string usage = "history takes one FILE.s2k --dir RUN --node N";
    const QString file = ParseModelFile(parser, args, "history", usage);
    if (!parser.isSet(dir) || !parser.isSet(node)) throw UsageError(usage);
    const int joint = IntegerOption(parser, "node", 1);
    Document doc;
    ImportModel(file, doc);
    TJointHistory history;
    {
        const ResultReadProgress reading;
        history = ReadJointHistory(doc.model(), Local(parser.value(dir)), joint);
    }
    const std::string out = JointHistoryCsv(history);
    WriteStdout(out);
    FinishStdout();
    return 0;
}

} // namespace vandra::cli
