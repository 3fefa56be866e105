// vandra-cli save-project FILE.s2k -o P.vandra [--set NAME=VALUE]... [--suite SUITE.json]: imports
// the model (or opens a project), applies the assignments in order and writes the project file,
// naming the suite given (or the opened project's).
#include "app/cli/CliSupport.h"
#include "app/cli/Commands.h"
#include "app/project/ProjectFile.h"
#include "model/Errors.h"

#include <QCommandLineParser>

#include <string>

namespace vandra::cli {

int CommandSaveProject(const QStringList& args) {
    QCommandLineParser parser;
    const QCommandLineOption output(QStringList{"o", "output"}, "Write the project to FILE.",
                                    "FILE");
    const QCommandLineOption set("set", "Assign a setting or a section field before saving.",
                                 "NAME=VALUE");
    const QCommandLineOption suite("suite", "Keep this ground-motion suite with the project.",
                                   "SUITE.json");
    parser.addOption(output);
    parser.addOption(set);
    parser.addOption(suite);
    const std::string usage = "save-project takes one FILE.s2k -o OUT.vandra [--set NAME=VALUE]... "
                              "[--suite SUITE.json]";
    const QString file = ParseModelFile(parser, args, "save-project", usage);
    if (!parser.isSet(output)) throw UsageError(usage);

    Document doc;
    TViewOptions view;
    const std::vector<ReadInput> inputs = ImportModel(file, doc, &view);
    RefuseOutputOverInputs(parser.value(output), inputs);
    AssignSettings(doc, view, parser.values(set));
    if (parser.isSet(suite)) doc.setSuitePath(Local(parser.value(suite)));
    project::SaveProject(Local(parser.value(output)), doc.model(), doc.settings(), view, doc.path(),
                         doc.suitePath());
    return 0;
}

} // namespace vandra::cli
