#include "app/gui/SolverWindow.h"

#include "model/NumberText.h"

#include <QDir>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QVBoxLayout>

namespace vandra::gui {
namespace {

const QColor kTroubleColour(200, 0, 0);
const QColor kNoteColour(90, 90, 90);

QString FromNumberText(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

bool ReadStepLine(const QString& line, int& done, int& asked) {
    static const QRegularExpression kStep(QStringLiteral("^Step (\\d+) of (\\d+)$"));
    const QRegularExpressionMatch m = kStep.match(line);
    if (!m.hasMatch()) return false;
    bool doneOk = false, askedOk = false;
    const int d = m.captured(1).toInt(&doneOk), a = m.captured(2).toInt(&askedOk);
    if (!doneOk || !askedOk || a < 1 || d > a) return false;
    done = d;
    asked = a;
    return true;
}

bool IsSolverTroubleLine(const QString& line) {
    if (line.trimmed().startsWith(QLatin1String("WARNING"))) return true;
    static const char* const kMarkers[] = {"error", "invalid command name", "while executing",
                                           "couldn't ", "failed"};
    for (const char* marker : kMarkers) {
        if (line.contains(QLatin1String(marker), Qt::CaseInsensitive)) return true;
    }
    return false;
}

SolverWindow::SolverWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("solverWindow"));
    setWindowTitle(QStringLiteral("OpenSees solver"));
    resize(760, 480);

    output_ = new QPlainTextEdit(this);
    output_->setObjectName(QStringLiteral("solverOutputEdit"));
    output_->setReadOnly(true);
    output_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    output_->setLineWrapMode(QPlainTextEdit::NoWrap);

    stateLabel_ = new QLabel(this);
    stateLabel_->setObjectName(QStringLiteral("solverStateLabel"));
    stopButton_ = new QPushButton(QStringLiteral("Stop"), this);
    stopButton_->setObjectName(QStringLiteral("stopSolverButton"));
    stopButton_->setEnabled(false);
    loadResultsButton_ = new QPushButton(QStringLiteral("Load results"), this);
    loadResultsButton_->setObjectName(QStringLiteral("loadResultsButton"));
    loadResultsButton_->setToolTip(
        QStringLiteral("Open the Deformation Shape dialog on this run's recorder files"));
    loadResultsButton_->setEnabled(false);
    auto* closeButton = new QPushButton(QStringLiteral("Close"), this);
    closeButton->setObjectName(QStringLiteral("closeSolverButton"));

    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("solverProgressBar"));
    progressBar_->setFormat(QStringLiteral("Step %v of %m"));
    progressBar_->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(stateLabel_, 1);
    buttons->addWidget(loadResultsButton_);
    buttons->addWidget(stopButton_);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(output_, 1);
    layout->addWidget(progressBar_);
    layout->addLayout(buttons);

    process_ = new QProcess(this);
    connect(process_, &QProcess::readyReadStandardOutput, this,
            [this] { readChannel(QProcess::StandardOutput); });
    connect(process_, &QProcess::readyReadStandardError, this,
            [this] { readChannel(QProcess::StandardError); });
    connect(process_, &QProcess::finished, this, &SolverWindow::finish);
    connect(process_, &QProcess::errorOccurred, this, &SolverWindow::failToStart);
    connect(stopButton_, &QPushButton::clicked, this, [this] {
        stopPressed_ = true;
        process_->kill();
    });
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(loadResultsButton_, &QPushButton::clicked, this,
            [this] { emit loadResultsRequested(workingDir_); });
}

SolverWindow::~SolverWindow() {
    if (isRunning()) {
        process_->kill();
        process_->waitForFinished(1000);
    }
}

void SolverWindow::start(const QString& solver, const QString& script, const QString& workingDir) {
    output_->clear();
    pendingOut_.clear();
    pendingErr_.clear();
    troubleLines_ = 0;
    stopPressed_ = false;
    workingDir_ = workingDir;
    loadResultsButton_->setEnabled(false);
    progressBar_->hide();
    appendLine(QStringLiteral("Solver:  %1").arg(QDir::toNativeSeparators(solver)), LineKind::Note);
    appendLine(QStringLiteral("Script:  %1").arg(QDir::toNativeSeparators(script)), LineKind::Note);
    appendLine(QStringLiteral("Folder:  %1").arg(QDir::toNativeSeparators(workingDir)),
               LineKind::Note);
    stateLabel_->setText(QStringLiteral("Running"));
    stopButton_->setEnabled(true);
    process_->setWorkingDirectory(workingDir);
    process_->setProcessChannelMode(QProcess::SeparateChannels);
    process_->start(solver, QStringList{script}, QIODevice::ReadOnly);
}

