// The long operations of the window, each cancelled in its progress dialog and each let finish:
// Cancel leaves the model, the settings, the choices and the loaded results as they were; a
// finished run stores what it read. The solver's step lines move the solver window's bar.
#include "app/gui/ErrorBox.h"
#include "app/gui/MainWindow.h"
#include "app/gui/SolverWindow.h"
#include "app/project/ProjectFile.h"
#include "document/SettingsByName.h"
#include "post/gui/AnimationDialog.h"
#include "post/gui/DeformationDialog.h"
#include "post/gui/ForceDiagramDialog.h"
#include "post/gui/NodeHistoryWindow.h"
#include "tcl/gui/TclFileDialog.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace vandra;
using namespace vandra::gui;

namespace {

const QString kData = QStringLiteral(VANDRA_SOURCE_DIR "/tests/data/");
const QString kModel = kData + QStringLiteral("two_storey_frame.s2k");

template <typename T> T* Child(QObject* parent, const char* name) {
    T* child = parent->findChild<T*>(QString::fromLatin1(name));
    if (!child) qFatal("no child %s", name);
    return child;
}

// The static run of the PUSH case in tests/data/frame_push.
void AssignPushSettings(MainWindow& window) {
    for (const char* set : {"AnalysisType=1", "LoadCase=2", "LoadSteps=4", "RecOpt=1,1,0,0,0",
                            "RecReactions=1", "RecRotations=1", "Sections[EIPE400].FrameType=4"})
        AssignSetting(window.document().model(),
                      SettingRooms{&window.document().settings(), &window.viewOptions(),
                                   &window.document().results()},
                      set);
}

void Click(QWidget* dialog, const char* button) {
    Child<QPushButton>(dialog, button)->click();
}

// What a long operation may change: the model with every choice and setting, the loaded results
// and what the windows show of them.
struct State {
    QJsonObject choices;
    int nodes = 0;
    std::vector<double> disp;
    int historySteps = 0, forceStep = 0, reactionSteps = 0;
    size_t modes = 0, jointSteps = 0;
    QString script;
    bool operator==(const State&) const = default;
};

State StateOf(MainWindow& w) {
    const Document& d = w.document();
    const TResults& r = d.results();
    return {project::ProjectDocument(d.model(), d.settings(), w.viewOptions(), d.path(), d.path()),
            d.model().NodeCount,
            r.Disp.X,
            r.History.Steps,
            r.Forces.Step,
            r.Reactions.Steps,
            r.Modal.Modes.size(),
            w.nodeHistoryWindow()->history().Time.size(),
            w.tclFileDialog()->scriptText()};
}

} // namespace

class LongWorkTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cancelKeepsAndFinishingStores_data();
    void cancelKeepsAndFinishingStores();
    void solverStepsMoveTheBar();

private:
    QTemporaryDir dir_;
    QString project_;
};

void LongWorkTest::initTestCase() {
    SetErrorBoxHandler([](const QString&, const QString& text) { QFAIL(qPrintable(text)); });
    // A project whose settings differ from those the window starts each case with.
    MainWindow window;
    window.importModel(kModel);
    window.document().settings().LoadSteps = 7;
    project_ = dir_.filePath(QStringLiteral("other.vandra"));
    QVERIFY(window.saveProject(project_));
}

using Operation = std::function<void(MainWindow&)>;

