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
    for (int i = 1; i <= nodes; ++i) {
        const auto& r = model.Nodes[Slot(i)].Restraint;
        if (tags.JointDofs(i) == 3) {
            if (r[1] + r[2] + r[3] > 0)
                Line(lines, "fix %D %D %D %D;", {tags.JointNode(i), r[1], r[2], r[3]});
        } else if (r[1] + r[2] + r[3] + r[4] + r[5] + r[6] > 0) {
            Line(lines, "fix %D %D %D %D %D %D %D;",
                 {tags.JointNode(i), r[1], r[2], r[3], r[4], r[5], r[6]});
        }
    }
}

void WriteEqualDofs(const ScriptContext& context, ScriptLineList& lines) {
    const TModel& model = context.model;
    const TagPlan& tags = context.tags;
    Line(lines, "puts \"Equal DOF\"");
    const int frames = CountOf(model.FrameCount);
    for (int f = 1; f <= frames; ++f) {
        const TFRAME& frame = model.Frames[Slot(f)];
        if (At(model.Sections, frame.SecIdx).FrameType != kRigidBeam) continue;
        // The first node is retained, the second constrained; the rotations are carried by the
        // frame's zero-length element.
        if (frame.Release == kReleaseI)
            Line(lines, "equalDOF %d %d 1 2 3",
                 {tags.JointNode(frame.NodeI), tags.JointNode(frame.NodeJ)});
        else if (frame.Release == kReleaseJ)
            Line(lines, "equalDOF %d %d 1 2 3",
                 {tags.JointNode(frame.NodeJ), tags.JointNode(frame.NodeI)});
    }
    // The twin of a shared joint moves with it.
    const int nodes = CountOf(model.NodeCount);
    for (int i = 1; i <= nodes; ++i)
        if (tags.TwinNode(i) != 0)
            Line(lines, "equalDOF %d %d 1 2 3", {tags.TwinAnchor(i), tags.TwinNode(i)});
    // The ties of equal constraints, in the directions they name.
    const int ties =
        std::min<int>(model.EqualDofCount, static_cast<int>(model.EqualDofs.size()) - 1);
    for (int t = 1; t <= ties; ++t) {
        const TEQUALDOF& tie = model.EqualDofs[Slot(t)];
        std::string line = text::Format(
            "equalDOF %d %d", {tags.JointNode(tie.Retained), tags.JointNode(tie.Constrained)});
        for (int d = 1; d <= 6; ++d)
            if (tie.Dof[Slot(d)]) text::AppendFormat(line, " %d", {d});
        Line(lines, line);
    }
}

} // namespace vandra
