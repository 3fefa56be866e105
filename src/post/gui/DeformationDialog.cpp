#include "post/gui/DeformationDialog.h"

#include "app/gui/ErrorBox.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"
#include "post/RecorderReaders.h"
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
    : QDialog(parent), model_(model), settings_(settings), view_(view), results_(results),
      folder_(folder) {
    setObjectName(QStringLiteral("deformationDialog"));
    setWindowTitle(QStringLiteral("Deformation Shape"));
    setModal(false);

    auto* nodeButton =
        Button(QStringLiteral("loadNodeButton"), QStringLiteral("Load Node Deform Data"), this);
    auto* secButton =
        Button(QStringLiteral("loadSecButton"), QStringLiteral("Load Sec Deform Data"), this);
    auto* modeButton =
        Button(QStringLiteral("loadModeButton"), QStringLiteral("Load Model Shape"), this);

    stepEdit_ = Edit(QStringLiteral("loadStepEdit"), QStringLiteral("1"), this);
    scaleEdit_ = Edit(QStringLiteral("scalingFactorEdit"), QStringLiteral("1"), this);
    modeEdit_ = Edit(QStringLiteral("modeNumEdit"), QStringLiteral("1"), this);
    maxEdit_ = Edit(QStringLiteral("maxValueEdit"), QStringLiteral("0.0001"), this);
    minEdit_ = Edit(QStringLiteral("minValueEdit"), QStringLiteral("-0.0001"), this);
    componentCombo_ = new QComboBox(this);
    componentCombo_->setObjectName(QStringLiteral("deformationCombo"));
    componentCombo_->addItems({QStringLiteral("Axial Strain"), QStringLiteral("Curvature Kz"),
                               QStringLiteral("Curvature Ky")});

    const auto group = [this](const QString& title, const QString& label, QWidget* field) {
        auto* box = new QGroupBox(title, this);
        auto* form = new QFormLayout(box);
        form->addRow(label, field);
        return box;
    };

    auto* sectionBox = new QGroupBox(QStringLiteral("Section Deformation"), this);
    auto* sectionForm = new QFormLayout;
    sectionForm->addRow(QStringLiteral("Deformation"), componentCombo_);
    sectionForm->addRow(QStringLiteral("Max Value"), maxEdit_);
    sectionForm->addRow(QStringLiteral("Min Value"), minEdit_);
    auto* legendPanel = new QFrame(sectionBox);
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
    auto* sectionLayout = new QHBoxLayout(sectionBox);
    sectionLayout->addLayout(sectionForm);
    sectionLayout->addWidget(legendPanel, 0, Qt::AlignVCenter);

    folderLabel_ = new QLabel(this);
    folderLabel_->setObjectName(QStringLiteral("resultsFolderLabel"));
    folderLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* folderButton =
        Button(QStringLiteral("resultsFolderButton"), QStringLiteral("Results Folder..."), this);
    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName(QStringLiteral("loadStatusLabel"));
    statusLabel_->setWordWrap(true);

    auto* ok = Button(QStringLiteral("okButton"), QStringLiteral("OK"), this);
    ok->setDefault(true);
    auto* cancel = Button(QStringLiteral("cancelButton"), QStringLiteral("Cancel"), this);

    auto* grid = new QGridLayout;
    grid->addWidget(nodeButton, 0, 0);
    grid->addWidget(group(QStringLiteral("Load Step"), QStringLiteral("Load Step"), stepEdit_), 0,
                    1);
    grid->addWidget(secButton, 1, 0);
    grid->addWidget(
        group(QStringLiteral("Disp Scaling"), QStringLiteral("Scaling Factor"), scaleEdit_), 1, 1);
    grid->addWidget(modeButton, 2, 0);
    grid->addWidget(group(QStringLiteral("Modal Shape"), QStringLiteral("Mode Num"), modeEdit_), 2,
                    1);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folderButton);
    folderRow->addWidget(folderLabel_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(sectionBox);
    layout->addLayout(folderRow);
    layout->addWidget(statusLabel_);
    layout->addLayout(buttons);

    connect(nodeButton, &QPushButton::clicked, this,
            [this] { guarded([this] { loadNodeStep(); }); });
    connect(secButton, &QPushButton::clicked, this,
            [this] { guarded([this] { loadSections(); }); });
    connect(modeButton, &QPushButton::clicked, this,
            [this] { guarded([this] { loadModeShape(); }); });
    connect(folderButton, &QPushButton::clicked, this, [this] {
        if (folder_.choose(this)) showFolder();
    });
    connect(ok, &QPushButton::clicked, this, [this] {
        try {
            apply();
        } catch (const std::exception& e) {
            ShowErrorBox(this, QString::fromLocal8Bit(e.what()));
            return;
        }
        emit redrawRequested();
        hide();
    });
    connect(cancel, &QPushButton::clicked, this, &QWidget::hide);
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

void DeformationDialog::loadNodeStep() {
    const int step = parse::Integer(Local(stepEdit_->text()));
    const QString folder = folderOrAsk();
    if (folder.isEmpty()) return;
    results_.Disp = ReadNodeStep(model_, FolderPath(folder), step);
    statusLabel_->setText(QStringLiteral("Node displacements of load step %1 loaded.").arg(step));
}

void DeformationDialog::loadSections() {
    const int component = componentCombo_->currentIndex() + 1;
    const int step = parse::Integer(Local(stepEdit_->text()));
    const QString folder = folderOrAsk();
    if (folder.isEmpty()) return;
    TakeSectionValues(results_,
                      ReadSectionStep(model_, settings_, FolderPath(folder), step, component));
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
    results_.Disp = ReadModeShape(model_, FolderPath(folder), mode);
    statusLabel_->setText(QStringLiteral("Mode shape %1 loaded.").arg(mode));
}

void DeformationDialog::apply() {
    results_.ResultMax = parse::Float(Local(maxEdit_->text()));
    results_.ResultMin = parse::Float(Local(minEdit_->text()));
    view_.DisplacementScale = parse::Float(Local(scaleEdit_->text()));
}

} // namespace vandra::gui
