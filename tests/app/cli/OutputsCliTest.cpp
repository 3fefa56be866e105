// vandra-cli and what the import lets pass, failed writes, and file names as the system's bytes.
#include "CliTestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

using namespace cli_test;

namespace {

const std::string kFrame = "'" + SourcePath("examples/two_storey_frame.s2k") + "'";

// A model whose RESTRAINT header has a trailing blank and whose frame names a missing section.
const std::string kSuspect = "t\n"
                             "JOINT\n"
                             "  1  X=0  Y=0  Z=0\n"
                             "  2  X=0  Y=0  Z=3000\n"
                             "\n"
                             "RESTRAINT \n"
                             "  ADD=1  DOF=U1,U2,U3,R1,R2,R3\n"
                             "\n"
                             "FRAME\n"
                             "  1  J=1,2  SEC=NOPE  NSEG=2  ANG=0\n"
                             "\n";

TEST(OutputsCli, WarningsGoToStandardErrorOneLineEachWithTheStatusUnchanged) {
    const std::string path = WriteTempFile("suspect.s2k", kSuspect);
    for (const std::string command : {"info", "dump", "tcl"}) {
        const CliRun run = RunCli(command + " '" + path + "'");
        EXPECT_EQ(run.status, 0) << command << run.err;
        EXPECT_FALSE(run.out.empty()) << command;
        EXPECT_NE(run.err.find(path + ":6: header 'RESTRAINT ' differs from RESTRAINT only by "
                                      "case or blanks; read as the RESTRAINT section\n"),
                  std::string::npos)
            << command << ": " << run.err;
        EXPECT_NE(run.err.find(path + ":10: FRAME: frame 1 names section 'NOPE', which matches "
                                      "no frame section; no element is written for such a frame\n"),
                  std::string::npos)
            << command << ": " << run.err;
    }
    EXPECT_TRUE(RunCli("info " + kFrame).err.empty());
}

// Runs vandra-cli COMMAND on the frame model with standard output a pipe whose reader has gone.
int StatusIntoClosedPipe(const std::string& command) {
    int ends[2];
    if (::pipe(ends) != 0) return -1;
    ::close(ends[0]);
    const std::string model = SourcePath("examples/two_storey_frame.s2k");
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(ends[1], STDOUT_FILENO);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDERR_FILENO);
        ::execl(VANDRA_CLI_PATH, VANDRA_CLI_PATH, command.c_str(), model.c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(ends[1]);
    int raw = 0;
    ::waitpid(child, &raw, 0);
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TEST(OutputsCli, FailedWritesToStandardOutputExitWithOne) {
    for (const std::string command : {"info", "dump", "tcl"}) {
        const int full = std::system((std::string("'") + VANDRA_CLI_PATH + "' " + command + " " +
                                      kFrame + " >/dev/full 2>/dev/null")
                                         .c_str());
        EXPECT_TRUE(WIFEXITED(full) && WEXITSTATUS(full) == 1) << command << " " << full;
        EXPECT_EQ(StatusIntoClosedPipe(command), 1) << command;
    }
}

TEST(OutputsCli, RefusesBadArgumentsAsUsageErrorsNamingThem) {
    const std::string copy =
        WriteTempFile("copy.s2k", ReadFile(SourcePath("examples/two_storey_frame.s2k")));
    const std::string dir = TempPath("a_directory");
    ::mkdir(dir.c_str(), 0700);
    struct Case {
        std::string args;
        int status;
        std::string message;
    } cases[] = {
        {"tcl '" + copy + "' -o '" + copy + "'", 2, "names the model file itself"},
        {"render " + kFrame + " -o x.png --size axb", 2, "--size takes WxH"},
        {"tcl " + kFrame + " --set RecOpt=", 2, "--set RecOpt="},
        {"info '" + dir + "'", 1, "is a directory"},
        {"info /dev/null", 1, "\"/dev/null\" is a character device, not a model file"},
    };
    for (const Case& c : cases) {
        const CliRun run = RunCli(c.args);
        EXPECT_EQ(run.status, c.status) << c.args << ": " << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << ": " << run.err;
    }
    EXPECT_EQ(ReadFile(copy), ReadFile(SourcePath("examples/two_storey_frame.s2k")));
}

TEST(OutputsCli, FileNamesAreTheSystemsBytes) {
    // Two Latin-1 names that are not UTF-8: each opens, and each output goes to its own file.
    const std::string model =
        WriteTempFile("mod\xE8le.s2k", ReadFile(SourcePath("examples/two_storey_frame.s2k")));
    const std::string a = TempPath("sc\xE9nario.tcl"), b = TempPath("sc\xEAnario.tcl");
    EXPECT_EQ(RunCli("tcl '" + model + "' -o '" + a + "'").status, 0);
    EXPECT_EQ(RunCli("tcl '" + model + "' -o '" + b + "' --set RecOpt=1,1,1,1,1").status, 0);
    EXPECT_FALSE(ReadFile(a).empty());
    EXPECT_FALSE(ReadFile(b).empty());
    EXPECT_NE(ReadFile(a), ReadFile(b));
}

} // namespace
