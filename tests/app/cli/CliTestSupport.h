// Running the built vandra-cli from a test. Every ctest process gets its own temporary files, so
// the CLI tests can run in parallel.
#pragma once

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace cli_test {

struct CliRun {
    int status;
    std::string out, err;
};

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

inline std::string SourcePath(const std::string& relative) {
    return std::string(VANDRA_SOURCE_DIR) + "/" + relative;
}

// A path in the test's temporary folder that no other running test uses.
inline std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + "/vandra_" + std::to_string(::getpid()) + "_" + name;
}

inline std::string WriteTempFile(const std::string& name, const std::string& text) {
    const std::string path = TempPath(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// Runs vandra-cli with args (already quoted for the shell); captures stdout and stderr.
inline CliRun RunCli(const std::string& args) {
    const std::string out = TempPath("cli.out"), err = TempPath("cli.err");
    const std::string command =
        std::string("'") + VANDRA_CLI_PATH + "' " + args + " >'" + out + "' 2>'" + err + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
}

} // namespace cli_test
