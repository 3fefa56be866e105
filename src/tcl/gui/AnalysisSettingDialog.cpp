#include "tcl/gui/AnalysisSettingDialog.h"

#include "app/gui/FileDialogs.h"
#include "app/gui/SettingControls.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"
#include "tcl/GroundRecord.h"
#include "tcl/SettingsCheck.h"
#include "view/gui/LoadCaseList.h"

#include <optional>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vandra::gui {
namespace {

// The settings in the order OK stores them.
constexpr std::string_view kStoreOrder[] = {
    "LoadSteps",   "LoadFactor",    "LoadCase",     "LoadVector",      "AnalysisType",
    "RebarMat",    "NumIntgrPts",   "AnalysisStep", "ControlDof",      "ControlDisp",
    "ControlNode", "UseAggregator", "ModalNumber",  "GenPlateFiber",   "GenNodeMass",
    "RecordFile",  "RecordDt",      "RecordScale",  "RecordDirection", "DampingRatio"};

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
    controlTarget_ = new QLabel(this);
    controlTarget_->setObjectName(QStringLiteral("controlTargetLabel"));
    controlTarget_->setWordWrap(true);
    dispControl->addRow(controlTarget_);

    auto* nonlinear = new QFormLayout;
    AddEdit(nonlinear, this, "NumIntgrPts");
    AddEdit(nonlinear, this, "RebarMat");

    auto* modal = new QFormLayout;
    AddEdit(modal, this, "ModalNumber");

    // The record of a time history: its file, chosen or typed, and what the program reads in it.
    auto* timeHistory = new QFormLayout;
    auto* recordRow = new QHBoxLayout;
    auto* recordFile = NewEdit(this, "RecordFile");
    recordFile->setMinimumWidth(260);
    auto* browse = new QPushButton(QStringLiteral("Browse..."), this);
    browse->setObjectName(QStringLiteral("recordFileButton"));
    recordRow->addWidget(recordFile);
    recordRow->addWidget(browse);
    timeHistory->addRow(Label("RecordFile"), recordRow);
    recordInfo_ = new QLabel(this);
    recordInfo_->setObjectName(QStringLiteral("recordInfoLabel"));
    recordInfo_->setWordWrap(true);
    timeHistory->addRow(recordInfo_);
    AddEdit(timeHistory, this, "RecordDt");
    AddEdit(timeHistory, this, "RecordScale");
    timeHistory->addRow(Label("RecordDirection"), NewCombo(this, "RecordDirection"));
    AddEdit(timeHistory, this, "DampingRatio");

    // Load and displacement control on the left, the options on the right.
    auto* left = new QVBoxLayout;
    left->addWidget(NewGroup(this, "Load Control Case (Const)", loadControl));
    left->addWidget(NewGroup(this, "Disp Control Case (Linear)", dispControl));
    left->addWidget(NewGroup(this, "Time History (record in g)", timeHistory));
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

    connect(findChild<QComboBox*>(QStringLiteral("analysisTypeCombo")),
            &QComboBox::currentIndexChanged, this, &AnalysisSettingDialog::showUsedSettings);
    for (const char* name : {"controlDispEdit", "analysisStepEdit"})
        connect(findChild<QLineEdit*>(QLatin1String(name)), &QLineEdit::textChanged, this,
                &AnalysisSettingDialog::showControlTarget);
    connect(browse, &QPushButton::clicked, this, [this, recordFile] {
        const QString chosen =
            AskFileToOpen(this, QStringLiteral("Record File"),
                          QStringLiteral("Records (*.AT2 *.at2 *.txt *.dat);;All files (*)"),
                          QStringLiteral("record"));
        if (chosen.isEmpty()) return;
        recordFile->setText(chosen);
        showRecord();
    });
    for (const char* name : {"recordFileEdit", "recordDtEdit"})
        connect(findChild<QLineEdit*>(QLatin1String(name)), &QLineEdit::editingFinished, this,
                &AnalysisSettingDialog::showRecord);
}

