// Suites written by the suite command's core, run on the local pool with the real solver: an
// elastic one-storey building meets its closed form under every time-history type, a run gives the
// peaks that the program's own single time-history script and the result readers give.
#include "PostRuns.h"
#include "SuiteFolders.h"
#include "TestTempDir.h"

#include "model/AtomicFile.h"
#include "motion/LocalPool.h"
#include "motion/RunOutcome.h"
#include "post/Reactions.h"
#include "post/RecorderReaders.h"
#include "post/Storeys.h"
#include "suite/SuiteFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numbers>

namespace vandra::testing {
namespace {

namespace fs = std::filesystem;
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

TModel Storey() {
    TModel model = ModelFile("storey_mass.s2k");
    model.Sections[1].FrameType = kElasticBeamColumn;
    return model;
}

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
    const std::string solver = fs::absolute(FindOpenSees()).string();
    suite::WriteSuite(model, settings, suite, dir.string(), [&] { return solver; });
    motion::LocalPool pool(dir.string(), {solver, jobs});
    while (pool.Poll(200)) {
    }
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
    const TModel model = Storey();
    const fs::path dir = FreshSuiteFolder(ProcessTempDir(), "storey");
    motion::Suite suite;
    suite.records = WriteRecords(dir, {1, 2});
    suite.kind = IntensityKind::kLevel;
    suite.intensities = {0.1, 0.2, 0.4};
    const double omega2 = kStiffness / kMass;
    const struct {
        int type;
        double damping;
    } cases[] = {{kTimeHistory, 0.05}, {kGravityTimeHistory, 0.02}, {kMultipleSupport, 0}};
    for (const auto& c : cases) {
        TSettings settings;
        settings.AnalysisType = c.type;
        suite.damping = c.damping;
        const motion::Manifest m =
            WriteAndRun(model, settings, suite, dir / ("type" + std::to_string(c.type)), 2);
        EXPECT_NEAR(*m.period, 2 * std::numbers::pi / std::sqrt(omega2), 1e-6);
        for (const motion::ManifestRun& run : m.runs) {
            ASSERT_TRUE(run.result) << run.folder;
            const double level = m.intensities[static_cast<size_t>(run.level)];
            const motion::RunResult& r = *run.result;
            EXPECT_TRUE(r.converged);
            EXPECT_NEAR(r.peakBaseShear / (kMass * level * kGravity), 1, 0.01)
                << "type " << c.type << ", " << run.folder;
            EXPECT_NEAR(r.peakRoof * omega2 / (level * kGravity), 1, 0.01)
                << "type " << c.type << ", " << run.folder;
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
    TModel model = ModelFile("two_storey_frame.s2k");
    TSettings settings;
    AssignSetting(model, settings, "AnalysisType=5");
    AssignSetting(model, settings, "RecordFile=" + gmx.string());
    settings.RecordScale = 0.1 / kGravity; // the templates' factor 0.1
    AssignSetting(model, settings, "RecOpt=1,0,0,0,0");
    AssignSetting(model, settings, "RecReactions=1");
    ScriptLineList lines;
    GenerateScript(model, settings, lines);
    const SolverRun run = RunSolver(lines, {gmx});
    ExpectCleanRun(run, "single time history");
    const int steps = 500;
    const TNodeHistory history = ReadNodeHistory(model, run.Folder().string(), steps);
    const TLevels levels = FindLevels(model);
    const TDrifts drifts = ComputeDrifts(model, levels, history);
    const TReactionHistory reactions = ReadReactions(model, settings, run.Folder().string());
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
    suite.intensities = {0.1 / kGravity};
    const motion::Manifest m =
        WriteAndRun(model, settings, suite, FreshSuiteFolder(ProcessTempDir(), "gmx") / "suite", 1);
    const motion::RunResult& r = *m.runs[0].result;
    EXPECT_NEAR(r.peakDrift / drift, 1, 1e-4);
    EXPECT_NEAR(r.peakRoof / roof, 1, 1e-5);
    EXPECT_NEAR(r.peakBaseShear / shear, 1, 1e-5);
}

} // namespace
} // namespace vandra::testing
