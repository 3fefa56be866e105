// Small helpers of the import tests: inline files start with a title line, since a header on the
// first line of a file is never found.
#pragma once

#include "import/S2kImport.h"

#include <string>

namespace vandra::testing {

inline TModel Import(const std::string& body) {
    return ImportS2k(SplitS2kLines("title\n" + body));
}

// The message of the error of type E that importing `body` throws, or "no error".
template <typename E> std::string ErrorOf(const std::string& body) {
    try {
        Import(body);
    } catch (const E& e) {
        return e.what();
    }
    return "no error";
}

// Joints 1..n along X at 1000 mm spacing.
inline std::string JointsAlongX(int n) {
    std::string s = "JOINT\n";
    for (int k = 1; k <= n; ++k)
        s += "  " + std::to_string(k) + "  X=" + std::to_string(1000 * (k - 1)) + "  Y=0  Z=0\n";
    return s + "\n";
}

} // namespace vandra::testing
