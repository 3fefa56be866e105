// Reader of the reaction files ("react%d.out", written by WriteReactionRecorders): the reaction
// of every support joint at every recorded step, FX, FY, FZ, MX, MY, MZ in global axes, the
// nodes tied to a support added to it (tcl/ResultRecorders.h says which nodes those are). The
// reactions are the forces the supports put on the structure: under gravity alone they sum to
// minus the applied loads.
#pragma once

#include "model/Model.h"

#include <array>
#include <string>
#include <vector>

namespace vandra {

inline constexpr int kReactionComponents = 6;
using TReaction = std::array<double, kReactionComponents>;

struct TReactionHistory {
    int Steps = 0;
    std::vector<double> Time;      // [step - 1]
    std::vector<int> Joints;       // the support joints, in joint order
    std::vector<TReaction> Values; // [(step - 1) * Joints.size() + k]: the reaction of Joints[k]

    const TReaction& At(int step, size_t k) const {
        return Values[static_cast<size_t>(step - 1) * Joints.size() + k];
    }
    // The sum over the support joints at a step (FX, FY, FZ: the base shears and the vertical
    // total; MX, MY, MZ: the sum of the joints' own moments, not moments about a point).
    TReaction Total(int step) const;
};

// Every line of every reaction file; each must hold as many lines as the first.
TReactionHistory ReadReactions(const TModel& model, const TSettings& settings,
                               const std::string& folder);

} // namespace vandra
