// vandra-cli v14 FILE [-o OUT]: converts a SAP2000 V14 solid model (text tables) into version 6
// text, as the converter window does: the text (lines ended by CR LF) to OUT or standard output,
// the four log lines to standard error.
#include "app/cli/CliSupport.h"
#include "app/cli/Commands.h"
#include "convert/V14Converter.h"
#include "import/S2kImport.h"
#include "model/Errors.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <string>

namespace vandra::cli {
namespace {

void WriteToStdout(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text.append(line).append("\r\n");
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
        throw InputError("Cannot write the converted model to standard output");
}

} // namespace

int CommandV14(const QStringList& args) {
    QCommandLineParser parser;
    const QCommandLineOption output(QStringList{"o", "output"}, "Write the version 6 text to FILE.",
                                    "FILE");
    parser.addOption(output);
    const QString file = ParseModelFile(parser, args, "v14", "v14 takes one FILE [-o OUT]");
    if (parser.isSet(output) && QFileInfo(parser.value(output)) == QFileInfo(file))
        throw UsageError("v14: -o names the input file; choose another output file");

    const V14Conversion conversion = ConvertV14(ReadS2kFile(QFile::encodeName(file).toStdString()));
    if (parser.isSet(output))
        WriteV6File(QFile::encodeName(parser.value(output)).toStdString(), conversion.V6Lines);
    else
        WriteToStdout(conversion.V6Lines);
    for (const std::string& line : conversion.Log)
        std::fprintf(stderr, "%s\n", line.c_str());
    return 0;
}

} // namespace vandra::cli
