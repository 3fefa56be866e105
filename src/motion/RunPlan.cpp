// Expanding a suite into runs: records read and scaled, folders named.
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"
#include "motion/Manifest.h"

#include <filesystem>

namespace vandra::motion {
namespace {

constexpr size_t kMaxStemLength = 32;

// The value as the manifest and the run's script write it (15 significant digits), so that the
// plan in memory, the manifest read back and the script all hold the same number.
double AsWritten(double value) {
    return parse::Float(text::FormatGeneral(value));
}

bool IsSafeChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
}

// The part of the record's file name that goes into a folder name.
std::string FolderStem(const std::string& recordPath) {
    const std::string stem = std::filesystem::path(recordPath).stem().string();
    std::string out;
    for (char c : stem) {
        if (out.size() == kMaxStemLength) break;
        if (IsSafeChar(c)) {
            out += c;
        } else if (!out.empty() && out.back() != '_') {
            out += '_';
        }
    }
    while (!out.empty() && out.back() == '_')
        out.pop_back();
    return out.empty() ? "record" : out;
}

// The file name, with the column for a file of columns; the whole path where two would be alike.
std::vector<std::string> Labels(const std::vector<RecordSource>& records) {
    const auto label = [](const RecordSource& r, bool whole) {
        std::string s = whole ? r.path : std::filesystem::path(r.path).filename().string();
        if (r.format == RecordFormat::kColumns && r.column != 1)
            s += " column " + text::FormatInt(r.column);
        return s;
    };
    std::vector<std::string> labels;
    for (const RecordSource& r : records)
        labels.push_back(label(r, false));
    std::vector<std::string> unique = labels;
    for (size_t i = 0; i < labels.size(); ++i) {
        for (size_t j = 0; j < labels.size(); ++j) {
            if (i != j && labels[i] == labels[j]) unique[i] = label(records[i], true);
        }
    }
    return unique;
}

ManifestRecord PlanRecord(const RecordSource& source, const Manifest& manifest) {
    ManifestRecord planned;
    planned.source = source;
    try {
        const Record record = ReadRecord(source);
        planned.dt = record.dt;
        planned.steps = record.Steps();
        planned.pga = AsWritten(record.Pga());
        if (manifest.kind == IntensityKind::kLevel) {
            planned.sa = AsWritten(PeakResponse(record, *manifest.period, manifest.damping).sa);
            if (!(*planned.sa > 0))
                throw InputError(source.path + ": Sa(T1) of the record is zero; it cannot be "
                                               "scaled to a level");
        }
    } catch (const InputError& e) {
        // Nothing read from a record that cannot be used stands beside its problem.
        ManifestRecord failed;
        failed.source = source;
        failed.problem = e.what();
        return failed;
    }
    return planned;
}

} // namespace

bool IsSafeFolderName(std::string_view name) {
    if (name.empty()) return false;
    for (char c : name) {
        if (!IsSafeChar(c) && c != '_') return false;
    }
    return true;
}

std::string RunFolderName(int number, int runCount, const std::string& recordPath,
                          IntensityKind kind, int level) {
    std::string digits = text::FormatInt(number);
    const size_t width = std::max<size_t>(3, text::FormatInt(runCount).size());
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return "run_" + digits + "_" + FolderStem(recordPath) + "_" +
           (kind == IntensityKind::kLevel ? "L" : "F") + text::FormatInt(level + 1LL);
}

Manifest PlanSuite(const Suite& suite, std::optional<double> modalPeriod) {
    Manifest manifest;
    manifest.direction = suite.direction;
    manifest.kind = suite.kind;
    manifest.intensities = suite.intensities;
    manifest.damping = suite.damping;
    if (suite.kind == IntensityKind::kLevel) {
        manifest.period = suite.period ? suite.period : modalPeriod;
        if (!manifest.period || !(*manifest.period > 0))
            throw InputError("Levels of Sa(T1) need the period T1: give \"period\" in the suite "
                             "or run a modal analysis first");
    }
    const std::vector<std::string> labels = Labels(suite.records);
    for (size_t r = 0; r < suite.records.size(); ++r) {
        manifest.records.push_back(PlanRecord(suite.records[r], manifest));
        manifest.records.back().label = labels[r];
    }
    const int runCount = static_cast<int>(suite.records.size() * suite.intensities.size());
    for (size_t r = 0; r < manifest.records.size(); ++r) {
        const ManifestRecord& record = manifest.records[r];
        for (size_t k = 0; k < manifest.intensities.size(); ++k) {
            ManifestRun run;
            const int number = static_cast<int>(manifest.runs.size()) + 1;
            run.folder = RunFolderName(number, runCount, record.source.path, manifest.kind,
                                       static_cast<int>(k));
            run.record = static_cast<int>(r);
            run.level = static_cast<int>(k);
            if (!record.problem.empty()) {
                MarkFailed(run, record.problem);
            } else {
                run.scale = manifest.kind == IntensityKind::kFactor
                                ? manifest.intensities[k]
                                : AsWritten(manifest.intensities[k] / *record.sa);
            }
            manifest.runs.push_back(std::move(run));
        }
    }
    return manifest;
}

} // namespace vandra::motion
