// Post > "Force", the post tables and their plots on recorded solver output (tests/data/frame_push:
// the example's PUSH case, 150 kN along X in four static steps): the commands reach the windows,
// the windows read what the settings say was recorded, and what they show is what the run holds.
#include "WidgetTest.h"
#include "app/gui/ErrorBox.h"
#include "app/gui/MainWindow.h"
#include "document/SettingsByName.h"
#include "post/gui/ForceDiagramDialog.h"
#include "post/gui/HistoryPlot.h"
#include "post/gui/PostTablesWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace vandra;
using namespace vandra::gui;

using vandra::testing::Child;
using vandra::testing::kData;

class PostWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void forceDiagramIsReadAndDrawnAllOrNothing();
    void tablesShowTheRunsReactionsShearsAndDrifts();
    void storeyShearCurveSavesAsPngSvgAndCsv();

private:
    QStringList messages_;
    void prepare(MainWindow& window);
};

void PostWindowsTest::init() {
    messages_.clear();
    SetErrorBoxHandler([this](const QString&, const QString& text) { messages_ << text; });
}

void PostWindowsTest::prepare(MainWindow& window) {
    window.importModel(kData + QStringLiteral("two_storey_frame.s2k"));
    for (const char* set :
         {"AnalysisType=1", "LoadCase=2", "LoadSteps=4", "RecOpt=1,1,0,0,0", "RecReactions=1",
          "RecRotations=1", "Sections[EIPE400].FrameType=4", "ControlNode=16", "ControlDof=1"})
        AssignSetting(window.document().model(),
                      SettingRooms{&window.document().settings(), &window.viewOptions(),
                                   &window.document().results()},
                      set);
    window.resultsFolder().setFolder(kData + QStringLiteral("frame_push"));
}

void PostWindowsTest::forceDiagramIsReadAndDrawnAllOrNothing() {
    MainWindow window;
    prepare(window);
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

void PostWindowsTest::tablesShowTheRunsReactionsShearsAndDrifts() {
    MainWindow window;
    prepare(window);
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
    window.importModel(kData + QStringLiteral("two_storey_frame.s2k"));
    QCOMPARE(reactions->rowCount(), 0);
}

// The storey shear curve (all of the push carried by the lower storey), shown over the steps and
// saved for a report as PNG, SVG and CSV, each read back.
void PostWindowsTest::storeyShearCurveSavesAsPngSvgAndCsv() {
    MainWindow window;
    prepare(window);
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

QTEST_MAIN(PostWindowsTest)
#include "PostWindowsTest.moc"
