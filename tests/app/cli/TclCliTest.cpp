// vandra-cli tcl: the script as the dialog saves it, to a file or to standard output.
#include "CliTestSupport.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

using namespace cli_test;

namespace {

CliRun Tcl(const std::string& args) {
    return RunCli("tcl " + args);
}

const std::string kFrame = "'" + SourcePath("examples/two_storey_frame.s2k") + "'";

} // namespace

TEST(TclCli, WritesTheReferenceScriptToAFileOrToStandardOutput) {
    const std::string file = TempPath("tcl_cli.tcl");
    std::remove(file.c_str());
    const CliRun toFile = Tcl(kFrame + " -o '" + file + "'");
    EXPECT_EQ(toFile.status, 0) << toFile.err;
    EXPECT_TRUE(toFile.out.empty());
    const std::string golden = ReadFile(SourcePath("tests/tcl/golden/two_storey_frame_type1.tcl"));
    ASSERT_FALSE(golden.empty());
    EXPECT_TRUE(ReadFile(file) == golden); // CR LF lines, byte for byte

    const CliRun toStdout = Tcl(kFrame + " --set AnalysisType=4 --set RecOpt=1,1,1,1,1 "
                                         "--set ModalNumber=3 --set RecReactions=1 "
                                         "--set RecRotations=1 --set RecModalReport=1");
    EXPECT_EQ(toStdout.status, 0) << toStdout.err;
    EXPECT_TRUE(toStdout.out ==
                ReadFile(SourcePath("tests/tcl/golden/two_storey_frame_all_recorders.tcl")));
}

TEST(TclCli, SectionAssignmentsChangeTheElements) {
    const CliRun run = Tcl(kFrame + " --set Sections[EIPE400].FrameType=2 --set NumIntgrPts=4");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("\r\nelement nonlinearBeamColumn 13 7 8 4 3 13\r\n"), std::string::npos);
    EXPECT_EQ(run.out.find("element elasticBeamColumn 13 "), std::string::npos);
    EXPECT_NE(run.out.find("\r\n##EIPE400 \r\nsection Fiber 3 -GJ "), std::string::npos);
}

TEST(TclCli, RefusedArgumentsExitWithTheirMessage) {
    struct Case {
        std::string args;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {kFrame + " --set Bogus=1", 2, "unknown setting 'Bogus'"},
        {kFrame + " --set Sections[NOPE].FrameType=2", 2, "no frame section named 'NOPE'"},
        {kFrame + " --set LoadSteps=many", 2,
         "--set LoadSteps=many: 'many' is not a valid integer value"},
        {kFrame + " --set RecOpt=", 2, "--set RecOpt=: '' is not a valid integer value"},
        {kFrame + " --set LoadSteps=0", 1, "Load Steps must be at least 1"},
        {"", 2, "tcl takes one FILE.s2k"},
        {kFrame + " --colour", 2, "colour"},
    };
    for (const Case& c : cases) {
        const CliRun run = Tcl(c.args);
        EXPECT_EQ(run.status, c.status) << c.args;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << ": " << run.err;
        EXPECT_TRUE(run.out.empty()) << c.args;
    }
}