void LongWorkTest::cancelKeepsAndFinishingStores_data() {
    QTest::addColumn<Operation>("operation");
    const auto folder = [](MainWindow& w, const char* name) {
        w.resultsFolder().setFolder(kData + QLatin1String(name));
    };
    QTest::newRow("import") << Operation([](MainWindow& w) { w.importModel(kModel); });
    QTest::newRow("open project") << Operation([this](MainWindow& w) { w.openProject(project_); });
    QTest::newRow("generate") << Operation([](MainWindow& w) { w.tclFileDialog()->generate(); });
    QTest::newRow("node step") << Operation([](MainWindow& w) {
        Child<QLineEdit>(w.deformationDialog(), "loadStepEdit")->setText(QStringLiteral("4"));
        Click(w.deformationDialog(), "loadNodeButton");
    });
    QTest::newRow("mode shape") << Operation([folder](MainWindow& w) {
        folder(w, "frame_modal");
        Child<QLineEdit>(w.deformationDialog(), "modeNumEdit")->setText(QStringLiteral("2"));
        Click(w.deformationDialog(), "loadModeButton");
    });
    QTest::newRow("history") << Operation([](MainWindow& w) {
        Child<QLineEdit>(w.animationDialog(), "nstepEdit")->setText(QStringLiteral("4"));
        Click(w.animationDialog(), "loadDispButton");
    });
    QTest::newRow("force diagram") << Operation([](MainWindow& w) {
        w.action(Command::Force)->trigger();
        ForceDiagramDialog* d = w.forceDiagramDialog();
        Child<QComboBox>(d, "forceComponentCombo")->setCurrentIndex(kForceMy + 1);
        Child<QLineEdit>(d, "forceStepEdit")->setText(QStringLiteral("4"));
        QVERIFY(d->tryApply());
    });
    QTest::newRow("post tables") << Operation([](MainWindow& w) {
        w.action(Command::ReactionTable)->trigger();
    });
    QTest::newRow("joint history") << Operation([](MainWindow& w) {
        w.nodeHistoryWindow()->showJoint(21);
    });
}

void LongWorkTest::cancelKeepsAndFinishingStores() {
    QFETCH(Operation, operation);
    MainWindow window;
    window.importModel(kModel);
    AssignPushSettings(window);
    window.resultsFolder().setFolder(kData + QStringLiteral("frame_push"));
    // Results loaded before: step 1 of the push.
    Click(window.deformationDialog(), "loadNodeButton");
    const State before = StateOf(window);
    QCOMPARE(before.disp.size(), size_t(22));

    bool cancelled = false;
    QTimer::singleShot(0, &window, [&] {
        if (auto* p = window.findChild<QProgressDialog*>(QStringLiteral("progressDialog"))) {
            p->cancel();
            cancelled = true;
        }
    });
    operation(window);
    QVERIFY(cancelled);
    QVERIFY(StateOf(window) == before);

    operation(window);
    QVERIFY(!(StateOf(window) == before));
}

void LongWorkTest::solverStepsMoveTheBar() {
    const QString solver = QStandardPaths::findExecutable(QStringLiteral("OpenSees"));
    if (solver.isEmpty()) QSKIP("OpenSees is not on the PATH");
    qputenv("VANDRA_OPENSEES", QFile::encodeName(solver));
    MainWindow window;
    window.importModel(kModel);
    AssignPushSettings(window);
    window.tclFileDialog()->generate();
    const QString script = dir_.filePath(QStringLiteral("push.tcl"));
    QVERIFY(window.tclFileDialog()->saveTo(script));
    window.setScriptFileChooser([&](QWidget*) { return script; });
    SolverWindow* run = window.solverWindow();
    QSignalSpy finished(run, &SolverWindow::solverFinished);
    window.action(Command::RunSolver)->trigger();
    QVERIFY(finished.wait(60000));
    QCOMPARE(finished.first().first().toInt(), 0);
    QCOMPARE(run->troubleLineCount(), 0);
    // Four load steps asked, four done; the last step line stays in the output.
    const auto* bar = Child<QProgressBar>(run, "solverProgressBar");
    QCOMPARE(bar->maximum(), 4);
    QCOMPARE(bar->value(), 4);
    QVERIFY(run->outputText().contains(QStringLiteral("Step 4 of 4")));
    QVERIFY(!run->outputText().contains(QStringLiteral("Step 3 of 4")));
}

QTEST_MAIN(LongWorkTest)
#include "LongWorkTest.moc"
