// The version 6 text of a model.
#include "import/S2kWriter.h"

#include "import/S2kImport.h"
#include "model/SettingsByName.h"
#include "tcl/ScriptGenerator.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

using namespace vandra;

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
