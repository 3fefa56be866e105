// Cancel of a long window operation keeps the state; let finish, it stores (import: SaveAndCancel).
#include "app/gui/ErrorBox.h"
#include "app/gui/MainWindow.h"
#include "app/project/ProjectFile.h"
#include "document/SettingsByName.h"
#include "post/gui/AnimationDialog.h"
#include "post/gui/DeformationDialog.h"
#include "post/gui/ForceDiagramDialog.h"
#include "post/gui/NodeHistoryWindow.h"
#include "post/gui/PostTablesWindow.h"
#include "view/gui/SaveViewDialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QtTest>

using namespace vandra;
using namespace vandra::gui;
using Operation = std::function<void(MainWindow&)>;

static const QString kData = QStringLiteral(VANDRA_SOURCE_DIR "/tests/data/");

// The folder the saved pictures go to: a cancel leaves it as it was, temporaries included.
static QString Pictures() {
    static QTemporaryDir dir;
    return dir.path();
}

// The window on the example with the settings of the tests/data/frame_push run.
static void Prepare(MainWindow& w) {
    w.importModel(kData + "two_storey_frame.s2k");
    for (const char* set : {"AnalysisType=1", "LoadCase=2", "LoadSteps=4", "RecOpt=1,1,0,0,0",
                            "RecReactions=1", "Sections[EIPE400].FrameType=4"})
        AssignSetting(w.document().model(), w.document().settings(), set);
    w.resultsFolder().setFolder(kData + "frame_push");
}

// What a long operation may change: the model with its choices and settings, the results.
static QString StateOf(MainWindow& w) {
    const Document& d = w.document();
    const TResults& r = d.results();
    return QJsonDocument(project::ProjectDocument(d.model(), d.settings(), w.viewOptions(),
                                                  d.path(), d.path()))
               .toJson() +
           QString::asprintf("%g %d %d %d %zu %zu", r.Disp.X.empty() ? 0 : r.Disp.X.back(),
                             r.History.Steps, r.Forces.Step, r.Reactions.Steps,
                             r.Modal.Modes.size(), w.nodeHistoryWindow()->history().Time.size()) +
           QDir(Pictures()).entryList(QDir::Files).join(',');
}

class LongWorkTest : public QObject {
    Q_OBJECT
private slots:
    void cancelKeepsAndFinishingStores_data();
    void cancelKeepsAndFinishingStores();
};

void LongWorkTest::cancelKeepsAndFinishingStores_data() {
    QTest::addColumn<Operation>("operation");
    SetErrorBoxHandler([](const QString&, const QString& text) { QFAIL(qPrintable(text)); });
    static QTemporaryDir dir;
    const QString project = dir.filePath("other.vandra");
    MainWindow other; // a project whose settings differ
    Prepare(other);
    other.document().settings().LoadSteps = 7;
    QVERIFY(other.saveProject(project));
    QTest::newRow("open project") << Operation([=](MainWindow& w) { w.openProject(project); });
    QTest::newRow("node step") << Operation([](MainWindow& w) {
        w.deformationDialog()->findChild<QLineEdit*>("loadStepEdit")->setText("2");
        w.deformationDialog()->loadNodeStep(); // another step of the same run
    });
    QTest::newRow("history") << Operation([](MainWindow& w) {
        w.animationDialog()->loadHistory();
    });
    QTest::newRow("force diagram") << Operation([](MainWindow& w) {
        w.forceDiagramDialog()->load();
        w.forceDiagramDialog()->findChild<QComboBox*>("forceComponentCombo")->setCurrentIndex(5);
        QVERIFY(w.forceDiagramDialog()->tryApply());
    });
    QTest::newRow("post tables") << Operation(
        [](MainWindow& w) { w.postTablesWindow()->loadTables(); });
    QTest::newRow("save picture") << Operation([](MainWindow& w) {
        w.savePictureDialog()->load();
        w.savePictureDialog()->findChild<QLineEdit*>("fileEdit")->setText(Pictures() + "/v.png");
        QVERIFY(w.savePictureDialog()->tryApply());
    });
    QTest::newRow("joint history")
        << Operation([](MainWindow& w) { w.nodeHistoryWindow()->showJoint(21); });
}

void LongWorkTest::cancelKeepsAndFinishingStores() {
    QFETCH(Operation, operation);
    MainWindow window;
    Prepare(window);
    window.deformationDialog()->loadNodeStep(); // the last step of the run
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
