// Models and helpers shared by the script generator tests.
#pragma once

#include "CaseFile.h"
#include "TestTempDir.h"
#include "import/S2kImport.h"
#include "model/Model.h"
#include "tcl/ScriptGenerator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace vandra::testing {

// A model of tests/cases/tcl (small_column.s2k: one elastic 500 x 300 column, three metres high,
// fixed at joint 1; mixed.s2k: that column, a shell on joints 2-5 and a brick on joints 3-10) or
// of examples (two_storey_frame.s2k).
inline TModel ModelFile(const std::string& name) {
    const std::string cases = SourcePath("tests/cases/tcl/" + name);
    return ImportS2k(
        ReadS2kFile(std::filesystem::exists(cases) ? cases : SourcePath("examples/" + name)));
}

inline ScriptLineList Generate(const TModel& model, const TSettings& settings = TSettings()) {
    ScriptLineList lines;
    GenerateScript(model, settings, lines);
    return lines;
}

inline std::string GoldenPath(std::string_view name) {
    return SourcePath("tests/tcl/golden/" + std::string(name));
}

// Runs the scripts in one Tcl process through the stand-in of the solver (tests/tcl/
// opensees_stub.tcl), which fails on a tag defined twice or used before it is defined: for each
// script "" when it runs to its end, else the stand-in's complaint. Empty when Tcl is missing.
inline std::vector<std::string> StandInComplaints(const std::vector<const ScriptLineList*>& scripts) {
    if (std::system("tclsh </dev/null >/dev/null 2>&1") != 0) return {};
    const std::string dir = ProcessTempDir() + "/stand_in";
    std::filesystem::create_directories(dir);
    std::ofstream list(dir + "/scripts.txt", std::ios::binary);
    for (size_t k = 0; k < scripts.size(); ++k) {
        WriteScriptFile(dir + "/s" + std::to_string(k) + ".tcl", *scripts[k]);
        list << dir + "/s" + std::to_string(k) + ".tcl\n";
    }
    list.close();
    const std::string command = "tclsh '" + SourcePath("tests/tcl/stand_in_driver.tcl") + "' '" +
                                dir + "' '" + SourcePath("tests/tcl/opensees_stub.tcl") + "' '" +
                                dir + "/scripts.txt' '" + dir + "/report.txt' > /dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << "tclsh failed";
    std::vector<std::string> complaints;
    std::ifstream report(dir + "/report.txt");
    for (std::string line; std::getline(report, line);)
        complaints.push_back(line);
    std::filesystem::remove_all(dir);
    EXPECT_EQ(complaints.size(), scripts.size()) << "the stand-in stopped early";
    return complaints;
}

} // namespace vandra::testing
