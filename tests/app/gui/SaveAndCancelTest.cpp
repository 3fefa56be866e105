// Pictures of the view (File > "Save picture") at a chosen size; Cancel in the progress dialog of
// the import of a large grid, a large movie (Post > "Export animation") and the grid's script
// generation leaves the open model, a previous file of the name and the shown script as they were.
#include "app/gui/MainWindow.h"
#include "post/gui/AnimationDialog.h"
#include "tcl/gui/TclFileDialog.h"
#include "view/gui/ModelViewWidget.h"
#include "view/gui/SaveViewDialog.h"
#include "view/render/ModelRenderer.h"

#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace vandra;
using namespace vandra::gui;

namespace {

void Fill(SaveViewDialog* dialog, const QString& file, int w, int h) {
    dialog->findChild<QLineEdit*>("fileEdit")->setText(file);
    dialog->findChild<QSpinBox*>("widthEdit")->setValue(w);
    dialog->findChild<QSpinBox*>("heightEdit")->setValue(h);
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

} // namespace

class SaveAndCancelTest : public QObject {
    Q_OBJECT
private slots:
    void picturesAndCancel();
};

void SaveAndCancelTest::picturesAndCancel() {
    const QTemporaryDir dir;
    const QString grid = dir.filePath(QStringLiteral("grid.s2k")),
                  data = VANDRA_SOURCE_DIR "/tests/data/";
    QCOMPARE(QProcess::execute("python3",
                               {VANDRA_SOURCE_DIR "/bench/make_grid.py", grid, "30", "30", "20"}),
             0);
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.importModel(data + "two_storey_frame.s2k");
    window.document().settings().LoadSteps = 9;
    window.resultsFolder().setFolder(data + "frame_timehistory");
    window.animationDialog()->findChild<QPushButton*>("loadDispButton")->click();
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
    QFile previous(mp4);
    QVERIFY(previous.open(QIODevice::WriteOnly) && previous.write("previous") == 8);
    previous.close();
    Fill(movie, mp4, 6000, 6000);
    QVERIFY(CancelledAtOnce(movie, [&] { QVERIFY(movie->tryApply()); }));
    QVERIFY(previous.open(QIODevice::ReadOnly));
    QCOMPARE(previous.readAll(), QByteArray("previous"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 3); // no temporary file left

    window.importModel(grid);
    QCOMPARE(window.document().model().NodeCount, 18000);
    QVERIFY(CancelledAtOnce(tcl, [&] { tcl->generate(); }));
    QCOMPARE(tcl->scriptText(), script);
}

QTEST_MAIN(SaveAndCancelTest)
#include "SaveAndCancelTest.moc"
