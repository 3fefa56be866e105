#include "post/Storeys.h"

#include "post/FrameGeometry.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <unordered_map>

namespace vandra {
namespace {

// Groups sorted values into runs whose values lie within tol of the run's first; returns the
// mean of each run.
std::vector<double> Cluster(std::vector<double> values, double tol) {
    std::sort(values.begin(), values.end());
    std::vector<double> means;
    size_t k = 0;
    while (k < values.size()) {
        const double start = values[k];
        double sum = 0;
        size_t n = 0;
        for (; k < values.size() && values[k] - start <= tol; ++k, ++n)
            sum += values[k];
        means.push_back(sum / static_cast<double>(n));
    }
    return means;
}

// The level whose elevation is within tol of z, or -1.
int LevelAt(const std::vector<TLevel>& levels, double z, double tol) {
    const auto it = std::lower_bound(levels.begin(), levels.end(), z - tol,
                                     [](const TLevel& l, double v) { return l.Z < v; });
    return it != levels.end() && std::abs(it->Z - z) <= tol ? static_cast<int>(it - levels.begin())
                                                            : -1;
}

// Joints of a level by plan position, on a grid of the tolerance.
class PlanIndex {
public:
    PlanIndex(const TModel& model, const TLevel& level, double tol) : model_(model), tol_(tol) {
        for (int j : level.Joints) {
            Vec3 p;
            if (JointPlace(model, j, p)) cells_[Key(Cell(p[0]), Cell(p[1]))].push_back(j);
        }
    }

    // A joint within tol of (x, y) in plan, 0 when none.
    int Below(double x, double y) const {
        const long long cx = Cell(x), cy = Cell(y);
        for (long long dx = -1; dx <= 1; ++dx)
            for (long long dy = -1; dy <= 1; ++dy) {
                const auto it = cells_.find(Key(cx + dx, cy + dy));
                if (it == cells_.end()) continue;
                for (int j : it->second) {
                    Vec3 p;
                    JointPlace(model_, j, p);
                    if (std::abs(p[0] - x) <= tol_ && std::abs(p[1] - y) <= tol_) return j;
                }
            }
        return 0;
    }

private:
    long long Cell(double v) const { return std::llround(v / tol_); }
    static long long Key(long long a, long long b) { return a * 1000003LL + b; }

    const TModel& model_;
    double tol_;
    std::unordered_map<long long, std::vector<int>> cells_;
};

} // namespace

TLevels FindLevels(const TModel& model) {
    TLevels result;
    result.Tolerance = 1.0 / MillimetresPerUnit(model.LengthUnit);
    const double tol = result.Tolerance;
    const int nodes = CountOf(model.NodeCount);
    std::vector<double> all, diaphragms;
    Vec3 p;
    for (int j = 1; j <= nodes; ++j)
        if (JointPlace(model, j, p)) all.push_back(p[2]);
    if (all.empty()) return result;
    for (int d = 1; d <= CountOf(model.DiaphCount) && static_cast<size_t>(d) < model.Diaphs.size();
         ++d) {
        const TDIAPH& diaph = model.Diaphs[static_cast<size_t>(d)];
        if (diaph.SlaveCount >= 1 && JointPlace(model, diaph.Master, p)) diaphragms.push_back(p[2]);
    }
    result.FromDiaphragms = !diaphragms.empty();
    std::vector<double> zs = Cluster(result.FromDiaphragms ? diaphragms : all, tol);
    const double base = *std::min_element(all.begin(), all.end());
    if (zs.front() - base > tol) zs.insert(zs.begin(), base);
    for (double z : zs)
        result.Levels.push_back(TLevel{z, {}});
    for (int j = 1; j <= nodes; ++j) {
        if (!JointPlace(model, j, p)) continue;
        const int level = LevelAt(result.Levels, p[2], tol);
        if (level >= 0) result.Levels[static_cast<size_t>(level)].Joints.push_back(j);
    }
    return result;
}

std::vector<std::vector<TStoreyPair>> StoreyPairs(const TModel& model, const TLevels& levels) {
    std::vector<std::vector<TStoreyPair>> pairs(static_cast<size_t>(levels.StoreyCount()));
    for (size_t s = 0; s < pairs.size(); ++s) {
        const PlanIndex below(model, levels.Levels[s], levels.Tolerance);
        for (int t : levels.Levels[s + 1].Joints) {
            Vec3 p;
            if (!JointPlace(model, t, p)) continue;
            if (const int b = below.Below(p[0], p[1]); b != 0) pairs[s].push_back({t, b});
        }
    }
    return pairs;
}

TDrifts ComputeDrifts(const TModel& model, const TLevels& levels, const TNodeHistory& history) {
    TDrifts drifts;
    const int storeys = levels.StoreyCount();
    drifts.Steps = history.Steps;
    // Per storey: the pairs of joints the history holds.
    std::vector<std::vector<TStoreyPair>> pairs = StoreyPairs(model, levels);
    for (int s = 1; s <= storeys; ++s) {
        drifts.Bottom.push_back(levels.Levels[static_cast<size_t>(s - 1)].Z);
        drifts.Top.push_back(levels.Levels[static_cast<size_t>(s)].Z);
        std::erase_if(pairs[static_cast<size_t>(s - 1)], [&](const TStoreyPair& p) {
            return static_cast<size_t>(std::max(p.Top, p.Bottom)) >= history.Stride;
        });
        drifts.Pairs.push_back(static_cast<int>(pairs[static_cast<size_t>(s - 1)].size()));
    }
    drifts.Values.assign(static_cast<size_t>(history.Steps) * static_cast<size_t>(storeys), {});
    drifts.RangeX.assign(static_cast<size_t>(storeys), {});
    drifts.RangeY.assign(static_cast<size_t>(storeys), {});
    for (int k = 1; k <= history.Steps; ++k) {
        const double* x = history.StepX(k);
        const double* y = history.StepY(k);
        for (int s = 1; s <= storeys; ++s) {
            const auto& list = pairs[static_cast<size_t>(s - 1)];
            if (list.empty()) continue;
            const double h =
                drifts.Top[static_cast<size_t>(s - 1)] - drifts.Bottom[static_cast<size_t>(s - 1)];
            TStoreyDrift& d =
                drifts.Values[static_cast<size_t>(k - 1) * static_cast<size_t>(storeys) +
                              static_cast<size_t>(s - 1)];
            for (const auto& [t, b] : list) {
                const double dx = (x[t] - x[b]) / h, dy = (y[t] - y[b]) / h;
                if (d.JointX == 0 || std::abs(dx) > std::abs(d.X)) d.X = dx, d.JointX = t;
                if (d.JointY == 0 || std::abs(dy) > std::abs(d.Y)) d.Y = dy, d.JointY = t;
            }
            Take(drifts.RangeX[static_cast<size_t>(s - 1)], d.X, k);
            Take(drifts.RangeY[static_cast<size_t>(s - 1)], d.Y, k);
        }
    }
    return drifts;
}

namespace {

// Where frames cross the storeys' mid-heights: per frame the storeys it crosses with the length
// from end I to the crossing, and per storey the shells and solids crossing it (their share of
// the shear is not known).
class ShearCrossings {
public:
    struct Crossing {
        size_t Storey = 0;
        double X = 0;
    };

