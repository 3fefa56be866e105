#include "post/MemberDiagram.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace vandra {
namespace {

double Evaluate(const std::array<double, 4>& c, double t) {
    return c[0] + t * (c[1] + t * (c[2] + t * c[3]));
}

constexpr std::array<std::string_view, kForceComponentCount> kComponentNames = {
    "N", "Vy", "Vz", "T", "My", "Mz"};

} // namespace

std::string_view ForceComponentName(int component) {
    return component >= 0 && component < kForceComponentCount
               ? kComponentNames[static_cast<size_t>(component)]
               : std::string_view();
}

int ForceComponentNamed(std::string_view name) {
    for (int c = 0; c < kForceComponentCount; ++c)
        if (kComponentNames[static_cast<size_t>(c)] == name) return c;
    return -1;
}

std::string_view ForceSignConvention(int component) {
    switch (component) {
    case kForceN:
        return "+ tension, - compression; drawn along local z";
    case kForceVy:
        return "+ along local +y; drawn along y";
    case kForceVz:
        return "+ along local +z; drawn along z";
    case kForceT:
        return "+ about local +x; drawn along z";
    case kForceMy:
        return "+ tension on the +z side; drawn on the tension side";
    default:
        return "+ tension on the -y side; drawn on the tension side";
    }
}

void TMemberDiagram::Build(double length, const TEndForces& ends, const TLoadPiece* pieces,
                           size_t count) {
    length_ = length;
    intervals_.clear();
    cuts_.assign({0.0, length});
    for (size_t k = 0; k < count; ++k) {
        const double a = std::clamp(pieces[k].A, 0.0, length);
        const double b = std::clamp(pieces[k].B, 0.0, length);
        if (b > a) {
            cuts_.push_back(a);
            cuts_.push_back(b);
        }
    }
    std::sort(cuts_.begin(), cuts_.end());
    cuts_.erase(std::unique(cuts_.begin(), cuts_.end()), cuts_.end());

    std::array<double, kForceComponentCount> s = ends.I; // section forces at the interval's start
    for (size_t k = 0; k + 1 < cuts_.size(); ++k) {
        Interval in;
        in.X0 = cuts_[k];
        in.X1 = cuts_[k + 1];
        // The load intensity at X0 and its slope along the interval.
        Vec3 q0{}, q1{};
        for (size_t p = 0; p < count; ++p) {
            const TLoadPiece& piece = pieces[p];
            if (!(piece.B > piece.A) || piece.A > in.X0 || piece.B < in.X1) continue;
            const double span = piece.B - piece.A;
            for (size_t c = 0; c < 3; ++c) {
                const double slope = (piece.WB[c] - piece.WA[c]) / span;
                q0[c] += piece.WA[c] + slope * (in.X0 - piece.A);
                q1[c] += slope;
            }
        }
        in.C[kForceN] = {s[kForceN], -q0[0], -q1[0] / 2, 0};
        in.C[kForceVy] = {s[kForceVy], -q0[1], -q1[1] / 2, 0};
        in.C[kForceVz] = {s[kForceVz], -q0[2], -q1[2] / 2, 0};
        in.C[kForceT] = {s[kForceT], 0, 0, 0};
        in.C[kForceMy] = {s[kForceMy], s[kForceVz], -q0[2] / 2, -q1[2] / 6};
        in.C[kForceMz] = {s[kForceMz], -s[kForceVy], q0[1] / 2, q1[1] / 6};
        const double h = in.X1 - in.X0;
        for (int c = 0; c < kForceComponentCount; ++c)
            s[static_cast<size_t>(c)] = Evaluate(in.C[static_cast<size_t>(c)], h);
        intervals_.push_back(in);
    }
    // What equilibrium from end I leaves at end J, spread linearly.
    for (size_t c = 0; c < static_cast<size_t>(kForceComponentCount); ++c) {
        const double gap = (ends.J[c] - s[c]) / length;
        for (Interval& in : intervals_) {
            in.C[c][0] += gap * in.X0;
            in.C[c][1] += gap;
        }
    }
}

const TMemberDiagram::Interval& TMemberDiagram::IntervalAt(double x) const {
    const auto it = std::upper_bound(intervals_.begin(), intervals_.end(), x,
                                     [](double v, const Interval& in) { return v < in.X1; });
    return it == intervals_.end() ? intervals_.back() : *it;
}

double TMemberDiagram::At(int component, double x) const {
    if (intervals_.empty()) return 0;
    const Interval& in = IntervalAt(std::clamp(x, 0.0, length_));
    return Evaluate(in.C[static_cast<size_t>(component)], std::clamp(x, 0.0, length_) - in.X0);
}

int TMemberDiagram::Stationary(const std::array<double, 4>& c, double h, double t[2]) {
    // Slope c1 + 2 c2 t + 3 c3 t^2.
    const double a = 3 * c[3], b = 2 * c[2], d = c[1];
    int n = 0;
    const auto keep = [&](double r) {
        if (r > 0 && r < h) t[n++] = r;
    };
    if (a == 0) {
        if (b != 0) keep(-d / b);
        return n;
    }
    const double disc = b * b - 4 * a * d;
    if (disc < 0) return 0;
    const double q = -0.5 * (b + std::copysign(std::sqrt(disc), b));
    keep(q / a);
    if (q != 0) keep(d / q);
    if (n == 2 && t[1] < t[0]) std::swap(t[0], t[1]);
    return n;
}

TDiagramExtremes TMemberDiagram::Extremes(int component) const {
    TDiagramExtremes e;
    bool first = true;
    double ts[2];
    const auto consider = [&](double x, double v) {
        if (first || v < e.Min.Value) e.Min = {x, v};
        if (first || v > e.Max.Value) e.Max = {x, v};
        first = false;
    };
    for (const Interval& in : intervals_) {
        const std::array<double, 4>& c = in.C[static_cast<size_t>(component)];
        const double h = in.X1 - in.X0;
        consider(in.X0, c[0]);
        const int n = Stationary(c, h, ts);
        for (int k = 0; k < n; ++k)
            consider(in.X0 + ts[k], Evaluate(c, ts[k]));
        consider(in.X1, Evaluate(c, h));
    }
    return e;
}

TDiagramPoint TMemberDiagram::Peak(int component) const {
    const TDiagramExtremes e = Extremes(component);
    return -e.Min.Value > e.Max.Value ? e.Min : e.Max;
}

void TMemberDiagram::Points(int component, int stations, std::vector<TDiagramPoint>& out) const {
    out.clear();
    if (intervals_.empty()) return;
    stations = std::max(stations, 2);
    std::vector<double> xs;
    xs.reserve(static_cast<size_t>(stations) + 2 * intervals_.size() + 2);
    for (int k = 0; k < stations; ++k)
        xs.push_back(k == stations - 1 ? length_ : length_ * k / (stations - 1));
    double ts[2];
    for (const Interval& in : intervals_) {
        xs.push_back(in.X0);
        const int n = Stationary(in.C[static_cast<size_t>(component)], in.X1 - in.X0, ts);
        for (int k = 0; k < n; ++k)
            xs.push_back(in.X0 + ts[k]);
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    out.reserve(xs.size());
    for (double x : xs)
        out.push_back({x, At(component, x)});
}

} // namespace vandra
