#include "app/gui/MainWindow.h"

#include "app/gui/ConversionReport.h"
#include "app/gui/ErrorBox.h"
#include "app/gui/HelpPages.h"
#include "app/gui/SolverLocator.h"
#include "app/gui/SolverWindow.h"
#include "app/gui/ToolIcons.h"
#include "app/gui/WarningsDialog.h"
#include "app/project/ProjectFile.h"
#include "convert/gui/V14ConverterWindow.h"
#include "import/S2kImport.h"
#include "model/AtomicFile.h"
#include "model/Errors.h"
#include "post/gui/AnimationDialog.h"
#include "post/gui/DeformationDialog.h"
#include "post/gui/NodeHistoryWindow.h"
#include "sections/gui/FramePropertiesDialog.h"
#include "sections/gui/FrameSectionDialog.h"
#include "sections/gui/MaterialDialog.h"
#include "sections/gui/ShellSectionDialog.h"
#include "tcl/gui/AnalysisSettingDialog.h"
#include "tcl/gui/RecorderSettingDialog.h"
#include "tcl/gui/TclFileDialog.h"
#include "view/Picking.h"
#include "view/gui/ModelViewWidget.h"
#include "view/gui/ShowLoadDialog.h"
#include "view/gui/ViewOptionDialog.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <exception>
#include <utility>

namespace vandra::gui {
namespace {

constexpr int kWindowWidth = 1228;
constexpr int kWindowHeight = 840;
constexpr int kButtonWidth = 30;
constexpr int kButtonHeight = 26;
constexpr int kWheelNotch = 120;      // angle units of one wheel notch
constexpr int kAnimationInterval = 1; // milliseconds: the timer's shortest interval
constexpr int kPickRadius = 10;       // pixels around a joint that pick it
constexpr int kMessageTime = 8000;    // milliseconds a status bar message stays
constexpr const char* kNoModelForProject =
    "Import a model before saving a project: the project refers to the model's .s2k file.";

// The tool bar, group by group, with a separator between groups.
const std::vector<std::vector<Command>> kToolBarGroups = {
    {Command::OpenModel},
    {Command::FrameSections, Command::Materials, Command::ShellSections},
    {Command::ViewXY, Command::ViewXZ, Command::ViewYZ, Command::ZoomAll, Command::Rotate,
     Command::Pan, Command::Refresh},
    {Command::ShowLoads, Command::ViewOptions, Command::Select, Command::Idle},
    {Command::AnalysisSettings, Command::RecorderSettings, Command::Script},
    {Command::RunSolver, Command::ClearResults, Command::Deformation, Command::Animation},
};

const std::map<Command, ToolIcon> kIcons = {
    {Command::OpenModel, ToolIcon::OpenModel},
    {Command::FrameSections, ToolIcon::FrameSections},
    {Command::Materials, ToolIcon::Materials},
    {Command::ShellSections, ToolIcon::ShellSections},
    {Command::ViewXY, ToolIcon::ViewXY},
    {Command::ViewXZ, ToolIcon::ViewXZ},
    {Command::ViewYZ, ToolIcon::ViewYZ},
    {Command::ZoomAll, ToolIcon::ZoomAll},
    {Command::Rotate, ToolIcon::Rotate},
    {Command::Pan, ToolIcon::Pan},
    {Command::Refresh, ToolIcon::Refresh},
    {Command::ShowLoads, ToolIcon::ShowLoads},
    {Command::ViewOptions, ToolIcon::ViewOptions},
    {Command::Select, ToolIcon::Select},
    {Command::Idle, ToolIcon::Idle},
    {Command::AnalysisSettings, ToolIcon::AnalysisSettings},
    {Command::RecorderSettings, ToolIcon::RecorderSettings},
    {Command::Script, ToolIcon::Script},
    {Command::RunSolver, ToolIcon::RunSolver},
    {Command::ClearResults, ToolIcon::ClearResults},
    {Command::Deformation, ToolIcon::Deformation},
    {Command::Animation, ToolIcon::Animation},
};

// Commands whose windows are not part of this program yet: present, but disabled.
const Command kNotYetAvailable[] = {Command::Force};

QString AskForFile(QWidget* parent, const QString& caption, const QString& filter,
                   const QString& suffix) {
    QFileDialog dialog(parent, caption, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted) return QString();
    return dialog.selectedFiles().value(0);
}

template <typename Work> void Guarded(QWidget* parent, Work&& work) {
    try {
        work();
    } catch (const std::exception& e) {
        ShowErrorBox(parent, QString::fromLocal8Bit(e.what()));
    }
}

} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QStringLiteral("VANDRA  " VANDRA_VERSION_DATE));
    resize(kWindowWidth, kWindowHeight);

    chooseModelFile_ = [](QWidget* p) {
        return AskForFile(p, QStringLiteral("Import Sap2000 txt file"),
                          QStringLiteral("s2k file (*.s2k *.$2k)"), QStringLiteral("s2k"));
    };
    chooseProjectToOpen_ = [](QWidget* p) {
        return AskForFile(p, QStringLiteral("Open Project"),
                          QStringLiteral("VANDRA project (*.vandra)"), QStringLiteral("vandra"));
    };
    chooseProjectToSave_ = [](QWidget* p) {
        QFileDialog dialog(p, QStringLiteral("Save Project"), QString(),
                           QStringLiteral("VANDRA project (*.vandra)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("vandra"));
        if (dialog.exec() != QDialog::Accepted) return QString();
        return dialog.selectedFiles().value(0);
    };
    chooseScriptFile_ = [](QWidget* p) {
        return AskForFile(p, QStringLiteral("Run OpenSEES"), QStringLiteral("tcl file (*.tcl)"),
                          QStringLiteral("tcl"));
    };

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("modelViewPanel"));
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    viewWidget_ = new ModelViewWidget(document_.model(), viewOptions_, view_, interaction_,
                                      document_.results(), panel);
    layout->addWidget(viewWidget_);
    setCentralWidget(panel);

    statusPanels_ = std::make_unique<StatusPanels>(statusBar());
    statusBar()->setSizeGripEnabled(true);

    createActions();
    createMenus();
    createToolBar();
    createDialogs();

    connect(viewWidget_, &ModelViewWidget::modeTextChanged, this, &MainWindow::setMouseModeText);
    connect(viewWidget_, &ModelViewWidget::framePicked, this,
            [this] { showDialog(framePropertiesDialog_); });
    connect(viewWidget_, &ModelViewWidget::leftPressed, this, &MainWindow::pickJoint);

    animationTimer_ = new QTimer(this);
    animationTimer_->setInterval(kAnimationInterval);
    connect(animationTimer_, &QTimer::timeout, this, &MainWindow::animationTick);
}

