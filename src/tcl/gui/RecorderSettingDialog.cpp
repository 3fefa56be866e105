#include "tcl/gui/RecorderSettingDialog.h"

#include "app/gui/SettingControls.h"

#include <QGroupBox>
#include <QVBoxLayout>

namespace vandra::gui {

RecorderSettingDialog::RecorderSettingDialog(TSettings& settings, QWidget* parent)
    : ModelessDialog(parent), settings_(settings) {
    setWindowTitle(QStringLiteral("Recorder Setting"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NewFlagGroup(SettingNamed("RecOpt"), this));
    layout->addWidget(makeButtons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel));
}

void RecorderSettingDialog::load() {
    LoadControl(this, SettingNamed("RecOpt"), {&settings_});
}

void RecorderSettingDialog::apply() {
    ApplyControl(this, SettingNamed("RecOpt"), {&settings_});
}

} // namespace vandra::gui
