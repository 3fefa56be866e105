// Writing a whole file so that a failure never leaves a truncated one: the bytes go to a temporary
// file beside the target, which is renamed over the target only when everything was written.
//
// A target that is a device or a FIFO (/dev/null, a pipe to another program) has no contents to
// keep and must not be replaced by a regular file: it is written directly. A target that is a
// symbolic link keeps its link; the file it points to is replaced.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vandra {

// A file that the open work was read from (a model file, a project, the project's model file):
// no output may replace it.
struct ReadInput {
    std::string Path;
    std::string Role; // what it is, for messages: "the model file"
};

// The input that writing to `output` would replace, or nullptr. Files are compared by identity
// (device and inode), so another name of the same file ("./m.s2k", a link to it) is found too; an
// output that does not exist yet replaces nothing.
const ReadInput* InputReplacedBy(const std::string& output, std::span<const ReadInput> inputs);

// The inputs of what is open, which every output below refuses to replace (InputError "Cannot
// write file "<path>". It is <role> "<input>", which was read; choose another file"). The window
// and vandra-cli set them where they open a model; each call replaces the previous list.
void ProtectInputs(std::vector<ReadInput> inputs);

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
    // cannot be created or would replace a protected input (ProtectInputs).
    explicit AtomicOutput(const std::string& path);
    ~AtomicOutput();
    AtomicOutput(const AtomicOutput&) = delete;
    AtomicOutput& operator=(const AtomicOutput&) = delete;

    const std::string& Path() const { return path_; }
    const std::string& WritePath() const { return direct_ ? path_ : temp_; }
    // True when the target is written in place (a device or a FIFO).
    bool Direct() const { return direct_; }

    // Writes content to WritePath(). InputError naming the target when it cannot be written.
    void Write(std::string_view content);
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
