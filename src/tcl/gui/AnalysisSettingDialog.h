// "Analysis Setting": the analysis type, load cases, control values and nonlinear options.
#pragma once

#include "app/gui/ModelessDialog.h"
#include "model/Model.h"

class QComboBox;
class QLabel;

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
    // Greys out the settings the chosen analysis type does not use.
    void showUsedSettings();
    // The displacement the control joint reaches: Control Disp x Analysis Step.
    void showControlTarget();
    // What the typed record file holds (values, time step, peak), or why it cannot be read; greys
    // the time step of a PEER file, which gives its own.
    void showRecord();

    const TModel& model_;
    TSettings& settings_;

    QComboBox* loadCase_ = nullptr;
    QComboBox* loadVector_ = nullptr;
    QLabel* controlTarget_ = nullptr;
    QLabel* recordInfo_ = nullptr;
};

} // namespace vandra::gui
