// A suite's state and answers as text for a terminal: the IDA table (intensity against each
// record's peak drift ratio, with the median), the runs that failed, and a progress line.
#pragma once

#include "motion/Manifest.h"
#include "motion/SuiteRunner.h"

#include <string>

namespace vandra::motion {

// The IDA table in aligned columns: a row per intensity (ascending), a column per record, then the
// median. A drift is written to 4 significant digits, "collapse" for a run that did not converge,
// "-" where there is no result.
std::string IdaTableText(const Manifest& manifest);

// One line per failed run: "<folder>: <reason>", with " (log <suiteDir>/<folder>/solver.log)"
// when that log exists.
std::string FailedRunsText(const Manifest& manifest, const std::string& suiteDir);

// "7 of 24 runs done (1 did not converge), 2 failed, 3 running, 12 waiting".
std::string ProgressText(const SuiteProgress& progress);

} // namespace vandra::motion
