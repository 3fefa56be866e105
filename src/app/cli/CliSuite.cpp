// vandra-cli run-suite DIR [--jobs N] [--slurm [--partition P] [--time T]] [--solver PATH]: runs
// every run of the suite in DIR that is not done, here on N solvers at a time or on Slurm as one
// job array, keeping DIR/manifest.json up to date.
// vandra-cli suite-results DIR [--csv]: the IDA table of the suite (or the CSV of every run).
#include "app/cli/CliSupport.h"
#include "app/cli/Commands.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/SolverLocator.h"
#include "motion/LocalPool.h"
#include "motion/SlurmRunner.h"
#include "motion/SuiteReport.h"
#include "motion/SuiteResults.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <signal.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace vandra::cli {
namespace {

// How long one look waits for a solver to end; the progress line is redrawn after each.
constexpr int kPollMilliseconds = 500;
// Between two looks at the Slurm queue.
constexpr int kSlurmPollSeconds = 10;

volatile std::sig_atomic_t interrupted = 0;

extern "C" void OnInterrupt(int) {
    interrupted = 1;
}

// Ctrl-C does not reach the solvers (each runs in a process group of its own): the runner stops
// them and leaves their runs pending.
void CatchInterrupts() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

std::string SolverPath(const QCommandLineParser& parser, const QCommandLineOption& option) {
    if (parser.isSet(option))
        return std::filesystem::absolute(Local(parser.value(option))).lexically_normal().string();
    const std::string programDir = Local(QCoreApplication::applicationDirPath());
    std::string found = FindSolver(programDir);
    if (found.empty()) throw InputError(SolverNotFoundMessage(programDir));
    return found;
}

void PrintError(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
}

} // namespace

int CommandRunSuite(const QStringList& args) {
    QCommandLineParser parser;
    const QCommandLineOption jobs("jobs",
                                  "Solvers at a time (default: the number of cores); "
                                  "with --slurm, tasks at a time.",
                                  "N");
    const QCommandLineOption slurm("slurm", "Run the suite on Slurm as one job array.");
    const QCommandLineOption partition("partition", "The Slurm partition.", "P");
    const QCommandLineOption time("time", "The time limit of each Slurm task.", "T");
    const QCommandLineOption solver("solver", "The OpenSees executable.", "PATH");
    for (const QCommandLineOption* o : {&jobs, &slurm, &partition, &time, &solver})
        parser.addOption(*o);
    const std::string usage = "run-suite takes one DIR [--jobs N] [--slurm [--partition P] "
                              "[--time T]] [--solver PATH]";
    const std::string dir = Local(ParseModelFile(parser, args, "run-suite", usage));
    if (!parser.isSet(slurm) && (parser.isSet(partition) || parser.isSet(time)))
        throw UsageError("--partition and --time go with --slurm");
    int count = 0;
    if (parser.isSet(jobs)) {
        const std::optional<int> n = parse::TryInteger(Local(parser.value(jobs)));
        if (!n || *n < 1) throw UsageError("--jobs takes a whole number of 1 or more");
        count = *n;
    }
    const std::string program = SolverPath(parser, solver);
    std::unique_ptr<motion::SuiteRunner> runner;
    if (parser.isSet(slurm))
        runner = std::make_unique<motion::SlurmRunner>(
            dir, motion::SlurmOptions{program, Local(parser.value(partition)),
                                      Local(parser.value(time)), count, kSlurmPollSeconds});
    else
        runner = std::make_unique<motion::LocalPool>(dir, motion::PoolOptions{program, count});

    CatchInterrupts();
    const bool terminal = ::isatty(STDERR_FILENO) == 1;
    while (runner->Poll(kPollMilliseconds)) {
        if (interrupted) {
            runner->Cancel();
            PrintError(std::string(terminal ? "\n" : "") +
                       "vandra-cli: interrupted; the runs in progress are pending again\n");
            return 130;
        }
        // Erase to the end of the line: the new text may be shorter.
        if (terminal) PrintError("\r" + motion::ProgressText(runner->Progress()) + "\x1b[K");
    }
    if (terminal) PrintError("\r\x1b[K");
    const motion::SuiteProgress progress = runner->Progress();
    PrintError(motion::ProgressText(progress) + "\n" +
               motion::FailedRunsText(runner->Runs(), runner->SuiteFolder()));
    return progress.failed > 0 ? 1 : 0;
}

int CommandSuiteResults(const QStringList& args) {
    QCommandLineParser parser;
    const QCommandLineOption csv("csv", "One line per run, comma-separated.");
    parser.addOption(csv);
    const std::string dir =
        Local(ParseModelFile(parser, args, "suite-results", "suite-results takes one DIR [--csv]"));
    const motion::Manifest manifest = motion::ReadManifest(dir + "/" + motion::kManifestFile);
    if (parser.isSet(csv)) {
        WriteStdout(motion::SuiteResultsCsv(manifest));
    } else {
        WriteStdout(motion::IdaTableText(manifest));
        if (const std::string failed = motion::FailedRunsText(manifest, dir); !failed.empty())
            WriteStdout("\nFailed runs:\n" + failed);
    }
    FinishStdout();
    return 0;
}

} // namespace vandra::cli
