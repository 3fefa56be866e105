// Running the solver: a fake OpenSees beside the test program stands in for the real one.
#include "WidgetTest.h"
#include "app/gui/MainWindow.h"
#include "app/gui/SolverWindow.h"
#include "post/gui/DeformationDialog.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBlock>

using namespace vandra::gui;
using namespace vandra::testing;

namespace {

QString FakeSolverPath() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("OpenSees"));
}

bool WriteFakeSolver(const QByteArray& body) {
    return WriteFile(FakeSolverPath(), "#!/bin/sh\n" + body) &&
           QFile::setPermissions(FakeSolverPath(),
                                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// The colour of the first line of the solver window that contains text.
QColor LineColour(const SolverWindow& window, const QString& text) {
    const auto* edit = window.findChild<QPlainTextEdit*>(QStringLiteral("solverOutputEdit"));
    for (QTextBlock b = edit->document()->begin(); b.isValid(); b = b.next()) {
        if (b.text().contains(text)) return b.begin().fragment().charFormat().foreground().color();
    }
    return QColor();
}

} // namespace

class SolverRunTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        // The fake beside the test program is found only when VANDRA_OPENSEES names no other
        // solver.
        qunsetenv("VANDRA_OPENSEES");
        boxes_.texts.clear();
    }

    void cleanup() { QFile::remove(FakeSolverPath()); }

    void troubleLinesAreRecognised() {
        const QList<QPair<QString, bool>> lines = {
            {"  WARNING: no element found", true},
            {"    while executing", true},
            {"couldn't read file \"GMX.txt\": no such file or directory", true},
            {"ERROR: analysis failed at step 12", true},
            {"OpenSees -- Open System For Earthquake Engineering Simulation", false},
            {"restraint", false},
            {"Periods of the 12 modes written", false},
        };
        for (const auto& [line, trouble] : lines)
            QVERIFY2(IsSolverTroubleLine(line) == trouble, qPrintable(line));
    }

    void fakeSolverGetsTheScriptAsOneArgument_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<bool>("troubled");
        const QByteArray common = "echo \"args=$#\"\necho \"script=$1\"\necho \"cwd=$(pwd)\"\n";
        QTest::newRow("warning and exit 3")
            << common + "echo 'WARNING - analysis failed' >&2\nprintf 'last words'\nexit 3\n"
            << 3 << true;
        QTest::newRow("Tcl error but exit 0")
            << common +
                   "echo 'invalid command name \"nodee\"' >&2\necho '    while executing' >&2\n"
            << 0 << true;
        QTest::newRow("clean run") << common + "echo 'analysis done' >&2\n" << 0 << false;
    }

    void fakeSolverGetsTheScriptAsOneArgument() {
        QFETCH(QByteArray, body);
        QFETCH(int, exitCode);
        QFETCH(bool, troubled);
        QVERIFY(WriteFakeSolver(body));
        QTemporaryDir dir;
        const QString script = dir.filePath(QStringLiteral("two storey/frame model.tcl"));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("two storey")) && WriteFile(script, {}));

        MainWindow window;
        window.setScriptFileChooser([&](QWidget*) { return script; });
        SolverWindow* solver = window.solverWindow();
        QSignalSpy finished(solver, &SolverWindow::solverFinished);
        window.action(Command::RunSolver)->trigger();
        QVERIFY2(boxes_.texts.isEmpty(), qPrintable(boxes_.texts.join('\n')));
        QVERIFY(solver->isVisible());
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.first().first().toInt(), exitCode);

        // The solver runs in the script's own folder, where its recorder files then lie.
        const QStringList out = solver->outputText().split('\n');
        for (const QString& line :
             {QStringLiteral("args=1"), QStringLiteral("script=") + script,
              QStringLiteral("cwd=") + QFileInfo(script).absolutePath(),
              QStringLiteral("Solver ended with exit status %1").arg(exitCode)})
            QVERIFY2(out.contains(line), qPrintable(line));
        QCOMPARE(out.contains(QStringLiteral("Solver finished with warnings or errors")), troubled);
        QCOMPARE(LineColour(*solver, QStringLiteral("args=1")), QColor(Qt::black));
        if (exitCode == 3) {
            QVERIFY(out.contains(QStringLiteral("last words"))); // a last line without its newline
            QCOMPARE(LineColour(*solver, QStringLiteral("WARNING - analysis failed")),
                     QColor(200, 0, 0));
            QCOMPARE(LineColour(*solver, QStringLiteral("exit status 3")), QColor(200, 0, 0));
        }

        // "Load results" opens the Deformation Shape dialog on the run's folder.
        QVERIFY(Child<QPushButton>(solver, "loadResultsButton")->isEnabled());
        Press(*solver, "loadResultsButton");
        QCOMPARE(window.resultsFolder().folder(), QFileInfo(script).absolutePath());
        QVERIFY(window.deformationDialog()->isVisible());
    }

    void stopIsReportedAsStoppedNotCrashed() {
        QVERIFY(WriteFakeSolver("echo started\nexec sleep 30\n"));
        MainWindow window;
        window.setScriptFileChooser([](QWidget*) { return QStringLiteral("/tmp/run.tcl"); });
        SolverWindow* solver = window.solverWindow();
        QSignalSpy finished(solver, &SolverWindow::solverFinished);
        window.action(Command::RunSolver)->trigger();
        QTRY_VERIFY(solver->outputText().contains(QStringLiteral("started")));
        Press(*solver, "stopSolverButton");
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);
        QVERIFY(solver->outputText().contains(QStringLiteral("The run was stopped (Stop)")));
        QVERIFY(!solver->outputText().contains(QStringLiteral("crashed")));
    }

    // Cancelling the script choice runs nothing and says nothing; without a solver (no fake
    // beside the program, nothing on the PATH) the run is refused with one message.
    void noRunWithoutAScriptOrASolver() {
        QTemporaryDir emptyBin;
        const QByteArray path = qgetenv("PATH");
        for (const bool cancel : {true, false}) {
            QVERIFY(!cancel || WriteFakeSolver("exit 0\n"));
            MainWindow window;
            window.setScriptFileChooser(
                [&](QWidget*) { return cancel ? QString() : QStringLiteral("/tmp/model.tcl"); });
            if (!cancel)
                QFile::remove(FakeSolverPath()), qputenv("PATH", emptyBin.path().toLocal8Bit());
            window.action(Command::RunSolver)->trigger();
            qputenv("PATH", path);
            QCOMPARE(boxes_.texts.size(), cancel ? 0 : 1);
            QVERIFY(!window.solverWindow()->isVisible() && !window.solverWindow()->isRunning());
        }
    }

private:
    ErrorBoxes boxes_;
};

QTEST_MAIN(SolverRunTest)
#include "SolverRunTest.moc"
