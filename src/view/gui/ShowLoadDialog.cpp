#include "view/gui/ShowLoadDialog.h"

#include "view/gui/LoadCaseList.h"

#include <QComboBox>
#include <QFormLayout>
#include <QVBoxLayout>

namespace vandra::gui {

ShowLoadDialog::ShowLoadDialog(const TModel& model, TViewOptions& options, QWidget* parent)
    : ModelessDialog(parent), model_(model), options_(options) {
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

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(makeButtons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel));
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

} // namespace vandra::gui
