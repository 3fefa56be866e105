// The open command: a chosen file, a cancelled dialog, files that fail, and clear results.
#include "app/gui/ErrorBox.h"
#include "app/gui/MainWindow.h"
#include "import/S2kImport.h"
#include "view/gui/ModelViewWidget.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

using namespace vandra;
using namespace vandra::gui;

namespace {

const QString kFrameModel = QStringLiteral(VANDRA_SOURCE_DIR "/examples/two_storey_frame.s2k");
const QString kSolidModel = QStringLiteral(VANDRA_SOURCE_DIR "/examples/solid_block.s2k");

QStringList CountPanels(const MainWindow& window) {
    QStringList counts;
    for (int i = 3; i <= 15; i += 2)
        counts << window.findChild<QLabel*>(QStringLiteral("statusPanel%1").arg(i))->text();
    return counts;
}

// The example with one line changed.
QString CorruptedCopy(const QTemporaryDir& dir, const QString& name, const QByteArray& from,
                      const QByteArray& to) {
    QFile source(kFrameModel);
    if (!source.open(QIODevice::ReadOnly)) return QString();
    QByteArray text = source.readAll();
    if (!text.contains(from)) return QString();
    text.replace(from, to);
    const QString path = dir.filePath(name);
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly)) return QString();
    out.write(text);
    return path;
}

} // namespace

class OpenModelTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void chosenFileReplacesTheModelAndFitsTheView();
    void cancelReimportsTheLinesLoadedLast();
    void failingFileKeepsTheModelShown();
    void clearResultsZeroesDisplacementsAndFrameResults();

private:
    QStringList titles_, messages_;
};

void OpenModelTest::init() {
    titles_.clear();
    messages_.clear();
    SetErrorBoxHandler([this](const QString& title, const QString& text) {
        titles_ << title;
        messages_ << text;
    });
}

void OpenModelTest::cleanup() {
    SetErrorBoxHandler(nullptr);
}

void OpenModelTest::chosenFileReplacesTheModelAndFitsTheView() {
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QString chosen = kFrameModel;
    window.setModelFileChooser([&](QWidget*) { return chosen; });
    window.action(Command::OpenModel)->trigger();
    QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
    QCOMPARE(CountPanels(window), (QStringList{"21", "29", "0", "0", "2", "7", "0"}));
    QCOMPARE(window.model().Nodes[2].X, 6000.0);
    QCOMPARE(window.s2kLines().size(), size_t(145));
    // Zoom all has run on the drawing area's size: the model's wider extent (12 m in plan)
    // fills 80 % of the image width.
    const int W = window.modelView()->imageWidth();
    const TNODE& left = window.model().Nodes[1];
    const TNODE& right = window.model().Nodes[3];
    QVERIFY(W > 0);
    QVERIFY(qAbs((right.ScreenX - left.ScreenX) - 0.8 * W) <= 2);

    // A second, smaller model replaces the first entirely; a selection beyond it is dropped.
    window.interaction().SelectedFrame = 29;
    chosen = kSolidModel;
    window.openModel();
    QCOMPARE(CountPanels(window), (QStringList{"12", "0", "0", "2", "1", "0", "0"}));
    QCOMPARE(window.interaction().SelectedFrame, 0);
}

void OpenModelTest::cancelReimportsTheLinesLoadedLast() {
    MainWindow window;
    window.setModelFileChooser([](QWidget*) { return QString(); });
    // Before any file: the empty text gives an empty model, without a message.
    window.openModel();
    QVERIFY(messages_.isEmpty());
    QCOMPARE(CountPanels(window), (QStringList{"0", "0", "0", "0", "0", "0", "0"}));

    window.importModel(kFrameModel);
    const TModel fresh = ImportS2k(ReadS2kFile(kFrameModel.toStdString()));
    window.model().Sections[1].FrameType = kDispBeamColumn;
    window.model().Sections[1].DivideFX = 12;
    window.results().Disp.X.assign(22, 3.0);
    window.openModel();
    QVERIFY(messages_.isEmpty());
    QCOMPARE(window.model().Sections[1].FrameType, fresh.Sections[1].FrameType);
    QCOMPARE(window.model().Sections[1].DivideFX, fresh.Sections[1].DivideFX);
    QVERIFY(window.results().Disp.X.empty()); // the results of the model shown before are gone
    QCOMPARE(CountPanels(window), (QStringList{"21", "29", "0", "0", "2", "7", "0"}));
}

