#include "suite/gui/SuiteWindow.h"

#include "app/gui/ErrorBox.h"
#include "app/gui/SolverLocator.h"
#include "document/SettingsByName.h"
#include "model/Errors.h"
#include "model/NumberText.h"
#include "motion/LocalPool.h"
#include "motion/SlurmRunner.h"
#include "motion/SuiteReport.h"
#include "motion/SuiteResults.h"
#include "suite/SuiteFolder.h"
#include "suite/gui/IdaPlotWidget.h"
#include "suite/gui/SuiteEditor.h"
#include "view/render/IdaPlot.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <filesystem>

namespace vandra::gui {
namespace {

constexpr int kPollMilliseconds = 200;
constexpr int kSlurmPollSeconds = 10;
constexpr int kPlotWidth = 1000, kPlotHeight = 700;
constexpr int kFirstSuiteType = kTimeHistory; // the analysis types of a suite: 5, 6, 7

const char* const kStatusText[] = {"pending", "running", "done", "failed"};
const char* const kColumns[] = {"Run",
                                "Record",
                                "Intensity",
                                "Status",
                                "Peak drift ratio",
                                "Peak roof displacement",
                                "Peak base shear",
                                "Reason"};

QString Q(const std::string& s) {
    return QString::fromLocal8Bit(s);
}

std::string Local(const QString& s) {
    return s.toLocal8Bit().toStdString();
}

// Runs work, showing what it throws in an error box.
template <typename Work> void Try(QWidget* parent, Work work) {
    try {
        work();
    } catch (const std::exception& e) {
        ShowErrorBox(parent, Q(e.what()));
    }
}

std::string Solver() {
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString solver = FindSolver(programDir);
    if (solver.isEmpty()) throw InputError(Local(SolverNotFoundMessage(programDir)));
    return Local(solver);
}

QString Peak(double value) {
    return std::isfinite(value) ? Q(text::FormatE(value, 4)) : QStringLiteral("-");
}

QPushButton* NewButton(QWidget* parent, const char* text, const char* name) {
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

} // namespace

SuiteWindow::SuiteWindow(Document& document, QWidget* parent)
    : ModelessDialog(parent), document_(document) {
    setWindowTitle(QStringLiteral("Run suite"));
    chooseSuiteToOpen_ = [](QWidget* w) {
        return QFileDialog::getOpenFileName(w, QStringLiteral("Open suite"), QString(),
                                            QStringLiteral("Suites (*.json)"));
    };
    chooseSuiteToSave_ = [](QWidget* w) {
        return QFileDialog::getSaveFileName(w, QStringLiteral("Save suite"), QString(),
                                            QStringLiteral("Suites (*.json)"));
    };

    suitePath_ = new QLabel(QStringLiteral("(not saved)"), this);
    suitePath_->setObjectName(QStringLiteral("suitePathLabel"));
    auto* open = NewButton(this, "Open...", "openSuiteButton");
    auto* save = NewButton(this, "Save As...", "saveSuiteButton");
    connect(open, &QPushButton::clicked, this, [this] {
        const QString path = chooseSuiteToOpen_(this);
        if (!path.isEmpty()) openSuite(path);
    });
    connect(save, &QPushButton::clicked, this, [this] {
        QString path = chooseSuiteToSave_(this);
        if (path.isEmpty()) return;
        if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".json");
        saveSuite(path);
    });
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(suitePath_, 1);
    fileRow->addWidget(open);
    fileRow->addWidget(save);
    editor_ = new SuiteEditor(this);
    auto* suiteBox = new QVBoxLayout;
    suiteBox->addLayout(fileRow);
    suiteBox->addWidget(editor_);
    auto* suiteGroup = new QGroupBox(QStringLiteral("Suite"), this);
    suiteGroup->setLayout(suiteBox);

