// The response spectrum against closed-form responses of the linear oscillator.
#include "motion/Spectrum.h"
#include "MotionTestSupport.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace vandra::motion {
namespace {

using std::numbers::pi;
using testing::SampledRecord;
using testing::TaperedSine;

double Wn(double period) {
    return 2 * pi / period;
}

// A long sine a = A sin(w t): the oscillator's peak is its steady-state amplitude, in relative
// displacement u0 = A / wn^2 / sqrt((1 - r^2)^2 + (2 zeta r)^2), r = w / wn; Sa = wn^2 u0.
TEST(Spectrum, SineRecordGivesTheSteadyStateAmplitude) {
    const struct {
        double r, zeta, period;
        int stepsPerCycle;
    } cases[] = {{0.5, 0.05, 1.0, 100}, {1.0, 0.05, 1.0, 100}, {1.0, 0.02, 0.5, 100},
                 {2.0, 0.05, 1.0, 100}, {1.3, 0.10, 2.0, 50},  {0.8, 0.05, 0.05, 40},
                 {0.25, 0.05, 0.1, 50}};
    const double amplitude = 0.3;
    for (const auto& c : cases) {
        const double w = c.r * Wn(c.period);
        const Record record =
            TaperedSine(amplitude, w, 120 + 8 / c.zeta * c.r, 40, c.stepsPerCycle);
        const double expected = amplitude / std::hypot(1 - c.r * c.r, 2 * c.zeta * c.r);
        const SpectralPeak peak = PeakResponse(record, c.period, c.zeta);
        EXPECT_NEAR(peak.sa / expected, 1, 0.01) << "r " << c.r << " zeta " << c.zeta;
        EXPECT_NEAR(peak.sd, expected / (Wn(c.period) * Wn(c.period)) * kStandardGravity,
                    0.01 * peak.sd);
    }
}

// A step a = A from t = 0: u reaches A / wn^2 (1 + exp(-zeta pi / sqrt(1 - zeta^2))). The
// coarse steps (dt of 0.2 and 2 periods) check that the response is followed between values.
TEST(Spectrum, StepGivesTheOvershootOfTheDampedOscillator) {
    const struct {
        double zeta, dtOverT;
    } cases[] = {{0, 0.01}, {0.05, 0.01}, {0.2, 0.01}, {0.05, 0.2}, {0.05, 2.0}, {0, 2.0}};
    for (const auto& c : cases) {
        const double period = 0.5, amplitude = 0.2;
        const double dt = c.dtOverT * period;
        const Record record = SampledRecord(dt, static_cast<int>(20 * period / dt) + 1,
                                            [&](double) { return amplitude; });
        const double expected =
            amplitude * (1 + std::exp(-c.zeta * pi / std::sqrt(1 - c.zeta * c.zeta)));
        EXPECT_NEAR(PeakResponse(record, period, c.zeta).sa / expected, 1, 0.01)
            << "zeta " << c.zeta << " dt/T " << c.dtOverT;
    }
}

// A half-sine pulse a = A sin(pi t / td) on an undamped oscillator. Its peak, in units of A / wn^2:
// in the pulse 1 / (1 - b^2) (sin(pi t / td) - b sin(wn t)) with b = T / (2 td); after it, the
// free vibration of amplitude (T / td) |cos(pi td / T)| / |b^2 - 1| (pi / 2 when td = T / 2).
// The pulse's short cases have their peak after it: with no trailing zeros it comes from the
// free vibration after the record, with zeros from the steps through them.
TEST(Spectrum, HalfSinePulseGivesTheShockSpectrum) {
    const double sqrt3 = std::sqrt(3.0);
    const struct {
        double tdOverT;
        double trailingPeriods;
        double expected;
    } cases[] = {{1.0, 3, sqrt3},
                 {1.0, 0, sqrt3},
                 {0.5, 3, pi / 2},
                 {0.25, 3, 4 * std::cos(pi / 4) / 3},
                 {0.25, 0, 4 * std::cos(pi / 4) / 3},
                 {0.125, 0, 8 * std::cos(pi / 8) / 15},
                 {0.125, 2, 8 * std::cos(pi / 8) / 15}};
    for (const auto& c : cases) {
        const double period = 0.8, amplitude = 0.5;
        const double td = c.tdOverT * period;
        const double dt = td / 200;
        const int n = static_cast<int>(std::lround((td + c.trailingPeriods * period) / dt)) + 1;
        const Record record = SampledRecord(dt, n, [&](double t) {
            return t <= td + dt / 2 ? amplitude * std::sin(pi * std::min(t, td) / td) : 0.0;
        });
        EXPECT_NEAR(PeakResponse(record, period, 0).sa / (amplitude * c.expected), 1, 0.01)
            << "td/T " << c.tdOverT << " trailing " << c.trailingPeriods;
    }
}

// A record is taken as followed by zeros: the free vibration found in closed form after a short
// record is what stepping through trailing zeros gives, with any damping. The records end in
// motion, some at a non-zero acceleration.
TEST(Spectrum, FreeVibrationAfterTheRecordMatchesSteppedZeros) {
    const double period = 1.0, dt = period / 500;
    const struct {
        const char* pulse;
        double length, zeta;
    } cases[] = {{"half sine", 0.1, 0.02}, {"half sine", 0.1, 0.2}, {"half sine", 0.3, 0.6},
                 {"ramp", 0.15, 0.05},     {"ramp", 0.15, 0.3},     {"sine", 1.3, 0.1},
                 {"sine", 2.7, 0.4},       {"sine", 0.05, 0.05}};
    for (const auto& c : cases) {
        const auto pulse = [&](double t) {
            const std::string_view kind = c.pulse;
            if (t > c.length + dt / 2) return 0.0;
            if (kind == "ramp") return 0.4 * t / c.length;
            if (kind == "half sine") return 0.4 * std::sin(pi * t / c.length);
            return 0.4 * std::sin(2 * pi * t / (0.37 * period));
        };
        const int n = static_cast<int>(std::lround(c.length / dt)) + 1;
        const double alone = PeakResponse(SampledRecord(dt, n, pulse), period, c.zeta).sa;
        const double stepped =
            PeakResponse(SampledRecord(dt, n + static_cast<int>(3 * period / dt), pulse), period,
                         c.zeta)
                .sa;
        EXPECT_NEAR(alone / stepped, 1, 0.005) << c.pulse << " " << c.length << " " << c.zeta;
    }
}

// A stiff oscillator follows the ground: Sa tends to the peak ground acceleration.
TEST(Spectrum, ShortPeriodsGiveThePeakGroundAcceleration) {
    const Record record = SampledRecord(0.01, 400, [](double t) {
        return 0.3 * std::sin(7 * t) * std::exp(-t) - 0.1 * std::cos(23 * t);
    });
    const double pga = record.Pga();
    EXPECT_EQ(PeakResponse(record, 0).sa, pga);
    for (double period : {0.001, 0.002, 0.004})
        EXPECT_NEAR(PeakResponse(record, period).sa / pga, 1, 0.01) << period;
}

TEST(Spectrum, RefusesOscillatorsThatDoNotExist) {
    const Record record = SampledRecord(0.01, 10, [](double t) { return t; });
    const struct {
        double period, damping;
        const char* message;
    } cases[] = {{-0.5, 0.05, "The period -0.5 s is not zero or positive"},
                 {std::nan(""), 0.05, "The period NAN s is not zero or positive"},
                 {1.0, 1.0, "The damping ratio 1 is not from 0 to less than 1"},
                 {1.0, -0.01, "The damping ratio -0.01 is not from 0 to less than 1"}};
    for (const auto& c : cases) {
        try {
            PeakResponse(record, c.period, c.damping);
            ADD_FAILURE() << c.message;
        } catch (const InputError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

} // namespace
} // namespace vandra::motion
