#include "app/gui/MainWindow.h"

#include "app/gui/Commands.h"
#include "app/gui/ConversionReport.h"
#include "app/gui/ErrorBox.h"
#include "app/gui/FileDialogs.h"
#include "app/gui/HelpPages.h"
#include "app/gui/ProgressRun.h"
#include "app/gui/SolverLocator.h"
#include "app/gui/SolverWindow.h"
#include "app/gui/WarningsDialog.h"
#include "app/project/ProjectFile.h"
#include "convert/gui/V14ConverterWindow.h"
#include "import/S2kImport.h"
#include "model/AtomicFile.h"
#include "model/Errors.h"
#include "post/ResultLoading.h"
#include "post/gui/AnimationDialog.h"
#include "post/gui/DeformationDialog.h"
#include "post/gui/ForceDiagramDialog.h"
#include "post/gui/NodeHistoryWindow.h"
#include "post/gui/PostTablesWindow.h"
#include "sections/gui/FramePropertiesDialog.h"
#include "sections/gui/FrameSectionDialog.h"
#include "sections/gui/MaterialDialog.h"
#include "sections/gui/SectionAnalysisWindow.h"
#include "sections/gui/ShellSectionDialog.h"
#include "suite/gui/SuiteWindow.h"
#include "tcl/SettingsCheck.h"
#include "tcl/gui/AnalysisSettingDialog.h"
#include "tcl/gui/RecorderSettingDialog.h"
#include "tcl/gui/TclFileDialog.h"
#include "view/Picking.h"
#include "view/gui/ModelViewWidget.h"
#include "view/gui/SaveViewDialog.h"
#include "view/gui/ShowLoadDialog.h"
#include "view/gui/ViewOptionDialog.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <exception>
#include <utility>

