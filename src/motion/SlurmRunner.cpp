#include "motion/SlurmRunner.h"

#include "model/AtomicFile.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"
#include "motion/ChildProcess.h"
#include "motion/LocalPool.h"
#include "motion/MotionFile.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <optional>

namespace vandra::motion {
namespace {

using Clock = std::chrono::steady_clock;

// The folder in the suite's folder for the batch script, the task lists and the tasks' output.
constexpr const char* kSlurmFolder = "slurm";
constexpr const char* kTaskScript = "task.sh";
// The line the batch script writes after the solver ended, followed by its exit status.
constexpr std::string_view kTaskEndMarker = "vandra-task: solver exit ";
// How long one Slurm command may take, and how long the queue may fail to answer before the
// runner gives up watching.
constexpr int kCommandSeconds = 120;
constexpr auto kQueueFailureLimit = std::chrono::minutes(5);
// The most tasks one line of squeue may stand for (a range of an array).
constexpr long long kMaxRange = 1'000'000;

std::string_view Trim(std::string_view s) {
    const size_t first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

// Calls f for each line of text.
template <typename F> void ForEachLine(std::string_view text, F f) {
    while (!text.empty()) {
        const size_t eol = text.find('\n');
        f(Trim(text.substr(0, eol)));
        text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
    }
}

// The tasks a squeue field names: "3", "[3-7%2]", "4,6,9-10".
bool AddTasks(std::string_view field, const std::string& state, std::map<int, std::string>& out) {
    if (field.starts_with('[') && field.ends_with(']')) field = field.substr(1, field.size() - 2);
    field = field.substr(0, field.find('%'));
    while (!field.empty()) {
        const size_t comma = field.find(',');
        const std::string_view range = field.substr(0, comma);
        field = comma == std::string_view::npos ? std::string_view() : field.substr(comma + 1);
        const size_t dash = range.find('-');
        const std::optional<int> first = parse::TryInteger(range.substr(0, dash));
        const std::optional<int> last =
            dash == std::string_view::npos ? first : parse::TryInteger(range.substr(dash + 1));
        if (!first || !last || *first < 0 || *last < *first || *last - *first >= kMaxRange)
            return false;
        for (int task = *first; task <= *last; ++task)
            out[task] = state;
    }
    return true;
}

// The message of a Slurm command that failed: its error output, else its standard output.
std::string CommandMessage(const CommandOutput& output) {
    std::string_view message = Trim(output.err);
    if (message.empty()) message = Trim(output.out);
    if (message.empty()) return "exit status " + text::FormatInt(output.status);
    return std::string(message);
}

void Sleep(int milliseconds) {
    if (milliseconds > 0) ::poll(nullptr, 0, milliseconds); // a signal ends it early
}

} // namespace

std::string ParseJobId(std::string_view sbatchOutput) {
    std::string_view id = Trim(sbatchOutput);
    id = id.substr(0, id.find(';'));
    if (id.empty() || id.find_first_not_of("0123456789") != std::string_view::npos) return {};
    return std::string(id);
}

std::map<int, std::string> ParseQueue(std::string_view squeueOutput) {
    std::map<int, std::string> tasks;
    ForEachLine(squeueOutput, [&](std::string_view line) {
        if (line.empty()) return;
        const size_t blank = line.find_first_of(" \t");
        const std::string state(blank == std::string_view::npos ? std::string_view()
                                                                : Trim(line.substr(blank)));
        if (state.empty() || !AddTasks(line.substr(0, blank), state, tasks))
            throw InputError("squeue gave a line this runner cannot read: \"" + std::string(line) +
                             "\"");
    });
    return tasks;
}

std::map<int, std::string> ParseAccounting(std::string_view sacctOutput, std::string_view jobId) {
    std::map<int, std::string> states;
    const std::string prefix = std::string(jobId) + "_";
    ForEachLine(sacctOutput, [&](std::string_view line) {
        const size_t bar = line.find('|');
        if (bar == std::string_view::npos || !line.starts_with(prefix)) return;
        const std::optional<int> task =
            parse::TryInteger(line.substr(prefix.size(), bar - prefix.size()));
        const std::string_view rest = line.substr(bar + 1);
        if (task) states[*task] = std::string(Trim(rest.substr(0, rest.find('|'))));
    });
    return states;
}

SolverEnd ParseTaskEnd(std::string_view taskOutput) {
    const size_t at = taskOutput.rfind(kTaskEndMarker);
    if (at == std::string_view::npos) return {};
    std::string_view rest = taskOutput.substr(at + kTaskEndMarker.size());
    const std::optional<int> status = parse::TryInteger(Trim(rest.substr(0, rest.find('\n'))));
    if (!status || *status < 0) return {};
    // The shell gives 128 + the signal for a program a signal ended.
    return *status > 128 ? SolverEnd::Signalled(*status - 128) : SolverEnd::Exited(*status);
}

std::string TaskScriptText() {
    return std::string("#!/bin/sh\n"
                       "# One task of a VANDRA suite: runs the solver in the run folder on line\n"
                       "# SLURM_ARRAY_TASK_ID of the task list, starting in the suite's folder.\n"
                       "# $1: the solver (an absolute path); $2: the task list.\n"
                       "folder=$(sed -n \"${SLURM_ARRAY_TASK_ID}p\" \"$2\")\n"
                       "if [ -z \"$folder\" ] || ! cd -- \"$folder\"; then\n"
                       "    echo \"vandra-task: no run folder for task $SLURM_ARRAY_TASK_ID\"\n"
                       "    exit 1\n"
                       "fi\n"
                       "rm -f ") +
           kRunOutcome + "\n\"$1\" " + kRunScript + " </dev/null >" + kRunLog + " 2>&1\necho \"" +
           std::string(kTaskEndMarker) + "$?\"\n";
}

SlurmRunner::SlurmRunner(const std::string& suiteDir, SlurmOptions options)
    : SuiteRunner(suiteDir), options_(std::move(options)) {
    CheckSolverPath(options_.solver);
    if (options_.maxRunning < 0) throw InputError("The number of jobs cannot be below 0");
    Save();
}

SlurmRunner::~SlurmRunner() {
    try {
        if (!cancelled_ && std::find(finished_.begin(), finished_.end(), 0) != finished_.end())
            Cancel();
    } catch (const InputError&) {
        // scancel or the manifest failed: the runs left running are tried again next time.
    }
}

std::string SlurmRunner::TaskOutput(size_t run) const {
    const auto at = std::find(tasks_.begin(), tasks_.end(), run);
    if (at == tasks_.end()) return {};
    return std::string(kSlurmFolder) + "/task-" + jobId_ + "_" +
           text::FormatInt(at - tasks_.begin() + 1) + ".out";
}

void SlurmRunner::Submit() {
    std::vector<size_t> tasks;
    for (size_t run : todo_) {
        if (std::string reason = PrepareRun(run); !reason.empty())
            MarkNotStarted(run, std::move(reason));
        else
            tasks.push_back(run);
    }
    submitted_ = true;
    if (tasks.empty()) {
        Save();
        return;
    }
    const std::string folder = SuiteFolder() + "/" + kSlurmFolder;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) throw InputError("Cannot make the folder \"" + folder + "\": " + ec.message());
    const std::string script = folder + "/" + kTaskScript;
    WriteFileAtomically(script, TaskScriptText());
    std::string list;
    for (size_t run : tasks)
        list += Runs().runs[run].folder + "\n";
    const std::string listPath = folder + "/tasks-" +
                                 text::FormatInt(static_cast<long long>(std::time(nullptr))) + "-" +
                                 text::FormatInt(::getpid()) + ".txt";
    WriteFileAtomically(listPath, list);

