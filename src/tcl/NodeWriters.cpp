// Nodes, rigid diaphragms, masses, fixities and the equalDOF ties of rigid beams and of the
// three-dof twins of joints that solids share.
#include "tcl/ScriptWriters.h"

#include <algorithm>
#include <string>

namespace vandra {

using script::At;
using script::Line;
using script::Slot;

namespace {

// Both ends of a rigid beam stand where the linked node stands; the store keeps both.
const TNODE& WrittenPlace(const TModel& model, int joint) {
    const TNODE& own = model.Nodes[Slot(joint)];
    return own.LinkNode == 0 ? own : At(model.Nodes, own.LinkNode);
}

} // namespace

void WriteNodesAndConstraints(const ScriptContext& context, ScriptLineList& lines) {
    const TModel& model = context.model;
    const TagPlan& tags = context.tags;
    const int nodes = CountOf(model.NodeCount);
    const int diaphs = CountOf(model.DiaphCount);

    Line(lines, "puts \"restraint\"");
    for (int i = 1; i <= nodes; ++i) {
        if (tags.JointDofs(i) != 6) continue;
        const TNODE& at = WrittenPlace(model, i);
        Line(lines, "node %D %#0.4E %#0.4E %#0.4E", {tags.JointNode(i), at.X, at.Y, at.Z});
    }
    // The ground ends of joint springs and the end nodes of released frame ends, at their joints.
    for (size_t s = 0; s < model.Springs.size(); ++s) {
        const TNODE& at = WrittenPlace(model, model.Springs[s].Joint);
        Line(lines, "node %D %#0.4E %#0.4E %#0.4E",
             {tags.GroundNode(static_cast<int>(s)), at.X, at.Y, at.Z});
    }
    for (size_t k = 0; k < tags.EndNodes().size(); ++k) {
        const auto [f, end] = tags.EndNodes()[k];
        const TFRAME& frame = model.Frames[Slot(f)];
        const TNODE& at = WrittenPlace(model, end == 0 ? frame.NodeI : frame.NodeJ);
        Line(lines, "node %D %#0.4E %#0.4E %#0.4E", {tags.EndNode(k), at.X, at.Y, at.Z});
    }
    // Nodes of solids carry translations only; the builder goes back to six dof before any other
    // command.
    if (tags.HasThreeDofNodes()) {
        Line(lines, "model BasicBuilder -ndm 3 -ndf 3");
        for (int i = 1; i <= nodes; ++i) {
            if (tags.JointDofs(i) != 3) continue;
            const TNODE& at = WrittenPlace(model, i);
            Line(lines, "node %D %#0.4E %#0.4E %#0.4E", {tags.JointNode(i), at.X, at.Y, at.Z});
        }
        for (int i = 1; i <= nodes; ++i) {
            if (tags.TwinNode(i) == 0) continue;
            const TNODE& at = WrittenPlace(model, i);
            Line(lines, "node %D %#0.4E %#0.4E %#0.4E", {tags.TwinNode(i), at.X, at.Y, at.Z});
        }
        Line(lines, "model BasicBuilder -ndm 3 -ndf 6");
    }

    Line(lines, "puts \"rigidDiaphragm\"");
    for (int d = 1; d <= diaphs; ++d) {
        const TDIAPH& diaph = model.Diaphs[Slot(d)];
        for (int j = 1; j <= diaph.SlaveCount; ++j)
            Line(lines, "rigidDiaphragm 3 %D %D",
                 {tags.JointNode(diaph.Master), tags.JointNode(diaph.DiaNodes[Slot(j)])});
    }

    Line(lines, "puts \"mass\"");
    for (int i = 1; i <= nodes; ++i) {
        const auto& m = model.Nodes[Slot(i)].Mass;
        // A node of solids carries translations only.
        const size_t dofs = tags.JointDofs(i) == 3 ? 3 : 6;
        if (std::all_of(m.begin() + 1, m.begin() + 1 + dofs, [](double v) { return v == 0; }))
            continue;
        if (dofs == 3)
            Line(lines, "mass %d %#0.4E %#0.4E %#0.4E", {tags.JointNode(i), m[1], m[2], m[3]});
        else
            Line(lines, "mass %d %#0.4E %#0.4E %#0.4E %#0.4E %#0.4E %#0.4E",
                 {tags.JointNode(i), m[1], m[2], m[3], m[4], m[5], m[6]});
    }

    Line(lines, "puts \"node\"");
    // A diaphragm's master keeps its two horizontal translations and its twist free. A group
    // that listed no joint has no master (0), and a fix of node 0 would stop the solver.
    for (int d = 1; d <= diaphs; ++d)
        if (model.Diaphs[Slot(d)].Master != 0)
            Line(lines, "fix %d 0 0 1 1 1 0", {tags.JointNode(model.Diaphs[Slot(d)].Master)});
    // A joint that a tie holds to a support is fixed in the tied directions (the same motion).
    const ConstraintPlan& plan = tags.Constraints();
    for (int i = 1; i <= nodes; ++i) {
        auto r = model.Nodes[Slot(i)].Restraint;
        const unsigned held = plan.HeldBySupport(tags.JointNode(i));
        for (size_t d = 1; d <= 6; ++d)
            if (held & (1u << (d - 1))) r[d] = 1;
        if (tags.JointDofs(i) == 3) {
            if (r[1] + r[2] + r[3] > 0)
                Line(lines, "fix %D %D %D %D;", {tags.JointNode(i), r[1], r[2], r[3]});
        } else if (r[1] + r[2] + r[3] + r[4] + r[5] + r[6] > 0) {
            Line(lines, "fix %D %D %D %D %D %D %D;",
                 {tags.JointNode(i), r[1], r[2], r[3], r[4], r[5], r[6]});
        }
    }
    for (int i = 1; i <= nodes; ++i) // twins
        if (const int twin = tags.TwinNode(i); twin != 0)
            if (const unsigned held = plan.HeldBySupport(twin); held != 0)
                Line(lines, "fix %D %D %D %D;",
                     {twin, held & 1u ? 1 : 0, held & 2u ? 1 : 0, held & 4u ? 1 : 0});
    for (size_t s = 0; s < model.Springs.size(); ++s)
        Line(lines, "fix %D 1 1 1 1 1 1;", {tags.GroundNode(static_cast<int>(s))});
}

void WriteEqualDofs(const ScriptContext& context, ScriptLineList& lines) {
    // Rigid beams, the twins of joints that solids share and equal constraints, each tie at the
    // end of its chain (ConstraintPlan.h); a rigid beam that no tie can hold holds itself by its
    // element's springs.
    Line(lines, "puts \"Equal DOF\"");
    for (const ConstraintPlan::Tie& tie : context.tags.Constraints().EqualDofs()) {
        std::string line = text::Format("equalDOF %d %d", {tie.Retained, tie.Constrained});
        for (int d = 1; d <= 6; ++d)
            if (tie.Dofs & (1u << (d - 1))) text::AppendFormat(line, " %d", {d});
        Line(lines, line);
    }
}

} // namespace vandra
