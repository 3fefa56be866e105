// Expanding suites into runs, naming their folders, and the manifest a runner keeps.
#include "motion/Manifest.h"
#include "CaseFile.h"
#include "MotionTestSupport.h"
#include "model/AtomicFile.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

#include <numbers>
#include <sstream>

namespace vandra::motion {
namespace {

using testing::ProcessTempDir;
using testing::WithPath;
using testing::WriteScratchFile;

const std::string kHeader = "PEER NGA\nEVENT, STATION\nACCELERATION TIME SERIES IN UNITS OF G\n";

RecordSource Peer(const std::string& path) {
    return RecordSource{path, RecordFormat::kPeer, 0, 1, 0};
}

// The runs of tests/cases/motion/run-folders.case.
TEST(Manifest, FolderNamesAreSafeAndTellTheRun) {
    for (const testing::TestCase& c : testing::ReadCases("motion/run-folders.case")) {
        const std::vector<std::string> w = testing::Words(c.One("run"));
        ASSERT_EQ(w.size(), 4u) << c.where;
        const std::string folder = RunFolderName(
            std::stoi(w[0]), std::stoi(w[1]), testing::Unescaped(c.One("path")),
            w[2] == "level" ? IntensityKind::kLevel : IntensityKind::kFactor, std::stoi(w[3]));
        EXPECT_EQ(folder, c.One("folder")) << c.where;
        EXPECT_TRUE(IsSafeFolderName(folder)) << folder;
    }
    for (const char* unsafe : {"", "..", "run/1", "run 1", "run;1", "run$1", "r\xc3\xa9"})
        EXPECT_FALSE(IsSafeFolderName(unsafe)) << unsafe;
}

// Two records at two factors, a third record missing: its runs fail with the reason, the others
// wait with the factor as their scale.
TEST(Manifest, PlanOfFactorsKeepsUnreadableRecordsAsFailedRuns) {
    const std::string a =
        WriteScratchFile("plan/a.AT2", kHeader + "NPTS= 3, DT= .01\n0.1 -0.4 0.2\n");
    const std::string b = WriteScratchFile("plan/b.txt", "0.05\n0.1\n");
    const std::string missing = ProcessTempDir() + "/plan/gone.AT2";
    Suite suite;
    suite.direction = 2;
    suite.records = {Peer(a), Peer(missing), {b, RecordFormat::kColumns, 0.02, 1, 0}};
    suite.intensities = {0.5, 1.5};
    const Manifest m = PlanSuite(suite);
    ASSERT_EQ(m.runs.size(), 6u);
    EXPECT_EQ(m.records[0].steps, 3);
    EXPECT_EQ(m.records[0].dt, 0.01);
    EXPECT_EQ(m.records[0].pga, 0.4);
    EXPECT_EQ(m.records[2].dt, 0.02);
    EXPECT_EQ(m.records[2].steps, 2);
    const std::string reason =
        "Cannot open the record \"" + missing + "\": No such file or directory";
    EXPECT_EQ(m.records[1].problem, reason);
    const char* expected[] = {"run_001_a_F1 0 0 0.5 pending",    "run_002_a_F2 0 1 1.5 pending",
                              "run_003_gone_F1 1 0 0 failed",   "run_004_gone_F2 1 1 0 failed",
                              "run_005_b_F1 2 0 0.5 pending",   "run_006_b_F2 2 1 1.5 pending"};
    for (size_t i = 0; i < m.runs.size(); ++i) {
        const ManifestRun& run = m.runs[i];
        std::ostringstream got;
        got << run.folder << ' ' << run.record << ' ' << run.level << ' ' << run.scale << ' '
            << (run.status == RunStatus::kFailed ? "failed" : run.status == RunStatus::kPending ? "pending" : "other");
        EXPECT_EQ(got.str(), expected[i]);
        EXPECT_EQ(run.reason, run.status == RunStatus::kFailed ? reason : "");
    }
    EXPECT_EQ(RunsToDo(m).size(), 6u);
}

// Levels scale each record by level / Sa(T1): for a resonant sine Sa = A / (2 zeta).
TEST(Manifest, PlanOfLevelsScalesEachRecordThroughItsSpectrum) {
    const double period = 0.6, zeta = 0.05, amplitude = 0.04;
    const Record sine = testing::TaperedSine(amplitude, 2 * std::numbers::pi / period, 120, 10, 60);
    const std::string sinePath = WriteScratchFile("plan/sine.txt", SingleColumnText(sine));
    Suite suite;
    suite.records = {{sinePath, RecordFormat::kColumns, sine.dt, 1, 0}};
    suite.kind = IntensityKind::kLevel;
    suite.intensities = {0.2, 0.6};
    suite.damping = zeta;
    EXPECT_THROW(PlanSuite(suite), InputError);
    for (const Manifest& m : {PlanSuite(suite, period), [&] {
                                  suite.period = period;
                                  return PlanSuite(suite, 5.0);
                              }()}) {
        EXPECT_EQ(m.period, period);
        ASSERT_EQ(m.runs.size(), 2u);
        for (const ManifestRun& run : m.runs)
            EXPECT_NEAR(run.scale * amplitude / (2 * zeta) / m.intensities[run.level], 1, 0.01);
    }
    suite.records.push_back(
        {WriteScratchFile("plan/still.txt", "0\n0\n0\n"), RecordFormat::kColumns, 0.01, 1, 0});
    const Manifest m = PlanSuite(suite);
    // What a runner reads back is what was planned: the scales are the numbers written.
    const std::string path = ProcessTempDir() + "/plan/" + kManifestFile;
    WriteManifest(m, path);
    EXPECT_EQ(ReadManifest(path), m);
    EXPECT_EQ(m.records[1].problem,
              suite.records.back().path +
                  ": Sa(T1) of the record is zero; it cannot be scaled to a level");
    EXPECT_EQ(m.runs[3].status, RunStatus::kFailed);
}

Manifest SampleManifest(const std::string& dir) {
    Manifest m;
    m.direction = 3;
    m.kind = IntensityKind::kLevel;
    m.intensities = {0.3, 0.1};
    m.period = 1.25;
    m.damping = 0.02;
    const auto record = [&](RecordSource source, std::string label, double dt, int steps,
                            double pga, std::optional<double> sa, std::string problem) {
        m.records.push_back(
            {std::move(source), std::move(label), dt, steps, pga, sa, std::move(problem)});
    };
    record(Peer(dir + "/records/rsn1.AT2"), "rsn1.AT2", 0.005, 5590, 0.31, 0.62, "");
    record({dir + "/gm, \"odd\".txt", RecordFormat::kColumns, 0.01, 2, 1},
           "gm, \"odd\".txt column 2", 0.01, 300, 0.2, 0.25, "");
    record(Peer("/elsewhere/rsn9.AT2"), "rsn9.AT2", 0, 0, 0, std::nullopt,
           "Cannot open the record \"/elsewhere/rsn9.AT2\": No such file or directory");
    for (int r = 0; r < 3; ++r) {
        for (int k = 0; k < 2; ++k) {
            ManifestRun run;
            run.folder = RunFolderName(2 * r + k + 1, 6, m.records[r].source.path, m.kind, k);
            run.record = r;
            run.level = k;
            run.scale = 0.25 * (r + 1) + k;
            m.runs.push_back(run);
        }
    }
    MarkDone(m.runs[0], {true, 0.0123, 45.5, 1.5e6});
    MarkDone(m.runs[1], {false, 0.25, 300, 2e6, 7.35});
    MarkRunning(m.runs[2]);
    MarkFailed(m.runs[3], "The solver was killed (signal 9)\nsee \"run.log\"");
    MarkFailed(m.runs[4], m.records[2].problem);
    MarkFailed(m.runs[5], m.records[2].problem);
    return m;
}

TEST(Manifest, RoundTripKeepsEveryRunAndItsStatus) {
    const std::string dir = ProcessTempDir() + "/suite_out";
    std::filesystem::create_directories(dir);
    const std::string path = dir + "/" + kManifestFile;
    Manifest m = SampleManifest(ProcessTempDir());
    WriteManifest(m, path);
    Manifest back = ReadManifest(path);
    EXPECT_EQ(back, m);
    EXPECT_EQ(RunsToDo(back), (std::vector<size_t>{2, 3, 4, 5}));

    // A runner started again finishes the rest; a peak the solver gave no number for is kept empty.
    MarkDone(FindRun(back, back.runs[2].folder), {true, 0.004, 12, 3e5});
    MarkDone(FindRun(back, back.runs[3].folder), {false, std::nan(""), 7, 1e5});
    WriteManifest(back, path);
    const Manifest again = ReadManifest(path);
    EXPECT_EQ(RunsToDo(again), (std::vector<size_t>{4, 5}));
    EXPECT_TRUE(std::isnan(again.runs[3].result->peakDrift));
    EXPECT_EQ(again.runs[3].result->peakRoof, 7);
    EXPECT_THROW(FindRun(back, "run_999_x_L1"), InputError);
}

// A manifest edited or damaged by hand is refused where a runner would act on it wrongly
// (tests/cases/motion/manifest-refusals.case).
TEST(Manifest, RefusesWhatARunnerCouldNotTrust) {
    const std::string path = ProcessTempDir() + "/tampered/manifest.json";
    std::filesystem::create_directories(ProcessTempDir() + "/tampered");
    const std::string good = ManifestText(SampleManifest(ProcessTempDir()), path);
    for (const testing::TestCase& c : testing::ReadCases("motion/manifest-refusals.case")) {
        std::string text = good;
        const size_t at = text.find(c.One("from"));
        ASSERT_NE(at, std::string::npos) << c.where;
        text.replace(at, c.One("from").size(), c.One("to"));
        WriteFileAtomically(path, text);
        try {
            ReadManifest(path);
            ADD_FAILURE() << c.where;
        } catch (const InputError& e) {
            EXPECT_EQ(e.what(), WithPath(c.One("error"), path)) << c.where;
        }
    }
}

} // namespace
} // namespace vandra::motion
