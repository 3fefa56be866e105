// Post > "Force" and the post tables on recorded solver output (tests/data/frame_push: the
// example's PUSH case, 150 kN along X in four static steps): the commands reach the windows, the
// windows read what the settings say was recorded, and what they show is what the run holds.
#include "app/gui/ErrorBox.h"
#include "app/gui/MainWindow.h"
#include "document/SettingsByName.h"
#include "post/gui/ForceDiagramDialog.h"
#include "post/gui/PostTablesWindow.h"
#include "view/Camera.h"
#include "view/render/ModelRenderer.h"
#include "view/render/ResultLayers.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using namespace vandra;
using namespace vandra::gui;

namespace {

const QString kData = QStringLiteral(VANDRA_SOURCE_DIR "/tests/data/");

template <typename T> T* Child(QObject* parent, const char* name) {
    T* child = parent->findChild<T*>(QString::fromLatin1(name));
    if (!child) qFatal("no child %s", name);
    return child;
}

int CountColour(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFFu) == (colour & 0xFFFFFFu);
    return n;
}

} // namespace

class PostWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void forceDiagramIsReadAndDrawnAllOrNothing();
    void tablesShowTheRunsReactionsShearsAndDrifts();

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
    for (const char* set : {"AnalysisType=1", "LoadCase=2", "LoadSteps=4", "RecOpt=1,1,0,0,0",
                            "RecReactions=1", "RecRotations=1", "Sections[EIPE400].FrameType=4"})
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
    QImage image(600, 500, QImage::Format_RGB32);
    window.planeView(PlaneView::XZ);
    TViewState view = window.viewState();
    ZoomAll(window.document().model(), view, image.width(), image.height());
    RedrawModel(image, window.document().model(), window.viewOptions(), view, 0, results);
    // Under the push the beams bend in their vertical plane (My), changing sign along the span:
    // both fills are drawn.
    QVERIFY(CountColour(image, kPositiveFill) > 50);
    QVERIFY(CountColour(image, kNegativeFill) > 50);
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
    const double upper = shears->item(1, 3)->text().toDouble();
    QVERIFY(upper > 0 && upper < 150000);
    QCOMPARE(w->table(PostTablesWindow::DriftsTab)->rowCount(), 2);
    QVERIFY(messages_.isEmpty());
    // Another model: the run's tables go with the one they belonged to.
    window.importModel(kData + QStringLiteral("two_storey_frame.s2k"));
    QCOMPARE(reactions->rowCount(), 0);
}

QTEST_MAIN(PostWindowsTest)
#include "PostWindowsTest.moc"