MainWindow::~MainWindow() {
    // The dialogs and the view hold references into the document: they go before it does.
    delete solverWindow_;
    delete deformationDialog_;
    delete animationDialog_;
    delete nodeHistoryWindow_;
    delete viewOptionDialog_;
    delete showLoadDialog_;
    delete warningsDialog_;
    delete tclFileDialog_;
    delete analysisSettingDialog_;
    delete recorderSettingDialog_;
    delete framePropertiesDialog_;
    delete frameSectionDialog_;
    delete materialDialog_;
    delete shellSectionDialog_;
    delete takeCentralWidget();
}

QAction* MainWindow::addAction(Command command, const QString& text, const QString& toolTip) {
    auto* action = new QAction(text, this);
    action->setToolTip(toolTip);
    action->setMenuRole(QAction::NoRole);
    const auto icon = kIcons.find(command);
    if (icon != kIcons.end()) action->setIcon(MakeToolIcon(icon->second));
    actions_[command] = action;
    return action;
}

void MainWindow::bind(Command command, std::function<void()> work) {
    connect(action(command), &QAction::triggered, this,
            [this, work = std::move(work)] { Guarded(this, work); });
}

void MainWindow::createActions() {
    addAction(Command::OpenModel, QStringLiteral("Import Sap2000 txt file"),
              QStringLiteral("Import a SAP2000 v6 text model (.s2k)"))
        ->setShortcut(QKeySequence::Open);
    addAction(Command::OpenProject, QStringLiteral("Open Project"),
              QStringLiteral("Open a VANDRA project (.vandra): the model and every choice"));
    addAction(Command::SaveProject, QStringLiteral("Save Project"),
              QStringLiteral("Save the model's path, the settings and every choice (.vandra)"))
        ->setShortcut(QKeySequence::Save);
    addAction(Command::ConvertV14, QStringLiteral("Sap2000V14 to Sap2000 v6 (s2k)"),
              QStringLiteral("Convert a SAP2000 V14 text model to v6 (s2k)"));
    addAction(Command::FrameSections, QStringLiteral("Frame Section"),
              QStringLiteral("Frame sections"));
    addAction(Command::Materials, QStringLiteral("Material"), QStringLiteral("Materials"));
    addAction(Command::ShellSections, QStringLiteral("Shell Section"),
              QStringLiteral("Shell sections"));
    addAction(Command::ViewXY, QStringLiteral("XY View"), QStringLiteral("XY view"));
    addAction(Command::ViewXZ, QStringLiteral("XZ View"), QStringLiteral("XZ view"));
    addAction(Command::ViewYZ, QStringLiteral("YZ View"), QStringLiteral("YZ view"));
    addAction(Command::ZoomAll, QStringLiteral("Zoom All"), QStringLiteral("Zoom all (Home)"))
        ->setShortcut(Qt::Key_Home);
    addAction(Command::Rotate, QStringLiteral("Rotate View"),
              QStringLiteral("Rotate view: drag in the drawing"));
    addAction(Command::Pan, QStringLiteral("Pan"), QStringLiteral("Pan: drag in the drawing"));
    addAction(Command::Refresh, QStringLiteral("Refresh"), QStringLiteral("Refresh (F5)"))
        ->setShortcut(QKeySequence::Refresh);
    addAction(Command::ShowLoads, QStringLiteral("Show Load"), QStringLiteral("Show load"));
    addAction(Command::ViewOptions, QStringLiteral("View Option"), QStringLiteral("View option"));
    addAction(Command::Select, QStringLiteral("Select Elem"),
              QStringLiteral("Select element: click a frame's midpoint"));
    addAction(Command::Idle, QStringLiteral("Idle"),
              QStringLiteral("Idle: clicks in the drawing do nothing"));
    addAction(Command::AnalysisSettings, QStringLiteral("Analysis Case"),
              QStringLiteral("Analysis setting"));
    addAction(Command::RecorderSettings, QStringLiteral("Recorder Setting"),
              QStringLiteral("Recorder setting"));
    addAction(Command::Script, QStringLiteral("OpenSEES tcl File"),
              QStringLiteral("OpenSEES Tcl file: generate and save the script (Ctrl+G)"))
        ->setShortcut(Qt::CTRL | Qt::Key_G);
    addAction(Command::RunSolver, QStringLiteral("Run OpenSEES"),
              QStringLiteral("Run OpenSEES on a saved script (F9)"))
        ->setShortcut(Qt::Key_F9);
    addAction(Command::ClearResults, QStringLiteral("Clear Results"),
              QStringLiteral("Clear results: no displacements or frame end results shown"));
    addAction(Command::Deformation, QStringLiteral("Deformation"),
              QStringLiteral("Deformation shape"));
    addAction(Command::Animation, QStringLiteral("Animation"), QStringLiteral("Animation"));
    addAction(Command::NodeHistory, QStringLiteral("Node History"),
              QStringLiteral("Node history: one joint's displacement against the time column"));
    addAction(Command::Force, QStringLiteral("Force"), QStringLiteral("Force"));
    addAction(Command::Tutorial, QStringLiteral("VANDRA Tutorial"),
              QStringLiteral("VANDRA tutorial (F1)"))
        ->setShortcut(QKeySequence::HelpContents);
    addAction(Command::About, QStringLiteral("About"), QStringLiteral("About VANDRA"));

    for (Command command : kNotYetAvailable) {
        QAction* a = action(command);
        a->setEnabled(false);
        a->setToolTip(a->toolTip() + QStringLiteral(" (not available in this version)"));
    }

    bind(Command::OpenModel, [this] { openModel(); });
    bind(Command::ConvertV14, [this] { showDialog(v14ConverterWindow_); });
    bind(Command::OpenProject, [this] {
        const QString path = chooseProjectToOpen_(this);
        if (!path.isEmpty()) openProject(path);
    });
    bind(Command::SaveProject, [this] {
        if (!document_.hasModel()) throw InputError(kNoModelForProject);
        const QString path = chooseProjectToSave_(this);
        if (!path.isEmpty()) saveProject(path);
    });
    bind(Command::FrameSections, [this] { showDialog(frameSectionDialog_); });
    bind(Command::Materials, [this] { showDialog(materialDialog_); });
    bind(Command::ShellSections, [this] { showDialog(shellSectionDialog_); });
    bind(Command::ViewXY, [this] { planeView(PlaneView::XY); });
    bind(Command::ViewXZ, [this] { planeView(PlaneView::XZ); });
    bind(Command::ViewYZ, [this] { planeView(PlaneView::YZ); });
    bind(Command::ZoomAll, [this] { viewWidget_->zoomAll(); });
    bind(Command::Rotate, [this] {
        setMouseModeText(QString::fromStdString(ChooseRotate(interaction_).statusText));
    });
    bind(Command::Pan,
         [this] { setMouseModeText(QString::fromStdString(ChoosePan(interaction_).statusText)); });
    bind(Command::Select, [this] {
        setMouseModeText(QString::fromStdString(ChooseSelect(interaction_).statusText));
    });
    bind(Command::Idle, [this] {
        const MouseOutcome outcome = ChooseIdle(interaction_);
        if (outcome.setStatus) setMouseModeText(QString::fromStdString(outcome.statusText));
    });
    bind(Command::Refresh, [this] { refresh(); });
    bind(Command::ShowLoads, [this] { showDialog(showLoadDialog_); });
    bind(Command::ViewOptions, [this] { showDialog(viewOptionDialog_); });
    bind(Command::AnalysisSettings, [this] { showDialog(analysisSettingDialog_); });
    bind(Command::RecorderSettings, [this] { showDialog(recorderSettingDialog_); });
    bind(Command::Script, [this] { showDialog(tclFileDialog_); });
    bind(Command::RunSolver, [this] { runSolver(); });
    bind(Command::ClearResults, [this] { clearResults(); });
    bind(Command::Deformation, [this] { showDialog(deformationDialog_); });
    bind(Command::Animation, [this] { showDialog(animationDialog_); });
    bind(Command::NodeHistory, [this] { showDialog(nodeHistoryWindow_); });
    bind(Command::Tutorial, [this] { openHelpPage(QStringLiteral("tutorial.html")); });
    bind(Command::About, [this] { openHelpPage(QStringLiteral("about.html")); });
}

