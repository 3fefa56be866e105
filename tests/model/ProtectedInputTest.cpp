// The checked writer refuses to replace a protected input under any of its names (the window's
// saves rely on it), and replaces anything else.
#include "model/AtomicFile.h"
#include "model/Errors.h"

#include "TestTempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace vandra;

TEST(ProtectedInput, NoOutputReplacesTheModelByAnyName) {
    const fs::path dir = fs::path(vandra::testing::ProcessTempDir()) / "protected";
    fs::create_directories(dir);
    const std::string model = (dir / "m.s2k").string();
    std::ofstream(model) << "model";
    const std::string link = (dir / "link.s2k").string(), hard = (dir / "hard.s2k").string();
    fs::remove(link);
    fs::remove(hard);
    fs::create_symlink(model, link);
    fs::create_hard_link(model, hard);
    ProtectInputs({{model, "the model file"}});
    for (const std::string& name : {model, link, hard, (dir / "." / "m.s2k").string()}) {
        try {
            WriteFileAtomically(name, "script");
            ADD_FAILURE() << name << " was written";
        } catch (const InputError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot write file \"" + name +
                                                 "\". It is the model file \"" + model +
                                                 "\", which was read; choose another file");
        }
    }
    WriteFileAtomically((dir / "m.tcl").string(), "script");
    ProtectInputs({});
    WriteFileAtomically(link, "script");
    std::ifstream in(model);
    std::string text;
    in >> text;
    EXPECT_EQ(text, "script");
}
