// Totals of a model that an import or a conversion must keep: the loads of a case and the mass.
#pragma once

#include "model/Model.h"

#include <cmath>

namespace vandra::testing {

// Sum of the global Z components of every load of case c: joint forces, and each frame's
// uniform local loads times its length.
inline double TotalZ(const TModel& m, int c) {
    double total = 0;
    for (int l = 1; l <= m.LoadCount; ++l) {
        const TLOAD& load = m.Loads[static_cast<size_t>(l)];
        if (load.CaseIdx != c) continue;
        if (load.Kind == kJointForce) total += load.FZ;
        if (load.Kind != kFrameDistributed) continue;
        const TFRAME& f = m.Frames[static_cast<size_t>(load.Target)];
        const TNODE& a = m.Nodes[static_cast<size_t>(f.NodeI)];
        const TNODE& b = m.Nodes[static_cast<size_t>(f.NodeJ)];
        const double dx = b.X - a.X, dy = b.Y - a.Y, dz = b.Z - a.Z;
        const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
        const double e1z = dz / length, e2z = f.Axis2Z;
        const double e3z = dx / length * f.Axis2Y - dy / length * f.Axis2X;
        const double z = load.Dir == 1 ? e1z : load.Dir == 2 ? e2z : e3z;
        total += load.FX * z * length;
    }
    return total;
}

// The mass of every joint along X.
inline double TotalMass(const TModel& m) {
    double total = 0;
    for (int i = 1; i <= m.NodeCount; ++i)
        total += m.Nodes[static_cast<size_t>(i)].Mass[1];
    return total;
}

} // namespace vandra::testing
