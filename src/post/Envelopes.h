// Envelopes over every recorded step: the smallest and largest displacement of every joint and
// reaction of every support, with the steps they occur at. The element forces' envelope is read
// by ReadFrameForceEnvelope (FrameForces.h), which folds the steps as it reads them.
#pragma once

#include "post/Reactions.h"
#include "post/ResultFields.h"
#include "post/ValueRange.h"

#include <array>
#include <vector>

namespace vandra {

// [joint] (entry 0 unused): X, Y, Z.
struct TNodeEnvelope {
    std::vector<std::array<TValueRange, 3>> Joints;
};

TNodeEnvelope EnvelopeOf(const TNodeHistory& history);

// The displacements drawn for an envelope: of every joint and direction the extreme of larger
// magnitude (LargerExtreme), each from its own step.
TNodeField ExtremeField(const TNodeEnvelope& envelope);

// [k]: the reaction of history.Joints[k], per component; Total: of the sums over the joints.
struct TReactionEnvelope {
    std::vector<std::array<TValueRange, kReactionComponents>> Joints;
    std::array<TValueRange, kReactionComponents> Total;
};

TReactionEnvelope EnvelopeOf(const TReactionHistory& history);

} // namespace vandra
