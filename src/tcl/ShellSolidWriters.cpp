// Four-node shells and eight-node solids.
#include "tcl/ScriptWriters.h"

namespace vandra {

using namespace script;

void WriteShellElements(const ScriptContext& context, ScriptLineList& lines) {
    const TModel& model = context.model;
    const TagPlan& tags = context.tags;
    Line(lines, "puts \"shell element\"");
    const int shells = CountOf(model.ShellCount);
    for (int i = 1; i <= shells; ++i) {
        const TSHELL& shell = model.Shells[Slot(i)];
        const TAREASEC& area = At(model.AreaSecs, shell.SecIdx);
        if (area.ShellKind != kShellKindShell) continue;
        const int section = tags.PlateSectionTag(shell.SecIdx);
        const int n1 = tags.JointNode(shell.N1), n2 = tags.JointNode(shell.N2);
        const int n3 = tags.JointNode(shell.N3), n4 = tags.JointNode(shell.N4);
        if (area.NonlinType == kShellMITC4)
            Line(lines, "element ShellMITC4 %D %D %D %D %D %D",
                 {tags.ShellElement(i), n1, n2, n3, n4, section});
        else if (area.NonlinType == kShellDKGQ)
            Line(lines, "element ShellDKGQ %D %D %D %D %D %D",
                 {tags.ShellElement(i), n1, n2, n3, n4, section});
    }
}

// The material of a solid is defined here unless the plate fibers have defined the same
// ElasticIsotropic already; the nodes are the three-dof nodes of the solids.
void WriteSolidElements(const ScriptContext& context, ScriptLineList& lines) {
    const TModel& model = context.model;
    const TagPlan& tags = context.tags;
    Line(lines, "puts \"SOLID element\"");
    const int mats = CountOf(model.MatCount);
    for (int m = 1; m <= mats; ++m) {
        if (!tags.SolidUsesMaterial(m) || tags.PlateUsesMaterial(m)) continue;
        const TMAT& mat = model.Mats[Slot(m)];
        Line(lines, "nDMaterial ElasticIsotropic %d %#0.4E %#0.4E",
             {tags.ElasticNdTag(m), mat.E, mat.U});
    }
    const int solids = CountOf(model.SolidCount);
    for (int i = 1; i <= solids; ++i) {
        auto node = [&](int corner) { return tags.SolidNode(i, corner); };
        Line(lines, "element stdBrick %D %D %D %D %D %D %D %D %D %D",
             {tags.SolidElement(i), node(1), node(2), node(3), node(4), node(5), node(6), node(7),
              node(8), tags.ElasticNdTag(tags.SolidMaterial(i))});
    }
}

} // namespace vandra
