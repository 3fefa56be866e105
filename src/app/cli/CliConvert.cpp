// vandra-cli convert FILE [-o OUT.s2k]: imports a model (a tabular SAP2000 file or version 6
// text) and writes the version 6 text of what that layout can hold; what it cannot hold goes to
// standard error.
#include "app/cli/CliSupport.h"
#include "app/cli/Commands.h"
#include "convert/S2kWriter.h"
#include "model/Errors.h"

#include <QCommandLineParser>

#include <cstdio>
#include <string>

namespace vandra::cli {

int CommandConvert(const QStringList& args) {
    QCommandLineParser parser;
    const QCommandLineOption output(QStringList{"o", "output"}, "Write the s2k text to FILE.",
                                    "FILE");
    parser.addOption(output);
    const QString file =
        ParseModelFile(parser, args, "convert", "convert takes one FILE [-o OUT.s2k]");

    Document doc;
    const std::vector<ReadInput> inputs = ImportModel(file, doc);
    if (parser.isSet(output)) RefuseOutputOverInputs(parser.value(output), inputs);
    WarningList lost;
    const std::string text = WriteS2kText(doc.model(), lost);
    for (const TWarning& w : lost)
        std::fprintf(stderr, "not held by version 6 text: %s\n", FormatWarning(w).c_str());
    if (parser.isSet(output)) {
        WriteOutputFile(parser.value(output), text);
    } else {
        WriteStdout(text);
        FinishStdout();
    }
    return 0;
}

} // namespace vandra::cli
