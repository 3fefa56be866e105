// A suite on a real Slurm cluster of one node, started by the test in a temporary folder: a munge
// daemon of its own (its own key and socket, so nothing of the machine's munge is touched),
// slurmctld and slurmd in the foreground on free ports. The cluster's table equals the local
// pool's, a task whose solver is killed or whose folder went fails with that reason, and cancel
// leaves the runs pending. Skipped with the reason when the cluster cannot start (not root, Slurm
// missing). The same holds for a suite of the example frame as the suite command writes it.
#include "PostRuns.h"
#include "SuiteFolders.h"
#include "TestTempDir.h"

#include "model/AtomicFile.h"
#include "model/NumberText.h"
#include "motion/ChildProcess.h"
#include "motion/LocalPool.h"
#include "motion/SlurmRunner.h"
#include "motion/SuiteResults.h"
#include "suite/SuiteFolder.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <random>
#include <thread>

namespace vandra::testing {
namespace {

namespace fs = std::filesystem;
using motion::RunStatus;
using motion::SolverProcess;

constexpr auto kStartLimit = std::chrono::seconds(60);
constexpr auto kSuiteLimit = std::chrono::minutes(5);

// The program's absolute path on the PATH or in /usr/sbin, or empty.
std::string Program(const std::string& name) {
    std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    path += ":/usr/sbin:/sbin";
    for (size_t start = 0; start <= path.size();) {
        const size_t colon = std::min(path.find(':', start), path.size());
        const fs::path candidate = fs::path(path.substr(start, colon - start)) / name;
        if (colon > start && ::access(candidate.c_str(), X_OK) == 0) return candidate.string();
        start = colon + 1;
    }
    return {};
}

// A TCP port nobody listens on now.
int FreePort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    socklen_t size = sizeof address;
    int port = 0;
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    ::close(s);
    return port;
}

std::string HostName() {
    char name[256] = {};
    ::gethostname(name, sizeof name - 1);
    const std::string host(name);
    return host.substr(0, host.find('.'));
}

long long MemoryMegabytes() {
    std::ifstream in("/proc/meminfo");
    std::string key;
    long long kb = 0;
    in >> key >> kb;
    return kb / 1024;
}

class SlurmSolverTest : public SolverTest {
protected:
    void SetUp() override {
        SolverTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        if (::geteuid() != 0) GTEST_SKIP() << "Slurm's daemons run as root in this test";
        for (const char* name :
             {"munged", "munge", "slurmctld", "slurmd", "sbatch", "squeue", "scancel", "sinfo"}) {
            if (Program(name).empty()) GTEST_SKIP() << name << " not found: Slurm cannot start";
        }
        std::string pattern = (fs::temp_directory_path() / "vandra-slurm-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        StartMunge();
        WriteConfiguration();
        ::setenv("SLURM_CONF", (root_ / "slurm.conf").c_str(), 1);
        const std::string conf = (root_ / "slurm.conf").string();
        Start("slurmctld", {"-D", "-f", conf});
        Start("slurmd", {"-D", "-f", conf});
        if (!NodeIdle()) GTEST_SKIP() << "the one-node cluster did not start:\n" << LogTails();
    }

    // Always, also after a failure: the daemons go, by their pids, in the reverse order.
    void TearDown() override {
        for (auto d = daemons_.rbegin(); d != daemons_.rend(); ++d) {
            ::kill(d->pid, SIGTERM);
            motion::SolverEnd end;
            const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (!motion::Ended(*d, end)) {
                if (std::chrono::steady_clock::now() > limit) {
                    motion::KillGroup(*d);
                    break;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        }
        daemons_.clear();
        ::unsetenv("SLURM_CONF");
        if (!root_.empty() && std::getenv("VANDRA_KEEP_SOLVER_RUNS") == nullptr) {
            std::error_code ec;
            fs::remove_all(root_, ec);
        }
    }

    void Start(const std::string& name, std::vector<std::string> args) {
        daemons_.push_back(motion::StartInFolder(Program(name), args, root_.string(),
                                                 (root_ / (name + ".out")).string()));
    }

    void StartMunge() {
        std::random_device random;
        std::string key(1024, '\0');
        for (char& c : key)
            c = static_cast<char>(random());
        WriteFileAtomically((root_ / "munge.key").string(), key);
        fs::permissions(root_ / "munge.key", fs::perms::owner_read);
        const auto file = [&](const char* name) { return (root_ / name).string(); };
        // --force: munged refuses root otherwise.
        Start("munged", {"-F", "--force", "--socket=" + file("munge.socket"),
                         "--key-file=" + file("munge.key"), "--pid-file=" + file("munged.pid"),
                         "--log-file=" + file("munged.log"), "--seed-file=" + file("munged.seed")});
        const auto limit = std::chrono::steady_clock::now() + kStartLimit;
        while (!fs::exists(root_ / "munge.socket") && std::chrono::steady_clock::now() < limit)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }

    void WriteConfiguration() {
        const std::string host = HostName();
        const auto file = [&](const char* name) { return (root_ / name).string(); };
        fs::create_directories(root_ / "state");
        fs::create_directories(root_ / "spool");
        std::string conf =
            "ClusterName=vandratest\nSlurmctldHost=" + host +
            "\nSlurmctldPort=" + text::FormatInt(FreePort()) +
            "\nSlurmdPort=" + text::FormatInt(FreePort()) +
            "\nSlurmUser=root\nSlurmdUser=root\nAuthType=auth/munge\n"
            "AuthInfo=socket=" +
            file("munge.socket") + "\nCredType=cred/munge\nStateSaveLocation=" + file("state") +
            "\nSlurmdSpoolDir=" + file("spool") + "\nSlurmctldPidFile=" + file("slurmctld.pid") +
            "\nSlurmdPidFile=" + file("slurmd.pid") +
            "\nSlurmctldLogFile=" + file("slurmctld.log") +
            "\nSlurmdLogFile=" + file("slurmd.log") +
            "\nProctrackType=proctrack/linuxproc\nTaskPlugin=task/none\n"
            "JobAcctGatherType=jobacct_gather/none\nSchedulerType=sched/backfill\n"
            "SelectType=select/cons_tres\nSelectTypeParameters=CR_Core\n"
            "ReturnToService=2\nKillWait=2\nNodeName=" +
            host + " CPUs=" + text::FormatInt(::sysconf(_SC_NPROCESSORS_ONLN)) +
            " RealMemory=" + text::FormatInt(MemoryMegabytes() / 2) +
            " State=UNKNOWN\nPartitionName=debug Nodes=" + host +
            " Default=YES MaxTime=INFINITE State=UP\n";
        WriteFileAtomically(file("slurm.conf"), conf);
    }

    bool NodeIdle() {
        const auto limit = std::chrono::steady_clock::now() + kStartLimit;
        while (std::chrono::steady_clock::now() < limit) {
            const motion::CommandOutput state = motion::RunCommand({"sinfo", "-h", "-o", "%T"}, 30);
            if (state.status == 0 && state.out.starts_with("idle")) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
        }
        return false;
    }

    std::string LogTails() {
        std::string tails;
        for (const char* log :
             {"munged.log", "slurmctld.log", "slurmd.log", "slurmctld.out", "slurmd.out"}) {
            std::ifstream in(root_ / log);
            std::string all((std::istreambuf_iterator<char>(in)), {});
            tails += "--- " + std::string(log) + "\n" +
                     all.substr(all.size() > 2000 ? all.size() - 2000 : 0);
        }
        return tails;
    }

    fs::path root_;
    std::vector<SolverProcess> daemons_;
};

int Steps(const motion::Record& record) {
    return record.Steps() - 1 + static_cast<int>(3 * 0.5 / record.dt);
}

// Two records at three factors: elastic runs, one whose solver is killed, one whose folder goes
// before it starts (removed by the test) and one that yields (stops converging).
motion::Manifest SmallSuite(const fs::path& dir) {
    return MakeSuite(dir, {GroundMotion(1, 4), GroundMotion(2, 4)}, {0.5, 1.0, 2.0},
                     [](const motion::ManifestRun& run, const motion::Record& record) {
                         Oscillator o;
                         if (run.record == 1 && run.level == 2) o.yieldForce = 2.0;
                         if (run.record == 1 && run.level == 0) o.before = "exec kill -KILL [pid]";
                         return OscillatorScript(o, record.dt, Steps(record), run.scale);
                     });
}

template <typename Runner> void RunToEnd(Runner& runner) {
    const auto limit = std::chrono::steady_clock::now() + kSuiteLimit;
    while (runner.Poll(500))
        ASSERT_LT(std::chrono::steady_clock::now(), limit) << "the suite did not end";
}

TEST_F(SlurmSolverTest, JobArrayGivesTheLocalPoolsTableAndCancels) {
    const std::string solver = fs::absolute(FindOpenSees()).string();
    const fs::path onCluster = FreshSuiteFolder(ProcessTempDir(), "slurm_suite");
    const fs::path here = FreshSuiteFolder(ProcessTempDir(), "slurm_local");
    SmallSuite(onCluster);
    SmallSuite(here);

    motion::Manifest cluster;
    {
        // Two tasks at a time: the fifth starts well after its folder went.
        motion::SlurmRunner runner(onCluster.string(), {solver, "debug", "10", 2, 1});
        ASSERT_TRUE(runner.Poll(0));
        fs::remove_all(onCluster / runner.Runs().runs[4].folder);
        RunToEnd(runner);
        cluster = runner.Runs();
        // The killed task's output says how its solver ended.
        std::ifstream output(onCluster / runner.TaskOutput(3));
        std::string line;
        std::getline(output, line);
        EXPECT_EQ(line, "vandra-task: solver exit 137");
        EXPECT_EQ(cluster.runs[4].reason, "The run folder was removed during the run; the Slurm "
                                          "task ended before the solver, see " +
                                              runner.TaskOutput(4));
    }
    motion::Manifest local;
    {
        fs::remove_all(here / cluster.runs[4].folder);
        motion::LocalPool pool(here.string(), {solver, 2});
        RunToEnd(pool);
        local = pool.Runs();
    }
    EXPECT_EQ(motion::SuiteResultsCsv(cluster), motion::SuiteResultsCsv(local));
    ASSERT_EQ(cluster.runs.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(cluster.runs[i].status, local.runs[i].status) << cluster.runs[i].folder;
        if (i != 4) {
            EXPECT_EQ(cluster.runs[i].reason, local.runs[i].reason) << cluster.runs[i].folder;
        }
        EXPECT_EQ(cluster.runs[i].result, local.runs[i].result) << cluster.runs[i].folder;
    }
    EXPECT_EQ(cluster.runs[3].reason, "The solver was killed by signal 9 (Killed)");
    EXPECT_FALSE(cluster.runs[5].result->converged);

    // A suite the suite command writes for the example frame: the same peaks on the cluster.
    {
        const TModel model = ModelFile("two_storey_frame.s2k");
        TSettings settings;
        settings.AnalysisType = kTimeHistory;
        const fs::path records = FreshSuiteFolder(ProcessTempDir(), "slurm_records");
        WriteFileAtomically((records / "gm.txt").string(),
                            motion::SingleColumnText(GroundMotion(2, 3)));
        motion::Suite suite;
        suite.records = {{(records / "gm.txt").string(), motion::RecordFormat::kColumns, 0.01}};
        suite.intensities = {0.5, 1.0};
        const auto write = [&](const char* name) {
            const fs::path dir = ProcessTempDir() + "/" + name;
            fs::remove_all(dir);
            suite::WriteSuite(model, settings, suite, dir.string(), [] { return std::string(); });
            return dir.string();
        };
        motion::SlurmRunner onSlurm(write("slurm_frame"), {solver, "", "", 0, 1});
        RunToEnd(onSlurm);
        motion::LocalPool onPool(write("local_frame"), {solver, 2});
        RunToEnd(onPool);
        EXPECT_EQ(onSlurm.Progress().done, 2);
        EXPECT_EQ(onSlurm.Runs().runs, onPool.Runs().runs);
    }

    // Cancel: the tasks leave the queue and their runs are pending again.
    const fs::path slow = FreshSuiteFolder(ProcessTempDir(), "slurm_cancel");
    MakeSuite(slow, {GroundMotion(1, 1)}, {1, 2},
              [](const motion::ManifestRun&, const motion::Record&) { return "after 60000\n"; });
    motion::SlurmRunner runner(slow.string(), {solver, "", "", 0, 1});
    const auto limit = std::chrono::steady_clock::now() + kStartLimit;
    while (runner.Progress().running < 1) {
        ASSERT_TRUE(runner.Poll(500));
        ASSERT_LT(std::chrono::steady_clock::now(), limit) << "no task started";
    }
    const std::string job = runner.JobId();
    runner.Cancel();
    EXPECT_FALSE(runner.Poll(0));
    for (const motion::ManifestRun& run :
         motion::ReadManifest((slow / motion::kManifestFile).string()).runs)
        EXPECT_EQ(run.status, RunStatus::kPending) << run.folder;
    // A busy machine can keep a cancelled task completing (CG) for a while: wait for it to leave
    // rather than guess how long that takes.
    std::string queued;
    const auto gone = std::chrono::steady_clock::now() + kStartLimit;
    do {
        queued = motion::RunCommand({"squeue", "--noheader", "--array", "--jobs=" + job}, 30).out;
        if (queued.find_first_not_of(" \n") == std::string::npos) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    } while (std::chrono::steady_clock::now() < gone);
    EXPECT_EQ(queued.find_first_not_of(" \n"), std::string::npos)
        << "job " << job << " is still in the queue:\n" << queued;
}

} // namespace
} // namespace vandra::testing
