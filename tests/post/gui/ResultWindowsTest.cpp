// The Deformation Shape dialog, the animation, the Node History window, Post > "Force", the post
// tables and their plots on real solver output: the commands reach the windows, the windows read
// what the settings say was recorded, and what they show is what the run holds.
#include "WidgetTest.h"
#include "app/gui/ErrorBox.h"
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
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace vandra;
using namespace vandra::gui;

namespace {

using vandra::testing::Child;
using vandra::testing::kData;
const QString kFrameModel = kData + QStringLiteral("two_storey_frame.s2k");

} // namespace

class ResultWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void okStoresInOrderAndStopsAtABadField();
    void loadButtonsReadTheChosenFolderOnce();
    void animationStepsWrapAndNeedAHistory();
    void nodeHistoryPlotsAndExports();
    void forceDiagramIsReadAndDrawnAllOrNothing();
    void tablesShowTheRunsReactionsShearsAndDrifts();
    void storeyShearCurveSavesAsPngSvgAndCsv();

private:
    QStringList messages_;
    int asked_ = 0;
    void prepare(MainWindow& window, const QString& folder);
    // The example's PUSH case (tests/data/frame_push: 150 kN along X in four static steps).
    void preparePush(MainWindow& window);
};

void ResultWindowsTest::init() {
    messages_.clear();
    asked_ = 0;
    SetErrorBoxHandler([this](const QString&, const QString& text) { messages_ << text; });
}

void ResultWindowsTest::prepare(MainWindow& window, const QString& folder) {
    window.importModel(kFrameModel);
    window.resultsFolder().setChooser([this, folder](QWidget*, const QString&) {
        ++asked_;
        return folder;
    });
}

void ResultWindowsTest::okStoresInOrderAndStopsAtABadField() {
    MainWindow window;
    DeformationDialog* d = window.deformationDialog();
    window.action(Command::Deformation)->trigger();
    QVERIFY(d->isVisible());
    Child<QLineEdit>(d, "maxValueEdit")->setText(QStringLiteral("0.5"));
    Child<QLineEdit>(d, "minValueEdit")->setText(QStringLiteral("low"));
    Child<QLineEdit>(d, "scalingFactorEdit")->setText(QStringLiteral("20"));
    Child<QPushButton>(d, "okButton")->click();
    QCOMPARE(messages_, QStringList{QStringLiteral("'low' is not a valid floating point value")});
    QCOMPARE(window.document().results().ResultMax, 0.5); // stored before the bad field
    QCOMPARE(window.document().results().ResultMin, -0.0001);
    QCOMPARE(window.viewState().DisplacementScale, 0.0);
    QVERIFY(d->isVisible());
    Child<QLineEdit>(d, "minValueEdit")->setText(QStringLiteral("-0.5"));
    Child<QPushButton>(d, "okButton")->click();
    QCOMPARE(window.document().results().ResultMin, -0.5);
    QCOMPARE(window.viewState().DisplacementScale, 20.0);
    QVERIFY(!d->isVisible());
    // The fields keep their text between openings; Cancel changes nothing.
    window.action(Command::Deformation)->trigger();
    QCOMPARE(Child<QLineEdit>(d, "scalingFactorEdit")->text(), QStringLiteral("20"));
    Child<QLineEdit>(d, "scalingFactorEdit")->setText(QStringLiteral("7"));
    Child<QPushButton>(d, "cancelButton")->click();
    QCOMPARE(window.viewState().DisplacementScale, 20.0);
}

