#include "post/gui/DeformationDialog.h"

#include "app/gui/ErrorBox.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"
#include "post/RecorderReaders.h"
#include "post/ResultLoading.h"
#include "post/gui/ResultLegend.h"
#include "post/gui/ResultsFolder.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>
#include <string>
#include <utility>

namespace vandra::gui {
namespace {

std::string Local(const QString& s) {
    return s.toLocal8Bit().toStdString();
}

std::string FolderPath(const QString& folder) {
    return QFile::encodeName(folder).toStdString();
}

QLineEdit* Edit(const QString& name, const QString& text, QWidget* parent) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    return edit;
}

QPushButton* Button(const QString& name, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QString General(double v) {
    return QString::fromStdString(text::FormatGeneral(v));
}

} // namespace

DeformationDialog::DeformationDialog(const TModel& model, const TSettings& settings,
                                     TViewState& view, TResults& results, ResultsFolder& folder,
                                     QWidget* parent)
    : ModelessDialog(parent), model_(model), settings_(settings), view_(view), results_(results),
      folder_(folder) {
    setObjectName(QStringLiteral("deformationDialog"));
    setWindowTitle(QStringLiteral("Deformation Shape"));

    folderLabel_ = new QLabel(this);
    folderLabel_->setObjectName(QStringLiteral("resultsFolderLabel"));
    folderLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* folderButton =
        Button(QStringLiteral("resultsFolderButton"), QStringLiteral("Results Folder..."), this);
    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName(QStringLiteral("loadStatusLabel"));
    statusLabel_->setWordWrap(true);

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folderButton);
    folderRow->addWidget(folderLabel_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(makeLoadGrid());
    layout->addWidget(makeSectionGroup());
    layout->addLayout(folderRow);
    layout->addWidget(statusLabel_);
    layout->addWidget(makeButtons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel));

    connect(folderButton, &QPushButton::clicked, this, [this] {
        if (folder_.choose(this)) showFolder();
    });
}

QLayout* DeformationDialog::makeLoadGrid() {
    stepEdit_ = Edit(QStringLiteral("loadStepEdit"), QStringLiteral("1"), this);
    scaleEdit_ = Edit(QStringLiteral("scalingFactorEdit"), QStringLiteral("1"), this);
    modeEdit_ = Edit(QStringLiteral("modeNumEdit"), QStringLiteral("1"), this);
    const auto group = [this](const QString& title, const QString& label, QWidget* field) {
        auto* box = new QGroupBox(title, this);
        auto* form = new QFormLayout(box);
        form->addRow(label, field);
        return box;
    };
    // Each load button beside the field it reads.
    const struct {
        const char* name;
        const char* text;
        void (DeformationDialog::*load)();
        QGroupBox* field;
    } rows[] = {
        {"loadNodeButton", "Load Node Deform Data", &DeformationDialog::loadNodeStep,
         group(QStringLiteral("Load Step"), QStringLiteral("Load Step"), stepEdit_)},
        {"loadSecButton", "Load Sec Deform Data", &DeformationDialog::loadSections,
         group(QStringLiteral("Disp Scaling"), QStringLiteral("Scaling Factor"), scaleEdit_)},
        {"loadModeButton", "Load Model Shape", &DeformationDialog::loadModeShape,
         group(QStringLiteral("Modal Shape"), QStringLiteral("Mode Num"), modeEdit_)},
        {"loadEnvelopeButton", "Load Node Envelope", &DeformationDialog::loadNodeEnvelope,
         group(QStringLiteral("Envelope"), QStringLiteral("Steps"),
               new QLabel(QStringLiteral("every recorded step"), this))},
    };
    auto* grid = new QGridLayout;
    int row = 0;
    for (const auto& r : rows) {
        QPushButton* button = Button(QLatin1String(r.name), QLatin1String(r.text), this);
        connect(button, &QPushButton::clicked, this,
                [this, load = r.load] { guarded([this, load] { (this->*load)(); }); });
        grid->addWidget(button, row, 0);
        grid->addWidget(r.field, row++, 1);
    }
    return grid;
}

