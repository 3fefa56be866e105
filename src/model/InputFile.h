// Opening the files a command reads (a model, a project, a recorder file, a record) without
// trusting the path: only a regular file is read. A FIFO would block the program until another
// one writes to it, a device may never end, a directory has no text; each is refused, named for
// what it is, before anything is read. Each reader words its own messages from what OpenInputFile
// found.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vandra {

// A file opened for reading, closed when it goes.
class InputFile {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(InputFile&& other) noexcept;
    InputFile& operator=(InputFile&& other) noexcept;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // True when a regular file is open.
    bool IsOpen() const { return fd_ >= 0; }
    // errno of the failed open (ENOENT, EACCES); 0 when it opened or is not a regular file.
    int Error() const { return error_; }
    // What the path names when it is not a regular file: "a directory", "a FIFO", "a character
    // device", "a block device", "a socket"; empty otherwise.
    std::string_view Kind() const { return kind_; }
    // The size of the file when it was opened.
    long long Size() const { return size_; }

    // Reads up to n bytes into out; returns how many, 0 at the end of the file. False (errno set)
    // on a read error.
    bool Read(char* out, size_t n, size_t& got);
    // Moves to offset bytes from the start of the file. False (errno set) when it cannot.
    bool SeekTo(long long offset);
    // Reads the rest of the file onto the end of text (its size known, so one allocation).
    // False (errno set) on a read error.
    bool ReadAll(std::string& text);

private:
    friend InputFile OpenInputFile(const std::string& path);
    int fd_ = -1;
    int error_ = 0;
    std::string_view kind_;
    long long size_ = 0;
};

// Opens path for reading when it names a regular file (following symbolic links). The path is
// looked at before it is opened, then opened without waiting (a FIFO put in its place meanwhile
// would otherwise block) and looked at again through the open file.
InputFile OpenInputFile(const std::string& path);

} // namespace vandra
