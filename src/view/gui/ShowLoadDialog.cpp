#include "view/gui/ShowLoadDialog.h"

#include "view/gui/LoadCaseList.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace vandra::gui {

ShowLoadDialog::ShowLoadDialog(const TModel& model, TViewOptions& options, QWidget* parent)
    : QDialog(parent), model_(model), options_(options) {
    setWindowTitle(QStringLiteral("Show Load"));

    // Item k is ShownLoadType k + 1: kJointForce, then kFrameDistributed.
    loadType_ = new QComboBox(this);
    loadType_->setObjectName(QStringLiteral("loadTypeCombo"));
    loadType_->addItems({QStringLiteral("Point Force"), QStringLiteral("Element Load")});
    loadType_->setCurrentIndex(0);

    loadCase_ = new QComboBox(this);
    loadCase_->setObjectName(QStringLiteral("loadCaseCombo"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Load Type"), loadType_);
    form->addRow(QStringLiteral("Load Case"), loadCase_);

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
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, [this] {
        accept();
        apply();
        emit redrawRequested();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ShowLoadDialog::load() {
    loadCase_->clear();
    loadCase_->addItems(LoadCaseItems(model_));
    loadCase_->setCurrentIndex(loadCase_->count() > 0 ? 0 : -1);
}

void ShowLoadDialog::apply() {
    // currentIndex() is -1 for an empty list, which stores 0: no load labels.
    options_.ShownLoadCase = loadCase_->currentIndex() + 1;
    options_.ShownLoadType = loadType_->currentIndex() + 1;
}

void ShowLoadDialog::showEvent(QShowEvent* event) {
    // A window restored by the system (un-minimised) keeps what the user typed.
    if (!event->spontaneous()) load();
    QDialog::showEvent(event);
}

} // namespace vandra::gui
