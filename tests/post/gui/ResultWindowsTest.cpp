// The Deformation Shape dialog, the animation and the Node History window, on real solver output.
#include "app/gui/ErrorBox.h"
#include "app/gui/MainWindow.h"
#include "document/SettingsByName.h"
#include "model/NumberText.h"
#include "post/gui/AnimationDialog.h"
#include "post/gui/DeformationDialog.h"
#include "post/gui/HistoryPlot.h"
#include "post/gui/NodeHistoryWindow.h"
#include "post/gui/ResultLegend.h"
#include "view/gui/ModelViewWidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace vandra;
using namespace vandra::gui;

namespace {

const QString kData = QStringLiteral(VANDRA_SOURCE_DIR "/tests/data/");
const QString kFrameModel = kData + QStringLiteral("two_storey_frame.s2k");

template <typename T> T* Child(QObject* parent, const char* name) {
    T* child = parent->findChild<T*>(QString::fromLatin1(name));
    if (!child) qFatal("no child %s", name);
    return child;
}

} // namespace

class ResultWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void resultLegendColours();
    void okStoresInOrderAndStopsAtABadField();
    void loadButtonsReadTheChosenFolderOnce();
    void aFailedLoadKeepsWhatWasShown();
    void animationStepsWrapAndNeedAHistory();
    void nodeHistoryPlotsAndExports();

private:
    QStringList messages_;
    int asked_ = 0;
    void prepare(MainWindow& window, const QString& folder);
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

void ResultWindowsTest::resultLegendColours() {
    const QImage legend = MakeResultLegend();
    QCOMPARE(legend.size(), QSize(155, 40));
    const QRgb cells[] = {qRgb(255, 0, 0),   qRgb(255, 255, 0), qRgb(0, 255, 0),
                          qRgb(0, 255, 255), qRgb(0, 0, 255),   qRgb(255, 0, 255)};
    for (int k = 0; k < 6; ++k)
        QCOMPARE(legend.pixel(5 + 24 * k + 12, 27), cells[k]);
    QCOMPARE(legend.pixel(150, 38), qRgb(255, 255, 255));
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
    QCOMPARE(r.Ends.HasI[21], 0); // an elastic beam
    // Mode shapes from another folder, chosen with the folder button.
    window.resultsFolder().setFolder(kData + QStringLiteral("frame_modal"));
    // The first folder's results went with it; the label shows the new one.
    QVERIFY(r.Disp.X.empty() && !r.Ends.Any && r.DispStep == 0);
    QVERIFY(Child<QLabel>(d, "resultsFolderLabel")->text().endsWith(QStringLiteral("frame_modal")));
    Child<QLineEdit>(d, "modeNumEdit")->setText(QStringLiteral("2"));
    Child<QPushButton>(d, "loadModeButton")->click();
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
    QVERIFY(r.Disp.X[21] != 0 || r.Disp.Y[21] != 0);
    QCOMPARE(d->statusText(), QStringLiteral("Mode shape 2 loaded."));
}

void ResultWindowsTest::aFailedLoadKeepsWhatWasShown() {
    MainWindow window;
    prepare(window, kData + QStringLiteral("frame_static"));
    DeformationDialog* d = window.deformationDialog();
    Child<QPushButton>(d, "loadNodeButton")->click();
    const std::vector<double> before = window.document().results().Disp.X;
    QCOMPARE(before.size(), size_t(22));
    Child<QLineEdit>(d, "loadStepEdit")->setText(QStringLiteral("13")); // the files hold 12 lines
    Child<QPushButton>(d, "loadNodeButton")->click();
    QCOMPARE(messages_.size(), 1);
    QVERIFY(messages_[0].contains(QStringLiteral("node0.out, line 13")));
    QCOMPARE(window.document().results().Disp.X, before);
    Child<QLineEdit>(d, "loadStepEdit")->setText(QStringLiteral("two"));
    Child<QPushButton>(d, "loadNodeButton")->click();
    QCOMPARE(messages_.last(), QStringLiteral("'two' is not a valid integer value"));
    // A cancelled folder dialog reads nothing.
    window.resultsFolder().setFolder(QString());
    window.resultsFolder().setChooser([](QWidget*, const QString&) { return QString(); });
    Child<QLineEdit>(d, "loadStepEdit")->setText(QStringLiteral("1"));
    Child<QPushButton>(d, "loadNodeButton")->click();
    QCOMPARE(window.document().results().Disp.X, before);
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
    QList<int> shown{window.animation().Frame};
    for (int k = 1; k < 150; ++k) {
        window.animationTick();
        shown << window.animation().Frame;
    }
    for (int k = 0; k < 150; ++k)
        QCOMPARE(shown[k], k);
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
    const int frames = window.animation().Frames;
    double lowest = 0, highest = 0, sum = 0;
    int signChanges = 0;
    double previous = window.viewState().DisplacementScale;
    QCOMPARE(previous, 0.0);
    for (int k = 1; k <= frames; ++k) {
        window.animationTick();
        const double s = window.viewState().DisplacementScale;
        lowest = std::min(lowest, s);
        highest = std::max(highest, s);
        sum += s;
        if ((s > 0 && previous < 0) || (s < 0 && previous > 0)) ++signChanges;
        previous = s;
    }
    QCOMPARE(previous, 0.0); // a whole period later, at rest again
    QVERIFY(highest > 9.9 && lowest < -9.9);
    QCOMPARE(signChanges, 1);
    QVERIFY(std::abs(sum) < 1e-9);
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
    const QString csv = dir.filePath(QStringLiteral("curve.csv"));
    const QString png = dir.filePath(QStringLiteral("curve.png"));
    h->exportCsv(csv);
    h->exportPng(png);
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines[0], QByteArray("time,X,Y,Z"));
    QCOMPARE(lines.size(), 112); // header, 110 steps, the empty piece after the last line end
    const QImage picture(png);
    QCOMPARE(picture.size(), h->plot()->size());
    // The curve is drawn in blue somewhere inside the plot.
    int blue = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            blue += qBlue(picture.pixel(x, y)) > 150 && qRed(picture.pixel(x, y)) < 80;
    QVERIFY(blue > 100);

    // The curve goes with the results it was read from.
    window.clearResults();
    QVERIFY(h->plot()->curve().x.empty() && h->history().Time.empty());
}

QTEST_MAIN(ResultWindowsTest)
#include "ResultWindowsTest.moc"
