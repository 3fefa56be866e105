// Running the real OpenSees solver from tests.
//
// The solver is found through the environment variable VANDRA_OPENSEES (the path of an
// executable), else as an executable named OpenSees on the PATH. Tests derived from SolverTest are
// skipped when there is none. A script runs in a fresh temporary folder, removed when the run is
// destroyed (kept when VANDRA_KEEP_SOLVER_RUNS is set, for looking at a failure).
//
// OpenSees prints everything, the script's puts included, to its error stream and exits 0 even
// after an error: a run is judged by its console text.
#pragma once

#include "tcl/ScriptLineList.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace vandra::testing {

// The solver executable, or an empty path when none is found.
std::filesystem::path FindOpenSees();

// One run of the solver: its console text (both streams) and the folder it ran in, removed with the
// last copy of the run.
class SolverRun {
public:
    SolverRun() = default;
    SolverRun(std::string console, std::filesystem::path folder, bool finished);

    const std::string& Console() const { return console_; }
    const std::filesystem::path& Folder() const { return folder_; }
    // The script was read to its last line (a marker line the runner appends was printed).
    bool Finished() const { return finished_; }

private:
    std::string console_;
    std::filesystem::path folder_;
    bool finished_ = false;
    std::shared_ptr<void> remover_;
};

// Runs the script given as lines (written as model.tcl) in a fresh temporary folder into which
// every extra file is copied first. A run that does not end within timeoutSeconds is killed.
SolverRun RunSolver(const ScriptLineList& scriptLines,
                    const std::vector<std::filesystem::path>& extraFiles = {},
                    unsigned timeoutSeconds = 600);

// The lines of the console that show a failure: those starting with "WARNING", saying that
// something "failed" or that an element dropped a load ("...::addLoad - load type unknown"), and
// the text of a Tcl error (its message and the "while executing" trace).
std::vector<std::string> FailureLines(const std::string& console);

// Fails the current test when the run printed a WARNING or a Tcl error, or stopped before the end
// of its script; the message names `what` and shows the failing lines.
void ExpectCleanRun(const SolverRun& run, const std::string& what);

// The numbers of a recorder file, one row per line. Fails the test (and returns what was read)
// when the file is missing or holds a token that is not a number.
std::vector<std::vector<double>> ReadRecorder(const std::filesystem::path& file);

// Tests that need the solver: skipped, with the reason, when none is found.
class SolverTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!FindOpenSees().empty()) return;
        if (const char* given = std::getenv("VANDRA_OPENSEES"); given != nullptr && *given != '\0')
            GTEST_FAIL() << "VANDRA_OPENSEES names " << given << ", which is not an executable";
        GTEST_SKIP() << "no OpenSees solver found: set VANDRA_OPENSEES to its executable or put "
                        "OpenSees on the PATH";
    }
};

} // namespace vandra::testing
