#include "app/cli/CliSupport.h"

#include "import/S2kImport.h"
#include "model/Errors.h"
#include "model/SettingsByName.h"

#include <QFile>

namespace vandra::cli {

std::string Local(const QString& s) {
    return s.toLocal8Bit().toStdString();
}

QString ParseModelFile(QCommandLineParser& parser, const QStringList& args, const QString& command,
                       const std::string& usage) {
    parser.addPositionalArgument("file", "The SAP2000 version 6 text model (.s2k).");
    if (!parser.parse(QStringList{"vandra-cli " + command} + args))
        throw UsageError(Local(command + ": " + parser.errorText()));
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) throw UsageError(usage);
    return files.first();
}

TModel ImportModelFile(const QString& path) {
    return ImportS2k(ReadS2kFile(QFile::encodeName(path).toStdString()));
}

void AssignSettings(TModel& model, TSettings& settings, const QStringList& assignments) {
    for (const QString& assignment : assignments)
        AssignSetting(model, settings, Local(assignment));
}

} // namespace vandra::cli
