#include "sections/MaterialResponse.h"

#include "model/MaterialLaws.h"
#include "model/NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vandra {
namespace {

// The steel limit in multiples of the yield strain: far enough for a plastic section to reach its
// plastic moment (a rectangle reaches 99.7 % of Z Fy), near the elongation of reinforcing bars.
constexpr double kSteelLimitOverYield = 10;

double Negative(double v) {
    return -std::fabs(v);
}

double Steel01(const TMAT& m, double eps) {
    const double elastic = m.E0 * eps;
    const double hardening = m.Fy * (1 - m.b) + m.b * m.E0 * std::fabs(eps);
    return std::fabs(elastic) <= hardening ? elastic : std::copysign(hardening, eps);
}

// The first loading from the origin: the asymptotes meet at the yield point, and with no plastic
// excursion yet the curvature parameter is R0 itself (the solver's cR1 xi / (cR2 + xi) is 0 / cR2,
// which is why cR2 must not be 0).
double Steel02(const TMAT& m, double eps) {
    const double epsy = m.Fy / m.E0;
    const double ratio = eps / epsy;
    const double r = m.R0;
    const double spread = std::pow(1 + std::pow(std::fabs(ratio), r), 1 / r);
    return m.Fy * (m.b * ratio + (1 - m.b) * ratio / spread);
}

// The compression envelope shared by both concrete laws: parabola to epsc0, straight to fpcu at
// epsU, constant beyond.
double ConcreteCompression(const TMAT& m, double eps) {
    const double fpc = Negative(m.fpc), epsc0 = Negative(m.epsc0);
    const double fpcu = Negative(m.fpcu), epsU = Negative(m.epsU);
    if (eps > epsc0) {
        const double eta = eps / epsc0;
        return fpc * (2 * eta - eta * eta);
    }
    if (eps >= epsU) return fpc + (fpc - fpcu) / (epsc0 - epsU) * (eps - epsc0);
    return fpcu;
}

double Concrete02Tension(const TMAT& m, double eps) {
    const double ec0 = 2 * Negative(m.fpc) / Negative(m.epsc0);
    const double cracking = m.ft / ec0;
    const double softened = m.ft * (1 / m.Ets + 1 / ec0);
    if (eps <= cracking) return eps * ec0;
    if (eps <= softened) return m.ft - m.Ets * (eps - cracking);
    return 0;
}

std::string Problem(const TMAT& m, const std::string& what) {
    return "material " + m.Name + ": " + what;
}

std::string Not(double v) {
    return ", not " + text::FormatGeneral(v);
}

} // namespace

double MonotonicStress(const TMAT& mat, double strain) {
    switch (mat.MatType) {
    case kMatElastic:
        return mat.E * strain;
    case kMatSteel01:
        return Steel01(mat, strain);
    case kMatSteel02:
        return Steel02(mat, strain);
    case kMatConcrete01:
        return strain > 0 ? 0 : ConcreteCompression(mat, strain);
    case kMatConcrete02:
        return strain > 0 ? Concrete02Tension(mat, strain) : ConcreteCompression(mat, strain);
    default:
        return 0;
    }
}

StrainRange AnalysisStrainRange(const TMAT& mat) {
    if (IsSteelLaw(mat.MatType)) {
        const double limit = kSteelLimitOverYield * mat.Fy / mat.E0;
        return {-limit, limit};
    }
    if (IsConcreteLaw(mat.MatType))
        return {Negative(mat.epsU), std::numeric_limits<double>::infinity()};
    return {-std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
}

double CompressiveStrength(const TMAT& mat) {
    const double limit = AnalysisStrainRange(mat).compression;
    double strongest = MonotonicStress(mat, limit);
    // The concrete parabola peaks at epsc0; both steel laws grow up to the limit.
    if (IsConcreteLaw(mat.MatType) && Negative(mat.epsc0) > limit)
        strongest = std::min(strongest, MonotonicStress(mat, Negative(mat.epsc0)));
    return strongest;
}

std::string AnalysisMaterialProblem(const TMAT& m) {
    const MaterialLaw* law = FindMaterialLaw(m.MatType);
    if (law == nullptr) return "material " + m.Name + " has no material law";
    if (m.MatType == kMatElastic)
        return "material " + m.Name +
               " is elastic, so its fibers have no strength; give it a steel or concrete law";
    for (const MaterialParam& p : law->params)
        if (!std::isfinite(m.*p.field))
            return Problem(m, std::string(p.name) + " is not a finite number");
    if (IsSteelLaw(m.MatType)) {
        if (!(m.Fy > 0)) return Problem(m, "the yield stress Fy must be positive" + Not(m.Fy));
        if (!(m.E0 > 0)) return Problem(m, "the initial modulus E0 must be positive" + Not(m.E0));
        if (!(m.b >= 0 && m.b < 1))
            return Problem(m, "the hardening ratio b must be at least 0 and below 1" + Not(m.b));
        if (m.MatType == kMatSteel02 && !(m.R0 > 0))
            return Problem(m, "R0 must be positive" + Not(m.R0));
        if (m.MatType == kMatSteel02 && !(m.cR2 > 0))
            return Problem(m, "cR2 must be positive" + Not(m.cR2));
        return {};
    }
    if (!(m.fpc < 0))
        return Problem(m, "the concrete strength fpc must be negative (compression)" + Not(m.fpc));
    if (!(m.epsc0 < 0))
        return Problem(m, "the strain at strength epsc0 must be negative" + Not(m.epsc0));
    if (!(m.epsU < 0)) return Problem(m, "the crushing strain epsU must be negative" + Not(m.epsU));
    if (!(m.fpcu <= 0))
        return Problem(m, "the crushing strength fpcu must not be positive" + Not(m.fpcu));
    if (m.MatType == kMatConcrete02 && !(m.ft >= 0))
        return Problem(m, "the tensile strength ft must not be negative" + Not(m.ft));
    if (m.MatType == kMatConcrete02 && !(m.Ets >= 0))
        return Problem(m, "the tension softening Ets must not be negative" + Not(m.Ets));
    return {};
}

} // namespace vandra