QWidget* DeformationDialog::makeSectionGroup() {
    maxEdit_ = Edit(QStringLiteral("maxValueEdit"), QStringLiteral("0.0001"), this);
    minEdit_ = Edit(QStringLiteral("minValueEdit"), QStringLiteral("-0.0001"), this);
    componentCombo_ = new QComboBox(this);
    componentCombo_->setObjectName(QStringLiteral("deformationCombo"));
    componentCombo_->addItems({QStringLiteral("Axial Strain"), QStringLiteral("Curvature Kz"),
                               QStringLiteral("Curvature Ky")});

    auto* box = new QGroupBox(QStringLiteral("Section Deformation"), this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Deformation"), componentCombo_);
    form->addRow(QStringLiteral("Max Value"), maxEdit_);
    form->addRow(QStringLiteral("Min Value"), minEdit_);
    auto* legendPanel = new QFrame(box);
    legendPanel->setObjectName(QStringLiteral("legendPanel"));
    legendPanel->setAutoFillBackground(true);
    QPalette white = legendPanel->palette();
    white.setColor(QPalette::Window, Qt::white);
    legendPanel->setPalette(white);
    auto* legend = new QLabel(legendPanel);
    legend->setObjectName(QStringLiteral("legendImage"));
    legend->setPixmap(QPixmap::fromImage(MakeResultLegend()));
    legend->setFixedSize(kLegendWidth, kLegendHeight);
    auto* legendLayout = new QVBoxLayout(legendPanel);
    legendLayout->setContentsMargins(4, 4, 4, 4);
    legendLayout->addWidget(legend);
    auto* layout = new QHBoxLayout(box);
    layout->addLayout(form);
    layout->addWidget(legendPanel, 0, Qt::AlignVCenter);
    return box;
}

void DeformationDialog::load() {
    showFolder();
}

template <typename Work> void DeformationDialog::guarded(Work&& work) {
    try {
        work();
    } catch (const std::exception& e) {
        statusLabel_->setText(QStringLiteral("Nothing was loaded."));
        ShowErrorBox(this, QString::fromLocal8Bit(e.what()));
    }
}

QString DeformationDialog::folderOrAsk() {
    const QString folder = folder_.ensure(this);
    showFolder();
    return folder;
}

void DeformationDialog::showFolder() {
    folderLabel_->setText(folder_.folder().isEmpty()
                              ? QStringLiteral("(no results folder chosen yet)")
                              : QDir::toNativeSeparators(folder_.folder()));
}

QString DeformationDialog::statusText() const {
    return statusLabel_->text();
}

void DeformationDialog::loadNodeEnvelope() {
    const QString folder = folderOrAsk();
    if (folder.isEmpty()) return;
    LoadNodeEnvelope(results_, model_, FolderPath(folder));
    statusLabel_->setText(
        QStringLiteral("Envelope of %1 steps loaded: each joint is drawn at its displacement of "
                       "larger magnitude in X, Y and Z, each from its own step.")
            .arg(results_.History.Steps));
}

void DeformationDialog::loadNodeStep() {
    const int step = parse::Integer(Local(stepEdit_->text()));
    const QString folder = folderOrAsk();
    if (folder.isEmpty()) return;
    TResults loaded;
    if (!ReadResultFiles(
            this, [&] { LoadNodeStep(loaded, model_, settings_, FolderPath(folder), step); }))
        return statusLabel_->setText(kResultReadCancelled);
    results_.Disp = std::move(loaded.Disp);
    results_.Rotations = std::move(loaded.Rotations);
    statusLabel_->setText(
        (results_.Rotations.X.empty()
             ? QStringLiteral("Node displacements of load step %1 loaded.")
             : QStringLiteral("Node displacements and rotations of load step %1 loaded: frames "
                              "are drawn curved."))
            .arg(step));
}

void DeformationDialog::loadSections() {
    const int component = componentCombo_->currentIndex() + 1;
    const int step = parse::Integer(Local(stepEdit_->text()));
    const QString folder = folderOrAsk();
    if (folder.isEmpty()) return;
    TFrameEnds read;
    if (!ReadResultFiles(this, [&] {
            read = ReadSectionStep(model_, settings_, FolderPath(folder), step, component);
        }))
        return statusLabel_->setText(kResultReadCancelled);
    TakeSectionValues(results_, std::move(read));
    const TFrameEnds& ends = results_.Ends;
    if (!ends.Any) {
        statusLabel_->setText(
            QStringLiteral(
                "Load step %1 read: no frame of this model records section deformations (elastic, "
                "Timoshenko and rigid frames have no sections).")
                .arg(step));
        return;
    }
    maxEdit_->setText(General(ends.Max));
    minEdit_->setText(General(ends.Min));
    statusLabel_->setText(
        QStringLiteral("%1 of load step %2 loaded.").arg(componentCombo_->currentText()).arg(step));
}

void DeformationDialog::loadModeShape() {
    const int mode = parse::Integer(Local(modeEdit_->text()));
    const QString folder = folderOrAsk();
    if (folder.isEmpty()) return;
    TNodeField shape;
    if (!ReadResultFiles(this, [&] { shape = ReadModeShape(model_, FolderPath(folder), mode); }))
        return statusLabel_->setText(kResultReadCancelled);
    results_.Disp = std::move(shape);
    results_.Rotations = TNodeField();
    statusLabel_->setText(QStringLiteral("Mode shape %1 loaded.").arg(mode));
}

void DeformationDialog::apply() {
    // In this order: a field that is not a number stops there, the fields before it applied.
    results_.ResultMax = parse::Float(Local(maxEdit_->text()));
    results_.ResultMin = parse::Float(Local(minEdit_->text()));
    view_.DisplacementScale = parse::Float(Local(scaleEdit_->text()));
}

} // namespace vandra::gui
