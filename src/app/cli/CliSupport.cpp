#include "app/cli/CliSupport.h"

#include "app/cli/CliProgress.h"
#include "app/project/ProjectFile.h"
#include "document/SettingsByName.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"
#include "model/ShownText.h"

#include <cstdio>
#include <optional>

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

void PrintLine(std::string_view message) {
    const std::string line = text::EscapeControls(message) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

void PrintWarnings(const WarningList& warnings) {
    for (const TWarning& w : warnings)
        PrintLine(FormatWarning(w));
}

std::vector<ReadInput> ImportModel(const QString& path, Document& doc, TViewOptions* view) {
    const std::string file = Local(path);
    std::vector<ReadInput> inputs;
    Progress progress;
    if (project::IsProjectPath(file)) {
        project::OpenedProject opened;
        {
            const TerminalProgress shown(progress);
            opened = project::OpenProject(file, &progress);
        }
        PrintWarnings(opened.model.Model.Warnings);
        // One line per name; each name escaped by the message itself.
        if (!opened.unmatched.empty())
            std::fprintf(stderr, "vandra-cli: %s\n",
                         project::UnmatchedMessage(opened.unmatched).c_str());
        if (view != nullptr) *view = opened.view;
        inputs = {{file, "the project"}, {opened.model.Path, "the project's model file"}};
        doc.replace(std::move(opened.model));
    } else {
        // A tabular file is converted: what was read and how goes to standard error.
        std::vector<std::string> report;
        TOpenedModel opened;
        {
            const TerminalProgress shown(progress);
            opened = ReadModelFile(file, &report, &progress);
        }
        for (const std::string& line : report)
            PrintLine(line);
        PrintWarnings(opened.Model.Warnings);
        inputs = {{file, "the model file"}};
        doc.replace(std::move(opened));
    }
    ProtectInputs(inputs);
    return inputs;
}

void AssignSettings(Document& doc, TViewOptions& view, const QStringList& assignments) {
    const SettingRooms rooms{&doc.settings(), &view, &doc.results()};
    for (const QString& assignment : assignments) {
        try {
            AssignSetting(doc.model(), rooms, Local(assignment));
        } catch (const ConversionError& e) {
            throw UsageError("--set " + text::ShownToken(Local(assignment), '\0') + ": " +
                             e.what());
        }
    }
}

void RefuseOutputOverInputs(const QString& output, const std::vector<ReadInput>& inputs) {
    const std::string out = Local(output);
    const ReadInput* input = InputReplacedBy(out, inputs);
    if (input == nullptr) return;
    // The file named on the command line is refused as itself; a file it led to by its path.
    const bool named = input == &inputs.front();
    throw UsageError("-o " + out + " names " + input->Role +
                     (named ? " itself" : " \"" + input->Path + "\""));
}

void WriteOutputFile(const QString& output, std::string_view bytes) {
    WriteFileAtomically(Local(output), bytes);
}

int IntegerOption(const QCommandLineParser& parser, const QString& option, int least) {
    const std::string value = Local(parser.value(option));
    const std::optional<int> n = parse::TryInteger(value);
    if (!n) throw UsageError("--" + Local(option) + ": " + parse::IntegerMessage(value));
    if (*n < least)
        throw UsageError("--" + Local(option) + " takes a whole number from " +
                         text::FormatInt(least) + ", not " + text::ShownToken(value));
    return *n;
}

double FiniteOption(const QCommandLineParser& parser, const QString& option) {
    const std::string value = Local(parser.value(option));
    const std::optional<double> x = parse::TryFloat(value);
    if (!x) throw UsageError("--" + Local(option) + ": " + parse::FloatMessage(value));
    return *x;
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
