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

// The suites of tests/cases/motion/suites.case: their exact refusal, or what they warn of.
TEST(Suite, RefusesBadInputNamingFileAndKeyAndWarnsOfWhatItIgnores) {
    for (const testing::TestCase& c : testing::ReadCases("motion/suites.case")) {
        std::vector<std::string> warnings, expected;
        for (const std::string& w : c.All("warning"))
            expected.push_back(WithPath(w, SuitePath()));
        std::string error;
        try {
            ParseSuite(testing::Unescaped(c.One("text")), SuitePath(), warnings);
            EXPECT_EQ(warnings, expected) << c.where;
        } catch (const InputError& e) {
            error = e.what();
        }
        EXPECT_EQ(error, c.Has("error") ? WithPath(c.One("error"), SuitePath()) : "") << c.where;
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
    const std::string text = SuiteText(suite, moved); // relative, so that the folders can move
    EXPECT_NE(text.find("\"../../records/rsn2.AT2\""), std::string::npos) << text;
    EXPECT_NE(text.find("{\"file\": \"../../suites/gm.txt\""), std::string::npos) << text;

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
