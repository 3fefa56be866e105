// Post > "Node History": one joint's X, Y or Z displacement against the recorded time column (for
// a displacement-controlled pushover the load factor, so that the control joint's plot is the
// capacity curve). The joint is given by number or picked in the model view; the curve exports as
// CSV and the plot as PNG.
#pragma once

#include "model/Model.h"
#include "post/Results.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vandra::gui {

class HistoryPlot;
class ResultsFolder;

class NodeHistoryWindow : public QWidget {
    Q_OBJECT
public:
    NodeHistoryWindow(const TModel& model, ResultsFolder& folder, QWidget* parent = nullptr);

    // Asks for the file to write; empty when cancelled.
    using SaveChooser =
        std::function<QString(QWidget*, const QString& caption, const QString& filter)>;
    void setSaveChooser(SaveChooser chooser) { chooseSave_ = std::move(chooser); }

    // Reads the joint's history from the results folder and plots it.
    void showJoint(int joint);
    // True while the next click in the model view picks the joint.
    bool isPicking() const;
    void jointPicked(int joint);
    // The results it was read from are gone (another model, Clear Results): no curve is shown.
    void clearHistory();

    void exportCsv(const QString& path) const;
    void exportPng(const QString& path) const;

    const TJointHistory& history() const { return history_; }
    HistoryPlot* plot() const { return plot_; }

private:
    template <typename Work> void guarded(Work&& work);
    void replot();

    const TModel& model_;
    ResultsFolder& folder_;
    TJointHistory history_;
    int joint_ = 0;
    QLineEdit* jointEdit_ = nullptr;
    QComboBox* directionCombo_ = nullptr;
    QCheckBox* swapCheck_ = nullptr;
    QPushButton* pickButton_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    HistoryPlot* plot_ = nullptr;
    SaveChooser chooseSave_;
};

} // namespace vandra::gui
