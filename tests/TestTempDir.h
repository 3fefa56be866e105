// A temporary folder of this test process alone: test cases of one program run as separate
// processes at the same time (ctest -j), so fixed file names in the shared temporary folder would
// be written by several of them at once.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace vandra::testing {

inline std::string ProcessTempDir() {
    static const std::string dir = [] {
        const std::filesystem::path p =
            std::filesystem::path(::testing::TempDir()) / ("vandra_" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        return p.string();
    }();
    return dir;
}

} // namespace vandra::testing
