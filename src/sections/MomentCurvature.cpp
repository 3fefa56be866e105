#include "sections/MomentCurvature.h"

#include "model/Errors.h"
#include "model/MaterialLaws.h"
#include "model/NumberText.h"
#include "sections/MaterialResponse.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace vandra {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Axial strains sampled across the admissible band at one curvature: the axial force is continuous
// in the axial strain, so a level between the smallest and the largest sample is reached.
constexpr int kBandSamples = 96;
// Halvings of the curvature interval: far below what a curve can show.
constexpr int kBisections = 80;
// Strains this close to a bound (relatively) are at it.
constexpr double kRounding = 1e-9;
// The strain of a section without any tensile limit in pure tension (as the diagram takes it).
constexpr double kUnlimitedTension = 1;

// The fibers in one bending direction: strain = axial + curvature u.
struct Layer {
    double u = 0, area = 0;
    int mat = 0;
};

class ConstantAxialPath {
public:
    ConstantAxialPath(const AnalysisSection& section, BendingAxis axis, double axial)
        : section_(section), axial_(axial) {
        for (const TMAT& mat : section.mats)
            ranges_.push_back(AnalysisStrainRange(mat));
        for (const AnalysisFiber& f : section.fibers)
            layers_.push_back({axis == BendingAxis::Z ? -f.y : f.z, f.area, f.mat});
        double lowest = kInfinity, highest = -kInfinity;
        smallestLimit_ = kInfinity;
        for (const Layer& l : layers_) {
            lowest = std::min(lowest, l.u);
            highest = std::max(highest, l.u);
            const StrainRange& r = ranges_[static_cast<size_t>(l.mat)];
            smallestLimit_ = std::min({smallestLimit_, -r.compression, r.tension});
        }
        depth_ = highest - lowest;
    }

    double Depth() const { return depth_; }
    double SmallestLimit() const { return smallestLimit_; }

    double Force(double strain, double curvature) const {
        double p = 0;
        for (const Layer& l : layers_)
            p += MonotonicStress(section_.mats[static_cast<size_t>(l.mat)],
                                 strain + curvature * l.u) *
                 l.area;
        return p;
    }

    // Whether some axial strain keeps every fiber in its range at this curvature and gives the
    // axial force.
    bool Reachable(double curvature) const {
        double low = -kInfinity, high = kInfinity;
        for (const Layer& l : layers_) {
            const StrainRange& r = ranges_[static_cast<size_t>(l.mat)];
            low = std::max(low, r.compression - curvature * l.u);
            high = std::min(high, r.tension - curvature * l.u);
        }
        if (low > high) return false;
        if (!std::isfinite(high)) high = std::max(low, 0.0) + kUnlimitedTension;
        double least = kInfinity, most = -kInfinity;
        for (int k = 0; k <= kBandSamples; ++k) {
            const double p = Force(low + (high - low) * k / kBandSamples, curvature);
            least = std::min(least, p);
            most = std::max(most, p);
        }
        return least <= axial_ && axial_ <= most;
    }

private:
    const AnalysisSection& section_;
    double axial_ = 0;
    std::vector<StrainRange> ranges_;
    std::vector<Layer> layers_;
    double depth_ = 0, smallestLimit_ = 0;
};

double TensileStrength(const AnalysisSection& section) {
    double strain = kInfinity;
    for (const TMAT& mat : section.mats)
        strain = std::min(strain, AnalysisStrainRange(mat).tension);
    if (!std::isfinite(strain)) strain = kUnlimitedTension;
    return IntegrateSection(section, {strain, 0, 0}).P;
}

std::string Num(double v) {
    return text::FormatGeneral(v);
}

double StrainOf(const AnalysisFiber& f, const SectionState& s) {
    return s.plane.axial - f.y * s.plane.curvatureZ + f.z * s.plane.curvatureY;
}

// The strains a fiber stays within until an event.
struct Bounds {
    double low = -kInfinity, high = kInfinity;
};

