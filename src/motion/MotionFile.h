// Opening the files of ground-motion work (records, suites, manifests) without trusting them: a
// path that is not a regular file (a folder, a FIFO, a device) is refused before it is read, so a
// FIFO never blocks the program, and no file is held in memory beyond a fixed size.
#pragma once

#include "model/InputFile.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace vandra::motion {

// The longest line a record may have.
constexpr size_t kMaxLineLength = size_t{1} << 20;

// Reads a file line by line through a fixed buffer. Lines end at LF; a CR before it is dropped.
// Throws InputError "Cannot open the <what> "<path>": <reason>", "<path> is not a regular file",
// "<path>: the file is empty" and "<path>, line <n>: longer than 1048576 characters".
class LineReader {
public:
    LineReader(const std::string& path, std::string_view what);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The next line without its line end; false after the last one.
    bool Next(std::string_view& line);
    // The number of the line Next gave last, from 1.
    long long LineNumber() const { return line_; }
    // The size of the file in bytes when it was opened.
    long long FileSize() const { return size_; }
    const std::string& Path() const { return path_; }

private:
    bool Fill();

    std::string path_;
    InputFile file_;
    long long size_ = 0;
    long long line_ = 0;
    std::string buffer_;
    size_t begin_ = 0;
    bool end_ = false;
};

// The whole text of a small file (a suite, a manifest): the same refusals as LineReader, and
// "<path>: larger than <maxBytes> bytes" beyond the given size.
std::string ReadSmallFile(const std::string& path, std::string_view what, size_t maxBytes);

// The last maxBytes bytes of a file (where a log says why a program stopped); empty when the file
// is not a regular file, is empty or cannot be read.
std::string ReadFileTail(const std::string& path, size_t maxBytes);

// Paths written in a suite or a manifest are relative to the folder of that file.
// PathBeside gives the path a written one stands for (an absolute one as it is), PathFrom the text
// to write for a path in the file at `file` (absolute when no relative path leads there).
std::string PathBeside(const std::string& file, const std::string& written);
std::string PathFrom(const std::string& file, const std::string& path);

} // namespace vandra::motion
