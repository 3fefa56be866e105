// The suite as a terminal shows it: the IDA table in columns, and the failed runs with their logs.
#include "motion/SuiteReport.h"
#include "MotionTestSupport.h"

#include <gtest/gtest.h>

namespace vandra::motion {
namespace {

// Two records at two factors given out of order: a drift rounded for reading, a collapse, a failed
// run (no result), one record's label longer than its numbers.
Manifest TwoByTwo() {
    Manifest m;
    m.intensities = {2, 0.5};
    for (const char* label : {"rsn1.AT2", "a_much_longer_label.txt"}) {
        ManifestRecord r;
        r.label = label;
        m.records.push_back(r);
    }
    const auto run = [&](const char* folder, int record, int level) -> ManifestRun& {
        m.runs.push_back({folder, record, level, 1.0, RunStatus::kPending, "", std::nullopt});
        return m.runs.back();
    };
    MarkDone(run("run_001_rsn1_F1", 0, 0), {false, 0.5, 1, 1});
    MarkDone(run("run_002_rsn1_F2", 0, 1), {true, 0.0123456, 1, 1});
    MarkFailed(run("run_003_a_F1", 1, 0), "The solver was killed by signal 9 (Killed)");
    MarkDone(run("run_004_a_F2", 1, 1), {true, 0.00098765, 1, 1});
    return m;
}

TEST(SuiteReport, IdaTableInColumns) {
    EXPECT_EQ(IdaTableText(TwoByTwo()), "factor  rsn1.AT2  a_much_longer_label.txt  median\n"
                                        "0.5     0.01235   0.0009877                0.006667\n"
                                        "2       collapse  -                        collapse\n");
}

TEST(SuiteReport, FailedRunsNameTheirLogWhenThereIsOne) {
    const std::string dir = testing::ProcessTempDir() + "/report";
    Manifest m = TwoByTwo();
    EXPECT_EQ(FailedRunsText(m, dir), "run_003_a_F1: The solver was killed by signal 9 (Killed)\n");
    testing::WriteScratchFile("report/run_003_a_F1/solver.log", "half a line");
    MarkFailed(m.runs[0], "The run folder was removed during the run");
    EXPECT_EQ(FailedRunsText(m, dir),
              "run_001_rsn1_F1: The run folder was removed during the run\n"
              "run_003_a_F1: The solver was killed by signal 9 (Killed) (log " +
                  dir + "/run_003_a_F1/solver.log)\n");
}

} // namespace
} // namespace vandra::motion