namespace vandra::gui {
namespace {

constexpr int kWindowWidth = 1228;
constexpr int kWindowHeight = 840;
constexpr int kButtonWidth = 30;
constexpr int kButtonHeight = 26;
constexpr int kIconSize = 20;
constexpr int kWheelNotch = 120;      // angle units of one wheel notch
constexpr int kPickRadius = 10;       // pixels around a joint that pick it
constexpr int kMessageTime = 8000;    // milliseconds a status bar message stays
constexpr const char* kNoModelForProject =
    "Import a model before saving a project: the project refers to the model's .s2k file.";

constexpr int kRecentFiles = 8;
const QString kRecentKey = QStringLiteral("recentFiles");

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
        return AskFileToOpen(p, QStringLiteral("Import Sap2000 txt file"),
                             QStringLiteral("s2k file (*.s2k *.$2k)"), QStringLiteral("model"));
    };
    chooseProjectToOpen_ = [](QWidget* p) {
        return AskFileToOpen(p, QStringLiteral("Open Project"),
                             QStringLiteral("VANDRA project (*.vandra)"), QStringLiteral("project"));
    };
    chooseProjectToSave_ = [](QWidget* p) {
        return AskFileToSave(p, QStringLiteral("Save Project"),
                             QStringLiteral("VANDRA project (*.vandra)"), QStringLiteral("project"),
                             QStringLiteral("vandra"));
    };
    askUnsaved_ = [](QWidget* p) {
        return QMessageBox::question(
            p, QStringLiteral("Unsaved choices"),
            QStringLiteral("The sections, materials or settings chosen for this model are not "
                           "saved in a project. Save them?"),
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    };
    chooseScriptFile_ = [](QWidget* p) {
        return AskFileToOpen(p, QStringLiteral("Run OpenSEES"), QStringLiteral("tcl file (*.tcl)"),
                             QStringLiteral("script"));
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

    createDialogs();
    createCommands();
    recentMenu_ = new QMenu(QStringLiteral("Recent Files"), this);
    recentMenu_->setObjectName(QStringLiteral("recentFilesMenu"));
    menu("File")->insertMenu(action(Command::Exit), recentMenu_);
    menu("File")->insertSeparator(action(Command::Exit));
    showRecentFiles();

    connect(viewWidget_, &ModelViewWidget::modeTextChanged, this, &MainWindow::setMouseModeText);
    connect(viewWidget_, &ModelViewWidget::framePicked, this,
            [this] { showDialog(framePropertiesDialog_); });
    connect(viewWidget_, &ModelViewWidget::leftPressed, this, &MainWindow::pickJoint);

    animationTimer_ = new QTimer(this);
    connect(animationTimer_, &QTimer::timeout, this, &MainWindow::animationTick);
}

MainWindow::~MainWindow() {
    // The dialogs and the view hold references into the document: they go before it does.
    delete solverWindow_;
    delete deformationDialog_;
    delete animationDialog_;
    delete nodeHistoryWindow_;
    delete forceDiagramDialog_;
    delete postTablesWindow_;
    delete viewOptionDialog_;
    delete showLoadDialog_;
    delete warningsDialog_;
    delete savePictureDialog_;
    delete exportAnimationDialog_;
    delete tclFileDialog_;
    delete analysisSettingDialog_;
    delete recorderSettingDialog_;
    delete framePropertiesDialog_;
    delete sectionAnalysisWindow_;
    delete frameSectionDialog_;
    delete materialDialog_;
    delete shellSectionDialog_;
    delete takeCentralWidget();
}

void MainWindow::createCommands() {
    toolBar_ = addToolBar(QStringLiteral("Commands"));
    toolBar_->setObjectName(QStringLiteral("commandToolBar"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar_->setIconSize(QSize(kIconSize, kIconSize));
    std::vector<std::pair<ToolBarPlace, QAction*>> tools;
    for (const CommandRow& row : CommandTable()) {
        QAction* a = makeAction(row);
        if (row.menu != nullptr) {
            QMenu*& menu = menus_[row.menu];
            if (menu == nullptr)
                menu = menuBar()->addMenu(QString::fromLatin1(row.menu));
            else if (row.separatorBefore)
                menu->addSeparator();
            menu->addAction(a);
        }
        if (row.toolBar.group > 0) tools.emplace_back(row.toolBar, a);
    }
    std::stable_sort(tools.begin(), tools.end(), [](const auto& x, const auto& y) {
        return std::pair(x.first.group, x.first.order) < std::pair(y.first.group, y.first.order);
    });
    for (size_t k = 0; k < tools.size(); ++k) {
        if (k > 0 && tools[k].first.group != tools[k - 1].first.group) toolBar_->addSeparator();
        toolBar_->addAction(tools[k].second);
        toolBar_->widgetForAction(tools[k].second)->setFixedSize(kButtonWidth, kButtonHeight);
    }
}

QAction* MainWindow::makeAction(const CommandRow& row) {
    auto* a = new QAction(QString::fromLatin1(row.text), this);
    QString toolTip = QString::fromLatin1(row.toolTip);
    a->setMenuRole(QAction::NoRole);
    a->setShortcut(row.shortcut);
    if (row.icon != nullptr) a->setIcon(QIcon(IconPath(row.icon)));
    if (!row.available) {
        a->setEnabled(false);
        toolTip += QStringLiteral(" (not available in this version)");
    }
    a->setToolTip(toolTip);
    if (row.run) {
        connect(a, &QAction::triggered, this,
                [this, run = row.run] { Guarded(this, [&] { run(*this); }); });
    }
    actions_[row.command] = a;
    return a;
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
    sectionAnalysisWindow_ = new SectionAnalysisWindow(model, settings, this);
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
    forceDiagramDialog_ = new ForceDiagramDialog(model, settings, viewOptions_,
                                                 document_.results(), resultsFolder_, this);
    postTablesWindow_ =
        new PostTablesWindow(model, settings, document_.results(), resultsFolder_, this);
    v14ConverterWindow_ = new V14ConverterWindow(this);
    suiteWindow_ = new SuiteWindow(document_, this);
    warningsDialog_ = new WarningsDialog(this);
    const auto viewSize = [this] { return viewWidget_->image().size(); };
    savePictureDialog_ = new SaveViewDialog(SaveViewDialog::Kind::Picture, model, viewOptions_,
                                            view_, document_.results(), animation_, viewSize, this);
    exportAnimationDialog_ =
        new SaveViewDialog(SaveViewDialog::Kind::Movie, model, viewOptions_, view_,
                           document_.results(), animation_, viewSize, this);
    connect(tclFileDialog_, &TclFileDialog::warningsFound, this,
            [this](const WarningList& warnings) {
                warningsDialog_->showWarnings(
                    modelPath(), QStringLiteral("The script was generated; check:"), warnings);
            });

    const auto redraw = [this] { viewWidget_->redraw(); };
    for (ModelessDialog* d : {static_cast<ModelessDialog*>(viewOptionDialog_),
                              static_cast<ModelessDialog*>(showLoadDialog_),
                              static_cast<ModelessDialog*>(deformationDialog_),
                              static_cast<ModelessDialog*>(forceDiagramDialog_)})
        connect(d, &ModelessDialog::applied, this, redraw);
    connect(framePropertiesDialog_, &FramePropertiesDialog::selectionCleared, this, redraw);
    // A material added to a model whose solids had none counts in the status bar.
    connect(materialDialog_, &ModelessDialog::applied, this,
            [this] { statusPanels_->setCounts(CountsOf(document_.model())); });
    connect(animationDialog_, &AnimationDialog::runStopRequested, this,
            &MainWindow::toggleAnimation);
    connect(animationDialog_, &AnimationDialog::stepRequested, this, &MainWindow::stepAnimation);
    // Results come from one folder at a time: choosing another (or a solver run) drops the old.
    resultsFolder_.setListener([this](const QString& folder) {
        animationTimer_->stop();
        animation_.Frame = 0;
        UseResultsFolder(document_.results(), QFile::encodeName(folder).toStdString());
        nodeHistoryWindow_->clearHistory();
        deformationDialog_->folderChanged();
        animationDialog_->showFrame(false);
        viewWidget_->redraw();
    });
    connect(solverWindow_, &SolverWindow::loadResultsRequested, this,
            [this](const QString& folder) {
                resultsFolder_.setFolder(folder);
                showDialog(deformationDialog_);
            });
    connect(frameSectionDialog_, &FrameSectionDialog::redrawRequested, this, redraw);
    connect(frameSectionDialog_, &FrameSectionDialog::sectionAnalysisRequested, this,
            [this](int s) {
                sectionAnalysisWindow_->showSection(s);
                showDialog(sectionAnalysisWindow_);
            });
}

void MainWindow::showDialog(QWidget* dialog) {
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void MainWindow::openModel() {
    if (!mayDropOpenModel()) return;
    const QString path = chooseModelFile_(this);
    if (!path.isEmpty()) importModel(path);
}

void MainWindow::importModel(const QString& path) {
    Guarded(this, [&] {
        // Read and imported whole before anything shown changes: a file that fails leaves the
        // open model as it was. The file is read on a worker thread; Cancel keeps the open model.
        std::vector<std::string> report;
        TOpenedModel opened;
        const std::string file = QFile::encodeName(path).toStdString();
        if (!RunWithProgress(this, QStringLiteral("Import"), [&](Progress& progress) {
                opened = ReadModelFile(file, &report, &progress);
            }))
            return;
        replaceModel(std::move(opened), QString());
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
        // The project is read, imported and applied whole, on a worker thread, before anything
        // shown changes; Cancel keeps the open model.
        project::OpenedProject opened;
        const std::string file = QFile::encodeName(path).toStdString();
        if (!RunWithProgress(this, QStringLiteral("Open Project"), [&](Progress& progress) {
                opened = project::OpenProject(file, &progress);
            }))
            return;
        viewOptions_ = opened.view;
        replaceModel(std::move(opened.model), path);
        if (!opened.unmatched.empty())
            ShowErrorBox(this, QString::fromLocal8Bit(project::UnmatchedMessage(opened.unmatched)));
        warningsDialog_->showWarnings(modelPath(), QStringLiteral("The model was imported; check:"),
                                      document_.model().Warnings);
    });
}

void MainWindow::openFile(const QString& path) {
    if (project::IsProjectPath(QFile::encodeName(path).toStdString()))
        openProject(path);
    else
        importModel(path);
}

void MainWindow::replaceModel(TOpenedModel opened, const QString& projectPath) {
    animationTimer_->stop();
    animation_.Frame = 0;
    const bool imported = !opened.Settings.has_value();
    document_.replace(std::move(opened));
    // An import keeps the engineer's settings, but those that name parts of a model follow it.
    if (imported) ChooseSettingsForModel(document_.model(), document_.settings());
    nodeHistoryWindow_->clearHistory();
    // No save of the window may replace the model file it was read from.
    ProtectInputs({{document_.path(), "the model file"}});
    if (framePropertiesDialog_->isVisible()) framePropertiesDialog_->reject();
    sectionAnalysisWindow_->forget();
    postTablesWindow_->forget();
    interaction_.SelectedFrame = 0;
    viewOptions_.ShownLoadCase = 0;
    statusPanels_->setCounts(CountsOf(document_.model()));
    viewWidget_->redraw();
    viewWidget_->zoomAll();
    projectPath_ = projectPath;
    savedChoices_ = currentChoices();
    SetModelFolder(QFileInfo(modelPath()).absolutePath());
    addRecentFile(projectPath.isEmpty() ? modelPath() : projectPath);
}

QStringList MainWindow::recentFiles() const {
    return QSettings().value(kRecentKey).toStringList();
}

void MainWindow::addRecentFile(const QString& path) {
    QStringList files = recentFiles();
    const QString full = QFileInfo(path).absoluteFilePath();
    files.removeAll(full);
    files.prepend(full);
    while (files.size() > kRecentFiles)
        files.removeLast();
    QSettings().setValue(kRecentKey, files);
    showRecentFiles();
}

void MainWindow::showRecentFiles() {
    recentMenu_->clear();
    const QStringList files = recentFiles();
    for (const QString& file : files) {
        QAction* a = recentMenu_->addAction(file);
        connect(a, &QAction::triggered, this, [this, file] {
            if (mayDropOpenModel()) openFile(file);
        });
    }
    recentMenu_->setEnabled(!files.isEmpty());
}

QJsonObject MainWindow::currentChoices() const {
    if (!document_.hasModel()) return {};
    return project::ProjectDocument(document_.model(), document_.settings(), viewOptions_,
                                    document_.path(), document_.path());
}

bool MainWindow::hasUnsavedChoices() const {
    return document_.hasModel() && currentChoices() != savedChoices_;
}

bool MainWindow::mayDropOpenModel() {
    if (!hasUnsavedChoices()) return true;
    switch (askUnsaved_(this)) {
    case QMessageBox::Discard:
        return true;
    case QMessageBox::Save: {
        const QString path = projectPath_.isEmpty() ? chooseProjectToSave_(this) : projectPath_;
        return !path.isEmpty() && saveProject(path);
    }
    default:
        return false;
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (mayDropOpenModel())
        event->accept();
    else
        event->ignore();
}

QString MainWindow::modelPath() const {
    return QFile::decodeName(document_.path().c_str());
}

bool MainWindow::saveProject(const QString& path) {
    bool saved = false;
    Guarded(this, [&] {
        if (!document_.hasModel()) throw InputError(kNoModelForProject);
        project::SaveProject(QFile::encodeName(path).toStdString(), document_.model(),
                             document_.settings(), viewOptions_, document_.path(),
                             document_.suitePath());
        projectPath_ = path;
        savedChoices_ = currentChoices();
        saved = true;
        addRecentFile(path);
    });
    return saved;
}

void MainWindow::askToOpenProject() {
    if (!mayDropOpenModel()) return;
    const QString path = chooseProjectToOpen_(this);
    if (!path.isEmpty()) openProject(path);
}

void MainWindow::askToSaveProject() {
    if (!document_.hasModel()) throw InputError(kNoModelForProject);
    const QString path = chooseProjectToSave_(this);
    if (!path.isEmpty()) saveProject(path);
}

void MainWindow::zoomAll() {
    viewWidget_->zoomAll();
}

void MainWindow::chooseMouseMode(MouseOutcome (*choose)(TInteraction&)) {
    const MouseOutcome outcome = choose(interaction_);
    if (outcome.setStatus) setMouseModeText(QString::fromStdString(outcome.statusText));
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
    nodeHistoryWindow_->clearHistory();
    viewWidget_->redraw();
}

bool MainWindow::animationRunning() const {
    return animationTimer_->isActive();
}

void MainWindow::toggleAnimation() {
    if (animationTimer_->isActive()) {
        animationTimer_->stop();
        animationDialog_->showFrame(false);
        return;
    }
    if (!drawAnimationFrame()) return;
    animationTimer_->start(AnimationInterval(animation_.StepsPerSecond));
    animationDialog_->showFrame(true);
}

void MainWindow::animationTick() {
    animation_.Frame = StepAnimation(animation_.Frame, 1, animation_.Frames);
    if (!drawAnimationFrame()) animationTimer_->stop();
    animationDialog_->showFrame(animationTimer_->isActive());
}

void MainWindow::stepAnimation(int delta) {
    animationTimer_->stop();
    animation_.Frame = StepAnimation(animation_.Frame, delta, animation_.Frames);
    drawAnimationFrame();
    animationDialog_->showFrame(false);
}

bool MainWindow::drawAnimationFrame() {
    const TResults& results = document_.results();
    const bool history = animation_.Motion == AnimationMotion::History;
    animation_.Frames = AnimationFrameCount(animation_.Motion, results.History.Steps,
                                            kModeShapeFrames);
    if (history ? results.History.Steps < 1 : results.Disp.X.empty()) {
        animation_.Frames = 0;
        statusBar()->showMessage(
            history ? QStringLiteral("No displacement history is loaded: press LOAD DISP DATA first.")
                    : QStringLiteral("No mode shape is loaded: load one in Deformation Shape first."),
            kMessageTime);
        return false;
    }
    animation_.Frame = StepAnimation(animation_.Frame, 0, animation_.Frames);
    const TAnimationFrame frame =
        AnimationFrameAt(animation_.Motion, animation_.Frame, animation_.Frames);
    view_.DisplacementScale = animation_.AnimScale * frame.Factor;
    if (history) {
        viewWidget_->drawAnimationStep(results.History, frame.Step);
        return true;
    }
    const TNodeField& shape = results.Disp;
    modeShape_.Steps = 1;
    modeShape_.Stride = std::min({shape.X.size(), shape.Y.size(), shape.Z.size()});
    modeShape_.X.assign(shape.X.begin(), shape.X.begin() + static_cast<long>(modeShape_.Stride));
    modeShape_.Y.assign(shape.Y.begin(), shape.Y.begin() + static_cast<long>(modeShape_.Stride));
    modeShape_.Z.assign(shape.Z.begin(), shape.Z.begin() + static_cast<long>(modeShape_.Stride));
    viewWidget_->drawAnimationStep(modeShape_, 1);
    return true;
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
    // One help window, in front, showing the page asked for.
    auto* help = findChild<HelpWindow*>();
    if (help == nullptr) help = new HelpWindow(this);
    help->showPage(page);
    help->show();
    help->raise();
    help->activateWindow();
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
