// The Deformation Shape dialog, the animation, the Node History window, Post > "Force", the post
// tables and their plots on real solver output: the commands reach the windows, the windows read
// what the settings say was recorded, and what they show is what the run holds.
#include "WidgetTest.h"
#include "app/gui/MainWindow.h"
#include "document/SettingsByName.h"
#include "model/NumberText.h"
#include "post/gui/AnimationDialog.h"
#include "post/gui/DeformationDialog.h"
#include "post/gui/ForceDiagramDialog.h"
#include "post/gui/HistoryPlot.h"
#include "post/gui/NodeHistoryWindow.h"
#include "post/gui/PostTablesWindow.h"
#include "view/gui/ModelViewWidget.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace vandra;
using namespace vandra::gui;
using namespace vandra::testing;

namespace {
const QString kFrameModel = kData + QStringLiteral("two_storey_frame.s2k");
} // namespace

class ResultWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        boxes_.texts.clear();
        asked_ = 0;
    }

    void okStoresInOrderAndStopsAtABadField() {
        MainWindow window;
        DeformationDialog* d = window.deformationDialog();
        window.action(Command::Deformation)->trigger();
        QVERIFY(d->isVisible());
        Type(*d, "maxValueEdit", QStringLiteral("0.5"));
        Type(*d, "minValueEdit", QStringLiteral("low"));
        Type(*d, "scalingFactorEdit", QStringLiteral("20"));
        Press(*d, "okButton");
        QCOMPARE(boxes_.texts,
                 QStringList{QStringLiteral("'low' is not a valid floating point value")});
        QCOMPARE(window.document().results().ResultMax, 0.5); // stored before the bad field
        QCOMPARE(window.document().results().ResultMin, TResults().ResultMin);
        QCOMPARE(window.viewState().DisplacementScale, 0.0);
        QVERIFY(d->isVisible());
        Type(*d, "minValueEdit", QStringLiteral("-0.5"));
        Press(*d, "okButton");
        QCOMPARE(window.document().results().ResultMin, -0.5);
        QCOMPARE(window.viewState().DisplacementScale, 20.0);
        QVERIFY(!d->isVisible());
        // The fields keep their text between openings.
        window.action(Command::Deformation)->trigger();
        QCOMPARE(Text(*d, "scalingFactorEdit"), QStringLiteral("20"));
    }

    void loadButtonsReadTheChosenFolderOnce() {
        MainWindow window;
        prepare(window, kData + QStringLiteral("frame_static"));
        window.viewOptions().ViewOpt[kOptHingeCircle] = true;
        AssignSetting(window.document().model(), window.document().settings(),
                      "Sections[EIPE400].FrameType=4");
        DeformationDialog* d = window.deformationDialog();
        Press(*d, "loadNodeButton"); // the step starts at the last, 12
        Child<QComboBox>(d, "deformationCombo")->setCurrentIndex(1);
        Press(*d, "loadSecButton");
        QVERIFY2(boxes_.texts.isEmpty(), qPrintable(boxes_.texts.join('\n')));
        QCOMPARE(asked_, 1); // the folder is asked for once
        const TResults& r = window.document().results();
        QCOMPARE(std::tuple(r.Disp.X.size(), r.DispStep, r.Ends.Any),
                 std::tuple(size_t(22), 12, true));
        QCOMPARE(window.document().results().ResultMax, r.Ends.Max); // the range changes at once
        QCOMPARE(Child<QLineEdit>(d, "maxValueEdit")->text(),
                 QString::fromStdString(text::FormatGeneral(r.Ends.Max)));
        // A step the files do not hold (they hold 12 lines) is refused and keeps what was shown.
        const std::vector<double> before = r.Disp.X;
        Type(*d, "loadStepEdit", QStringLiteral("13"));
        Press(*d, "loadNodeButton");
        QCOMPARE(boxes_.texts.size(), 1);
        QVERIFY(boxes_.texts[0].contains(QStringLiteral("node0.out, line 13")));
        QCOMPARE(r.Disp.X, before);
        boxes_.texts.clear();
        // Mode shapes from another folder, chosen with the folder button.
        window.resultsFolder().setFolder(kData + QStringLiteral("frame_modal"));
        // The first folder's results went with it; the label shows the new one.
        QVERIFY(r.Disp.X.empty() && !r.Ends.Any && r.DispStep == 0);
        QVERIFY(
            Child<QLabel>(d, "resultsFolderLabel")->text().endsWith(QStringLiteral("frame_modal")));
        Type(*d, "modeNumEdit", QStringLiteral("2"));
        Press(*d, "loadModeButton");
        QVERIFY2(boxes_.texts.isEmpty(), qPrintable(boxes_.texts.join('\n')));
        QVERIFY(r.Disp.X[21] != 0 || r.Disp.Y[21] != 0);
        // A cancelled folder dialog reads nothing.
        const std::vector<double> mode = r.Disp.X;
        window.resultsFolder().setFolder(QString());
        window.resultsFolder().setChooser([](QWidget*, const QString&) { return QString(); });
        Type(*d, "loadStepEdit", QStringLiteral("1"));
        Press(*d, "loadNodeButton");
        QCOMPARE(r.Disp.X, mode);
    }

    void animationStepsWrapAndNeedAHistory() {
        MainWindow window;
        prepare(window, kData + QStringLiteral("frame_timehistory"));
        QVERIFY(Exposed(window, {800, 600}));
        // Playing before any history: nothing starts, the status bar says why.
        window.toggleAnimation();
        QVERIFY(!window.animationRunning());
        QVERIFY(window.statusBar()->currentMessage().contains(QStringLiteral("LOAD DISP DATA")));

        // Every recorded step is loaded (150 lines), and one cycle shows each of them once, in
        // order.
        AnimationDialog* a = window.animationDialog();
        Press(*a, "loadDispButton");
        Type(*a, "animScaleEdit", QStringLiteral("50"));
        Type(*a, "animSpeedEdit", QStringLiteral("20"));
        QVERIFY2(boxes_.texts.isEmpty(), qPrintable(boxes_.texts.join('\n')));
        QCOMPARE(window.document().results().History.Steps, 150);
        Press(*a, "runStopButton");
        QVERIFY(window.animationRunning());
        a->hide();
        for (int k = 1; k <= 150; ++k)
            window.animationTick();
        QCOMPARE(window.animation().Frame, 0); // the next cycle
        QCOMPARE(window.viewState().DisplacementScale, 50.0);
        Press(*a, "runStopButton");
        QVERIFY(!window.animationRunning());
        // Paused, a step back from the first shows the last.
        Press(*a, "stepBackButton");
        QCOMPARE(Child<QLabel>(a, "animCounterLabel")->text(), QStringLiteral("Step 150 of 150"));

        // A mode shape swings through one period: from rest to both extremes and back to rest.
        window.resultsFolder().setFolder(kData + QStringLiteral("frame_modal"));
        Press(*window.deformationDialog(), "loadModeButton");
        Child<QComboBox>(a, "animMotionBox")->setCurrentIndex(1);
        Type(*a, "animScaleEdit", QStringLiteral("10"));
        Press(*a, "runStopButton");
        QVERIFY(window.animationRunning());
        // How the swing goes is the core's; here it reaches the typed scale and comes back to rest.
        double highest = 0;
        for (int k = 1; k <= window.animation().Frames; ++k) {
            window.animationTick();
            highest = std::max(highest, window.viewState().DisplacementScale);
        }
        QVERIFY(highest > 9.9);
        QCOMPARE(window.viewState().DisplacementScale, 0.0);
        window.toggleAnimation();
    }

    void nodeHistoryPlotsAndExports() {
        MainWindow window;
        prepare(window, kData + QStringLiteral("frame_pushover"));
        QVERIFY(Exposed(window, {800, 600}));
        window.action(Command::NodeHistory)->trigger();
        NodeHistoryWindow* h = window.nodeHistoryWindow();
        QVERIFY(h->isVisible());
        Type(*h, "jointEdit", QStringLiteral("21"));
        Press(*h, "showHistoryButton");
        QVERIFY2(boxes_.texts.isEmpty(), qPrintable(boxes_.texts.join('\n')));
        QVERIFY(!h->history().Time.empty());
        QCOMPARE(h->plot()->curve().x, h->history().Time);
        Child<QCheckBox>(h, "swapAxesCheck")->setChecked(true); // the capacity curve's usual axes
        QCOMPARE(h->plot()->curve().x.back(), h->history().X.back());

        // Picking a joint in the view: a click on joint 20's screen point.
        Child<QPushButton>(h, "pickJointButton")->setChecked(true);
        const TScreenPoint& n20 = window.modelView()->projection().Nodes[20];
        QTest::mouseClick(window.modelView(), Qt::LeftButton, {}, QPoint(n20.X, n20.Y));
        QVERIFY(!h->isPicking());
        QCOMPARE(Text(*h, "jointEdit"), QStringLiteral("20"));

        QTemporaryDir dir;
        h->exportCsv(dir.filePath(QStringLiteral("curve.csv")));
        QCOMPARE(ReadAll(dir.filePath(QStringLiteral("curve.csv"))).count('\n'), 111); // + header

        // The curve goes with the results it was read from.
        window.clearResults();
        QVERIFY(h->plot()->curve().x.empty() && h->history().Time.empty());
    }

    void forceDiagramIsReadAndDrawnAllOrNothing() {
        MainWindow window;
        preparePush(window);
        window.action(Command::Force)->trigger();
        ForceDiagramDialog* d = window.forceDiagramDialog();
        QVERIFY(d->isVisible());
        Child<QComboBox>(d, "forceComponentCombo")->setCurrentIndex(kForceMy + 1);
        Type(*d, "forceStepEdit", QStringLiteral("4"));
        Child<QCheckBox>(d, "reactionArrowsCheck")->setChecked(true);
        // A step the run does not hold: refused, nothing loaded, nothing drawn.
        Type(*d, "forceStepEdit", QStringLiteral("5"));
        QVERIFY(!d->tryApply());
        QCOMPARE(boxes_.texts.size(), 1);
        QVERIFY(!window.document().results().Forces.Loaded());
        QCOMPARE(window.viewOptions().Diagram, 0);

        Type(*d, "forceStepEdit", QStringLiteral("4"));
        QVERIFY(d->tryApply());
        const TResults& r = window.document().results();
        const TViewOptions& v = window.viewOptions();
        QCOMPARE(std::tuple(r.Forces.Step, r.ReactionStep, v.Diagram, v.ShowReactions),
                 std::tuple(4, 4, kForceMy + 1, true));
    }

    void tablesShowTheRunsReactionsShearsAndDrifts() {
        MainWindow window;
        preparePush(window);
        PostTablesWindow* w = window.postTablesWindow();
        Type(*w, "tableStepEdit", QStringLiteral("4"));
        window.action(Command::ReactionTable)->trigger();
        QVERIFY(w->isVisible());
        QVERIFY2(w->statusText().startsWith(QStringLiteral("Loaded")), qPrintable(w->statusText()));
        // Eight supports and the total, which carries the push: 150 kN along X.
        QTableWidget* reactions = w->table(PostTablesWindow::ReactionsTab);
        QCOMPARE(reactions->rowCount(), 9);
        QCOMPARE(reactions->item(8, 0)->text(), QStringLiteral("Total"));
        QVERIFY(std::abs(reactions->item(8, 1)->text().toDouble() + 150000) < 15);
        // The lower storey carries the whole push, the upper one part of it.
        QTableWidget* shears = w->table(PostTablesWindow::StoreyShearTab);
        QCOMPARE(shears->rowCount(), 2);
        QVERIFY(std::abs(shears->item(0, 3)->text().toDouble() - 150000) < 15);
        QVERIFY(boxes_.texts.isEmpty());

        // The storey shear curve (all of the push carried by the lower storey), shown over the
        // steps and saved for a report as PNG, SVG and CSV, each read back.
        w->showTab(PostTablesWindow::StoreyShearTab);
        QCOMPARE(w->findChild<QComboBox*>(QStringLiteral("storeyCombo"))->count(), 2);
        const auto plotTitled = [w](const QString& start) {
            for (HistoryPlot* p : w->findChildren<HistoryPlot*>())
                if (p->curve().title.startsWith(start)) return p;
            qFatal("no plot titled %s", qPrintable(start));
        };
        HistoryPlot* plot = plotTitled(QStringLiteral("Shear of storey 1 in X"));
        const PlotCurve& curve = plot->curve();
        QCOMPARE(curve.y.size(), size_t(4));
        for (size_t k = 0; k < 4; ++k) {
            QVERIFY(std::abs(curve.x[k] - 0.25 * double(k + 1)) < 1e-9);
            QVERIFY2(std::abs(curve.y[k] - 37500 * double(k + 1)) < 1e-4 * 37500 * double(k + 1),
                     qPrintable(QString::number(curve.y[k])));
        }

        // The capacity curve of an elastic frame is a straight line through the origin: base shear
        // over the roof joint's displacement is its stiffness at every step.
        w->findChild<QComboBox*>(QStringLiteral("baseShearAgainst"))->setCurrentIndex(1);
        const PlotCurve& capacity =
            plotTitled(QStringLiteral("Capacity curve: base shear X against U1 of joint 16"))
                ->curve();
        QCOMPARE(capacity.x.size(), size_t(4));
        for (size_t k = 0; k < 4; ++k)
            QVERIFY(std::abs(capacity.y[k] / capacity.x[k] * capacity.x[3] / capacity.y[3] - 1) <
                    1e-4);

        QTemporaryDir dir;
        const auto path = [&](const char* name) { return dir.filePath(QLatin1String(name)); };
        plot->resize(500, 320);
        for (const char* name : {"shear.png", "shear.svg", "shear.csv"})
            plot->save(QFile::encodeName(path(name)).toStdString());

        // The PNG is the plot as the window paints it; the SVG the same picture through the
        // picture writer (whose tests read SVG back).
        QCOMPARE(QImage(path("shear.png")).convertToFormat(QImage::Format_RGB32), plot->toImage());
        QVERIFY(ReadAll(path("shear.svg")).contains("stroke=\"#0000c8\""));

        // The CSV holds the plotted numbers under the axes' quantities and units (its text is the
        // CSV writer's).
        const QList<QByteArray> lines = ReadAll(path("shear.csv")).split('\n');
        QCOMPARE(lines.value(0), "time column (load factor),storey shear X [model units]");
        QCOMPARE(lines.value(4).split(',').value(0).toDouble(), curve.x[3]);
        QVERIFY(std::abs(lines.value(4).split(',').value(1).toDouble() / curve.y[3] - 1) < 1e-14);
        // Another model: the run's tables go with the one they belonged to.
        window.importModel(kFrameModel);
        QCOMPARE(reactions->rowCount(), 0);
    }

private:
    ErrorBoxes boxes_;
    int asked_ = 0;
    void prepare(MainWindow& window, const QString& folder) {
        window.importModel(kFrameModel);
        window.resultsFolder().setChooser([this, folder](QWidget*, const QString&) {
            ++asked_;
            return folder;
        });
    }

    // The example's PUSH case (tests/data/frame_push: 150 kN along X in four static steps).
    void preparePush(MainWindow& window) {
        window.importModel(kFrameModel);
        for (const char* set :
             {"AnalysisType=1", "LoadCase=2", "LoadSteps=4", "RecOpt=1,1,0,0,0", "RecReactions=1",
              "RecRotations=1", "Sections[EIPE400].FrameType=4", "ControlNode=16", "ControlDof=1"})
            AssignSetting(window.document().model(),
                          SettingRooms{&window.document().settings(), &window.viewOptions(),
                                       &window.document().results()},
                          set);
        window.resultsFolder().setFolder(kData + QStringLiteral("frame_push"));
    }
};

QTEST_MAIN(ResultWindowsTest)
#include "ResultWindowsTest.moc"
