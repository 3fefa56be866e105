// Joints that frame end releases leave free to turn: a rotation that no element, restraint,
// spring or constraint holds makes the solver's stiffness matrix singular.
#pragma once

#include "model/Model.h"

#include <array>
#include <vector>

namespace vandra {

using Matrix3 = std::array<std::array<double, 3>, 3>;

// Rank of a symmetric positive semi-definite 3 x 3 matrix, by elimination with full pivoting; a
// pivot below 1e-12 of the largest diagonal term counts as zero.
int RankOf(Matrix3 a);

// A joint at which a frame end is released in a rotation and that nothing else holds in that
// rotation, with the frames released there.
struct TLooseJoint {
    int Joint = 0;
    std::vector<int> Frames;
};

// Every such joint, in joint order. What holds a joint's rotations: the unreleased rotations of
// the frames that end there (a partially fixed one holds too; trusses hold none), shells,
// restraints, rotational springs, a diaphragm (about its axis, and its master in the others),
// rigid beams and ties of equal constraints in rotations.
std::vector<TLooseJoint> LooseReleasedJoints(const TModel& model);

} // namespace vandra