void MainWindow::createMenus() {
    QMenuBar* bar = menuBar();
    const auto fill = [this, bar](const QString& title, std::initializer_list<Command> items,
                                  std::initializer_list<int> separatorsAfter) {
        QMenu* menu = bar->addMenu(title);
        int position = 0;
        for (Command command : items) {
            menu->addAction(action(command));
            ++position;
            for (int after : separatorsAfter) {
                if (after == position) menu->addSeparator();
            }
        }
    };
    fill(QStringLiteral("File"),
         {Command::OpenModel, Command::OpenProject, Command::SaveProject, Command::ConvertV14},
         {1, 3});
    fill(QStringLiteral("View"),
         {Command::Pan, Command::ZoomAll, Command::Rotate, Command::Refresh, Command::ViewXY,
          Command::ViewXZ, Command::ViewYZ, Command::ViewOptions, Command::ShowLoads},
         {4, 7});
    fill(QStringLiteral("Define"),
         {Command::FrameSections, Command::Materials, Command::ShellSections,
          Command::RecorderSettings, Command::AnalysisSettings},
         {3});
    fill(QStringLiteral("Gen_tcl"), {Command::Script, Command::RunSolver}, {1});
    fill(QStringLiteral("Post"),
         {Command::Deformation, Command::Force, Command::Animation, Command::NodeHistory}, {2});
    fill(QStringLiteral("Help"), {Command::Tutorial, Command::About}, {1});
}

