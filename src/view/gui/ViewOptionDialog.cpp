#include "view/gui/ViewOptionDialog.h"

#include "app/gui/SettingControls.h"

#include <QGroupBox>
#include <QVBoxLayout>

namespace vandra::gui {

ViewOptionDialog::ViewOptionDialog(TViewOptions& options, QWidget* parent)
    : ModelessDialog(parent), options_(options) {
    setWindowTitle(QStringLiteral("View Option"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NewFlagGroup(SettingNamed("ViewOpt"), this));
    layout->addWidget(makeButtons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel));
}

void ViewOptionDialog::load() {
    LoadControl(this, SettingNamed("ViewOpt"), {nullptr, &options_});
}

void ViewOptionDialog::apply() {
    ApplyControl(this, SettingNamed("ViewOpt"), {nullptr, &options_});
}

} // namespace vandra::gui
