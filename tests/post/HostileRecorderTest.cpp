// Recorder files that are no recorder files: each is refused at its first bad line, naming it,
// with the memory the reader takes bounded however large the file is.
#include "PostTestSupport.h"
#include "post/RecorderReaders.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>

using namespace vandra;
using vandra::testing::ErrorOf;
using vandra::testing::ScratchFolder;

namespace {

TModel OneJoint() {
    TModel m;
    m.Nodes.resize(2);
    m.NodeCount = 1;
    return m;
}

long PeakKilobytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

TEST(HostileRecorder, RefusedAtTheFirstBadLineNamingTheFile) {
    const ScratchFolder dir;
    const std::string node0 = dir.file("node0.out");
    const struct {
        const char* what;
        std::function<void()> make;
        std::string message;
    } cases[] = {
        {"a sparse file of NULs, 2 GB",
         [&] {
             dir.write("node0.out", "");
             std::filesystem::resize_file(node0, std::uintmax_t{2} << 30);
         },
         node0 + ", line 1: the byte 0x00 cannot stand in a recorder file"},
        {"escape bytes on line 2", [&] { dir.write("node0.out", "0.1 0 0 0\n0.2 \x1b[2J 0 0\n"); },
         node0 + ", line 2: the byte 0x1B cannot stand in a recorder file"},
        {"a line of 2 MB",
         [&] { dir.write("node0.out", "0.1 0 0 0\n" + std::string(2 << 20, ' ')); },
         node0 +
             ", line 2: longer than 1048576 characters, more than any recorder writes on a line"},
        {"a directory", [&] { std::filesystem::create_directory(node0); },
         node0 + " is a directory, not a result file"},
        {"a FIFO, which must not block", [&] { ::mkfifo(node0.c_str(), 0600); },
         node0 + " is a FIFO, not a result file"},
    };
    const long before = PeakKilobytes();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(node0);
        c.make();
        EXPECT_EQ(ErrorOf([&] { ReadNodeStep(OneJoint(), dir.path(), 1); }), c.message);
    }
    // The 2 GB file was refused after a piece of it: far less than its size was ever held.
    // (AddressSanitizer writes the shadow of the reserved room itself, an eighth of it.)
#ifndef __SANITIZE_ADDRESS__
    EXPECT_LT(PeakKilobytes() - before, 64 * 1024);
#else
    static_cast<void>(before);
#endif
    std::filesystem::remove_all(node0);
}
