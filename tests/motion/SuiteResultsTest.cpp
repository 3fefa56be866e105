// The IDA table and its median across records, and the CSV of a suite's runs.
#include "motion/SuiteResults.h"
#include "CaseFile.h"

#include <gtest/gtest.h>

#include <limits>

namespace vandra::motion {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// The medians of tests/cases/motion/medians.case.
TEST(SuiteResults, MedianCountsCollapsesAsInfiniteDrift) {
    for (const testing::TestCase& c : testing::ReadCases("motion/medians.case")) {
        std::vector<double> drifts;
        for (const std::string& d : testing::Words(c.One("drifts")))
            drifts.push_back(std::stod(d));
        EXPECT_EQ(MedianCountingCollapses(drifts), std::stod(c.One("median"))) << c.where;
    }
}

// Three records at three levels given out of order: one run lost convergence (a collapse), one
// failed and one is pending (no result: not counted).
Manifest ThreeByThree() {
    Manifest m;
    m.kind = IntensityKind::kLevel;
    m.intensities = {0.6, 0.2, 0.4};
    m.period = 1;
    for (const char* label : {"rsn1.AT2", "rsn2.AT2", "gm, \"x\".txt"}) {
        ManifestRecord r;
        r.label = label;
        m.records.push_back(r);
    }
    const struct {
        int record, level;
        RunStatus status;
        bool converged;
        double drift;
    } runs[] = {{0, 0, RunStatus::kDone, true, 0.030}, {0, 1, RunStatus::kDone, true, 0.005},
                {0, 2, RunStatus::kDone, true, 0.012}, {1, 0, RunStatus::kDone, false, 0.08},
                {1, 1, RunStatus::kDone, true, 0.004}, {1, 2, RunStatus::kFailed, true, 0},
                {2, 0, RunStatus::kDone, false, 0.2},  {2, 1, RunStatus::kDone, true, 0.006},
                {2, 2, RunStatus::kPending, true, 0}};
    for (const auto& r : runs) {
        ManifestRun run;
        run.folder = "run_" + std::to_string(m.runs.size() + 1);
        run.record = r.record;
        run.level = r.level;
        run.status = r.status;
        if (r.status == RunStatus::kDone)
            run.result = RunResult{r.converged, r.drift, 10 * r.drift, 1e5};
        if (r.status == RunStatus::kFailed) run.reason = "killed";
        m.runs.push_back(run);
    }
    return m;
}

TEST(SuiteResults, IdaTableSortsIntensitiesAndTakesTheMedianOfCountedRuns) {
    const IdaTable t = BuildIdaTable(ThreeByThree());
    EXPECT_EQ(t.intensities, (std::vector<double>{0.2, 0.4, 0.6}));
    using D = std::optional<double>;
    const std::vector<std::vector<D>> drift = {
        {0.005, 0.004, 0.006}, {0.012, std::nullopt, std::nullopt}, {0.030, kInf, kInf}};
    EXPECT_EQ(t.drift, drift);
    EXPECT_EQ(t.median, (std::vector<D>{0.005, 0.012, kInf}));
    EXPECT_EQ(t.records[2], "gm, \"x\".txt");
}

TEST(SuiteResults, CsvHasOneLinePerRun) {
    EXPECT_EQ(SuiteResultsCsv(ThreeByThree()),
              "record,level,peak drift ratio,peak roof displacement,peak base shear,converged\n"
              "rsn1.AT2,0.6,0.03,0.3,100000,yes\n"
              "rsn1.AT2,0.2,0.005,0.05,100000,yes\n"
              "rsn1.AT2,0.4,0.012,0.12,100000,yes\n"
              "rsn2.AT2,0.6,0.08,0.8,100000,no\n"
              "rsn2.AT2,0.2,0.004,0.04,100000,yes\n"
              "rsn2.AT2,0.4,,,,\n"
              "\"gm, \"\"x\"\".txt\",0.6,0.2,2,100000,no\n"
              "\"gm, \"\"x\"\".txt\",0.2,0.006,0.06,100000,yes\n"
              "\"gm, \"\"x\"\".txt\",0.4,,,,\n");
}

} // namespace
} // namespace vandra::motion
