#include "post/DisplacementScale.h"

#include "post/FrameGeometry.h"

#include <algorithm>
#include <cmath>

namespace vandra {
namespace {

double Length(double x, double y, double z) {
    const double l = std::sqrt(x * x + y * y + z * z);
    return std::isfinite(l) ? l : 0;
}

// The largest displacement of the joints 1..last of one step given as three arrays.
double LargestOf(const double* x, const double* y, const double* z, size_t count, int last) {
    double largest = 0;
    for (size_t j = 1; j < count && j <= static_cast<size_t>(last); ++j)
        largest = std::max(largest, Length(x[j], y[j], z[j]));
    return largest;
}

double RoundTwoDigits(double v) {
    const double unit = std::pow(10.0, std::floor(std::log10(v)) - 1);
    return std::round(v / unit) * unit;
}

} // namespace

double ModelSize(const TModel& model) {
    Vec3 lo{}, hi{}, p{};
    bool first = true;
    const int last = std::min(model.NodeCount, static_cast<int>(model.Nodes.size()) - 1);
    for (int j = 1; j <= last; ++j) {
        if (!JointPlace(model, j, p)) continue;
        for (size_t k = 0; k < 3; ++k) {
            lo[k] = first ? p[k] : std::min(lo[k], p[k]);
            hi[k] = first ? p[k] : std::max(hi[k], p[k]);
        }
        first = false;
    }
    return std::max({hi[0] - lo[0], hi[1] - lo[1], hi[2] - lo[2]});
}

double LargestDisplacement(const TModel& model, const TNodeField& disp) {
    const size_t count = std::min({disp.X.size(), disp.Y.size(), disp.Z.size()});
    return LargestOf(disp.X.data(), disp.Y.data(), disp.Z.data(), count, model.NodeCount);
}

double LargestDisplacement(const TModel& model, const TNodeHistory& history) {
    const size_t filled = std::min({history.X.size(), history.Y.size(), history.Z.size()});
    double largest = 0;
    for (int k = 1; k <= history.Steps && static_cast<size_t>(k) * history.Stride <= filled; ++k)
        largest = std::max(largest, LargestOf(history.StepX(k), history.StepY(k), history.StepZ(k),
                                              history.Stride, model.NodeCount));
    return largest;
}

double AutomaticScale(const TModel& model, double largest) {
    const double size = ModelSize(model);
    if (!(largest > 0) || !(size > 0)) return 1;
    const double scale = kDeformedFraction * size / largest;
    return std::isfinite(scale) ? RoundTwoDigits(scale) : 1;
}

} // namespace vandra
