#include "sections/gui/FramePropertiesDialog.h"

#include "app/gui/ErrorBox.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <array>

namespace vandra::gui {
namespace {

constexpr int kRows = 11;
constexpr int kColumns = 2;
constexpr int kNameWidth = 120;
constexpr int kValueWidth = 110;
constexpr int kRowHeight = 24;

enum Row : int {
    kLabelRow = 0,
    kNodeIRow,
    kNodeJRow,
    kAngleRow,
    kSectionRow,
    kElementTypeRow,
    kMaterialRow,
    kFilledRows,
};

constexpr std::array<const char*, kFilledRows> kRowNames{
    "Label", "Node i", "Node j", "Angle", "Section", "Element Type", "Material"};

QString Int(long long value) {
    return QString::fromLatin1(text::Format("%d", {value}));
}

// Record s of the frame sections, or the empty record when s is not one of them.
const TSECTION& SectionAt(const TModel& model, int s) {
    static const TSECTION empty;
    const bool inTable =
        s >= 1 && s <= model.SectionCount && s < static_cast<int>(model.Sections.size());
    return inTable ? model.Sections[static_cast<size_t>(s)] : empty;
}

const TMAT& MaterialAt(const TModel& model, int m) {
    static const TMAT empty;
    const bool inTable = m >= 1 && m <= model.MatCount && m < static_cast<int>(model.Mats.size());
    return inTable ? model.Mats[static_cast<size_t>(m)] : empty;
}

} // namespace

FramePropertiesDialog::FramePropertiesDialog(TModel& model, TInteraction& interaction,
                                             QWidget* parent)
    : ModelessDialog(parent), model_(model), interaction_(interaction) {
    setWindowTitle(QStringLiteral("Frame Properties"));
    setFont(QFont(QStringLiteral("Arial"), 8, QFont::Bold));
    resize(298, 413);

    frameLabel_ = new QLineEdit(this);
    frameLabel_->setObjectName(QStringLiteral("frameLabelEdit"));
    frameLabel_->setReadOnly(true);
    auto* refresh = new QPushButton(QStringLiteral("Refresh"), this);
    refresh->setObjectName(QStringLiteral("refreshButton"));
    auto* labelRow = new QHBoxLayout;
    labelRow->addWidget(new QLabel(QStringLiteral("Frame Label"), this));
    labelRow->addWidget(frameLabel_);
    labelRow->addWidget(refresh);

    // Row 0 and column 0 are header cells; the whole grid is read-only.
    grid_ = new QTableWidget(kRows, kColumns, this);
    grid_->setObjectName(QStringLiteral("propertiesGrid"));
    grid_->horizontalHeader()->hide();
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid_->setColumnWidth(0, kNameWidth);
    grid_->setColumnWidth(1, kValueWidth);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled);
            if (row == 0 || column == 0) item->setBackground(palette().button());
            grid_->setItem(row, column, item);
        }
    }
    for (int row = 0; row < kFilledRows; ++row)
        grid_->item(row, 0)->setText(QString::fromLatin1(kRowNames[static_cast<size_t>(row)]));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(labelRow);
    layout->addWidget(grid_);
    layout->addWidget(makeButtons(QDialogButtonBox::Ok));

    connect(refresh, &QPushButton::clicked, this, &FramePropertiesDialog::refresh);
}

void FramePropertiesDialog::setValue(int row, const QString& value) {
    grid_->item(row, 1)->setText(value);
}

void FramePropertiesDialog::refresh() {
    for (int row = 0; row < kFilledRows; ++row)
        setValue(row, QString());

    int n = 0;
    try {
        n = parse::Integer(frameLabel_->text().toLatin1().toStdString());
    } catch (const ConversionError& e) {
        ShowErrorBox(this, QString::fromLatin1(e.what()));
        return;
    }
    setValue(kLabelRow, Int(n));
    // A number that is not a frame of the store shows no values.
    if (n < 1 || n > model_.FrameCount || n >= static_cast<int>(model_.Frames.size())) return;

    const TFRAME& frame = model_.Frames[static_cast<size_t>(n)];
    const TSECTION& section = SectionAt(model_, frame.SecIdx);
    setValue(kNodeIRow, Int(frame.NodeI));
    setValue(kNodeJRow, Int(frame.NodeJ));
    setValue(kAngleRow, QString::fromLatin1(text::FormatGeneral(frame.Angle)));
    setValue(kSectionRow, QString::fromLatin1(section.Name));
    setValue(kElementTypeRow, Int(section.FrameType));
    setValue(kMaterialRow, QString::fromLatin1(MaterialAt(model_, section.MatIdx).Name));
}

void FramePropertiesDialog::load() {
    frameLabel_->setText(Int(interaction_.SelectedFrame));
    refresh();
}

void FramePropertiesDialog::done(int result) {
    // OK, Escape and the close box (which rejects) all end here.
    ModelessDialog::done(result);
    interaction_.SelectedFrame = 0;
    emit selectionCleared();
}

} // namespace vandra::gui
