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
#include "app/cli/CliProgress.h"
#include "app/cli/CliResultOptions.h"
#include "app/cli/CliSupport.h"
#include "app/cli/CliTable.h"
#include "app/cli/Commands.h"
#include "model/Errors.h"
#include "post/PostTables.h"
#include "post/ResultLoading.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <string>

namespace vandra::cli {
namespace {

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
    void print(const TTable& table, QJsonObject head, const char* key) const {
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

QJsonObject StepHead(int step, double time) {
    return QJsonObject{{"Step", step}, {"Time", time}};
}

QJsonObject EnvelopeHead(int steps) {
    return QJsonObject{{"Envelope", true}, {"Steps", steps}};
}

} // namespace

int CommandForces(const QStringList& args) {
    PostCommand command(args, "forces", false);
    const int step = command.request.loadedStep();
    TResults& results = command.doc.results();
    {
        const ResultReadProgress reading;
        LoadFrameForces(results, command.doc.model(), command.doc.settings(),
                        command.request.folder, step);
    }
    const TForceResults& forces = results.Forces;
    command.print(ForceTable(command.doc.model(), forces),
                  step == kEnvelopeStep ? EnvelopeHead(forces.Envelope.Steps)
                                        : StepHead(step, forces.AtStep.Time),
                  "Forces");
    return 0;
}

int CommandReactions(const QStringList& args) {
    PostCommand command(args, "reactions", false);
    const int step = command.request.loadedStep();
    TResults& results = command.doc.results();
    {
        const ResultReadProgress reading;
        LoadReactions(results, command.doc.model(), command.doc.settings(), command.request.folder,
                      step);
    }
    const TReactionHistory& reactions = results.Reactions;
    command.print(ReactionTable(reactions, step),
                  step == kEnvelopeStep
                      ? EnvelopeHead(reactions.Steps)
                      : StepHead(step, reactions.Time[static_cast<size_t>(step - 1)]),
                  "Reactions");
    return 0;
}

int CommandPeriods(const QStringList& args) {
    PostCommand command(args, "periods", true);
    TResults& results = command.doc.results();
    {
        const ResultReadProgress reading;
        LoadModalTable(results, command.doc.model(), command.doc.settings(),
                       command.request.folder);
    }
    const TModalTable& modal = results.Modal;
    const int only = command.request.modeShape ? command.request.mode : 0;
    if (only != 0 && (only < 1 || only > static_cast<int>(modal.Modes.size())))
        throw InputError("Mode " + std::to_string(only) + " was not computed: the run holds " +
                         std::to_string(modal.Modes.size()) + " modes");
    command.print(ModalRows(modal, only), QJsonObject{{"MassRatios", modal.MassRatios}}, "Modes");
    return 0;
}

int CommandDrifts(const QStringList& args) {
    PostCommand command(args, "drifts", false);
    const int step = command.request.loadedStep();
    TResults& results = command.doc.results();
    {
        const ResultReadProgress reading;
        LoadDrifts(results, command.doc.model(), command.request.folder);
    }
    const TDrifts& drifts = results.Drifts;
    if (step != kEnvelopeStep && step > drifts.Steps)
        throw InputError("Load Step " + std::to_string(step) +
                         " was not recorded: the node files hold " +
                         std::to_string(drifts.Steps) + " steps");
    const QJsonObject head =
        step == kEnvelopeStep
            ? EnvelopeHead(drifts.Steps)
            : StepHead(step, drifts.Steps > 0 ? results.History.Time[static_cast<size_t>(step - 1)]
                                              : 0);
    command.print(DriftTable(drifts, step), head, "Storeys");
    return 0;
}

} // namespace vandra::cli
