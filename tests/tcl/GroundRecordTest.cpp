// The record of a time history goes beside the script as the values the script reads; a copy
// that would be the record file itself leaves it as it is, and an analysis without a record
// copies nothing.
#include "TestTempDir.h"

#include "model/Model.h"
#include "tcl/GroundRecord.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace vandra {
namespace {

std::string Text(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

TEST(GroundRecord, IsCopiedBesideTheScriptNeverOverItself) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(testing::ProcessTempDir()) / "record copies";
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "own.txt") << "1e-2\n2e-2\n";
    const std::string peer = std::string(VANDRA_SOURCE_DIR) + "/tests/data/constant_0.01g.AT2";
    const struct {
        int type;
        std::string record;
        std::string copy;     // the file beside the script
        std::string contents; // "" for none written
    } cases[] = {
        {kTimeHistory, peer, "constant_0.01g.txt",
         [] {
             std::string lines;
             for (int k = 0; k < 100; ++k)
                 lines += "0.01\n";
             return lines;
         }()},
        {kGravityTimeHistory, (dir / "own.txt").string(), "own.txt", "1e-2\n2e-2\n"},
        {kModal, peer, "constant_0.01g.txt", ""},
    };
    for (const auto& c : cases) {
        fs::remove(dir / "constant_0.01g.txt");
        TSettings settings;
        settings.AnalysisType = c.type;
        settings.RecordFile = c.record;
        CopyRecordBeside(settings, (dir / "model.tcl").string());
        EXPECT_EQ(RecordCopyName(c.record), c.copy);
        EXPECT_EQ(fs::exists(dir / c.copy) ? Text(dir / c.copy) : "", c.contents) << c.type;
    }
    EXPECT_EQ(RecordCopyName("/x/El Centro [NS]$1.AT2"), "El_Centro__NS__1.txt");
}

} // namespace
} // namespace vandra
