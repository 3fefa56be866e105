// Materials by their law in the script: the line of each law, and scripts of nonlinear models
// that refer only to what they define.
#include "ScriptTestSupport.h"
#include "TestTempDir.h"

#include "document/SettingsByName.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

using namespace vandra;
using namespace vandra::testing;

namespace {

std::vector<std::string> MaterialLines(const ScriptLineList& lines) {
    std::vector<std::string> out;
    for (std::string_view line : lines)
        if (line.rfind("uniaxialMaterial", 0) == 0) out.emplace_back(line);
    return out;
}

} // namespace

TEST(MaterialScript, EachLawWritesItsLineUnderTheSameTag) {
    struct Case {
        const char* name;
        std::vector<std::string> sets;
        std::string line;
    };
    const Case cases[] = {
        {"elastic", {}, "uniaxialMaterial Elastic 1 3.000E+004"},
        {"Steel01 defaults",
         {"Mats[C30].MatType=2"},
         "uniaxialMaterial Steel01 1 3.750E+001 3.000E+004 1.000E-002"},
        {"Steel02 defaults",
         {"Mats[C30].MatType=4"},
         "uniaxialMaterial Steel02 1 3.750E+001 3.000E+004 1.000E-002 1.800E+001 9.250E-001 "
         "1.500E-001"},
        {"Concrete01 defaults",
         {"Mats[C30].MatType=3"},
         "uniaxialMaterial Concrete01 1 -3.600E+001 -2.000E-003 -7.200E+000 -6.000E-003"},
        {"Concrete02 defaults",
         {"Mats[C30].MatType=5"},
         "uniaxialMaterial Concrete02 1 -3.600E+001 -2.000E-003 -7.200E+000 -6.000E-003 "
         "1.000E-001 3.600E+000 1.800E+003"},
        // A strength given before the law keeps it, and the defaults follow from it.
        {"Concrete02 from fpc",
         {"Mats[C30].fpc=-25", "Mats[C30].MatType=5"},
         "uniaxialMaterial Concrete02 1 -2.500E+001 -2.000E-003 -5.000E+000 -6.000E-003 "
         "1.000E-001 2.500E+000 1.250E+003"},
        {"Steel02 then a parameter",
         {"Mats[C30].MatType=4", "Mats[C30].R0=20"},
         "uniaxialMaterial Steel02 1 3.750E+001 3.000E+004 1.000E-002 2.000E+001 9.250E-001 "
         "1.500E-001"},
        // Steel01 to Steel02 keeps Fy, E0 and b and adds the defaults of the rest.
        {"Steel01 then Steel02",
         {"Mats[C30].MatType=2", "Mats[C30].Fy=400", "Mats[C30].MatType=4"},
         "uniaxialMaterial Steel02 1 4.000E+002 3.000E+004 1.000E-002 1.800E+001 9.250E-001 "
         "1.500E-001"},
        {"back to elastic",
         {"Mats[C30].MatType=5", "Mats[C30].MatType=1"},
         "uniaxialMaterial Elastic 1 3.000E+004"},
    };
    for (const Case& c : cases) {
        TModel model = SmallColumnModel();
        TSettings settings;
        settings.UseAggregator = true;
        for (const std::string& s : c.sets)
            AssignSetting(model, settings, s);
        const std::vector<std::string> lines = MaterialLines(Generate(model, settings));
        ASSERT_EQ(lines.size(), 4u) << c.name;
        EXPECT_EQ(lines[0], c.line) << c.name;
        // The shear and torsion materials of the aggregator stay elastic whatever the law.
        for (size_t k = 1; k < lines.size(); ++k)
            EXPECT_EQ(lines[k].rfind("uniaxialMaterial Elastic ", 0), 0u) << lines[k];
    }
}

