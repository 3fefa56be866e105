#include "SolverSupport.h"

#include "TestTempDir.h"
#include "model/NumberParse.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string_view>
#include <system_error>
#include <utility>

namespace vandra::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kEndMarker = "vandra-test: end of script";
constexpr const char* kScriptName = "model.tcl";
constexpr const char* kLogName = "solver.log";

bool IsExecutable(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec) && ::access(path.c_str(), X_OK) == 0;
}

// Runs the solver on kScriptName inside folder, its console going to kLogName there; a run that
// hangs is killed after timeoutSeconds.
SolverRun Execute(const fs::path& folder, unsigned timeoutSeconds) {
    const std::string command = "cd '" + folder.string() + "' && timeout " +
                                std::to_string(timeoutSeconds) + " '" + FindOpenSees().string() +
                                "' " + kScriptName + " </dev/null >" + kLogName + " 2>&1";
    const int status = std::system(command.c_str());
    std::ifstream in(folder / kLogName, std::ios::binary);
    std::string console((std::istreambuf_iterator<char>(in)), {});
    // timeout says 124 for a run it ended, the shell 126 or 127 for a solver it cannot start and
    // 128 + N for one ended by signal N.
    if (!WIFEXITED(status) || WEXITSTATUS(status) >= 124)
        console += "\nWARNING (test) the solver ended with status " +
                   std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + "\n";
    const bool finished = console.find(kEndMarker) != std::string::npos;
    return SolverRun(std::move(console), folder, finished);
}

} // namespace

fs::path FindOpenSees() {
    if (const char* given = std::getenv("VANDRA_OPENSEES"); given != nullptr && *given != '\0')
        return IsExecutable(given) ? fs::path(given) : fs::path();
    std::istringstream path(std::getenv("PATH") ? std::getenv("PATH") : "");
    for (std::string dir; std::getline(path, dir, ':');)
        if (!dir.empty() && IsExecutable(fs::path(dir) / "OpenSees"))
            return fs::path(dir) / "OpenSees";
    return {};
}

SolverRun::SolverRun(std::string console, fs::path folder, bool finished)
    : console_(std::move(console)), folder_(std::move(folder)), finished_(finished) {
    if (folder_.empty() || std::getenv("VANDRA_KEEP_SOLVER_RUNS") != nullptr) return;
    remover_ = std::shared_ptr<void>(nullptr, [folder = folder_](void*) {
        std::error_code ec;
        fs::remove_all(folder, ec);
    });
}

SolverRun RunSolver(const ScriptLineList& scriptLines, const std::vector<fs::path>& extraFiles,
                    unsigned timeoutSeconds) {
    static int runs = 0; // a fresh folder in the process's own
    const fs::path folder = fs::path(ProcessTempDir()) / ("solver_run_" + std::to_string(++runs));
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const fs::path& extra : extraFiles) {
        std::error_code ec;
        fs::copy_file(extra, folder / extra.filename(), fs::copy_options::overwrite_existing, ec);
        if (ec) ADD_FAILURE() << "cannot copy " << extra << ": " << ec.message();
    }
    std::ofstream(folder / kScriptName, std::ios::binary)
        << scriptLines.Text() << "\r\nputs \"" << kEndMarker << "\"\r\n";
    return Execute(folder, timeoutSeconds);
}

std::vector<std::string> FailureLines(const std::string& console) {
    std::vector<std::string> failures;
    std::istringstream in(console);
    std::string line, previous;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // Some failures (a failed analyze, an integrator that cannot start) are not warnings;
        // an element that cannot take a load says so in its addLoad and drops the load.
        const bool warning = line.starts_with("WARNING") ||
                             line.find("failed") != std::string::npos ||
                             line.find("::addLoad") != std::string::npos ||
                             line.find("load type unknown") != std::string::npos;
        // An uncaught Tcl error prints its message, then the trace "    while executing".
        const bool trace = line.find("while executing") != std::string::npos ||
                           line.find("invoked from within") != std::string::npos;
        if (trace && !previous.empty()) failures.push_back(previous);
        if (warning || trace) failures.push_back(line);
        if (!line.empty()) previous = line;
    }
    return failures;
}

void ExpectCleanRun(const SolverRun& run, const std::string& what) {
    const std::vector<std::string> failures = FailureLines(run.Console());
    std::string shown;
    for (size_t i = 0; i < failures.size() && i < 20; ++i)
        shown.append("\n  ").append(failures[i]);
    EXPECT_TRUE(failures.empty()) << what << ": the solver reported" << shown;
    EXPECT_TRUE(run.Finished()) << what << ": the solver stopped before the end of the script"
                                << "\n--- console ---\n"
                                << run.Console().substr(0, 4000);
}

std::vector<std::vector<double>> ReadRecorder(const fs::path& file) {
    std::vector<std::vector<double>> rows;
    std::ifstream in(file);
    if (!in) {
        ADD_FAILURE() << "no recorder file " << file;
        return rows;
    }
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        std::istringstream tokens(line);
        std::vector<double>& row = rows.emplace_back();
        std::string token;
        while (tokens >> token) {
            const std::optional<double> value = parse::TryFloat(token);
            if (!value) {
                ADD_FAILURE() << file << " line " << n << ": '" << token << "' is not a number";
                return rows;
            }
            row.push_back(*value);
        }
        if (row.empty()) rows.pop_back();
    }
    return rows;
}

} // namespace vandra::testing
