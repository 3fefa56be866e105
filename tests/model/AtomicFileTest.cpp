#include "model/AtomicFile.h"
#include "model/Errors.h"

#include "CaseFile.h"
#include "TestDevices.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace vandra;
using namespace vandra::testing;

namespace {

fs::path FreshDir(const char* name) {
    const fs::path dir = fs::temp_directory_path() / (std::string(name) + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

} // namespace

TEST(AtomicFile, ReplacesTheFileAndLeavesNoTemporary) {
    const fs::path dir = FreshDir("vandra_atomic_");
    const fs::path target = dir / "model.tcl";
    WriteFileAtomically(target.string(), "old\r\n");
    ::chmod(target.c_str(), 0640);
    WriteFileAtomically(target.string(), std::string("new\0text", 8));
    EXPECT_EQ(ReadText(target), std::string("new\0text", 8));
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    fs::remove_all(dir);
}

TEST(AtomicFile, FailedWriteKeepsTheOldFile) {
    if (::geteuid() == 0) {
        // root writes into read-only folders; a folder that does not exist fails for everyone
        const fs::path missing = fs::temp_directory_path() / "vandra_no_such_dir" / "x.tcl";
        EXPECT_THROW(WriteFileAtomically(missing.string(), "x"), InputError);
    }
    const fs::path dir = FreshDir("vandra_atomic_ro_");
    const fs::path target = dir / "model.tcl";
    WriteFileAtomically(target.string(), "kept");
    // A target that is a folder cannot be replaced by a file: the rename fails after the write.
    const fs::path folder = dir / "folder";
    fs::create_directories(folder / "inside");
    try {
        WriteFileAtomically(folder.string(), "x");
        ADD_FAILURE() << "writing over a folder must fail";
    } catch (const InputError& e) {
        EXPECT_NE(std::string(e.what()).find(folder.string()), std::string::npos) << e.what();
    }
    EXPECT_EQ(ReadText(target), "kept");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
    fs::remove_all(dir);
}

// Targets that are not plain files: devices and FIFOs are written in place and stay what they
// are; a symbolic link stays a link and the file it points to gets the content.
TEST(AtomicFile, SpecialTargetsKeepTheirKind) {
    const fs::path dir = FreshDir("vandra_atomic_special_");
    const fs::path file = dir / "real.tcl";
    const fs::path link = dir / "link.tcl";
    const fs::path fifo = dir / "pipe";
    WriteFileAtomically(file.string(), "old");
    fs::create_symlink(file, link);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string null = TestDevice(Device::Null, dir);
    const std::string full = TestDevice(Device::Full, dir);
    if (null.empty() || full.empty()) GTEST_SKIP() << "root may not make device nodes here";
    // The read end is open before the write (so the writer does not wait for a reader) and does
    // not block: a FIFO wrongly replaced by a file leaves it at once with nothing read.
    const int readEnd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(readEnd, 0);

    struct Case {
        fs::path path;
        fs::file_type kind; // what the path is before and after
        std::string error;  // the exact message, or empty
    } cases[] = {
        {null, fs::file_type::character, ""},
        {full, fs::file_type::character,
         "Cannot write file \"" + full + "\". No space left on device"},
        {link, fs::file_type::symlink, ""},
        {fifo, fs::file_type::fifo, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.string());
        try {
            WriteFileAtomically(c.path.string(), "new");
            EXPECT_EQ(c.error, "");
        } catch (const InputError& e) {
            EXPECT_EQ(e.what(), c.error);
        }
        EXPECT_EQ(fs::symlink_status(c.path).type(), c.kind);
    }
    char piped[8] = {};
    EXPECT_EQ(::read(readEnd, piped, sizeof piped), 3);
    ::close(readEnd);
    EXPECT_STREQ(piped, "new");
    EXPECT_EQ(ReadText(file), "new");
    // no temporary file is left beside any of them
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()),
              ::geteuid() == 0 ? 5 : 3);
    fs::remove_all(dir);
}