TEST(MaterialScript, RefusedChangesLeaveTheMaterialAsItWas) {
    struct Case {
        std::vector<std::string> before;
        std::string refused;
        std::string message;
    };
    const Case cases[] = {
        {{"Mats[C30].MatType=3"}, "Mats[C30].fpc=0", "fpc must be negative"},
        {{"Mats[C30].MatType=5"}, "Mats[C30].fpc=30", "fpc must be negative"},
        {{"Mats[C30].fpc=12"}, "Mats[C30].MatType=3", "fpc must be negative"},
        {{"Mats[C30].MatType=2"}, "Mats[C30].Fy=0", "Fy must be positive"},
        {{"Mats[C30].MatType=4"}, "Mats[C30].Fy=-250", "Fy must be positive"},
    };
    for (const Case& c : cases) {
        TModel model = SmallColumnModel();
        TSettings settings;
        for (const std::string& s : c.before)
            AssignSetting(model, settings, s);
        const TMAT before = model.Mats[1];
        try {
            AssignSetting(model, settings, c.refused);
            ADD_FAILURE() << c.refused << " was accepted";
        } catch (const InputError& e) {
            EXPECT_NE(std::string(e.what()).find("Material C30: "), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
        EXPECT_EQ(model.Mats[1].MatType, before.MatType) << c.refused;
        EXPECT_EQ(model.Mats[1].fpc, before.fpc) << c.refused;
        EXPECT_EQ(model.Mats[1].Fy, before.Fy) << c.refused;
    }
    TModel model = SmallColumnModel();
    TSettings settings;
    EXPECT_THROW(AssignSetting(model, settings, "Mats[C30].MatType=6"), UsageError);
    EXPECT_THROW(AssignSetting(model, settings, "Mats[C30].MatType=0"), UsageError);
    EXPECT_THROW(AssignSetting(model, settings, "Mats[C30].fy=250"), UsageError);
    EXPECT_THROW(AssignSetting(model, settings, "Mats[C31].Fy=250"), UsageError);
    EXPECT_THROW(AssignSetting(model, settings, "Mats[C30].Fy=abc"), ConversionError);
    EXPECT_EQ(model.Mats[1].MatType, 1);
}

// Scripts of fiber models with every law run through the stand-in for the solver, which checks
// each material line's parameter count and every tag a fiber refers to.
TEST(MaterialScript, NonlinearScriptsReferOnlyToDefinedTags) {
    if (std::system("tclsh </dev/null >/dev/null 2>&1") != 0) GTEST_SKIP() << "no tclsh";
    const std::string dir = vandra::testing::ProcessTempDir();
    const std::string driver = dir + "/vandra_material_script.tcl";
    std::ofstream(driver, std::ios::binary)
        << "cd [lindex $argv 0]\nsource [lindex $argv 1]\nsource [lindex $argv 2]\nputs ran\n";
    const std::string stub = std::string(VANDRA_SOURCE_DIR) + "/tests/tcl/opensees_stub.tcl";
    for (int concrete : {kMatElastic, kMatConcrete01, kMatConcrete02}) {
        for (int steel : {kMatSteel01, kMatSteel02}) {
            for (int frameType : {kNonlinearBeamColumn, kDispBeamColumn, kBeamWithHinge, kTruss}) {
                TModel model = SmallColumnModel();
                model.MatCount = 2;
                model.Mats.resize(3);
                model.Mats[2] = model.Mats[1];
                model.Mats[2].Name = "S400";
                model.Mats[2].E = 200000;
                model.Sections[1].FrameType = frameType;
                TSettings settings;
                settings.RebarMat = 2;
                settings.UseAggregator = frameType != kTruss;
                AssignSetting(model, settings, "Mats[C30].MatType=" + std::to_string(concrete));
                AssignSetting(model, settings, "Mats[S400].MatType=" + std::to_string(steel));
                const std::string script = dir + "/vandra_material_script_model.tcl";
                std::ofstream(script, std::ios::binary) << SavedText(Generate(model, settings));
                const std::string out = dir + "/vandra_material_script.out";
                const std::string command = "tclsh '" + driver + "' '" + dir + "' '" + stub +
                                            "' '" + script + "' > '" + out + "' 2>&1";
                EXPECT_EQ(std::system(command.c_str()), 0)
                    << concrete << " " << steel << " " << frameType << "\n"
                    << ReadBytes(out);
            }
        }
    }
}
