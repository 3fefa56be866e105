// The pictures of the tool bar buttons, drawn in code so that the program carries no image files.
#pragma once

#include <QIcon>

namespace vandra::gui {

// One picture per tool button, in the tool bar's order from the left.
enum class ToolIcon {
    OpenModel,
    FrameSections,
    Materials,
    ShellSections,
    ViewXY,
    ViewXZ,
    ViewYZ,
    ZoomAll,
    Rotate,
    Pan,
    Refresh,
    ShowLoads,
    ViewOptions,
    Select,
    Idle,
    AnalysisSettings,
    RecorderSettings,
    Script,
    RunSolver,
    ClearResults,
    Deformation,
    Animation,
};

inline constexpr int kToolIconCount = 22;

QIcon MakeToolIcon(ToolIcon which);

} // namespace vandra::gui
