// One moment-curvature run of the solver (tcl/MomentCurvatureScript.h), shared by the command line
// (which waits for it) and the section analysis window (which does not): the plan's script written
// into a new temporary folder, the solver started there, its output gathered and the curve read
// back when it ends. The folder goes with the run; nothing is written beside the model.
#pragma once

#include "post/SectionResults.h"

#include <QObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace vandra {

class SectionRun : public QObject {
    Q_OBJECT
public:
    explicit SectionRun(QObject* parent = nullptr);
    ~SectionRun() override;

    // Starts solver (its full path) on the plan's script and returns at once; a run still going is
    // stopped first. A folder or script that cannot be written, or a solver that does not start,
    // ends the run at once with its error.
    void start(const QString& solver, MomentCurvaturePlan plan);
    bool isRunning() const;
    // Waits until the run ended (msecs < 0: however long it takes); false when it is still going.
    bool waitForFinished(int msecs = -1);
    // Stops the solver; the run ends with the error "it was stopped".
    void stop();

    const MomentCurvaturePlan& plan() const { return plan_; }
    const MomentCurvatureCurve& curve() const { return curve_; }
    // Everything the solver printed, both streams in the order they came.
    const QString& console() const { return console_; }
    // Why the run gave no curve, or not the whole of it: the curve's failure, a solver that could
    // not start or crashed, a curve file that cannot be read. Empty after a complete run.
    QString error() const;

signals:
    void finished();

private:
    void end(const QString& error);

    std::unique_ptr<QTemporaryDir> folder_;
    QProcess* process_ = nullptr;
    MomentCurvaturePlan plan_;
    MomentCurvatureCurve curve_;
    QString console_;
    QString runError_;
    bool running_ = false;
};

} // namespace vandra
