// The post-processing commands, each printing one table as JSON (or CSV with --csv):
// vandra-cli forces FILE.s2k --dir RUN [--step N | --envelope] [--csv] [--set NAME=VALUE]...:
//   per frame and component the section forces at both ends and the extremes along the member
//   with their places (with --envelope: the smallest and largest over the steps, with the steps);
// vandra-cli reactions ...: per support joint FX, FY, FZ, MX, MY, MZ and their totals;
// vandra-cli periods FILE.s2k --dir RUN [--mode M]: per mode period, frequency, the participating
//   mass ratios and their sums;
// vandra-cli drifts ...: per storey its levels and drift ratios in X and Y.
// Give the same --set assignments as the script was generated with: they say which files it
// recorded.
#include "app/cli/CliResultOptions.h"
#include "app/cli/CliSupport.h"
#include "app/cli/CliTable.h"
#include "app/cli/Commands.h"
#include "model/Errors.h"
#include "post/Envelopes.h"
#include "post/ResultLoading.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <array>
#include <string>

namespace vandra::cli {
namespace {

constexpr std::array<const char*, kReactionComponents> kReactionNames = {"FX", "FY", "FZ",
                                                                         "MX", "MY", "MZ"};
constexpr std::array<const char*, kModalDirections> kModalNames = {"UX", "UY", "UZ",
                                                                   "RX", "RY", "RZ"};

// What every post-processing command parses: the result options, --csv and --set.
struct PostCommand {
    QCommandLineParser parser;
    ResultOptions options;
    QCommandLineOption csv{"csv", "Print CSV instead of JSON."};
    QCommandLineOption set{"set", "Assign a setting or a section field before reading.",
                           "NAME=VALUE"};
    ResultRequest request;
    Document doc;

    // Parses args, imports the model and applies the assignments; `modes` tells whether --mode
    // is taken (periods) or refused, and --step and --envelope the other way round.
    PostCommand(const QStringList& args, const QString& name, bool modes) {
        options.addTo(parser);
        parser.addOption(csv);
        parser.addOption(set);
        const std::string usage =
            Local(name) + " takes one FILE.s2k --dir RUN " +
            (modes ? "[--mode M]" : "[--step N | --envelope]") + " [--csv] [--set NAME=VALUE]...";
        const QString file = ParseModelFile(parser, args, name, usage);
        request = ParseResultRequest(parser, options, true);
        if (parser.isSet(options.section))
            throw UsageError("--section belongs to results and render, not to " + Local(name));
        if (modes && (parser.isSet(options.step) || request.envelope))
            throw UsageError(Local(name) + " reads every mode: --step and --envelope do not apply");
        if (!modes && request.modeShape)
            throw UsageError("a mode shape has no " + Local(name) + ": --mode does not apply");
        TViewOptions view;
        ImportModel(file, doc, &view);
        AssignSettings(doc, view, parser.values(set));
    }

