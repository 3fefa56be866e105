#include "sections/gui/MaterialDialog.h"

#include "model/Errors.h"
#include "model/MaterialLaws.h"
#include "model/NumberParse.h"
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
namespace {

QString Latin(std::string_view s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

const QString kFaultStyle = QStringLiteral("QLineEdit { background: #ffd0d0; }");

} // namespace

MaterialDialog::MaterialDialog(TModel& model, QWidget* parent)
    : ModelessDialog(parent, Qt::Tool), model_(model) {
    setWindowTitle(QStringLiteral("Material Data"));
    setFont(QFont(QStringLiteral("Arial"), 8));
    resize(410, 420);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("materialList"));

    auto* elastic = new QGroupBox(QStringLiteral("Material Properties(Elastic)"), this);
    auto* grid = new QGridLayout(elastic);
    name_ = new QLineEdit(elastic);
    name_->setObjectName(QStringLiteral("nameEdit"));
    type_ = new QComboBox(elastic);
    type_->setObjectName(QStringLiteral("typeCombo"));
    for (const MaterialLaw& law : MaterialLaws())
        type_->addItem(Latin(law.name));
    elastic_ = new QLineEdit(elastic);
    elastic_->setObjectName(QStringLiteral("elasticModulusEdit"));
    shear_ = new QLineEdit(elastic);
    shear_->setObjectName(QStringLiteral("shearModulusEdit"));
    poisson_ = new QLineEdit(elastic);
    poisson_->setObjectName(QStringLiteral("poissonRatioEdit"));
    int row = 0;
    for (QLineEdit* box : {name_, elastic_, shear_, poisson_})
        box->setReadOnly(true); // shown, never stored
    const std::pair<const char*, QWidget*> rows[] = {{"Name", name_},
                                                     {"Type", type_},
                                                     {"Elastic Modulus", elastic_},
                                                     {"Shear Modulus", shear_},
                                                     {"Posson's Ratio", poisson_}};
    for (const auto& [label, widget] : rows) {
        grid->addWidget(new QLabel(QString::fromLatin1(label), elastic), row, 0);
        grid->addWidget(widget, row++, 1);
    }

    auto* nonlinear = new QGroupBox(QStringLiteral("Nonlinear Material Setting"), this);
    auto* paramGrid = new QGridLayout(nonlinear);
    row = 0;
    for (const MaterialParam& p : MaterialParams()) {
        auto* label = new QLabel(Latin(p.name), nonlinear);
        auto* edit = new QLineEdit(nonlinear);
        edit->setObjectName(QStringLiteral("param%1Edit").arg(Latin(p.name)));
        paramGrid->addWidget(label, row, 0);
        paramGrid->addWidget(edit, row++, 1);
        label->hide();
        edit->hide();
        params_[p.name] = {label, edit};
        connect(edit, &QLineEdit::textChanged, this, &MaterialDialog::checkTyped);
    }
    faultLabel_ = new QLabel(nonlinear);
    faultLabel_->setObjectName(QStringLiteral("faultLabel"));
    faultLabel_->setWordWrap(true);
    faultLabel_->setMinimumHeight(3 * faultLabel_->fontMetrics().height());
    faultLabel_->setStyleSheet(QStringLiteral("color: #b00000;"));
    paramGrid->addWidget(faultLabel_, row, 0, 1, 2);

    auto* left = new QVBoxLayout;
    left->addWidget(elastic);
    left->addWidget(nonlinear);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(list_);
    right->addWidget(makeButtons(QDialogButtonBox::Apply | QDialogButtonBox::Close));
    QPushButton* modify = button(QDialogButtonBox::Apply);
    modify->setText(QStringLiteral("Modify"));
    modify->setObjectName(QStringLiteral("modifyButton"));
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addLayout(right, 2);

