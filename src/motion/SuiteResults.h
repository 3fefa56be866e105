// The answers of a suite: the incremental dynamic analysis (IDA) table, intensity against peak
// drift for every record with the median across records, and the CSV of every run.
#pragma once

#include "motion/Manifest.h"

#include <optional>
#include <string>
#include <vector>

namespace vandra::motion {

struct IdaTable {
    IntensityKind kind = IntensityKind::kFactor;
    std::vector<double> intensities;  // ascending
    std::vector<std::string> records; // labels
    // drift[i][r]: the peak drift ratio of record r at intensities[i]; +infinity for a run that
    // did not converge (a collapse); empty for a run without a result (pending or failed).
    std::vector<std::vector<std::optional<double>>> drift;
    // The median at each intensity of the runs with a result, collapses counted as infinite
    // drift: +infinity once half of them collapsed; empty when no run has a result.
    std::vector<std::optional<double>> median;
};

IdaTable BuildIdaTable(const Manifest& manifest);

// The median of values of which some may be +infinity: the middle one of the sorted values, or
// the mean of the two middle ones for an even count (+infinity when one of them is).
double MedianCountingCollapses(std::vector<double> values);

// One line per run in the manifest's order under the header
// "record,factor,peak drift ratio,peak roof displacement,peak base shear,converged" ("level" for a
// suite of levels). converged is "yes" or "no"; a run without a result has empty fields.
std::string SuiteResultsCsv(const Manifest& manifest);

} // namespace vandra::motion
