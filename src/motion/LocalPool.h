// Runs a suite on this computer: up to N solver processes at a time, each started in its run
// folder as "<solver> run.tcl" with its console in solver.log there (Running.md).
#pragma once

#include "motion/ChildProcess.h"
#include "motion/SuiteRunner.h"

#include <string>
#include <vector>

namespace vandra::motion {

struct PoolOptions {
    std::string solver; // the solver's absolute path
    int jobs = 0;       // solvers at a time; 0: as many as the computer has cores
};

class LocalPool final : public SuiteRunner {
public:
    // Reads the suite's manifest and takes its lock (SuiteRunner); InputError for a solver path
    // that is not absolute or not an executable file, and for jobs below 0.
    LocalPool(const std::string& suiteDir, PoolOptions options);
    // Cancels what still runs.
    ~LocalPool() override;

    bool Poll(int waitMilliseconds = 0) override;
    void Cancel() override;

    int Jobs() const { return jobs_; }

private:
    struct Slot {
        size_t run;
        SolverProcess process;
    };

    std::string solver_;
    int jobs_;
    std::vector<Slot> running_;
    size_t next_ = 0; // the next run in todo_ to start
};

// The number of cores this process may use.
int CoreCount();

// Refuses (InputError) a solver path that is not absolute or not an executable regular file.
void CheckSolverPath(const std::string& solver);

} // namespace vandra::motion
