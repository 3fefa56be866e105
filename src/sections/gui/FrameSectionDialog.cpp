#include "sections/gui/FrameSectionDialog.h"

#include "app/gui/ErrorBox.h"
#include "app/project/ProjectFile.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"
#include "sections/Fibers.h"
#include "sections/render/SectionPreviewPainter.h"

#include <QColorDialog>
#include <QComboBox>
#include <QEvent>
#include "app/gui/FileDialogs.h"

#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

namespace vandra::gui {
namespace {

constexpr int kClientWidth = 474;
constexpr int kClientHeight = 700; // with a line for a refusal under the boxes

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

// The look of a box whose value is refused.
const QString kFaultStyle = QStringLiteral("QLineEdit { background: #ffd0d0; }");

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

// A group of label and control rows. The dialog has a fixed size: its groups keep their rows
// close together.
QGroupBox* Group(QWidget* parent, const QString& title,
                 std::initializer_list<std::pair<const char*, QWidget*>> rows) {
    auto* group = new QGroupBox(title, parent);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(3);
    int row = 0;
    for (const auto& [label, widget] : rows) {
        grid->addWidget(new QLabel(QString::fromLatin1(label), group), row, 0);
        grid->addWidget(widget, row++, 1);
    }
    return group;
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
    const QString kind = QStringLiteral("library");
    return save ? AskFileToSave(parent, caption, filter, kind, QStringLiteral("json"))
                : AskFileToOpen(parent, caption, filter, kind);
}

} // namespace

FrameSectionDialog::FrameSectionDialog(TModel& model, QWidget* parent)
    : ModelessDialog(parent, Qt::Tool), model_(model),
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

    sectionList_ = new QListWidget(this);
    sectionList_->setObjectName(QStringLiteral("sectionList"));
    auto* top = new QHBoxLayout;
    top->addWidget(makePicturePanel());
    top->addWidget(sectionList_);
    auto* middle = new QHBoxLayout;
    middle->addWidget(makePropertiesGroup(), 5);
    middle->addLayout(makeSettingGroups(), 4);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addLayout(middle);
    faultLabel_ = new QLabel(this);
    faultLabel_->setObjectName(QStringLiteral("faultLabel"));
    faultLabel_->setWordWrap(true);
    faultLabel_->setFixedHeight(2 * faultLabel_->fontMetrics().height() + 2);
    faultLabel_->setStyleSheet(QStringLiteral("color: #b00000;"));
    layout->addWidget(faultLabel_);
    layout->addLayout(makeButtonRow());

    connect(sectionList_, &QListWidget::currentRowChanged, this, &FrameSectionDialog::showSection);
    // Checked and drawn as typed.
    for (const auto& [field, box] : fieldBoxes())
        connect(box, &QLineEdit::textChanged, this, &FrameSectionDialog::checkTyped);
    for (QComboBox* combo : {frameType_, sectionKind_})
        connect(combo, &QComboBox::currentIndexChanged, this, &FrameSectionDialog::checkTyped);
    // Closed in any way (Close, the close box, Escape): frames may show a new colour.
    connect(this, &QDialog::finished, this, &FrameSectionDialog::redrawRequested);
}

QWidget* FrameSectionDialog::makePicturePanel() {
    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(1, 1, 1, 1);
    pictureLabel_ = new QLabel(panel);
    pictureLabel_->setObjectName(QStringLiteral("sectionPicture"));
    pictureLabel_->setFixedSize(kPreviewSize, kPreviewSize);
    pictureLabel_->setPixmap(QPixmap::fromImage(picture_));
    layout->addWidget(pictureLabel_);
    return panel;
}

