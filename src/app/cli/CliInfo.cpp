// vandra-cli info FILE.s2k: the seven counts of the status bar after importing the file.
#include "app/cli/Commands.h"
#include "import/S2kImport.h"
#include "model/Errors.h"
#include "model/NumberText.h"

#include <QCommandLineParser>
#include <QFile>

#include <cstdio>
#include <string>

namespace vandra::cli {

int CommandInfo(const QStringList& args) {
    QCommandLineParser parser;
    parser.addPositionalArgument("file", "the .s2k model to read");
    if (!parser.parse(QStringList{"vandra-cli info"} + args))
        throw UsageError("info: " + parser.errorText().toStdString());
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) throw UsageError("info needs exactly one argument: FILE.s2k");

    const TModel model = ImportS2k(ReadS2kFile(QFile::encodeName(files.first()).toStdString()));
    const StatusCounts c = CountsOf(model);
    std::string out;
    text::AppendFormat(out, "Node %d\n", {c.Node});
    text::AppendFormat(out, "Frame %d\n", {c.Frame});
    text::AppendFormat(out, "Shell %d\n", {c.Shell});
    text::AppendFormat(out, "Solid %d\n", {c.Solid});
    text::AppendFormat(out, "Mat %d\n", {c.Mat});
    text::AppendFormat(out, "Fsec %d\n", {c.Fsec});
    text::AppendFormat(out, "Wsec %d\n", {c.Wsec});
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

} // namespace vandra::cli
