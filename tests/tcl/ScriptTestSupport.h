// Models and helpers shared by the script generator tests.
#pragma once

#include "TestTempDir.h"
#include "import/S2kImport.h"
#include "model/Model.h"
#include "tcl/ScriptGenerator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace vandra::testing {

// Node 1 at the origin, fixed; node 2 three metres above; one elastic 500 x 300 column.
inline TModel SmallColumnModel() {
    TModel m;
    m.NodeCount = 2;
    m.Nodes.resize(3);
    m.Nodes[1].Restraint = {0, 1, 1, 1, 1, 1, 1};
    m.Nodes[2].Z = 3000;
    m.FrameCount = 1;
    m.Frames.resize(2);
    m.Frames[1].SecIdx = 1;
    m.Frames[1].NodeI = 1;
    m.Frames[1].NodeJ = 2;
    m.Frames[1].Axis2X = 1;
    m.SectionCount = 1;
    m.Sections.resize(2);
    TSECTION& s = m.Sections[1];
    s.Name = "E500X300";
    s.Shape = kShapeRectangle;
    s.T[1] = 500;
    s.T[2] = 300;
    s.FrameType = kElasticBeamColumn;
    s.GeoTransf = kLinear;
    s.MatIdx = 1;
    s.DivideFX = s.DivideFY = s.BarNumNX = s.BarNumNY = 5;
    s.Cover = 35;
    s.BarTop = s.BarBot = 1000;
    s.SectionKind = kColumnSection;
    m.MatCount = 1;
    m.Mats.resize(2);
    m.Mats[1].Name = "C30";
    m.Mats[1].MatType = 1;
    m.Mats[1].E = 30000;
    m.Mats[1].G = 12500;
    return m;
}

// Joints 1..10: a column 1-2, a shell 2-3-4-5 and a brick on 3..10, so joints 3, 4 and 5 are
// shared between the shell and the brick and 6..10 belong to the brick only.
inline TModel MixedModel() {
    TModel m = SmallColumnModel();
    m.NodeCount = 10;
    m.Nodes.resize(11);
    for (int j = 3; j <= 10; ++j) {
        m.Nodes[j].X = 1000.0 * (j % 2);
        m.Nodes[j].Z = 3000 + 1000.0 * (j / 7);
    }
    m.Nodes[7].Restraint = {0, 1, 1, 1, 1, 1, 1};
    m.Nodes[8].Mass = {0, 5, 5, 5, 1, 1, 1};
    m.Mats[1].U = 0.2;
    m.AreaSecCount = 1;
    m.AreaSecs.resize(2);
    m.AreaSecs[1] = {200, 1, 1, "WALL", 0, kShellMITC4};
    m.ShellCount = 1;
    m.Shells.resize(2);
    m.Shells[1].SecIdx = 1;
    m.Shells[1].N1 = 2;
    m.Shells[1].N2 = 3;
    m.Shells[1].N3 = 4;
    m.Shells[1].N4 = 5;
    m.SolidCount = 1;
    m.Solids.resize(2);
    m.Solids[1].SecNo = 100;
    m.Solids[1].N = {0, 3, 4, 5, 6, 7, 8, 9, 10};
    m.LoadCaseCount = 1;
    m.LoadCaseNames = {"", "DEAD"};
    m.LoadCount = 2;
    m.Loads.resize(3);
    m.Loads[1] = {9, kJointForce, 1, 0, 0, 0, -10, 3, 0, 0};
    m.Loads[2] = {3, kJointForce, 1, 0, 0, 0, -10, 3, 0, 0};
    return m;
}

// The example frame: two storeys, seven frame sections, two load cases, two rigid diaphragms.
inline TModel TwoStoreyFrame() {
    return ImportS2k(
        ReadS2kFile(std::string(VANDRA_SOURCE_DIR) + "/examples/two_storey_frame.s2k"));
}

inline ScriptLineList Generate(const TModel& model, const TSettings& settings = TSettings()) {
    ScriptLineList lines;
    GenerateScript(model, settings, lines);
    return lines;
}

// The script as Save writes it: every line followed by CR LF.
inline std::string SavedText(const ScriptLineList& lines) {
    return std::string(lines.Text());
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

inline std::string GoldenPath(std::string_view name) {
    return std::string(VANDRA_SOURCE_DIR) + "/tests/tcl/golden/" + std::string(name);
}

// Compares the saved script with its reference file byte for byte. With VANDRA_UPDATE_GOLDEN set,
// rewrites the reference instead (review the diff before committing it).
inline void ExpectGolden(std::string_view name, const ScriptLineList& lines) {
    const std::string path = GoldenPath(name);
    const std::string actual = SavedText(lines);
    if (std::getenv("VANDRA_UPDATE_GOLDEN")) {
        std::ofstream(path, std::ios::binary) << actual;
        return;
    }
    const std::string expected = ReadBytes(path);
    ASSERT_FALSE(expected.empty()) << "missing reference " << path;
    if (actual == expected) return;
    std::istringstream a(actual), e(expected);
    std::string la, le;
    for (int n = 1;; ++n) {
        const bool ga = static_cast<bool>(std::getline(a, la));
        const bool ge = static_cast<bool>(std::getline(e, le));
        if (!ga && !ge) break;
        if (la != le || ga != ge) {
            ADD_FAILURE() << name << " differs at line " << n << "\n  expected: [" << le
                          << "]\n  actual:   [" << la << "]";
            return;
        }
        la.clear();
        le.clear();
    }
    ADD_FAILURE() << name << " differs from its reference";
}

// Runs the script through the Tcl stand-in of the solver (tests/tcl/opensees_stub.tcl): "" when it
// runs to the end, else the stand-in's complaint. "no tclsh" when Tcl is missing.
inline std::string StandInComplaint(const ScriptLineList& lines) {
    if (std::system("tclsh </dev/null >/dev/null 2>&1") != 0) return "no tclsh";
    const std::string dir = vandra::testing::ProcessTempDir();
    const std::string script = dir + "/vandra_stand_in_script.tcl";
    const std::string driver = dir + "/vandra_stand_in_driver.tcl";
    const std::string out = dir + "/vandra_stand_in.out";
    WriteScriptFile(script, lines);
    std::ofstream(driver, std::ios::binary)
        << "cd [lindex $argv 0]\nsource [lindex $argv 1]\nrename puts tclPuts\n"
           "proc puts {args} { if {[llength $args] > 1} { tclPuts {*}$args } }\n"
           "set report [open [lindex $argv 3] w]\n"
           "if {[catch {source [lindex $argv 2]} message]} { tclPuts -nonewline $report $message "
           "}\n"
           "close $report\n";
    const std::string stub = std::string(VANDRA_SOURCE_DIR) + "/tests/tcl/opensees_stub.tcl";
    const std::string command = "tclsh '" + driver + "' '" + dir + "' '" + stub + "' '" + script +
                                "' '" + out + "' > /dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return "tclsh failed";
    return ReadBytes(out);
}

} // namespace vandra::testing
