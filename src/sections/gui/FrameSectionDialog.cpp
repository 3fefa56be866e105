#include "sections/gui/FrameSectionDialog.h"

#include "app/gui/ErrorBox.h"
#include "app/project/ProjectFile.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"
#include "sections/Fibers.h"
#include "sections/gui/SectionPreviewPainter.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <exception>

namespace vandra::gui {
namespace {

constexpr int kClientWidth = 474;
constexpr int kClientHeight = 654;

const QStringList kFrameTypes = {"Elastic BeamColumn",
                                 "Nonlinear BeamColumn",
                                 "Disp BeamColumn",
                                 "Beam with Hinge",
                                 "Truss",
                                 "corotTruss",
                                 "rigid beam",
                                 "ElasticTimoshenkoBeam"};
const QStringList kShapes = {"Rectangle", "I shape", "Box", "Pipe"};
const QStringList kTransforms = {"Linear", "P-Delta", "Corotational "};
const QStringList kSectionKinds = {"Beam Section", "Column Section"};

QString Number(double v) {
    return QString::fromLatin1(text::FormatGeneral(v));
}
QString Int(int v) {
    return QString::fromLatin1(text::FormatInt(v));
}
int IntOf(const QLineEdit* box) {
    return parse::Integer(box->text().toLocal8Bit().toStdString());
}
double RealOf(const QLineEdit* box) {
    return parse::Float(box->text().toLocal8Bit().toStdString());
}

// Selects item code - 1, or nothing for a code outside the list.
void SelectCode(QComboBox* box, int code) {
    box->setCurrentIndex(code >= 1 && code <= box->count() ? code - 1 : -1);
}

QComboBox* Combo(QWidget* parent, const QString& name, const QStringList& items) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItems(items);
    return box;
}

// The dialog has a fixed size: its groups keep their rows close together.
void Compact(QGridLayout* grid) {
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(3);
}

QLineEdit* Edit(QWidget* parent, const QString& name, const QString& text = QString()) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    return edit;
}

QString AskForJson(QWidget* parent, bool save) {
    const QString caption = save ? QStringLiteral("Export section settings")
                                 : QStringLiteral("Import section settings");
    const QString filter = QStringLiteral("Section settings (*.json)");
    return save ? QFileDialog::getSaveFileName(parent, caption, QString(), filter)
                : QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

} // namespace

