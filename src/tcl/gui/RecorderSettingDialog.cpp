#include "tcl/gui/RecorderSettingDialog.h"

#include "app/gui/SettingControls.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace vandra::gui {

RecorderSettingDialog::RecorderSettingDialog(TSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setWindowTitle(QStringLiteral("Recorder Setting"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NewFlagGroup(SettingNamed("RecOpt"), this));
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, [this] {
        apply();
        accept();
    });
}

void RecorderSettingDialog::load() {
    LoadControl(this, SettingNamed("RecOpt"), {&settings_});
}

void RecorderSettingDialog::apply() {
    ApplyControl(this, SettingNamed("RecOpt"), {&settings_});
}

void RecorderSettingDialog::showEvent(QShowEvent* event) {
    // A window restored by the system (un-minimised) keeps what the user typed.
    if (!event->spontaneous()) load();
    QDialog::showEvent(event);
}

} // namespace vandra::gui
