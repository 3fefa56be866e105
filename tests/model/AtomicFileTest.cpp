#include "model/AtomicFile.h"
#include "model/Errors.h"
#include "model/ModelCheck.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace vandra;

namespace {

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

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
    EXPECT_EQ(Slurp(target), std::string("new\0text", 8));
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
    EXPECT_EQ(Slurp(target), "kept");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
    fs::remove_all(dir);
}

TEST(ModelCheck, OneLineFormOfAWarning) {
    EXPECT_EQ(FormatWarning({"a.s2k", 12, "frame 3 names section \"X\", which matches nothing",
                             "the frame gets no element"}),
              "a.s2k:12: frame 3 names section \"X\", which matches nothing; the frame gets no "
              "element");
    EXPECT_EQ(FormatWarning({"", 0, "name made inert", ""}), "name made inert");
}
