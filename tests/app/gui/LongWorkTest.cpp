// Long window operations under their progress dialog: Cancel keeps the state, letting them finish
// stores. Pictures of the view (File > "Save picture") at a chosen size; Cancel in the import of a
// large grid, a large movie (Post > "Export animation") and the grid's script generation leaves the
// open model, a previous file of the name and the shown script as they were.
#include "WidgetTest.h"
#include "app/gui/MainWindow.h"
#include "app/project/ProjectFile.h"
#include "document/SettingsByName.h"
#include "post/gui/AnimationDialog.h"
#include "post/gui/DeformationDialog.h"
#include "post/gui/ForceDiagramDialog.h"
#include "post/gui/NodeHistoryWindow.h"
#include "post/gui/PostTablesWindow.h"
#include "tcl/gui/TclFileDialog.h"
#include "view/gui/ModelViewWidget.h"
#include "view/gui/SaveViewDialog.h"
#include "view/render/ModelRenderer.h"

#include <QDir>
#include <QProcess>
#include <QProgressDialog>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

using namespace vandra;
using namespace vandra::gui;
using namespace vandra::testing;
using Operation = std::function<void(MainWindow&)>;

namespace {

// The folder the saved pictures go to: a cancel leaves it as it was, temporaries included.
QString Pictures() {
    static QTemporaryDir dir;
    return dir.path();
}

// The window on the example with the settings of the tests/data/frame_push run.
void Prepare(MainWindow& w) {
    w.importModel(kData + "two_storey_frame.s2k");
    for (const char* set : {"AnalysisType=1", "LoadCase=2", "LoadSteps=4", "RecOpt=1,1,0,0,0",
                            "RecReactions=1", "Sections[EIPE400].FrameType=4"})
        AssignSetting(w.document().model(), w.document().settings(), set);
    w.resultsFolder().setFolder(kData + "frame_push");
}

// What a long operation may change: the model with its choices and settings, the results.
QString StateOf(MainWindow& w) {
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

// Runs work with Cancel of the progress dialog under owner pressed as soon as it exists.
template <typename Work> bool CancelledAtOnce(QWidget* owner, Work work) {
    bool cancelled = false;
    QTimer::singleShot(0, owner, [owner, &cancelled] {
        if (auto* p = owner->findChild<QProgressDialog*>(QStringLiteral("progressDialog"))) {
            p->cancel();
            cancelled = true;
        }
    });
    work();
    return cancelled;
}

void Fill(SaveViewDialog* dialog, const QString& file, int w, int h) {
    Type(*dialog, "fileEdit", file);
    Child<QSpinBox>(dialog, "widthEdit")->setValue(w);
    Child<QSpinBox>(dialog, "heightEdit")->setValue(h);
}

} // namespace

class LongWorkTest : public QObject {
    Q_OBJECT
private slots:
    void cancelKeepsAndFinishingStores_data() {
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
            Type(*w.deformationDialog(), "loadStepEdit", "2");
            w.deformationDialog()->loadNodeStep(); // another step of the same run
        });
        QTest::newRow("history") << Operation(
            [](MainWindow& w) { w.animationDialog()->loadHistory(); });
        QTest::newRow("force diagram") << Operation([](MainWindow& w) {
            w.forceDiagramDialog()->load();
            Child<QComboBox>(w.forceDiagramDialog(), "forceComponentCombo")->setCurrentIndex(5);
            QVERIFY(w.forceDiagramDialog()->tryApply());
        });
        QTest::newRow("post tables")
            << Operation([](MainWindow& w) { w.postTablesWindow()->loadTables(); });
        QTest::newRow("save picture") << Operation([](MainWindow& w) {
            w.savePictureDialog()->load();
            Type(*w.savePictureDialog(), "fileEdit", Pictures() + "/v.png");
            QVERIFY(w.savePictureDialog()->tryApply());
        });
        QTest::newRow("joint history")
            << Operation([](MainWindow& w) { w.nodeHistoryWindow()->showJoint(21); });
    }

    void cancelKeepsAndFinishingStores() {
        QFETCH(Operation, operation);
        MainWindow window;
        Prepare(window);
        window.deformationDialog()->loadNodeStep(); // the last step of the run
        const QString before = StateOf(window);
        QVERIFY(CancelledAtOnce(&window, [&] { operation(window); }));
        QCOMPARE(StateOf(window), before);
        operation(window);
        QVERIFY(StateOf(window) != before);
    }

    void picturesAndCancel() {
        const QTemporaryDir dir;
        const QString grid = dir.filePath(QStringLiteral("grid.s2k"));
        QCOMPARE(QProcess::execute(
                     "python3", {VANDRA_SOURCE_DIR "/bench/make_grid.py", grid, "30", "30", "20"}),
                 0);
        MainWindow window;
        QVERIFY(Exposed(window));
        window.importModel(kData + "two_storey_frame.s2k");
        window.document().settings().LoadSteps = 9;
        window.resultsFolder().setFolder(kData + "frame_timehistory");
        Press(*window.animationDialog(), "loadDispButton");
        TclFileDialog* tcl = window.tclFileDialog();
        tcl->generate();
        const QString script = tcl->scriptText();

        // A PNG at twice the size is the view drawn at that size.
        SaveViewDialog* picture = window.savePictureDialog();
        window.showDialog(picture);
        const QSize shown = window.modelView()->image().size();
        Fill(picture, dir.filePath("view.png"), 2 * shown.width(), 2 * shown.height());
        QVERIFY(picture->tryApply());
        TViewState twice = window.viewState();
        twice.ViewScale /= 2;
        QImage expected(2 * shown.width(), 2 * shown.height(), QImage::Format_RGB32);
        RedrawModel(expected, window.document().model(), window.viewOptions(), twice, 0,
                    window.document().results());
        QCOMPARE(QImage(dir.filePath("view.png")).convertToFormat(QImage::Format_RGB32), expected);

        QVERIFY(CancelledAtOnce(&window, [&] { window.importModel(grid); }));
        QCOMPARE(window.document().model().NodeCount, 21);
        QCOMPARE(window.document().results().History.Steps, 150);

        SaveViewDialog* movie = window.exportAnimationDialog();
        window.showDialog(movie);
        const QString mp4 = dir.filePath("steps.mp4");
        QVERIFY(WriteFile(mp4, "previous"));
        Fill(movie, mp4, 6000, 6000);
        QVERIFY(CancelledAtOnce(movie, [&] { QVERIFY(movie->tryApply()); }));
        QCOMPARE(ReadAll(mp4), QByteArray("previous"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 3); // no temporary file left

        window.importModel(grid);
        QCOMPARE(window.document().model().NodeCount, 18000);
        QVERIFY(CancelledAtOnce(tcl, [&] { tcl->generate(); }));
        QCOMPARE(tcl->scriptText(), script);
    }
};

QTEST_MAIN(LongWorkTest)
#include "LongWorkTest.moc"
