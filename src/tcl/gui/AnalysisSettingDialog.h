// "Analysis Setting": the analysis type, load cases, control values and nonlinear options.
#pragma once

#include "model/Model.h"

#include <QDialog>

class QComboBox;

namespace vandra::gui {

class AnalysisSettingDialog : public QDialog {
    Q_OBJECT
public:
    AnalysisSettingDialog(const TModel& model, TSettings& settings, QWidget* parent = nullptr);

    void load();  // fills every control from the settings (runs whenever the dialog is shown)
    bool apply(); // stores the controls in order; false (message shown, dialog open) on an error

protected:
    void showEvent(QShowEvent* event) override;

private:
    const TModel& model_;
    TSettings& settings_;

    QComboBox* loadCase_ = nullptr;
    QComboBox* loadVector_ = nullptr;
};

} // namespace vandra::gui