    ShearCrossings(const TModel& model, const TLevels& levels) {
        const int storeys = levels.StoreyCount();
        for (int s = 1; s <= storeys; ++s)
            middle_.push_back((levels.Levels[static_cast<size_t>(s - 1)].Z +
                               levels.Levels[static_cast<size_t>(s)].Z) /
                              2);
        Missing.assign(static_cast<size_t>(storeys), 0);
        const int frames = CountOf(model.FrameCount);
        Geometry.resize(static_cast<size_t>(frames) + 1);
        ByFrame.resize(static_cast<size_t>(frames) + 1);
        for (int f = 1; f <= frames; ++f) {
            const TFrameGeometry g = FrameGeometryOf(model, f);
            if (!g.Valid) continue;
            const double zi = g.I[2], zj = g.J[2];
            auto& list = ByFrame[static_cast<size_t>(f)];
            crossed(std::min(zi, zj), std::max(zi, zj), [&](size_t s) {
                list.push_back({s, g.Length * (middle_[s] - zi) / (zj - zi)});
            });
            if (!list.empty()) Geometry[static_cast<size_t>(f)] = g;
        }
        const auto spanOf = [&](std::initializer_list<int> joints) {
            double lo = 0, hi = 0;
            bool first = true;
            Vec3 p;
            for (int j : joints) {
                if (!JointPlace(model, j, p)) continue;
                lo = first ? p[2] : std::min(lo, p[2]);
                hi = first ? p[2] : std::max(hi, p[2]);
                first = false;
            }
            crossed(lo, hi, [&](size_t s) { ++Missing[s]; });
        };
        for (int i = 1;
             i <= CountOf(model.ShellCount) && static_cast<size_t>(i) < model.Shells.size(); ++i) {
            const TSHELL& shell = model.Shells[static_cast<size_t>(i)];
            spanOf({shell.N1, shell.N2, shell.N3, shell.N4});
        }
        for (int i = 1;
             i <= CountOf(model.SolidCount) && static_cast<size_t>(i) < model.Solids.size(); ++i) {
            const auto& n = model.Solids[static_cast<size_t>(i)].N;
            spanOf({n[1], n[2], n[3], n[4], n[5], n[6], n[7], n[8]});
        }
    }