void MainWindow::createToolBar() {
    toolBar_ = addToolBar(QStringLiteral("Commands"));
    toolBar_->setObjectName(QStringLiteral("commandToolBar"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar_->setIconSize(QSize(20, 20));
    bool first = true;
    for (const std::vector<Command>& group : kToolBarGroups) {
        if (!first) toolBar_->addSeparator();
        first = false;
        for (Command command : group) {
            toolBar_->addAction(action(command));
            QWidget* button = toolBar_->widgetForAction(action(command));
            button->setFixedSize(kButtonWidth, kButtonHeight);
        }
    }
}

void MainWindow::createDialogs() {
    // Created once, in the order of start-up, and kept until the program ends.
    TModel& model = document_.model();
    TSettings& settings = document_.settings();
    viewOptionDialog_ = new ViewOptionDialog(viewOptions_, this);
    showLoadDialog_ = new ShowLoadDialog(model, viewOptions_, this);
    tclFileDialog_ = new TclFileDialog(model, settings, this);
    analysisSettingDialog_ = new AnalysisSettingDialog(model, settings, this);
    recorderSettingDialog_ = new RecorderSettingDialog(settings, this);
    framePropertiesDialog_ = new FramePropertiesDialog(model, interaction_, this);
    frameSectionDialog_ = new FrameSectionDialog(model, this);
    materialDialog_ = new MaterialDialog(model, this);
    shellSectionDialog_ = new ShellSectionDialog(model, this);
    solverWindow_ = new SolverWindow(this);
    // The results folder dialog starts where the script was last saved (or run).
    connect(tclFileDialog_, &TclFileDialog::scriptSaved, this, [this](const QString& path) {
        resultsFolder_.setStartFolder(QFileInfo(path).absolutePath());
    });
    deformationDialog_ =
        new DeformationDialog(model, settings, view_, document_.results(), resultsFolder_, this);
    animationDialog_ =
        new AnimationDialog(model, document_.results(), animation_, resultsFolder_, this);
    nodeHistoryWindow_ = new NodeHistoryWindow(model, resultsFolder_, this);
    v14ConverterWindow_ = new V14ConverterWindow(this);
    warningsDialog_ = new WarningsDialog(this);
    connect(tclFileDialog_, &TclFileDialog::warningsFound, this,
            [this](const WarningList& warnings) {
                warningsDialog_->showWarnings(
                    modelPath(), QStringLiteral("The script was generated; check:"), warnings);
            });

    const auto redraw = [this] { viewWidget_->redraw(); };
    connect(viewOptionDialog_, &ViewOptionDialog::redrawRequested, this, redraw);
    connect(showLoadDialog_, &ShowLoadDialog::redrawRequested, this, redraw);
    connect(framePropertiesDialog_, &FramePropertiesDialog::selectionCleared, this, redraw);
    connect(deformationDialog_, &DeformationDialog::redrawRequested, this, redraw);
    connect(animationDialog_, &AnimationDialog::runStopRequested, this,
            &MainWindow::toggleAnimation);
    connect(solverWindow_, &SolverWindow::loadResultsRequested, this,
            [this](const QString& folder) {
                resultsFolder_.setFolder(folder);
                showDialog(deformationDialog_);
            });
    connect(frameSectionDialog_, &FrameSectionDialog::redrawRequested, this, redraw);
}

void MainWindow::showDialog(QWidget* dialog) {
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void MainWindow::openModel() {
    const QString path = chooseModelFile_(this);
    if (!path.isEmpty()) importModel(path);
}

void MainWindow::importModel(const QString& path) {
    Guarded(this, [&] {
        // Read and imported whole before anything shown changes: a file that fails leaves the
        // open model as it was.
        std::vector<std::string> report;
        replaceModel(ReadModelFile(QFile::encodeName(path).toStdString(), &report));
        if (!report.empty())
            ShowConversionReport(this, report, document_.model().Warnings);
        else
            warningsDialog_->showWarnings(modelPath(),
                                          QStringLiteral("The model was imported; check:"),
                                          document_.model().Warnings);
    });
}

void MainWindow::openProject(const QString& path) {
    Guarded(this, [&] {
        // The project is read, imported and applied whole before anything shown changes.
        project::OpenedProject opened = project::OpenProject(QFile::encodeName(path).toStdString());
        viewOptions_ = opened.view;
        replaceModel(std::move(opened.model));
        if (!opened.unmatched.empty())
            ShowErrorBox(this, QString::fromLocal8Bit(project::UnmatchedMessage(opened.unmatched)));
        warningsDialog_->showWarnings(modelPath(), QStringLiteral("The model was imported; check:"),
                                      document_.model().Warnings);
    });
}

void MainWindow::replaceModel(TOpenedModel opened) {
    animationTimer_->stop();
    animation_.AnimFrame = 0;
    document_.replace(std::move(opened));
    // No save of the window may replace the model file it was read from.
    ProtectInputs({{document_.path(), "the model file"}});
    if (framePropertiesDialog_->isVisible()) framePropertiesDialog_->reject();
    interaction_.SelectedFrame = 0;
    viewOptions_.ShownLoadCase = 0;
    statusPanels_->setCounts(CountsOf(document_.model()));
    viewWidget_->redraw();
    viewWidget_->zoomAll();
}

QString MainWindow::modelPath() const {
    return QFile::decodeName(document_.path().c_str());
}

void MainWindow::saveProject(const QString& path) {
    Guarded(this, [&] {
        if (!document_.hasModel()) throw InputError(kNoModelForProject);
        project::SaveProject(QFile::encodeName(path).toStdString(), document_.model(),
                             document_.settings(), viewOptions_, document_.path());
    });
}

void MainWindow::planeView(PlaneView plane) {
    SetPlaneView(view_, plane);
    viewWidget_->redraw();
    viewWidget_->zoomAll();
}

void MainWindow::refresh() {
    viewOptions_.ShownLoadCase = 0;
    viewWidget_->redraw();
}

void MainWindow::clearResults() {
    ClearResults(document_.results());
    viewWidget_->redraw();
}

bool MainWindow::animationRunning() const {
    return animationTimer_->isActive();
}

void MainWindow::toggleAnimation() {
    animation_.AnimFrame = 1;
    if (animationTimer_->isActive()) {
        animationTimer_->stop();
        return;
    }
    if (document_.results().History.Steps < 1) {
        statusBar()->showMessage(
            QStringLiteral("No displacement history is loaded: press LOAD DISP DATA first."),
            kMessageTime);
        return;
    }
    animationTimer_->start();
}

void MainWindow::animationTick() {
    const TNodeHistory& history = document_.results().History;
    animation_.AnimFrame = NextAnimationStep(animation_.AnimFrame, history.Steps);
    if (animation_.AnimFrame == 0) {
        animationTimer_->stop();
        return;
    }
    view_.DisplacementScale = animation_.AnimScale;
    viewWidget_->drawAnimationStep(history, animation_.AnimFrame);
}

void MainWindow::pickJoint(int x, int y) {
    if (!nodeHistoryWindow_->isVisible() || !nodeHistoryWindow_->isPicking()) return;
    const int joint = NearestJoint(document_.model(), viewWidget_->projection(), x, y, kPickRadius);
    if (joint == 0) {
        statusBar()->showMessage(QStringLiteral("No joint there: click on a joint."), kMessageTime);
        return;
    }
    nodeHistoryWindow_->jointPicked(joint);
}

void MainWindow::runSolver() {
    const QString script = chooseScriptFile_(this);
    if (script.isEmpty()) return;
    if (solverWindow_->isRunning()) {
        ShowErrorBox(this, QStringLiteral("The solver is still running. Wait for it to finish, "
                                          "or stop it in its window, before starting it again."));
        showDialog(solverWindow_);
        return;
    }
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString solver = FindSolver(programDir);
    if (solver.isEmpty()) {
        ShowErrorBox(this, SolverNotFoundMessage(programDir));
        return;
    }
    // The solver writes its recorder files into its working folder and reads files that the script
    // names (ground motions) from there: the script's own folder.
    const QString folder = QFileInfo(script).absolutePath();
    resultsFolder_.setStartFolder(folder);
    solverWindow_->start(solver, script, folder);
    showDialog(solverWindow_);
}

void MainWindow::openHelpPage(const QString& fileName) {
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString page = FindHelpPage(programDir, fileName);
    if (page.isEmpty()) {
        ShowErrorBox(this,
                     QStringLiteral("The help page %1 was not found in %2.")
                         .arg(fileName, HelpFolders(programDir).join(QStringLiteral(" or "))));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(page))) {
        ShowErrorBox(this, QStringLiteral("No web browser could open the help page %1.").arg(page));
    }
}

void MainWindow::setMouseModeText(const QString& text) {
    statusPanels_->setMode(text);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    refresh();
}

void MainWindow::wheelEvent(QWheelEvent* event) {
    wheelRemainder_ += event->angleDelta().y();
    bool changed = false;
    for (; wheelRemainder_ >= kWheelNotch; wheelRemainder_ -= kWheelNotch, changed = true)
        WheelNotch(view_, true);
    for (; wheelRemainder_ <= -kWheelNotch; wheelRemainder_ += kWheelNotch, changed = true)
        WheelNotch(view_, false);
    if (changed) viewWidget_->redraw();
    event->ignore();
}

} // namespace vandra::gui
