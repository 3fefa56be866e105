#include "sections/gui/MaterialDialog.h"

#include "model/AddedMaterial.h"
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

const QColor kFaultColor(0xff, 0xd0, 0xd0);

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
        box->setReadOnly(true); // shown, stored only for a material being added
    for (QLineEdit* box : {name_, elastic_, poisson_})
        connect(box, &QLineEdit::textChanged, this, &MaterialDialog::checkTyped);
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
    add_ = new QPushButton(QStringLiteral("Add material"), this);
    add_->setObjectName(QStringLiteral("addMaterialButton"));
    add_->setToolTip(QStringLiteral("A material for the solids that have none"));
    connect(add_, &QPushButton::clicked, this, &MaterialDialog::startAdding);
    right->addWidget(add_);
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
    setAdding(false);
    list_->clear();
    for (int m = 1; m <= CountOf(model_.MatCount); ++m)
        list_->addItem(QString::fromLocal8Bit(model_.Mats[static_cast<size_t>(m)].Name));
    if (list_->count() == 0) {
        for (QLineEdit* box : {name_, elastic_, shear_, poisson_})
            box->clear();
        return;
    }
    list_->setCurrentRow(0);
    showMaterial(0);
}

void MaterialDialog::setAdding(bool adding) {
    adding_ = adding;
    for (const auto& [field, box] : elasticBoxes())
        box->setReadOnly(!adding);
    type_->setEnabled(!adding);
    add_->setEnabled(!adding && SolidsNeedMaterial(model_));
}

std::map<std::string_view, QLineEdit*> MaterialDialog::elasticBoxes() const {
    return {{"Name", name_}, {"E", elastic_}, {"U", poisson_}};
}

void MaterialDialog::startAdding() {
    {
        const QSignalBlocker blocker(list_);
        list_->addItem(QStringLiteral("(new material)"));
        list_->setCurrentRow(list_->count() - 1);
    }
    setAdding(true);
    for (QLineEdit* box : {name_, elastic_, shear_, poisson_})
        box->clear();
    type_->setCurrentIndex(kMatElastic - 1);
    showLaw(TMAT{.MatType = kMatElastic});
    name_->setFocus();
}

int MaterialDialog::selectedMaterial() const {
    const int row = list_->currentRow();
    if (adding_ || row < 0 || row >= CountOf(model_.MatCount)) return 0;
    return row + 1;
}

void MaterialDialog::showMaterial(int row) {
    if (adding_) load(); // another line chosen: the material being added is dropped
    if (row < 0 || row >= CountOf(model_.MatCount)) return;
    if (list_->currentRow() != row) {
        const QSignalBlocker blocker(list_);
        list_->setCurrentRow(row);
    }
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
    TMAT changed = adding_ ? TMAT{} : model_.Mats[static_cast<size_t>(selectedMaterial())];
    if (adding_) {
        changed.Name = name_->text().toLocal8Bit().toStdString();
        for (const auto& [field, member] : {std::pair{"E", &TMAT::E}, std::pair{"U", &TMAT::U}}) {
            if (failed != nullptr) *failed = field;
            try {
                changed.*member =
                    parse::Float(elasticBoxes().at(field)->text().toLocal8Bit().toStdString());
            } catch (const ConversionError& e) {
                throw ConversionError("Material " + changed.Name + ": " + field + " " + e.what());
            }
        }
        return changed;
    }
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
    if (selectedMaterial() == 0 && !adding_) return;
    std::string_view field;
    QString why;
    try {
        const TMAT mat = typed(&field);
        if (const std::optional<LawFault> fault =
                adding_ ? NewMaterialFault(model_, mat) : MaterialLawFault(mat)) {
            field = fault->field;
            why = QString::fromLocal8Bit(fault->message);
        }
    } catch (const ConversionError& e) {
        why = QString::fromLocal8Bit(e.what());
    }
    std::map<std::string_view, QLineEdit*> boxes = elasticBoxes();
    for (auto& [name, row] : params_)
        boxes[name] = row.edit;
    for (auto& [name, box] : boxes) {
        const bool bad = !why.isEmpty() && name == field;
        box->setProperty("fault", bad);
        // A palette, not a style sheet: a style sheet gives the box another font.
        QPalette palette;
        if (bad) palette.setColor(QPalette::Base, kFaultColor);
        box->setPalette(palette);
    }
    if (adding_ && why.isEmpty()) {
        const TMAT mat = typed(nullptr);
        shear_->setText(QString::fromLatin1(text::FormatF(mat.E / 2 / (1 + mat.U), 0)));
    }
    faultLabel_->setText(why);
}

void MaterialDialog::apply() {
    if (adding_) {
        const int m = AddSolidMaterial(model_, typed(nullptr));
        load();
        showMaterial(m - 1);
        return;
    }
    const int m = selectedMaterial();
    if (m == 0) return;
    if (FindMaterialLaw(type_->currentIndex() + 1) == nullptr) return;
    // All boxes are read and checked before anything is stored.
    const TMAT changed = typed(nullptr);
    CheckMaterialLaw(changed);
    model_.Mats[static_cast<size_t>(m)] = changed;
}

} // namespace vandra::gui
