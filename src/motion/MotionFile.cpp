#include "motion/MotionFile.h"

#include "model/Errors.h"
#include "model/InputFile.h"
#include "model/NumberText.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace vandra::motion {
namespace {

constexpr size_t kChunk = 64 * 1024;

[[noreturn]] void CannotOpen(const std::string& path, std::string_view what, int error) {
    throw InputError("Cannot open the " + std::string(what) + " \"" + path +
                     "\": " + std::strerror(error));
}

// Opens path for reading when it names a regular file that is not empty.
InputFile OpenRegular(const std::string& path, std::string_view what) {
    InputFile file = OpenInputFile(path);
    if (!file.Kind().empty()) throw InputError(path + " is not a regular file");
    if (!file.IsOpen()) CannotOpen(path, what, file.Error());
    if (file.Size() == 0) throw InputError(path + ": the file is empty");
    return file;
}

// Reads up to n bytes; 0 at the end of the file.
size_t ReadSome(InputFile& file, char* data, size_t n, const std::string& path) {
    size_t got = 0;
    if (!file.Read(data, n, got))
        throw InputError("Cannot read \"" + path + "\": " + std::strerror(errno));
    return got;
}

} // namespace

LineReader::LineReader(const std::string& path, std::string_view what)
    : path_(path), file_(OpenRegular(path, what)), size_(file_.Size()) {}

LineReader::~LineReader() = default;

bool LineReader::Fill() {
    if (end_) return false;
    if (begin_ > 0) {
        buffer_.erase(0, begin_);
        begin_ = 0;
    }
    const size_t old = buffer_.size();
    buffer_.resize(old + kChunk);
    const size_t got = ReadSome(file_, buffer_.data() + old, kChunk, path_);
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
    InputFile file = OpenRegular(path, what);
    if (static_cast<unsigned long long>(file.Size()) > maxBytes)
        throw InputError(path + ": larger than " +
                         text::FormatInt(static_cast<long long>(maxBytes)) + " bytes");
    std::string text(static_cast<size_t>(file.Size()), '\0');
    size_t got = 0;
    while (got < text.size()) {
        const size_t n = ReadSome(file, text.data() + got, text.size() - got, path);
        if (n == 0) break;
        got += n;
    }
    text.resize(got);
    return text;
}

std::string ReadFileTail(const std::string& path, size_t maxBytes) {
    InputFile file;
    try {
        file = OpenRegular(path, "log");
    } catch (const InputError&) {
        return {};
    }
    const long long start = std::max(0LL, file.Size() - static_cast<long long>(maxBytes));
    if (!file.SeekTo(start)) return {};
    std::string tail(static_cast<size_t>(file.Size() - start), '\0');
    size_t got = 0;
    while (got < tail.size()) {
        size_t n = 0;
        if (!file.Read(tail.data() + got, tail.size() - got, n) || n == 0) break;
        got += n;
    }
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
