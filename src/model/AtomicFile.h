// Writing a whole file so that a failure never leaves a truncated one: the bytes go to a temporary
// file beside the target, which is renamed over the target only when everything was written.
//
// A target that is a device or a FIFO (/dev/null, a pipe to another program) has no contents to
// keep and must not be replaced by a regular file: it is written directly. A target that is a
// symbolic link keeps its link; the file it points to is replaced.
#pragma once

#include <string>
#include <string_view>

namespace vandra {

// Writes content to path atomically. InputError naming the file when it cannot be written; the
// previous file, if any, is then left as it was.
void WriteFileAtomically(const std::string& path, std::string_view content);

// A file that a writer of its own (an encoder opening a path) fills: WritePath() is a temporary
// file beside the target, created empty, or the target itself when that is a device or a FIFO.
// Commit() makes the written file the target; destroying the output uncommitted removes the
// temporary and leaves the target as it was.
class AtomicOutput {
public:
    // Creates the temporary file. InputError "Cannot write file "<path>". <reason>" when it
    // cannot be created.
    explicit AtomicOutput(const std::string& path);
    ~AtomicOutput();
    AtomicOutput(const AtomicOutput&) = delete;
    AtomicOutput& operator=(const AtomicOutput&) = delete;

    const std::string& Path() const { return path_; }
    const std::string& WritePath() const { return direct_ ? path_ : temp_; }
    // True when the target is written in place (a device or a FIFO).
    bool Direct() const { return direct_; }

    // Flushes the temporary to the disk and renames it over the target, which keeps its
    // permissions (a new file gets those of an ordinary create). InputError naming the target when
    // that fails; the temporary is then removed.
    void Commit();
    // Removes the temporary; the target stays as it was. Does nothing after Commit().
    void Discard() noexcept;

private:
    std::string path_;     // the name the caller gave
    std::string replaced_; // the file renamed over: the target, or what its link points to
    std::string temp_;
    bool direct_ = false;
    bool open_ = false; // a temporary exists and is neither committed nor discarded
};

} // namespace vandra
