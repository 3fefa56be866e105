// Runs of generated scripts for the post-processing checks: a model (a version 6 text given in the
// test, or a file of tests/data) with settings, its script with the result recorders that the
// post-processing reads added where the script's own recorders stand, and the solver's run.
#pragma once

#include "SolverSupport.h"

#include "import/S2kImport.h"
#include "document/SettingsByName.h"
#include "tcl/ResultRecorders.h"
#include "tcl/ScriptGenerator.h"
#include "tcl/TagPlan.h"

#include <algorithm>
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

// Generates the script of `model` under the settings assignments, adds the reaction, rotation
// and corotational truss recorders (and, for a modal analysis, the solver's modal report), adds
// `more` recorder lines, and runs it; the run must be clean.
inline PostRun RunPost(TModel model, const std::vector<std::string>& assignments,
                       const ScriptLineList& more = {}) {
    PostRun p{std::move(model), TSettings(), {}, {}};
    for (const std::string& a : assignments)
        AssignSetting(p.model, p.settings, a);
    GenerateScript(p.model, p.settings, p.lines);
    const TagPlan tags(p.model, p.settings);
    ScriptLineList recorders;
    WriteReactionRecorders(p.model, tags, recorders);
    WriteRotationRecorders(p.model, tags, recorders);
    WriteTrussAxialRecorders(p.model, tags, recorders);
    for (std::string_view line : more)
        recorders.push_back(line);
    InsertAfter(p.lines, "puts \"recorder\"", recorders);
    if (p.settings.AnalysisType == kModal) {
        ScriptLineList report;
        WriteModalReport(report);
        InsertAfter(p.lines, "record", report);
    }
    p.run = RunSolver(p.lines, {std::string(VANDRA_SOURCE_DIR) + "/tests/data/GMX.txt",
                                std::string(VANDRA_SOURCE_DIR) + "/tests/data/DM1X.txt"});
    ExpectCleanRun(p.run, "post-processing run");
    return p;
}

inline TModel ModelFile(const std::string& name) {
    return ImportS2k(ReadS2kFile(std::string(VANDRA_SOURCE_DIR) + "/tests/data/" + name));
}

} // namespace vandra::testing
