#include "tcl/gui/AnalysisSettingDialog.h"

#include "app/gui/ErrorBox.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"
#include "tcl/SettingsCheck.h"
#include "view/gui/LoadCaseList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace vandra::gui {
namespace {

QLineEdit* NewEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QComboBox* NewCombo(QWidget* parent, const char* name) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    return combo;
}

QCheckBox* NewCheck(QWidget* parent, const char* caption, const char* name) {
    auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QGroupBox* NewGroup(QWidget* parent, const char* title, QLayout* content) {
    auto* group = new QGroupBox(QString::fromLatin1(title), parent);
    group->setLayout(content);
    return group;
}

// Item position of a 1-based code; a code outside the list selects nothing.
int ItemOf(const QComboBox* combo, int code) {
    return code >= 1 && code <= combo->count() ? code - 1 : -1;
}

void ShowInt(QLineEdit* edit, int value) {
    edit->setText(QString::fromLatin1(text::Format("%D", {value})));
}

// Three significant digits: the edit shows, and OK stores back, the rounded value.
void ShowReal(QLineEdit* edit, double value) {
    edit->setText(QString::fromLatin1(text::Format("%0.3E", {value})));
}

int ReadInt(const QLineEdit* edit) {
    return parse::Integer(edit->text().toLatin1().toStdString());
}
double ReadReal(const QLineEdit* edit) {
    return parse::Float(edit->text().toLatin1().toStdString());
}

} // namespace

AnalysisSettingDialog::AnalysisSettingDialog(TModel& model, TSettings& settings, QWidget* parent)
    : QDialog(parent), model_(model), settings_(settings) {
    setWindowTitle(QStringLiteral("Analysis Setting"));

    // Item k is AnalysisType k + 1.
    analysisType_ = NewCombo(this, "analysisTypeCombo");
    analysisType_->addItems(
        {QStringLiteral("Single Load Control"), QStringLiteral("Single Displacement Control"),
         QStringLiteral("Gravity+PushOver"), QStringLiteral("Modal Analysis"),
         QStringLiteral("Time History Analysis"), QStringLiteral("D+L+Time Hist Analysis"),
         QStringLiteral("MultipleSupport Excitation")});
    auto* top = new QFormLayout;
    top->addRow(QStringLiteral("Analysis Type"), analysisType_);

    auto* loadControl = new QFormLayout;
    loadCase_ = NewCombo(this, "loadCaseCombo");
    loadSteps_ = NewEdit(this, "loadStepsEdit");
    loadFactor_ = NewEdit(this, "loadFactorEdit");
    loadControl->addRow(QStringLiteral("Load Case"), loadCase_);
    loadControl->addRow(QStringLiteral("Load Steps"), loadSteps_);
    loadControl->addRow(QStringLiteral("Load Factor"), loadFactor_);

    auto* dispControl = new QFormLayout;
    loadVector_ = NewCombo(this, "loadVectorCombo");
    controlNode_ = NewEdit(this, "controlNodeEdit");
    controlDisp_ = NewEdit(this, "controlDispEdit");
    controlDof_ = NewEdit(this, "controlDofEdit");
    analysisStep_ = NewEdit(this, "analysisStepEdit");
    dispControl->addRow(QStringLiteral("Load Vector"), loadVector_);
    dispControl->addRow(QStringLiteral("Control Node"), controlNode_);
    dispControl->addRow(QStringLiteral("Control Disp"), controlDisp_);
    dispControl->addRow(QStringLiteral("Control Dof"), controlDof_);
    dispControl->addRow(QStringLiteral("Analysis Step"), analysisStep_);

    auto* nonlinear = new QFormLayout;
    numIntgrPts_ = NewEdit(this, "numIntgrPtsEdit");
    rebarMat_ = NewEdit(this, "rebarMatEdit");
    nonlinear->addRow(QStringLiteral("Force/Disp Beam Column numIntgrPts"), numIntgrPts_);
    nonlinear->addRow(QStringLiteral("Rebar Material Number"), rebarMat_);

    auto* aggregator = new QVBoxLayout;
    useAggregator_ = NewCheck(this, "Torsional Constant and Shear Area", "useAggregatorCheck");
    aggregator->addWidget(useAggregator_);

    auto* modal = new QFormLayout;
    modalNumber_ = NewEdit(this, "modalNumberEdit");
    modalNumber_->setText(QStringLiteral("12"));
    modal->addRow(QStringLiteral("Modal Number"), modalNumber_);

    auto* plateFiber = new QVBoxLayout;
    genPlateFiber_ =
        NewCheck(this, "Gen ND Material Plate Fiber Information", "genPlateFiberCheck");
    plateFiber->addWidget(genPlateFiber_);

    auto* nodeMass = new QVBoxLayout;
    genNodeMass_ = NewCheck(this, "Gen Mass Information", "genNodeMassCheck");
    nodeMass->addWidget(genNodeMass_);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);

    // Load and displacement control on the left, the options on the right.
    auto* left = new QVBoxLayout;
    left->addWidget(NewGroup(this, "Load Control Case (Const)", loadControl));
    left->addWidget(NewGroup(this, "Disp Control Case (Linear)", dispControl));
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(NewGroup(this, "Nonlinear Setting", nonlinear));
    right->addWidget(NewGroup(this, "Section Aggregator", aggregator));
    right->addWidget(NewGroup(this, "Modal Number", modal));
    right->addWidget(NewGroup(this, "Gen ND material", plateFiber));
    right->addWidget(NewGroup(this, "Gen Node Mass", nodeMass));
    right->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(columns);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, [this] {
        if (apply()) accept();
    });
}