// Where a curve meets an event: between states[state - 1] and states[state], the fraction
// `fraction` of the way (state 0 itself when the event is there at once).
struct Crossing {
    size_t state = 0;
    double fraction = 1;
};

// The first state at which a fiber that boundsOf(k) names reaches its bounds (to rounding: a
// curve cut at a limit ends with a fiber on it), and where between it and the state before the
// first such fiber reaches its bound.
template <typename BoundsOf>
std::optional<Crossing> FirstPast(const AnalysisSection& section,
                                  std::span<const SectionState> states, BoundsOf boundsOf) {
    for (size_t i = 0; i < states.size(); ++i) {
        std::optional<Crossing> first;
        for (size_t k = 0; k < section.fibers.size(); ++k) {
            const std::optional<Bounds> b = boundsOf(k);
            if (!b) continue;
            const double now = StrainOf(section.fibers[k], states[i]);
            if (now > b->low * (1 - kRounding) && now < b->high * (1 - kRounding)) continue;
            double fraction = 1;
            if (i > 0) {
                const double before = StrainOf(section.fibers[k], states[i - 1]);
                const double bound = now <= b->low * (1 - kRounding) ? b->low : b->high;
                fraction = std::clamp((bound - before) / (now - before), 0.0, 1.0);
            }
            if (!first || fraction < first->fraction) first = Crossing{i, fraction};
        }
        if (first) return first;
    }
    return std::nullopt;
}

// The state at a crossing: deformations and forces linear between the two states.
SectionState Between(std::span<const SectionState> states, const Crossing& at) {
    const SectionState& b = states[at.state];
    const SectionState& a = at.state == 0 ? b : states[at.state - 1];
    auto mix = [t = at.fraction](double x, double y) { return x + (y - x) * t; };
    return {{mix(a.plane.axial, b.plane.axial), mix(a.plane.curvatureY, b.plane.curvatureY),
             mix(a.plane.curvatureZ, b.plane.curvatureZ)},
            {mix(a.force.P, b.force.P), mix(a.force.My, b.force.My), mix(a.force.Mz, b.force.Mz)}};
}

} // namespace

bool HasElasticSection(int frameType) {
    return frameType == kElasticBeamColumn || frameType == kElasticTimoshenkoBeam;
}

AnalysisSection AnalysisSectionOf(const TModel& model, int s, std::span<const TFIBER> fibers) {
    const TSECTION& sec = model.Sections[static_cast<size_t>(s)];
    if (HasElasticSection(sec.FrameType))
        throw InputError("Frame section " + sec.Name +
                         " has no fibers: its elements are elastic, so it has no strength to "
                         "analyse");
    if (!HasFiberSection(sec.FrameType))
        throw InputError("Frame section " + sec.Name +
                         " has no section to analyse: it is a rigid beam or has no frame type");
    return PrepareAnalysisSection(sec.Name, fibers, model);
}

double LimitCurvature(const AnalysisSection& section, BendingAxis axis, double axial) {
    const std::string where = "Frame section " + section.name;
    const double squash = SquashLoad(section);
    if (axial < squash)
        throw InputError(where + ": the axial load " + Num(axial) + " is beyond the squash load " +
                         Num(squash) + " (compression is negative)");
    const double tension = TensileStrength(section);
    if (axial > tension)
        throw InputError(where + ": the axial load " + Num(axial) +
                         " is beyond the tensile strength " + Num(tension));
    const ConstantAxialPath path(section, axis, axial);
    if (!(path.Depth() > 0))
        throw InputError(where + ": all its fibers lie on one line parallel to the bending axis, "
                                 "so it carries no moment about it");
    if (!path.Reachable(0))
        throw InputError(where +
                         ": no axial strain within the fibers' strain limits carries the "
                         "axial load " +
                         Num(axial) + " (the squash load " + Num(squash) +
                         " counts every fiber at its strength at once)");
    // Out from a curvature that strains the section by a fraction of its smallest limit, then
    // halving the interval between the last curvature reached and the first one not reached.
    double reached = 0, beyond = path.SmallestLimit() / 100 / path.Depth();
    for (int k = 0; path.Reachable(beyond); ++k) {
        if (k == 200) throw InputError(where + ": its curvature has no limit at this axial load");
        reached = beyond;
        beyond *= 2;
    }
    for (int k = 0; k < kBisections && beyond - reached > 1e-13 * beyond; ++k) {
        const double mid = (reached + beyond) / 2;
        (path.Reachable(mid) ? reached : beyond) = mid;
    }
    return reached;
}

