#include "motion/MotionFile.h"

#include "model/Errors.h"
#include "model/NumberText.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace vandra::motion {
namespace {

constexpr size_t kChunk = 64 * 1024;

[[noreturn]] void CannotOpen(const std::string& path, std::string_view what, int error) {
    throw InputError("Cannot open the " + std::string(what) + " \"" + path +
                     "\": " + std::strerror(error));
}

// Opens path for reading when it names a regular file. The first stat gives the message before
// anything is opened; the file is then opened without waiting (a FIFO put in its place meanwhile
// would otherwise block) and checked again through its descriptor.
int OpenRegular(const std::string& path, std::string_view what, long long& size) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) CannotOpen(path, what, errno);
    if (!S_ISREG(st.st_mode)) throw InputError(path + " is not a regular file");
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) CannotOpen(path, what, errno);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw InputError(path + " is not a regular file");
    }
    size = static_cast<long long>(st.st_size);
    if (size == 0) {
        ::close(fd);
        throw InputError(path + ": the file is empty");
    }
    return fd;
}

// Reads up to n bytes; 0 at the end of the file.
size_t ReadSome(int fd, char* data, size_t n, const std::string& path) {
    for (;;) {
        const ssize_t got = ::read(fd, data, n);
        if (got >= 0) return static_cast<size_t>(got);
        if (errno != EINTR)
            throw InputError("Cannot read \"" + path + "\": " + std::strerror(errno));
    }
}

} // namespace

LineReader::LineReader(const std::string& path, std::string_view what)
    : path_(path), fd_(OpenRegular(path, what, size_)) {}

LineReader::~LineReader() {
    ::close(fd_);
}

bool LineReader::Fill() {
    if (end_) return false;
    if (begin_ > 0) {
        buffer_.erase(0, begin_);
        begin_ = 0;
    }
    const size_t old = buffer_.size();
    buffer_.resize(old + kChunk);
    const size_t got = ReadSome(fd_, buffer_.data() + old, kChunk, path_);
    buffer_.resize(old + got);
    if (got == 0) end_ = true;
    return got > 0;
}

bool LineReader::Next(std::string_view& line) {
    size_t scanned = 0; // the bytes after begin_ known to hold no line end
    for (;;) {
        const size_t nl = buffer_.find('\n', begin_ + scanned);
        if ((nl == std::string::npos ? buffer_.size() : nl) - begin_ > kMaxLineLength)
            throw InputError(path_ + ", line " + text::FormatInt(line_ + 1) + ": longer than " +
                             text::FormatInt(static_cast<long long>(kMaxLineLength)) +
                             " characters");
        if (nl != std::string::npos) {
            line = std::string_view(buffer_).substr(begin_, nl - begin_);
            begin_ = nl + 1;
            break;
        }
        scanned = buffer_.size() - begin_;
        if (!Fill()) {
            if (begin_ >= buffer_.size()) return false;
            line = std::string_view(buffer_).substr(begin_);
            begin_ = buffer_.size();
            break;
        }
    }
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++line_;
    return true;
}

std::string ReadSmallFile(const std::string& path, std::string_view what, size_t maxBytes) {
    long long size = 0;
    const int fd = OpenRegular(path, what, size);
    std::string text;
    try {
        if (static_cast<unsigned long long>(size) > maxBytes)
            throw InputError(path + ": larger than " +
                             text::FormatInt(static_cast<long long>(maxBytes)) + " bytes");
        text.resize(static_cast<size_t>(size));
        size_t got = 0;
        while (got < text.size()) {
            const size_t n = ReadSome(fd, text.data() + got, text.size() - got, path);
            if (n == 0) break;
            got += n;
        }
        text.resize(got);
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
    return text;
}

std::string ReadFileTail(const std::string& path, size_t maxBytes) {
    long long size = 0;
    int fd = -1;
    try {
        fd = OpenRegular(path, "log", size);
    } catch (const InputError&) {
        return {};
    }
    const long long start = std::max(0LL, size - static_cast<long long>(maxBytes));
    std::string tail(static_cast<size_t>(size - start), '\0');
    size_t got = 0;
    while (got < tail.size()) {
        const ssize_t n = ::pread(fd, tail.data() + got, tail.size() - got,
                                  static_cast<off_t>(start + static_cast<long long>(got)));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    tail.resize(got);
    return tail;
}

std::string PathBeside(const std::string& file, const std::string& written) {
    const std::filesystem::path p(written);
    if (p.is_absolute()) return p.lexically_normal().string();
    const std::filesystem::path folder = std::filesystem::absolute(file).parent_path();
    return (folder / p).lexically_normal().string();
}

std::string PathFrom(const std::string& file, const std::string& path) {
    const std::filesystem::path folder = std::filesystem::absolute(file).parent_path();
    const std::filesystem::path target = std::filesystem::absolute(path).lexically_normal();
    const std::filesystem::path relative = target.lexically_relative(folder.lexically_normal());
    return relative.empty() ? target.string() : relative.string();
}

} // namespace vandra::motion
