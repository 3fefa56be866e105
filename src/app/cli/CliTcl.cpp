// vandra-cli tcl FILE.s2k [-o OUT.tcl] [--set NAME=VALUE]...: imports the model, applies the
// assignments in order, generates the script and writes it as the script dialog's Save does.
#include "app/cli/CliSupport.h"
#include "app/cli/Commands.h"
#include "import/S2kImport.h"
#include "model/Errors.h"
#include "tcl/ScriptGenerator.h"

#include <QCommandLineParser>
#include <QFile>

#include <cstdio>
#include <string>

namespace vandra::cli {
namespace {

void WriteToStdout(const ScriptLineList& lines) {
    std::string buffer;
    for (const std::string& line : lines) {
        buffer.append(line).append("\r\n");
        if (buffer.size() >= (1u << 16)) {
            std::fwrite(buffer.data(), 1, buffer.size(), stdout);
            buffer.clear();
        }
    }
    std::fwrite(buffer.data(), 1, buffer.size(), stdout);
    if (std::fflush(stdout) != 0) throw InputError("Cannot write the script to standard output");
}

} // namespace

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

    TSettings settings;
    TModel model = ImportModelFile(file, &settings);
    AssignSettings(model, settings, parser.values(set));
    ScriptLineList lines;
    GenerateScript(model, settings, lines);

    if (parser.isSet(output))
        WriteScriptFile(QFile::encodeName(parser.value(output)).toStdString(), lines);
    else
        WriteToStdout(lines);
    return 0;
}

} // namespace vandra::cli
