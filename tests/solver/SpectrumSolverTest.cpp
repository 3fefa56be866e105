// The response spectrum against the solver: an oscillator of one degree of freedom under a record
// written as the run scripts read it (one value a line, through Path -filePath) reaches the
// spectral displacement VANDRA computes.
#include "SolverSupport.h"

#include "TestTempDir.h"
#include "model/AtomicFile.h"
#include "model/NumberText.h"
#include "motion/Spectrum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace vandra::testing {
namespace {

using std::numbers::pi;

class SpectrumSolverTest : public SolverTest {};

// Twenty seconds of a ground motion with several frequencies under a rising and decaying envelope.
motion::Record EarthquakeLike() {
    motion::Record r;
    r.dt = 0.005;
    for (int k = 0; k < 4000; ++k) {
        const double t = k * r.dt;
        const double envelope = t / 2 * std::exp(1 - t / 2);
        r.accel.push_back(envelope * (0.2 * std::sin(2 * pi * 1.1 * t) +
                                      0.15 * std::sin(2 * pi * 3.3 * t + 1) +
                                      0.1 * std::sin(2 * pi * 0.45 * t + 2)));
    }
    return r;
}

TEST_F(SpectrumSolverTest, OscillatorPeakIsTheSpectralDisplacement) {
    const motion::Record record = EarthquakeLike();
    const std::string file = ProcessTempDir() + "/record.txt";
    WriteFileAtomically(file, motion::SingleColumnText(record));
    for (double period : {0.2, 0.5, 1.0, 3.0}) {
        const double zeta = 0.05, w = 2 * pi / period;
        // Unit mass, stiffness w^2, mass-proportional damping 2 zeta w; the record in g times g
        // gives m/s^2, so the relative displacement is in metres. The run goes on through three
        // periods of free vibration after the record.
        const int steps = record.Steps() - 1 + static_cast<int>(3 * period / record.dt);
        const std::vector<std::string> script = {
            "model BasicBuilder -ndm 1 -ndf 1",
            "node 1 0.0",
            "node 2 0.0 -mass 1.0",
            "fix 1 1",
            "uniaxialMaterial Elastic 1 " + text::FormatGeneral(w * w),
            "element zeroLength 1 1 2 -mat 1 -dir 1",
            "timeSeries Path 1 -dt " + text::FormatGeneral(record.dt) +
                " -filePath record.txt -factor " + text::FormatGeneral(motion::kStandardGravity),
            "pattern UniformExcitation 1 1 -accel 1",
            "rayleigh " + text::FormatGeneral(2 * zeta * w) + " 0 0 0",
            "recorder EnvelopeNode -file peak.txt -node 2 -dof 1 disp",
            "constraints Plain",
            "numberer Plain",
            "system BandGeneral",
            "test NormDispIncr 1e-12 10",
            "algorithm Linear",
            "integrator Newmark 0.5 0.25",
            "analysis Transient",
            "analyze " + text::FormatInt(steps) + " " + text::FormatGeneral(record.dt),
            "remove recorders",
        };
        const SolverRun run = RunSolver(ScriptLineList(script.begin(), script.end()), {file});
        ExpectCleanRun(run, "oscillator of period " + text::FormatGeneral(period));
        const std::vector<std::vector<double>> envelope = ReadRecorder(run.Folder() / "peak.txt");
        ASSERT_EQ(envelope.size(), 3u);
        const double solver = envelope[2][0];
        const motion::SpectralPeak peak = motion::PeakResponse(record, period, zeta);
        EXPECT_NEAR(peak.sd / solver, 1, 0.005) << "T " << period;
    }
}

} // namespace
} // namespace vandra::testing
