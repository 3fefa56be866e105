// vandra-cli suite writes a suite's folder for a model or a project that names its suite (what the
// runs compute is checked with the solver in tests/solver), refuses what cannot give one, and
// suite-results --plot draws the curves.
#include "CliTestSupport.h"

#include "motion/Manifest.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace cli_test;
namespace fs = std::filesystem;

namespace {

TEST(SuiteWriteCli, WritesTheFolderAndRefusesWhatGivesNoSuite) {
    const std::string record = WriteTempFile("gm.txt", "0\n0.1\n-0.05\n0\n");
    const std::string suite = WriteTempFile(
        "suite.json", R"({"direction": 1, "records": [{"file": ")" + record +
                          R"(", "dt": 0.01}, "absent.AT2"], "levels": [0.2, 0.4], "period": 0.4})");
    const std::string dir = TempPath("written");
    fs::remove_all(dir);
    const std::string example = "'" + SourcePath("examples/two_storey_frame.s2k") + "'";
    const std::string args = "suite " + example + " --suite '" + suite + "' --out '" + dir + "'";

    // A project keeps the suite's path and the analysis type; suite takes both from it.
    const std::string project = TempPath("frame.vandra");
    ASSERT_EQ(RunCli("save-project " + example + " -o '" + project + "' --suite '" + suite +
                     "' --set AnalysisType=6")
                  .status,
              0);
    const CliRun written = RunCli("suite '" + project + "' --out '" + dir + "'");
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_TRUE(written.err.starts_with("2 runs written to " + dir)) << written.err;
    EXPECT_NE(written.err.find("run_004_absent_L2: Cannot open the record"), std::string::npos)
        << written.err;
    const vandra::motion::Manifest m = vandra::motion::ReadManifest(dir + "/manifest.json");
    ASSERT_EQ(m.runs.size(), 4u);
    // The record's four values are three steps of 0.01 s.
    EXPECT_NE(ReadFile(dir + "/" + m.runs[1].folder + "/run.tcl")
                  .find("\nRunGroundMotion ../records/record_1.txt 0.01 3 "),
              std::string::npos);
    EXPECT_FALSE(fs::exists(dir + "/" + m.runs[2].folder));

    const struct {
        std::string args;
        int status;
        std::string message;
    } refused[] = {
        {args + " --set AnalysisType=6", 1, "already holds a suite (manifest.json)"},
        {"suite " + example + " --out x", 2,
         "suite needs --suite SUITE.json (or a project that names a suite)"},
        {"suite " + example + " --suite '" + suite + "' --out '" + dir + "_type1'", 1,
         "A ground-motion suite runs a time history: Analysis Type (AnalysisType) is 1, it must "
         "be 5, 6 or 7"},
        {"suite-results '" + dir + "' --plot curves.csv", 2, "--plot draws a .png or an .svg"},
    };
    for (const auto& c : refused) {
        const CliRun run = RunCli(c.args);
        EXPECT_EQ(run.status, c.status) << c.args << "\n" << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << "\n" << run.err;
    }

    // The curves of a suite without results yet: a PNG of the plot's size, and an SVG.
    const std::string png = TempPath("ida.png"), svg = TempPath("ida.svg");
    EXPECT_EQ(RunCli("suite-results '" + dir + "' --plot '" + png + "'").status, 0);
    const std::string header = ReadFile(png).substr(0, 24);
    ASSERT_EQ(header.size(), 24u);
    EXPECT_EQ(header.substr(12, 12), std::string("IHDR\0\0\x03\xe8\0\0\x02\xbc", 12)); // 1000x700
    EXPECT_EQ(RunCli("suite-results '" + dir + "' --plot '" + svg + "'").status, 0);
    EXPECT_NE(ReadFile(svg).find("<svg"), std::string::npos);
}

} // namespace
