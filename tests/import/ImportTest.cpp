#include "CorpusFiles.h"
#include "ImportTestSupport.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vandra;
using vandra::testing::ErrorOf;
using vandra::testing::Import;

namespace {

std::string Example(const char* name) {
    return std::string(VANDRA_SOURCE_DIR) + "/examples/" + name;
}

} // namespace

TEST(Import, AbsentSectionsGiveCountMinusOneAndEmptyTables) {
    // MASS is a section the import reads, yet it makes no table of its own.
    const TModel m = Import("SYSTEM\n  LENGTH=MM\n\nMASS\n\n");
    EXPECT_EQ(m.NodeCount, -1);
    EXPECT_TRUE(m.Nodes.empty());
    EXPECT_EQ(m.FrameCount, -1);
    EXPECT_TRUE(m.Frames.empty());
    EXPECT_EQ(m.ShellCount, -1);
    EXPECT_TRUE(m.Shells.empty());
    EXPECT_EQ(m.ShellCount1, 0);
    EXPECT_EQ(m.SolidCount, -1);
    EXPECT_TRUE(m.Solids.empty());
    EXPECT_EQ(m.SectionCount, -1);
    EXPECT_TRUE(m.Sections.empty());
    EXPECT_EQ(m.AreaSecCount, -1);
    EXPECT_TRUE(m.AreaSecs.empty());
    EXPECT_EQ(m.LoadCount, -1);
    EXPECT_TRUE(m.Loads.empty());
    EXPECT_EQ(m.DiaphCount, -1);
    EXPECT_TRUE(m.Diaphs.empty());
    const StatusCounts c = CountsOf(m);
    EXPECT_EQ(c.Node + c.Frame + c.Shell + c.Solid + c.Mat + c.Fsec + c.Wsec, 0);

    const TModel emptyJoints = Import("JOINT\n\n"); // a header without data lines
    EXPECT_EQ(emptyJoints.NodeCount, 0);
    EXPECT_EQ(emptyJoints.Nodes.size(), 1u);
}

TEST(Import, ExamplesImportWithTheExpectedCounts) {
    struct Case {
        const char* file;
        int node, frame, shell, shellCount, solid, mat, fsec, wsec, loads, cases, diaphs;
    } cases[] = {
        {"two_storey_frame.s2k", 21, 29, 0, -1, 0, 2, 7, 0, 21, 2, 2},
        {"slab_wall.s2k", 15, 0, 8, 8, 0, 1, 0, 2, 6, 2, -1},
        {"solid_block.s2k", 12, 0, 0, -1, 2, 1, 0, 0, 4, 1, -1},
    };
    for (const Case& c : cases) {
        const TModel m = ImportS2k(ReadS2kFile(Example(c.file)));
        const StatusCounts s = CountsOf(m);
        EXPECT_EQ(s.Node, c.node) << c.file;
        EXPECT_EQ(s.Frame, c.frame) << c.file;
        EXPECT_EQ(s.Shell, c.shell) << c.file;
        EXPECT_EQ(m.ShellCount, c.shellCount) << c.file;
        EXPECT_EQ(s.Solid, c.solid) << c.file;
        EXPECT_EQ(s.Mat, c.mat) << c.file;
        EXPECT_EQ(s.Fsec, c.fsec) << c.file;
        EXPECT_EQ(s.Wsec, c.wsec) << c.file;
        EXPECT_EQ(m.LoadCount, c.loads) << c.file;
        EXPECT_EQ(m.LoadCaseCount, c.cases) << c.file;
        EXPECT_EQ(m.DiaphCount, c.diaphs) << c.file;
        for (int k = 1; k <= m.LoadCount; ++k)
            EXPECT_NE(m.Loads[k].Kind, kLoadUnfilled) << c.file;
        for (int k = 1; k <= m.FrameCount; ++k)
            EXPECT_NE(m.Frames[k].SecIdx, 0) << c.file;
        for (int k = 1; k <= m.ShellCount; ++k)
            EXPECT_NE(m.Shells[k].SecIdx, 0) << c.file;
        for (int k = 1; k <= m.SectionCount; ++k)
            EXPECT_NE(m.Sections[k].MatIdx, 0) << c.file;
    }
}