FrameSectionDialog::FrameSectionDialog(TModel& model, QWidget* parent)
    : QDialog(parent, Qt::Tool), model_(model),
      picture_(kPreviewSize, kPreviewSize, QImage::Format_RGB32) {
    setWindowTitle(QStringLiteral("Frame Section (Nonlinear)"));
    setFont(QFont(QStringLiteral("Arial"), 8));
    setFixedSize(kClientWidth, kClientHeight);
    picture_.fill(Qt::white);
    chooseColor_ = [](QWidget* p, QColor initial) -> std::optional<QColor> {
        const QColor c = QColorDialog::getColor(initial, p);
        if (!c.isValid()) return std::nullopt;
        return c;
    };
    chooseImportFile_ = [](QWidget* p) { return AskForJson(p, false); };
    chooseExportFile_ = [](QWidget* p) { return AskForJson(p, true); };

    auto* picturePanel = new QFrame(this);
    picturePanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* pictureLayout = new QVBoxLayout(picturePanel);
    pictureLayout->setContentsMargins(1, 1, 1, 1);
    pictureLabel_ = new QLabel(picturePanel);
    pictureLabel_->setObjectName(QStringLiteral("sectionPicture"));
    pictureLabel_->setFixedSize(kPreviewSize, kPreviewSize);
    pictureLabel_->setPixmap(QPixmap::fromImage(picture_));
    pictureLayout->addWidget(pictureLabel_);
    unitLabel_ = new QLabel(this);
    unitLabel_->setObjectName(QStringLiteral("unitLabel"));

    sectionList_ = new QListWidget(this);
    sectionList_->setObjectName(QStringLiteral("sectionList"));

    auto* properties = new QGroupBox(QStringLiteral("Section Properties"), this);
    auto* grid = new QGridLayout(properties);
    Compact(grid);
    swatch_ = new QLabel(properties);
    swatch_->setObjectName(QStringLiteral("frameColorSwatch"));
    swatch_->setFixedSize(60, 18);
    swatch_->setFrameStyle(QFrame::Box | QFrame::Plain);
    swatch_->setAutoFillBackground(true);
    swatch_->installEventFilter(this);
    setSwatch(Qt::black);
    frameType_ = Combo(properties, QStringLiteral("frameTypeCombo"), kFrameTypes);
    sectionName_ = Combo(properties, QStringLiteral("sectionNameCombo"), {});
    sectionName_->setEnabled(false);
    sectionShape_ = Combo(properties, QStringLiteral("sectionShapeCombo"), kShapes);
    sectionShape_->setEnabled(false);
    material_ = Combo(properties, QStringLiteral("materialCombo"), {});
    material_->setEnabled(false);
    int row = 0;
    const auto addRow = [&](const QString& label, QWidget* w) {
        grid->addWidget(new QLabel(label, properties), row, 0);
        grid->addWidget(w, row++, 1);
    };
    addRow(QStringLiteral("Frame Color"), swatch_);
    addRow(QStringLiteral("Frame Type"), frameType_);
    addRow(QStringLiteral("Section Name"), sectionName_);
    addRow(QStringLiteral("Section Shape"), sectionShape_);
    addRow(QStringLiteral("Material"), material_);
    for (int t = 1; t <= 6; ++t) {
        QLineEdit* edit = Edit(properties, QStringLiteral("dimensionT%1Edit").arg(t));
        edit->setReadOnly(true);
        dimensions_[static_cast<size_t>(t)] = edit;
        addRow(QStringLiteral("Dimention T%1").arg(t), edit);
    }

    auto* pDelta = new QGroupBox(QStringLiteral("P-Delta"), this);
    auto* pDeltaLayout = new QGridLayout(pDelta);
    Compact(pDeltaLayout);
    geoTransf_ = Combo(pDelta, QStringLiteral("geoTransfCombo"), kTransforms);
    pDeltaLayout->addWidget(new QLabel(QStringLiteral("GeoTransf"), pDelta), 0, 0);
    pDeltaLayout->addWidget(geoTransf_, 0, 1);

    auto* rebar = new QGroupBox(QStringLiteral("Rebar Setting"), this);
    auto* rebarLayout = new QGridLayout(rebar);
    Compact(rebarLayout);
    barTop_ = Edit(rebar, QStringLiteral("barTopEdit"));
    barBot_ = Edit(rebar, QStringLiteral("barBotEdit"));
    rebarLayout->addWidget(new QLabel(QStringLiteral("X-Bar(Top) "), rebar), 0, 0);
    rebarLayout->addWidget(barTop_, 0, 1);
    rebarLayout->addWidget(new QLabel(QStringLiteral("Y-Bar(Bot)"), rebar), 1, 0);
    rebarLayout->addWidget(barBot_, 1, 1);

    auto* nonlinear = new QGroupBox(QStringLiteral("Nonlinear Setting"), this);
    auto* nonlinearLayout = new QGridLayout(nonlinear);
    Compact(nonlinearLayout);
    sectionKind_ = Combo(nonlinear, QStringLiteral("sectionTypeCombo"), kSectionKinds);
    divideFX_ = Edit(nonlinear, QStringLiteral("divideFXEdit"));
    divideFY_ = Edit(nonlinear, QStringLiteral("divideFYEdit"));
    barNumNX_ = Edit(nonlinear, QStringLiteral("barNumNXEdit"));
    barNumNY_ = Edit(nonlinear, QStringLiteral("barNumNYEdit"));
    cover_ = Edit(nonlinear, QStringLiteral("coverEdit"));
    const std::pair<const char*, QWidget*> nonlinearRows[] = {
        {"Section Type", sectionKind_}, {"Divide FX", divideFX_},  {"Divide FY", divideFY_},
        {"Bar Num NX", barNumNX_},      {"Bar Num NY", barNumNY_}, {"Cover", cover_}};
    row = 0;
    for (const auto& [label, widget] : nonlinearRows) {
        nonlinearLayout->addWidget(new QLabel(QString::fromLatin1(label), nonlinear), row, 0);
        nonlinearLayout->addWidget(widget, row++, 1);
    }

    auto* hinge = new QGroupBox(QStringLiteral("Beam With Hinge(Hinge Length)"), this);
    auto* hingeLayout = new QGridLayout(hinge);
    Compact(hingeLayout);
    hingeLenI_ = Edit(hinge, QStringLiteral("hingeLengthIEdit"), QStringLiteral("1000"));
    hingeLenJ_ = Edit(hinge, QStringLiteral("hingeLengthJEdit"), QStringLiteral("1000"));
    hingeLayout->addWidget(new QLabel(QStringLiteral("Hinge Length Node I"), hinge), 0, 0);
    hingeLayout->addWidget(hingeLenI_, 0, 1);
    hingeLayout->addWidget(new QLabel(QStringLiteral("Hinge Length Node J"), hinge), 1, 0);
    hingeLayout->addWidget(hingeLenJ_, 1, 1);

    auto* importButton = new QPushButton(QStringLiteral("Import"), this);
    importButton->setObjectName(QStringLiteral("importButton"));
    auto* exportButton = new QPushButton(QStringLiteral("Export"), this);
    exportButton->setObjectName(QStringLiteral("exportButton"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("closeButton"));

    auto* top = new QHBoxLayout;
    top->addWidget(picturePanel);
    top->addWidget(sectionList_);
    auto* right = new QVBoxLayout;
    right->addWidget(pDelta);
    right->addWidget(rebar);
    right->addWidget(nonlinear);
    right->addWidget(hinge);
    right->addStretch();
    auto* middle = new QHBoxLayout;
    middle->addWidget(properties, 5);
    middle->addLayout(right, 4);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(importButton);
    buttons->addWidget(exportButton);
    buttons->addStretch();
    buttons->addWidget(unitLabel_);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addLayout(middle);
    layout->addLayout(buttons);

    connect(sectionList_, &QListWidget::currentRowChanged, this, &FrameSectionDialog::showSection);
    connect(ok, &QPushButton::clicked, this, [this] {
        try {
            apply();
        } catch (const std::exception& e) {
            ShowErrorBox(this, QString::fromLocal8Bit(e.what()));
        }
    });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(importButton, &QPushButton::clicked, this, &FrameSectionDialog::importLibrary);
    connect(exportButton, &QPushButton::clicked, this, &FrameSectionDialog::exportLibrary);
}

void FrameSectionDialog::load() {
    const QSignalBlocker blocker(sectionList_);
    sectionList_->clear();
    sectionName_->clear();
    material_->clear();
    for (int s = 1; s <= CountOf(model_.SectionCount); ++s) {
        const QString name = QString::fromLocal8Bit(model_.Sections[static_cast<size_t>(s)].Name);
        sectionList_->addItem(name);
        sectionName_->addItem(name);
    }
    for (int m = 1; m <= CountOf(model_.MatCount); ++m)
        material_->addItem(QString::fromLocal8Bit(model_.Mats[static_cast<size_t>(m)].Name));
    const QString unit =
        QString::fromLatin1(LengthUnitName(model_.LengthUnit).data(),
                            static_cast<int>(LengthUnitName(model_.LengthUnit).size()));
    unitLabel_->setText(QStringLiteral("Lengths in %1").arg(unit));
    unitLabel_->setToolTip(
        QStringLiteral("Dimensions, cover and hinge lengths in %1, bar areas in %1^2").arg(unit));
    if (sectionList_->count() == 0) return;
    sectionList_->setCurrentRow(0);
    showSection(0);
}

int FrameSectionDialog::selectedSection() const {
    const int row = sectionList_->currentRow();
    if (row < 0 || row >= CountOf(model_.SectionCount)) return 0;
    return row + 1;
}

void FrameSectionDialog::showSection(int row) {
    if (row < 0 || row >= CountOf(model_.SectionCount)) return;
    const int s = row + 1;
    const TSECTION& sec = model_.Sections[static_cast<size_t>(s)];
    sectionName_->setCurrentIndex(row);
    SelectCode(sectionShape_, sec.Shape);
    SelectCode(sectionKind_, sec.SectionKind);
    SelectCode(material_, sec.MatIdx);
    SelectCode(frameType_, sec.FrameType);
    SelectCode(geoTransf_, sec.GeoTransf);
    for (int t = 1; t <= 6; ++t)
        dimensions_[static_cast<size_t>(t)]->setText(Number(sec.T[static_cast<size_t>(t)]));
    divideFX_->setText(Int(sec.DivideFX));
    divideFY_->setText(Int(sec.DivideFY));
    barNumNX_->setText(Int(sec.BarNumNX));
    barNumNY_->setText(Int(sec.BarNumNY));
    cover_->setText(Number(sec.Cover));
    barTop_->setText(Number(sec.BarTop));
    barBot_->setText(Number(sec.BarBot));
    hingeLenI_->setText(Number(sec.HingeLenI));
    hingeLenJ_->setText(Number(sec.HingeLenJ));
    setSwatch(QColor(ColorRed(sec.Color), ColorGreen(sec.Color), ColorBlue(sec.Color)));
    drawPicture(s);
}

void FrameSectionDialog::apply() {
    const int s = selectedSection();
    if (s == 0) return;
    // Stored field by field in this order: a bad box stops here, the fields before it stay. A
    // layout that would be silently wrong (CheckFiberLayout) is refused whole.
    TSECTION& stored = model_.Sections[static_cast<size_t>(s)];
    TSECTION sec = stored;
    try {
        readFields(sec);
    } catch (...) {
        stored = sec;
        throw;
    }
    CheckFiberLayout(sec);
    stored = sec;
    drawPicture(s);
}

void FrameSectionDialog::readFields(TSECTION& sec) const {
    sec.FrameType = frameType_->currentIndex() + 1;
    sec.SectionKind = sectionKind_->currentIndex() + 1;
    sec.DivideFX = IntOf(divideFX_);
    sec.DivideFY = IntOf(divideFY_);
    sec.BarNumNX = IntOf(barNumNX_);
    sec.BarNumNY = IntOf(barNumNY_);
    sec.BarTop = RealOf(barTop_);
    sec.BarBot = RealOf(barBot_);
    sec.Cover = RealOf(cover_);
    sec.HingeLenI = RealOf(hingeLenI_);
    sec.HingeLenJ = RealOf(hingeLenJ_);
    sec.Color = PackColor(swatchColor_.red(), swatchColor_.green(), swatchColor_.blue());
    sec.GeoTransf = geoTransf_->currentIndex() + 1;
}

void FrameSectionDialog::drawPicture(int s) {
    picture_ = SectionPreviewImage(model_.Sections[static_cast<size_t>(s)]);
    pictureLabel_->setPixmap(QPixmap::fromImage(picture_));
}

void FrameSectionDialog::setSwatch(const QColor& color) {
    swatchColor_ = color;
    QPalette p = swatch_->palette();
    p.setColor(QPalette::Window, color);
    swatch_->setPalette(p);
}

void FrameSectionDialog::chooseSwatchColor() {
    const std::optional<QColor> chosen = chooseColor_(this, lastChosenColor_);
    if (!chosen) return;
    lastChosenColor_ = *chosen;
    setSwatch(*chosen);
}

void FrameSectionDialog::importLibrary() {
    const QString path = chooseImportFile_(this);
    if (path.isEmpty()) return;
    try {
        const std::vector<std::string> unmatched =
            project::ImportSectionLibrary(QFile::encodeName(path).toStdString(), model_);
        if (const int row = sectionList_->currentRow(); row >= 0) showSection(row);
        if (!unmatched.empty())
            ShowErrorBox(this, QString::fromLocal8Bit(project::UnmatchedMessage(unmatched)));
    } catch (const std::exception& e) {
        ShowErrorBox(this, QString::fromLocal8Bit(e.what()));
    }
}

void FrameSectionDialog::exportLibrary() {
    const QString path = chooseExportFile_(this);
    if (path.isEmpty()) return;
    try {
        project::ExportSectionLibrary(QFile::encodeName(path).toStdString(), model_);
    } catch (const std::exception& e) {
        ShowErrorBox(this, QString::fromLocal8Bit(e.what()));
    }
}

bool FrameSectionDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == swatch_ && event->type() == QEvent::MouseButtonPress) {
        chooseSwatchColor();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void FrameSectionDialog::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) load();
    QDialog::showEvent(event);
}

void FrameSectionDialog::closeEvent(QCloseEvent* event) {
    QDialog::closeEvent(event);
    emit redrawRequested();
}

} // namespace vandra::gui
