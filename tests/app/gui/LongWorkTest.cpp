// Each long operation of the window, cancelled in its progress dialog, leaves the model, settings,
// choices and results as they were; let finish, it stores what it read.
#include "app/gui/ErrorBox.h"
#include "app/gui/MainWindow.h"
#include "app/project/ProjectFile.h"
#include "document/SettingsByName.h"
#include "post/gui/AnimationDialog.h"
#include "post/gui/DeformationDialog.h"
#include "post/gui/ForceDiagramDialog.h"
#include "post/gui/NodeHistoryWindow.h"
#include "post/gui/PostTablesWindow.h"
#include "tcl/gui/TclFileDialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QtTest>

using namespace vandra;
using namespace vandra::gui;
using Operation = std::function<void(MainWindow&)>;

namespace {

const QString kData = QStringLiteral(VANDRA_SOURCE_DIR "/tests/data/");

// The window on the example with the settings of the tests/data/frame_push run.
void Prepare(MainWindow& w) {
    w.importModel(kData + "two_storey_frame.s2k");
    for (const char* set : {"AnalysisType=1", "LoadCase=2", "LoadSteps=4", "RecOpt=1,1,0,0,0",
                            "RecReactions=1", "Sections[EIPE400].FrameType=4"})
        AssignSetting(w.document().model(), w.document().settings(), set);
    w.resultsFolder().setFolder(kData + "frame_push");
}

// What a long operation may change: model, choices and settings, results, the windows' tables.
QString StateOf(MainWindow& w) {
    const Document& d = w.document();
    const TResults& r = d.results();
    return QJsonDocument(project::ProjectDocument(d.model(), d.settings(), w.viewOptions(),
                                                  d.path(), d.path()))
               .toJson() +
           w.tclFileDialog()->scriptText() +
           QString::asprintf("%d %g %d %d %d %zu %zu", d.model().NodeCount,
                             r.Disp.X.empty() ? 0 : r.Disp.X.back(), r.History.Steps, r.Forces.Step,
                             r.Reactions.Steps, r.Modal.Modes.size(),
                             w.nodeHistoryWindow()->history().Time.size());
}

} // namespace

class LongWorkTest : public QObject {
    Q_OBJECT
private slots:
    void cancelKeepsAndFinishingStores_data();
    void cancelKeepsAndFinishingStores();

private:
    QTemporaryDir dir_;
};

void LongWorkTest::cancelKeepsAndFinishingStores_data() {
    QTest::addColumn<Operation>("operation");
    SetErrorBoxHandler([](const QString&, const QString& text) { QFAIL(qPrintable(text)); });
    const QString project = dir_.filePath("other.vandra");
    MainWindow other; // a project whose settings differ
    Prepare(other);
    other.document().settings().LoadSteps = 7;
    QVERIFY(other.saveProject(project));
    QTest::newRow("import") << Operation(
        [](MainWindow& w) { w.importModel(kData + "two_storey_frame.s2k"); });
    QTest::newRow("open project") << Operation([=](MainWindow& w) { w.openProject(project); });
    QTest::newRow("generate") << Operation([](MainWindow& w) { w.tclFileDialog()->generate(); });
    QTest::newRow("node step") << Operation([](MainWindow& w) {
        w.resultsFolder().setFolder(kData + "frame_static"); // step 1 of another run
        w.deformationDialog()->loadNodeStep();
    });
    QTest::newRow("mode shape") << Operation([](MainWindow& w) {
        w.resultsFolder().setFolder(kData + "frame_modal");
        w.deformationDialog()->loadModeShape();
    });
    QTest::newRow("history") << Operation([](MainWindow& w) {
        w.animationDialog()->findChild<QLineEdit*>("nstepEdit")->setText("4");
        w.animationDialog()->loadHistory();
    });
    QTest::newRow("force diagram") << Operation([](MainWindow& w) {
        w.forceDiagramDialog()->load();
        w.forceDiagramDialog()->findChild<QComboBox*>("forceComponentCombo")->setCurrentIndex(5);
        w.forceDiagramDialog()->findChild<QLineEdit*>("forceStepEdit")->setText("4");
        QVERIFY(w.forceDiagramDialog()->tryApply());
    });
    QTest::newRow("post tables") << Operation(
        [](MainWindow& w) { w.postTablesWindow()->loadTables(); });
    QTest::newRow("joint history")
        << Operation([](MainWindow& w) { w.nodeHistoryWindow()->showJoint(21); });
}

void LongWorkTest::cancelKeepsAndFinishingStores() {
    QFETCH(Operation, operation);
    MainWindow window;
    Prepare(window);
    window.deformationDialog()->loadNodeStep(); // step 1 of the run
    const QString before = StateOf(window);
    bool cancelled = false;
    QTimer::singleShot(0, &window, [&] {
        if (auto* p = window.findChild<QProgressDialog*>("progressDialog")) {
            p->cancel();
            cancelled = true;
        }
    });
    operation(window);
    QVERIFY(cancelled);
    QCOMPARE(StateOf(window), before);
    operation(window);
    QVERIFY(StateOf(window) != before);
}

QTEST_MAIN(LongWorkTest)
#include "LongWorkTest.moc"
