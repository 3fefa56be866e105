#include "view/gui/ViewOptionDialog.h"

#include "app/gui/SettingControls.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace vandra::gui {

ViewOptionDialog::ViewOptionDialog(TViewOptions& options, QWidget* parent)
    : QDialog(parent), options_(options) {
    setWindowTitle(QStringLiteral("View Option"));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NewFlagGroup(SettingNamed("ViewOpt"), this));
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, [this] {
        apply();
        accept();
        emit redrawRequested();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ViewOptionDialog::load() {
    LoadControl(this, SettingNamed("ViewOpt"), {nullptr, &options_});
}

void ViewOptionDialog::apply() {
    ApplyControl(this, SettingNamed("ViewOpt"), {nullptr, &options_});
}

void ViewOptionDialog::showEvent(QShowEvent* event) {
    // A window restored by the system (un-minimised) keeps what the user typed.
    if (!event->spontaneous()) load();
    QDialog::showEvent(event);
}

} // namespace vandra::gui
