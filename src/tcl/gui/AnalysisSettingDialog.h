// "Analysis Setting": the analysis type, load cases, control values and nonlinear options.
#pragma once

#include "app/gui/ModelessDialog.h"
#include "model/Model.h"

class QComboBox;

namespace vandra::gui {

class AnalysisSettingDialog : public ModelessDialog {
    Q_OBJECT
public:
    AnalysisSettingDialog(const TModel& model, TSettings& settings, QWidget* parent = nullptr);

    void load() override;
    // Stores the controls in order; throws on a value that does not convert or that the script
    // generator would refuse.
    void apply() override;

private:
    const TModel& model_;
    TSettings& settings_;

    QComboBox* loadCase_ = nullptr;
    QComboBox* loadVector_ = nullptr;
};

} // namespace vandra::gui
