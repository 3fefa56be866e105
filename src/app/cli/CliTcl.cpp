// vandra-cli tcl FILE.s2k [-o OUT.tcl] [--set NAME=VALUE]...: imports the model, applies the
// assignments in order, generates the script and writes it as the script dialog's Save does (the
// record of a time history copied beside it).
#include "app/cli/CliProgress.h"
#include "app/cli/CliSupport.h"
#include "app/cli/Commands.h"
#include "import/S2kImport.h"
#include "model/Errors.h"
#include "tcl/GroundRecord.h"
#include "tcl/ScriptGenerator.h"

#include <QFile>

#include <QCommandLineParser>

#include <cstdio>
#include <string>

namespace vandra::cli {
int CommandTcl(const QStringList& args) {
    QCommandLineParser parser;
    const QCommandLineOption output(QStringList{"o", "output"}, "Write the script to FILE.",
                                    "FILE");
    const QCommandLineOption set("set", "Assign a setting or a section field before generating.",
                                 "NAME=VALUE");
    parser.addOption(output);
    parser.addOption(set);
    const QString file = ParseModelFile(
        parser, args, "tcl", "tcl takes one FILE.s2k [-o OUT.tcl] [--set NAME=VALUE]...");

    Document doc;
    TViewOptions view;
    const std::vector<ReadInput> inputs = ImportModel(file, doc, &view);
    if (parser.isSet(output)) RefuseOutputOverInputs(parser.value(output), inputs);
    AssignSettings(doc, view, parser.values(set));
    ScriptLineList lines;
    WarningList warnings;
    Progress progress;
    {
        const TerminalProgress shown(progress);
        GenerateScript(doc.model(), doc.settings(), lines, &warnings, &progress);
    }
    PrintWarnings(warnings);

    if (parser.isSet(output)) {
        CopyRecordBeside(doc.settings(), QFile::encodeName(parser.value(output)).toStdString());
        WriteOutputFile(parser.value(output), lines.Text());
    } else {
        WriteStdout(lines.Text());
        FinishStdout();
    }
    return 0;
}

} // namespace vandra::cli