void OpenModelTest::failingFileKeepsTheModelShown() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    struct Case {
        QString path;
        QString message; // empty: the importer's own message for that file
    };
    const QList<Case> cases = {
        {CorruptedCopy(dir, "number.s2k", "X=6000  Y=0  Z=0", "X=6O00  Y=0  Z=0"),
         "Line 10 (JOINT): '6O00' is not a valid floating point value"},
        {CorruptedCopy(dir, "angle.s2k", "J=1,7  SEC=NCOL400  NSEG=2  ANG=0",
                       "J=1,7  SEC=NCOL400  NSEG=2  ANG=zero"),
         "Line 87 (FRAME): 'zero' is not a valid floating point value"},
        {CorruptedCopy(dir, "joint.s2k", "J=1,7 ", "J=1,77 "), ""},
        {dir.filePath("missing.s2k"), ""},
    };
    MainWindow window;
    window.importModel(kSolidModel);
    const S2kText linesBefore = window.s2kLines();
    for (const Case& c : cases) {
        QVERIFY(!c.path.isEmpty());
        QString expected = c.message;
        if (expected.isEmpty()) {
            try {
                ImportS2k(ReadS2kFile(c.path.toStdString()));
                QFAIL(qPrintable(c.path + " imports without an error"));
            } catch (const std::exception& e) {
                expected = QString::fromLocal8Bit(e.what());
            }
        }
        messages_.clear();
        titles_.clear();
        window.setModelFileChooser([&](QWidget*) { return c.path; });
        window.action(Command::OpenModel)->trigger();
        QCOMPARE(messages_, QStringList{expected});
        QCOMPARE(titles_, QStringList{"MERVA"});
        QCOMPARE(window.model().SolidCount, 2);
        QCOMPARE(window.model().Nodes[2].X, 1000.0);
        QCOMPARE(CountPanels(window), (QStringList{"12", "0", "0", "2", "1", "0", "0"}));
        QVERIFY(window.s2kLines() == linesBefore);
    }
    // The lines loaded last are those of the model shown: cancelling re-imports it quietly.
    messages_.clear();
    window.setModelFileChooser([](QWidget*) { return QString(); });
    window.openModel();
    QVERIFY(messages_.isEmpty());
    QCOMPARE(window.model().SolidCount, 2);
}

void OpenModelTest::clearResultsZeroesDisplacementsAndFrameResults() {
    MainWindow window;
    window.importModel(kFrameModel);
    TModel& m = window.model();
    TResults& r = window.results();
    const size_t nodes = static_cast<size_t>(m.NodeCount) + 1;
    const size_t frames = static_cast<size_t>(m.FrameCount) + 1;
    r.Disp.X.assign(nodes, 1.0);
    r.Disp.Y.assign(nodes, 2.0);
    r.Disp.Z.assign(nodes, 3.0);
    r.Ends.I.assign(frames, -1.0);
    r.Ends.J.assign(frames, -2.0);
    r.Ends.HasI.assign(frames, 1);
    r.Ends.HasJ.assign(frames, 0);
    const double x = m.Nodes[4].X;
    window.settings().ResultMax = 5;
    window.action(Command::ClearResults)->trigger();
    for (const std::vector<double>* v : {&r.Disp.X, &r.Disp.Y, &r.Disp.Z, &r.Ends.I, &r.Ends.J}) {
        QCOMPARE(v->size(), v == &r.Ends.I || v == &r.Ends.J ? frames : nodes);
        for (double value : *v)
            QCOMPARE(value, 0.0);
    }
    QCOMPARE(r.Ends.HasI[1], 1); // which frames have values stays known
    QCOMPARE(r.Ends.HasJ[1], 0);
    QCOMPARE(window.settings().ResultMax, 5.0); // the range stays
    QCOMPARE(m.Nodes[4].X, x);
}

QTEST_MAIN(OpenModelTest)
#include "OpenModelTest.moc"
