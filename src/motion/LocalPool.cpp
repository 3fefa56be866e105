#include "motion/LocalPool.h"

#include "model/Errors.h"

#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

namespace vandra::motion {

int CoreCount() {
    cpu_set_t set;
    if (::sched_getaffinity(0, sizeof set, &set) == 0) return std::max(1, CPU_COUNT(&set));
    return std::max(1U, std::thread::hardware_concurrency());
}

void CheckSolverPath(const std::string& solver) {
    struct stat info {};
    if (solver.empty() || solver.front() != '/')
        throw InputError("The solver path \"" + solver + "\" is not absolute");
    if (::stat(solver.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
        ::access(solver.c_str(), X_OK) != 0)
        throw InputError("The solver \"" + solver + "\" is not an executable file");
}

LocalPool::LocalPool(const std::string& suiteDir, PoolOptions options)
    : SuiteRunner(suiteDir), solver_(std::move(options.solver)),
      jobs_(options.jobs == 0 ? CoreCount() : options.jobs) {
    CheckSolverPath(solver_);
    if (options.jobs < 0) throw InputError("The number of jobs cannot be below 0");
    Save();
}

LocalPool::~LocalPool() {
    try {
        if (!running_.empty()) Cancel();
    } catch (const InputError&) {
        // The manifest could not be written: the runs left running are tried again next time.
    }
}

bool LocalPool::Poll(int waitMilliseconds) {
    if (cancelled_) return false;
    if (!running_.empty()) {
        std::vector<SolverProcess*> processes;
        for (Slot& slot : running_)
            processes.push_back(&slot.process);
        WaitForAny(processes, waitMilliseconds);
    }
    for (auto slot = running_.begin(); slot != running_.end();) {
        SolverEnd end;
        if (!Ended(slot->process, end)) {
            ++slot;
            continue;
        }
        MarkEnded(slot->run, JudgeRun(RunFolder(slot->run), end));
        slot = running_.erase(slot);
    }
    while (static_cast<int>(running_.size()) < jobs_ && next_ < todo_.size()) {
        const size_t run = todo_[next_++];
        if (std::string reason = PrepareRun(run); !reason.empty()) {
            MarkNotStarted(run, std::move(reason));
            continue;
        }
        const std::string folder = RunFolder(run);
        try {
            running_.push_back(
                {run, StartInFolder(solver_, {kRunScript}, folder, folder + "/" + kRunLog)});
        } catch (const InputError& e) {
            MarkNotStarted(run, e.what());
            continue;
        }
        MarkStarted(run);
    }
    Save();
    return !running_.empty() || next_ < todo_.size();
}

void LocalPool::Cancel() {
    cancelled_ = true;
    for (Slot& slot : running_) {
        KillGroup(slot.process);
        MarkWaiting(slot.run);
    }
    running_.clear();
    next_ = todo_.size();
    Save();
}

} // namespace vandra::motion