    // Prints the table: CSV, or JSON under `key` beside the values of `head`.
    void print(const OutputTable& table, QJsonObject head, const char* key) const {
        if (parser.isSet(csv)) {
            WriteStdout(CsvOf(table));
        } else {
            head.insert(QString::fromLatin1(key), JsonRows(table));
            const QByteArray json = QJsonDocument(head).toJson(QJsonDocument::Indented);
            WriteStdout(std::string_view(json.constData(), static_cast<size_t>(json.size())));
        }
        FinishStdout();
    }
};

// The columns of a value's envelope: NAMEMin, NAMEMinStep, NAMEMax, NAMEMaxStep.
void EnvelopeColumns(std::vector<std::string>& columns, const std::string& name) {
    for (const char* part : {"Min", "MinStep", "Max", "MaxStep"})
        columns.push_back(name + part);
}

void EnvelopeCells(std::vector<Cell>& row, const TValueRange& r) {
    row.insert(row.end(), {r.Min, static_cast<long long>(r.MinStep), r.Max,
                           static_cast<long long>(r.MaxStep)});
}

QJsonObject StepHead(int step, double time) {
    return QJsonObject{{"Step", step}, {"Time", time}};
}

QJsonObject EnvelopeHead(int steps) {
    return QJsonObject{{"Envelope", true}, {"Steps", steps}};
}

int Components(ForceKind kind) {
    return kind == ForceKind::Beam ? kForceComponentCount : kind == ForceKind::Axial ? 1 : 0;
}

std::string ComponentName(int c) {
    return std::string(ForceComponentName(c));
}

} // namespace

int CommandForces(const QStringList& args) {
    PostCommand command(args, "forces", false);
    const TModel& model = command.doc.model();
    TResults& results = command.doc.results();
    const int step = command.request.loadedStep();
    LoadFrameForces(results, model, command.doc.settings(), command.request.folder, step);
    const TForceResults& forces = results.Forces;
    OutputTable table;
    table.Columns = {"Frame", "Component"};
    if (step == kEnvelopeStep) {
        for (const char* end : {"I", "J"})
            EnvelopeColumns(table.Columns, end);
        table.Columns.insert(table.Columns.end(),
                             {"Min", "MinX", "MinStep", "Max", "MaxX", "MaxStep"});
        for (size_t f = 1; f < forces.Envelope.Kind.size(); ++f)
            for (int c = 0; c < Components(forces.Envelope.Kind[f]); ++c) {
                const TComponentEnvelope& e = forces.Envelope.Frames[f][static_cast<size_t>(c)];
                std::vector<Cell>& row = table.AddRow();
                row = {static_cast<long long>(f), ComponentName(c)};
                EnvelopeCells(row, e.I);
                EnvelopeCells(row, e.J);
                row.insert(row.end(), {e.Along.Min.Value, e.Along.Min.X,
                                       static_cast<long long>(e.Along.MinStep), e.Along.Max.Value,
                                       e.Along.Max.X, static_cast<long long>(e.Along.MaxStep)});
            }
        command.print(table, EnvelopeHead(forces.Envelope.Steps), "Forces");
        return 0;
    }
    table.Columns.insert(table.Columns.end(), {"I", "J", "Min", "MinX", "Max", "MaxX"});
    TMemberDiagram diagram;
    for (size_t f = 1; f < forces.AtStep.Kind.size(); ++f) {
        const int components = Components(forces.AtStep.Kind[f]);
        if (components == 0 ||
            !BuildFrameDiagram(model, forces.Loads, forces.AtStep, static_cast<int>(f), diagram))
            continue;
        for (int c = 0; c < components; ++c) {
            const TDiagramExtremes e = diagram.Extremes(c);
            table.AddRow() = {static_cast<long long>(f),
                              ComponentName(c),
                              forces.AtStep.Ends[f].I[static_cast<size_t>(c)],
                              forces.AtStep.Ends[f].J[static_cast<size_t>(c)],
                              e.Min.Value,
                              e.Min.X,
                              e.Max.Value,
                              e.Max.X};
        }
    }
    command.print(table, StepHead(step, forces.AtStep.Time), "Forces");
    return 0;
}

int CommandReactions(const QStringList& args) {
    PostCommand command(args, "reactions", false);
    const int step = command.request.loadedStep();
    TResults& results = command.doc.results();
    LoadReactions(results, command.doc.model(), command.doc.settings(), command.request.folder,
                  step);
    const TReactionHistory& reactions = results.Reactions;
    OutputTable table;
    table.Columns = {"Joint"};
    if (step == kEnvelopeStep) {
        const TReactionEnvelope envelope = EnvelopeOf(reactions);
        for (const char* name : kReactionNames)
            EnvelopeColumns(table.Columns, name);
        const auto add = [&](Cell joint, const std::array<TValueRange, kReactionComponents>& r) {
            std::vector<Cell>& row = table.AddRow();
            row.push_back(std::move(joint));
            for (const TValueRange& range : r)
                EnvelopeCells(row, range);
        };
        for (size_t k = 0; k < reactions.Joints.size(); ++k)
            add(static_cast<long long>(reactions.Joints[k]), envelope.Joints[k]);
        add(std::string("Total"), envelope.Total);
        command.print(table, EnvelopeHead(reactions.Steps), "Reactions");
        return 0;
    }
    table.Columns.insert(table.Columns.end(), kReactionNames.begin(), kReactionNames.end());
    const auto add = [&](Cell joint, const TReaction& r) {
        std::vector<Cell>& row = table.AddRow();
        row.push_back(std::move(joint));
        row.insert(row.end(), r.begin(), r.end());
    };
    for (size_t k = 0; k < reactions.Joints.size(); ++k)
        add(static_cast<long long>(reactions.Joints[k]), reactions.At(step, k));
    add(std::string("Total"), reactions.Total(step));
    command.print(table, StepHead(step, reactions.Time[static_cast<size_t>(step - 1)]),
                  "Reactions");
    return 0;
}

int CommandPeriods(const QStringList& args) {
    PostCommand command(args, "periods", true);
    TResults& results = command.doc.results();
    LoadModalTable(results, command.doc.model(), command.doc.settings(), command.request.folder);
    const TModalTable& modal = results.Modal;
    const int only = command.request.modeShape ? command.request.mode : 0;
    if (only != 0 && (only < 1 || only > static_cast<int>(modal.Modes.size())))
        throw InputError("Mode " + std::to_string(only) + " was not computed: the run holds " +
                         std::to_string(modal.Modes.size()) + " modes");
    OutputTable table;
    table.Columns = {"Mode", "Period", "Frequency", "Eigenvalue"};
    for (const char* name : kModalNames)
        table.Columns.push_back(name);
    for (const char* name : kModalNames)
        table.Columns.push_back(std::string("Sum") + name);
    for (const TModeRow& mode : modal.Modes) {
        if (only != 0 && mode.Mode != only) continue;
        std::vector<Cell>& row = table.AddRow();
        row = {static_cast<long long>(mode.Mode), mode.Period, mode.Frequency, mode.Eigenvalue};
        for (const TModalValues* values : {&mode.Ratio, &mode.Cumulative})
            for (double v : *values)
                row.push_back(modal.MassRatios ? Cell(v) : Cell());
    }
    command.print(table, QJsonObject{{"MassRatios", modal.MassRatios}}, "Modes");
    return 0;
}

int CommandDrifts(const QStringList& args) {
    PostCommand command(args, "drifts", false);
    const int step = command.request.loadedStep();
    TResults& results = command.doc.results();
    LoadDrifts(results, command.doc.model(), command.request.folder);
    const TDrifts& drifts = results.Drifts;
    if (step != kEnvelopeStep && step > drifts.Steps)
        throw InputError("Load Step " + std::to_string(step) +
                         " was not recorded: the node files hold " +
                         std::to_string(drifts.Steps) + " steps");
    OutputTable table;
    table.Columns = {"Storey", "Bottom", "Top"};
    if (step == kEnvelopeStep) {
        EnvelopeColumns(table.Columns, "DriftX");
        EnvelopeColumns(table.Columns, "DriftY");
    } else {
        table.Columns.insert(table.Columns.end(), {"DriftX", "JointX", "DriftY", "JointY"});
    }
    for (int s = 1; s <= drifts.StoreyCount(); ++s) {
        const auto k = static_cast<size_t>(s - 1);
        std::vector<Cell>& row = table.AddRow();
        row = {static_cast<long long>(s), drifts.Bottom[k], drifts.Top[k]};
        if (drifts.Pairs[k] == 0) {
            row.resize(table.Columns.size());
        } else if (step == kEnvelopeStep) {
            EnvelopeCells(row, drifts.RangeX[k]);
            EnvelopeCells(row, drifts.RangeY[k]);
        } else {
            const TStoreyDrift& d = drifts.At(step, s);
            row.insert(row.end(), {d.X, static_cast<long long>(d.JointX), d.Y,
                                   static_cast<long long>(d.JointY)});
        }
    }
    const QJsonObject head = step == kEnvelopeStep
                                 ? EnvelopeHead(drifts.Steps)
                                 : StepHead(step, drifts.Steps > 0
                                                      ? results.History.Time[static_cast<size_t>(
                                                            step - 1)]
                                                      : 0);
    command.print(table, head, "Storeys");
    return 0;
}

} // namespace vandra::cli
