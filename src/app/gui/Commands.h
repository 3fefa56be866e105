// The commands of the main window, one table from which its actions, menus and tool bar are built.
//
// Adding a command is one row in CommandTable() (Commands.cpp) plus the work it runs: a value in
// Command, then a row naming its menu, texts, shortcut, picture, tool bar place and work. The row's
// position among the rows of its menu is its place in that menu.
#pragma once

#include <QKeySequence>

#include <functional>
#include <vector>

namespace vandra::gui {

class MainWindow;

enum class Command {
    OpenModel,
    OpenProject,
    SaveProject,
    ConvertV14,
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
    NodeHistory,
    Force,
    Tutorial,
    About,
};

// A place on the tool bar: groups from the left, a separator between two groups, and the
// order within a group. Group 0 is not on the tool bar.
struct ToolBarPlace {
    int group = 0;
    int order = 0;
};

struct CommandRow {
    Command command;
    // The menu bar's menu, or nullptr for a command of the tool bar alone. Menus appear on the
    // bar in the order of their first row.
    const char* menu = nullptr;
    bool separatorBefore = false; // in its menu
    const char* text = nullptr;   // the menu item's text
    const char* toolTip = nullptr;
    QKeySequence shortcut = {};
    const char* icon = nullptr; // the picture icons/NAME.svg, or nullptr for none
    ToolBarPlace toolBar = {};
    // A command whose window is not part of this program yet: present, but disabled, its tool tip
    // saying so.
    bool available = true;
    // What the command does; an exception it throws is shown in an error box.
    std::function<void(MainWindow&)> run = {};
};

// The rows, made once, in menu order.
const std::vector<CommandRow>& CommandTable();

// The picture of a command's tool button: icons/NAME.svg among the program's resources.
QString IconPath(const char* icon);

} // namespace vandra::gui
