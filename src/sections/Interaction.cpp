#include "sections/Interaction.h"

#include "model/Errors.h"
#include "sections/MaterialResponse.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <tuple>

namespace vandra {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr int kMaxSampling = 1000000;

// The strain where a section without any tensile limit (concrete alone) is taken in pure
// tension: far beyond the softening of every concrete law.
constexpr double kUnlimitedTension = 1;

// Fibers at the same distance from the bending axis with the same material, merged: in one
// direction the strain depends on that distance alone.
struct Layer {
    double u = 0;       // strain = axial + curvature u; the moment about the axis sums stress A u
    double area = 0;    // sum of A
    double areaArm = 0; // sum of A times the arm of the moment about the other axis
    int mat = 0;
};

// One sampled plane: its forces (the moment about the bending axis and about the other axis) and
// its axial strain and curvature.
struct Sample {
    double P = 0, M = 0, other = 0, axial = 0, curvature = 0;
};

Sample Lerp(const Sample& a, const Sample& b, double t) {
    auto mix = [t](double x, double y) { return x + (y - x) * t; };
    return {mix(a.P, b.P), mix(a.M, b.M), mix(a.other, b.other), mix(a.axial, b.axial),
            mix(a.curvature, b.curvature)};
}

std::vector<Layer> LayersOf(const AnalysisSection& section, BendingAxis axis) {
    std::vector<Layer> layers;
    for (const AnalysisFiber& f : section.fibers) {
        if (axis == BendingAxis::Z)
            layers.push_back({-f.y, f.area, f.area * f.z, f.mat});
        else
            layers.push_back({f.z, f.area, -f.area * f.y, f.mat});
    }
    std::sort(layers.begin(), layers.end(), [](const Layer& a, const Layer& b) {
        return std::tie(a.mat, a.u) < std::tie(b.mat, b.u);
    });
    // Layers closer than rounding (a pipe's cos(a) and cos(-a)) are one.
    double size = 0;
    for (const Layer& l : layers)
        size = std::max(size, std::fabs(l.u));
    std::vector<Layer> merged;
    for (const Layer& l : layers) {
        if (!merged.empty() && merged.back().mat == l.mat &&
            l.u - merged.back().u <= 1e-12 * size) {
            merged.back().area += l.area;
            merged.back().areaArm += l.areaArm;
        } else {
            merged.push_back(l);
        }
    }
    return merged;
}

class PlaneSampler {
public:
    PlaneSampler(const AnalysisSection& section, BendingAxis axis)
        : section_(section), layers_(LayersOf(section, axis)) {
        for (const TMAT& mat : section.mats)
            ranges_.push_back(AnalysisStrainRange(mat));
        double lowest = kInfinity, highest = -kInfinity;
        for (const Layer& l : layers_) {
            lowest = std::min(lowest, l.u);
            highest = std::max(highest, l.u);
        }
        depth_ = highest - lowest;
    }

    // Zero when all fibers lie on one line parallel to the bending axis: no moment about it.
    double Depth() const { return depth_; }

    Sample At(double axial, double curvature) const {
        Sample s{0, 0, 0, axial, curvature};
        for (const Layer& l : layers_) {
            const double stress =
                MonotonicStress(section_.mats[static_cast<size_t>(l.mat)], axial + curvature * l.u);
            s.P += stress * l.area;
            s.M += stress * l.area * l.u;
            s.other += stress * l.areaArm;
        }
        return s;
    }

