#include "suite/gui/SuiteEditor.h"

#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <filesystem>

namespace vandra::gui {
namespace {

QString Q(const std::string& s) {
    return QString::fromLocal8Bit(s);
}

std::string Local(const QString& s) {
    return s.toLocal8Bit().toStdString();
}

double Number(const QLineEdit* edit, const char* field) {
    try {
        return parse::Float(Local(edit->text().trimmed()));
    } catch (const ConversionError& e) {
        throw ConversionError(std::string(field) + ": " + e.what());
    }
}

QString RecordText(const motion::RecordSource& r) {
    QString text = QFileInfo(Q(r.path)).fileName();
    if (r.format == motion::RecordFormat::kColumns)
        text +=
            QStringLiteral(" (dt %1 s, column %2)").arg(Q(text::FormatGeneral(r.dt))).arg(r.column);
    return text;
}

QStringList ChooseRecordFiles(QWidget* parent) {
    return QFileDialog::getOpenFileNames(
        parent, QStringLiteral("Add ground-motion records"), QString(),
        QStringLiteral("PEER records (*.AT2 *.at2);;Files of one column (*.txt *.dat);;All "
                       "files (*)"));
}

} // namespace

SuiteEditor::SuiteEditor(QWidget* parent) : QWidget(parent), chooseRecords_(ChooseRecordFiles) {
    recordList_ = new QListWidget(this);
    recordList_->setObjectName(QStringLiteral("recordList"));
    auto* add = new QPushButton(QStringLiteral("Add..."), this);
    add->setObjectName(QStringLiteral("addRecordButton"));
    auto* remove = new QPushButton(QStringLiteral("Remove"), this);
    remove->setObjectName(QStringLiteral("removeRecordButton"));
    connect(add, &QPushButton::clicked, this, &SuiteEditor::addRecords);
    connect(remove, &QPushButton::clicked, this, &SuiteEditor::removeRecord);
    columnDt_ = new QLineEdit(QStringLiteral("0.01"), this);
    columnDt_->setObjectName(QStringLiteral("columnDtEdit"));

    kind_ = new QComboBox(this);
    kind_->setObjectName(QStringLiteral("intensityKindCombo"));
    kind_->addItems({QStringLiteral("Levels of Sa(T1), g"), QStringLiteral("Scale factors")});
    intensities_ = new QLineEdit(this);
    intensities_->setObjectName(QStringLiteral("intensitiesEdit"));
    intensities_->setPlaceholderText(QStringLiteral("0.2, 0.4, 0.6"));
    period_ = new QLineEdit(this);
    period_->setObjectName(QStringLiteral("periodEdit"));
    period_->setPlaceholderText(QStringLiteral("from a modal run"));
    direction_ = new QComboBox(this);
    direction_->setObjectName(QStringLiteral("directionCombo"));
    direction_->addItems(
        {QStringLiteral("1 (X)"), QStringLiteral("2 (Y)"), QStringLiteral("3 (Z)")});
    damping_ = new QLineEdit(this);
    damping_->setObjectName(QStringLiteral("dampingEdit"));
    connect(kind_, &QComboBox::currentIndexChanged, this, &SuiteEditor::kindChanged);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    auto* records = new QHBoxLayout;
    records->addWidget(recordList_);
    records->addLayout(buttons);
    auto* form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(QStringLiteral("Records"), records);
    form->addRow(QStringLiteral("Time step of column files, s"), columnDt_);
    form->addRow(QStringLiteral("Intensities"), kind_);
    form->addRow(QString(), intensities_);
    form->addRow(QStringLiteral("Period T1, s"), period_);
    form->addRow(QStringLiteral("Direction"), direction_);
    form->addRow(QStringLiteral("Damping ratio"), damping_);
    setSuite(motion::Suite());
}

void SuiteEditor::setSuite(const motion::Suite& suite) {
    records_ = suite.records;
    showRecords();
    kind_->setCurrentIndex(suite.kind == motion::IntensityKind::kLevel ? 0 : 1);
    QStringList values;
    for (double v : suite.intensities)
        values << Q(text::FormatGeneral(v));
    intensities_->setText(values.join(QStringLiteral(", ")));
    period_->setText(suite.period ? Q(text::FormatGeneral(*suite.period)) : QString());
    direction_->setCurrentIndex(suite.direction - 1);
    damping_->setText(Q(text::FormatGeneral(suite.damping)));
    kindChanged();
}

motion::Suite SuiteEditor::suite(const std::string& path) const {
    motion::Suite s;
    s.records = records_;
    s.kind =
        kind_->currentIndex() == 0 ? motion::IntensityKind::kLevel : motion::IntensityKind::kFactor;
    for (const QString& value : intensities_->text().split(
             QRegularExpression(QStringLiteral("[,\\s]+")), Qt::SkipEmptyParts)) {
        try {
            s.intensities.push_back(parse::Float(Local(value)));
        } catch (const ConversionError& e) {
            throw ConversionError(std::string("Intensities: ") + e.what());
        }
    }
    if (s.kind == motion::IntensityKind::kLevel && !period_->text().trimmed().isEmpty())
        s.period = Number(period_, "Period T1");
    s.direction = direction_->currentIndex() + 1;
    s.damping = Number(damping_, "Damping ratio");
    // Checked by the reader of suite files, with its messages.
    std::vector<std::string> warnings;
    return motion::ParseSuite(motion::SuiteText(s, path), path, warnings);
}

void SuiteEditor::addRecords() {
    const QStringList files = chooseRecords_(this);
    if (files.isEmpty()) return;
    const double dt = Number(columnDt_, "Time step of column files");
    for (const QString& file : files) {
        motion::RecordSource source;
        source.path = std::filesystem::absolute(Local(file)).lexically_normal().string();
        if (!file.endsWith(QStringLiteral(".at2"), Qt::CaseInsensitive)) {
            source.format = motion::RecordFormat::kColumns;
            source.dt = dt;
        }
        records_.push_back(source);
    }
    showRecords();
}

void SuiteEditor::removeRecord() {
    const int row = recordList_->currentRow();
    if (row < 0) return;
    records_.erase(records_.begin() + row);
    showRecords();
}

void SuiteEditor::showRecords() {
    recordList_->clear();
    for (const motion::RecordSource& r : records_) {
        recordList_->addItem(RecordText(r));
        recordList_->item(recordList_->count() - 1)->setToolTip(Q(r.path));
    }
}

void SuiteEditor::kindChanged() {
    period_->setEnabled(kind_->currentIndex() == 0);
}

} // namespace vandra::gui
