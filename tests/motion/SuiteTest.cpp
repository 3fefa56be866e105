// Suite files: what they say, every refusal naming the file and the key, and writing them back.
#include "motion/Suite.h"
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

TEST(Suite, RefusesBadInputNamingFileAndKey) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {R"({"direction": 1, "records": ["a.AT2"], "factors": [1],})",
         "<f>, line 1, column 55: not valid JSON"},
        {"{\n  \"direction\": 1,\n  \"records\": [\"a.AT2\" \"b\"]}",
         "<f>, line 3, column 25: not valid JSON"},
        {"[1, 2]", "<f>: a suite (a JSON object) is expected"},
        {R"({"records": ["a.AT2"], "factors": [1]})", "<f>: \"direction\" is missing (1, 2 or 3)"},
        {R"({"direction": 4, "records": ["a.AT2"], "factors": [1]})",
         "<f>, \"direction\": 4 is not 1, 2 or 3"},
        {R"({"direction": 1.5, "records": ["a.AT2"], "factors": [1]})",
         "<f>, \"direction\": 1.5 is not a whole number"},
        {R"({"direction": 1, "factors": [1]})", "<f>: \"records\" is missing"},
        {R"({"direction": 1, "records": "a.AT2", "factors": [1]})",
         "<f>, \"records\": a list of record files is expected"},
        {R"({"direction": 1, "records": [], "factors": [1]})",
         "<f>, \"records\": the list is empty"},
        {R"({"direction": 1, "records": ["a.AT2", 3], "factors": [1]})",
         "<f>, \"records\" entry 2: a file name or {\"file\": ..., \"dt\": ...} is expected"},
        {R"({"direction": 1, "records": [""], "factors": [1]})",
         "<f>, \"records\" entry 1: the file name is empty"},
        {R"({"direction": 1, "records": [{"dt": 0.01}], "factors": [1]})",
         "<f>, \"records\" entry 1: \"file\" is missing"},
        {R"({"direction": 1, "records": [{"file": "g.txt", "dt": 0}], "factors": [1]})",
         "<f>, \"records\" entry 1, \"dt\": 0 is not a positive time step"},
        {R"({"direction": 1, "records": [{"file": "g.txt", "dt": 0.01, "column": 0}], "factors": [1]})",
         "<f>, \"records\" entry 1, \"column\": 0 is not a column number (1 or more)"},
        {R"({"direction": 1, "records": [{"file": "g.txt", "dt": 0.01, "skip": -1}], "factors": [1]})",
         "<f>, \"records\" entry 1, \"skip\": -1 is not a number of lines (0 or more)"},
        {R"({"direction": 1, "records": [{"file": "g.AT2", "column": 2}], "factors": [1]})",
         "<f>, \"records\" entry 1, \"column\": a column is read from a file with \"dt\""},
        {R"({"direction": 1, "records": ["a.AT2", "../suites/a.AT2"], "factors": [1]})",
         "<f>, \"records\" entry 2: \"../suites/a.AT2\" is already entry 1"},
        {R"({"direction": 1, "records": ["a.AT2"]})", "<f>: \"factors\" or \"levels\" is missing"},
        {R"({"direction": 1, "records": ["a.AT2"], "factors": [1], "levels": [0.2]})",
         "<f>: give \"factors\" or \"levels\", not both"},
        {R"({"direction": 1, "records": ["a.AT2"], "factors": []})",
         "<f>, \"factors\": the list is empty"},
        {R"({"direction": 1, "records": ["a.AT2"], "factors": 1})",
         "<f>, \"factors\": a list of numbers is expected"},
        {R"({"direction": 1, "records": ["a.AT2"], "factors": [0.5, -1]})",
         "<f>, \"factors\" entry 2: -1 is not a positive factor"},
        {R"({"direction": 1, "records": ["a.AT2"], "levels": [0.2, 0]})",
         "<f>, \"levels\" entry 2: 0 is not a positive level in g"},
        {R"({"direction": 1, "records": ["a.AT2"], "levels": [0.2, 1e999]})",
         "<f>: a number is too large to be read"},
        {R"({"direction": 1, "records": ["a.AT2"], "levels": ["0.2"]})",
         "<f>, \"levels\" entry 1: \"0.2\" is not a number"},
        {R"({"direction": 1, "records": ["a.AT2"], "levels": [0.2, 0.4, 0.20]})",
         "<f>, \"levels\" entry 3: 0.2 is already entry 1"},
        {R"({"direction": 1, "records": ["a.AT2"], "levels": [0.2], "period": -1})",
         "<f>, \"period\": -1 is not a positive period in seconds"},
        {R"({"direction": 1, "records": ["a.AT2"], "levels": [0.2], "damping": 1})",
         "<f>, \"damping\": 1 is not a damping ratio from 0 to less than 1"},
        {R"({"direction": 1, "direction": 2, "records": ["a.AT2"], "factors": [1]})",
         "<f>: the key \"direction\" is given twice"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseError(c.text), WithPath(c.message, SuitePath())) << c.text;
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
