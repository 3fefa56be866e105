#include "post/gui/AnimationDialog.h"

#include "app/gui/ErrorBox.h"
#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"
#include "post/RecorderReaders.h"
#include "post/gui/ResultsFolder.h"

#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>
#include <utility>

namespace vandra::gui {

AnimationDialog::AnimationDialog(const TModel& model, TResults& results, TAnimation& animation,
                                 ResultsFolder& folder, QWidget* parent)
    : QDialog(parent), model_(model), results_(results), animation_(animation), folder_(folder) {
    setObjectName(QStringLiteral("animationDialog"));
    setWindowTitle(QStringLiteral("Animation"));
    setModal(false);

    nstepEdit_ = new QLineEdit(QStringLiteral("100"), this);
    nstepEdit_->setObjectName(QStringLiteral("nstepEdit"));
    scaleEdit_ = new QLineEdit(QStringLiteral("100"), this);
    scaleEdit_->setObjectName(QStringLiteral("animScaleEdit"));
    auto* load = new QPushButton(QStringLiteral("LOAD DISP DATA"), this);
    load->setObjectName(QStringLiteral("loadDispButton"));
    auto* run = new QPushButton(QStringLiteral("Run Animation / Stop Animation"), this);
    run->setObjectName(QStringLiteral("runStopButton"));
    auto* close = new QPushButton(QStringLiteral("CLOSE"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    for (QPushButton* b : {load, run, close})
        b->setAutoDefault(false);
    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName(QStringLiteral("animationStatusLabel"));
    statusLabel_->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Nstep"), nstepEdit_);
    form->addRow(QStringLiteral("Scale"), scaleEdit_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(load);
    layout->addWidget(run);
    layout->addWidget(statusLabel_);
    layout->addWidget(close);

    connect(load, &QPushButton::clicked, this, [this] {
        try {
            loadHistory();
        } catch (const std::exception& e) {
            statusLabel_->setText(QStringLiteral("No history was loaded."));
            ShowErrorBox(this, QString::fromLocal8Bit(e.what()));
        }
    });
    connect(run, &QPushButton::clicked, this, &AnimationDialog::runStopRequested);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
}

void AnimationDialog::loadHistory() {
    const int nstep = parse::Integer(nstepEdit_->text().toLocal8Bit().toStdString());
    const double scale = parse::Float(scaleEdit_->text().toLocal8Bit().toStdString());
    if (nstep < 1) throw InputError("Nstep must be 1 or more, not " + text::FormatInt(nstep));
    animation_.Nstep = nstep;
    animation_.AnimScale = scale;
    const QString folder = folder_.ensure(this);
    if (folder.isEmpty()) return;
    TNodeHistory history;
    if (!ReadResultFiles(this, [&] {
            history = ReadNodeHistory(model_, QFile::encodeName(folder).toStdString(), nstep);
        }))
        return statusLabel_->setText(kResultReadCancelled);
    results_.History = std::move(history);
    statusLabel_->setText(QStringLiteral("%1 steps of every node loaded.").arg(nstep));
}

QString AnimationDialog::statusText() const {
    return statusLabel_->text();
}

} // namespace vandra::gui