bool SolverWindow::isRunning() const {
    return process_->state() != QProcess::NotRunning;
}

QString SolverWindow::outputText() const {
    return output_->toPlainText();
}

void SolverWindow::readChannel(QProcess::ProcessChannel channel) {
    QByteArray& pending = channel == QProcess::StandardOutput ? pendingOut_ : pendingErr_;
    process_->setReadChannel(channel);
    pending += process_->readAll();
    qsizetype end;
    while ((end = pending.indexOf('\n')) >= 0) {
        QString line = QString::fromLocal8Bit(pending.left(end));
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        pending.remove(0, end + 1);
        showLine(line);
    }
}

void SolverWindow::showLine(const QString& line) {
    // The script's "Step K of N" lines move the bar; a stage's last one stays in the output.
    int done = 0, asked = 0;
    if (ReadStepLine(line, done, asked)) {
        progressBar_->setRange(0, asked);
        progressBar_->setValue(done);
        progressBar_->show();
        if (done < asked) return;
    }
    appendLine(line, IsSolverTroubleLine(line) ? LineKind::Trouble : LineKind::Output);
}

void SolverWindow::flushPending() {
    readChannel(QProcess::StandardOutput);
    readChannel(QProcess::StandardError);
    for (QByteArray* pending : {&pendingOut_, &pendingErr_}) {
        if (pending->isEmpty()) continue;
        const QString line = QString::fromLocal8Bit(*pending);
        pending->clear();
        showLine(line);
    }
}

void SolverWindow::appendLine(const QString& line, LineKind kind) {
    QTextCharFormat format;
    if (kind == LineKind::Trouble) {
        format.setForeground(kTroubleColour);
        format.setFontWeight(QFont::Bold);
        ++troubleLines_;
    } else if (kind == LineKind::Note) {
        format.setForeground(kNoteColour);
        format.setFontItalic(true);
    }
    QTextCursor cursor(output_->document());
    cursor.movePosition(QTextCursor::End);
    if (!output_->document()->isEmpty()) cursor.insertBlock();
    cursor.insertText(line, format);
    output_->ensureCursorVisible();
}

void SolverWindow::finish(int exitCode, QProcess::ExitStatus status) {
    flushPending();
    stopButton_->setEnabled(false);
    const int marked = troubleLines_;
    const bool crashed = status == QProcess::CrashExit;
    const bool troubled = crashed || exitCode != 0 || troubleLines_ > 0;
    if (crashed && stopPressed_) {
        const QString at = progressBar_->isHidden() ? QString()
                                                    : QStringLiteral(" after step %1 of %2")
                                                          .arg(progressBar_->value())
                                                          .arg(progressBar_->maximum());
        appendLine(QStringLiteral("The run was stopped (Stop)%1: the results written so far end "
                                  "where it stopped")
                       .arg(at),
                   LineKind::Trouble);
        stateLabel_->setText(QStringLiteral("Stopped"));
        loadResultsButton_->setEnabled(true);
        emit solverFinished(-1);
        return;
    }
    if (crashed) {
        appendLine(QStringLiteral("Solver stopped before its end (crashed or killed)"),
                   LineKind::Trouble);
    } else {
        appendLine(FromNumberText(text::Format("Solver ended with exit status %d", {exitCode})),
                   exitCode != 0 ? LineKind::Trouble : LineKind::Note);
    }
    if (troubled) {
        appendLine(QStringLiteral("Solver finished with warnings or errors"), LineKind::Trouble);
        stateLabel_->setText(FromNumberText(
            text::Format("Finished with warnings or errors (%d marked solver lines)", {marked})));
    } else {
        appendLine(QStringLiteral("Solver finished without warnings"), LineKind::Note);
        stateLabel_->setText(QStringLiteral("Finished"));
    }
    loadResultsButton_->setEnabled(true);
    emit solverFinished(crashed ? -1 : exitCode);
}

void SolverWindow::failToStart(QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return;
    stopButton_->setEnabled(false);
    appendLine(QStringLiteral("The solver could not be started: %1").arg(process_->errorString()),
               LineKind::Trouble);
    stateLabel_->setText(QStringLiteral("Not started"));
    emit solverFinished(-1);
}

} // namespace vandra::gui