QWidget* FrameSectionDialog::makePropertiesGroup() {
    swatch_ = new QLabel(this);
    swatch_->setObjectName(QStringLiteral("frameColorSwatch"));
    swatch_->setFixedSize(60, 18);
    swatch_->setFrameStyle(QFrame::Box | QFrame::Plain);
    swatch_->setAutoFillBackground(true);
    swatch_->installEventFilter(this);
    setSwatch(Qt::black);
    frameType_ = Combo(this, QStringLiteral("frameTypeCombo"), kFrameTypes);
    sectionName_ = Combo(this, QStringLiteral("sectionNameCombo"), {});
    sectionShape_ = Combo(this, QStringLiteral("sectionShapeCombo"), kShapes);
    material_ = Combo(this, QStringLiteral("materialCombo"), {});
    for (QComboBox* shownOnly : {sectionName_, sectionShape_, material_})
        shownOnly->setEnabled(false);
    for (int t = 1; t <= 6; ++t) {
        QLineEdit* edit = Edit(this, QStringLiteral("dimensionT%1Edit").arg(t));
        edit->setReadOnly(true);
        dimensions_[static_cast<size_t>(t)] = edit;
    }
    return Group(this, QStringLiteral("Section Properties"),
                 {{"Frame Color", swatch_},
                  {"Frame Type", frameType_},
                  {"Section Name", sectionName_},
                  {"Section Shape", sectionShape_},
                  {"Material", material_},
                  {"Dimention T1", dimensions_[1]},
                  {"Dimention T2", dimensions_[2]},
                  {"Dimention T3", dimensions_[3]},
                  {"Dimention T4", dimensions_[4]},
                  {"Dimention T5", dimensions_[5]},
                  {"Dimention T6", dimensions_[6]}});
}

QLayout* FrameSectionDialog::makeSettingGroups() {
    geoTransf_ = Combo(this, QStringLiteral("geoTransfCombo"), kTransforms);
    barTop_ = Edit(this, QStringLiteral("barTopEdit"));
    barBot_ = Edit(this, QStringLiteral("barBotEdit"));
    sectionKind_ = Combo(this, QStringLiteral("sectionTypeCombo"), kSectionKinds);
    divideFX_ = Edit(this, QStringLiteral("divideFXEdit"));
    divideFY_ = Edit(this, QStringLiteral("divideFYEdit"));
    barNumNX_ = Edit(this, QStringLiteral("barNumNXEdit"));
    barNumNY_ = Edit(this, QStringLiteral("barNumNYEdit"));
    cover_ = Edit(this, QStringLiteral("coverEdit"));
    hingeLenI_ = Edit(this, QStringLiteral("hingeLengthIEdit"), QStringLiteral("1000"));
    hingeLenJ_ = Edit(this, QStringLiteral("hingeLengthJEdit"), QStringLiteral("1000"));

    auto* column = new QVBoxLayout;
    column->addWidget(Group(this, QStringLiteral("P-Delta"), {{"GeoTransf", geoTransf_}}));
    column->addWidget(Group(this, QStringLiteral("Rebar Setting (total area of a face's bars)"),
                            {{"X-Bar(Top) area", barTop_}, {"Y-Bar(Bot) area", barBot_}}));
    column->addWidget(Group(this, QStringLiteral("Nonlinear Setting"),
                            {{"Section Type", sectionKind_},
                             {"Divide FX", divideFX_},
                             {"Divide FY", divideFY_},
                             {"Bar Num NX", barNumNX_},
                             {"Bar Num NY", barNumNY_},
                             {"Cover", cover_}}));
    column->addWidget(
        Group(this, QStringLiteral("Beam With Hinge(Hinge Length)"),
              {{"Hinge Length Node I", hingeLenI_}, {"Hinge Length Node J", hingeLenJ_}}));
    column->addStretch();
    return column;
}

