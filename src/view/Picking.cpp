#include "view/Picking.h"

#include "view/Camera.h"

namespace vandra {

int NearestJoint(const TModel& model, int x, int y, int radius) {
    int best = 0;
    long long bestDistance = static_cast<long long>(radius) * radius;
    const int last = LastRecord(model.Nodes, model.NodeCount);
    for (int i = 1; i <= last; ++i) {
        const TNODE& n = model.Nodes[static_cast<size_t>(i)];
        const long long dx = static_cast<long long>(n.ScreenX) - x;
        const long long dy = static_cast<long long>(n.ScreenY) - y;
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