void AnalysisSettingDialog::load() {
    const QStringList cases = LoadCaseItems(model_);
    loadCase_->clear();
    loadCase_->addItems(cases);
    loadVector_->clear();
    loadVector_->addItems(cases);

    analysisType_->setCurrentIndex(ItemOf(analysisType_, settings_.AnalysisType));
    loadCase_->setCurrentIndex(ItemOf(loadCase_, settings_.LoadCase));
    loadVector_->setCurrentIndex(ItemOf(loadVector_, settings_.LoadVector));

    ShowInt(loadSteps_, settings_.LoadSteps);
    ShowReal(loadFactor_, settings_.LoadFactor);
    ShowInt(controlNode_, settings_.ControlNode);
    ShowReal(controlDisp_, settings_.ControlDisp);
    ShowInt(controlDof_, settings_.ControlDof);
    ShowInt(analysisStep_, settings_.AnalysisStep);
    ShowInt(numIntgrPts_, settings_.NumIntgrPts);
    ShowInt(rebarMat_, settings_.RebarMat);

    useAggregator_->setChecked(settings_.UseAggregator);
    genPlateFiber_->setChecked(settings_.GenPlateFiber);
    genNodeMass_->setChecked(settings_.GenNodeMass);
}

bool AnalysisSettingDialog::apply() {
    // Read one by one in this order: a field that does not convert stops here, the settings
    // before it keep their new values and the later ones their old values. Values that convert
    // but that the generator would refuse are refused here with its message, storing nothing.
    TSettings next = settings_;
    try {
        next.LoadSteps = ReadInt(loadSteps_);
        next.LoadFactor = ReadReal(loadFactor_);
        next.LoadCase = loadCase_->currentIndex() + 1;
        next.LoadVector = loadVector_->currentIndex() + 1;
        next.AnalysisType = analysisType_->currentIndex() + 1;
        next.RebarMat = ReadInt(rebarMat_);
        next.NumIntgrPts = ReadInt(numIntgrPts_);
        next.AnalysisStep = ReadInt(analysisStep_);
        next.ControlDof = ReadInt(controlDof_);
        next.ControlDisp = ReadReal(controlDisp_);
        next.ControlNode = ReadInt(controlNode_);
        next.UseAggregator = useAggregator_->isChecked();
        next.ModalNumber = ReadInt(modalNumber_);
        next.GenPlateFiber = genPlateFiber_->isChecked();
        next.GenNodeMass = genNodeMass_->isChecked();
    } catch (const ConversionError& e) {
        settings_ = next;
        ShowErrorBox(this, QString::fromLatin1(e.what()));
        return false;
    }
    try {
        CheckSettings(model_, next);
    } catch (const InputError& e) {
        ShowErrorBox(this, QString::fromLatin1(e.what()));
        return false;
    }
    settings_ = next;
    return true;
}

void AnalysisSettingDialog::showEvent(QShowEvent* event) {
    // A window restored by the system (un-minimised) keeps what the user typed.
    if (!event->spontaneous()) load();
    QDialog::showEvent(event);
}

} // namespace vandra::gui
