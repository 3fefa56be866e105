// A record is copied beside the script as the values it reads, never over itself.
#include "CaseFile.h"
#include "TestTempDir.h"

#include "tcl/GroundRecord.h"

#include <filesystem>

namespace vandra::testing {

TEST(GroundRecord, IsCopiedBesideTheScriptNeverOverItself) {
    const std::string dir = ProcessTempDir();
    std::ofstream(dir + "/own.txt") << "1e-2\n2e-2\n";
    std::string peerValues;
    for (int k = 0; k < 100; ++k)
        peerValues += "0.01\n";
    const std::pair<std::string, std::string> cases[] = {
        {SourcePath("tests/data/constant_0.01g.AT2"), peerValues},
        {dir + "/own.txt", "1e-2\n2e-2\n"}};
    for (const auto& [record, values] : cases) {
        TSettings settings;
        settings.AnalysisType = kGravityTimeHistory;
        settings.RecordFile = record;
        CopyRecordBeside(settings, dir + "/model.tcl");
        EXPECT_EQ(ReadText(dir + "/" + RecordCopyName(record)), values) << record;
    }
}

} // namespace vandra::testing
