#include "model/AtomicFile.h"

#include "model/Errors.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace vandra {
namespace {

[[noreturn]] void Fail(const std::string& path, int error) {
    throw InputError("Cannot write file \"" + path + "\". " + std::strerror(error));
}

bool WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        content.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// The file a rename must replace: the target, or the file its symbolic link points to.
std::string Replaced(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) return path; // a dangling link is replaced
    return resolved;
}

std::mutex& ProtectedMutex() {
    static std::mutex mutex;
    return mutex;
}

std::vector<ReadInput>& Protected() {
    static std::vector<ReadInput> inputs;
    return inputs;
}

void RefuseProtected(const std::string& path) {
    const std::lock_guard<std::mutex> lock(ProtectedMutex());
    if (const ReadInput* input = InputReplacedBy(path, Protected()))
        throw InputError("Cannot write file \"" + path + "\". It is " + input->Role + " \"" +
                         input->Path + "\", which was read; choose another file");
}

} // namespace

const ReadInput* InputReplacedBy(const std::string& output, std::span<const ReadInput> inputs) {
    struct stat out {};
    if (::stat(output.c_str(), &out) != 0) return nullptr;
    for (const ReadInput& input : inputs) {
        struct stat in {};
        if (::stat(input.Path.c_str(), &in) == 0 && in.st_dev == out.st_dev &&
            in.st_ino == out.st_ino)
            return &input;
    }
    return nullptr;
}

void ProtectInputs(std::vector<ReadInput> inputs) {
    const std::lock_guard<std::mutex> lock(ProtectedMutex());
    Protected() = std::move(inputs);
}

AtomicOutput::AtomicOutput(const std::string& path) : path_(path), replaced_(Replaced(path)) {
    RefuseProtected(path);
    struct stat old {};
    const bool exists = ::stat(replaced_.c_str(), &old) == 0;
    if (exists && (S_ISCHR(old.st_mode) || S_ISBLK(old.st_mode) || S_ISFIFO(old.st_mode) ||
                   S_ISSOCK(old.st_mode))) {
        direct_ = true;
        return;
    }
    temp_ = replaced_ + ".XXXXXX";
    const int fd = ::mkstemp(temp_.data());
    if (fd < 0) Fail(path_, errno);
    open_ = true;
    // A new file gets the permissions an ordinary create would give; a replaced one keeps its own.
    mode_t mode = 0;
    if (exists) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd, mode);
    ::close(fd);
}

AtomicOutput::~AtomicOutput() {
    Discard();
}

void AtomicOutput::Commit() {
    if (!open_) return;
    const int fd = ::open(temp_.c_str(), O_RDONLY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    const int syncError = errno;
    if (fd >= 0) ::close(fd);
    if (!synced) {
        Discard();
        Fail(path_, syncError);
    }
    if (::rename(temp_.c_str(), replaced_.c_str()) != 0) {
        const int error = errno;
        Discard();
        Fail(path_, error);
    }
    open_ = false;
}

void AtomicOutput::Discard() noexcept {
    if (!open_) return;
    ::unlink(temp_.c_str());
    open_ = false;
}

void AtomicOutput::Write(std::string_view content) {
    const int fd = ::open(WritePath().c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) Fail(path_, errno);
    const bool written = WriteAll(fd, content);
    const int writeError = errno;
    if (::close(fd) != 0 || !written) Fail(path_, written ? errno : writeError);
}

void WriteFileAtomically(const std::string& path, std::string_view content) {
    AtomicOutput output(path);
    output.Write(content);
    output.Commit();
}

} // namespace vandra
