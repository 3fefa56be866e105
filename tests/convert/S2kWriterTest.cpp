// The version 6 text of a model: what reads back from it.
#include "convert/S2kWriter.h"

#include "CorpusFiles.h"
#include "import/ModelTotals.h"
#include "import/S2kImport.h"
#include "import/TabularImport.h"
#include "document/SettingsByName.h"
#include "tcl/ScriptGenerator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

using namespace vandra;
using vandra::testing::TotalMass;
using vandra::testing::TotalZ;

namespace {

// The NSEG values of a version 6 text, in the order of its frames.
std::vector<std::string> NsegValues(const std::string& text) {
    static const std::regex kNseg("NSEG=([0-9]+)");
    std::vector<std::string> values;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), kNseg);
         it != std::sregex_iterator(); ++it)
        values.push_back((*it)[1]);
    return values;
}

} // namespace

// NSEG counts the output segments of a frame in the file: a script with other integration points
// does not change what the version 6 text says.
TEST(S2kWriter, WritesTheFileNsegAfterAGeneration) {
    const std::string path = std::string(VANDRA_SOURCE_DIR) + "/examples/two_storey_frame.s2k";
    std::ostringstream file;
    file << std::ifstream(path, std::ios::binary).rdbuf();
    TModel model = ImportS2k(ReadS2kFile(path));
    TSettings settings;
    AssignSetting(model, settings, "Sections[NCOL400].FrameType=2");
    AssignSetting(model, settings, "NumIntgrPts=5");
    ScriptLineList script;
    GenerateScript(model, settings, script);
    WarningList lost;
    const std::vector<std::string> written = NsegValues(WriteS2kText(model, lost));
    EXPECT_EQ(written.size(), 29u);
    EXPECT_EQ(written, NsegValues(file.str()));
}

// The version 6 text of an imported tabular model reads back to the same joints, elements,
// constraints, loads and masses (coordinates to the 0.1 mm the version 6 reader keeps).
TEST(S2kWriter, TabularModelsReadBackToTheSameModel) {
    if (!vandra::testing::HaveCorpus()) GTEST_SKIP() << "no corpus";
    for (const char* file : {"ofem-demo.s2k", "building-pso.$2k", "bridge-pso.$2k"}) {
        SCOPED_TRACE(file);
        const TModel m = ImportTabular(ReadS2kFile(vandra::testing::CorpusFile(file)), file);
        WarningList lost;
        const TModel back = ImportS2k(SplitS2kLines(WriteS2kText(m, lost)));
        EXPECT_EQ(back.NodeCount, m.NodeCount);
        EXPECT_EQ(back.FrameCount, m.FrameCount);
        EXPECT_EQ(back.ShellCount, m.ShellCount);
        EXPECT_EQ(CountOf(back.DiaphCount), m.DiaphCount);
        EXPECT_EQ(back.LoadCount, m.LoadCount);
        EXPECT_EQ(back.LoadCaseNames, m.LoadCaseNames);
        EXPECT_NEAR(TotalMass(back), TotalMass(m), 1e-9 * TotalMass(m));
        for (int c = 1; c <= m.LoadCaseCount; ++c)
            EXPECT_NEAR(TotalZ(back, c), TotalZ(m, c), 1e-3 * (1 + std::abs(TotalZ(m, c))));
        for (int i = 1; i <= m.NodeCount; ++i)
            EXPECT_NEAR(back.Nodes[static_cast<size_t>(i)].X, m.Nodes[static_cast<size_t>(i)].X,
                        0.05);
    }
}
