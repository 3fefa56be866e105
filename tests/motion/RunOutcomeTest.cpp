// The run contract: the outcome file a script writes, the error a solver's console shows, and the
// verdict on a run folder after its solver ended.
#include "motion/RunOutcome.h"
#include "CaseFile.h"
#include "MotionTestSupport.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

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

// The outcomes of tests/cases/motion/outcome-reads.case.
TEST(RunOutcome, ReadsWhatAScriptWrites) {
    for (const testing::TestCase& c : testing::ReadCases("motion/outcome-reads.case")) {
        const RunResult r = ReadRunOutcome(
            WriteScratchFile("outcome/good.txt", c.Has("text") ? testing::Unescaped(c.One("text")) : kGood));
        const std::vector<std::string> gives = testing::Words(c.One("gives"));
        ASSERT_EQ(gives.size(), 5u) << c.where;
        EXPECT_EQ(r.converged, gives[0] == "yes") << c.where;
        const double got[] = {r.time, r.peakDrift, r.peakRoof, r.peakBaseShear};
        for (size_t k = 0; k < 4; ++k) {
            const double want = std::stod(gives[k + 1]);
            EXPECT_TRUE(got[k] == want || (std::isnan(got[k]) && std::isnan(want))) << c.where << " value " << k;
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

// The consoles of tests/cases/motion/solver-console.case; a long line is cut to 200 characters.
TEST(RunOutcome, ErrorLineOfASolverConsole) {
    for (const testing::TestCase& c : testing::ReadCases("motion/solver-console.case"))
        EXPECT_EQ(SolverErrorLine(c.One("console")), c.One("line")) << c.where;
    EXPECT_EQ(SolverErrorLine("WARNING " + std::string(500, 'x')).size(), 200u);
}

// The cases of tests/cases/motion/run-verdicts.case.
TEST(RunOutcome, JudgesARunFolder) {
    const std::filesystem::path dir = std::filesystem::path(ProcessTempDir()) / "judged";
    for (const testing::TestCase& c : testing::ReadCases("motion/run-verdicts.case")) {
        std::filesystem::remove_all(dir);
        if (!c.Has("removed")) {
            std::filesystem::create_directories(dir);
            WriteScratchFile("judged/solver.log", testing::Unescaped(c.One("log")));
            const std::string outcome = c.One("outcome");
            if (!outcome.empty())
                WriteScratchFile("judged/outcome.txt", outcome == "good" ? kGood : testing::Unescaped(outcome));
        }
        std::istringstream end(c.One("end"));
        std::string how, more;
        int value = 0;
        end >> how;
        if (how != "unknown") end >> value;
        std::getline(end >> std::ws, more);
        const RunVerdict verdict = JudgeRun(dir.string(),
                                            how == "exited"      ? SolverEnd::Exited(value)
                                            : how == "signalled" ? SolverEnd::Signalled(value)
                                                                 : SolverEnd{},
                                            more);
        EXPECT_EQ(verdict.reason, WithPath(c.One("reason"), dir.string())) << c.where;
        EXPECT_EQ(verdict.result.has_value(), !c.Has("reason")) << c.where;
    }
}

} // namespace
} // namespace vandra::motion
