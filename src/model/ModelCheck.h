// The model check: what the import or the generator found that the engineer must know but that
// does not stop the command (a name that matches nothing, a key missing at its place, a name made
// inert in a script comment). Warnings are collected, never thrown; the desktop program shows them
// in one dialog, vandra-cli on standard error, one line each.
#pragma once

#include <string>
#include <vector>

namespace vandra {

struct TWarning {
    std::string File; // the file the warning is about; empty for the model in memory
    int Line = 0;     // 1-based line of that file; 0 when no line applies
    std::string What; // what is wrong
    std::string Done; // what the program did about it

    bool operator==(const TWarning&) const = default;
};

using WarningList = std::vector<TWarning>;

// "FILE:LINE: WHAT; DONE" (FILE and LINE left out when absent): the one-line form of a warning.
std::string FormatWarning(const TWarning& warning);

} // namespace vandra
