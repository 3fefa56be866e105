// Post > "Reactions and Storey Shear", "Periods and Mass", "Storey Drift": the tables an engineer
// designs with, one tab each, read from the results folder at one load step or as the envelope of
// every step. Reactions per support with their total and the base shear over the steps or against
// the control joint's displacement (a pushover's capacity curve, from the drifts' history); storey
// shears at the step (or their envelope) and one storey's shear over the steps; periods,
// frequencies and participating mass ratios with their sums; storey drifts with the drift profile
// (height against the largest drift of the run).
#pragma once

#include "model/Model.h"
#include "post/PostTables.h"
#include "post/Results.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;
class QTabWidget;

namespace vandra::gui {

class HistoryPlot;
class ResultsFolder;

class PostTablesWindow : public QWidget {
    Q_OBJECT
public:
    enum Tab { ReactionsTab = 0, StoreyShearTab, PeriodsTab, DriftsTab };

    PostTablesWindow(const TModel& model, const TSettings& settings, TResults& results,
                     ResultsFolder& folder, QWidget* parent = nullptr);

    // Shows the window at that tab; the first time, loads what the folder holds.
    void showTab(Tab tab);
    // Reads what the settings say the script recorded (reactions with RecReactions, storey shears
    // with the element forces, periods of a modal analysis, drifts from the node displacements)
    // into the results and the tables. Each part that cannot be read is said in the status line;
    // the others are shown.
    void loadTables();
    // Empties the tables and plots of a model that was replaced: the next showTab() loads anew.
    void forget();

    QTableWidget* table(Tab tab) const { return tables_[tab]; }
    QString statusText() const;

private:
    // A table above its plot, with the plot's direction and a second choice (when given).
    QWidget* makePage(Tab tab, QComboBox* direction, HistoryPlot* plot,
                      const QString& secondLabel = {}, QComboBox* second = nullptr);
    void fill(Tab tab, const TTable& table);
    void replot();

    const TModel& model_;
    const TSettings& settings_;
    TResults& results_;
    ResultsFolder& folder_;
    bool loaded_ = false;

    QTabWidget* tabs_ = nullptr;
    QTableWidget* tables_[4] = {};
    QLineEdit* stepEdit_ = nullptr;
    QCheckBox* envelopeCheck_ = nullptr;
    QComboBox* shearDirection_ = nullptr;
    QComboBox* shearAgainst_ = nullptr;
    QComboBox* storeyDirection_ = nullptr;
    QComboBox* storeyCombo_ = nullptr;
    QComboBox* driftDirection_ = nullptr;
    HistoryPlot* shearPlot_ = nullptr;
    HistoryPlot* storeyPlot_ = nullptr;
    HistoryPlot* driftPlot_ = nullptr;
    QLabel* statusLabel_ = nullptr;
};

} // namespace vandra::gui
