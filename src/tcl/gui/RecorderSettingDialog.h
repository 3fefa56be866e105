// "Recorder Setting": the five recorder options.
#pragma once

#include "app/gui/ModelessDialog.h"
#include "model/Model.h"

namespace vandra::gui {

class RecorderSettingDialog : public ModelessDialog {
    Q_OBJECT
public:
    explicit RecorderSettingDialog(TSettings& settings, QWidget* parent = nullptr);

    void load() override;
    void apply() override;

private:
    TSettings& settings_;
};

} // namespace vandra::gui
