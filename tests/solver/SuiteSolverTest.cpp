// Suites with the real solver. The local pool runs a suite of oscillators: runs that end well give
// the oscillator's peaks (the spectral displacement of the scaled record at periods from 0.2 to
// 3 s), each fault fails only its own run with its reason, a run that stops converging is a result,
// a second start skips what is done, and cancel leaves nothing running. Suites written by the suite
// command's core: an elastic one-storey building meets its closed form under every time-history
// type, and a run gives the peaks that the program's own single time-history script and the result
// readers give.
#include "PostRuns.h"
#include "SuiteFolders.h"

#include "model/AtomicFile.h"
#include "model/Errors.h"
#include "model/NumberText.h"
#include "motion/LocalPool.h"
#include "motion/RunOutcome.h"
#include "motion/Spectrum.h"
#include "post/Reactions.h"
#include "post/RecorderReaders.h"
#include "post/Storeys.h"
#include "suite/SuiteFolder.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <numbers>
#include <thread>

namespace vandra::testing {
namespace {

namespace fs = std::filesystem;
using motion::LocalPool;
using motion::ManifestRun;
using motion::RunStatus;

constexpr double kSeconds = 8;
// The periods of the elastic runs 1 to 4 (the others 0.5 s).
constexpr double kPeriods[] = {0.2, 0.5, 1.0, 3.0, 0.5, 0.5, 0.5, 0.5, 0.5};

class SuitePoolSolverTest : public SolverTest {};

// The steps of a run: the record, then three periods of free vibration.
int Steps(const motion::Record& record, double period) {
    return record.Steps() - 1 + static_cast<int>(3 * period / record.dt);
}

long LineCount(const fs::path& file) {
    std::ifstream in(file);
    return std::count(std::istreambuf_iterator<char>(in), {}, '\n');
}

std::string Solver() {
    return fs::absolute(FindOpenSees()).string();
}

// Runs the pool to its end; `during` sees it after every look.
void RunToEnd(
    LocalPool& pool, const std::function<void(LocalPool&)>& during = [](LocalPool&) {}) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::minutes(5);
    while (pool.Poll(200)) {
        during(pool);
        ASSERT_LT(std::chrono::steady_clock::now(), limit) << "the suite did not end";
    }
}

// Three records at three factors on two solvers at a time. Record 1 is elastic throughout; record
// 2 misses its record file at factor 2 and yields at factor 3; record 3's solver kills itself at
// factor 1, its folder is removed while it runs at factor 2, and it has no script at factor 3.
TEST_F(SuitePoolSolverTest, FaultsFailOnlyTheirRunsAndASecondStartSkipsWhatIsDone) {
    const fs::path dir = FreshSuiteFolder(ProcessTempDir(), "pool_faults");
    const std::vector<motion::Record> records = {
        GroundMotion(1, kSeconds), GroundMotion(2, kSeconds), GroundMotion(3, kSeconds)};
    const motion::Manifest planned =
        MakeSuite(dir, records, {0.5, 1.0, 2.0}, [&](const ManifestRun& run, const auto& record) {
            const double period = kPeriods[static_cast<size_t>(run.record * 3 + run.level)];
            Oscillator o{period, 0, ""};
            if (run.record == 1 && run.level == 2) o.yieldForce = 2.0;
            if (run.record == 2 && run.level == 0) o.before = "exec kill -KILL [pid]";
            if (run.record == 2 && run.level == 1) o.before = "after 1500";
            return OscillatorScript(o, record.dt, Steps(record, period), run.scale);
        });
    fs::remove(dir / planned.runs[4].folder / "record.txt");
    fs::remove(dir / planned.runs[8].folder / motion::kRunScript);
    const fs::path removed = dir / planned.runs[7].folder;

    motion::Manifest first;
    {
        LocalPool pool(dir.string(), {Solver(), 2});
        int most = 0;
        RunToEnd(pool, [&](LocalPool& p) {
            const motion::SuiteProgress progress = p.Progress();
            EXPECT_LE(progress.running, 2);
            most = std::max(most, progress.running);
            if (p.Runs().runs[7].status == RunStatus::kRunning) fs::remove_all(removed);
        });
        EXPECT_EQ(most, 2);
        first = pool.Runs();
        EXPECT_EQ(pool.Progress(), (motion::SuiteProgress{9, 5, 1, 4, 0, 0}));
    }
    const RunStatus done = RunStatus::kDone, failed = RunStatus::kFailed;
    const std::pair<RunStatus, std::string> expected[] = {
        {done, ""},
        {done, ""},
        {done, ""},
        {done, ""},
        {failed,
         "The solver stopped before writing outcome.txt: the record file record.txt is missing"},
        {done, ""},
        {failed, "The solver was killed by signal 9"},
        {failed, "The run folder was removed during the run"},
        {failed, "The run folder has no script run.tcl"}};
    ASSERT_EQ(first.runs.size(), 9u);
    EXPECT_EQ(first.runs[8].folder, "run_009_gm3_F3");
    for (size_t i = 0; i < 9; ++i) {
        const ManifestRun& run = first.runs[i];
        EXPECT_EQ(run.status, expected[i].first) << run.folder << ": " << run.reason;
        EXPECT_NE(run.reason.find(expected[i].second), std::string::npos)
            << run.folder << ": " << run.reason;
        EXPECT_EQ(run.result.has_value(), run.status == done) << run.folder;
    }
    // What was written is what the pool holds (to the 15 digits the manifest keeps).
    const motion::Manifest written = motion::ReadManifest((dir / motion::kManifestFile).string());
    EXPECT_EQ(motion::ManifestText(written, "m.json"), motion::ManifestText(first, "m.json"));

    // Elastic runs: the peak displacement is the spectral displacement of the scaled record, the
    // base shear the spring's force at that displacement, the drift it over the storey height.
    for (size_t i : {0, 1, 2, 3}) {
        const ManifestRun& run = first.runs[i];
        const motion::RunResult& r = *run.result;
        const motion::Record& record = records[static_cast<size_t>(run.record)];
        const double k = OscillatorStiffness(kPeriods[i]);
        const double sd = run.scale * motion::PeakResponse(record, kPeriods[i], 0.05).sd;
        EXPECT_TRUE(r.converged) << run.folder;
        EXPECT_NEAR(r.peakRoof / sd, 1, 0.005) << run.folder;
        EXPECT_NEAR(r.peakBaseShear / (k * r.peakRoof), 1, 1e-9) << run.folder;
        EXPECT_NEAR(r.peakDrift * kStoreyHeight / r.peakRoof, 1, 1e-12) << run.folder;
        EXPECT_NEAR(r.time, Steps(record, kPeriods[i]) * record.dt, 1e-9) << run.folder;
    }
    // The yielding run stopped converging at the first yield: a result, cut short, whose spring
    // never carried more than its yield force.
    const motion::RunResult& yielded = *first.runs[5].result;
    EXPECT_FALSE(yielded.converged);
    EXPECT_TRUE(yielded.time > 0 && yielded.time < kSeconds) << yielded.time;
    EXPECT_TRUE(yielded.peakBaseShear > 1 && yielded.peakBaseShear <= 2) << yielded.peakBaseShear;

    // Started again with the record put back: only the runs not done are started; the one whose
    // record is back is done now.
    WriteFileAtomically((dir / first.runs[4].folder / "record.txt").string(),
                        motion::SingleColumnText(records[1]));
    {
        LocalPool pool(dir.string(), {Solver(), 2});
        RunToEnd(pool);
        const motion::Manifest& again = pool.Runs();
        for (size_t i : {0, 1, 2, 3, 5}) {
            EXPECT_EQ(again.runs[i].result, written.runs[i].result) << again.runs[i].folder;
            EXPECT_EQ(LineCount(dir / again.runs[i].folder / "starts.txt"), 1);
        }
        EXPECT_EQ(again.runs[4].status, RunStatus::kDone);
        EXPECT_EQ(LineCount(dir / again.runs[4].folder / "starts.txt"), 2);
        EXPECT_EQ(LineCount(dir / again.runs[6].folder / "starts.txt"), 2);
        EXPECT_NE(again.runs[7].reason.find("run_008_gm3_F2\" is missing"), std::string::npos)
            << again.runs[7].reason;
        EXPECT_EQ(again.runs[8].reason, first.runs[8].reason);
    }
}

bool ProcessGone(pid_t pid) {
    // A killed process that its new parent has not reaped yet is a zombie: gone as well.
    for (int tries = 0; tries < 100; ++tries) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string pidText, name, state;
        if (!(stat >> pidText >> name >> state) || state == "Z") return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

// Cancel stops the solvers and what their scripts started, and leaves every run pending on disk;
// a second runner on the same suite is refused while the first one holds it.
TEST_F(SuitePoolSolverTest, CancelStopsEverythingAndLeavesTheRunsPending) {
    const fs::path dir = FreshSuiteFolder(ProcessTempDir(), "pool_cancel");
    MakeSuite(dir, {GroundMotion(1, 1)}, {0.5, 1.0, 2.0}, [](const ManifestRun&, const auto&) {
        return "set f [open child.pid w]; puts $f [exec sleep 60 &]; close $f\nafter 60000\n";
    });
    LocalPool pool(dir.string(), {Solver(), 2});
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    const auto child = [&](size_t run) {
        std::ifstream in(dir / pool.Runs().runs[run].folder / "child.pid");
        pid_t pid = 0;
        return in >> pid ? pid : 0;
    };
    while (child(0) == 0 || child(1) == 0) {
        ASSERT_TRUE(pool.Poll(100));
        ASSERT_LT(std::chrono::steady_clock::now(), limit) << "the scripts did not start";
    }
    EXPECT_EQ(pool.Progress(), (motion::SuiteProgress{3, 0, 0, 0, 2, 1}));
    try {
        LocalPool second(dir.string(), {Solver(), 1});
        ADD_FAILURE() << "a second runner was let in";
    } catch (const InputError& e) {
        EXPECT_EQ(std::string(e.what()), "Another runner is working on the suite \"" +
                                             dir.lexically_normal().string() + "\"");
    }
    pool.Cancel();
    EXPECT_FALSE(pool.Poll(0));
    for (size_t i : {0, 1})
        EXPECT_TRUE(ProcessGone(child(i))) << "the child of run " << i << " still runs";
    const motion::Manifest onDisk = motion::ReadManifest((dir / motion::kManifestFile).string());
    for (const ManifestRun& run : onDisk.runs)
        EXPECT_EQ(run.status, RunStatus::kPending) << run.folder;
    EXPECT_EQ(pool.Progress(), (motion::SuiteProgress{3, 0, 0, 0, 0, 3}));
}

using motion::IntensityKind;
using motion::RecordFormat;

class SuiteScriptsSolverTest : public SolverTest {};

constexpr double kGravity = motion::kStandardGravity * 1000; // mm/s^2

// Four square columns 300 x 300 (E = 200000 N/mm^2, h = 3000 mm) at the corners of a 4 m square,
// fixed at the base; the floor is a rigid diaphragm that keeps their tops from rotating, carrying
// the mass m at its centre. Along X or Y it is one oscillator of stiffness 4 x 12 EI / h^3.
constexpr double kMass = 1500, kHeight = 3000;
constexpr double kStiffness =
    4 * 12 * 200000.0 * (300.0 * 300 * 300 * 300 / 12) / (kHeight * kHeight * kHeight);

// Records written as files of one column at 0.01 s, for a suite of them.
std::vector<motion::RecordSource> WriteRecords(const fs::path& dir, const std::vector<int>& seeds) {
    std::vector<motion::RecordSource> sources;
    for (int seed : seeds) {
        const fs::path file = dir / ("gm" + std::to_string(seed) + ".txt");
        WriteFileAtomically(file.string(), motion::SingleColumnText(GroundMotion(seed, 10)));
        sources.push_back({file.string(), RecordFormat::kColumns, 0.01, 1, 0});
    }
    return sources;
}

motion::Manifest WriteAndRun(const TModel& model, const TSettings& settings,
                             const motion::Suite& suite, const fs::path& dir, int jobs) {
    fs::remove_all(dir);
    suite::WriteSuite(model, settings, suite, dir.string(), [] { return Solver(); });
    motion::LocalPool pool(dir.string(), {Solver(), jobs});
    RunToEnd(pool);
    for (const motion::ManifestRun& run : pool.Runs().runs) {
        EXPECT_EQ(run.status, motion::RunStatus::kDone) << run.folder << ": " << run.reason;
        std::ifstream log(dir / run.folder / motion::kRunLog);
        const std::string console((std::istreambuf_iterator<char>(log)), {});
        EXPECT_EQ(FailureLines(console), std::vector<std::string>()) << run.folder;
    }
    return pool.Runs();
}

// Scaled to Sa(T1) = L g at the suite's damping, the elastic storey's peak base shear is m L g
// whatever the record, its roof moves L g / w^2 and its drift is that over h: under a uniform
// excitation, after gravity loads (type 6), and with its supports moved (type 7, undamped: the
// damping of the mass would act on the absolute velocity).
TEST_F(SuiteScriptsSolverTest, ElasticStoreyMeetsItsClosedForm) {
    TModel model = ModelFile("storey_mass.s2k");
    model.Sections[1].FrameType = kElasticBeamColumn;
    const fs::path dir = FreshSuiteFolder(ProcessTempDir(), "storey");
    motion::Suite suite;
    suite.records = WriteRecords(dir, {1, 2});
    suite.kind = IntensityKind::kLevel;
    suite.intensities = {0.1, 0.2, 0.4};
    const double omega2 = kStiffness / kMass;
    const std::pair<int, double> cases[] = {
        {kTimeHistory, 0.05}, {kGravityTimeHistory, 0.02}, {kMultipleSupport, 0}};
    for (const auto& [type, damping] : cases) {
        SCOPED_TRACE("type " + std::to_string(type));
        TSettings settings;
        settings.AnalysisType = type;
        suite.damping = damping;
        const motion::Manifest m =
            WriteAndRun(model, settings, suite, dir / ("type" + std::to_string(type)), 2);
        EXPECT_NEAR(*m.period, 2 * std::numbers::pi / std::sqrt(omega2), 1e-6);
        for (const motion::ManifestRun& run : m.runs) {
            ASSERT_TRUE(run.result) << run.folder;
            const double level = m.intensities[static_cast<size_t>(run.level)];
            const motion::RunResult& r = *run.result;
            EXPECT_TRUE(r.converged);
            EXPECT_NEAR(r.peakBaseShear / (kMass * level * kGravity), 1, 0.01) << run.folder;
            EXPECT_NEAR(r.peakRoof * omega2 / (level * kGravity), 1, 0.01) << run.folder;
            EXPECT_NEAR(r.peakDrift * kHeight / r.peakRoof, 1, 1e-6) << run.folder;
            EXPECT_NEAR(r.time, 10, 1e-9);
        }
    }
}

// The program's single time-history script (GMX.txt times 0.1, 0.02 s apart, its recorders read
// back by the result readers) and a suite run of the same record at the same scale give the same
// peaks, to the recorders' six digits, over the record's 10 s.
TEST_F(SuiteScriptsSolverTest, RunGivesThePeaksOfTheSingleScriptAndTheResultReaders) {
    const fs::path gmx = fs::path(VANDRA_SOURCE_DIR) / "tests/data/GMX.txt";
    // GMX.txt times 0.1, the templates' factor
    const PostRun p = RunPost(ModelFile("two_storey_frame.s2k"),
                              {"AnalysisType=5", "RecordFile=" + gmx.string(), "RecOpt=1,0,0,0,0",
                               "RecordScale=" + text::FormatGeneral(0.1 / kGravity)});
    const TModel& model = p.model;
    const int steps = 500;
    const TNodeHistory history = ReadNodeHistory(model, p.folder(), steps);
    const TLevels levels = FindLevels(model);
    const TDrifts drifts = ComputeDrifts(model, levels, history);
    const TReactionHistory reactions = ReadReactions(model, p.settings, p.folder());
    double drift = 0, roof = 0, shear = 0;
    for (int k = 1; k <= steps; ++k) {
        for (int s = 1; s <= drifts.StoreyCount(); ++s)
            drift = std::max({drift, std::abs(drifts.At(k, s).X), std::abs(drifts.At(k, s).Y)});
        for (int j : levels.Levels.back().Joints)
            roof = std::max(roof, std::abs(history.StepX(k)[j]));
        shear = std::max(shear, std::abs(reactions.Total(k)[0]));
    }

    motion::Suite suite;
    suite.records = {{gmx.string(), RecordFormat::kColumns, 0.02, 1, 0}};
    suite.intensities = {p.settings.RecordScale};
    const motion::Manifest m = WriteAndRun(model, p.settings, suite,
                                           FreshSuiteFolder(ProcessTempDir(), "gmx") / "suite", 1);
    const motion::RunResult& r = *m.runs[0].result;
    EXPECT_NEAR(r.peakDrift / drift, 1, 1e-4);
    EXPECT_NEAR(r.peakRoof / roof, 1, 1e-5);
    EXPECT_NEAR(r.peakBaseShear / shear, 1, 1e-5);
}

} // namespace
} // namespace vandra::testing
