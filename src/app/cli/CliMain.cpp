// vandra-cli: batch use of VANDRA's core (import, script generation, rendering).
#include "app/cli/CliSupport.h"
#include "app/cli/Commands.h"
#include "document/SettingsByName.h"
#include "model/Errors.h"
#include "model/ShownText.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#ifdef VANDRA_HAVE_RENDER
#include <QGuiApplication>
#endif

#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>

namespace {

const char* const kCommands =
    "Commands:\n"
    "  info FILE.s2k                      the seven counts of the status bar\n"
    "  dump FILE.s2k                      the whole model store as JSON\n"
    "  tcl FILE.s2k [-o OUT.tcl] [--set NAME=VALUE]...\n"
    "                                     the OpenSees script, lines ended by CR LF\n"
    "  render FILE.s2k -o OUT.png|OUT.svg [--size WxH] [--view xy|xz|yz] [--set NAME=VALUE]...\n"
    "                                     the model view after import and zoom all; with\n"
    "                                     --dir RUN (--step N | --envelope | --mode M)\n"
    "                                     [--scale S] [--section axial|kz|ky] the deformed\n"
    "                                     shape (of the envelope: each joint at its extreme),\n"
    "                                     with --forces N|Vy|Vz|T|My|Mz a member force\n"
    "                                     diagram, with --reactions arrows (both on\n"
    "                                     the undeformed model unless --scale is given);\n"
    "                                     --animate OUT.mp4|OUT.gif [--fps N] --dir RUN\n"
    "                                     [--mode M] instead of -o: a movie of every step\n"
    "                                     or of the mode swinging through one period\n"
    "  results FILE.s2k --dir RUN [--step N | --envelope | --mode M] [--section axial|kz|ky]\n"
    "          [--set ...]                the loaded results (or the displacements' envelope)\n"
    "                                     as JSON\n"
    "  history FILE.s2k --dir RUN --node N\n"
    "                                     one joint's displacement history as CSV\n"
    "  forces FILE.s2k --dir RUN [--step N | --envelope] [--csv] [--set ...]\n"
    "                                     per frame and component the section forces at both\n"
    "                                     ends and the extremes along it with their places\n"
    "  reactions FILE.s2k --dir RUN [--step N | --envelope] [--csv] [--set ...]\n"
    "                                     per support joint its reactions, and their totals\n"
    "  periods FILE.s2k --dir RUN [--mode M] [--csv] [--set ...]\n"
    "                                     per mode period, frequency, participating mass\n"
    "                                     ratios and their sums\n"
    "  drifts FILE.s2k --dir RUN [--step N | --envelope] [--csv] [--set ...]\n"
    "                                     per storey its levels and drift ratios in X and Y\n"
    "  preview FILE.s2k --section NAME -o OUT.png [--set NAME=VALUE]...\n"
    "                                     the frame section dialog's picture of one section\n"
    "  mcurv FILE.s2k --section NAME --axial P --dir y|z [--max-curvature K]\n"
    "        [--set NAME=VALUE]... [-o OUT.csv]\n"
    "                                     the section's moment-curvature curve, run in the\n"
    "                                     solver, as CSV (P positive in tension); its marks on\n"
    "                                     stderr\n"
    "  pm FILE.s2k --section NAME [--set NAME=VALUE]... [-o OUT.csv]\n"
    "                                     the section's axial force - moment interaction\n"
    "                                     diagrams about y and z as CSV\n"
    "  save-project FILE.s2k -o OUT.vandra [--set NAME=VALUE]... [--suite SUITE.json]\n"
    "                                     the project file: the model's path, every choice and\n"
    "                                     the ground-motion suite\n"
    "  v14 FILE [-o OUT.s2k]              a SAP2000 V14 solid model as version 6 text\n"
    "  convert FILE [-o OUT.s2k]          version 6 text of the model (what it cannot hold on\n"
    "                                     stderr)\n"
    "  suite FILE.s2k [--suite SUITE.json] --out DIR [--set NAME=VALUE]... [--solver PATH]\n"
    "                                     the folder of a ground-motion suite: the model once,\n"
    "                                     a script per run (analysis type 5, 6 or 7), the\n"
    "                                     manifest; levels without a period run a modal analysis\n"
    "  run-suite DIR [--jobs N] [--slurm [--partition P] [--time T]] [--solver PATH]\n"
    "                                     runs every run of a suite not done yet, here on N\n"
    "                                     solvers at a time or as a Slurm job array; exit 1\n"
    "                                     when a run failed (listed on stderr)\n"
    "  suite-results DIR [--csv] [--plot OUT.png|OUT.svg]\n"
    "                                     the IDA table of a suite, or every run as CSV; the\n"
    "                                     IDA curves with their median drawn\n"
    "FILE.s2k may also be a project (.vandra): its model with its choices and settings, or a\n"
    "tabular SAP2000 file (.s2k, .$2k), converted to N and mm with its report on stderr.\n"
    "\n";

const char* const kExitStatus =
    "\n"
    "Exit status: 0 done, 1 a conversion, range or file error or a run of run-suite that failed,\n"
    "2 a usage error, 130 run-suite interrupted (its runs in progress are pending again).\n";

// Qt's complaints about the session's runtime folder (XDG_RUNTIME_DIR unset, as under cron or a
// batch scheduler) say nothing about the command: they would come before its own messages on
// standard error. Every other message of Qt's goes through as before.
void DropRuntimeFolderNotes(QtMsgType type, const QMessageLogContext& context,
                            const QString& message) {
    if (type != QtFatalMsg && message.startsWith(QLatin1String("QStandardPaths: "))) return;
    const QByteArray line = qFormatLogMessage(type, context, message).toLocal8Bit() + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stderr);
}

