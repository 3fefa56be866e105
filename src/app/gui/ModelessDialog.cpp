#include "app/gui/ModelessDialog.h"

#include "app/gui/ErrorBox.h"

#include <QPushButton>
#include <QShowEvent>

#include <exception>

namespace vandra::gui {

ModelessDialog::ModelessDialog(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags) {
    setModal(false);
}

bool ModelessDialog::tryApply() {
    try {
        apply();
    } catch (const std::exception& e) {
        // Messages name files and model names in the system's 8-bit encoding.
        ShowErrorBox(this, QString::fromLocal8Bit(e.what()));
        return false;
    }
    emit applied();
    return true;
}

QDialogButtonBox* ModelessDialog::makeButtons(QDialogButtonBox::StandardButtons buttons) {
    buttons_ = new QDialogButtonBox(buttons, this);
    const std::pair<QDialogButtonBox::StandardButton, const char*> names[] = {
        {QDialogButtonBox::Ok, "okButton"},
        {QDialogButtonBox::Apply, "applyButton"},
        {QDialogButtonBox::Cancel, "cancelButton"},
        {QDialogButtonBox::Close, "closeButton"},
    };
    for (const auto& [which, name] : names) {
        if (QPushButton* b = buttons_->button(which)) b->setObjectName(QLatin1String(name));
    }
    // Return presses the button that stores: OK, else Apply.
    if (buttons_->button(QDialogButtonBox::Ok) == nullptr) {
        if (QPushButton* b = buttons_->button(QDialogButtonBox::Apply)) b->setDefault(true);
    }
    connect(buttons_, &QDialogButtonBox::clicked, this, [this](QAbstractButton* pressed) {
        switch (buttons_->standardButton(pressed)) {
        case QDialogButtonBox::Ok:
            if (tryApply()) accept();
            break;
        case QDialogButtonBox::Apply:
            tryApply();
            break;
        case QDialogButtonBox::Cancel:
        case QDialogButtonBox::Close:
            reject();
            break;
        default:
            break;
        }
    });
    return buttons_;
}

QPushButton* ModelessDialog::button(QDialogButtonBox::StandardButton which) const {
    return buttons_ != nullptr ? buttons_->button(which) : nullptr;
}

void ModelessDialog::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) load();
    QDialog::showEvent(event);
}

} // namespace vandra::gui