    analysisType_ = new QComboBox(this);
    analysisType_->setObjectName(QStringLiteral("analysisTypeCombo"));
    const auto& items = SettingNamed("AnalysisType").Items;
    for (int type = kFirstSuiteType; type <= kMultipleSupport; ++type) {
        const std::string_view item = items[static_cast<size_t>(type - 1)];
        analysisType_->addItem(
            QString::fromLatin1(item.data(), static_cast<qsizetype>(item.size())));
    }
    folder_ = new QLineEdit(this);
    folder_->setObjectName(QStringLiteral("folderEdit"));
    connect(folder_, &QLineEdit::editingFinished, this, &SuiteWindow::showFolder);
    auto* browse = NewButton(this, "Browse...", "browseFolderButton");
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString dir = QFileDialog::getExistingDirectory(this, QStringLiteral("Runs folder"));
        if (dir.isEmpty()) return;
        folder_->setText(dir);
        showFolder();
    });
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folder_, 1);
    folderRow->addWidget(browse);
    jobs_ = new QSpinBox(this);
    jobs_->setObjectName(QStringLiteral("jobsSpin"));
    jobs_->setRange(1, 1024);
    jobs_->setValue(motion::CoreCount());
    slurm_ = new QCheckBox(QStringLiteral("Submit to Slurm"), this);
    slurm_->setObjectName(QStringLiteral("slurmCheck"));
    const bool hasSlurm = !QStandardPaths::findExecutable(QStringLiteral("sbatch")).isEmpty();
    slurm_->setEnabled(hasSlurm);
    if (!hasSlurm) slurm_->setToolTip(QStringLiteral("sbatch is not on the PATH"));
    partition_ = new QLineEdit(this);
    partition_->setObjectName(QStringLiteral("partitionEdit"));
    partition_->setPlaceholderText(QStringLiteral("partition"));
    timeLimit_ = new QLineEdit(this);
    timeLimit_->setObjectName(QStringLiteral("timeLimitEdit"));
    timeLimit_->setPlaceholderText(QStringLiteral("time limit"));
    auto* slurmRow = new QHBoxLayout;
    slurmRow->addWidget(slurm_);
    slurmRow->addWidget(partition_);
    slurmRow->addWidget(timeLimit_);
    writeButton_ = NewButton(this, "Write runs", "writeRunsButton");
    runButton_ = NewButton(this, "Run", "runButton");
    cancelButton_ = NewButton(this, "Cancel run", "cancelRunButton");
    connect(writeButton_, &QPushButton::clicked, this, [this] { Try(this, [&] { writeRuns(); }); });
    connect(runButton_, &QPushButton::clicked, this, [this] { Try(this, [&] { runSuite(); }); });
    connect(cancelButton_, &QPushButton::clicked, this, &SuiteWindow::cancelRun);
    auto* actions = new QHBoxLayout;
    actions->addWidget(writeButton_);
    actions->addWidget(runButton_);
    actions->addWidget(cancelButton_);
    auto* runForm = new QFormLayout;
    runForm->addRow(QStringLiteral("Analysis Type"), analysisType_);
    runForm->addRow(QStringLiteral("Folder"), folderRow);
    runForm->addRow(QStringLiteral("Solvers at a time"), jobs_);
    runForm->addRow(slurmRow);
    runForm->addRow(actions);
    auto* runGroup = new QGroupBox(QStringLiteral("Runs"), this);
    runGroup->setLayout(runForm);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("suiteProgressBar"));
    progressText_ = new QLabel(this);
    progressText_->setObjectName(QStringLiteral("progressLabel"));
    runTable_ = new QTableWidget(0, static_cast<int>(std::size(kColumns)), this);
    runTable_->setObjectName(QStringLiteral("runTable"));
    QStringList headers;
    for (const char* c : kColumns)
        headers << QString::fromLatin1(c);
    runTable_->setHorizontalHeaderLabels(headers);
    runTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    runTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    runTable_->horizontalHeader()->setStretchLastSection(true);
    plot_ = new IdaPlotWidget(this);
    auto* savePlot = NewButton(this, "Save Picture...", "savePlotButton");
    connect(savePlot, &QPushButton::clicked, this, &SuiteWindow::savePlot);
    auto* plotPage = new QWidget(this);
    auto* plotBox = new QVBoxLayout(plotPage);
    plotBox->addWidget(plot_, 1);
    plotBox->addWidget(savePlot, 0, Qt::AlignRight);
    idaText_ = new QPlainTextEdit(this);
    idaText_->setObjectName(QStringLiteral("idaTableText"));
    idaText_->setReadOnly(true);
    idaText_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("resultTabs"));
    tabs->addTab(runTable_, QStringLiteral("Runs"));
    tabs->addTab(plotPage, QStringLiteral("IDA curves"));
    tabs->addTab(idaText_, QStringLiteral("IDA table"));

    auto* left = new QVBoxLayout;
    left->addWidget(suiteGroup);
    left->addWidget(runGroup);
    auto* right = new QVBoxLayout;
    right->addWidget(progress_);
    right->addWidget(progressText_);
    right->addWidget(tabs, 1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right, 1);
    auto* all = new QVBoxLayout(this);
    all->addLayout(columns, 1);
    all->addWidget(makeButtons(QDialogButtonBox::Close));
    resize(1380, 720);

    timer_ = new QTimer(this);
    timer_->setInterval(kPollMilliseconds);
    connect(timer_, &QTimer::timeout, this, &SuiteWindow::poll);
    updateButtons();
}