    connect(list_, &QListWidget::currentRowChanged, this, &MaterialDialog::showMaterial);
    // Choosing a law shows its parameters: the material's own, defaults where it has none.
    connect(type_, &QComboBox::activated, this, [this](int index) {
        const int m = selectedMaterial();
        if (m == 0) return;
        TMAT shown = model_.Mats[static_cast<size_t>(m)];
        ChooseMaterialLaw(shown, index + 1);
        showLaw(shown);
    });
}

void MaterialDialog::load() {
    const QSignalBlocker blocker(list_);
    list_->clear();
    for (int m = 1; m <= CountOf(model_.MatCount); ++m)
        list_->addItem(QString::fromLocal8Bit(model_.Mats[static_cast<size_t>(m)].Name));
    if (list_->count() == 0) return;
    list_->setCurrentRow(0);
    showMaterial(0);
}

int MaterialDialog::selectedMaterial() const {
    const int row = list_->currentRow();
    if (row < 0 || row >= CountOf(model_.MatCount)) return 0;
    return row + 1;
}

void MaterialDialog::showMaterial(int row) {
    if (row < 0 || row >= CountOf(model_.MatCount)) return;
    const TMAT& mat = model_.Mats[static_cast<size_t>(row + 1)];
    name_->setText(QString::fromLocal8Bit(mat.Name));
    type_->setCurrentIndex(FindMaterialLaw(mat.MatType) ? mat.MatType - 1 : -1);
    elastic_->setText(QString::fromLatin1(text::FormatF(mat.E, 0)));
    shear_->setText(QString::fromLatin1(text::FormatF(mat.G, 0)));
    poisson_->setText(QString::fromLatin1(text::FormatF(mat.U, 3)));
    showLaw(mat);
}

void MaterialDialog::showLaw(const TMAT& mat) {
    for (auto& [name, row] : params_) {
        row.label->hide();
        row.edit->hide();
    }
    const MaterialLaw* law = FindMaterialLaw(mat.MatType);
    if (law == nullptr) return;
    for (const MaterialParam& p : law->params) {
        const ParamRow& row = params_.at(p.name);
        row.edit->setText(QString::fromLatin1(text::FormatGeneral(mat.*p.field)));
        row.label->show();
        row.edit->show();
    }
    checkTyped();
}

TMAT MaterialDialog::typed(std::string_view* failed) const {
    TMAT changed = model_.Mats[static_cast<size_t>(selectedMaterial())];
    const MaterialLaw* law = FindMaterialLaw(type_->currentIndex() + 1);
    if (law == nullptr) return changed;
    changed.MatType = law->type;
    for (const MaterialParam& p : law->params) {
        if (failed != nullptr) *failed = p.name;
        try {
            changed.*p.field =
                parse::Float(params_.at(p.name).edit->text().toLocal8Bit().toStdString());
        } catch (const ConversionError& e) {
            throw ConversionError("Material " + changed.Name + ": " + std::string(p.name) + " " +
                                  e.what());
        }
    }
    return changed;
}

void MaterialDialog::checkTyped() {
    if (selectedMaterial() == 0) return;
    std::string_view field;
    QString why;
    try {
        if (const std::optional<LawFault> fault = MaterialLawFault(typed(&field))) {
            field = fault->field;
            why = QString::fromLocal8Bit(fault->message);
        }
    } catch (const ConversionError& e) {
        why = QString::fromLocal8Bit(e.what());
    }
    for (auto& [name, row] : params_) {
        const bool bad = !why.isEmpty() && name == field;
        row.edit->setProperty("fault", bad);
        row.edit->setStyleSheet(bad ? kFaultStyle : QString());
    }
    faultLabel_->setText(why);
}

void MaterialDialog::apply() {
    const int m = selectedMaterial();
    if (m == 0) return;
    if (FindMaterialLaw(type_->currentIndex() + 1) == nullptr) return;
    // All boxes are read and checked before anything is stored.
    const TMAT changed = typed(nullptr);
    CheckMaterialLaw(changed);
    model_.Mats[static_cast<size_t>(m)] = changed;
}

} // namespace vandra::gui
