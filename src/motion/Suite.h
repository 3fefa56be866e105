// A suite of ground motions: records, each run at a list of intensities given as scale factors or
// as levels of spectral acceleration at the building's first period. Kept as a JSON file:
//   {"direction": 1, "records": ["rsn1.AT2", "rsn2.AT2"], "factors": [0.5, 1.0]}
//   {"direction": 2, "records": ["rsn1.AT2", {"file": "gm.txt", "dt": 0.01, "column": 2,
//    "skip": 1}], "levels": [0.2, 0.4, 0.6], "period": 0.8, "damping": 0.05}
// A record given by its name alone is a PEER .AT2 file; one with "dt" is a file of columns.
// Paths are relative to the suite file.
#pragma once

#include "motion/Record.h"
#include "motion/Spectrum.h"

#include <optional>
#include <string>
#include <vector>

namespace vandra::motion {

enum class IntensityKind {
    kFactor, // the record's values are multiplied by the intensity
    kLevel,  // the record is scaled to Sa(T1) = intensity, in g
};

struct Suite {
    int direction = 1;                 // the global axis the ground moves along: 1, 2 or 3
    std::vector<RecordSource> records; // paths as usable from here (the suite's folder joined)
    IntensityKind kind = IntensityKind::kFactor;
    std::vector<double> intensities;  // the factors, or the levels in g
    std::optional<double> period;     // T1 in s for levels; else the first period of a modal run
    // The damping ratio of the building (Rayleigh, fitted to its first two modes) and of the
    // spectrum that scales records to levels.
    double damping = kDefaultDamping;

    friend bool operator==(const Suite&, const Suite&) = default;
};

// Reads a suite file. Every refusal is an InputError naming the file and the key; oddities that
// do no harm (an unknown key, a period given with factors) are added to warnings.
Suite ReadSuiteFile(const std::string& path, std::vector<std::string>& warnings);
// The same for the text of a file at path.
Suite ParseSuite(const std::string& text, const std::string& path,
                 std::vector<std::string>& warnings);

// The text of the suite as a file at path, its record paths made relative to that file's folder.
std::string SuiteText(const Suite& suite, const std::string& path);
// Writes that text to path atomically.
void WriteSuiteFile(const Suite& suite, const std::string& path);

} // namespace vandra::motion
