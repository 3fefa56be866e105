// The main window of VANDRA: menu bar, tool bar, model view and status bar, the document it holds
// and the commands that bind them together.
#pragma once

#include "app/gui/Commands.h"
#include "app/gui/StatusPanels.h"
#include "document/Document.h"
#include "post/Animation.h"
#include "post/gui/ResultsFolder.h"
#include "view/Camera.h"
#include "view/Interaction.h"
#include "view/ViewOptions.h"

#include <QJsonObject>
#include <QMainWindow>
#include <QMessageBox>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QTimer;
class QToolBar;

namespace vandra::gui {

class AnalysisSettingDialog;
class ModelessDialog;
class AnimationDialog;
class DeformationDialog;
class NodeHistoryWindow;
class ForceDiagramDialog;
class PostTablesWindow;
class SectionAnalysisWindow;
class FramePropertiesDialog;
class FrameSectionDialog;
class MaterialDialog;
class ShellSectionDialog;
class ModelViewWidget;
class RecorderSettingDialog;
class SaveViewDialog;
class ShowLoadDialog;
class SolverWindow;
class SuiteWindow;
class TclFileDialog;
class V14ConverterWindow;
class ViewOptionDialog;
class WarningsDialog;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Asks for a file name; returns the chosen path, or empty when the user cancelled.
    using FileChooser = std::function<QString(QWidget* parent)>;
    void setModelFileChooser(FileChooser chooser) { chooseModelFile_ = std::move(chooser); }
    void setScriptFileChooser(FileChooser chooser) { chooseScriptFile_ = std::move(chooser); }
    void setProjectOpenChooser(FileChooser chooser) { chooseProjectToOpen_ = std::move(chooser); }
    void setProjectSaveChooser(FileChooser chooser) { chooseProjectToSave_ = std::move(chooser); }
    // Asks what to do with choices that are not saved in a project: Save, Discard or Cancel.
    using UnsavedQuestion = std::function<QMessageBox::StandardButton(QWidget* parent)>;
    void setUnsavedQuestion(UnsavedQuestion question) { askUnsaved_ = std::move(question); }

    // True when the open model's choices, settings or view switches differ from what was last
    // imported, opened or saved as a project.
    bool hasUnsavedChoices() const;
    // Before the open model goes (import, open, exit): with unsaved choices asks Save / Discard /
    // Cancel. True when the caller may go on: nothing unsaved, discarded, or saved (a project
    // saved under its last name, else under a name asked for). Cancel, or a save that did not
    // happen, keeps everything as it is.
    bool mayDropOpenModel();
    // Projects and models last opened, imported or saved, the latest first (File > Recent Files).
    QStringList recentFiles() const;

    // The open command: asks for a file, then imports it; a cancelled dialog changes nothing.
    void openModel();
    // The open command with a file already chosen (the command line's FILE.s2k): the model
    // replaces the open one, whose results and animation end; the settings stay.
    void importModel(const QString& path);
    // File > "Open Project": imports the project's model, applies its choices and takes its
    // settings and view options; the open model's results and animation end.
    void openProject(const QString& path);
    // File > "Save Project": the model file's path, the settings and every choice by name.
    // False (after an error box) when the project could not be written.
    bool saveProject(const QString& path);
    // A file given by name (the command line, the recent files): a .vandra project is opened,
    // anything else imported as a model.
    void openFile(const QString& path);
    // File > "Open Project" and "Save Project": ask for the file, then open or save it.
    void askToOpenProject();
    void askToSaveProject();
    void runSolver();
    void clearResults();
    void refresh();
    void zoomAll();
    void planeView(PlaneView plane);
    // A mouse mode command (ChoosePan, ChooseRotate, ChooseSelect, ChooseIdle).
    void chooseMouseMode(MouseOutcome (*choose)(TInteraction&));
    // Shows a dialog or window of the main window and brings it to the front.
    void showDialog(QWidget* dialog);
    void openHelpPage(const QString& fileName);
    // Play / Pause: the timer switches, at the animation's speed; it plays on from the frame shown.
    // Without a loaded history (or mode shape) nothing starts and the status bar says so.
    void toggleAnimation();
    // One timer tick: the next frame of the cycle (after the last, the first).
    void animationTick();
    // A step back (-1) or forward (+1): the animation pauses and draws that frame.
    void stepAnimation(int delta);
    bool animationRunning() const;

