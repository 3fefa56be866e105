#include "suite/SuiteFolder.h"

#include "model/AtomicFile.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"
#include "motion/ChildProcess.h"
#include "motion/LocalPool.h"
#include "motion/MotionFile.h"
#include "motion/RunOutcome.h"
#include "motion/Spectrum.h"
#include "tcl/GroundRecord.h"
#include "tcl/ScriptGenerator.h"
#include "tcl/ScriptWriters.h"
#include "tcl/SettingsCheck.h"

#include <cctype>
#include <cmath>
#include <filesystem>
#include <numbers>

namespace vandra::suite {
namespace {

namespace fs = std::filesystem;
using script::Line;

constexpr const char* kPeriodScript = "period.tcl";
constexpr const char* kEigenvalueFile = "eigenvalue.txt";

// The copy of record r (from 0) the runs read, relative to the suite folder.
std::string RecordCopy(size_t r) {
    return std::string(kRecordsFolder) + "/record_" +
           text::FormatInt(static_cast<long long>(r) + 1) + ".txt";
}

std::string IntensityText(const motion::Manifest& m, const motion::ManifestRun& run) {
    const std::string value = text::FormatGeneral(m.intensities[static_cast<size_t>(run.level)]);
    return m.kind == motion::IntensityKind::kLevel
               ? "level " + text::FormatInt(run.level + 1LL) + " (Sa(T1) = " + value + " g)"
               : "factor " + text::FormatInt(run.level + 1LL) + " (" + value + ")";
}

void RunScript(const motion::Manifest& m, size_t index, double gravity, ScriptLineList& lines) {
    const motion::ManifestRun& run = m.runs[index];
    const motion::ManifestRecord& record = m.records[static_cast<size_t>(run.record)];
    Line(lines, "# Run %d of %d: %s at %s; its values (g) times %s",
         {static_cast<long long>(index) + 1, static_cast<long long>(m.runs.size()),
          script::InertName(record.label), IntensityText(m, run), text::FormatGeneral(run.scale)});
    Line(lines, "source ../%s", {kModelScript});
    Line(lines, "source ../%s", {kGroundMotionScript});
    // The record from its first value to its last.
    Line(lines, "RunGroundMotion ../%s %s %d %s",
         {RecordCopy(static_cast<size_t>(run.record)), text::FormatGeneral(record.dt),
          std::max(record.steps - 1, 0), text::FormatGeneral(run.scale * gravity)});
}

} // namespace

void WriteSuiteScripts(const TModel& model, const TSettings& settings, const motion::Suite& suite,
                       const std::string& dir, WarningList* warnings) {
    ScriptLineList modelLines, prelude;
    GenerateGroundMotionModel(model, settings, suite.damping, modelLines, prelude, warnings);
    const PeakNodes nodes =
        PeakNodesOf(model, TagPlan(model, settings), suite.direction, settings.AnalysisType);
    ScriptLineList groundMotion;
    WriteGroundMotionScript(model, settings, prelude, nodes, suite.direction, groundMotion);
    fs::create_directories(dir);
    WriteScriptFile(dir + "/" + kModelScript, modelLines);
    WriteScriptFile(dir + "/" + kGroundMotionScript, groundMotion);
}

double RunFirstPeriod(const TModel& model, const std::string& dir, const std::string& solver) {
    motion::CheckSolverPath(solver);
    const std::string folder = dir + "/" + kPeriodFolder;
    fs::create_directories(folder);
    const std::string result = folder + "/" + kEigenvalueFile;
    fs::remove(result);
    ScriptLineList lines;
    Line(lines, "# The first period of the model, for the levels of Sa(T1).");
    Line(lines, "source ../%s", {kModelScript});
    Line(lines, EigenSolverFor(model, 1) == EigenSolver::kDense
                    ? "set lambda [eigen -fullGenLapack 1]"
                    : "set lambda [eigen 1]");
    Line(lines, "set f [open %s w]", {kEigenvalueFile});
    Line(lines, "puts $f [lindex $lambda 0]");
    Line(lines, "close $f");
    WriteScriptFile(folder + "/" + kPeriodScript, lines);

    const std::string log = folder + "/" + motion::kRunLog;
    motion::SolverProcess process = motion::StartInFolder(solver, {kPeriodScript}, folder, log);
    motion::SolverEnd end;
    while (!motion::Ended(process, end))
        motion::WaitForAny({&process}, 1000);
    const std::string failed = "The modal run for the first period (" + folder + ") ";
    if (!fs::exists(result)) {
        const std::string error = motion::SolverErrorLine(motion::ReadFileTail(log, 1 << 16));
        throw InputError(failed + "gave no eigenvalue" + (error.empty() ? "" : ": " + error));
    }
    std::string text = motion::ReadSmallFile(result, "eigenvalue", 1024);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.pop_back();
    const std::optional<double> lambda = parse::TryFloat(text);
    if (!lambda || !(*lambda > 0))
        throw InputError(failed + "gave the eigenvalue \"" + text +
                         "\": the model has no stable first mode");
    // As the manifest keeps it, so that the levels are scaled with the period it names.
    return parse::Float(text::FormatGeneral(2 * std::numbers::pi / std::sqrt(*lambda)));
}

motion::Manifest WriteSuiteRuns(const TModel& model, const motion::Suite& suite,
                                std::optional<double> period, const std::string& dir) {
    motion::Manifest manifest = motion::PlanSuite(suite, period);
    fs::create_directories(dir + "/" + kRecordsFolder);
    for (size_t r = 0; r < manifest.records.size(); ++r) {
        if (!manifest.records[r].problem.empty()) continue;
        WriteFileAtomically(dir + "/" + RecordCopy(r), motion::SingleColumnText(motion::ReadRecord(
                                                           manifest.records[r].source)));
    }
    const double gravity = GravityInModelUnits(model);
    for (size_t k = 0; k < manifest.runs.size(); ++k) {
        const motion::ManifestRun& run = manifest.runs[k];
        if (!manifest.records[static_cast<size_t>(run.record)].problem.empty()) continue;
        ScriptLineList lines;
        RunScript(manifest, k, gravity, lines);
        fs::create_directories(dir + "/" + run.folder);
        WriteScriptFile(dir + "/" + run.folder + "/" + motion::kRunScript, lines);
    }
    motion::WriteManifest(manifest, dir + "/" + motion::kManifestFile);
    return manifest;
}

motion::Manifest WriteSuite(const TModel& model, const TSettings& settings,
                            const motion::Suite& suite, const std::string& dir,
                            const std::function<std::string()>& findSolver, WarningList* warnings) {
    if (fs::exists(dir + "/" + motion::kManifestFile))
        throw InputError("\"" + dir + "\" already holds a suite (" + motion::kManifestFile +
                         "): run it, or write the new suite to another folder");
    WriteSuiteScripts(model, settings, suite, dir, warnings);
    std::optional<double> period = suite.period;
    if (suite.kind == motion::IntensityKind::kLevel && !period)
        period = RunFirstPeriod(model, dir, findSolver());
    return WriteSuiteRuns(model, suite, period, dir);
}

} // namespace vandra::suite