    // Adds frame f's section forces where it crosses the storeys into shears[storey].
    void add(int f, const TMemberDiagram& diagram, TStoreyShear* shears) const {
        const TFrameGeometry& g = Geometry[static_cast<size_t>(f)];
        // The section force acts on the part towards end I from the part towards end J.
        const double sign = g.J[2] > g.I[2] ? 1 : -1;
        for (const Crossing& c : ByFrame[static_cast<size_t>(f)]) {
            const Vec3 local = {diagram.At(kForceN, c.X), diagram.At(kForceVy, c.X),
                                diagram.At(kForceVz, c.X)};
            const Vec3 force = ToGlobal(g, local);
            shears[c.Storey].X += sign * force[0];
            shears[c.Storey].Y += sign * force[1];
            ++shears[c.Storey].Frames;
        }
    }

    // Frames crossing a storey that gave no forces, with the shells and solids crossing it.
    void countMissing(int f, TStoreyShear* shears) const {
        for (const Crossing& c : ByFrame[static_cast<size_t>(f)])
            ++shears[c.Storey].Missing;
    }

    std::vector<std::vector<Crossing>> ByFrame; // [frame]
    std::vector<TFrameGeometry> Geometry;       // [frame], of the frames that cross a storey
    std::vector<int> Missing;                   // [storey - 1]: shells and solids

private:
    // Calls cross(s) for every storey whose mid-height lies strictly between lo and hi.
    template <typename Cross> void crossed(double lo, double hi, Cross cross) const {
        for (auto it = std::upper_bound(middle_.begin(), middle_.end(), lo);
             it != middle_.end() && *it < hi; ++it)
            cross(static_cast<size_t>(it - middle_.begin()));
    }

    std::vector<double> middle_;
};

void StartShears(const ShearCrossings& crossings, TStoreyShear* shears) {
    for (size_t s = 0; s < crossings.Missing.size(); ++s)
        shears[s] = TStoreyShear{0, 0, 0, crossings.Missing[s]};
}

} // namespace

std::vector<TStoreyShear> StoreyShears(const TModel& model, const TLevels& levels,
                                       const TFrameLoads& loads, const TFrameForces& forces) {
    const ShearCrossings crossings(model, levels);
    std::vector<TStoreyShear> shears(crossings.Missing.size());
    StartShears(crossings, shears.data());
    TMemberDiagram diagram;
    for (int f = 1; f < static_cast<int>(crossings.ByFrame.size()); ++f) {
        if (crossings.ByFrame[static_cast<size_t>(f)].empty()) continue;
        if (BuildFrameDiagram(model, loads, forces, f, diagram))
            crossings.add(f, diagram, shears.data());
        else
            crossings.countMissing(f, shears.data());
    }
    return shears;
}

TStoreyShearHistory ReadStoreyShearHistory(const TModel& model, const TSettings& settings,
                                           const TLevels& levels, const std::string& folder) {
    const ShearCrossings crossings(model, levels);
    const TFrameLoads loads(model, settings);
    TStoreyShearHistory history;
    history.Storeys = static_cast<int>(crossings.Missing.size());
    const auto storeys = static_cast<size_t>(history.Storeys);
    TMemberDiagram diagram;
    std::vector<TLoadPiece> pieces;
    // Frames without forces are not visited: they count as missing at every step.
    std::vector<unsigned char> visited(crossings.ByFrame.size(), 0);
    const auto fold = [&](int step, double time, const TLoadFactors& factors,
                          const std::vector<TFrameStepForces>& list) {
        if (history.Time.size() < static_cast<size_t>(step)) {
            history.Time.resize(static_cast<size_t>(step));
            history.Values.resize(static_cast<size_t>(step) * storeys);
            StartShears(crossings, &history.Values[static_cast<size_t>(step - 1) * storeys]);
        }
        history.Time[static_cast<size_t>(step - 1)] = time;
        TStoreyShear* shears = &history.Values[static_cast<size_t>(step - 1) * storeys];
        for (const TFrameStepForces& item : list) {
            const auto f = static_cast<size_t>(item.Frame);
            if (crossings.ByFrame[f].empty()) continue;
            visited[f] = 1;
            pieces.clear();
            loads.PiecesOn(item.Frame, factors, pieces);
            diagram.Build(crossings.Geometry[f].Length, item.Ends, pieces.data(), pieces.size());
            crossings.add(item.Frame, diagram, shears);
        }
    };
    history.Steps = ScanFrameForces(model, settings, folder, fold);
    for (size_t f = 1; f < crossings.ByFrame.size(); ++f)
        if (!visited[f])
            for (int k = 1; k <= history.Steps; ++k)
                crossings.countMissing(static_cast<int>(f),
                                       &history.Values[static_cast<size_t>(k - 1) * storeys]);
    return history;
}

std::vector<double> TStoreyShearHistory::Curve(int storey, int direction) const {
    std::vector<double> values;
    values.reserve(static_cast<size_t>(Steps));
    for (int k = 1; k <= Steps; ++k)
        values.push_back(direction == 0 ? At(k, storey).X : At(k, storey).Y);
    return values;
}

} // namespace vandra
