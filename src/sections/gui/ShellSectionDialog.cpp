#include "sections/gui/ShellSectionDialog.h"

#include "model/NumberText.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vandra::gui {

ShellSectionDialog::ShellSectionDialog(TModel& model, QWidget* parent)
    : ModelessDialog(parent), model_(model) {
    setWindowTitle(QStringLiteral("Shell Section"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    resize(502, 423);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("shellSectionList"));

    auto* group = new QGroupBox(QStringLiteral("Shell Section Properties"), this);
    auto* grid = new QGridLayout(group);
    name_ = new QLineEdit(group);
    name_->setObjectName(QStringLiteral("shellSecNameEdit"));
    thickness_ = new QLineEdit(group);
    thickness_->setObjectName(QStringLiteral("shellThicknessEdit"));
    material_ = new QLineEdit(group);
    material_->setObjectName(QStringLiteral("secMaterialEdit"));
    type_ = new QComboBox(group);
    type_->setObjectName(QStringLiteral("shellNonlinearTypeCombo"));
    type_->addItems({QStringLiteral("ShellMITC4"), QStringLiteral("ShellDKGQ")});
    const std::pair<const char*, QWidget*> rows[] = {{"Shell Sec Name", name_},
                                                     {"Shell Thickness", thickness_},
                                                     {"Sec Material", material_},
                                                     {"Shell Nonlinear Type", type_}};
    int row = 0;
    for (const auto& [label, widget] : rows) {
        grid->addWidget(new QLabel(QString::fromLatin1(label), group), row, 0);
        grid->addWidget(widget, row++, 1);
    }

    auto* right = new QVBoxLayout;
    right->addWidget(group);
    right->addStretch();
    right->addWidget(makeButtons(QDialogButtonBox::Apply | QDialogButtonBox::Close));
    QPushButton* modify = button(QDialogButtonBox::Apply);
    modify->setText(QStringLiteral("Modify"));
    modify->setObjectName(QStringLiteral("modifyButton"));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(right);

    connect(list_, &QListWidget::currentRowChanged, this, &ShellSectionDialog::showSection);
}

void ShellSectionDialog::load() {
    const QSignalBlocker blocker(list_);
    list_->clear();
    for (int a = 1; a <= CountOf(model_.AreaSecCount); ++a)
        list_->addItem(QString::fromLocal8Bit(model_.AreaSecs[static_cast<size_t>(a)].Name));
    if (list_->count() == 0) return;
    list_->setCurrentRow(0);
    showSection(0);
}

void ShellSectionDialog::showSection(int row) {
    if (row < 0 || row >= CountOf(model_.AreaSecCount)) return;
    const TAREASEC& sec = model_.AreaSecs[static_cast<size_t>(row + 1)];
    name_->setText(QString::fromLocal8Bit(sec.Name));
    thickness_->setText(QString::fromLatin1(text::FormatF(sec.Thickness, 0)));
    const bool hasMaterial = sec.MatIdx >= 1 && sec.MatIdx <= CountOf(model_.MatCount);
    material_->setText(
        hasMaterial ? QString::fromLocal8Bit(model_.Mats[static_cast<size_t>(sec.MatIdx)].Name)
                    : QString());
    const bool known = sec.NonlinType == kShellMITC4 || sec.NonlinType == kShellDKGQ;
    type_->setCurrentIndex(known ? sec.NonlinType : -1);
}

void ShellSectionDialog::apply() {
    const int row = list_->currentRow();
    if (row < 0 || row >= CountOf(model_.AreaSecCount) || type_->currentIndex() < 0) return;
    model_.AreaSecs[static_cast<size_t>(row + 1)].NonlinType = type_->currentIndex();
}

} // namespace vandra::gui
