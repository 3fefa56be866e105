// vandra-cli run-suite and suite-results on a suite whose scripts Tcl itself runs (tclsh stands
// in for the solver: the runner only starts it and reads what the script leaves).
#include "CliTestSupport.h"

#include "model/AtomicFile.h"
#include "motion/Manifest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

using namespace cli_test;
namespace fs = std::filesystem;

namespace {

const char* const kTclsh = "/usr/bin/tclsh";

// A script that counts its starts, then writes the outcome, or stops with an error.
std::string Script(const std::string& body) {
    return "set f [open starts.txt a]; puts $f start; close $f\n" + body;
}

std::string Outcome(const char* converged, double drift) {
    return Script("set f [open outcome.txt w]\nputs $f \"converged " + std::string(converged) +
                  "\ntime 4.5\npeakDrift " + std::to_string(drift) +
                  "\npeakRoof 30\npeakBaseShear 2e5\nend\"\nclose $f\n");
}

const char* const kProblem = "Cannot open the record \"gm2.AT2\": No such file or directory";

// Two records at three factors. The first one's runs converge, do not converge, and stop with an
// error; the second record could not be read when the suite was planned, so its runs failed then
// and have no folder.
std::string MakeSuite() {
    namespace motion = vandra::motion;
    const fs::path dir = fs::path(TempPath("suite")).lexically_normal();
    fs::remove_all(dir);
    motion::Manifest m;
    m.intensities = {0.5, 1, 2};
    for (const char* label : {"gm1.AT2", "gm2.AT2"}) {
        motion::ManifestRecord record;
        record.source.path = (dir / label).string();
        record.label = label;
        record.dt = 0.01;
        record.steps = 450;
        record.pga = 0.3;
        m.records.push_back(record);
    }
    m.records[1].problem = kProblem;
    const std::string scripts[] = {Outcome("yes", 0.004), Outcome("no", 0.09),
                                   Script("error \"no model\"\n")};
    for (int r = 0; r < 2; ++r) {
        for (int level = 0; level < 3; ++level) {
            motion::ManifestRun run;
            run.folder = motion::RunFolderName(3 * r + level + 1, 6, m.records[r].label,
                                               motion::IntensityKind::kFactor, level);
            run.record = r;
            run.level = level;
            run.scale = m.intensities[static_cast<size_t>(level)];
            if (r == 0) {
                fs::create_directories(dir / run.folder);
                vandra::WriteFileAtomically((dir / run.folder / "run.tcl").string(),
                                            scripts[level]);
            } else {
                motion::MarkFailed(run, kProblem);
            }
            m.runs.push_back(run);
        }
    }
    motion::WriteManifest(m, (dir / "manifest.json").string());
    return dir.string();
}

int Starts(const std::string& dir, const char* folder) {
    const std::string text = ReadFile(dir + "/" + folder + "/starts.txt");
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

} // namespace

TEST(SuiteCli, RunsTheSuiteThenShowsItsResults) {
    if (!fs::exists(kTclsh)) GTEST_SKIP() << "no " << kTclsh;
    const std::string dir = MakeSuite();
    const std::string run = "run-suite '" + dir + "' --jobs 2 --solver " + kTclsh;
    const CliRun first = RunCli(run);
    EXPECT_EQ(first.status, 1) << first.err;
    EXPECT_EQ(first.out, "");
    std::string failed = "run_003_gm1_F3: The solver stopped before writing outcome.txt (exit "
                         "status 1): no model (log " +
                         dir + "/run_003_gm1_F3/solver.log)\n";
    for (const std::string folder : {"run_004_gm2_F1", "run_005_gm2_F2", "run_006_gm2_F3"})
        failed += folder + ": " + kProblem + "\n";
    EXPECT_EQ(first.err,
              "2 of 6 runs done (1 did not converge), 4 failed, 0 running, 0 waiting\n" + failed);

    const CliRun csv = RunCli("suite-results '" + dir + "' --csv");
    EXPECT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(csv.out, "record,factor,peak drift ratio,peak roof displacement,peak base "
                       "shear,converged\n"
                       "gm1.AT2,0.5,0.004,30,200000,yes\n"
                       "gm1.AT2,1,0.09,30,200000,no\n"
                       "gm1.AT2,2,,,,\n"
                       "gm2.AT2,0.5,,,,\n"
                       "gm2.AT2,1,,,,\n"
                       "gm2.AT2,2,,,,\n");
    const CliRun table = RunCli("suite-results '" + dir + "'");
    EXPECT_EQ(table.status, 0) << table.err;
    EXPECT_TRUE(table.out.starts_with("factor  gm1.AT2   gm2.AT2  median\n")) << table.out;
    EXPECT_NE(table.out.find("\nFailed runs:\n" + failed), std::string::npos) << table.out;

    // Started again: only the failed run with a record is tried.
    EXPECT_EQ(RunCli(run).status, 1);
    EXPECT_EQ(Starts(dir, "run_001_gm1_F1"), 1);
    EXPECT_EQ(Starts(dir, "run_002_gm1_F2"), 1);
    EXPECT_EQ(Starts(dir, "run_003_gm1_F3"), 2);
}

TEST(SuiteCli, ErrorsAndUsage) {
    const std::string dir = MakeSuite();
    const std::string quoted = "'" + dir + "'";
    const struct {
        std::string args;
        int status;
        std::string message;
    } cases[] = {
        {"run-suite", 2, "run-suite takes one DIR [--jobs N]"},
        {"run-suite " + quoted + " --partition debug", 2, "--partition and --time go with --slurm"},
        {"run-suite " + quoted + " --jobs 0", 2, "--jobs takes a whole number of 1 or more"},
        {"run-suite " + quoted + " --jobs two", 2, "--jobs takes a whole number of 1 or more"},
        {"run-suite " + quoted + " --solver no/such/OpenSees", 1,
         "/no/such/OpenSees\" is not an "
         "executable file"},
        {"suite-results '" + dir + "/none'", 1, "Cannot open the manifest"},
        {"suite-results " + quoted + " --tsv", 2, "suite-results: Unknown option 'tsv'"},
    };
    for (const auto& c : cases) {
        const CliRun run = RunCli(c.args);
        EXPECT_EQ(run.status, c.status) << c.args << "\n" << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << "\n" << run.err;
    }
    // Without --solver, the solver is looked for as the window looks for it.
    ::setenv("VANDRA_OPENSEES", "/no/solver", 1);
    const CliRun unfound = RunCli("run-suite " + quoted);
    ::unsetenv("VANDRA_OPENSEES");
    EXPECT_EQ(unfound.status, 1);
    EXPECT_EQ(unfound.err,
              "VANDRA_OPENSEES names \"/no/solver\", which is not an executable file.\n");
}
