// Runs a suite on a Slurm cluster as one job array: one task per run to do, each running the
// solver in its run folder (the suite's folder must be on a filesystem the nodes share, and the
// solver at the same absolute path on them). The tasks never write the manifest: this runner
// watches the queue with squeue and collects each task's outcome from its run folder when the
// task has left the queue (Running.md).
#pragma once

#include "motion/SuiteRunner.h"

#include <chrono>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vandra::motion {

struct SlurmOptions {
    std::string solver;    // the solver's absolute path, the same on every node
    std::string partition; // empty: the cluster's default
    std::string timeLimit; // of each task, as sbatch --time takes it; empty: the partition's
    int maxRunning = 0;    // tasks at a time (--array=1-N%M); 0: as many as Slurm allows
    int pollSeconds = 10;  // between two looks at the queue
};

class SlurmRunner final : public SuiteRunner {
public:
    // Reads the suite's manifest and takes its lock (SuiteRunner); InputError for a solver path
    // that is not absolute or not an executable file.
    SlurmRunner(const std::string& suiteDir, SlurmOptions options);
    // Cancels the job when it still has tasks.
    ~SlurmRunner() override;

    // The first call submits the job array (InputError with sbatch's message when refused);
    // later calls look at the queue every pollSeconds and collect the tasks that left it.
    bool Poll(int waitMilliseconds = 0) override;
    // scancel of the job; its unfinished runs are pending again.
    void Cancel() override;

    // The job's id once submitted.
    const std::string& JobId() const { return jobId_; }
    // The file Slurm writes a run's task output to (relative to the suite folder), empty for a
    // run this runner did not submit.
    std::string TaskOutput(size_t run) const;

private:
    void Submit();
    void LookAtQueue();
    void Collect(const std::vector<int>& tasks);
    // What sacct says of each task of the job; nothing when the cluster keeps no accounting.
    std::map<int, std::string> TaskStates() const;

    SlurmOptions options_;
    bool submitted_ = false;
    std::string jobId_;
    std::vector<size_t> tasks_;  // task k (from 1) runs tasks_[k - 1]
    std::vector<char> finished_; // per task
    std::chrono::steady_clock::time_point nextLook_;
    std::chrono::steady_clock::time_point queueFailingSince_;
    bool queueFailing_ = false;
};

// The pieces of the batch system's answers, apart for their tests.
// The job id sbatch --parsable printed ("1234" or "1234;cluster"), or empty.
std::string ParseJobId(std::string_view sbatchOutput);
// The state of each task squeue --array --format="%K %T" lists; a line may give a range of
// tasks ("[3-7%2] PENDING", "4,6 PENDING"). InputError naming a line it cannot read (a task
// missed would be taken for a task that ended).
std::map<int, std::string> ParseQueue(std::string_view squeueOutput);
// The state of each task of job jobId in sacct --parsable2 --format=JobID,State output.
std::map<int, std::string> ParseAccounting(std::string_view sacctOutput, std::string_view jobId);
// How the solver of a task ended, from the line the batch script writes after it.
SolverEnd ParseTaskEnd(std::string_view taskOutput);
// The text of the batch script every task runs.
std::string TaskScriptText();

} // namespace vandra::motion
