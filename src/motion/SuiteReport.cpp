#include "motion/SuiteReport.h"

#include "model/NumberText.h"
#include "motion/RunOutcome.h"
#include "motion/SuiteResults.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>

namespace vandra::motion {
namespace {

constexpr int kTableDigits = 4;
constexpr size_t kColumnGap = 2;

// The value rounded to a few significant digits, for reading rather than for further work.
std::string Rounded(double value) {
    if (value == 0) return "0";
    const double scale = std::pow(
        10.0, kTableDigits - 1 - static_cast<int>(std::floor(std::log10(std::abs(value)))));
    return text::FormatGeneral(std::round(value * scale) / scale);
}

std::string DriftCell(const std::optional<double>& drift) {
    if (!drift || std::isnan(*drift)) return "-";
    return std::isinf(*drift) ? "collapse" : Rounded(*drift);
}

} // namespace

std::string IdaTableText(const Manifest& manifest) {
    const IdaTable table = BuildIdaTable(manifest);
    std::vector<std::vector<std::string>> cells;
    std::vector<std::string> header = {table.kind == IntensityKind::kFactor ? "factor"
                                                                            : "level (g)"};
    header.insert(header.end(), table.records.begin(), table.records.end());
    header.push_back("median");
    cells.push_back(std::move(header));
    for (size_t i = 0; i < table.intensities.size(); ++i) {
        std::vector<std::string> row = {text::FormatGeneral(table.intensities[i])};
        for (const std::optional<double>& drift : table.drift[i])
            row.push_back(DriftCell(drift));
        row.push_back(DriftCell(table.median[i]));
        cells.push_back(std::move(row));
    }
    std::vector<size_t> width(cells.front().size(), 0);
    for (const auto& row : cells) {
        for (size_t c = 0; c < row.size(); ++c)
            width[c] = std::max(width[c], row[c].size());
    }
    std::string out;
    for (const auto& row : cells) {
        for (size_t c = 0; c < row.size(); ++c) {
            out += row[c];
            if (c + 1 < row.size()) out.append(width[c] - row[c].size() + kColumnGap, ' ');
        }
        out += '\n';
    }
    return out;
}

std::string FailedRunsText(const Manifest& manifest, const std::string& suiteDir) {
    std::string out;
    for (const ManifestRun& run : manifest.runs) {
        if (run.status != RunStatus::kFailed) continue;
        out += run.folder + ": " + run.reason;
        const std::string log = suiteDir + "/" + run.folder + "/" + kRunLog;
        struct stat info {};
        if (::stat(log.c_str(), &info) == 0) out += " (log " + log + ")";
        out += '\n';
    }
    return out;
}

std::string ProgressText(const SuiteProgress& p) {
    std::string out = text::FormatInt(p.done) + " of " + text::FormatInt(p.total) + " runs done";
    if (p.notConverged > 0) out += " (" + text::FormatInt(p.notConverged) + " did not converge)";
    out += ", " + text::FormatInt(p.failed) + " failed, " + text::FormatInt(p.running) +
           " running, " + text::FormatInt(p.waiting) + " waiting";
    return out;
}

} // namespace vandra::motion