    // How far the plane (cos, sin / depth) times r may go before a fiber leaves its strain
    // range; infinity when no fiber limits it.
    double Reach(double axialRate, double curvatureRate) const {
        double reach = kInfinity;
        for (const Layer& l : layers_) {
            const double rate = axialRate + curvatureRate * l.u;
            const StrainRange& range = ranges_[static_cast<size_t>(l.mat)];
            if (rate > 0) reach = std::min(reach, range.tension / rate);
            if (rate < 0) reach = std::min(reach, range.compression / rate);
        }
        return reach;
    }

private:
    const AnalysisSection& section_;
    std::vector<Layer> layers_;
    std::vector<StrainRange> ranges_;
    double depth_ = 0;
};

// The mesh edges that reach the largest and the smallest moment at each axial level, the moment
// interpolated along the edge.
class Envelope {
public:
    explicit Envelope(std::vector<double> levels)
        : levels_(std::move(levels)), top_(levels_.size()), bottom_(levels_.size()) {}

    void AddEdge(const Sample& a, const Sample& b) {
        if (a.P == b.P) return;
        const double low = std::min(a.P, b.P), high = std::max(a.P, b.P);
        auto it = std::lower_bound(levels_.begin(), levels_.end(), low);
        for (; it != levels_.end() && *it <= high; ++it) {
            const size_t i = static_cast<size_t>(it - levels_.begin());
            const double m = Lerp(a, b, (*it - a.P) / (b.P - a.P)).M;
            if (!top_[i] || m > top_[i]->moment) top_[i] = Crossing{a, b, m};
            if (!bottom_[i] || m < bottom_[i]->moment) bottom_[i] = Crossing{a, b, m};
        }
    }

    size_t Size() const { return levels_.size(); }
    // The plane on the edge of the largest (smallest) moment at level i whose axial force is the
    // level, with its forces; none when no edge reaches the level.
    std::optional<Sample> Top(const PlaneSampler& sampler, size_t i) const {
        return Resolve(sampler, top_[i], levels_[i]);
    }
    std::optional<Sample> Bottom(const PlaneSampler& sampler, size_t i) const {
        return Resolve(sampler, bottom_[i], levels_[i]);
    }

private:
    struct Crossing {
        Sample a, b;
        double moment = 0;
    };

    // Bisection along the edge: its ends lie on either side of the level.
    static std::optional<Sample> Resolve(const PlaneSampler& sampler,
                                         const std::optional<Crossing>& c, double level) {
        if (!c) return std::nullopt;
        const bool rising = c->b.P > c->a.P;
        auto at = [&](double t) {
            const Sample plane = Lerp(c->a, c->b, t);
            return sampler.At(plane.axial, plane.curvature);
        };
        double below = 0, above = 1;
        for (int k = 0; k < 64 && above - below > 1e-15; ++k) {
            const double mid = (below + above) / 2;
            ((at(mid).P < level) == rising ? below : above) = mid;
        }
        return at((below + above) / 2);
    }

