// The run contract: the outcome file a script writes, the error a solver's console shows, and the
// verdict on a run folder after its solver ended.
#include "motion/RunOutcome.h"
#include "CaseFile.h"
#include "MotionTestSupport.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <filesystem>

namespace vandra::motion {
namespace {

using testing::ProcessTempDir;
using testing::WithPath;
using testing::WriteScratchFile;

const std::string kGood = "converged yes\ntime 9.990000\npeakDrift 0.046900855706719015\n"
                          "peakRoof 0.14070256712015705\npeakBaseShear 5.554714702161591\nend\n";

// Replaces the first `from` in text.
std::string Edited(std::string text, std::string_view from, std::string_view to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

TEST(RunOutcome, ReadsWhatAScriptWrites) {
    const double nan = std::nan("");
    const struct {
        std::string text;
        RunResult result;
    } cases[] = {
        {kGood, {true, 0.046900855706719015, 0.14070256712015705, 5.554714702161591, 9.99}},
        // Stopped converging: the peaks until then; any order, blank lines and CR LF pass.
        {"peakRoof 1e-05\r\n\r\npeakDrift 0\r\nconverged no\r\ntime 1.16\r\n"
         "peakBaseShear 1.5E+20\r\nend\r\n",
         {false, 0, 1e-05, 1.5e20, 1.16}},
        // A run that diverged may have no number for a peak.
        {"converged no\ntime 3\npeakDrift Inf\npeakRoof NaN\npeakBaseShear none\nend",
         {false, nan, nan, nan, 3}},
    };
    for (const auto& c : cases) {
        const RunResult r = ReadRunOutcome(WriteScratchFile("outcome/good.txt", c.text));
        EXPECT_EQ(r.converged, c.result.converged) << c.text;
        EXPECT_EQ(r.time, c.result.time) << c.text;
        for (auto [got, want] : {std::pair{r.peakDrift, c.result.peakDrift},
                                 {r.peakRoof, c.result.peakRoof},
                                 {r.peakBaseShear, c.result.peakBaseShear}}) {
            if (std::isnan(want))
                EXPECT_TRUE(std::isnan(got)) << c.text;
            else
                EXPECT_EQ(got, want) << c.text;
        }
    }
}

// A file cut short, a misspelt key or a sign error in a script is refused: a wrong number must
// not become a result (tests/cases/motion/outcome-refusals.case).
TEST(RunOutcome, RefusesWhatIsNotAWholeOutcome) {
    for (const testing::TestCase& c : testing::ReadCases("motion/outcome-refusals.case")) {
        std::string text = c.Has("text") ? c.One("text") : kGood + testing::Unescaped(c.One("append"));
        if (c.Has("from")) text = Edited(text, testing::Unescaped(c.One("from")), c.One("to"));
        const std::string path = WriteScratchFile("outcome/bad.txt", text);
        try {
            ReadRunOutcome(path);
            ADD_FAILURE() << c.where;
        } catch (const InputError& e) {
            EXPECT_EQ(e.what(), WithPath(c.One("error"), path)) << c.where;
        }
    }
}

TEST(RunOutcome, ErrorLineOfASolverConsole) {
    const struct {
        const char* console;
        const char* line;
    } cases[] = {
        // A Tcl error: its message, then the trace.
        {"OpenSees -- banner\n\nthe record file record.txt is missing\n    while executing\n"
         "\"error \"the record file record.txt is missing\"\"\n    invoked from within\n",
         "the record file record.txt is missing"},
        // A command that warns, then fails as a Tcl error: the warning is the message.
        {"banner\nWARNING invalid accel series: 1 pattern UniformExcitation -accel {series}\n\n"
         "    while executing\n\"pattern UniformExcitation 1 1 -accel 1\"\n",
         "WARNING invalid accel series: 1 pattern UniformExcitation -accel {series}"},
        // No Tcl error: the last warning.
        {"WARNING: CTestNormUnbalance::test() - failed to converge\nafter: 1 iterations\n"
         "WARNING no memory left\nsegmentation\n",
         "WARNING no memory left"},
        {"banner\nall well\n", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SolverErrorLine(c.console), c.line) << c.console;
    EXPECT_EQ(SolverErrorLine("WARNING " + std::string(500, 'x')).size(), 200u);
}

// The verdict on a run folder: what it holds after the solver ended, and how the solver ended.
TEST(RunOutcome, JudgesARunFolder) {
    const struct {
        bool folder;
        const char* outcome; // nullptr: none
        const char* log;
        SolverEnd end;
        std::string more;
        const char* reason; // empty: done
    } cases[] = {
        {true, kGood.c_str(), "", SolverEnd::Exited(0), "", ""},
        // A complete outcome is the result even when the solver crashed when it ended.
        {true, kGood.c_str(), "", SolverEnd::Signalled(SIGSEGV), "", ""},
        {false, nullptr, "", SolverEnd::Exited(0), "", "The run folder was removed during the run"},
        {true, "converged yes\n", "", SolverEnd::Exited(0), "",
         "<f>/outcome.txt: \"time\" is missing"},
        {true, nullptr, "half a line", SolverEnd::Signalled(SIGKILL), "",
         "The solver was killed by signal 9 (Killed)"},
        {true, nullptr, "banner\ncouldn't read file \"../model.tcl\"\n    while executing\n",
         SolverEnd::Exited(0), "",
         "The solver stopped before writing outcome.txt: couldn't read file \"../model.tcl\""},
        {true, nullptr, "", SolverEnd::Exited(3), "",
         "The solver stopped before writing outcome.txt (exit status 3)"},
        {true, nullptr, "", SolverEnd{}, "the Slurm task ended before the solver (TIMEOUT)",
         "The solver stopped before writing outcome.txt; the Slurm task ended before the solver "
         "(TIMEOUT)"},
    };
    const std::filesystem::path dir = std::filesystem::path(ProcessTempDir()) / "judged";
    for (const auto& c : cases) {
        std::filesystem::remove_all(dir);
        if (c.folder) {
            std::filesystem::create_directories(dir);
            WriteScratchFile("judged/solver.log", c.log);
            if (c.outcome) WriteScratchFile("judged/outcome.txt", c.outcome);
        }
        const RunVerdict verdict = JudgeRun(dir.string(), c.end, c.more);
        EXPECT_EQ(verdict.reason, WithPath(c.reason, dir.string())) << c.reason;
        EXPECT_EQ(verdict.result.has_value(), *c.reason == '\0') << c.reason;
    }
}

} // namespace
} // namespace vandra::motion
