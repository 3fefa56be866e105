// "Recorder Setting": the five recorder options.
#pragma once

#include "model/Model.h"

#include <QDialog>

namespace vandra::gui {

class RecorderSettingDialog : public QDialog {
    Q_OBJECT
public:
    explicit RecorderSettingDialog(TSettings& settings, QWidget* parent = nullptr);

    void load();
    void apply();

protected:
    void showEvent(QShowEvent* event) override;

private:
    TSettings& settings_;
};

} // namespace vandra::gui