void AnalysisSettingDialog::showRecord() {
    const auto text = [this](const char* name) {
        return findChild<QLineEdit*>(QLatin1String(name))->text().trimmed();
    };
    TSettings typed;
    typed.RecordFile = text("recordFileEdit").toLocal8Bit().toStdString();
    typed.RecordDt = parse::TryFloat(text("recordDtEdit").toStdString()).value_or(0);
    const bool peer = RecordSourceOf(typed).format == motion::RecordFormat::kPeer;
    const int type = findChild<QComboBox*>(QStringLiteral("analysisTypeCombo"))->currentIndex() + 1;
    findChild<QLineEdit*>(QStringLiteral("recordDtEdit"))
        ->setEnabled(AnalysisUses(type, "RecordDt") && !peer);
    if (typed.RecordFile.empty()) {
        recordInfo_->setText(QStringLiteral("No record chosen: a time history needs one."));
        return;
    }
    try {
        const motion::Record record = ReadChosenRecord(typed);
        recordInfo_->setText(
            QStringLiteral("%1 values %2 s apart (%3 s); peak %4 g%5")
                .arg(record.Steps())
                .arg(QString::fromStdString(text::FormatGeneral(record.dt)))
                .arg(QString::fromStdString(text::FormatGeneral(record.dt * record.Steps())))
                .arg(QString::fromStdString(text::FormatGeneral(record.Pga())))
                .arg(peer ? QStringLiteral(", time step from the PEER file") : QString()));
    } catch (const std::exception& e) {
        recordInfo_->setText(QString::fromLocal8Bit(e.what()));
    }
}

void AnalysisSettingDialog::showUsedSettings() {
    const int type = findChild<QComboBox*>(QStringLiteral("analysisTypeCombo"))->currentIndex() + 1;
    for (std::string_view setting : kStoreOrder) {
        const SettingEntry& entry = SettingNamed(setting);
        for (const char* kind : {"Edit", "Combo", "Check"}) {
            auto* control = findChild<QWidget*>(ControlName(entry, kind));
            if (control == nullptr) continue;
            const bool used = AnalysisUses(type, setting);
            control->setEnabled(used);
            for (auto* form : findChildren<QFormLayout*>())
                if (QWidget* label = form->labelForField(control)) label->setEnabled(used);
        }
    }
    controlTarget_->setEnabled(AnalysisUses(type, "ControlDisp"));
    findChild<QPushButton*>(QStringLiteral("recordFileButton"))
        ->setEnabled(AnalysisUses(type, "RecordFile"));
    recordInfo_->setEnabled(AnalysisUses(type, "RecordFile"));
    showRecord();
}

void AnalysisSettingDialog::showControlTarget() {
    const auto text = [this](const char* name) {
        return findChild<QLineEdit*>(QLatin1String(name))->text().trimmed().toStdString();
    };
    const std::optional<double> increment = parse::TryFloat(text("controlDispEdit"));
    const std::optional<int> steps = parse::TryInteger(text("analysisStepEdit"));
    QString target = QStringLiteral("?");
    if (increment && steps) target = QString::fromStdString(text::FormatGeneral(*increment * *steps));
    controlTarget_->setText(
        QStringLiteral("Control Disp is the displacement of the control joint in one step: "
                       "Control Disp x Analysis Step = %1 (model length units) is the target.")
            .arg(target));
}

void AnalysisSettingDialog::load() {
    const QStringList cases = LoadCaseItems(model_);
    loadCase_->clear();
    loadCase_->addItems(cases);
    loadVector_->clear();
    loadVector_->addItems(cases);
    for (std::string_view setting : kStoreOrder)
        LoadControl(this, SettingNamed(setting), {&settings_});
    showUsedSettings();
    showControlTarget();
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
    // The record is read where it is chosen: a time history refuses one the script could not read.
    if (UsesRecord(next.AnalysisType)) ReadChosenRecord(next);
    settings_ = next;
}

} // namespace vandra::gui
