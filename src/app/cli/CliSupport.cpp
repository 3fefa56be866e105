#include "app/cli/CliSupport.h"

#include "app/project/ProjectFile.h"
#include "import/S2kImport.h"
#include "import/TabularImport.h"
#include "import/TabularReader.h"
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
    parser.addPositionalArgument("file", "The SAP2000 model: version 6 text (.s2k), a tabular "
                                         "file (.s2k, .$2k), or a project (.vandra).");
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
    const S2kText lines = ReadS2kFile(file);
    if (!IsTabularSap2000(lines)) return ImportS2k(lines);
    // A tabular file is converted: what was read, and every warning, goes to standard error.
    std::vector<std::string> report;
    TModel model = ImportTabular(lines, file, &report);
    for (const std::string& line : report)
        std::fprintf(stderr, "%s\n", line.c_str());
    for (const TWarning& warning : model.Warnings)
        std::fprintf(stderr, "warning: %s\n", FormatWarning(warning).c_str());
    return model;
}

void AssignSettings(TModel& model, TSettings& settings, const QStringList& assignments) {
    for (const QString& assignment : assignments)
        AssignSetting(model, settings, Local(assignment));
}

} // namespace vandra::cli
