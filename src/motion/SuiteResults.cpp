#include "motion/SuiteResults.h"

#include "model/NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace vandra::motion {
namespace {

constexpr double kCollapse = std::numeric_limits<double>::infinity();

void AppendCsvField(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

void AppendNumberField(std::string& out, double value) {
    if (std::isfinite(value)) text::AppendGeneral(out, value);
}

} // namespace

double MedianCountingCollapses(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    if (n % 2 == 1) return values[n / 2];
    const double low = values[n / 2 - 1], high = values[n / 2];
    return std::isinf(high) ? kCollapse : (low + high) / 2;
}

IdaTable BuildIdaTable(const Manifest& manifest) {
    IdaTable table;
    table.kind = manifest.kind;
    for (const ManifestRecord& r : manifest.records)
        table.records.push_back(r.label);
    // The intensities in ascending order, remembering where each stands in the suite.
    std::vector<size_t> order(manifest.intensities.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return manifest.intensities[a] < manifest.intensities[b];
    });
    std::vector<size_t> row(order.size());
    for (size_t i = 0; i < order.size(); ++i) {
        table.intensities.push_back(manifest.intensities[order[i]]);
        row[order[i]] = i;
    }
    table.drift.assign(order.size(), std::vector<std::optional<double>>(manifest.records.size()));
    for (const ManifestRun& run : manifest.runs) {
        if (run.status != RunStatus::kDone || !run.result) continue;
        const RunResult& r = *run.result;
        table.drift[row[static_cast<size_t>(run.level)]][static_cast<size_t>(run.record)] =
            r.converged ? r.peakDrift : kCollapse;
    }
    for (const auto& line : table.drift) {
        std::vector<double> counted;
        for (const std::optional<double>& d : line) {
            if (d && !std::isnan(*d)) counted.push_back(*d);
        }
        table.median.push_back(counted.empty() ? std::nullopt
                                               : std::optional(MedianCountingCollapses(counted)));
    }
    return table;
}

std::string SuiteResultsCsv(const Manifest& manifest) {
    std::string out = manifest.kind == IntensityKind::kFactor ? "record,factor" : "record,level";
    out += ",peak drift ratio,peak roof displacement,peak base shear,converged\n";
    for (const ManifestRun& run : manifest.runs) {
        AppendCsvField(out, manifest.records[static_cast<size_t>(run.record)].label);
        out += ',';
        text::AppendGeneral(out, manifest.intensities[static_cast<size_t>(run.level)]);
        out += ',';
        const bool done = run.status == RunStatus::kDone && run.result;
        if (done) {
            const RunResult& r = *run.result;
            for (double v : {r.peakDrift, r.peakRoof, r.peakBaseShear}) {
                AppendNumberField(out, v);
                out += ',';
            }
            out += r.converged ? "yes" : "no";
        } else {
            out += ",,,";
        }
        out += '\n';
    }
    return out;
}

} // namespace vandra::motion
