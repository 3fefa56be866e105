// "Analysis Setting": the analysis type, load cases, control values and nonlinear options.
#pragma once

#include "model/Model.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace vandra::gui {

class AnalysisSettingDialog : public QDialog {
    Q_OBJECT
public:
    AnalysisSettingDialog(TModel& model, TSettings& settings, QWidget* parent = nullptr);

    void load();  // fills the controls from the store (runs whenever the dialog is shown)
    bool apply(); // stores the controls in order; false (message shown, dialog open) on an error

protected:
    void showEvent(QShowEvent* event) override;

private:
    TModel& model_;
    TSettings& settings_;

    QComboBox* analysisType_ = nullptr;
    QComboBox* loadCase_ = nullptr;
    QLineEdit* loadSteps_ = nullptr;
    QLineEdit* loadFactor_ = nullptr;
    QComboBox* loadVector_ = nullptr;
    QLineEdit* controlNode_ = nullptr;
    QLineEdit* controlDisp_ = nullptr;
    QLineEdit* controlDof_ = nullptr;
    QLineEdit* analysisStep_ = nullptr;
    QLineEdit* numIntgrPts_ = nullptr;
    QLineEdit* rebarMat_ = nullptr;
    QCheckBox* useAggregator_ = nullptr;
    QLineEdit* modalNumber_ = nullptr; // keeps its own text: not refreshed by load()
    QCheckBox* genPlateFiber_ = nullptr;
    QCheckBox* genNodeMass_ = nullptr;
};

} // namespace vandra::gui
