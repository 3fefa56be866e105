// vandra-cli v14 FILE [-o OUT]: converts a SAP2000 V14 solid model (text tables) into version 6
// text, as the converter window does: the text (lines ended by CR LF) to OUT or standard output,
// the four log lines to standard error.
#include "app/cli/CliSupport.h"
#include "app/cli/Commands.h"
#include "convert/V14Converter.h"
#include "import/S2kImport.h"
#include "model/Errors.h"

#include <QCommandLineParser>

#include <cstdio>
#include <string>

namespace vandra::cli {
namespace {

void WriteToStdout(const std::vector<std::string>& lines) {
    WriteStdout(V6Text(lines));
    FinishStdout();
}

} // namespace

int CommandV14(const QStringList& args) {
    QCommandLineParser parser;
    const QCommandLineOption output(QStringList{"o", "output"}, "Write the version 6 text to FILE.",
                                    "FILE");
    parser.addOption(output);
    const QString file = ParseModelFile(parser, args, "v14", "v14 takes one FILE [-o OUT]");
    const std::vector<ReadInput> inputs = {{Local(file), "the model file"}};
    if (parser.isSet(output)) RefuseOutputOverInputs(parser.value(output), inputs);
    ProtectInputs(inputs);

    const V14Conversion conversion = ConvertV14(ReadS2kFile(Local(file)));
    if (parser.isSet(output))
        WriteOutputFile(parser.value(output), V6Text(conversion.V6Lines));
    else
        WriteToStdout(conversion.V6Lines);
    for (const std::string& line : conversion.Log)
        PrintLine(line);
    return 0;
}

} // namespace vandra::cli
