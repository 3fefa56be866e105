// Where the solver is found: VANDRA_OPENSEES, beside the program, then on the PATH.
#include "model/SolverLocator.h"
#include "TestTempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace vandra {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for the life of the object (unsets it for nullptr).
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedVariable() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

std::string Make(const fs::path& file, bool executable) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "#!/bin/sh\n";
    fs::permissions(file, executable ? fs::perms(0755) : fs::perms(0644));
    return file.string();
}

TEST(SolverLocator, VariableThenBesideThenPath) {
    const fs::path root = fs::path(testing::ProcessTempDir()) / "locator";
    fs::remove_all(root);
    const std::string program = (root / "bin").string();
    const std::string given = Make(root / "given" / "OpenSees", true);
    const std::string notExecutable = Make(root / "given" / "notes.txt", false);
    const std::string pathLower = Make(root / "p1" / "opensees", true);
    const std::string pathUpper = Make(root / "p2" / "OpenSees", true);
    Make(root / "p1" / "OpenSees", false);
    fs::create_directories(program);
    const std::string path = (root / "p1").string() + "::" + (root / "p2").string();
    const struct {
        const char* variable;
        bool beside;
        std::string found;
    } cases[] = {
        {given.c_str(), true, given},
        {nullptr, true, program + "/OpenSees"},
        // Names in order over the whole PATH: an executable OpenSees before opensees.
        {nullptr, false, pathUpper},
        {"", false, pathUpper},
        // A variable naming no executable is not passed over for another solver.
        {notExecutable.c_str(), true, ""},
    };
    for (const auto& c : cases) {
        ScopedVariable variable(kSolverVariable, c.variable);
        ScopedVariable searched("PATH", path.c_str());
        fs::remove(program + "/OpenSees");
        if (c.beside) Make(program + "/OpenSees", true);
        EXPECT_EQ(FindSolver(program), c.found) << (c.variable ? c.variable : "unset");
    }
    {
        ScopedVariable variable(kSolverVariable, nullptr);
        ScopedVariable searched("PATH", (root / "p1").string().c_str());
        fs::remove(program + "/OpenSees");
        EXPECT_EQ(FindSolver(program), pathLower);
        ScopedVariable none("PATH", nullptr);
        EXPECT_EQ(FindSolver(program), "");
        EXPECT_EQ(SolverNotFoundMessage(program),
                  "The OpenSees solver was not found. VANDRA looked for OpenSees and opensees in " +
                      program +
                      " and on the PATH (empty). Place the solver beside VANDRA or on the PATH, "
                      "or name it in VANDRA_OPENSEES.");
    }
}

} // namespace
} // namespace vandra