void ResultWindowsTest::loadButtonsReadTheChosenFolderOnce() {
    MainWindow window;
    prepare(window, kData + QStringLiteral("frame_static"));
    window.viewOptions().ViewOpt[kOptHingeCircle] = true;
    AssignSetting(window.document().model(), window.document().settings(),
                  "Sections[EIPE400].FrameType=4");
    DeformationDialog* d = window.deformationDialog();
    Child<QPushButton>(d, "loadNodeButton")->click(); // the step starts at the last, 12
    Child<QComboBox>(d, "deformationCombo")->setCurrentIndex(1);
    Child<QPushButton>(d, "loadSecButton")->click();
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
    QCOMPARE(asked_, 1); // the folder is asked for once
    const TResults& r = window.document().results();
    QCOMPARE(r.Disp.X.size(), size_t(22));
    QCOMPARE(r.DispStep, 12);
    QVERIFY(r.Ends.Any);
    QCOMPARE(window.document().results().ResultMax, r.Ends.Max); // the range changes at once
    QCOMPARE(Child<QLineEdit>(d, "maxValueEdit")->text(),
             QString::fromStdString(text::FormatGeneral(r.Ends.Max)));
    // A step the files do not hold (they hold 12 lines) is refused and keeps what was shown.
    const std::vector<double> before = r.Disp.X;
    Child<QLineEdit>(d, "loadStepEdit")->setText(QStringLiteral("13"));
    Child<QPushButton>(d, "loadNodeButton")->click();
    QCOMPARE(messages_.size(), 1);
    QVERIFY(messages_[0].contains(QStringLiteral("node0.out, line 13")));
    QCOMPARE(r.Disp.X, before);
    messages_.clear();
    // Mode shapes from another folder, chosen with the folder button.
    window.resultsFolder().setFolder(kData + QStringLiteral("frame_modal"));
    // The first folder's results went with it; the label shows the new one.
    QVERIFY(r.Disp.X.empty() && !r.Ends.Any && r.DispStep == 0);
    QVERIFY(Child<QLabel>(d, "resultsFolderLabel")->text().endsWith(QStringLiteral("frame_modal")));
    Child<QLineEdit>(d, "modeNumEdit")->setText(QStringLiteral("2"));
    Child<QPushButton>(d, "loadModeButton")->click();
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
    QVERIFY(r.Disp.X[21] != 0 || r.Disp.Y[21] != 0);
    // A cancelled folder dialog reads nothing.
    const std::vector<double> mode = r.Disp.X;
    window.resultsFolder().setFolder(QString());
    window.resultsFolder().setChooser([](QWidget*, const QString&) { return QString(); });
    Child<QLineEdit>(d, "loadStepEdit")->setText(QStringLiteral("1"));
    Child<QPushButton>(d, "loadNodeButton")->click();
    QCOMPARE(r.Disp.X, mode);
}

