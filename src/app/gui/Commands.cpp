#include "app/gui/Commands.h"

#include "app/gui/MainWindow.h"
#include "app/gui/SolverWindow.h"
#include "convert/gui/V14ConverterWindow.h"
#include "post/gui/AnimationDialog.h"
#include "post/gui/DeformationDialog.h"
#include "post/gui/NodeHistoryWindow.h"
#include "sections/gui/FrameSectionDialog.h"
#include "sections/gui/MaterialDialog.h"
#include "sections/gui/ShellSectionDialog.h"
#include "tcl/gui/AnalysisSettingDialog.h"
#include "tcl/gui/RecorderSettingDialog.h"
#include "tcl/gui/TclFileDialog.h"
#include "view/gui/ShowLoadDialog.h"
#include "view/gui/ViewOptionDialog.h"

namespace vandra::gui {
namespace {

// The work of a command that shows one of the window's dialogs.
template <typename Dialog>
std::function<void(MainWindow&)> Show(Dialog* (MainWindow::*dialog)() const) {
    return [dialog](MainWindow& w) { w.showDialog((w.*dialog)()); };
}

std::vector<CommandRow> MakeTable() {
    using C = Command;
    using W = MainWindow;
    // One row a command: kept as rows, not one field a line.
    // clang-format off
    return {
        {.command = C::OpenModel, .menu = "File", .text = "Import Sap2000 txt file",
         .toolTip = "Import a SAP2000 v6 text model (.s2k)", .shortcut = QKeySequence::Open,
         .icon = "open-model", .toolBar = {1, 1}, .run = &W::openModel},
        {.command = C::OpenProject, .menu = "File", .separatorBefore = true, .text = "Open Project",
         .toolTip = "Open a VANDRA project (.vandra): the model and every choice",
         .run = &W::askToOpenProject},
        {.command = C::SaveProject, .menu = "File", .text = "Save Project",
         .toolTip = "Save the model's path, the settings and every choice (.vandra)",
         .shortcut = QKeySequence::Save, .run = &W::askToSaveProject},
        {.command = C::ConvertV14, .menu = "File", .separatorBefore = true,
         .text = "Sap2000V14 to Sap2000 v6 (s2k)",
         .toolTip = "Convert a SAP2000 V14 text model to v6 (s2k)",
         .run = Show(&W::v14ConverterWindow)},

        {.command = C::Pan, .menu = "View", .text = "Pan", .toolTip = "Pan: drag in the drawing",
         .icon = "pan", .toolBar = {3, 6},
         .run = [](W& w) { w.chooseMouseMode(ChoosePan); }},
        {.command = C::ZoomAll, .menu = "View", .text = "Zoom All", .toolTip = "Zoom all (Home)",
         .shortcut = Qt::Key_Home, .icon = "zoom-all", .toolBar = {3, 4}, .run = &W::zoomAll},
        {.command = C::Rotate, .menu = "View", .text = "Rotate View",
         .toolTip = "Rotate view: drag in the drawing", .icon = "rotate", .toolBar = {3, 5},
         .run = [](W& w) { w.chooseMouseMode(ChooseRotate); }},
        {.command = C::Refresh, .menu = "View", .text = "Refresh", .toolTip = "Refresh (F5)",
         .shortcut = QKeySequence::Refresh, .icon = "refresh", .toolBar = {3, 7},
         .run = &W::refresh},
        {.command = C::ViewXY, .menu = "View", .separatorBefore = true, .text = "XY View",
         .toolTip = "XY view", .icon = "view-xy", .toolBar = {3, 1},
         .run = [](W& w) { w.planeView(PlaneView::XY); }},
        {.command = C::ViewXZ, .menu = "View", .text = "XZ View", .toolTip = "XZ view",
         .icon = "view-xz", .toolBar = {3, 2}, .run = [](W& w) { w.planeView(PlaneView::XZ); }},
        {.command = C::ViewYZ, .menu = "View", .text = "YZ View", .toolTip = "YZ view",
         .icon = "view-yz", .toolBar = {3, 3}, .run = [](W& w) { w.planeView(PlaneView::YZ); }},
        {.command = C::ViewOptions, .menu = "View", .separatorBefore = true,
         .text = "View Option", .toolTip = "View option", .icon = "view-options",
         .toolBar = {4, 2}, .run = Show(&W::viewOptionDialog)},
        {.command = C::ShowLoads, .menu = "View", .text = "Show Load", .toolTip = "Show load",
         .icon = "show-loads", .toolBar = {4, 1}, .run = Show(&W::showLoadDialog)},

        {.command = C::FrameSections, .menu = "Define", .text = "Frame Section",
         .toolTip = "Frame sections", .icon = "frame-sections", .toolBar = {2, 1},
         .run = Show(&W::frameSectionDialog)},
        {.command = C::Materials, .menu = "Define", .text = "Material", .toolTip = "Materials",
         .icon = "materials", .toolBar = {2, 2}, .run = Show(&W::materialDialog)},
        {.command = C::ShellSections, .menu = "Define", .text = "Shell Section",
         .toolTip = "Shell sections", .icon = "shell-sections", .toolBar = {2, 3},
         .run = Show(&W::shellSectionDialog)},
        {.command = C::RecorderSettings, .menu = "Define", .separatorBefore = true,
         .text = "Recorder Setting", .toolTip = "Recorder setting", .icon = "recorder-settings",
         .toolBar = {5, 2}, .run = Show(&W::recorderSettingDialog)},
        {.command = C::AnalysisSettings, .menu = "Define", .text = "Analysis Case",
         .toolTip = "Analysis setting", .icon = "analysis-settings", .toolBar = {5, 1},
         .run = Show(&W::analysisSettingDialog)},

        {.command = C::Script, .menu = "Gen_tcl", .text = "OpenSEES tcl File",
         .toolTip = "OpenSEES Tcl file: generate and save the script (Ctrl+G)",
         .shortcut = Qt::CTRL | Qt::Key_G, .icon = "script", .toolBar = {5, 3},
         .run = Show(&W::tclFileDialog)},
        {.command = C::RunSolver, .menu = "Gen_tcl", .separatorBefore = true,
         .text = "Run OpenSEES", .toolTip = "Run OpenSEES on a saved script (F9)",
         .shortcut = Qt::Key_F9, .icon = "run-solver", .toolBar = {6, 1}, .run = &W::runSolver},

        {.command = C::Deformation, .menu = "Post", .text = "Deformation",
         .toolTip = "Deformation shape", .icon = "deformation", .toolBar = {6, 3},
         .run = Show(&W::deformationDialog)},
        {.command = C::Force, .menu = "Post", .text = "Force", .toolTip = "Force",
         .available = false},
        {.command = C::Animation, .menu = "Post", .separatorBefore = true, .text = "Animation",
         .toolTip = "Animation", .icon = "animation", .toolBar = {6, 4},
         .run = Show(&W::animationDialog)},
        {.command = C::NodeHistory, .menu = "Post", .text = "Node History",
         .toolTip = "Node history: one joint's displacement against the time column",
         .run = Show(&W::nodeHistoryWindow)},

        {.command = C::Tutorial, .menu = "Help", .text = "VANDRA Tutorial",
         .toolTip = "VANDRA tutorial (F1)", .shortcut = QKeySequence::HelpContents,
         .run = [](W& w) { w.openHelpPage(QStringLiteral("tutorial.html")); }},
        {.command = C::About, .menu = "Help", .separatorBefore = true, .text = "About",
         .toolTip = "About VANDRA",
         .run = [](W& w) { w.openHelpPage(QStringLiteral("about.html")); }},

        // On the tool bar alone.
        {.command = C::Select, .text = "Select Elem",
         .toolTip = "Select element: click a frame's midpoint", .icon = "select",
         .toolBar = {4, 3}, .run = [](W& w) { w.chooseMouseMode(ChooseSelect); }},
        {.command = C::Idle, .text = "Idle", .toolTip = "Idle: clicks in the drawing do nothing",
         .icon = "idle", .toolBar = {4, 4}, .run = [](W& w) { w.chooseMouseMode(ChooseIdle); }},
        {.command = C::ClearResults, .text = "Clear Results",
         .toolTip = "Clear results: no displacements or frame end results shown",
         .icon = "clear-results", .toolBar = {6, 2}, .run = &W::clearResults},
    };
    // clang-format on
}

} // namespace

const std::vector<CommandRow>& CommandTable() {
    static const std::vector<CommandRow> table = MakeTable();
    return table;
}

QString IconPath(const char* icon) {
    return QStringLiteral(":/icons/%1.svg").arg(QLatin1String(icon));
}

} // namespace vandra::gui