// Drawing text needs the platform's font database, which only a QGuiApplication opens; the other
// commands need no platform at all. Without a display the offscreen platform serves.
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv) {
#ifdef VANDRA_HAVE_RENDER
    const auto plots = [&] {
        for (int i = 2; i < argc; ++i)
            if (std::strncmp(argv[i], "--plot", 6) == 0) return true;
        return false;
    };
    if (argc > 1 && (std::strcmp(argv[1], "render") == 0 || std::strcmp(argv[1], "preview") == 0 ||
                     (std::strcmp(argv[1], "suite-results") == 0 && plots()))) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
            qEnvironmentVariableIsEmpty("DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(DropRuntimeFolderNotes);
        return std::make_unique<QGuiApplication>(argc, argv);
    }
#endif
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

int main(int argc, char** argv) {
#ifdef SIGPIPE
    // A reader that closes the pipe makes the next write fail with an error that the commands
    // report (exit 1), instead of ending the program silently.
    std::signal(SIGPIPE, SIG_IGN);
#endif
#ifdef SIGXFSZ
    // Past the file size limit (ulimit -f) a write fails and the command reports it (exit 1)
    // instead of being ended by the signal.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    const std::unique_ptr<QCoreApplication> app = MakeApplication(argc, argv);
    QCoreApplication::setApplicationName("vandra-cli");
    QCoreApplication::setApplicationVersion(
        QStringLiteral(VANDRA_VERSION " (" VANDRA_VERSION_DATE ")"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "VANDRA command-line tool: reads SAP2000 version 6 text models (.s2k) and writes OpenSees "
        "Tcl scripts.\n\n" +
        QString::fromLatin1(kCommands) + QString::fromLatin1(vandra::SettingNamesHelp()) +
        QString::fromLatin1(kExitStatus));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("command",
                                 "info, dump, tcl, render, results, history, forces, reactions, "
                                 "periods, drifts, preview, mcurv, pm, save-project, v14, "
                                 "convert, suite, run-suite or suite-results");
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    // The arguments as the system gave them (argv after the application took its own options).
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << vandra::cli::FromLocal(argv[i]);
    if (!parser.parse(arguments)) {
        vandra::cli::PrintLine("vandra-cli: " + vandra::cli::Local(parser.errorText()));
        return 2;
    }
    if (parser.isSet("help")) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    if (parser.isSet("version")) {
        std::printf("vandra-cli %s\n", qPrintable(QCoreApplication::applicationVersion()));
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) {
        std::fprintf(stderr, "vandra-cli: no command given\n%s", kCommands);
        return 2;
    }
    const QString command = positional.first();
    const QStringList rest = positional.mid(1);
    if (rest.contains("--help") || rest.contains("-h")) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return 0;
    }
    try {
        if (command == "info") return vandra::cli::CommandInfo(rest);
        if (command == "dump") return vandra::cli::CommandDump(rest);
        if (command == "tcl") return vandra::cli::CommandTcl(rest);
        if (command == "render") return vandra::cli::CommandRender(rest);
        if (command == "results") return vandra::cli::CommandResults(rest);
        if (command == "history") return vandra::cli::CommandHistory(rest);
        if (command == "forces") return vandra::cli::CommandForces(rest);
        if (command == "reactions") return vandra::cli::CommandReactions(rest);
        if (command == "periods") return vandra::cli::CommandPeriods(rest);
        if (command == "drifts") return vandra::cli::CommandDrifts(rest);
        if (command == "preview") return vandra::cli::CommandPreview(rest);
        if (command == "save-project") return vandra::cli::CommandSaveProject(rest);
        if (command == "v14") return vandra::cli::CommandV14(rest);
        if (command == "mcurv") return vandra::cli::CommandMcurv(rest);
        if (command == "pm") return vandra::cli::CommandPm(rest);
        if (command == "convert") return vandra::cli::CommandConvert(rest);
        if (command == "suite") return vandra::cli::CommandSuite(rest);
        if (command == "run-suite") return vandra::cli::CommandRunSuite(rest);
        if (command == "suite-results") return vandra::cli::CommandSuiteResults(rest);
        std::fprintf(stderr, "vandra-cli: unknown command %s\n%s",
                     vandra::text::ShownToken(vandra::cli::Local(command)).c_str(), kCommands);
        return 2;
    } catch (const vandra::UsageError& e) {
        vandra::cli::PrintLine(std::string("vandra-cli: ") + e.what());
        return 2;
    } catch (const std::exception& e) {
        vandra::cli::PrintLine(e.what());
        return 1;
    }
}
