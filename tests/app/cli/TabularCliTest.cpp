// vandra-cli on tabular SAP2000 files: the report on stderr, and convert to version 6 text.
#include "CliTestSupport.h"
#include "CorpusFiles.h"

#include <gtest/gtest.h>

using namespace cli_test;

namespace {

std::string Corpus(const std::string& name) {
    return "'" + vandra::testing::CorpusFile(name) + "'";
}

} // namespace

TEST(TabularCli, InfoReadsATabularFileAndReportsOnStderr) {
    if (!vandra::testing::HaveCorpus()) GTEST_SKIP() << "no corpus";
    const CliRun run = RunCli("info " + Corpus("building-pso.$2k"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Node 40\nFrame 60\nShell 0\nSolid 0\nMat 3\nFsec 20\nWsec 1\n");
    EXPECT_NE(run.err.find("Units: \"Kgf, cm, C\" converted to N, mm"), std::string::npos);
    EXPECT_NE(run.err.find("Rigid end zones: 58 frames"), std::string::npos);
}

// The version 6 text of each file imports back to the same counts; what it cannot hold is said.
TEST(TabularCli, ConvertWritesVersion6TextThatImportsBack) {
    if (!vandra::testing::HaveCorpus()) GTEST_SKIP() << "no corpus";
    const struct {
        const char* file;
        const char* lost;  // a phrase of stderr, or "" for none
        const char* check; // a phrase of the model check of the text read back, or "" for none
    } cases[] = {
        {"ofem-demo.s2k", "", ""},
        // Membrane sections have no shell element: the text read back says so again.
        {"building-pso.$2k", "first letter chooses another element type",
         "is not of type Shell (found 'Membrane' at field 7)"},
        {"bridge-ga.$2k", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string out = TempPath("converted.s2k");
        const CliRun convert = RunCli("convert " + Corpus(c.file) + " -o '" + out + "'");
        ASSERT_EQ(convert.status, 0) << convert.err;
        if (*c.lost != '\0') EXPECT_NE(convert.err.find(c.lost), std::string::npos) << convert.err;
        EXPECT_NE(ReadFile(out).find("\r\nJOINT\r\n"), std::string::npos);
        const CliRun original = RunCli("info " + Corpus(c.file));
        const CliRun back = RunCli("info '" + out + "'");
        EXPECT_EQ(back.status, 0) << back.err;
        EXPECT_EQ(back.out, original.out);
        if (*c.check == '\0')
            EXPECT_EQ(back.err, "");
        else
            EXPECT_NE(back.err.find(c.check), std::string::npos) << back.err;
    }
    EXPECT_EQ(RunCli("convert").status, 2);
}