    std::string array = "--array=1-" + text::FormatInt(static_cast<long long>(tasks.size()));
    if (options_.maxRunning > 0) array += "%" + text::FormatInt(options_.maxRunning);
    std::vector<std::string> argv = {"sbatch",
                                     "--parsable",
                                     "--job-name=vandra-suite",
                                     array,
                                     "--chdir=" + SuiteFolder(),
                                     "--output=" + std::string(kSlurmFolder) + "/task-%A_%a.out",
                                     "--ntasks=1",
                                     "--cpus-per-task=1"};
    if (!options_.partition.empty()) argv.push_back("--partition=" + options_.partition);
    if (!options_.timeLimit.empty()) argv.push_back("--time=" + options_.timeLimit);
    argv.insert(argv.end(), {script, options_.solver, listPath});
    const CommandOutput output = RunCommand(argv, kCommandSeconds);
    const std::string id = ParseJobId(output.out);
    if (output.status != 0 || id.empty()) {
        cancelled_ = true;
        Save();
        throw InputError("sbatch did not take the suite: " + CommandMessage(output));
    }
    jobId_ = id;
    tasks_ = std::move(tasks);
    finished_.assign(tasks_.size(), 0);
    for (size_t run : tasks_) {
        MarkStarted(run);
        waiting_[run] = 1; // queued until squeue says it runs
    }
    Save();
}

bool SlurmRunner::Poll(int waitMilliseconds) {
    if (cancelled_) return false;
    if (!submitted_) {
        Submit();
        nextLook_ = Clock::now() + std::chrono::seconds(options_.pollSeconds);
    } else {
        const auto due =
            std::chrono::duration_cast<std::chrono::milliseconds>(nextLook_ - Clock::now()).count();
        if (due > 0) {
            Sleep(static_cast<int>(std::min<long long>(due, waitMilliseconds)));
            if (Clock::now() < nextLook_) return true;
        }
        LookAtQueue();
        nextLook_ = Clock::now() + std::chrono::seconds(options_.pollSeconds);
    }
    return !cancelled_ && std::find(finished_.begin(), finished_.end(), 0) != finished_.end();
}

void SlurmRunner::LookAtQueue() {
    const CommandOutput output = RunCommand(
        {"squeue", "--noheader", "--array", "--jobs=" + jobId_, "--format=%K %T"}, kCommandSeconds);
    std::map<int, std::string> queue;
    // A job that left the controller's memory is an invalid id: all its tasks ended.
    if (output.status != 0 && output.err.find("Invalid job id") == std::string::npos) {
        const auto now = Clock::now();
        if (!queueFailing_) queueFailingSince_ = now;
        queueFailing_ = true;
        if (now - queueFailingSince_ > kQueueFailureLimit)
            throw InputError("squeue has not answered for five minutes about job " + jobId_ + ": " +
                             CommandMessage(output));
        return;
    }
    queueFailing_ = false;
    if (output.status == 0) queue = ParseQueue(output.out);
    std::vector<int> left;
    for (size_t k = 0; k < tasks_.size(); ++k) {
        if (finished_[k]) continue;
        const int task = static_cast<int>(k) + 1;
        const auto listed = queue.find(task);
        if (listed == queue.end())
            left.push_back(task);
        else
            waiting_[tasks_[k]] = listed->second == "PENDING";
    }
    Collect(left);
}

std::map<int, std::string> SlurmRunner::TaskStates() const {
    try {
        const CommandOutput sacct =
            RunCommand({"sacct", "--noheader", "--parsable2", "--allocations", "--jobs=" + jobId_,
                        "--format=JobID,State"},
                       kCommandSeconds);
        if (sacct.status == 0) return ParseAccounting(sacct.out, jobId_);
    } catch (const InputError&) {
        // No sacct on this machine.
    }
    return {}; // a cluster without accounting
}

void SlurmRunner::Collect(const std::vector<int>& tasks) {
    std::optional<std::map<int, std::string>> accounting;
    for (int task : tasks) {
        const size_t run = tasks_[static_cast<size_t>(task - 1)];
        const std::string output = TaskOutput(run);
        const SolverEnd end = ParseTaskEnd(ReadFileTail(SuiteFolder() + "/" + output, 4096));
        std::string more;
        if (end.kind == SolverEnd::Kind::kUnknown) {
            // The task did not run the solver to its end: Slurm may know why (time limit).
            if (!accounting) accounting = TaskStates();
            const auto state = accounting->find(task);
            more = "the Slurm task ended before the solver";
            if (state != accounting->end()) more += " (" + state->second + ")";
            more += ", see " + output;
        }
        MarkEnded(run, JudgeRun(RunFolder(run), end, more));
        finished_[static_cast<size_t>(task - 1)] = 1;
    }
    Save();
}

void SlurmRunner::Cancel() {
    cancelled_ = true;
    bool unfinished = false;
    for (size_t k = 0; k < tasks_.size(); ++k) {
        if (finished_[k]) continue;
        unfinished = true;
        MarkWaiting(tasks_[k]);
        finished_[k] = 1;
    }
    Save();
    if (!unfinished) return;
    const CommandOutput output = RunCommand({"scancel", jobId_}, kCommandSeconds);
    if (output.status != 0)
        throw InputError("scancel did not cancel job " + jobId_ + ": " + CommandMessage(output));
}

} // namespace vandra::motion
