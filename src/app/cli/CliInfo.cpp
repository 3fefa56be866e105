// vandra-cli info FILE.s2k: the seven counts of the status bar after importing the file.
#include "app/cli/CliSupport.h"
#include "app/cli/Commands.h"
#include "import/S2kImport.h"
#include "model/Errors.h"
#include "model/NumberText.h"

#include <cstdio>
#include <string>

namespace vandra::cli {

int CommandInfo(const QStringList& args) {
    QCommandLineParser parser;
    const QString file =
        ParseModelFile(parser, args, "info", "info needs exactly one argument: FILE.s2k");
    Document doc;
    ImportModel(file, doc);
    const StatusCounts c = CountsOf(doc.model());
    std::string out;
    text::AppendFormat(out, "Node %d\n", {c.Node});
    text::AppendFormat(out, "Frame %d\n", {c.Frame});
    text::AppendFormat(out, "Shell %d\n", {c.Shell});
    text::AppendFormat(out, "Solid %d\n", {c.Solid});
    text::AppendFormat(out, "Mat %d\n", {c.Mat});
    text::AppendFormat(out, "Fsec %d\n", {c.Fsec});
    text::AppendFormat(out, "Wsec %d\n", {c.Wsec});
    WriteStdout(out);
    FinishStdout();
    return 0;
}

} // namespace vandra::cli