    QAction* action(Command command) const { return actions_.at(command); }
    // The menu bar's menu of that title ("File", "View", ...).
    QMenu* menu(const std::string& title) const { return menus_.at(title); }
    Document& document() { return document_; }
    TViewOptions& viewOptions() { return viewOptions_; }
    TViewState& viewState() { return view_; }
    TInteraction& interaction() { return interaction_; }
    TAnimation& animation() { return animation_; }
    ResultsFolder& resultsFolder() { return resultsFolder_; }
    DeformationDialog* deformationDialog() const { return deformationDialog_; }
    AnimationDialog* animationDialog() const { return animationDialog_; }
    NodeHistoryWindow* nodeHistoryWindow() const { return nodeHistoryWindow_; }
    ForceDiagramDialog* forceDiagramDialog() const { return forceDiagramDialog_; }
    PostTablesWindow* postTablesWindow() const { return postTablesWindow_; }
    ModelViewWidget* modelView() const { return viewWidget_; }
    SolverWindow* solverWindow() const { return solverWindow_; }
    ViewOptionDialog* viewOptionDialog() const { return viewOptionDialog_; }
    ShowLoadDialog* showLoadDialog() const { return showLoadDialog_; }
    AnalysisSettingDialog* analysisSettingDialog() const { return analysisSettingDialog_; }
    RecorderSettingDialog* recorderSettingDialog() const { return recorderSettingDialog_; }
    FramePropertiesDialog* framePropertiesDialog() const { return framePropertiesDialog_; }
    TclFileDialog* tclFileDialog() const { return tclFileDialog_; }
    WarningsDialog* warningsDialog() const { return warningsDialog_; }
    FrameSectionDialog* frameSectionDialog() const { return frameSectionDialog_; }
    SectionAnalysisWindow* sectionAnalysisWindow() const { return sectionAnalysisWindow_; }
    MaterialDialog* materialDialog() const { return materialDialog_; }
    ShellSectionDialog* shellSectionDialog() const { return shellSectionDialog_; }
    V14ConverterWindow* v14ConverterWindow() const { return v14ConverterWindow_; }
    SaveViewDialog* savePictureDialog() const { return savePictureDialog_; }
    SaveViewDialog* exportAnimationDialog() const { return exportAnimationDialog_; }
    SuiteWindow* suiteWindow() const { return suiteWindow_; }

protected:
    void showEvent(QShowEvent* event) override;
    // Closing the window with unsaved choices asks first; Cancel keeps the window open.
    void closeEvent(QCloseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void createDialogs();
    // The actions, menus and tool bar of CommandTable().
    void createCommands();
    QAction* makeAction(const CommandRow& row);
    void setMouseModeText(const QString& text);
    void pickJoint(int x, int y);
    // The one way a model comes in (import and open project): the document's replace, then the
    // animation stops and the picked frame and the labelled load case end with the model they
    // belonged to; the counts and the view follow the new model.
    void replaceModel(TOpenedModel opened, const QString& projectPath);
    // What a project saved now would hold (compared with savedChoices_).
    QJsonObject currentChoices() const;
    QString modelPath() const;
    void addRecentFile(const QString& path);
    void showRecentFiles();

    Document document_;
    TViewOptions viewOptions_;
    TViewState view_;
    TInteraction interaction_;
    // Draws the animation's frame (a history step, or the mode shape at its phase); false, with the
    // status bar saying why, when nothing is loaded to move.
    bool drawAnimationFrame();

    TAnimation animation_;
    TNodeHistory modeShape_; // the loaded mode shape as a one-step history, while it animates
    ResultsFolder resultsFolder_;
    QTimer* animationTimer_ = nullptr;

    std::map<Command, QAction*> actions_;
    std::map<std::string, QMenu*> menus_;
    ModelViewWidget* viewWidget_ = nullptr;
    std::unique_ptr<StatusPanels> statusPanels_;
    QToolBar* toolBar_ = nullptr;
    QMenu* recentMenu_ = nullptr;

    ViewOptionDialog* viewOptionDialog_ = nullptr;
    ShowLoadDialog* showLoadDialog_ = nullptr;
    TclFileDialog* tclFileDialog_ = nullptr;
    AnalysisSettingDialog* analysisSettingDialog_ = nullptr;
    RecorderSettingDialog* recorderSettingDialog_ = nullptr;
    FramePropertiesDialog* framePropertiesDialog_ = nullptr;
    FrameSectionDialog* frameSectionDialog_ = nullptr;
    SectionAnalysisWindow* sectionAnalysisWindow_ = nullptr;
    MaterialDialog* materialDialog_ = nullptr;
    ShellSectionDialog* shellSectionDialog_ = nullptr;
    SolverWindow* solverWindow_ = nullptr;
    DeformationDialog* deformationDialog_ = nullptr;
    AnimationDialog* animationDialog_ = nullptr;
    NodeHistoryWindow* nodeHistoryWindow_ = nullptr;
    ForceDiagramDialog* forceDiagramDialog_ = nullptr;
    PostTablesWindow* postTablesWindow_ = nullptr;
    V14ConverterWindow* v14ConverterWindow_ = nullptr;
    SuiteWindow* suiteWindow_ = nullptr;
    WarningsDialog* warningsDialog_ = nullptr;
    SaveViewDialog* savePictureDialog_ = nullptr;
    SaveViewDialog* exportAnimationDialog_ = nullptr;

    FileChooser chooseModelFile_;
    FileChooser chooseScriptFile_;
    FileChooser chooseProjectToOpen_;
    FileChooser chooseProjectToSave_;
    UnsavedQuestion askUnsaved_;
    QJsonObject savedChoices_; // as imported, opened or last saved
    QString projectPath_;      // the project last opened or saved for the open model
    int wheelRemainder_ = 0;
    bool shownOnce_ = false;
};

} // namespace vandra::gui
