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
    Child<QLineEdit>(d, "loadStepEdit")->setText(QStringLiteral("12"));
    Child<QPushButton>(d, "loadNodeButton")->click();
    Child<QComboBox>(d, "deformationCombo")->setCurrentIndex(1);
    Child<QPushButton>(d, "loadSecButton")->click();
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
    QCOMPARE(asked_, 1); // the folder is asked for once
    const TResults& r = window.document().results();
    QCOMPARE(r.Disp.X.size(), size_t(22));
    QVERIFY(r.Ends.Any);
    QCOMPARE(window.document().results().ResultMax, r.Ends.Max); // the range changes at once
    QCOMPARE(Child<QLineEdit>(d, "maxValueEdit")->text(),
             QString::fromStdString(text::FormatGeneral(r.Ends.Max)));
    QCOMPARE(r.Ends.HasI[21], 0); // an elastic beam
    // Mode shapes from another folder, chosen with the folder button.
    window.resultsFolder().setFolder(kData + QStringLiteral("frame_modal"));
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
    // Running before any history: nothing starts, the status bar says why.
    window.toggleAnimation();
    QVERIFY(!window.animationRunning());
    QVERIFY(window.statusBar()->currentMessage().contains(QStringLiteral("LOAD DISP DATA")));

    AnimationDialog* a = window.animationDialog();
    Child<QLineEdit>(a, "nstepEdit")->setText(QStringLiteral("3"));
    Child<QLineEdit>(a, "animScaleEdit")->setText(QStringLiteral("50"));
    Child<QPushButton>(a, "loadDispButton")->click();
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
    QCOMPARE(window.document().results().History.Steps, 3);
    QCOMPARE(window.animation().AnimScale, 50.0);

    // The order on the screen after Run: 2, 3, 1, 2, ... (wrapping at the steps loaded).
    Child<QPushButton>(a, "runStopButton")->click();
    QVERIFY(window.animationRunning());
    window.animationDialog()->hide();
    QList<int> order;
    for (int k = 0; k < 5; ++k) {
        window.animationTick();
        order << window.animation().AnimFrame;
    }
    QCOMPARE(order, (QList<int>{2, 3, 1, 2, 3}));
    QCOMPARE(window.viewState().DisplacementScale, 50.0);
    Child<QPushButton>(a, "runStopButton")->click();
    QVERIFY(!window.animationRunning());
    QCOMPARE(window.animation().AnimFrame, 1);

    // 150 steps loaded: the counter runs 2..99 and then 1, never 100.
    Child<QLineEdit>(a, "nstepEdit")->setText(QStringLiteral("150"));
    Child<QPushButton>(a, "loadDispButton")->click();
    QCOMPARE(window.document().results().History.Steps, 150);
    window.toggleAnimation();
    int highest = 0;
    for (int k = 0; k < 120; ++k) {
        window.animationTick();
        highest = std::max(highest, window.animation().AnimFrame);
        if (k == 0) QCOMPARE(window.animation().AnimFrame, 2);
        if (k == 97) QCOMPARE(window.animation().AnimFrame, 99);
        if (k == 98) QCOMPARE(window.animation().AnimFrame, 1);
    }
    QCOMPARE(highest, 99);
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
}

QTEST_MAIN(ResultWindowsTest)
#include "ResultWindowsTest.moc"
