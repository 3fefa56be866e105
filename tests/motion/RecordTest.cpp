// Reading ground-motion records: what a file holds, and every way a file is refused.
#include "motion/Record.h"
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

TEST(Record, RefusesMalformedFilesNamingFileLineAndToken) {
    const struct {
        std::string content;
        bool peer;
        const char* message;
    } cases[] = {
        {"", true, "<f>: the file is empty"},
        {"A\nB\n", true,
         "<f>: the file ends after line 2, within the four header lines of a PEER record"},
        {"A\nB\nC", true,
         "<f>: the file ends after line 3, within the four header lines of a PEER record"},
        {"A\nB\nVELOCITY TIME SERIES IN UNITS OF CM/S\nNPTS= 1, DT= .01\n1\n", true,
         "<f>, line 3: not an acceleration record: 'VELOCITY TIME SERIES IN UNITS OF CM/S'"},
        {kHeader + "DT= .01 SEC\n1\n", true, "<f>, line 4: no NPTS= in 'DT= .01 SEC'"},
        {kHeader + "NPTS= 1,\n1\n", true, "<f>, line 4: no DT= in 'NPTS= 1,'"},
        {kHeader + "NPTS= 1O, DT= .01\n1\n", true,
         "<f>, line 4, NPTS: '1O' is not a valid integer value"},
        {kHeader + "NPTS= , DT= .01\n1\n", true,
         "<f>, line 4, NPTS: '' is not a valid integer value"},
        {kHeader + "NPTS= 0, DT= .01\n", true,
         "<f>, line 4, NPTS: '0' is not a positive number of values"},
        {kHeader + "NPTS= 10000001, DT= .01\n1\n", true,
         "<f>, line 4, NPTS: 10000001 values are more than the 10000000 a record may have"},
        {kHeader + "NPTS= 1, DT= .0O5 SEC\n1\n", true,
         "<f>, line 4, DT: '.0O5' is not a valid floating point value"},
        {kHeader + "NPTS= 1, DT= 0.000 SEC\n1\n", true,
         "<f>, line 4, DT: '0.000' is not a positive time step"},
        {kHeader + "NPTS= 1, DT= -.01 SEC\n1\n", true,
         "<f>, line 4, DT: '-.01' is not a positive time step"},
        {kHeader + "NPTS= 5, DT= .01\n1 2\n3 4\n", true,
         "<f>, line 6: the file ends after 4 of NPTS=5 values"},
        {kHeader + "NPTS= 3, DT= .01\n1 2\n\n3 4\n", true,
         "<f>, line 7: '4' is value 4, beyond NPTS=3"},
        {kHeader + "NPTS= 3, DT= .01\n1 x 3\n", true,
         "<f>, line 5: 'x' is not a valid floating point value"},
        {kHeader + "NPTS= 3, DT= .01\n1 2\n1e999\n", true,
         "<f>, line 6: '1e999' is not a valid floating point value"},
        {kHeader + "NPTS= 2, DT= .01\nnan inf\n", true,
         "<f>, line 5: 'nan' is not a valid floating point value"},
        {kHeader + "NPTS= 2, DT= .01\n" + std::string(1100000, ' ') + "1 2\n", true,
         "<f>, line 5: longer than 1048576 characters"},
        {"t a\n", false, "<f>: no values"},
        {"t a\n\n", false, "<f>: no values"},
        {"t a\n0 1\n0.01\n", false, "<f>, line 3: '0.01' does not have the 2 columns of line 2"},
        {"t a\n0 1\n0.01 2 3\n", false,
         "<f>, line 3: '0.01 2 3' does not have the 2 columns of line 2"},
        {"t a\n0\n", false, "<f>, line 2: no column 2 in '0'"},
        {"t a\n0 1\n0.01 -\n", false, "<f>, line 3: '-' is not a valid floating point value"},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string path = WriteScratchFile("bad" + std::to_string(n++) + ".AT2", c.content);
        EXPECT_EQ(ReadError(c.peer ? Peer(path) : Columns(path)), WithPath(c.message, path));
    }
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
