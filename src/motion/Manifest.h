// The runs of a suite (record x intensity) and what became of them, kept as manifest.json in the
// suite's output folder. The suite command writes it with every run pending; a runner marks runs
// running, done (with the peaks, converged or not) or failed (with the reason), rewriting the file
// after each change, and when started again does only the runs that are not done.
#pragma once

#include "motion/Record.h"
#include "motion/Suite.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vandra::motion {

inline constexpr const char* kManifestFile = "manifest.json";

enum class RunStatus { kPending, kRunning, kDone, kFailed };

// What a finished run gives: peaks are absolute values. A run that stopped converging is a result
// (collapse or loss of convergence at that intensity) with the peaks reached until then, NaN for a
// peak the solver gave no number for.
struct RunResult {
    bool converged = true;
    double peakDrift = 0;     // peak storey drift ratio
    double peakRoof = 0;      // peak roof displacement, model length unit
    double peakBaseShear = 0; // peak base shear, model force unit
    double time = 0;          // the analysis time reached, s: where a run stopped converging

    friend bool operator==(const RunResult&, const RunResult&) = default;
};

struct ManifestRecord {
    RecordSource source;      // the path as usable from here (the manifest's folder joined)
    std::string label;        // a short name, unique in the suite, for tables and plots
    double dt = 0;            // s
    int steps = 0;            // values in the record
    double pga = 0;           // g
    std::optional<double> sa; // Sa(T1) of the record, g (suites of levels)
    std::string problem;      // why the record could not be used; its runs have failed

    friend bool operator==(const ManifestRecord&, const ManifestRecord&) = default;
};

struct ManifestRun {
    std::string folder; // the run's folder in the suite folder: letters, digits, '_' and '-' only
    int record = 0;     // index in Manifest::records
    int level = 0;      // index in Manifest::intensities
    double scale = 0;   // the factor applied to the record's values in g
    RunStatus status = RunStatus::kPending;
    std::string reason; // why it failed
    std::optional<RunResult> result;

    friend bool operator==(const ManifestRun&, const ManifestRun&) = default;
};

struct Manifest {
    int direction = 1;
    IntensityKind kind = IntensityKind::kFactor;
    std::vector<double> intensities; // as in the suite: factors, or levels in g
    std::optional<double> period;    // T1 in s the levels refer to
    double damping = kDefaultDamping;
    std::vector<ManifestRecord> records;
    std::vector<ManifestRun> runs; // record by record, each at every intensity in suite order

    friend bool operator==(const Manifest&, const Manifest&) = default;
};

// Expands a suite into its runs. Each record is read for its time step and number of values; for
// levels, its spectrum at T1 (the suite's period, else modalPeriod) gives the scale. A record that
// cannot be read or scaled is kept with its problem and its runs are failed with it; the other
// runs are pending. InputError when levels have no period.
Manifest PlanSuite(const Suite& suite, std::optional<double> modalPeriod = std::nullopt);

// The folder of run `number` (from 1) of `runCount`: "run_003_rsn1_L2" for the second level
// ("_F2" for a factor) of a record read from .../rsn1.AT2. The record's file name gives only
// letters, digits and '-', every other character becoming '_'.
std::string RunFolderName(int number, int runCount, const std::string& recordPath,
                          IntensityKind kind, int level);
// True for a name RunFolderName can give: not empty, letters, digits, '_' and '-' only.
bool IsSafeFolderName(std::string_view name);

// The manifest as JSON for a file at path (record paths relative to its folder).
std::string ManifestText(const Manifest& manifest, const std::string& path);
void WriteManifest(const Manifest& manifest, const std::string& path);
// Reads a manifest; InputError naming the file and the key for anything a runner could not trust
// (an unknown status, a record or level out of range, an unsafe or repeated folder name).
Manifest ReadManifest(const std::string& path);

// The run with this folder; InputError when there is none.
ManifestRun& FindRun(Manifest& manifest, std::string_view folder);
void MarkRunning(ManifestRun& run);
void MarkDone(ManifestRun& run, const RunResult& result);
void MarkFailed(ManifestRun& run, std::string reason);
// The indices of the runs still to do: all but the done ones (a run left running by a runner that
// stopped, and a failed one, are tried again).
std::vector<size_t> RunsToDo(const Manifest& manifest);

} // namespace vandra::motion
