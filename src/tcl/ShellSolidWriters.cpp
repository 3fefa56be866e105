// Four-node shells and eight-node solids.
#include "tcl/ScriptWriters.h"

namespace vandra {

using namespace script;

void WriteShellElements(const TModel& model, const TSettings&, ScriptLineList& lines) {
    Line(lines, "puts \"shell element\"");
    // Tags of shells follow the frame tags without a gap; GenerateScript has already set a
    // negative FrameCount to 0.
    const int frames = CountOf(model.FrameCount);
    const int shells = CountOf(model.ShellCount);
    for (int i = 1; i <= shells; ++i) {
        const TSHELL& shell = model.Shells[Slot(i)];
        const TAREASEC& area = At(model.AreaSecs, shell.SecIdx);
        if (area.ShellKind != kShellKindShell) continue;
        const int section = kPlateSectionTagBase + shell.SecIdx;
        if (area.NonlinType == kShellMITC4)
            Line(lines, "element ShellMITC4 %D %D %D %D %D %D",
                 {frames + i, shell.N1, shell.N2, shell.N3, shell.N4, section});
        else if (area.NonlinType == kShellDKGQ)
            Line(lines, "element ShellDKGQ %D %D %D %D %D %D",
                 {frames + i, shell.N1, shell.N2, shell.N3, shell.N4, section});
    }
}

void WriteSolidElements(const TModel& model, const TSettings&, ScriptLineList& lines) {
    Line(lines, "puts \"SOLID element\"");
    const int solids = CountOf(model.SolidCount);
    for (int i = 1; i <= solids; ++i) {
        const TSOLID& solid = model.Solids[Slot(i)];
        const auto& n = solid.N;
        Line(lines, "element stdBrick %D %D %D %D %D %D %D %D %D %D",
             {i, n[1], n[2], n[3], n[4], n[5], n[6], n[7], n[8], solid.SecNo});
    }
}

} // namespace vandra
