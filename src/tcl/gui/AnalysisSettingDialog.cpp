#include "tcl/gui/AnalysisSettingDialog.h"

#include "app/gui/SettingControls.h"
#include "model/Errors.h"
#include "tcl/SettingsCheck.h"
#include "view/gui/LoadCaseList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace vandra::gui {
namespace {

// The settings in the order OK stores them.
constexpr std::string_view kStoreOrder[] = {
    "LoadSteps",   "LoadFactor",    "LoadCase",     "LoadVector",    "AnalysisType",
    "RebarMat",    "NumIntgrPts",   "AnalysisStep", "ControlDof",    "ControlDisp",
    "ControlNode", "UseAggregator", "ModalNumber",  "GenPlateFiber", "GenNodeMass"};

QString Label(std::string_view setting) {
    const std::string_view label = SettingNamed(setting).Label;
    return QString::fromLatin1(label.data(), static_cast<qsizetype>(label.size()));
}

QLineEdit* NewEdit(QWidget* parent, std::string_view setting) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(ControlName(SettingNamed(setting), "Edit"));
    return edit;
}

QComboBox* NewCombo(QWidget* parent, std::string_view setting) {
    const SettingEntry& entry = SettingNamed(setting);
    auto* combo = new QComboBox(parent);
    combo->setObjectName(ControlName(entry, "Combo"));
    for (std::string_view item : entry.Items)
        combo->addItem(QString::fromLatin1(item.data(), static_cast<qsizetype>(item.size())));
    return combo;
}

QCheckBox* NewCheck(QWidget* parent, std::string_view setting) {
    auto* box = new QCheckBox(Label(setting), parent);
    box->setObjectName(ControlName(SettingNamed(setting), "Check"));
    return box;
}

// A form row: the setting's label and its edit.
void AddEdit(QFormLayout* form, QWidget* parent, std::string_view setting) {
    form->addRow(Label(setting), NewEdit(parent, setting));
}

QGroupBox* NewGroup(QWidget* parent, const char* title, QLayout* content) {
    auto* group = new QGroupBox(QString::fromLatin1(title), parent);
    group->setLayout(content);
    return group;
}

QGroupBox* CheckGroup(QWidget* parent, const char* title, std::string_view setting) {
    auto* content = new QVBoxLayout;
    content->addWidget(NewCheck(parent, setting));
    return NewGroup(parent, title, content);
}

} // namespace

AnalysisSettingDialog::AnalysisSettingDialog(const TModel& model, TSettings& settings,
                                             QWidget* parent)
    : ModelessDialog(parent), model_(model), settings_(settings) {
    setWindowTitle(QStringLiteral("Analysis Setting"));

    auto* top = new QFormLayout;
    top->addRow(Label("AnalysisType"), NewCombo(this, "AnalysisType"));

    auto* loadControl = new QFormLayout;
    loadCase_ = NewCombo(this, "LoadCase");
    loadControl->addRow(Label("LoadCase"), loadCase_);
    AddEdit(loadControl, this, "LoadSteps");
    AddEdit(loadControl, this, "LoadFactor");

    auto* dispControl = new QFormLayout;
    loadVector_ = NewCombo(this, "LoadVector");
    dispControl->addRow(Label("LoadVector"), loadVector_);
    for (std::string_view setting : {"ControlNode", "ControlDisp", "ControlDof", "AnalysisStep"})
        AddEdit(dispControl, this, setting);

    auto* nonlinear = new QFormLayout;
    AddEdit(nonlinear, this, "NumIntgrPts");
    AddEdit(nonlinear, this, "RebarMat");

    auto* modal = new QFormLayout;
    AddEdit(modal, this, "ModalNumber");

    // Load and displacement control on the left, the options on the right.
    auto* left = new QVBoxLayout;
    left->addWidget(NewGroup(this, "Load Control Case (Const)", loadControl));
    left->addWidget(NewGroup(this, "Disp Control Case (Linear)", dispControl));
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(NewGroup(this, "Nonlinear Setting", nonlinear));
    right->addWidget(CheckGroup(this, "Section Aggregator", "UseAggregator"));
    right->addWidget(NewGroup(this, "Modal Number", modal));
    right->addWidget(CheckGroup(this, "Gen ND material", "GenPlateFiber"));
    right->addWidget(CheckGroup(this, "Gen Node Mass", "GenNodeMass"));
    right->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(columns);
    layout->addWidget(makeButtons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel));
}

void AnalysisSettingDialog::load() {
    const QStringList cases = LoadCaseItems(model_);
    loadCase_->clear();
    loadCase_->addItems(cases);
    loadVector_->clear();
    loadVector_->addItems(cases);
    for (std::string_view setting : kStoreOrder)
        LoadControl(this, SettingNamed(setting), {&settings_});
}

void AnalysisSettingDialog::apply() {
    // Read one by one in this order: a field that does not convert stops here, the settings
    // before it keep their new values and the later ones their old values. Values that convert
    // but that the generator would refuse are refused here with its message, storing nothing.
    TSettings next = settings_;
    try {
        for (std::string_view setting : kStoreOrder)
            ApplyControl(this, SettingNamed(setting), {&next});
    } catch (const ConversionError&) {
        settings_ = next;
        throw;
    }
    CheckSettings(model_, next);
    settings_ = next;
}

} // namespace vandra::gui
