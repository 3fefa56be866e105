#include "model/InputFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace vandra {
namespace {

std::string_view KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a directory";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

} // namespace

InputFile::~InputFile() {
    if (fd_ >= 0) ::close(fd_);
}

InputFile::InputFile(InputFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), error_(other.error_), kind_(other.kind_),
      size_(other.size_) {}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
        error_ = other.error_;
        kind_ = other.kind_;
        size_ = other.size_;
    }
    return *this;
}

bool InputFile::Read(char* out, size_t n, size_t& got) {
    for (;;) {
        const ssize_t r = ::read(fd_, out, n);
        if (r >= 0) {
            got = static_cast<size_t>(r);
            return true;
        }
        if (errno != EINTR) return false;
    }
}

bool InputFile::SeekTo(long long offset) {
    return ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) >= 0;
}

bool InputFile::ReadAll(std::string& text) {
    const size_t start = text.size();
    text.resize(start + static_cast<size_t>(size_) + 1);
    size_t at = start;
    for (;;) {
        if (at == text.size()) text.resize(text.size() * 2); // grown since it was opened
        size_t got = 0;
        if (!Read(text.data() + at, text.size() - at, got)) {
            text.resize(start);
            return false;
        }
        if (got == 0) break;
        at += got;
    }
    text.resize(at);
    return true;
}

InputFile OpenInputFile(const std::string& path) {
    InputFile file;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        file.error_ = errno;
        return file;
    }
    if (!S_ISREG(st.st_mode)) {
        file.kind_ = KindOf(st.st_mode);
        return file;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        file.error_ = errno;
        return file;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        file.kind_ = KindOf(st.st_mode);
        ::close(fd);
        return file;
    }
    // Reads of a regular file never wait; the flag only kept the open from blocking.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file.fd_ = fd;
    file.size_ = static_cast<long long>(st.st_size);
    return file;
}

} // namespace vandra
