// Suite files: what they say, every refusal naming the file and the key, and writing them back.
#include "motion/Suite.h"
#include "CaseFile.h"
#include "MotionTestSupport.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

namespace vandra::motion {
namespace {

using testing::ProcessTempDir;
using testing::WithPath;
using testing::WriteScratchFile;

std::string SuitePath() {
    return ProcessTempDir() + "/suites/suite.json";
}

std::string ParseError(const std::string& text) {
    std::vector<std::string> warnings;
    try {
        ParseSuite(text, SuitePath(), warnings);
    } catch (const InputError& e) {
        return e.what();
    }
    return "(read)";
}

// The refusals of tests/cases/motion/suite-refusals.case.
TEST(Suite, RefusesBadInputNamingFileAndKey) {
    for (const testing::TestCase& c : testing::ReadCases("motion/suite-refusals.case"))
        EXPECT_EQ(ParseError(testing::Unescaped(c.One("text"))),
                  WithPath(c.One("error"), SuitePath()))
            << c.where;
}

TEST(Suite, WarnsOfWhatItIgnores) {
    const struct {
        const char* text;
        std::vector<std::string> warnings;
    } cases[] = {
        {R"({"direction": 1, "records": ["a.AT2"], "factors": [1], "perod": 1})",
         {"<f>: unknown key \"perod\" ignored"}},
        {R"({"direction": 1, "records": [{"file": "g.txt", "dt": 0.01, "colum": 2}], "factors": [1]})",
         {"<f>, \"records\" entry 1: unknown key \"colum\" ignored"}},
        {R"({"direction": 1, "records": ["a.AT2"], "factors": [1], "period": 1, "damping": 0.02})",
         {"<f>, \"period\": used only with \"levels\"; ignored"}},
        {R"({"direction": 3, "records": ["a.AT2"], "levels": [1], "period": 1, "damping": 0.02})",
         {}},
        {R"({"direction": 1, "records": [{"file": "g.txt", "dt": 0.01, "column": 2},
                                         {"file": "g.txt", "dt": 0.01, "column": 3}], "factors": [1]})",
         {}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> warnings;
        ParseSuite(c.text, SuitePath(), warnings);
        std::vector<std::string> expected;
        for (const std::string& w : c.warnings)
            expected.push_back(WithPath(w, SuitePath()));
        EXPECT_EQ(warnings, expected) << c.text;
    }
}

// Paths are relative to the suite file: read there, written elsewhere, read again, the suite
// names the same files.
TEST(Suite, WrittenElsewhereNamesTheSameRecords) {
    const std::string path = WriteScratchFile("suites/levels.json",
                                              R"({"direction": 2,
            "records": ["rsn1.AT2", "../records/rsn2.AT2",
                        {"file": "gm.txt", "dt": 0.005, "column": 2, "skip": 3}],
            "levels": [0.2, 0.45, 1.5], "period": 0.8})");
    std::vector<std::string> warnings;
    const Suite suite = ReadSuiteFile(path, warnings);
    EXPECT_TRUE(warnings.empty());
    const std::string dir = ProcessTempDir();
    ASSERT_EQ(suite.records.size(), 3u);
    EXPECT_EQ(suite.records[0],
              (RecordSource{dir + "/suites/rsn1.AT2", RecordFormat::kPeer, 0, 1, 0}));
    EXPECT_EQ(suite.records[1].path, dir + "/records/rsn2.AT2");
    EXPECT_EQ(suite.records[2],
              (RecordSource{dir + "/suites/gm.txt", RecordFormat::kColumns, 0.005, 2, 3}));
    EXPECT_EQ(suite.kind, IntensityKind::kLevel);
    EXPECT_EQ(suite.intensities, (std::vector<double>{0.2, 0.45, 1.5}));
    EXPECT_EQ(suite.period, 0.8);
    EXPECT_EQ(suite.damping, kDefaultDamping);

    const std::string moved = dir + "/project/deep/suite.json";
    std::filesystem::create_directories(dir + "/project/deep");
    WriteSuiteFile(suite, moved);
    EXPECT_EQ(ReadSuiteFile(moved, warnings), suite);
    EXPECT_EQ(SuiteText(suite, moved),
              "{\n"
              "  \"direction\": 2,\n"
              "  \"records\": [\n"
              "    \"../../suites/rsn1.AT2\",\n"
              "    \"../../records/rsn2.AT2\",\n"
              "    {\"file\": \"../../suites/gm.txt\", \"dt\": 0.005, \"column\": 2, \"skip\": 3}\n"
              "  ],\n"
              "  \"levels\": [0.2, 0.45, 1.5],\n"
              "  \"period\": 0.8,\n"
              "  \"damping\": 0.05\n"
              "}\n");

    Suite factors = suite;
    factors.kind = IntensityKind::kFactor;
    factors.period.reset();
    factors.damping = 0.02; // the building's damping: kept with factors too
    factors.records[0].path = dir + "/odd \"name\\.AT2";
    WriteSuiteFile(factors, path);
    EXPECT_EQ(ReadSuiteFile(path, warnings), factors);
}

} // namespace
} // namespace vandra::motion
