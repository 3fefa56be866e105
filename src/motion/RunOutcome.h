// What a run of a suite leaves in its folder and how a runner judges it (Running.md tells the
// whole contract): the script run.tcl writes outcome.txt at its end; the solver's console goes to
// solver.log. A run with a complete outcome.txt has a result, converged or not; any other end is a
// failed run with its reason.
#pragma once

#include "motion/Manifest.h"

#include <optional>
#include <string>
#include <string_view>

namespace vandra::motion {

inline constexpr const char* kRunScript = "run.tcl";
inline constexpr const char* kRunLog = "solver.log";
inline constexpr const char* kRunOutcome = "outcome.txt";

// The keys of outcome.txt, in the order a script writes them; the file ends with a line "end".
inline constexpr const char* kOutcomeKeys[] = {"converged", "time", "peakDrift", "peakRoof",
                                               "peakBaseShear"};

// How a solver process ended, as far as the runner knows.
struct SolverEnd {
    enum class Kind { kUnknown, kExited, kSignalled };
    Kind kind = Kind::kUnknown;
    int value = 0; // the exit status, or the signal number

    static SolverEnd Exited(int status) { return {Kind::kExited, status}; }
    static SolverEnd Signalled(int signal) { return {Kind::kSignalled, signal}; }
};

// Reads an outcome file: every key of kOutcomeKeys once ("converged yes|no", the others a number
// zero or more; a peak may be "none", "Inf" or "NaN" for no number, but not in a converged run),
// then "end". InputError "<path>, line <n>: ..." naming the key or the token at fault, and
// "<path>: ..." for a missing key or a missing "end".
RunResult ReadRunOutcome(const std::string& path);

// The message of the error that stopped a script, from the solver's console text: the last line
// with text before the first Tcl error trace ("while executing"), else the last line starting with
// "WARNING", else empty. At most 200 characters.
std::string SolverErrorLine(std::string_view console);

// What became of a run whose solver has ended: its result, or why it failed.
struct RunVerdict {
    std::optional<RunResult> result;
    std::string reason; // when there is no result
};

// Judges the run folder runDir after its solver ended: a folder that is gone, an outcome file
// that does not read, or a missing one (the reason then says how the solver ended and the error in
// its log). `more` is added to the reason of a failure (what the batch system knows).
RunVerdict JudgeRun(const std::string& runDir, const SolverEnd& end, std::string_view more = {});

} // namespace vandra::motion