void ResultWindowsTest::animationStepsWrapAndNeedAHistory() {
    MainWindow window;
    prepare(window, kData + QStringLiteral("frame_timehistory"));
    window.resize(800, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Playing before any history: nothing starts, the status bar says why.
    window.toggleAnimation();
    QVERIFY(!window.animationRunning());
    QVERIFY(window.statusBar()->currentMessage().contains(QStringLiteral("LOAD DISP DATA")));

    // Every recorded step is loaded (150 lines), and one cycle shows each of them once, in order.
    AnimationDialog* a = window.animationDialog();
    Child<QPushButton>(a, "loadDispButton")->click();
    Child<QLineEdit>(a, "animScaleEdit")->setText(QStringLiteral("50"));
    Child<QLineEdit>(a, "animSpeedEdit")->setText(QStringLiteral("20"));
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
    QCOMPARE(window.document().results().History.Steps, 150);
    Child<QPushButton>(a, "runStopButton")->click();
    QVERIFY(window.animationRunning());
    a->hide();
    QCOMPARE(window.animation().Frame, 0);
    for (int k = 1; k < 150; ++k) {
        window.animationTick();
        QCOMPARE(window.animation().Frame, k);
    }
    window.animationTick();
    QCOMPARE(window.animation().Frame, 0); // the next cycle
    QCOMPARE(window.viewState().DisplacementScale, 50.0);
    Child<QPushButton>(a, "runStopButton")->click();
    QVERIFY(!window.animationRunning());
    // Paused, a step back from the first shows the last.
    Child<QPushButton>(a, "stepBackButton")->click();
    QCOMPARE(Child<QLabel>(a, "animCounterLabel")->text(), QStringLiteral("Step 150 of 150"));

    // A mode shape swings through one period: from rest to both extremes and back to rest.
    window.resultsFolder().setFolder(kData + QStringLiteral("frame_modal"));
    Child<QPushButton>(window.deformationDialog(), "loadModeButton")->click();
    Child<QComboBox>(a, "animMotionBox")->setCurrentIndex(1);
    Child<QLineEdit>(a, "animScaleEdit")->setText(QStringLiteral("10"));
    Child<QPushButton>(a, "runStopButton")->click();
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

void ResultWindowsTest::nodeHistoryPlotsAndExports() {
    MainWindow window;
    prepare(window, kData + QStringLiteral("frame_pushover"));
    window.resize(800, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.action(Command::NodeHistory)->trigger();
    NodeHistoryWindow* h = window.nodeHistoryWindow();
    QVERIFY(h->isVisible());
    Child<QLineEdit>(h, "jointEdit")->setText(QStringLiteral("21"));
    Child<QPushButton>(h, "showHistoryButton")->click();
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
    QCOMPARE(h->history().Time.size(), size_t(110));
    QCOMPARE(h->plot()->curve().x.size(), size_t(110));
    QCOMPARE(h->plot()->curve().x.back(), h->history().Time.back());
    Child<QCheckBox>(h, "swapAxesCheck")->setChecked(true); // the capacity curve's usual axes
    QCOMPARE(h->plot()->curve().x.back(), h->history().X.back());

    // Picking a joint in the view: a click on joint 20's screen point.
    Child<QPushButton>(h, "pickJointButton")->setChecked(true);
    const TScreenPoint& n20 = window.modelView()->projection().Nodes[20];
    QTest::mouseClick(window.modelView(), Qt::LeftButton, {}, QPoint(n20.X, n20.Y));
    QVERIFY(!h->isPicking());
    QCOMPARE(Child<QLineEdit>(h, "jointEdit")->text(), QStringLiteral("20"));

    QTemporaryDir dir;
    h->exportCsv(dir.filePath(QStringLiteral("curve.csv")));
    QFile csv(dir.filePath(QStringLiteral("curve.csv")));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(csv.readAll().count('\n'), 111); // the header and the 110 steps

    // The curve goes with the results it was read from.
    window.clearResults();
    QVERIFY(h->plot()->curve().x.empty() && h->history().Time.empty());
}

void ResultWindowsTest::preparePush(MainWindow& window) {
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

void ResultWindowsTest::forceDiagramIsReadAndDrawnAllOrNothing() {
    MainWindow window;
    preparePush(window);
    window.action(Command::Force)->trigger();
    ForceDiagramDialog* d = window.forceDiagramDialog();
    QVERIFY(d->isVisible());
    Child<QComboBox>(d, "forceComponentCombo")->setCurrentIndex(kForceMy + 1);
    Child<QLineEdit>(d, "forceStepEdit")->setText(QStringLiteral("4"));
    Child<QCheckBox>(d, "reactionArrowsCheck")->setChecked(true);
    // A step the run does not hold: refused, nothing loaded, nothing drawn.
    Child<QLineEdit>(d, "forceStepEdit")->setText(QStringLiteral("5"));
    QVERIFY(!d->tryApply());
    QCOMPARE(messages_.size(), 1);
    QVERIFY(!window.document().results().Forces.Loaded());
    QCOMPARE(window.viewOptions().Diagram, 0);

    Child<QLineEdit>(d, "forceStepEdit")->setText(QStringLiteral("4"));
    QVERIFY(d->tryApply());
    const TResults& results = window.document().results();
    QCOMPARE(results.Forces.Step, 4);
    QCOMPARE(results.ReactionStep, 4);
    QCOMPARE(window.viewOptions().Diagram, kForceMy + 1);
    QVERIFY(window.viewOptions().ShowReactions);
}

void ResultWindowsTest::tablesShowTheRunsReactionsShearsAndDrifts() {
    MainWindow window;
    preparePush(window);
    PostTablesWindow* w = window.postTablesWindow();
    Child<QLineEdit>(w, "tableStepEdit")->setText(QStringLiteral("4"));
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
    QVERIFY(messages_.isEmpty());
    // Another model: the run's tables go with the one they belonged to.
    window.importModel(kFrameModel);
    QCOMPARE(reactions->rowCount(), 0);
}

// The storey shear curve (all of the push carried by the lower storey), shown over the steps and
// saved for a report as PNG, SVG and CSV, each read back.
void ResultWindowsTest::storeyShearCurveSavesAsPngSvgAndCsv() {
    MainWindow window;
    preparePush(window);
    PostTablesWindow* w = window.postTablesWindow();
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
        plotTitled(QStringLiteral("Capacity curve: base shear X against U1 of joint 16"))->curve();
    QCOMPARE(capacity.x.size(), size_t(4));
    for (size_t k = 0; k < 4; ++k)
        QVERIFY2(std::abs(capacity.y[k] / capacity.x[k] / (capacity.y[3] / capacity.x[3]) - 1) <
                     1e-4,
                 qPrintable(QString::number(capacity.y[k] / capacity.x[k])));

    QTemporaryDir dir;
    const auto path = [&](const char* name) { return dir.filePath(QLatin1String(name)); };
    plot->resize(500, 320);
    for (const char* name : {"shear.png", "shear.svg", "shear.csv"})
        plot->save(QFile::encodeName(path(name)).toStdString());

    // The PNG is the plot as the window paints it.
    const QImage png(path("shear.png"));
    QCOMPARE(png.convertToFormat(QImage::Format_RGB32), plot->toImage());

    // The SVG is the same picture through the picture writer (whose tests read SVG back).
    QFile svg(path("shear.svg"));
    QVERIFY(svg.open(QIODevice::ReadOnly) && svg.readAll().contains("stroke=\"#0000c8\""));

    // The CSV holds the plotted numbers under the axes' quantities and units.
    QFile csv(path("shear.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(csv.readAll()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines[0], QStringLiteral("time column (load factor),storey shear X [model units]"));
    for (size_t k = 0; k < 4; ++k) {
        const QStringList cells = lines[qsizetype(k) + 1].split(u',');
        QCOMPARE(cells.size(), 2);
        QCOMPARE(cells[0].toDouble(), curve.x[k]);
        QVERIFY(std::abs(cells[1].toDouble() - curve.y[k]) <= 1e-14 * std::abs(curve.y[k]));
    }
}

QTEST_MAIN(ResultWindowsTest)
#include "ResultWindowsTest.moc"