TEST(Import, TwoStoreyFrameCarriesItsTypesDiaphragmsMassesAndLinks) {
    const TModel m = ImportS2k(ReadS2kFile(Example("two_storey_frame.s2k")));
    std::vector<int> types;
    for (int k = 1; k <= m.SectionCount; ++k)
        types.push_back(m.Sections[k].FrameType);
    EXPECT_EQ(types, (std::vector<int>{kNonlinearBeamColumn, kDispBeamColumn, kElasticBeamColumn,
                                       kElasticBeamColumn, kTruss, kCorotTruss, kRigidBeam}));
    EXPECT_EQ(m.Diaphs[1].Master, 20); // the floor centre
    EXPECT_EQ(m.Diaphs[2].SlaveCount, 6);
    EXPECT_EQ(m.Nodes[19].LinkNode, 8);
    EXPECT_EQ(m.Nodes[7].Mass[1], 7.1);
    for (int d = 1; d <= 6; ++d)
        EXPECT_EQ(m.Nodes[1].Restraint[d], 1);
    EXPECT_EQ(m.Frames[1].Axis2X, 1); // columns stand upright
    EXPECT_NEAR(m.Frames[13].Axis2Z, 1, 1e-15);
}

TEST(Import, ASecondSmallerImportKeepsNothingOfTheFirst) {
    TModel current = ImportS2k(ReadS2kFile(Example("two_storey_frame.s2k")));
    ASSERT_GT(current.Nodes[7].Mass[1], 0);
    current.Nodes[7].LinkNode = 5;
    current = Import("JOINT\n  1  X=0  Y=0  Z=0\n\n");
    EXPECT_EQ(current.NodeCount, 1);
    EXPECT_EQ(current.Nodes.size(), 2u);
    EXPECT_EQ(current.Nodes[1].Mass[1], 0);
    EXPECT_EQ(current.Nodes[1].LinkNode, 0);
    EXPECT_EQ(current.MatCount, 0);
    EXPECT_EQ(current.LoadCaseCount, 0);
    EXPECT_EQ(current.LoadCaseNames.size(), 1u);
    EXPECT_TRUE(current.Frames.empty());
}

TEST(Import, AFailedImportThrowsAndGivesNoModel) {
    TModel current = ImportS2k(ReadS2kFile(Example("slab_wall.s2k")));
    // The error comes from the last reader, after every other table was read.
    std::string text;
    for (std::string& line : ReadS2kFile(Example("slab_wall.s2k")).Lines())
        text += (line == "      ADD=15  UZ=-20000" ? "      ADD=15  UZ=-2O000" : line) + "\n";
    EXPECT_THROW(current = ImportS2k(SplitS2kLines(text)), ConversionError);
    EXPECT_EQ(current.NodeCount, 15); // the caller's model is untouched
    EXPECT_EQ(current.LoadCount, 6);
}

TEST(Import, AMissingFileIsAnInputErrorNamingIt) {
    try {
        ReadS2kFile("/nonexistent/model.s2k");
        FAIL() << "no error";
    } catch (const InputError& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent/model.s2k"), std::string::npos);
    }
}

TEST(Import, SectionRunningToTheEndOfTheFileEndsThere) {
    const TModel m = ImportS2k(SplitS2kLines("t\nJOINT\n  1  X=0  Y=0  Z=0\n  2  X=1  Y=0  Z=0"));
    EXPECT_EQ(m.NodeCount, 2);
    const TModel crlf = ImportS2k(SplitS2kLines("t\r\nJOINT\r\n  1  X=0  Y=0  Z=0\r\n\r\n"));
    EXPECT_EQ(crlf.NodeCount, 1);
    EXPECT_EQ(ErrorOf<ConversionError>("JOINT\n  1  X=0  Y=0  Z=0\n"
                                       "JOINT\n\n"),
              "Line 4 (JOINT): '' is not a valid floating point value"); // the second header is a
                                                                         // data line
}

// Tabular exports of a later program version: another format, which must give a model (with
// absent sections) or an error with a message, never a crash.
TEST(Import, TabularExportsGiveAModelOrAnErrorMessage) {
    if (!vandra::testing::HaveCorpus()) GTEST_SKIP() << "no corpus";
    const std::filesystem::path dir =
        std::filesystem::path(vandra::testing::CorpusFile("ofem-demo.s2k")).parent_path();
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string path = entry.path().string();
        if (entry.path().extension() == ".md") continue;
        ++files;
        try {
            const TModel m = ImportS2k(ReadS2kFile(path));
            EXPECT_GE(m.NodeCount, -1) << path;
        } catch (const ConversionError& e) {
            EXPECT_FALSE(std::string(e.what()).empty()) << path;
        } catch (const InputError& e) {
            EXPECT_FALSE(std::string(e.what()).empty()) << path;
        }
    }
    EXPECT_GT(files, 0);
}
