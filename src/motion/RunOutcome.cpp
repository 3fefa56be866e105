#include "motion/RunOutcome.h"

#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"
#include "motion/MotionFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <iterator>

namespace vandra::motion {
namespace {

constexpr size_t kMaxOutcomeBytes = 64 * 1024;
constexpr size_t kMaxReasonLine = 200;
constexpr size_t kLogTailBytes = 64 * 1024;
constexpr size_t kKeyCount = std::size(kOutcomeKeys);

std::string Where(const std::string& path, int line) {
    return path + ", line " + text::FormatInt(line);
}

std::string_view Trim(std::string_view s) {
    const size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// A peak or a time: a number zero or more; for a peak, a word the solver writes for no number.
double OutcomeNumber(std::string_view token, bool peak, const std::string& where,
                     std::string_view key) {
    if (peak && (token == "none" || token == "Inf" || token == "NaN")) return std::nan("");
    const std::optional<double> value = parse::TryFloat(token);
    if (!value || *value < 0)
        throw InputError(where + ": \"" + std::string(key) + "\" is " + std::string(token) +
                         ", not a number zero or more");
    return *value;
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

std::string SignalText(int signal) {
    const char* name = ::strsignal(signal);
    return "signal " + text::FormatInt(signal) +
           (name != nullptr ? " (" + std::string(name) + ")" : "");
}

} // namespace

RunResult ReadRunOutcome(const std::string& path) {
    const std::string content = ReadSmallFile(path, "outcome", kMaxOutcomeBytes);
    RunResult result;
    std::array<bool, kKeyCount> seen{};
    bool ended = false;
    int number = 0;
    std::string_view rest = content;
    while (!rest.empty()) {
        const size_t eol = rest.find('\n');
        const std::string_view line = Trim(rest.substr(0, eol));
        rest = eol == std::string_view::npos ? std::string_view() : rest.substr(eol + 1);
        ++number;
        if (line.empty()) continue;
        const std::string where = Where(path, number);
        if (ended) throw InputError(where + ": text after \"end\"");
        if (line == "end") {
            ended = true;
            continue;
        }
        const size_t blank = line.find_first_of(" \t");
        const std::string_view key = line.substr(0, blank);
        const std::string_view value =
            blank == std::string_view::npos ? std::string_view() : Trim(line.substr(blank));
        const auto* known = std::find(std::begin(kOutcomeKeys), std::end(kOutcomeKeys), key);
        if (known == std::end(kOutcomeKeys))
            throw InputError(where + ": \"" + std::string(key) + "\" is not a key of an outcome");
        const size_t index = static_cast<size_t>(known - std::begin(kOutcomeKeys));
        if (seen[index]) throw InputError(where + ": \"" + std::string(key) + "\" is given twice");
        seen[index] = true;
        if (value.empty() || value.find_first_of(" \t") != std::string_view::npos)
            throw InputError(where + ": \"" + std::string(key) + "\" needs one value");
        switch (index) {
        case 0:
            if (value != "yes" && value != "no")
                throw InputError(where + ": \"converged\" is " + std::string(value) +
                                 ", not yes or no");
            result.converged = value == "yes";
            break;
        case 1:
            result.time = OutcomeNumber(value, false, where, key);
            break;
        case 2:
            result.peakDrift = OutcomeNumber(value, true, where, key);
            break;
        case 3:
            result.peakRoof = OutcomeNumber(value, true, where, key);
            break;
        default:
            result.peakBaseShear = OutcomeNumber(value, true, where, key);
            break;
        }
    }
    for (size_t k = 0; k < kKeyCount; ++k) {
        if (!seen[k])
            throw InputError(path + ": \"" + std::string(kOutcomeKeys[k]) + "\" is missing");
    }
    if (!ended) throw InputError(path + ": the last line \"end\" is missing");
    if (result.converged && !(std::isfinite(result.peakDrift) && std::isfinite(result.peakRoof) &&
                              std::isfinite(result.peakBaseShear)))
        throw InputError(path + ": a converged run without a number for each peak");
    return result;
}

std::string SolverErrorLine(std::string_view console) {
    std::string_view lastText, lastWarning;
    while (!console.empty()) {
        const size_t eol = console.find('\n');
        const std::string_view line = Trim(console.substr(0, eol));
        console = eol == std::string_view::npos ? std::string_view() : console.substr(eol + 1);
        // A Tcl error prints its message, then the trace.
        if (line.starts_with("while executing"))
            return std::string(lastText.substr(0, kMaxReasonLine));
        if (line.empty()) continue;
        lastText = line;
        if (line.starts_with("WARNING")) lastWarning = line;
    }
    return std::string(lastWarning.substr(0, kMaxReasonLine));
}

RunVerdict JudgeRun(const std::string& runDir, const SolverEnd& end, std::string_view more) {
    RunVerdict verdict;
    const auto fail = [&](std::string reason) {
        if (!more.empty()) reason.append("; ").append(more);
        verdict.reason = std::move(reason);
        return verdict;
    };
    if (!IsDirectory(runDir)) return fail("The run folder was removed during the run");
    const std::string outcome = runDir + "/" + kRunOutcome;
    if (Exists(outcome)) {
        try {
            verdict.result = ReadRunOutcome(outcome);
            return verdict;
        } catch (const InputError& e) {
            return fail(e.what());
        }
    }
    if (end.kind == SolverEnd::Kind::kSignalled)
        return fail("The solver was killed by " + SignalText(end.value));
    const std::string console = ReadFileTail(runDir + "/" + kRunLog, kLogTailBytes);
    std::string reason = "The solver stopped before writing " + std::string(kRunOutcome);
    if (end.kind == SolverEnd::Kind::kExited && end.value != 0)
        reason += " (exit status " + text::FormatInt(end.value) + ")";
    if (const std::string error = SolverErrorLine(console); !error.empty()) reason += ": " + error;
    return fail(std::move(reason));
}

} // namespace vandra::motion
