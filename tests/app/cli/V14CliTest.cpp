// vandra-cli v14: the converted text to a file or to standard output, the log on standard error.
#include "CliTestSupport.h"
#include "convert/V14TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace cli_test;

namespace {

std::string CubeV6Text() {
    std::string text;
    for (const std::string& line : v14_test::CubeV6Lines())
        text += line + "\r\n";
    return text;
}

const char* const kLog = "VANDRA import Sap2000 V14 S2k file\nNJOINT = 8\nNSOLID = 1\nFinish!!\n";

} // namespace

TEST(V14Cli, WritesTheConvertedTextToAFileOrToStandardOutput) {
    const std::string input = WriteTempFile("cube_v14.s2k", v14_test::CubeFile());
    const std::string output = TempPath("cube_v6.s2k");
    std::remove(output.c_str());

    const CliRun toFile = RunCli("v14 '" + input + "' -o '" + output + "'");
    EXPECT_EQ(toFile.status, 0) << toFile.err;
    EXPECT_TRUE(toFile.out.empty());
    EXPECT_EQ(toFile.err, kLog);
    EXPECT_TRUE(ReadFile(output) == CubeV6Text());

    const CliRun toStdout = RunCli("v14 '" + input + "'");
    EXPECT_EQ(toStdout.status, 0) << toStdout.err;
    EXPECT_TRUE(toStdout.out == CubeV6Text());
    EXPECT_EQ(toStdout.err, kLog);

    // The converted file is a model the other commands read.
    const CliRun info = RunCli("info '" + output + "'");
    EXPECT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find('8'), std::string::npos);
}

TEST(V14Cli, ErrorsExitWithTheirMessage) {
    std::string bad = v14_test::CubeFile();
    bad.replace(bad.find("XorR=1000"), 9, "XorR=1e3x");
    const std::string input = WriteTempFile("bad_v14.s2k", bad);
    const std::string output = TempPath("bad_v6.s2k");
    std::remove(output.c_str());
    const struct {
        std::string args;
        int status;
        std::string message;
    } cases[] = {
        {"v14 '" + input + "' -o '" + output + "'", 1,
         "Line 8 (JOINT COORDINATES): '1e3x' is not a valid floating point value\n"},
        {"v14 '" + input + "' -o '" + input + "'", 2,
         "vandra-cli: v14: -o names the input file; choose another output file\n"},
        {"v14", 2, "vandra-cli: v14 takes one FILE [-o OUT]\n"},
        {"v14 '" + TempPath("missing.s2k") + "'", 1,
         "Cannot open file \"" + TempPath("missing.s2k") + "\"\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = RunCli(c.args);
        EXPECT_EQ(run.status, c.status) << c.args;
        EXPECT_EQ(run.err, c.message) << c.args;
        EXPECT_TRUE(run.out.empty()) << c.args;
    }
    EXPECT_TRUE(ReadFile(output).empty()); // nothing written on an error
}
