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

// The reads of tests/cases/motion/record-reads.case, the refusals of record-refusals.case, and a
// line too long to read.
TEST(Record, ReadsTheValuesOrRefusesNamingFileLineAndToken) {
    int n = 0;
    for (const char* file : {"motion/record-reads.case", "motion/record-refusals.case"})
        for (const testing::TestCase& c : testing::ReadCases(file)) {
            const std::string path = WriteScratchFile(
                "record" + std::to_string(n++) + ".AT2",
                (c.Has("header") ? kHeader : "") + testing::Unescaped(c.One("text")));
            const RecordSource source =
                c.One("format") == "peer"
                    ? Peer(path)
                    : Columns(path, std::stoi(c.One("column", "2")), std::stoi(c.One("skip", "1")));
            if (c.Has("error")) {
                EXPECT_EQ(ReadError(source), WithPath(c.One("error"), path)) << c.where;
                continue;
            }
            std::vector<double> values;
            for (const std::string& v : testing::Words(c.One("values")))
                values.push_back(std::stod(v));
            const Record r = ReadRecord(source);
            EXPECT_EQ(r.dt, std::stod(c.One("dt"))) << c.where;
            EXPECT_EQ(r.accel, values) << c.where;
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
