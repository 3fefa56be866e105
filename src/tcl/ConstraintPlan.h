// How the script ties nodes together so that the solver honours every tie.
//
// The solver's constraint handler (Transformation, the one that also serves the eigen solver)
// takes, for each constrained node, one multi-point constraint whose retained node is constrained
// by none; a second constraint on a node is dropped and a retained node that is itself constrained
// gives wrong degrees of freedom, both without a word. The model ties nodes in four ways: the
// slaves of rigid diaphragms follow their masters, the far end of a rigid beam follows the near
// one in translation (equalDOF), the three-dof twin of a joint that solids share follows it, and
// equal constraints tie chosen directions of joints. Chained, they break those rules (a rigid beam
// hanging on a diaphragm's joint, a twin of a linked joint, a joint equal to a support).
//
// The plan follows every tie to the end of its chain. In each direction the tied nodes form
// groups that move as one:
//   - a group with a fixed node (a restraint, a diaphragm master's fixed directions) is held by
//     it: each other node is tied to the nearest fixed one by equalDOF when neither has another
//     constraint, else fixed in that direction (the same motion), its reaction counted for that
//     support;
//   - a group of free nodes follows one of them, the root: the retained end of the chain;
//   - a node that a diaphragm moves in a direction keeps the diaphragm's constraint.
// A node that would then need constraints from two nodes, or whose retained node is constrained,
// breaks the rule: the ties that cause it are taken out of the solver's constraints. A rigid beam
// so taken out holds its translations by stiff springs of its zero-length element (its nodes
// coincide); any other such tie is refused, naming the joints.
#pragma once

#include "model/Model.h"

#include <cstdint>
#include <vector>

namespace vandra {

class ConstraintPlan {
public:
    // One "equalDOF retained constrained dofs" line; dofs are bits 1 << (d - 1).
    struct Tie {
        int Retained = 0, Constrained = 0;
        unsigned Dofs = 0;
    };
    // A node whose reaction in the directions Dofs is a support reaction of Joint.
    struct Support {
        int Node = 0, Joint = 0;
        unsigned Dofs = 0;
    };

    ConstraintPlan() = default;
    // twinOf[joint]: the tag of its three-dof twin, 0 for none; dofsOf(tag) for every node tag.
    // Throws InputError for a tie that the solver cannot honour.
    ConstraintPlan(const TModel& model, const std::vector<int>& twinOf,
                   const std::vector<uint8_t>& jointDofs);

    // The equalDOF lines, in the order of the ties the model gives.
    const std::vector<Tie>& EqualDofs() const { return equalDofs_; }
    // Directions of a node fixed because a support holds them (bits as Tie::Dofs).
    unsigned HeldBySupport(int node) const;
    // Nodes whose reactions are support reactions of another joint, in node order.
    const std::vector<Support>& TiedSupports() const { return supports_; }
    // A rigid beam whose translations its zero-length element holds by stiff springs.
    bool StiffRigidBeam(int frame) const;
    bool HasStiffRigidBeams() const { return !stiffFrames_.empty(); }

private:
    std::vector<Tie> equalDofs_;
    std::vector<std::pair<int, unsigned>> held_; // (node, dofs), sorted by node
    std::vector<Support> supports_;
    std::vector<int> stiffFrames_; // sorted
};

} // namespace vandra
