// What runs a suite, here (LocalPool) or on a cluster (SlurmRunner): the manifest that this one
// process writes, the runs still to do, the lock that keeps a second runner off the same suite,
// and the progress the window and the command line show. Neither blocks: the caller calls Poll
// from a timer or a loop until it returns false, and may Cancel at any time.
#pragma once

#include "motion/Manifest.h"
#include "motion/RunOutcome.h"

#include <string>
#include <vector>

namespace vandra::motion {

struct SuiteProgress {
    int total = 0;
    int done = 0;         // with a result, converged or not
    int notConverged = 0; // of those done
    int failed = 0;
    int running = 0;
    int waiting = 0; // not started yet, or queued on the cluster

    friend bool operator==(const SuiteProgress&, const SuiteProgress&) = default;
};

class SuiteRunner {
public:
    virtual ~SuiteRunner();
    SuiteRunner(const SuiteRunner&) = delete;
    SuiteRunner& operator=(const SuiteRunner&) = delete;

    // Collects the runs whose solver ended, starts others, and rewrites the manifest when anything
    // changed, waiting at most waitMilliseconds for a solver to end (0: not at all). True while
    // runs are left; false once every run is done or failed, and after Cancel. InputError when the
    // manifest cannot be written or the batch system refuses the suite.
    virtual bool Poll(int waitMilliseconds = 0) = 0;
    // Stops every run in progress; they are pending again in the manifest, written before the
    // call returns.
    virtual void Cancel() = 0;

    SuiteProgress Progress() const;
    // The runs with their status, as the manifest holds them.
    const Manifest& Runs() const { return manifest_; }
    const std::string& SuiteFolder() const { return dir_; }
    std::string RunFolder(size_t run) const;

protected:
    // Reads suiteDir/manifest.json and takes the suite's lock (runner.lock in it): InputError when
    // another runner holds it. The runs to do are all but the done ones and those whose record
    // could not be read (they keep that reason); a run left running by a runner that stopped is
    // pending again.
    explicit SuiteRunner(const std::string& suiteDir);

    // Why the run cannot start (no folder, no script), or empty once its old outcome is removed.
    std::string PrepareRun(size_t run) const;
    void MarkStarted(size_t run);
    void MarkEnded(size_t run, const RunVerdict& verdict);
    void MarkNotStarted(size_t run, std::string reason);
    // Back to pending, waiting to be started (a cancelled run).
    void MarkWaiting(size_t run);
    // Writes the manifest when it changed since the last write.
    void Save();

    std::vector<size_t> todo_;  // the runs this runner does, in the manifest's order
    std::vector<char> waiting_; // per run: not started, or queued
    bool cancelled_ = false;

private:
    // The suite's lock file, held open (and locked) while the runner lives.
    struct Lock {
        int fd = -1;
        ~Lock();
    };
    std::string dir_;
    Lock lock_;
    std::string manifestPath_;
    Manifest manifest_;
    bool changed_ = false;
};

} // namespace vandra::motion
