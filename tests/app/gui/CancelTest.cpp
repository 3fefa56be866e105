// Cancel of long work from its progress dialog: the import and the script generation of a large
// grid, cancelled as they start, leave the open model and the shown script as they were.
#include "app/gui/MainWindow.h"
#include "tcl/gui/TclFileDialog.h"

#include <QProcess>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>


using namespace vandra;
using namespace vandra::gui;

namespace {

const QString kFrameModel = QStringLiteral(VANDRA_SOURCE_DIR "/tests/data/two_storey_frame.s2k");

// Presses Cancel of the progress dialog under `owner` as soon as the work has started.
void CancelWhenShown(QWidget* owner, bool& cancelled) {
    QTimer::singleShot(0, owner, [owner, &cancelled] {
        auto* progress = owner->findChild<QProgressDialog*>(QStringLiteral("progressDialog"));
        if (progress == nullptr) return;
        progress->cancel();
        cancelled = true;
    });
}

} // namespace

class CancelTest : public QObject {
    Q_OBJECT
private slots:
    void cancelKeepsThePreviousState();
};

void CancelTest::cancelKeepsThePreviousState() {
    const QTemporaryDir dir;
    const QString grid = dir.filePath(QStringLiteral("grid.s2k"));
    QCOMPARE(QProcess::execute(QStringLiteral("python3"),
                               {QStringLiteral(VANDRA_SOURCE_DIR "/bench/make_grid.py"), grid,
                                QStringLiteral("30"), QStringLiteral("30"), QStringLiteral("20")}),
             0);
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.importModel(kFrameModel);
    TclFileDialog* tcl = window.tclFileDialog();
    tcl->generate();
    const QString shown = tcl->scriptText();
    const std::string script(tcl->scriptLines().Text());
    QVERIFY(shown.contains(QStringLiteral("node 21 ")));

    bool cancelled = false;
    CancelWhenShown(&window, cancelled);
    window.importModel(grid);
    QVERIFY(cancelled);
    QCOMPARE(window.document().model().NodeCount, 21);
    QCOMPARE(window.document().path(), kFrameModel.toStdString());

    window.importModel(grid);
    QCOMPARE(window.document().model().NodeCount, 18000);
    cancelled = false;
    CancelWhenShown(tcl, cancelled);
    tcl->generate();
    QVERIFY(cancelled);
    QCOMPARE(tcl->scriptText(), shown);
    QCOMPARE(std::string(tcl->scriptLines().Text()), script);
}

QTEST_MAIN(CancelTest)
#include "CancelTest.moc"
