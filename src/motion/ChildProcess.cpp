#include "motion/ChildProcess.h"

#include "model/Errors.h"
#include "model/NumberText.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

extern char** environ;

namespace vandra::motion {
namespace {

// Without pidfds a wait is cut into slices this long, after which the processes are asked again.
constexpr int kWaitSliceMs = 20;
// How long the output of a command killed for its time is still read.
constexpr long long kAfterKillMs = 2000;

std::string ErrorText(int error) {
    return std::strerror(error);
}

// How a child is set apart from this process.
enum class Apart {
    kGroup,   // a process group of its own
    kSession, // a session of its own (and so a process group of its own)
};

// The spawn settings shared by every child: set apart, every signal at its default (a parent that
// ignores SIGPIPE must not pass that on) and none blocked.
class SpawnSettings {
public:
    explicit SpawnSettings(Apart apart) {
        ::posix_spawn_file_actions_init(&actions_);
        ::posix_spawnattr_init(&attr_);
        sigset_t all, none;
        ::sigfillset(&all);
        ::sigemptyset(&none);
        ::posix_spawnattr_setsigdefault(&attr_, &all);
        ::posix_spawnattr_setsigmask(&attr_, &none);
        ::posix_spawnattr_setpgroup(&attr_, 0);
        // A session leader cannot change its group, so a new session excludes SETPGROUP.
        ::posix_spawnattr_setflags(
            &attr_, (apart == Apart::kSession ? POSIX_SPAWN_SETSID : POSIX_SPAWN_SETPGROUP) |
                        POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
        ::posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0);
    }
    ~SpawnSettings() {
        ::posix_spawn_file_actions_destroy(&actions_);
        ::posix_spawnattr_destroy(&attr_);
    }
    SpawnSettings(const SpawnSettings&) = delete;
    SpawnSettings& operator=(const SpawnSettings&) = delete;

    void Output(int out, int err) {
        ::posix_spawn_file_actions_adddup2(&actions_, out, 1);
        ::posix_spawn_file_actions_adddup2(&actions_, err, 2);
    }
    void Folder(const std::string& folder) {
        ::posix_spawn_file_actions_addchdir_np(&actions_, folder.c_str());
    }
    // Starts argv; returns 0 or the error number.
    int Spawn(pid_t& pid, const std::vector<std::string>& argv, bool searchPath) {
        // Nothing else the parent holds open reaches the child.
        ::posix_spawn_file_actions_addclosefrom_np(&actions_, 3);
        std::vector<char*> args;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        return (searchPath ? ::posix_spawnp : ::posix_spawn)(&pid, args[0], &actions_, &attr_,
                                                             args.data(), environ);
    }

private:
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attr_;
};

SolverEnd EndOf(int status) {
    if (WIFSIGNALED(status)) return SolverEnd::Signalled(WTERMSIG(status));
    if (WIFEXITED(status)) return SolverEnd::Exited(WEXITSTATUS(status));
    return {};
}

void Reap(pid_t pid, int* status) {
    while (::waitpid(pid, status, 0) < 0 && errno == EINTR) {
    }
}

void ClosePidfd(SolverProcess& process) {
    if (process.pidfd >= 0) ::close(process.pidfd);
    process.pidfd = -1;
}

// Closes a descriptor when it goes out of scope.
struct Fd {
    int fd = -1;
    ~Fd() { Close(); }
    void Close() {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
};

} // namespace

SolverProcess StartInFolder(const std::string& program, const std::vector<std::string>& args,
                            const std::string& folder, const std::string& logPath) {
    Fd log{::open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644)};
    if (log.fd < 0)
        throw InputError("Cannot write the solver log \"" + logPath + "\": " + ErrorText(errno));
    // A session of its own: no terminal reaches the solver, and where the system shares the
    // processor between sessions (Linux's autogroups) each run counts as a job of its own, as if
    // started from a terminal of its own, rather than all runs sharing this program's share.
    SpawnSettings settings(Apart::kSession);
    settings.Output(log.fd, log.fd);
    settings.Folder(folder);
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), args.begin(), args.end());
    SolverProcess process;
    if (const int error = settings.Spawn(process.pid, argv, false); error != 0)
        throw InputError("Cannot start the solver \"" + program + "\" in \"" + folder +
                         "\": " + ErrorText(error));
    // Called directly: the C library's wrapper is declared without C linkage in some versions.
    process.pidfd = static_cast<int>(::syscall(SYS_pidfd_open, process.pid, 0));
    return process;
}

