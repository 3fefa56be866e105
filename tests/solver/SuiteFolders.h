// Suite folders made by hand for the runners' tests and benchmark, laid out as the suite command
// lays them out: DIR/manifest.json and one folder per run (record x factor) holding run.tcl and the
// record it reads, record.txt (one value a line). The script is an oscillator of one degree of
// freedom (unit mass, a storey of height 3) under the run's scaled record, stepped one step at a
// time; it writes outcome.txt as a run must.
#pragma once

#include "motion/Manifest.h"
#include "motion/Record.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace vandra::testing {

inline constexpr double kStoreyHeight = 3.0;

struct Oscillator {
    double period = 0.5;   // s
    double yieldForce = 0; // 0: elastic; else the spring yields there and the analysis,
                           // allowed one iteration a step, stops converging
    std::string before;    // Tcl run before the analysis (a pause, a fault)
};

// The stiffness of the oscillator's spring (unit mass).
double OscillatorStiffness(double period);

// The script of one run: the record in record.txt at time step dt, multiplied by scale (in g).
std::string OscillatorScript(const Oscillator& oscillator, double dt, int steps, double scale);

// Writes the suite: records x factors, run k's folder holding record.txt (its record) and run.tcl
// (script(run, record)). Returns the manifest written, every run pending.
using ScriptFor = std::function<std::string(const motion::ManifestRun&, const motion::Record&)>;
motion::Manifest MakeSuite(const std::filesystem::path& dir,
                           const std::vector<motion::Record>& records,
                           const std::vector<double>& factors, const ScriptFor& script);

// A ground motion of `seconds` at 0.01 s: a few frequencies under a rising and decaying envelope,
// its shape set by `seed`.
motion::Record GroundMotion(int seed, double seconds);

// A fresh empty folder `name` in parent.
std::filesystem::path FreshSuiteFolder(const std::filesystem::path& parent,
                                       const std::string& name);

} // namespace vandra::testing
