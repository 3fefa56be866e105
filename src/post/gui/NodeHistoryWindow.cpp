#include "post/gui/NodeHistoryWindow.h"

#include "app/gui/ErrorBox.h"
#include "model/AtomicFile.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "post/HistoryText.h"
#include "post/RecorderReaders.h"
#include "post/gui/HistoryPlot.h"
#include "post/gui/ResultsFolder.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>
#include <utility>

namespace vandra::gui {
namespace {

std::string FilePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

NodeHistoryWindow::NodeHistoryWindow(const TModel& model, ResultsFolder& folder, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(model), folder_(folder) {
    setObjectName(QStringLiteral("nodeHistoryWindow"));
    setWindowTitle(QStringLiteral("Node History"));

    jointEdit_ = new QLineEdit(this);
    jointEdit_->setObjectName(QStringLiteral("jointEdit"));
    jointEdit_->setMaximumWidth(90);
    directionCombo_ = new QComboBox(this);
    directionCombo_->setObjectName(QStringLiteral("directionCombo"));
    directionCombo_->addItems({QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("Z")});
    swapCheck_ = new QCheckBox(QStringLiteral("Displacement across"), this);
    swapCheck_->setObjectName(QStringLiteral("swapAxesCheck"));
    swapCheck_->setToolTip(QStringLiteral(
        "The displacement on the horizontal axis and the time column (load factor) upwards: the "
        "usual picture of a capacity curve"));
    auto* show = new QPushButton(QStringLiteral("Show"), this);
    show->setObjectName(QStringLiteral("showHistoryButton"));
    pickButton_ = new QPushButton(QStringLiteral("Pick in View"), this);
    pickButton_->setObjectName(QStringLiteral("pickJointButton"));
    pickButton_->setCheckable(true);
    pickButton_->setToolTip(QStringLiteral("The next click in the model view picks the joint"));
    auto* csv = new QPushButton(QStringLiteral("Export CSV..."), this);
    csv->setObjectName(QStringLiteral("exportCsvButton"));
    auto* png = new QPushButton(QStringLiteral("Export PNG..."), this);
    png->setObjectName(QStringLiteral("exportPngButton"));
    auto* folderButton = new QPushButton(QStringLiteral("Results Folder..."), this);
    folderButton->setObjectName(QStringLiteral("resultsFolderButton"));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName(QStringLiteral("historyStatusLabel"));
    plot_ = new HistoryPlot(this);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Joint"), this));
    top->addWidget(jointEdit_);
    top->addWidget(directionCombo_);
    top->addWidget(swapCheck_);
    top->addWidget(show);
    top->addWidget(pickButton_);
    top->addStretch();
    top->addWidget(folderButton);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(statusLabel_, 1);
    bottom->addWidget(csv);
    bottom->addWidget(png);
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(plot_, 1);
    layout->addLayout(bottom);
    resize(720, 480);

    chooseSave_ = [](QWidget* p, const QString& caption, const QString& filter) {
        return QFileDialog::getSaveFileName(p, caption, QString(), filter);
    };
    const auto showTyped = [this] {
        guarded(
            [this] { showJoint(parse::Integer(jointEdit_->text().toLocal8Bit().toStdString())); });
    };
    connect(show, &QPushButton::clicked, this, showTyped);
    connect(jointEdit_, &QLineEdit::returnPressed, this, showTyped);
    connect(directionCombo_, &QComboBox::currentIndexChanged, this, [this] { replot(); });
    connect(swapCheck_, &QCheckBox::toggled, this, [this] { replot(); });
    connect(folderButton, &QPushButton::clicked, this, [this] { folder_.choose(this); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(csv, &QPushButton::clicked, this, [this] {
        const QString path =
            chooseSave_(this, QStringLiteral("Export CSV"), QStringLiteral("CSV file (*.csv)"));
        if (!path.isEmpty()) guarded([&] { exportCsv(path); });
    });
    connect(png, &QPushButton::clicked, this, [this] {
        const QString path =
            chooseSave_(this, QStringLiteral("Export PNG"), QStringLiteral("PNG picture (*.png)"));
        if (!path.isEmpty()) guarded([&] { exportPng(path); });
    });
}

template <typename Work> void NodeHistoryWindow::guarded(Work&& work) {
    try {
        work();
    } catch (const std::exception& e) {
        ShowErrorBox(this, QString::fromLocal8Bit(e.what()));
    }
}

void NodeHistoryWindow::showJoint(int joint) {
    const QString folder = folder_.ensure(this);
    if (folder.isEmpty()) return;
    TJointHistory history;
    if (!ReadResultFiles(this,
                         [&] { history = ReadJointHistory(model_, FilePath(folder), joint); }))
        return statusLabel_->setText(kResultReadCancelled);
    history_ = std::move(history);
    joint_ = joint;
    jointEdit_->setText(QString::number(joint));
    statusLabel_->setText(QStringLiteral("Joint %1: %2 recorded steps")
                              .arg(joint)
                              .arg(static_cast<qsizetype>(history_.Time.size())));
    replot();
}

bool NodeHistoryWindow::isPicking() const {
    return pickButton_->isChecked();
}

void NodeHistoryWindow::jointPicked(int joint) {
    pickButton_->setChecked(false);
    guarded([&] { showJoint(joint); });
}

void NodeHistoryWindow::clearHistory() {
    history_ = TJointHistory();
    joint_ = 0;
    statusLabel_->clear();
    plot_->setCurve(PlotCurve());
}

void NodeHistoryWindow::replot() {
    if (joint_ == 0) return;
    const int d = directionCombo_->currentIndex();
    const std::vector<double>& values = d == 0 ? history_.X : d == 1 ? history_.Y : history_.Z;
    const QString direction = directionCombo_->currentText();
    PlotCurve curve{history_.Time, values,
                    QStringLiteral("Joint %1, %2 displacement").arg(joint_).arg(direction),
                    QStringLiteral("time column (load factor under displacement control)"),
                    QStringLiteral("%1 displacement").arg(direction), {}};
    if (swapCheck_->isChecked()) {
        std::swap(curve.x, curve.y);
        std::swap(curve.xLabel, curve.yLabel);
    }
    plot_->setCurve(std::move(curve));
}

void NodeHistoryWindow::exportCsv(const QString& path) const {
    WriteFileAtomically(FilePath(path), JointHistoryCsv(history_));
}

void NodeHistoryWindow::exportPng(const QString& path) const {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!plot_->toImage().save(&buffer, "PNG"))
        throw InputError("The plot could not be encoded as PNG");
    WriteFileAtomically(FilePath(path),
                        std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
}

} // namespace vandra::gui
