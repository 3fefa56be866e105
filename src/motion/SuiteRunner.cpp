#include "motion/SuiteRunner.h"

#include "model/Errors.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace vandra::motion {
namespace {

constexpr const char* kLockFile = "runner.lock";

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

SuiteRunner::SuiteRunner(const std::string& suiteDir)
    : dir_(std::filesystem::absolute(suiteDir).lexically_normal().string()) {
    if (dir_.size() > 1 && dir_.back() == '/') dir_.pop_back();
    manifestPath_ = dir_ + "/" + kManifestFile;
    // A folder without a manifest is no suite: refused before a lock file is left in it.
    if (!IsRegularFile(manifestPath_)) ReadManifest(manifestPath_);
    const std::string lockPath = dir_ + "/" + kLockFile;
    lock_.fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (lock_.fd < 0)
        throw InputError("Cannot write \"" + lockPath + "\": " + std::strerror(errno));
    if (::flock(lock_.fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        throw InputError(error == EWOULDBLOCK
                             ? "Another runner is working on the suite \"" + dir_ + "\""
                             : "Cannot lock \"" + lockPath + "\": " + std::strerror(error));
    }
    manifest_ = ReadManifest(manifestPath_);
    waiting_.assign(manifest_.runs.size(), 0);
    for (size_t run : RunsToDo(manifest_)) {
        ManifestRun& r = manifest_.runs[run];
        if (!manifest_.records[static_cast<size_t>(r.record)].problem.empty()) continue;
        if (r.status == RunStatus::kRunning) {
            r.status = RunStatus::kPending;
            changed_ = true;
        }
        todo_.push_back(run);
        waiting_[run] = 1;
    }
}

SuiteRunner::~SuiteRunner() = default;

SuiteRunner::Lock::~Lock() {
    if (fd >= 0) ::close(fd);
}

SuiteProgress SuiteRunner::Progress() const {
    SuiteProgress p;
    p.total = static_cast<int>(manifest_.runs.size());
    for (size_t i = 0; i < manifest_.runs.size(); ++i) {
        const ManifestRun& run = manifest_.runs[i];
        if (waiting_[i]) {
            ++p.waiting;
            continue;
        }
        switch (run.status) {
        case RunStatus::kDone:
            ++p.done;
            if (!run.result->converged) ++p.notConverged;
            break;
        case RunStatus::kFailed:
            ++p.failed;
            break;
        case RunStatus::kRunning:
            ++p.running;
            break;
        case RunStatus::kPending:
            ++p.waiting;
            break;
        }
    }
    return p;
}

std::string SuiteRunner::RunFolder(size_t run) const {
    return dir_ + "/" + manifest_.runs[run].folder;
}

std::string SuiteRunner::PrepareRun(size_t run) const {
    const std::string folder = RunFolder(run);
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return "The run folder \"" + folder + "\" is missing";
    if (!IsRegularFile(folder + "/" + kRunScript))
        return "The run folder has no script " + std::string(kRunScript);
    const std::string outcome = folder + "/" + kRunOutcome;
    if (::unlink(outcome.c_str()) != 0 && errno != ENOENT)
        return "Cannot remove the outcome of an earlier run \"" + outcome +
               "\": " + std::strerror(errno);
    return {};
}

void SuiteRunner::MarkStarted(size_t run) {
    motion::MarkRunning(manifest_.runs[run]);
    waiting_[run] = 0;
    changed_ = true;
}

void SuiteRunner::MarkEnded(size_t run, const RunVerdict& verdict) {
    if (verdict.result)
        motion::MarkDone(manifest_.runs[run], *verdict.result);
    else
        motion::MarkFailed(manifest_.runs[run], verdict.reason);
    waiting_[run] = 0;
    changed_ = true;
}

void SuiteRunner::MarkNotStarted(size_t run, std::string reason) {
    MarkEnded(run, RunVerdict{std::nullopt, std::move(reason)});
}

void SuiteRunner::MarkWaiting(size_t run) {
    ManifestRun& r = manifest_.runs[run];
    r.status = RunStatus::kPending;
    r.reason.clear();
    r.result.reset();
    waiting_[run] = 1;
    changed_ = true;
}

void SuiteRunner::Save() {
    if (!changed_) return;
    WriteManifest(manifest_, manifestPath_);
    changed_ = false;
}

} // namespace vandra::motion