QLayout* FrameSectionDialog::makeButtonRow() {
    auto* importButton = new QPushButton(QStringLiteral("Import"), this);
    importButton->setObjectName(QStringLiteral("importButton"));
    auto* exportButton = new QPushButton(QStringLiteral("Export"), this);
    exportButton->setObjectName(QStringLiteral("exportButton"));
    auto* analysisButton = new QPushButton(QStringLiteral("Section analysis"), this);
    analysisButton->setObjectName(QStringLiteral("sectionAnalysisButton"));
    unitLabel_ = new QLabel(this);
    unitLabel_->setObjectName(QStringLiteral("unitLabel"));
    auto* row = new QHBoxLayout;
    row->addWidget(importButton);
    row->addWidget(exportButton);
    row->addWidget(analysisButton);
    row->addStretch();
    row->addWidget(unitLabel_);
    row->addStretch();
    // "OK" stores the section and keeps the dialog open for the next one.
    row->addWidget(makeButtons(QDialogButtonBox::Apply | QDialogButtonBox::Close));
    QPushButton* ok = button(QDialogButtonBox::Apply);
    ok->setText(QStringLiteral("OK"));
    ok->setObjectName(QStringLiteral("okButton"));
    connect(importButton, &QPushButton::clicked, this, &FrameSectionDialog::importLibrary);
    connect(exportButton, &QPushButton::clicked, this, &FrameSectionDialog::exportLibrary);
    connect(analysisButton, &QPushButton::clicked, this, [this] {
        if (const int s = selectedSection(); s > 0 && tryApply()) emit sectionAnalysisRequested(s);
    });
    return row;
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
    const QString area = unit + QChar(0x00B2);
    unitLabel_->setText(QStringLiteral("Units %1, %2").arg(unit, area));
    unitLabel_->setToolTip(
        QStringLiteral("Dimensions, cover and hinge lengths in %1, bar areas in %2")
            .arg(unit, area));
    barTop_->setToolTip(
        QStringLiteral("The area of all the bars of an X face (top and bottom of a column), in "
                       "%1: each of the Bar Num NX bars has this area / NX")
            .arg(area));
    barBot_->setToolTip(
        QStringLiteral("The area of all the bars of a Y face (both sides of a column), in "
                       "%1: each of the Bar Num NY bars has this area / NY")
            .arg(area));
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
    filling_ = true;
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
    filling_ = false;
    checkTyped();
}

std::vector<std::pair<const char*, QLineEdit*>> FrameSectionDialog::fieldBoxes() const {
    return {{"DivideFX", divideFX_}, {"DivideFY", divideFY_},   {"BarNumNX", barNumNX_},
            {"BarNumNY", barNumNY_}, {"BarTop", barTop_},       {"BarBot", barBot_},
            {"Cover", cover_},       {"HingeLenI", hingeLenI_}, {"HingeLenJ", hingeLenJ_}};
}

void FrameSectionDialog::checkTyped() {
    const int s = selectedSection();
    if (filling_ || s == 0) return;
    QLineEdit* bad = nullptr;
    QString why;
    TSECTION sec = model_.Sections[static_cast<size_t>(s)];
    // A box that does not convert, in the order OK reads them, then the layout of the whole.
    for (const auto& [field, box] : fieldBoxes()) {
        try {
            if (box == divideFX_ || box == divideFY_ || box == barNumNX_ || box == barNumNY_)
                IntOf(box);
            else
                RealOf(box);
        } catch (const ConversionError& e) {
            bad = box;
            why = QString::fromLocal8Bit(e.what());
            break;
        }
    }
    if (bad == nullptr) {
        readFields(sec);
        if (const std::optional<LayoutFault> fault = FiberLayoutFault(sec)) {
            for (const auto& [field, box] : fieldBoxes())
                if (fault->field == field) bad = box;
            why = QString::fromLocal8Bit(fault->message);
        }
    }
    for (const auto& [field, box] : fieldBoxes()) {
        box->setProperty("fault", box == bad);
        box->setStyleSheet(box == bad ? kFaultStyle : QString());
    }
    faultLabel_->setText(why);
    if (!why.isEmpty()) return;
    picture_ = SectionPreviewImage(sec);
    pictureLabel_->setPixmap(QPixmap::fromImage(picture_));
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
    const QString path = WithSuffix(chooseExportFile_(this), QStringLiteral("json"));
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
    return ModelessDialog::eventFilter(watched, event);
}

} // namespace vandra::gui
