// Analysis > "Run suite": a ground-motion suite of the open model, edited, saved (its path kept
// in the project), written as its folder of runs (suite/SuiteFolder.h), run on the local pool or
// as a Slurm job array, watched in a table of runs with a progress bar, and answered by the IDA
// curves and table.
//
// The runner never blocks the window: the local pool's Poll(0) is called from a timer; Slurm's
// Poll, which runs sbatch and squeue when due, and the writing of the runs (which may run the
// solver for T1) run on a worker thread while the window keeps repainting. Closing the window
// leaves a suite running; closing the program cancels it (its runs pending again).
#pragma once

#include "app/gui/ModelessDialog.h"
#include "document/Document.h"
#include "motion/SuiteRunner.h"

#include <exception>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QThread;
class QTimer;

namespace vandra::gui {

class IdaPlotWidget;
class SuiteEditor;

class SuiteWindow : public ModelessDialog {
    Q_OBJECT
public:
    SuiteWindow(Document& document, QWidget* parent = nullptr);
    ~SuiteWindow() override;

    // The document's suite (when it names one that reads) in the editor, the analysis type of the
    // settings when it is a time history, a folder beside the model when none is chosen.
    void load() override;

    // Reads a suite file into the editor; the document keeps its path.
    void openSuite(const QString& path);
    // Writes the editor's suite to path; the document keeps its path (Save Project saves it).
    void saveSuite(const QString& path);
    // Writes the folder of runs on a worker thread (a modal run for T1 when the levels need one).
    void writeRuns();
    // Runs the suite in the folder: on the local pool, or on Slurm when chosen. Runs already done
    // are kept.
    void runSuite();
    // Stops the runs in progress; they are pending again.
    void cancelRun();
    // A write or a run is in progress.
    bool isBusy() const;

    using FileChooser = std::function<QString(QWidget* parent)>;
    void setSuiteChoosers(FileChooser open, FileChooser save) {
        chooseSuiteToOpen_ = std::move(open);
        chooseSuiteToSave_ = std::move(save);
    }
    SuiteEditor* editor() const { return editor_; }

signals:
    // The document's suite path changed.
    void suiteChanged();
    // A write or a run ended (finished, failed or cancelled).
    void workEnded();

private:
    std::string folder() const;
    // Runs work on a worker thread; then() runs in the window's thread when it is over, after
    // an exception it threw was shown.
    void startWork(std::function<void()> work, std::function<void()> then);
    void poll();
    void endRun();
    // The runs and their answers in the table, the progress bar and the IDA tabs.
    void showManifest(const motion::Manifest& manifest, const motion::SuiteProgress& progress);
    // The suite written in the folder, when there is one.
    void showFolder();
    void savePlot();
    void updateButtons();

    Document& document_;
    SuiteEditor* editor_ = nullptr;
    QLabel* suitePath_ = nullptr;
    QComboBox* analysisType_ = nullptr;
    QLineEdit* folder_ = nullptr;
    QSpinBox* jobs_ = nullptr;
    QCheckBox* slurm_ = nullptr;
    QLineEdit* partition_ = nullptr;
    QLineEdit* timeLimit_ = nullptr;
    QPushButton* writeButton_ = nullptr;
    QPushButton* runButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* progressText_ = nullptr;
    QTableWidget* runTable_ = nullptr;
    IdaPlotWidget* plot_ = nullptr;
    QPlainTextEdit* idaText_ = nullptr;

    std::unique_ptr<motion::SuiteRunner> runner_;
    bool onCluster_ = false;
    bool cancelAsked_ = false;
    QTimer* timer_ = nullptr;
    QThread* worker_ = nullptr;
    std::exception_ptr workError_;
    bool runsLeft_ = false;
    FileChooser chooseSuiteToOpen_, chooseSuiteToSave_;
};

} // namespace vandra::gui
