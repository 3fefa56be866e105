// The solver's own window: starts OpenSees on a saved script and shows what it prints, live.
//
// OpenSees writes its banner, the script's puts and its warnings to the error stream and exits 0
// even after a Tcl error, so both streams are shown and every line that reports trouble is marked
// in red; the run ends with a summary line that says whether anything went wrong.
#pragma once

#include <QProcess>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace vandra::gui {

// A progress line of the generated script ("Step K of N", K from 1 up to N): true with K and N.
bool ReadStepLine(const QString& line, int& done, int& asked);

// A line of solver output that reports a warning or a failure.
bool IsSolverTroubleLine(const QString& line);

class SolverWindow : public QWidget {
    Q_OBJECT
public:
    explicit SolverWindow(QWidget* parent = nullptr);
    ~SolverWindow() override;

    // Starts solver with the script's path as its one argument, in workingDir, and returns at once.
    void start(const QString& solver, const QString& script, const QString& workingDir);
    bool isRunning() const;

    QString outputText() const;
    int troubleLineCount() const { return troubleLines_; }

signals:
    // The run is over: exitCode is the solver's exit status, or -1 after a crash or a failed start.
    void solverFinished(int exitCode);
    // "Load results" after a run: the recorder files are in the run's folder.
    void loadResultsRequested(const QString& folder);

private:
    enum class LineKind { Output, Trouble, Note };

    void readChannel(QProcess::ProcessChannel channel);
    void flushPending();
    void showLine(const QString& line);
    void appendLine(const QString& line, LineKind kind);
    void finish(int exitCode, QProcess::ExitStatus status);
    void failToStart(QProcess::ProcessError error);

    QProcess* process_ = nullptr;
    QPlainTextEdit* output_ = nullptr;
    QLabel* stateLabel_ = nullptr;
    QProgressBar* progressBar_ = nullptr; // steps done of asked, from the script's step lines
    QPushButton* stopButton_ = nullptr;
    QPushButton* loadResultsButton_ = nullptr;
    QString workingDir_;
    QByteArray pendingOut_, pendingErr_;
    int troubleLines_ = 0;
    bool stopPressed_ = false; // Stop killed the run: it did not crash
};

} // namespace vandra::gui