    std::vector<double> levels_;
    std::vector<std::optional<Crossing>> top_, bottom_;
};

std::vector<double> AxialLevels(double compression, double tension,
                                const InteractionSampling& sampling) {
    std::vector<double> levels;
    const int n = sampling.axialLevels;
    for (int k = 1; k <= n; ++k) {
        const double t = (1 - std::cos(std::numbers::pi * k / (n + 1))) / 2;
        levels.push_back(compression + (tension - compression) * t);
    }
    for (double p : sampling.axialForces)
        if (p > compression && p < tension) levels.push_back(p);
    std::sort(levels.begin(), levels.end());
    levels.erase(std::unique(levels.begin(), levels.end()), levels.end());
    return levels;
}

void CheckSampling(const InteractionSampling& s) {
    auto within = [](int v, int least) { return v >= least && v <= kMaxSampling; };
    if (!within(s.axialLevels, 0) || !within(s.planeDirections, 8) || !within(s.planeSteps, 1))
        throw UsageError("the interaction diagram takes 0 to 1000000 axial levels, 8 to 1000000 "
                         "plane directions and 1 to 1000000 plane steps");
}

// Walks the admissible planes: along each direction from the origin to the strain limits, and
// across neighbouring directions at the same step.
void SamplePlanes(const PlaneSampler& sampler, const InteractionSampling& sampling,
                  Envelope& envelope) {
    const int directions = sampling.planeDirections, steps = sampling.planeSteps;
    std::vector<std::vector<Sample>> rays(static_cast<size_t>(directions));
    for (int j = 0; j < directions; ++j) {
        const double angle = 2 * std::numbers::pi * j / directions;
        const double axialRate = std::cos(angle), curvatureRate = std::sin(angle) / sampler.Depth();
        const double reach = sampler.Reach(axialRate, curvatureRate);
        if (!std::isfinite(reach)) continue; // all fibers in tension without a limit
        std::vector<Sample>& ray = rays[static_cast<size_t>(j)];
        ray.push_back({});
        for (int k = 1; k <= steps; ++k) {
            const double r = reach * k / steps;
            ray.push_back(sampler.At(axialRate * r, curvatureRate * r));
            envelope.AddEdge(ray[ray.size() - 2], ray.back());
        }
    }
    for (int j = 0; j < directions; ++j) {
        const std::vector<Sample>& ray = rays[static_cast<size_t>(j)];
        const std::vector<Sample>& next = rays[static_cast<size_t>((j + 1) % directions)];
        if (ray.empty() || next.empty()) continue;
        for (size_t k = 1; k < ray.size(); ++k)
            envelope.AddEdge(ray[k], next[k]);
    }
}

InteractionPoint Point(InteractionPointKind kind, BendingAxis axis, const Sample& s) {
    InteractionPoint p;
    p.kind = kind;
    p.force.P = s.P;
    if (axis == BendingAxis::Z) {
        p.force.Mz = s.M;
        p.force.My = s.other;
        p.plane = {s.axial, 0, s.curvature};
    } else {
        p.force.My = s.M;
        p.force.Mz = s.other;
        p.plane = {s.axial, s.curvature, 0};
    }
    return p;
}

InteractionPoint PureCompression(const AnalysisSection& section) {
    std::vector<double> strength;
    for (const TMAT& mat : section.mats)
        strength.push_back(CompressiveStrength(mat));
    InteractionPoint p;
    p.kind = InteractionPointKind::PureCompression;
    for (const AnalysisFiber& f : section.fibers) {
        const double force = strength[static_cast<size_t>(f.mat)] * f.area;
        p.force.P += force;
        p.force.My += force * f.z;
        p.force.Mz -= force * f.y;
    }
    return p;
}

InteractionPoint PureTension(const AnalysisSection& section) {
    double strain = kInfinity;
    for (const TMAT& mat : section.mats)
        strain = std::min(strain, AnalysisStrainRange(mat).tension);
    if (!std::isfinite(strain)) strain = kUnlimitedTension;
    InteractionPoint p;
    p.kind = InteractionPointKind::PureTension;
    p.plane.axial = strain;
    p.force = IntegrateSection(section, p.plane);
    return p;
}

} // namespace

InteractionDiagram ComputeInteraction(const AnalysisSection& section, BendingAxis axis,
                                      const InteractionSampling& sampling) {
    CheckSampling(sampling);
    InteractionDiagram diagram;
    diagram.axis = axis;
    const InteractionPoint compression = PureCompression(section);
    const InteractionPoint tension = PureTension(section);

    const PlaneSampler sampler(section, axis);
    Envelope envelope(AxialLevels(compression.force.P, tension.force.P, sampling));
    if (sampler.Depth() > 0) SamplePlanes(sampler, sampling, envelope);

    diagram.points.push_back(compression);
    for (size_t i = 0; i < envelope.Size(); ++i)
        if (const std::optional<Sample> s = envelope.Top(sampler, i))
            diagram.points.push_back(Point(InteractionPointKind::Positive, axis, *s));
    diagram.points.push_back(tension);
    for (size_t i = envelope.Size(); i-- > 0;)
        if (const std::optional<Sample> s = envelope.Bottom(sampler, i))
            diagram.points.push_back(Point(InteractionPointKind::Negative, axis, *s));
    return diagram;
}

} // namespace vandra
