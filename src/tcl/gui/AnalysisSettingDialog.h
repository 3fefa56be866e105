// "Analysis Setting": the analysis type, load cases, control values and nonlinear options.
#pragma once

#include "model/Model.h"

#include <QDialog>

namespace vandra::gui {

class AnalysisSettingDialog : public QDialog {
    Q_OBJECT
public:
    AnalysisSettingDialog(TModel& model, TSettings& settings, QWidget* parent = nullptr);

    void load();   // fills the controls from the store (runs whenever the dialog is shown)
    bool apply();  // stores the controls in order; false (message shown, dialog open) on an error

protected:
    void showEvent(QShowEvent* event) override;

private:
    TModel& model_;
    TSettings& settings_;
};

}  // namespace vandra::gui