std::vector<FiberRole> FiberRolesOf(const TSECTION& section, std::span<const TFIBER> fibers,
                                    const TModel& model) {
    const double cover = section.Shape == kShapeRectangle ? section.Cover : 0;
    const double coreY = section.T[2] / 2 - cover, coreZ = section.T[1] / 2 - cover;
    std::vector<FiberRole> roles;
    for (const TFIBER& f : fibers) {
        const bool steel = f.FibMat >= 1 && static_cast<size_t>(f.FibMat) < model.Mats.size() &&
                           IsSteelLaw(model.Mats[static_cast<size_t>(f.FibMat)].MatType);
        const bool inCore =
            cover <= 0 || (std::fabs(f.FibY) <= coreY && std::fabs(f.FibZ) <= coreZ);
        roles.push_back(steel    ? FiberRole::Steel
                        : inCore ? FiberRole::CoreConcrete
                                 : FiberRole::CoverConcrete);
    }
    return roles;
}

double CurvatureOf(const SectionState& state, BendingAxis axis) {
    return axis == BendingAxis::Z ? state.plane.curvatureZ : state.plane.curvatureY;
}

double MomentOf(const SectionState& state, BendingAxis axis) {
    return axis == BendingAxis::Z ? state.force.Mz : state.force.My;
}

std::vector<CurveMark> CurveMarks(const AnalysisSection& section, std::span<const FiberRole> roles,
                                  BendingAxis axis, std::span<const SectionState> states) {
    std::vector<CurveMark> marks;
    auto mark = [&](CurveMarkKind kind, const std::optional<Crossing>& at) {
        if (!at) return;
        const SectionState s = Between(states, *at);
        marks.push_back({kind, CurvatureOf(s, axis), MomentOf(s, axis)});
    };
    // The strains a fiber of the role stays within until its event: the yield strain either way
    // for steel, the crushing strain for concrete.
    auto bounds = [&](FiberRole role) {
        return [&, role](size_t k) -> std::optional<Bounds> {
            if (k >= roles.size() || roles[k] != role) return std::nullopt;
            const TMAT& mat = section.mats[static_cast<size_t>(section.fibers[k].mat)];
            if (role == FiberRole::Steel) return Bounds{-mat.Fy / mat.E0, mat.Fy / mat.E0};
            if (!IsConcreteLaw(mat.MatType)) return std::nullopt;
            return Bounds{-std::fabs(mat.epsU), kInfinity};
        };
    };
    mark(CurveMarkKind::FirstYield, FirstPast(section, states, bounds(FiberRole::Steel)));
    size_t peak = 0;
    for (size_t i = 1; i < states.size(); ++i)
        if (MomentOf(states[i], axis) > MomentOf(states[peak], axis)) peak = i;
    if (peak > 0) mark(CurveMarkKind::PeakMoment, Crossing{peak, 1});
    mark(CurveMarkKind::CoverCrushing,
         FirstPast(section, states, bounds(FiberRole::CoverConcrete)));
    mark(CurveMarkKind::CoreCrushing, FirstPast(section, states, bounds(FiberRole::CoreConcrete)));
    return marks;
}

bool CutAtStrainLimit(const AnalysisSection& section, std::vector<SectionState>& states) {
    const std::optional<Crossing> at = FirstPast(section, states, [&](size_t k) {
        const StrainRange r =
            AnalysisStrainRange(section.mats[static_cast<size_t>(section.fibers[k].mat)]);
        return std::optional<Bounds>(Bounds{r.compression, r.tension});
    });
    if (!at) return false;
    states[at->state] = Between(states, *at);
    states.resize(at->state + 1);
    return true;
}

} // namespace vandra
