// The helpers that judge a solver run: they must see every failure the solver prints.
#include "SolverSupport.h"

#include <string>
#include <vector>

namespace vandra::testing {
namespace {

TEST(SolverSupportTest, FailureLinesFindWarningsAndTclErrors) {
    struct Case {
        std::string console;
        std::vector<std::string> failures;
    };
    const std::vector<Case> cases = {
        {"banner\nputs text\n", {}},
        {"WARNING DirectIntegrationAnalysis::eigen() - EigenSOE failed in solve()\r\n",
         {"WARNING DirectIntegrationAnalysis::eigen() - EigenSOE failed in solve()"}},
        {"  WARNING is not at the start\n", {}},
        {"TrussSection::addLoad - load type unknown for truss with tag: 1\n",
         {"TrussSection::addLoad - load type unknown for truss with tag: 1"}},
        {"StaticAnalysis::analyze() - the Integrator failed at step: 0\n",
         {"StaticAnalysis::analyze() - the Integrator failed at step: 0"}},
        {"invalid command name \"foo\"\n    while executing\n\"foo 1 2\"\n",
         {"invalid command name \"foo\"", "    while executing"}},
        {"Domain::addNode - node with tag 1 already exists in model\nWARNING failed to add node\n"
         "node: 1\n\n    while executing\n",
         {"WARNING failed to add node", "node: 1", "    while executing"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FailureLines(c.console), c.failures) << c.console;
}

class SolverRunTest : public SolverTest {};

TEST_F(SolverRunTest, CleanRunFinishesAndAFailingOneDoesNot) {
    const SolverRun clean = RunSolver({"model basic -ndm 2 -ndf 3", "node 1 0 0", "puts done"});
    EXPECT_TRUE(clean.Finished()) << clean.Console();
    EXPECT_TRUE(FailureLines(clean.Console()).empty()) << clean.Console();

    const SolverRun failed = RunSolver({"model basic -ndm 2 -ndf 3", "node 1 0 0", "node 1 0 0"});
    EXPECT_FALSE(failed.Finished());
    EXPECT_FALSE(FailureLines(failed.Console()).empty()) << failed.Console();
}

TEST_F(SolverRunTest, RecorderFilesAndExtraFilesAreInTheRunFolder) {
    const std::filesystem::path extra =
        std::filesystem::path(VANDRA_SOURCE_DIR) / "tests/solver/SolverSupportTest.cpp";
    const SolverRun run = RunSolver({"set out [open values.out w]", "puts $out \"1.5 -2e-3 7\"",
                                     "puts $out \"0 1E+002 3\"", "close $out",
                                     "if {![file exists SolverSupportTest.cpp]} {error missing}"},
                                    {extra});
    ExpectCleanRun(run, "writing a file");
    const std::vector<std::vector<double>> expected = {{1.5, -2e-3, 7}, {0, 100, 3}};
    EXPECT_EQ(ReadRecorder(run.Folder() / "values.out"), expected);
}

} // namespace
} // namespace vandra::testing
