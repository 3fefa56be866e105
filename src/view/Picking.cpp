#include "view/Picking.h"

#include <algorithm>

namespace vandra {

int NearestJoint(const TModel& model, const TProjection& projection, int x, int y, int radius) {
    int best = 0;
    long long bestDistance = static_cast<long long>(radius) * radius;
    const int last = std::min(LastRecord(model.Nodes, model.NodeCount),
                              LastRecord(projection.Nodes, model.NodeCount));
    for (int i = 1; i <= last; ++i) {
        const TScreenPoint& p = projection.Nodes[static_cast<size_t>(i)];
        const long long dx = static_cast<long long>(p.X) - x;
        const long long dy = static_cast<long long>(p.Y) - y;
        const long long d = dx * dx + dy * dy;
        if (d <= bestDistance) {
            if (best != 0 && d == bestDistance) continue;
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

} // namespace vandra
