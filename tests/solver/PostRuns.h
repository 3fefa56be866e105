// Runs of generated scripts for the post-processing checks: a model (a version 6 text given in the
// test, or a file of tests/data) with settings, its script with the result recorders that the
// post-processing reads, and the solver's run.
#pragma once

#include "CaseFile.h"
#include "SolverSupport.h"
#include "TestTempDir.h"

#include "document/SettingsByName.h"
#include "import/S2kImport.h"
#include "tcl/GroundRecord.h"
#include "tcl/ScriptGenerator.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace vandra::testing {

struct PostRun {
    TModel model;
    TSettings settings;
    ScriptLineList lines;
    SolverRun run;

    std::string folder() const { return run.Folder().string(); }
};

// Inserts `extra` after the first line equal to `marker`.
inline void InsertAfter(ScriptLineList& lines, const std::string& marker,
                        const ScriptLineList& extra) {
    const auto at = std::find(lines.begin(), lines.end(), marker);
    ASSERT_NE(at, lines.end()) << marker;
    ScriptLineList joined(lines.begin(), at + 1);
    for (std::string_view line : extra)
        joined.push_back(line);
    for (auto rest = at + 1; rest != lines.end(); ++rest)
        joined.push_back(*rest);
    lines.swap(joined);
}

// Generates the script of `model` with the result recorders the post-processing reads (reactions,
// rotations and, for a modal analysis, the solver's modal report) under the settings assignments,
// adds `more` recorder lines, and runs it; the run must be clean.
inline PostRun RunPost(TModel model, const std::vector<std::string>& assignments,
                       const ScriptLineList& more = {}) {
    PostRun p{std::move(model), TSettings(), {}, {}};
    p.settings.RecReactions = p.settings.RecRotations = p.settings.RecModalReport = true;
    for (const std::string& a : assignments)
        AssignSetting(p.model, p.settings, InSource(a));
    GenerateScript(p.model, p.settings, p.lines);
    if (!more.empty()) InsertAfter(p.lines, "puts \"recorder\"", more);
    std::vector<std::filesystem::path> files = {
        std::string(VANDRA_SOURCE_DIR) + "/tests/data/GMX.txt",
        std::string(VANDRA_SOURCE_DIR) + "/tests/data/DM1X.txt"};
    // The record's copy as a save writes it beside the script.
    if (UsesRecord(p.settings.AnalysisType)) {
        CopyRecordBeside(p.settings, ProcessTempDir() + "/model.tcl");
        files.push_back(ProcessTempDir() + "/" + RecordCopyName(p.settings.RecordFile));
    }
    p.run = RunSolver(p.lines, files);
    ExpectCleanRun(p.run, "post-processing run");
    return p;
}

// A model of tests/cases/solver, else of tests/data.
inline TModel ModelFile(const std::string& name) {
    const std::string cases = std::string(VANDRA_SOURCE_DIR) + "/tests/cases/solver/" + name;
    return ImportS2k(ReadS2kFile(std::filesystem::exists(cases)
                                     ? cases
                                     : std::string(VANDRA_SOURCE_DIR) + "/tests/data/" + name));
}

} // namespace vandra::testing
