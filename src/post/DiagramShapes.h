// The drawn shapes of the member force diagrams of one step: each component's value at evenly
// spaced stations along every frame that carries loads along its length (a frame without loads
// has diagrams that are straight between its end values, which need no stations). Made once when
// the forces are loaded, so that a redraw evaluates no polynomial. The values are drawn, never
// printed: the printed values come from the ends and the exact extremes (TMemberDiagram).
#pragma once

#include "post/FrameForces.h"
#include "post/MemberDiagram.h"
#include "post/MemberLoads.h"

#include <cstdint>
#include <span>
#include <vector>

namespace vandra {

// Stations from end I to end J, both ends included: the 12 parts leave a parabola's chords within
// 0.7 % of its height.
inline constexpr int kDiagramStations = 13;

struct TDiagramShapes {
    // [frame]: 1 + the frame's place among the shaped frames; 0 for a straight one.
    std::vector<uint32_t> Place;
    // [(place - 1) * kForceComponentCount * kDiagramStations + component * kDiagramStations + k]
    std::vector<float> Values;

    bool Shaped(int frame) const {
        return static_cast<size_t>(frame) < Place.size() && Place[static_cast<size_t>(frame)] != 0;
    }
    // The station values of a shaped frame's component.
    std::span<const float> Of(int frame, int component) const {
        const size_t at = (Place[static_cast<size_t>(frame)] - 1) * kForceComponentCount *
                              static_cast<size_t>(kDiagramStations) +
                          static_cast<size_t>(component) * kDiagramStations;
        return {Values.data() + at, static_cast<size_t>(kDiagramStations)};
    }
};

// The shapes of every frame with forces and with loads along it at the step of `forces`.
TDiagramShapes ShapeDiagrams(const TModel& model, const TFrameLoads& loads,
                             const TFrameForces& forces);

} // namespace vandra
