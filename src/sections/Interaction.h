// The axial force - moment interaction diagram of a fiber section by strain compatibility, in one
// bending direction: for each axial force, the largest moment either way that a plane strain
// state with every fiber inside its strain range (AnalysisStrainRange) carries. SectionAnalysis.md
// describes the sampling and the sign convention.
#pragma once

#include "sections/SectionForces.h"

#include <vector>

namespace vandra {

// Bending about the section's y axis (moment My, curvature kappa y, the strain varies along z) or
// about its z axis (Mz, kappa z, the strain varies along y).
enum class BendingAxis { Y, Z };

enum class InteractionPointKind {
    PureCompression, // every fiber at its compressive strength: the squash load
    Positive,        // the largest moment about the axis at the point's axial force
    PureTension,     // every fiber at the smallest tensile strain limit of the section's laws
    Negative,        // the smallest (most negative) moment at the point's axial force
};

struct InteractionPoint {
    InteractionPointKind kind = InteractionPointKind::Positive;
    SectionForce force; // the moment about the other axis too, from the same strain plane
    // The strain plane of the point, whose forces these are: on the branches a plane between two
    // sampled ones; the uniform strain of pure tension; zero for pure compression, which is no
    // single plane.
    StrainPlane plane;
};

struct InteractionDiagram {
    BendingAxis axis = BendingAxis::Z;
    // In order around the diagram: pure compression, the positive branch from compression to
    // tension, pure tension, the negative branch from tension back to compression. An axial force
    // that no admissible plane reaches (between the compatible compression limit and the squash
    // load) has no branch points.
    std::vector<InteractionPoint> points;
};

struct InteractionSampling {
    // Axial forces of the branch points strictly between pure compression and pure tension,
    // closer together near both ends (cosine spacing).
    int axialLevels = 48;
    // Further axial forces at which both branches get a point (those outside the open range are
    // left out).
    std::vector<double> axialForces;
    // The strain planes sampled: directions around the origin of the (axial strain, curvature
    // times depth) plane, and steps from zero to the strain limits along each direction.
    int planeDirections = 360;
    int planeSteps = 48;
};

// The diagram in one direction. Raises UsageError for a sampling of fewer than 0 levels, 8
// directions or 1 step, or of more than a million of any of them.
InteractionDiagram ComputeInteraction(const AnalysisSection& section, BendingAxis axis,
                                      const InteractionSampling& sampling = {});

} // namespace vandra