SuiteWindow::~SuiteWindow() {
    if (worker_ != nullptr) worker_->wait();
    if (runner_) runner_->Cancel();
}

void SuiteWindow::load() {
    const int type = document_.settings().AnalysisType;
    if (type >= kFirstSuiteType && type <= kMultipleSupport)
        analysisType_->setCurrentIndex(type - kFirstSuiteType);
    if (!document_.suitePath().empty() && suitePath_->text() != Q(document_.suitePath()))
        Try(this, [&] {
            std::vector<std::string> warnings;
            editor_->setSuite(motion::ReadSuiteFile(document_.suitePath(), warnings));
            suitePath_->setText(Q(document_.suitePath()));
        });
    if (folder_->text().isEmpty() && document_.hasModel()) {
        const QFileInfo model(Q(document_.path()));
        folder_->setText(model.dir().filePath(model.completeBaseName() + QStringLiteral("_suite")));
        showFolder();
    }
}

void SuiteWindow::openSuite(const QString& path) {
    Try(this, [&] {
        std::vector<std::string> warnings;
        editor_->setSuite(motion::ReadSuiteFile(Local(path), warnings));
        document_.setSuitePath(Local(QFileInfo(path).absoluteFilePath()));
        suitePath_->setText(Q(document_.suitePath()));
        emit suiteChanged();
    });
}

void SuiteWindow::saveSuite(const QString& path) {
    Try(this, [&] {
        const std::string file = Local(QFileInfo(path).absoluteFilePath());
        motion::WriteSuiteFile(editor_->suite(file), file);
        document_.setSuitePath(file);
        suitePath_->setText(path);
        emit suiteChanged();
    });
}

std::string SuiteWindow::folder() const {
    const QString dir = folder_->text().trimmed();
    if (dir.isEmpty()) throw InputError("Choose the folder of the runs");
    return Local(QFileInfo(dir).absoluteFilePath());
}

void SuiteWindow::writeRuns() {
    if (isBusy()) return;
    if (!document_.hasModel())
        throw InputError("Import a model before writing the runs of a suite");
    const std::string dir = folder();
    const std::string named =
        document_.suitePath().empty() ? dir + "/suite.json" : document_.suitePath();
    const motion::Suite suite = editor_->suite(named);
    TSettings settings = document_.settings();
    settings.AnalysisType = kFirstSuiteType + analysisType_->currentIndex();
    // The worker writes from copies: the dialogs may change the model meanwhile.
    startWork([model = document_.model(), settings, suite,
               dir] { suite::WriteSuite(model, settings, suite, dir, Solver); },
              [this] {
                  showFolder();
                  emit workEnded();
              });
}

void SuiteWindow::runSuite() {
    if (isBusy()) return;
    const std::string dir = folder();
    onCluster_ = slurm_->isChecked();
    if (onCluster_)
        runner_ = std::make_unique<motion::SlurmRunner>(
            dir, motion::SlurmOptions{Solver(), Local(partition_->text().trimmed()),
                                      Local(timeLimit_->text().trimmed()), jobs_->value(),
                                      kSlurmPollSeconds});
    else
        runner_ =
            std::make_unique<motion::LocalPool>(dir, motion::PoolOptions{Solver(), jobs_->value()});
    cancelAsked_ = false;
    runsLeft_ = true;
    showManifest(runner_->Runs(), runner_->Progress());
    timer_->start();
    updateButtons();
}

void SuiteWindow::cancelRun() {
    if (!runner_) return;
    cancelAsked_ = true;
    // A poll on the worker finishes first; poll() cancels then.
    if (worker_ == nullptr) poll();
}

bool SuiteWindow::isBusy() const {
    return worker_ != nullptr || runner_ != nullptr;
}