bool Ended(SolverProcess& process, SolverEnd& end) {
    int status = 0;
    pid_t done;
    while ((done = ::waitpid(process.pid, &status, WNOHANG)) < 0 && errno == EINTR) {
    }
    if (done == 0) return false;
    // Reaped by someone else (SIGCHLD ignored): how it ended is not known.
    end = done < 0 ? SolverEnd{} : EndOf(status);
    ClosePidfd(process);
    return true;
}

void WaitForAny(const std::vector<SolverProcess*>& processes, int milliseconds) {
    std::vector<pollfd> fds;
    bool blind = false;
    for (const SolverProcess* p : processes) {
        if (p->pidfd >= 0)
            fds.push_back({p->pidfd, POLLIN, 0});
        else
            blind = true;
    }
    if (blind) milliseconds = std::min(milliseconds, kWaitSliceMs);
    if (milliseconds <= 0) return;
    // A signal (the user's interrupt) ends the wait early, which is what the caller wants.
    ::poll(fds.data(), fds.size(), milliseconds);
}

void KillGroup(SolverProcess& process) {
    ::kill(-process.pid, SIGKILL);
    int status = 0;
    Reap(process.pid, &status);
    ClosePidfd(process);
}

CommandOutput RunCommand(const std::vector<std::string>& argv, int timeoutSeconds) {
    int outPipe[2], errPipe[2];
    if (::pipe2(outPipe, O_CLOEXEC) != 0)
        throw InputError("Cannot make a pipe: " + ErrorText(errno));
    Fd outRead{outPipe[0]}, outWrite{outPipe[1]};
    if (::pipe2(errPipe, O_CLOEXEC) != 0)
        throw InputError("Cannot make a pipe: " + ErrorText(errno));
    Fd errRead{errPipe[0]}, errWrite{errPipe[1]};
    SpawnSettings settings(Apart::kGroup);
    settings.Output(outWrite.fd, errWrite.fd);
    pid_t pid = -1;
    if (const int error = settings.Spawn(pid, argv, true); error != 0)
        throw InputError("Cannot run " + argv[0] + ": " + ErrorText(error));
    outWrite.Close();
    errWrite.Close();

    CommandOutput output;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    bool killed = false;
    pollfd fds[2] = {{outRead.fd, POLLIN, 0}, {errRead.fd, POLLIN, 0}};
    std::string* sinks[2] = {&output.out, &output.err};
    while (fds[0].fd >= 0 || fds[1].fd >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0 && !killed) {
            ::kill(-pid, SIGKILL);
            killed = true;
        }
        // A process that left the group may hold the pipes open: it is not waited for.
        if (killed && left < -kAfterKillMs) break;
        if (::poll(fds, 2, killed ? 1000 : static_cast<int>(std::min<long long>(left, 1000))) < 0 &&
            errno != EINTR)
            break;
        for (int k = 0; k < 2; ++k) {
            if (fds[k].fd < 0 || fds[k].revents == 0) continue;
            char buffer[4096];
            const ssize_t n = ::read(fds[k].fd, buffer, sizeof buffer);
            if (n > 0)
                sinks[k]->append(buffer, static_cast<size_t>(n));
            else if (n == 0 || errno != EINTR)
                fds[k].fd = -1;
        }
    }
    int status = 0;
    Reap(pid, &status);
    const SolverEnd end = EndOf(status);
    output.status = end.kind == SolverEnd::Kind::kSignalled ? 128 + end.value : end.value;
    if (killed)
        output.err +=
            argv[0] + " did not answer within " + text::FormatInt(timeoutSeconds) + " s\n";
    return output;
}

} // namespace vandra::motion
