#include "motion/Spectrum.h"

#include "model/Errors.h"
#include "model/NumberText.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vandra::motion {
namespace {

// The response is sampled at least this often per natural period (a peak between two samples is
// then missed by at most 1 - cos(pi / 40), 0.3 %), in at most kMaxSubsteps pieces of a record step:
// an oscillator much stiffer than that follows the ground, whose peaks fall on the record's values.
constexpr int kSamplesPerPeriod = 40;
constexpr int kMaxSubsteps = 64;

// The exact step of u'' + 2 zeta w u' + w^2 u = f(t) over a time h in which f is linear: the
// particular solution for a linear f plus the free vibration from the remaining state.
class OscillatorStep {
public:
    OscillatorStep(double w, double zeta, double h) : w_(w), zeta_(zeta) {
        const double wd = w * std::sqrt(1 - zeta * zeta);
        const double e = std::exp(-zeta * w * h);
        const double s = std::sin(wd * h);
        const double c = std::cos(wd * h);
        a11_ = e * (c + zeta * w / wd * s);
        a12_ = e * s / wd;
        a21_ = -e * w * w / wd * s;
        a22_ = e * (c - zeta * w / wd * s);
        invW2_ = 1 / (w * w);
        slopeShift_ = 2 * zeta / (w * w * w);
        invH_ = 1 / h;
    }

    void Step(double& u, double& v, double f0, double f1) const {
        const double slope = (f1 - f0) * invH_;
        const double vp = slope * invW2_;
        const double up0 = f0 * invW2_ - slopeShift_ * slope;
        const double up1 = f1 * invW2_ - slopeShift_ * slope;
        const double h0 = u - up0;
        const double g0 = v - vp;
        u = up1 + a11_ * h0 + a12_ * g0;
        v = vp + a21_ * h0 + a22_ * g0;
    }

    // The largest |u| of the free vibration after the state (u, v) was reached: that of its first
    // extremum, the later ones being smaller by the damping.
    double FreePeak(double u, double v) const {
        const double wd = w_ * std::sqrt(1 - zeta_ * zeta_);
        const double c1 = u;
        const double c2 = (v + zeta_ * w_ * u) / wd;
        // u'(t) = exp(-zeta w t) (p cos(wd t) + q sin(wd t)) = 0 at wd t = phi + pi / 2 (mod pi).
        const double p = v;
        const double q = -zeta_ * w_ * c2 - wd * c1;
        double theta = std::fmod(std::atan2(q, p) + std::numbers::pi / 2, std::numbers::pi);
        if (theta <= 0) theta += std::numbers::pi;
        const double extremum =
            std::exp(-zeta_ * w_ * theta / wd) * (c1 * std::cos(theta) + c2 * std::sin(theta));
        return std::max(std::abs(u), std::abs(extremum));
    }

private:
    double w_, zeta_;
    double a11_, a12_, a21_, a22_;
    double invW2_, slopeShift_, invH_;
};

void CheckOscillator(double period, double damping) {
    if (!(period >= 0) || !std::isfinite(period))
        throw InputError("The period " + text::FormatGeneral(period) +
                         " s is not zero or positive");
    if (!(damping >= 0 && damping < 1))
        throw InputError("The damping ratio " + text::FormatGeneral(damping) +
                         " is not from 0 to less than 1");
}

} // namespace

SpectralPeak PeakResponse(const Record& record, double period, double damping) {
    CheckOscillator(period, damping);
    SpectralPeak peak;
    peak.period = period;
    if (period == 0 || record.accel.empty()) {
        peak.sa = record.Pga();
        return peak;
    }
    const double w = 2 * std::numbers::pi / period;
    const int n = static_cast<int>(
        std::clamp(std::ceil(kSamplesPerPeriod * record.dt / period), 1.0, double{kMaxSubsteps}));
    const OscillatorStep step(w, damping, record.dt / n);
    double u = 0, v = 0, peakU = 0;
    // The relative displacement answers f = -a(t); a is linear between the values, so each
    // substep's end values are interpolated. The record is taken as followed by zeros: a returns
    // to zero over one step, then the ground is still.
    const auto advance = [&](double a0, double a1) {
        double f0 = -a0;
        for (int k = 1; k <= n; ++k) {
            const double f1 = -(a0 + (a1 - a0) * k / n);
            step.Step(u, v, f0, f1);
            peakU = std::max(peakU, std::abs(u));
            f0 = f1;
        }
    };
    const std::vector<double>& a = record.accel;
    for (size_t i = 1; i < a.size(); ++i)
        advance(a[i - 1], a[i]);
    advance(a.back(), 0);
    peakU = std::max(peakU, step.FreePeak(u, v));
    peak.sa = w * w * peakU;
    peak.sd = peakU * kStandardGravity;
    return peak;
}

} // namespace vandra::motion
