#include "post/DiagramShapes.h"

#include "post/FrameGeometry.h"

namespace vandra {

TDiagramShapes ShapeDiagrams(const TModel& model, const TFrameLoads& loads,
                             const TFrameForces& forces) {
    TDiagramShapes shapes;
    shapes.Place.assign(forces.Kind.size(), 0);
    TMemberDiagram diagram;
    uint32_t next = 0;
    for (size_t f = 1; f < forces.Kind.size(); ++f) {
        const int frame = static_cast<int>(f);
        if (forces.Kind[f] != ForceKind::Beam || !loads.Loaded(frame)) continue;
        if (!BuildFrameDiagram(model, loads, forces, frame, diagram)) continue;
        shapes.Place[f] = ++next;
        const double length = diagram.Length();
        for (int c = 0; c < kForceComponentCount; ++c)
            for (int k = 0; k < kDiagramStations; ++k)
                shapes.Values.push_back(static_cast<float>(
                    diagram.At(c, length * k / (kDiagramStations - 1))));
    }
    return shapes;
}

} // namespace vandra
