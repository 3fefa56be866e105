// vandra-cli: batch use of VANDRA's core (import, script generation, rendering).
#include "app/cli/Commands.h"
#include "model/Errors.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#ifdef VANDRA_HAVE_RENDER
#include <QGuiApplication>
#endif

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
    "  render FILE.s2k -o OUT.png [--size WxH] [--view xy|xz|yz] [--set NAME=VALUE]...\n"
    "                                     the model view after import and zoom all; with\n"
    "                                     --dir RUN (--step N | --mode M) [--scale S]\n"
    "                                     [--section axial|kz|ky] the deformed shape\n"
    "  results FILE.s2k --dir RUN [--step N | --mode M] [--section axial|kz|ky] [--set ...]\n"
    "                                     the loaded results as JSON\n"
    "  history FILE.s2k --dir RUN --node N\n"
    "                                     one joint's displacement history as CSV\n"
    "  preview FILE.s2k --section NAME -o OUT.png [--set NAME=VALUE]...\n"
    "                                     the frame section dialog's picture of one section\n"
    "  save-project FILE.s2k -o OUT.vandra [--set NAME=VALUE]...\n"
    "                                     the project file: the model's path and every choice\n"
    "  v14 FILE [-o OUT.s2k]              a SAP2000 V14 solid model as version 6 text\n"
    "FILE.s2k may also be a project (.vandra): its model with its choices and settings.\n"
    "\n"
    "--set NAME=VALUE takes a setting by its name (AnalysisType, LoadCase, LoadVector, LoadSteps,\n"
    "LoadFactor, ControlNode, ControlDof, ControlDisp, AnalysisStep, NumIntgrPts, RebarMat,\n"
    "UseAggregator, ModalNumber, GenPlateFiber, GenNodeMass, flags as 0/1, RecOpt=1,0,0,0,1,\n"
    "ViewOpt= thirteen flags), Sections[NAME].FIELD=VALUE (FrameType, GeoTransf, SectionKind,\n"
    "DivideFX, DivideFY, BarNumNX, BarNumNY, Cover, BarTop, BarBot, HingeLenI, HingeLenJ, Color),\n"
    "AreaSecs[NAME].NonlinType=0|1, Mats[NAME].MatType=1..5 (Elastic, Steel01, Concrete01,\n"
    "Steel02, Concrete02) or Mats[NAME].PARAM=VALUE (Fy, E0, b, R0, cR1, cR2, fpc, epsc0, fpcu,\n"
    "epsU, lambda, ft, Ets).\n"
    "\n"
    "Exit status: 0 done, 1 a conversion, range or file error, 2 a usage error.\n";

// Drawing text needs the platform's font database, which only a QGuiApplication opens; the other
// commands need no platform at all. Without a display the offscreen platform serves.
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv) {
#ifdef VANDRA_HAVE_RENDER
    if (argc > 1 && (std::strcmp(argv[1], "render") == 0 || std::strcmp(argv[1], "preview") == 0)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
            qEnvironmentVariableIsEmpty("DISPLAY"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QGuiApplication>(argc, argv);
    }
#endif
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

int main(int argc, char** argv) {
    const std::unique_ptr<QCoreApplication> app = MakeApplication(argc, argv);
    QCoreApplication::setApplicationName("vandra-cli");
    QCoreApplication::setApplicationVersion(
        QStringLiteral(VANDRA_VERSION " (" VANDRA_VERSION_DATE ")"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "VANDRA command-line tool: reads SAP2000 version 6 text models (.s2k) and writes OpenSees "
        "Tcl scripts.\n\n" +
        QString::fromLatin1(kCommands));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        "command", "info, dump, tcl, render, results, history, preview, save-project or v14");
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "vandra-cli: %s\n", qPrintable(parser.errorText()));
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
        if (command == "preview") return vandra::cli::CommandPreview(rest);
        if (command == "save-project") return vandra::cli::CommandSaveProject(rest);
        if (command == "v14") return vandra::cli::CommandV14(rest);
        std::fprintf(stderr, "vandra-cli: unknown command '%s'\n%s", qPrintable(command),
                     kCommands);
        return 2;
    } catch (const vandra::UsageError& e) {
        std::fprintf(stderr, "vandra-cli: %s\n", e.what());
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
