// vandra-cli mcurv FILE --section NAME --axial P --dir y|z [--max-curvature K] [--set ...]
// [-o OUT.csv]: the moment-curvature curve of one frame section, run in the solver, as CSV; its
// marks on standard error.
// vandra-cli pm FILE --section NAME [--set ...] [-o OUT.csv]: the section's interaction diagrams
// about y and z, computed in the core, as CSV.
#include "app/cli/CliSupport.h"
#include "app/cli/Commands.h"
#include "app/run/SectionRun.h"
#include "model/AtomicFile.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"
#include "model/SolverLocator.h"
#include "sections/ScriptSection.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <string>

namespace vandra::cli {
namespace {

struct SectionOptions {
    QCommandLineOption section{"section", "The frame section to analyse.", "NAME"};
    QCommandLineOption set{"set", "Assign a setting or a section field first.", "NAME=VALUE"};
    QCommandLineOption output{QStringList{"o", "output"}, "Write the CSV to FILE.", "FILE"};

    void addTo(QCommandLineParser& parser) const {
        parser.addOption(section);
        parser.addOption(set);
        parser.addOption(output);
    }
};

// Opens the model, applies the assignments and finds the section; returns its index.
int OpenSection(const QCommandLineParser& parser, const SectionOptions& o, const QString& file,
                Document& doc) {
    TViewOptions view;
    const std::vector<ReadInput> inputs = ImportModel(file, doc, &view);
    if (parser.isSet(o.output)) RefuseOutputOverInputs(parser.value(o.output), inputs);
    AssignSettings(doc, view, parser.values(o.set));
    const std::string name = Local(parser.value(o.section));
    const int s = FindSection(doc.model(), name);
    if (s == 0) throw UsageError("no frame section named '" + name + "'");
    return s;
}

void WriteResult(const QCommandLineParser& parser, const SectionOptions& o,
                 const std::string& csv) {
    if (parser.isSet(o.output)) {
        WriteFileAtomically(Local(parser.value(o.output)), csv);
        return;
    }
    WriteStdout(csv);
    FinishStdout();
}

double NumberOption(const QCommandLineParser& parser, const QCommandLineOption& option) {
    try {
        return parse::Float(Local(parser.value(option)));
    } catch (const ConversionError& e) {
        throw UsageError("--" + Local(option.names().first()) + ": " + e.what());
    }
}

} // namespace

int CommandMcurv(const QStringList& args) {
    QCommandLineParser parser;
    const SectionOptions o;
    o.addTo(parser);
    const QCommandLineOption axial("axial", "The axial load, positive in tension.", "P");
    const QCommandLineOption dir("dir", "The bending axis: y or z.", "AXIS");
    const QCommandLineOption maxCurvature("max-curvature", "The curvature to reach.", "K");
    parser.addOption(axial);
    parser.addOption(dir);
    parser.addOption(maxCurvature);
    const std::string usage = "mcurv takes one FILE.s2k --section NAME --axial P --dir y|z "
                              "[--max-curvature K] [--set NAME=VALUE]... [-o OUT.csv]";
    const QString file = ParseModelFile(parser, args, "mcurv", usage);
    if (!parser.isSet(o.section) || !parser.isSet(axial) || !parser.isSet(dir))
        throw UsageError(usage);
    MomentCurvatureRequest request;
    request.axial = NumberOption(parser, axial);
    if (parser.value(dir) != "y" && parser.value(dir) != "z")
        throw UsageError("--dir takes y or z, not '" + Local(parser.value(dir)) + "'");
    request.axis = parser.value(dir) == "y" ? BendingAxis::Y : BendingAxis::Z;
    if (parser.isSet(maxCurvature)) request.maxCurvature = NumberOption(parser, maxCurvature);

    Document doc;
    request.section = OpenSection(parser, o, file, doc);
    MomentCurvaturePlan plan = PlanMomentCurvature(doc.model(), doc.settings(), request);
    const std::string programDir = Local(QCoreApplication::applicationDirPath());
    const std::string solver = FindSolver(programDir);
    if (solver.empty()) throw InputError(SolverNotFoundMessage(programDir));

    SectionRun run;
    run.start(FromLocal(solver), std::move(plan));
    run.waitForFinished();
    if (!run.error().isEmpty())
        throw InputError("The moment-curvature run of frame section " + run.plan().name +
                         " failed: " + run.error().toStdString() + "\nThe solver printed:\n" +
                         run.console().toStdString());
    for (const CurveMark& mark : run.curve().marks)
        std::fprintf(
            stderr, "%s: curvature %s, moment %s\n", std::string(CurveMarkName(mark.kind)).c_str(),
            text::FormatGeneral(mark.curvature).c_str(), text::FormatGeneral(mark.moment).c_str());
    WriteResult(parser, o, MomentCurvatureCsv(run.plan(), run.curve()));
    return 0;
}

int CommandPm(const QStringList& args) {
    QCommandLineParser parser;
    const SectionOptions o;
    o.addTo(parser);
    const std::string usage = "pm takes one FILE.s2k --section NAME [--set NAME=VALUE]... "
                              "[-o OUT.csv]";
    const QString file = ParseModelFile(parser, args, "pm", usage);
    if (!parser.isSet(o.section)) throw UsageError(usage);
    Document doc;
    const int s = OpenSection(parser, o, file, doc);
    const TModel& model = doc.model();
    const AnalysisSection section =
        AnalysisSectionOf(model, s, ScriptSectionOf(model, s, doc.settings().RebarMat).Fibers);
    const InteractionDiagram diagrams[] = {ComputeInteraction(section, BendingAxis::Y),
                                           ComputeInteraction(section, BendingAxis::Z)};
    WriteResult(parser, o, InteractionCsv(diagrams));
    return 0;
}

} // namespace vandra::cli
