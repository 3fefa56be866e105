// Small models and scratch result folders for the post-processing tests.
#pragma once

#include "model/Model.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace vandra::testing {

// Frames of the given types (0: a frame whose section is not in the model), frame f from
// (0, 1000 f, 0) to (length, 1000 f, 0) with local axis 2 along Z; one section per type code 1..8.
inline TModel FramesOfTypes(const std::vector<int>& types, double length = 4000) {
    TModel m;
    m.Nodes.resize(1);
    m.Frames.resize(1);
    m.Loads.resize(1);
    m.Sections.resize(9);
    m.SectionCount = 8;
    for (int t = 1; t <= 8; ++t)
        m.Sections[static_cast<size_t>(t)].FrameType = t;
    for (int type : types) {
        const int f = static_cast<int>(m.Frames.size());
        for (double x : {0.0, length}) {
            TNODE n;
            n.X = x;
            n.Y = 1000.0 * f;
            m.Nodes.push_back(n);
        }
        TFRAME frame;
        frame.SecIdx = type;
        frame.NodeI = static_cast<int>(m.Nodes.size()) - 2;
        frame.NodeJ = frame.NodeI + 1;
        frame.Axis2Z = 1;
        m.Frames.push_back(frame);
    }
    m.NodeCount = static_cast<int>(m.Nodes.size()) - 1;
    m.FrameCount = static_cast<int>(m.Frames.size()) - 1;
    m.LoadCaseCount = 2;
    m.LoadCaseNames = {"", "DEAD", "PUSH"};
    return m;
}

inline void AddFrameLoad(TModel& m, int frame, int loadCase, int dir, double w) {
    TLOAD l;
    l.Kind = kFrameDistributed;
    l.Target = frame;
    l.CaseIdx = loadCase;
    l.Dir = dir;
    l.FX = w;
    m.Loads.push_back(l);
    m.LoadCount = static_cast<int>(m.Loads.size()) - 1;
}

// A folder of this test process for recorder files, with the files of a tests/data folder
// copied into it when one is named.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& from = "") {
        dir_ = std::filesystem::temp_directory_path() /
               ("vandra_post_" + std::to_string(::getpid()) + "_" + std::to_string(counter_++));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        if (from.empty()) return;
        const std::filesystem::path data = std::filesystem::path(VANDRA_SOURCE_DIR) / "tests/data";
        for (const auto& e : std::filesystem::directory_iterator(data / from))
            std::filesystem::copy_file(e.path(), dir_ / e.path().filename());
    }
    ~ScratchFolder() { std::filesystem::remove_all(dir_); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string path() const { return dir_.string(); }
    std::string file(const std::string& name) const { return (dir_ / name).string(); }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }
    void remove(const std::string& name) const { std::filesystem::remove(dir_ / name); }

private:
    static inline int counter_ = 0;
    std::filesystem::path dir_;
};

// The message of what read() throws, "no error" when it does not.
template <typename Read> std::string ErrorOf(Read&& read) {
    try {
        read();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no error";
}

} // namespace vandra::testing
