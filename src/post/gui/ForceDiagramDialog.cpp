#include "post/gui/ForceDiagramDialog.h"

#include "model/NumberParse.h"
#include "model/NumberText.h"
#include "post/ResultLoading.h"
#include "post/gui/ResultsFolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <string>
#include <utility>

namespace vandra::gui {
namespace {

std::string Local(const QString& s) {
    return s.toLocal8Bit().toStdString();
}

} // namespace

ForceDiagramDialog::ForceDiagramDialog(const TModel& model, const TSettings& settings,
                                       TViewOptions& options, TResults& results,
                                       ResultsFolder& folder, QWidget* parent)
    : ModelessDialog(parent), model_(model), settings_(settings), options_(options),
      results_(results), folder_(folder) {
    setObjectName(QStringLiteral("forceDiagramDialog"));
    setWindowTitle(QStringLiteral("Member Force Diagram"));

    componentCombo_ = new QComboBox(this);
    componentCombo_->setObjectName(QStringLiteral("forceComponentCombo"));
    componentCombo_->addItem(QStringLiteral("None"));
    for (int c = 0; c < kForceComponentCount; ++c)
        componentCombo_->addItem(QString::fromLatin1(ForceComponentName(c).data(),
                                                     static_cast<qsizetype>(
                                                         ForceComponentName(c).size())));
    stepEdit_ = new QLineEdit(QStringLiteral("1"), this);
    stepEdit_->setObjectName(QStringLiteral("forceStepEdit"));
    envelopeCheck_ = new QCheckBox(QStringLiteral("Envelope of every step"), this);
    envelopeCheck_->setObjectName(QStringLiteral("forceEnvelopeCheck"));
    scaleEdit_ = new QLineEdit(this);
    scaleEdit_->setObjectName(QStringLiteral("diagramScaleEdit"));
    scaleEdit_->setToolTip(QStringLiteral(
        "The largest value is drawn at a tenth of the model's size times this factor"));
    valuesCheck_ = new QCheckBox(QStringLiteral("Values at the ends and the extreme"), this);
    valuesCheck_->setObjectName(QStringLiteral("diagramValuesCheck"));
    reactionsCheck_ = new QCheckBox(QStringLiteral("Reactions as arrows"), this);
    reactionsCheck_->setObjectName(QStringLiteral("reactionArrowsCheck"));
    conventionLabel_ = new QLabel(this);
    conventionLabel_->setObjectName(QStringLiteral("signConventionLabel"));
    conventionLabel_->setWordWrap(true);
    folderLabel_ = new QLabel(this);
    folderLabel_->setObjectName(QStringLiteral("resultsFolderLabel"));
    auto* folderButton = new QPushButton(QStringLiteral("Results Folder..."), this);
    folderButton->setObjectName(QStringLiteral("resultsFolderButton"));
    folderButton->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Force"), componentCombo_);
    form->addRow(QStringLiteral("Load Step"), stepEdit_);
    form->addRow(QString(), envelopeCheck_);
    form->addRow(QStringLiteral("Diagram Scale"), scaleEdit_);
    form->addRow(QString(), valuesCheck_);
    form->addRow(QString(), reactionsCheck_);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folderButton);
    folderRow->addWidget(folderLabel_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(conventionLabel_);
    layout->addLayout(folderRow);
    layout->addWidget(
        makeButtons(QDialogButtonBox::Ok | QDialogButtonBox::Apply | QDialogButtonBox::Cancel));

    connect(componentCombo_, &QComboBox::currentIndexChanged, this, [this] { showConvention(); });
    connect(envelopeCheck_, &QCheckBox::toggled, stepEdit_, &QWidget::setDisabled);
    connect(folderButton, &QPushButton::clicked, this, [this] {
        if (folder_.choose(this)) showFolder();
    });
}

void ForceDiagramDialog::showConvention() {
    const int c = componentCombo_->currentIndex() - 1;
    if (c < 0) {
        conventionLabel_->clear();
        return;
    }
    conventionLabel_->setText(
        QStringLiteral("%1: %2 (blue +, red -). Local axes: x from end I to end J, z along axis "
                       "2, y = z x x.")
            .arg(componentCombo_->currentText(),
                 QString::fromLatin1(ForceSignConvention(c).data(),
                                     static_cast<qsizetype>(ForceSignConvention(c).size()))));
}

void ForceDiagramDialog::load() {
    componentCombo_->setCurrentIndex(options_.Diagram);
    scaleEdit_->setText(QString::fromStdString(text::FormatGeneral(options_.DiagramScale)));
    valuesCheck_->setChecked(options_.DiagramValues);
    reactionsCheck_->setChecked(options_.ShowReactions);
    showFolder();
    showConvention();
}

void ForceDiagramDialog::showFolder() {
    folderLabel_->setText(folder_.folder().isEmpty()
                              ? QStringLiteral("(no results folder chosen yet)")
                              : QDir::toNativeSeparators(folder_.folder()));
}

void ForceDiagramDialog::apply() {
    const int diagram = componentCombo_->currentIndex();
    const double scale = parse::Float(Local(scaleEdit_->text()));
    const int step =
        envelopeCheck_->isChecked() ? kEnvelopeStep : parse::Integer(Local(stepEdit_->text()));
    const bool reactions = reactionsCheck_->isChecked();
    TResults loaded;
    if (diagram > 0 || reactions) {
        const QString folder = folder_.ensure(this);
        showFolder();
        if (folder.isEmpty()) return;
        const std::string path = QFile::encodeName(folder).toStdString();
        if (!ReadResultFiles(this, [&] {
                if (diagram > 0) LoadFrameForces(loaded, model_, settings_, path, step);
                if (reactions) LoadReactions(loaded, model_, settings_, path, step);
            }))
            return; // Cancel: the diagram and the reactions shown stay
    }
    if (diagram > 0) results_.Forces = std::move(loaded.Forces);
    if (reactions) {
        results_.Reactions = std::move(loaded.Reactions);
        results_.ReactionStep = loaded.ReactionStep;
    }
    options_.Diagram = diagram;
    options_.DiagramScale = scale;
    options_.DiagramValues = valuesCheck_->isChecked();
    options_.ShowReactions = reactions;
}

} // namespace vandra::gui