void SuiteWindow::startWork(std::function<void()> work, std::function<void()> then) {
    workError_ = nullptr;
    worker_ = QThread::create([this, work = std::move(work)] {
        try {
            work();
        } catch (...) {
            workError_ = std::current_exception();
        }
    });
    connect(worker_, &QThread::finished, this, [this, then = std::move(then)] {
        worker_->deleteLater();
        worker_ = nullptr;
        if (workError_) Try(this, [&] { std::rethrow_exception(workError_); });
        then();
        updateButtons();
    });
    updateButtons();
    worker_->start();
}

void SuiteWindow::poll() {
    if (!runner_ || worker_ != nullptr) return;
    if (cancelAsked_) {
        runner_->Cancel();
        runsLeft_ = false;
    } else if (onCluster_) {
        timer_->stop();
        startWork([this] { runsLeft_ = runner_->Poll(0); },
                  [this] {
                      if (workError_) runsLeft_ = false;
                      timer_->start();
                      poll();
                  });
        return;
    } else {
        try {
            runsLeft_ = runner_->Poll(0);
        } catch (const std::exception& e) {
            runsLeft_ = false;
            ShowErrorBox(this, Q(e.what()));
        }
    }
    showManifest(runner_->Runs(), runner_->Progress());
    if (!runsLeft_ || cancelAsked_) endRun();
}

void SuiteWindow::endRun() {
    timer_->stop();
    runner_.reset();
    updateButtons();
    emit workEnded();
}

void SuiteWindow::showFolder() {
    const QString dir = folder_->text().trimmed();
    const std::string manifest = Local(dir) + "/" + motion::kManifestFile;
    if (dir.isEmpty() || !std::filesystem::exists(manifest)) {
        runTable_->setRowCount(0);
        plot_->setTable({});
        idaText_->clear();
        progress_->reset();
        progressText_->clear();
    } else {
        Try(this, [&] {
            const motion::Manifest m = motion::ReadManifest(manifest);
            showManifest(m, motion::ProgressOf(m));
        });
    }
}

void SuiteWindow::showManifest(const motion::Manifest& m, const motion::SuiteProgress& p) {
    runTable_->setRowCount(static_cast<int>(m.runs.size()));
    const auto set = [&](int row, int column, const QString& text) {
        auto* item = runTable_->item(row, column);
        if (item == nullptr) runTable_->setItem(row, column, item = new QTableWidgetItem);
        if (item->text() != text) item->setText(text);
    };
    for (size_t k = 0; k < m.runs.size(); ++k) {
        const motion::ManifestRun& run = m.runs[k];
        const int row = static_cast<int>(k);
        set(row, 0, Q(run.folder));
        set(row, 1, Q(m.records[static_cast<size_t>(run.record)].label));
        set(row, 2, Q(text::FormatGeneral(m.intensities[static_cast<size_t>(run.level)])));
        QString status = QString::fromLatin1(kStatusText[static_cast<int>(run.status)]);
        if (run.result && !run.result->converged) status += QStringLiteral(", not converged");
        set(row, 3, status);
        set(row, 4, run.result ? Peak(run.result->peakDrift) : QString());
        set(row, 5, run.result ? Peak(run.result->peakRoof) : QString());
        set(row, 6, run.result ? Peak(run.result->peakBaseShear) : QString());
        set(row, 7, Q(run.reason));
    }
    progress_->setRange(0, std::max(p.total, 1));
    progress_->setValue(p.done + p.failed);
    progressText_->setText(Q(motion::ProgressText(p)));
    plot_->setTable(motion::BuildIdaTable(m));
    idaText_->setPlainText(Q(motion::IdaTableText(m)));
}

void SuiteWindow::savePlot() {
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Save the IDA curves"), QString(),
                                     QStringLiteral("PNG picture (*.png);;SVG drawing (*.svg)"));
    if (path.isEmpty()) return;
    Try(this, [&] {
        SavePicture(Local(path),
                    IdaPlotPicture(plot_->table(), kPlotWidth, kPlotHeight, "IDA curves"));
    });
}

void SuiteWindow::updateButtons() {
    writeButton_->setEnabled(!isBusy());
    runButton_->setEnabled(!isBusy());
    cancelButton_->setEnabled(runner_ != nullptr);
}

} // namespace vandra::gui
