#include "model/SolverLocator.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace vandra {
namespace {

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

std::string Absolute(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

} // namespace

const std::vector<std::string>& SolverNames() {
    static const std::vector<std::string> names = {"OpenSees", "opensees"};
    return names;
}

std::string FindSolver(const std::string& programDir) {
    if (const std::string given = Variable(kSolverVariable); !given.empty())
        return IsExecutableFile(given) ? Absolute(given) : std::string();
    for (const std::string& name : SolverNames()) {
        const std::string beside = programDir + "/" + name;
        if (IsExecutableFile(beside)) return Absolute(beside);
    }
    const std::string path = Variable("PATH");
    for (const std::string& name : SolverNames()) {
        std::string_view rest = path;
        while (!rest.empty()) {
            const size_t colon = rest.find(':');
            std::string dir(rest.substr(0, colon));
            rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
            const std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + name;
            if (IsExecutableFile(candidate)) return Absolute(candidate);
        }
    }
    return {};
}

std::string SolverNotFoundMessage(const std::string& programDir) {
    if (const std::string given = Variable(kSolverVariable); !given.empty())
        return std::string(kSolverVariable) + " names \"" + given +
               "\", which is not an executable file.";
    std::string names;
    for (const std::string& name : SolverNames())
        names += (names.empty() ? "" : " and ") + name;
    const std::string path = Variable("PATH");
    return "The OpenSees solver was not found. VANDRA looked for " + names + " in " + programDir +
           " and on the PATH (" + (path.empty() ? "empty" : path) +
           "). Place the solver beside VANDRA or on the PATH, or name it in " + kSolverVariable +
           ".";
}

} // namespace vandra
