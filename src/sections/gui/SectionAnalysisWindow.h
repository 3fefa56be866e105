// "Section analysis" of the Frame Section dialog: one frame section's moment-curvature curve at an
// axial load, run in the solver without blocking the window (tcl/MomentCurvature.md), with its
// marks, beside the axial force - moment interaction diagram the core computes for the same fibers
// (sections/SectionAnalysis.md). An elastic section shows its stiffness line and says why it has
// no curve; a refusal, a solver that is missing or fails is shown in the window, which stays
// usable. The curve exports as CSV, both plots as one PNG.
#pragma once

#include "model/Model.h"
#include "sections/Interaction.h"

#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace vandra {
class SectionRun;
}

namespace vandra::gui {

class HistoryPlot;

class SectionAnalysisWindow : public QWidget {
    Q_OBJECT
public:
    SectionAnalysisWindow(const TModel& model, const TSettings& settings,
                          QWidget* parent = nullptr);

    // Asks for the file to write; empty when cancelled.
    using SaveChooser =
        std::function<QString(QWidget*, const QString& caption, const QString& filter)>;
    void setSaveChooser(SaveChooser chooser) { chooseSave_ = std::move(chooser); }
    // The solver to run; empty (the default) looks for it as Run OpenSEES does, at each run.
    void setSolver(const QString& solver) { solver_ = solver; }

    // Shows frame section s (1..SectionCount): its diagram and, for an elastic section, its
    // stiffness line; the curve of another section goes.
    void showSection(int s);
    int section() const { return section_; }
    // The model was replaced: stops a run, shows nothing and closes.
    void forget();
    // Run: starts the solver on the section with the axial load, axis and curvature typed, and
    // returns at once; a refusal or a missing solver is shown at once.
    void run();
    const SectionRun& sectionRun() const { return *run_; }

    void exportCsv(const QString& path) const;
    void exportPng(const QString& path) const;
    // Both plots side by side.
    QImage picture() const;

    HistoryPlot* curvePlot() const { return curvePlot_; }
    HistoryPlot* interactionPlot() const { return interactionPlot_; }

signals:
    // A run ended, completely or not.
    void runFinished();

private:
    BendingAxis chosenAxis() const;
    void showCurve();
    void showDiagram();
    void showStatus(const QString& text, const QString& output = QString());
    template <typename Work> void guarded(Work&& work);

    const TModel& model_;
    const TSettings& settings_;
    int section_ = 0;
    QString solver_;
    SectionRun* run_ = nullptr;
    SaveChooser chooseSave_;

    QLabel* sectionLabel_ = nullptr;
    QLineEdit* axialEdit_ = nullptr;
    QComboBox* axisCombo_ = nullptr;
    QLineEdit* curvatureEdit_ = nullptr;
    QPushButton* runButton_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    QPushButton* csvButton_ = nullptr;
    HistoryPlot* curvePlot_ = nullptr;
    HistoryPlot* interactionPlot_ = nullptr;
    QListWidget* marksList_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QPlainTextEdit* output_ = nullptr;
};

} // namespace vandra::gui
