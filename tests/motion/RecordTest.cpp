// Reading ground-motion records: what a file holds, and every way a file is refused.
#include "motion/Record.h"
#include "CaseFile.h"
#include "MotionTestSupport.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace vandra::motion {
namespace {

using testing::WithPath;
using testing::WriteScratchFile;

const std::string kHeader = "PEER NGA STRONG MOTION DATABASE RECORD\n"
                            "IMPERIAL VALLEY 10/15/79, EL CENTRO ARRAY #6, 230\n"
                            "ACCELERATION TIME SERIES IN UNITS OF G\n";

std::string ReadError(const RecordSource& source) {
    try {
        ReadRecord(source);
    } catch (const InputError& e) {
        return e.what();
    }
    return "(read)";
}

RecordSource Peer(const std::string& path) {
    return RecordSource{path, RecordFormat::kPeer, 0, 1, 0};
}

RecordSource Columns(const std::string& path, int column = 2, int skip = 1) {
    return RecordSource{path, RecordFormat::kColumns, 0.01, column, skip};
}

TEST(Record, ReadsTheValuesAndTheTimeStep) {
    const struct {
        const char* name;
        std::string content;
        bool peer;
        int column, skip;
        double dt;
        std::vector<double> values;
    } cases[] = {
        {"peer_crlf.AT2",
         kHeader + "NPTS=     7, DT=   .0050 SEC,\r\n  .1E-02  -.2E-02 3.0\r\n\r\n 4 5\r\n-6 7\r\n",
         true,
         1,
         0,
         0.005,
         {0.001, -0.002, 3, 4, 5, -6, 7}},
        {"peer_old_form.AT2",
         kHeader + "    3    .0100    NPTS, DT\n0.5 -0.25\n0.125",
         true,
         1,
         0,
         0.01,
         {0.5, -0.25, 0.125}},
        {"peer_lower_case.at2", kHeader + "npts=2 dt=0.02 sec\n1 2\n", true, 1, 0, 0.02, {1, 2}},
        {"columns.csv",
         "time,accel\n0,0.1\n0.01,-0.2\n\n0.02,0.3\n",
         false,
         2,
         1,
         0.01,
         {0.1, -0.2, 0.3}},
        {"one_column.txt", "0.5\n-1.5E-01\n  2", false, 1, 0, 0.01, {0.5, -0.15, 2}},
    };
    for (const auto& c : cases) {
        const std::string path = WriteScratchFile(c.name, c.content);
        const Record r = ReadRecord(c.peer ? Peer(path) : Columns(path, c.column, c.skip));
        EXPECT_EQ(r.dt, c.dt) << c.name;
        EXPECT_EQ(r.accel, c.values) << c.name;
    }
}

// The refusals of tests/cases/motion/record-refusals.case, and a line too long to read.
TEST(Record, RefusesMalformedFilesNamingFileLineAndToken) {
    int n = 0;
    for (const testing::TestCase& c : testing::ReadCases("motion/record-refusals.case")) {
        const std::string path = WriteScratchFile(
            "bad" + std::to_string(n++) + ".AT2",
            (c.Has("header") ? kHeader : "") + testing::Unescaped(c.One("text")));
        const bool peer = c.One("format") == "peer";
        EXPECT_EQ(ReadError(peer ? Peer(path) : Columns(path)), WithPath(c.One("error"), path))
            << c.where;
    }
    const std::string path = WriteScratchFile(
        "long.AT2", kHeader + "NPTS= 2, DT= .01\n" + std::string(1100000, ' ') + "1 2\n");
    EXPECT_EQ(ReadError(Peer(path)), WithPath("<f>, line 5: longer than 1048576 characters", path));
}

TEST(Record, RefusesWhatIsNotARegularFileWithoutOpeningIt) {
    const std::string dir = testing::ProcessTempDir() + "/record_folder.AT2";
    std::filesystem::create_directories(dir);
    const std::string fifo = testing::ProcessTempDir() + "/record_fifo.AT2";
    std::filesystem::remove(fifo);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string missing = testing::ProcessTempDir() + "/no_such.AT2";
    // A FIFO without a writer would block an open for reading: the test ends only if it does not.
    EXPECT_EQ(ReadError(Peer(fifo)), fifo + " is not a regular file");
    EXPECT_EQ(ReadError(Columns(dir)), dir + " is not a regular file");
    EXPECT_EQ(ReadError(Peer(missing)),
              "Cannot open the record \"" + missing + "\": No such file or directory");
}

} // namespace
} // namespace vandra::motion
