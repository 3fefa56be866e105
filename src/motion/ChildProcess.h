// Starting programs without a shell: the solver of a run in its folder (its own session and
// process group, so that stopping it stops what it started too), and the batch system's commands,
// whose output is read back. Every argument goes to the program as it is: no word splitting, no
// expansion.
#pragma once

#include "motion/RunOutcome.h"

#include <sys/types.h>

#include <string>
#include <vector>

namespace vandra::motion {

// A solver process started in a run folder.
struct SolverProcess {
    pid_t pid = -1; // also the id of its session and process group
    int pidfd = -1; // readable when the process ended; -1 when the system has none
};

// Starts program (an absolute path) with args in folder, standard input from /dev/null, standard
// output and error to the file logPath (made empty), every signal at its default and no other
// open file, as the leader of a new session (and so of a new process group). InputError with the
// reason when it cannot start.
SolverProcess StartInFolder(const std::string& program, const std::vector<std::string>& args,
                            const std::string& folder, const std::string& logPath);

// Whether the process ended, without waiting; it is then reaped and its pidfd closed.
bool Ended(SolverProcess& process, SolverEnd& end);

// Waits up to `milliseconds` until one of the processes may have ended.
void WaitForAny(const std::vector<SolverProcess*>& processes, int milliseconds);

// Kills the process and its whole group, and reaps it.
void KillGroup(SolverProcess& process);

// The output of a command run to its end.
struct CommandOutput {
    int status = -1; // its exit status; 128 + the signal when a signal ended it
    std::string out, err;
};

// Runs argv (argv[0] is looked up on the PATH) to its end, standard input from /dev/null; a
// command still running after timeoutSeconds is killed. InputError when it cannot start.
CommandOutput RunCommand(const std::vector<std::string>& argv, int timeoutSeconds);

} // namespace vandra::motion
