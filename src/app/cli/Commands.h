// The commands of vandra-cli. Each takes the arguments that follow its name, writes its result to
// standard output (or the file named by -o) and returns the exit status. A command throws
// vandra::UsageError for a usage error (exit 2) and any other exception for a conversion, range or
// file error (exit 1); main() prints the message on stderr.
#pragma once

#include <QStringList>

namespace vandra::cli {

int CommandInfo(const QStringList& args);
int CommandDump(const QStringList& args);
int CommandTcl(const QStringList& args);
int CommandRender(const QStringList& args);
int CommandConvert(const QStringList& args);
int CommandResults(const QStringList& args);
int CommandHistory(const QStringList& args);
int CommandSaveProject(const QStringList& args);
int CommandPreview(const QStringList& args);
int CommandV14(const QStringList& args);
int CommandRunSuite(const QStringList& args);
int CommandSuiteResults(const QStringList& args);
int CommandMcurv(const QStringList& args);
int CommandPm(const QStringList& args);

} // namespace vandra::cli
