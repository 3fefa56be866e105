#include "app/run/SectionRun.h"

#include "tcl/ScriptGenerator.h"

#include <QDir>
#include <QEventLoop>
#include <QTimer>

#include <exception>

namespace vandra {

SectionRun::SectionRun(QObject* parent) : QObject(parent) {}

SectionRun::~SectionRun() {
    if (process_ != nullptr) {
        process_->disconnect(this);
        process_->kill();
        process_->waitForFinished();
    }
}

void SectionRun::start(const QString& solver, MomentCurvaturePlan plan) {
    if (running_) stop();
    plan_ = std::move(plan);
    curve_ = {};
    console_.clear();
    runError_.clear();
    running_ = true;
    folder_ = std::make_unique<QTemporaryDir>(QDir::tempPath() +
                                              QStringLiteral("/vandra-section-XXXXXX"));
    if (!folder_->isValid()) {
        end(QStringLiteral("Cannot make a temporary folder for the run: ") +
            folder_->errorString());
        return;
    }
    const QString script = folder_->filePath(QStringLiteral("section.tcl"));
    try {
        WriteScriptFile(QFile::encodeName(script).toStdString(), plan_.script);
    } catch (const std::exception& e) {
        end(QString::fromLocal8Bit(e.what()));
        return;
    }
    delete process_;
    process_ = new QProcess(this);
    process_->setWorkingDirectory(folder_->path());
    process_->setProcessChannelMode(QProcess::MergedChannels);
    process_->setStandardInputFile(QProcess::nullDevice());
    connect(process_, &QProcess::readyReadStandardOutput, this,
            [this] { console_ += QString::fromLocal8Bit(process_->readAllStandardOutput()); });
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            end(QStringLiteral("The solver %1 did not start: %2")
                    .arg(process_->program(), process_->errorString()));
    });
    connect(process_, &QProcess::finished, this, [this](int, QProcess::ExitStatus status) {
        console_ += QString::fromLocal8Bit(process_->readAllStandardOutput());
        end(status == QProcess::CrashExit ? QStringLiteral("The solver crashed") : QString());
    });
    process_->start(solver, {QStringLiteral("section.tcl")});
}

bool SectionRun::isRunning() const {
    return running_;
}

bool SectionRun::waitForFinished(int msecs) {
    if (!running_) return true;
    QEventLoop loop;
    connect(this, &SectionRun::finished, &loop, &QEventLoop::quit);
    if (msecs >= 0) QTimer::singleShot(msecs, &loop, &QEventLoop::quit);
    if (running_) loop.exec();
    return !running_;
}

void SectionRun::stop() {
    if (!running_ || process_ == nullptr) return;
    process_->disconnect(this);
    process_->kill();
    process_->waitForFinished();
    end(QStringLiteral("it was stopped"));
}

QString SectionRun::error() const {
    if (!runError_.isEmpty()) return runError_;
    return QString::fromLocal8Bit(curve_.failure);
}

void SectionRun::end(const QString& error) {
    if (!running_) return;
    running_ = false;
    runError_ = error;
    if (error.isEmpty()) {
        try {
            curve_ = ReadMomentCurvature(plan_, QFile::encodeName(folder_->path()).toStdString(),
                                         console_.toStdString());
        } catch (const std::exception& e) {
            runError_ = QString::fromLocal8Bit(e.what());
        }
    }
    emit finished();
}

} // namespace vandra
