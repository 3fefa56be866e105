// Files for the ground-motion tests, written in a scratch folder of this test process, and the
// records of closed-form excitations.
#pragma once

#include "TestTempDir.h"
#include "motion/Record.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>

namespace vandra::testing {

// Writes content to name (which may hold subfolders) in the scratch folder; returns its path.
inline std::string WriteScratchFile(const std::string& name, const std::string& content) {
    const std::filesystem::path path = std::filesystem::path(ProcessTempDir()) / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
}

// Replaces every "<f>" in text by path.
inline std::string WithPath(std::string text, const std::string& path) {
    for (size_t at = text.find("<f>"); at != std::string::npos; at = text.find("<f>", at))
        text.replace(at, 3, path), at += path.size();
    return text;
}

// A record of n values a(k dt) = f(k dt).
template <typename F> motion::Record SampledRecord(double dt, int n, F f) {
    motion::Record r;
    r.path = "sampled";
    r.dt = dt;
    for (int k = 0; k < n; ++k)
        r.accel.push_back(f(k * dt));
    return r;
}

// amplitude sin(w t) for `cycles` cycles of the excitation, its envelope rising and falling as a
// half cosine over the first and last `taper` cycles, so that the oscillator starts and ends
// without a free vibration of its own: its peak is the steady-state amplitude.
inline motion::Record TaperedSine(double amplitude, double w, double cycles, double taper,
                                  int stepsPerCycle) {
    const double period = 2 * std::numbers::pi / w;
    const double length = cycles * period, ramp = taper * period;
    const int n = static_cast<int>(cycles * stepsPerCycle) + 1;
    return SampledRecord(period / stepsPerCycle, n, [=](double t) {
        const double edge = std::min(t, length - t);
        const double envelope =
            edge >= ramp ? 1 : 0.5 * (1 - std::cos(std::numbers::pi * std::max(edge, 0.0) / ramp));
        return amplitude * envelope * std::sin(w * t);
    });
}

} // namespace vandra::testing
