#include "app/gui/WarningsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vandra::gui {

WarningsDialog::WarningsDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Model check"));
    setObjectName(QStringLiteral("warningsDialog"));
    resize(760, 320);
    caption_ = new QLabel(this);
    list_ = new QPlainTextEdit(this);
    list_->setReadOnly(true);
    list_->setLineWrapMode(QPlainTextEdit::NoWrap);
    doNotShowAgain_ = new QCheckBox(QStringLiteral("Do not show again for this model"), this);
    doNotShowAgain_->setObjectName(QStringLiteral("doNotShowAgain"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption_);
    layout->addWidget(list_);
    layout->addWidget(doNotShowAgain_);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(this, &QDialog::finished, this, [this] { remember(); });
}

void WarningsDialog::remember() {
    if (doNotShowAgain_->isChecked()) silenced_.insert(model_);
}

bool WarningsDialog::showWarnings(const QString& model, const QString& caption,
                                  const WarningList& warnings) {
    // A choice made while the dialog was still open counts before it shows something else.
    if (isVisible()) remember();
    if (warnings.empty() || silenced(model)) return false;
    model_ = model;
    caption_->setText(caption);
    QStringList lines;
    for (const TWarning& w : warnings)
        lines << QString::fromLatin1(FormatWarning(w));
    list_->setPlainText(lines.join(QLatin1Char('\n')));
    doNotShowAgain_->setChecked(false);
    show();
    raise();
    return true;
}

QString WarningsDialog::text() const {
    return list_->toPlainText();
}

} // namespace vandra::gui
