// Whole scripts compared with checked-in references, and checked to be complete Tcl.
#include "ScriptTestSupport.h"
#include "TestTempDir.h"

#include "document/SettingsByName.h"
#include "import/S2kImport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

using namespace vandra;
using namespace vandra::testing;

TEST(GoldenScript, SmallColumnIsTheThirtyFiveLineScript) {
    TModel model = SmallColumnModel();
    const ScriptLineList lines = Generate(model);
    EXPECT_EQ(lines.size(), 35u);
    ExpectGolden("small_column.tcl", lines);
}

namespace {

struct ExampleCase {
    const char* example; // under examples/
    const char* golden;  // under tests/tcl/golden/
    std::vector<std::string> settings;
};

const std::vector<ExampleCase>& ExampleCases() {
    static const std::vector<ExampleCase> cases = {
        {"two_storey_frame.s2k", "two_storey_frame_type1.tcl", {}},
        {"two_storey_frame.s2k",
         "two_storey_frame_type2.tcl",
         {"AnalysisType=2", "LoadVector=2", "ControlNode=21", "ControlDisp=1", "AnalysisStep=50"}},
        {"two_storey_frame.s2k",
         "two_storey_frame_type3.tcl",
         {"AnalysisType=3", "LoadVector=2", "ControlNode=21", "ControlDisp=1", "LoadSteps=10"}},
        // Six degrees of freedom carry mass: all six modes need the dense eigen solver.
        {"two_storey_frame.s2k", "two_storey_frame_type4.tcl", {"AnalysisType=4", "ModalNumber=6"}},
        {"two_storey_frame.s2k", "two_storey_frame_type5.tcl", {"AnalysisType=5"}},
        {"two_storey_frame.s2k", "two_storey_frame_type6.tcl", {"AnalysisType=6"}},
        {"two_storey_frame.s2k", "two_storey_frame_type7.tcl", {"AnalysisType=7"}},
        {"two_storey_frame.s2k",
         "two_storey_frame_aggregator.tcl",
         {"UseAggregator=1", "NumIntgrPts=5", "Sections[EIPE400].FrameType=4",
          "Sections[EBOX300].FrameType=2", "Sections[NCOL400].SectionKind=1",
          "Sections[DCOL350].GeoTransf=2"}},
        {"two_storey_frame.s2k",
         "two_storey_frame_all_recorders.tcl",
         {"AnalysisType=4", "RecOpt=1,1,1,1,1", "ModalNumber=3", "RecReactions=1",
          "RecRotations=1", "RecModalReport=1"}},
        {"slab_wall.s2k", "slab_wall_type1.tcl", {}},
        {"slab_wall.s2k",
         "slab_wall_type3.tcl",
         {"AnalysisType=3", "LoadVector=2", "ControlNode=12", "AreaSecs[SLAB150].NonlinType=1"}},
        {"slab_wall.s2k",
         "slab_wall_all_recorders.tcl",
         {"AnalysisType=2", "LoadVector=2", "ControlNode=12", "RecOpt=1,1,1,1,1",
          "GenPlateFiber=0", "RecReactions=1", "RecRotations=1"}},
        {"solid_block.s2k", "solid_block_type1.tcl", {"RecOpt=1,0,0,0,0", "RecReactions=1"}},
    };
    return cases;
}

std::string ExamplePath(const char* name) {
    return std::string(VANDRA_SOURCE_DIR) + "/examples/" + name;
}

} // namespace

TEST(GoldenScript, ExamplesUnderSeveralSettings) {
    for (const ExampleCase& c : ExampleCases()) {
        SCOPED_TRACE(c.golden);
        TModel model = ImportS2k(ReadS2kFile(ExamplePath(c.example)));
        TSettings settings;
        for (const std::string& s : c.settings)
            AssignSetting(model, settings, s);
        ScriptLineList lines;
        GenerateScript(model, settings, lines);
        ExpectGolden(c.golden, lines);
    }
}

// Tcl's own parser must find every reference script complete: braces and quotes balance.
TEST(GoldenScript, ReferenceScriptsAreCompleteTcl) {
    if (std::system("tclsh </dev/null >/dev/null 2>&1") != 0) GTEST_SKIP() << "no tclsh";
    const std::string dir = vandra::testing::ProcessTempDir();
    const std::string checker = dir + "/vandra_info_complete.tcl";
    std::ofstream(checker, std::ios::binary)
        << "set f [open [lindex $argv 0] rb]\nset t [read $f]\nclose $f\n"
           "puts [info complete $t]\n";
    std::vector<std::string> names = {"small_column.tcl"};
    for (const ExampleCase& c : ExampleCases())
        names.push_back(c.golden);
    for (const std::string& name : names) {
        const std::string out = dir + "/vandra_info_complete.out";
        const std::string command =
            "tclsh '" + checker + "' '" + GoldenPath(name) + "' > '" + out + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << name;
        EXPECT_EQ(ReadBytes(out), "1\n") << name;
    }
}

// Every reference script runs as Tcl against a stand-in for the solver's commands that checks
// each tag is defined before it is used: nodes of elements and constraints, materials of fibers,
// sections and transformations of elements, elements of loads.
TEST(GoldenScript, ReferenceScriptsRunAndReferOnlyToDefinedTags) {
    if (std::system("tclsh </dev/null >/dev/null 2>&1") != 0) GTEST_SKIP() << "no tclsh";
    const std::string dir = vandra::testing::ProcessTempDir();
    const std::string driver = dir + "/vandra_run_script.tcl";
    std::ofstream(driver, std::ios::binary)
        << "cd [lindex $argv 0]\nsource [lindex $argv 1]\nsource [lindex $argv 2]\nputs ran\n";
    const std::string stub = std::string(VANDRA_SOURCE_DIR) + "/tests/tcl/opensees_stub.tcl";
    // With plate fibers switched off the shells refer to sections the script does not define.
    const std::string withoutPlateFibers = "slab_wall_all_recorders.tcl";
    std::vector<std::string> names = {"small_column.tcl"};
    for (const ExampleCase& c : ExampleCases())
        names.push_back(c.golden);
    for (const std::string& name : names) {
        const std::string out = dir + "/vandra_run_script.out";
        const std::string err = dir + "/vandra_run_script.err";
        const std::string command = "tclsh '" + driver + "' '" + dir + "' '" + stub + "' '" +
                                    GoldenPath(name) + "' > '" + out + "' 2> '" + err + "'";
        const int status = std::system(command.c_str());
        if (name == withoutPlateFibers) {
            EXPECT_NE(status, 0);
            EXPECT_NE(ReadBytes(err).find("section 701 is not defined"), std::string::npos)
                << ReadBytes(err);
            continue;
        }
        EXPECT_EQ(status, 0) << name << "\n" << ReadBytes(err);
        const std::string printed = ReadBytes(out);
        EXPECT_EQ(printed.substr(printed.size() >= 4 ? printed.size() - 4 : 0), "ran\n") << name;
    }
}
