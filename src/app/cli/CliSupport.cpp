#include "app/cli/CliSupport.h"

#include "app/project/ProjectFile.h"
#include "import/S2kImport.h"
#include "model/Errors.h"
#include "model/SettingsByName.h"

#include <QFile>

#include <cstdio>

namespace vandra::cli {

std::string Local(const QString& s) {
    return s.toLocal8Bit().toStdString();
}

QString ParseModelFile(QCommandLineParser& parser, const QStringList& args, const QString& command,
                       const std::string& usage) {
    parser.addPositionalArgument("file",
                                 "The SAP2000 version 6 text model (.s2k) or a project (.vandra).");
    if (!parser.parse(QStringList{"vandra-cli " + command} + args))
        throw UsageError(Local(command + ": " + parser.errorText()));
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) throw UsageError(usage);
    return files.first();
}

TModel ImportModelFile(const QString& path, TSettings* settings) {
    const std::string file = QFile::encodeName(path).toStdString();
    if (project::IsProjectPath(file)) {
        project::OpenedProject opened = project::OpenProject(file);
        if (!opened.unmatched.empty())
            std::fprintf(stderr, "vandra-cli: %s\n",
                         project::UnmatchedMessage(opened.unmatched).c_str());
        if (settings != nullptr) *settings = opened.settings;
        return std::move(opened.model);
    }
    return ImportS2k(ReadS2kFile(file));
}

void AssignSettings(TModel& model, TSettings& settings, const QStringList& assignments) {
    for (const QString& assignment : assignments)
        AssignSetting(model, settings, Local(assignment));
}

} // namespace vandra::cli
