#include "app/cli/CliSupport.h"

#include "app/cli/CliProgress.h"
#include "app/project/ProjectFile.h"
#include "document/SettingsByName.h"
#include "model/Errors.h"

#include <cstdio>
#include <filesystem>

namespace vandra::cli {

std::string Local(const QString& s) {
    return s.toLatin1().toStdString();
}

QString FromLocal(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
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

void PrintWarnings(const WarningList& warnings) {
    for (const TWarning& w : warnings) {
        const std::string line = FormatWarning(w) + "\n";
        std::fwrite(line.data(), 1, line.size(), stderr);
    }
}

void ImportModel(const QString& path, Document& doc, TViewOptions* view) {
    const std::string file = Local(path);
    if (project::IsProjectPath(file)) {
        project::OpenedProject opened = project::OpenProject(file);
        PrintWarnings(opened.model.Model.Warnings);
        if (!opened.unmatched.empty())
            std::fprintf(stderr, "vandra-cli: %s\n",
                         project::UnmatchedMessage(opened.unmatched).c_str());
        if (view != nullptr) *view = opened.view;
        doc.replace(std::move(opened.model));
    } else {
        // A tabular file is converted: what was read and how goes to standard error.
        std::vector<std::string> report;
        Progress progress;
        TOpenedModel opened;
        {
            const TerminalProgress shown(progress);
            opened = ReadModelFile(file, &report, &progress);
        }
        for (const std::string& line : report)
            std::fprintf(stderr, "%s\n", line.c_str());
        PrintWarnings(opened.Model.Warnings);
        doc.replace(std::move(opened));
    }
}

void AssignSettings(Document& doc, TViewOptions& view, const QStringList& assignments) {
    const SettingRooms rooms{&doc.settings(), &view, &doc.results()};
    for (const QString& assignment : assignments) {
        try {
            AssignSetting(doc.model(), rooms, Local(assignment));
        } catch (const ConversionError& e) {
            throw UsageError("--set " + Local(assignment) + ": " + e.what());
        }
    }
}

void RefuseOutputOverInput(const QString& model, const QString& output) {
    std::error_code error;
    if (std::filesystem::equivalent(std::filesystem::path(Local(model)),
                                    std::filesystem::path(Local(output)), error))
        throw UsageError("-o " + Local(output) + " names the model file itself");
}

void WriteStdout(std::string_view bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size())
        throw InputError("Cannot write to standard output");
}

void FinishStdout() {
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        throw InputError("Cannot write to standard output");
}

} // namespace vandra::cli
