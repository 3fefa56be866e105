// File > "Save picture" and Post > "Export animation": the view as shown, at the chosen size; a
// movie written with a progress bar whose Cancel leaves the previous file as it was.
#include "app/gui/MainWindow.h"
#include "post/gui/AnimationDialog.h"
#include "view/gui/ModelViewWidget.h"
#include "view/gui/SaveViewDialog.h"
#include "view/render/ModelRenderer.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace vandra;
using namespace vandra::gui;

namespace {

const QString kData = QStringLiteral(VANDRA_SOURCE_DIR "/tests/data/");

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Fill(SaveViewDialog* d, const QString& file, int w, int h) {
    d->findChild<QLineEdit*>(QStringLiteral("fileEdit"))->setText(file);
    d->findChild<QSpinBox*>(QStringLiteral("widthEdit"))->setValue(w);
    d->findChild<QSpinBox*>(QStringLiteral("heightEdit"))->setValue(h);
}

} // namespace

class SaveViewTest : public QObject {
    Q_OBJECT
private slots:
    void picturesShowTheViewAtTheirSize();
    void cancelledMovieKeepsThePreviousFile();
};

// The PNG holds the view's pixels at twice its size (the view scaled to fit, as drawn at that
// size); the SVG holds its lines as paths.
void SaveViewTest::picturesShowTheViewAtTheirSize() {
    MainWindow window;
    window.resize(800, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.importModel(kData + QStringLiteral("two_storey_frame.s2k"));
    const QSize shown = window.modelView()->image().size();
    const QTemporaryDir dir;
    SaveViewDialog* d = window.savePictureDialog();
    window.showDialog(d);
    QCOMPARE(d->findChild<QSpinBox*>(QStringLiteral("widthEdit"))->value(), shown.width());

    Fill(d, dir.filePath(QStringLiteral("view.png")), 2 * shown.width(), 2 * shown.height());
    QVERIFY(d->tryApply());
    TViewState twice = window.viewState();
    twice.ViewScale /= 2;
    QImage expected(2 * shown.width(), 2 * shown.height(), QImage::Format_RGB32);
    RedrawModel(expected, window.document().model(), window.viewOptions(), twice, 0,
                window.document().results());
    QCOMPARE(QImage(dir.filePath(QStringLiteral("view.png"))).convertToFormat(QImage::Format_RGB32),
             expected);

    Fill(d, dir.filePath(QStringLiteral("view.svg")), 640, 400);
    QVERIFY(d->tryApply());
    const QByteArray svg = ReadAll(dir.filePath(QStringLiteral("view.svg")));
    QVERIFY(svg.contains("viewBox=\"0 0 640 400\""));
    QVERIFY(svg.contains("<path"));
}

// A finished GIF of the three loaded steps; then a large MP4 cancelled from its progress dialog:
// the file written before stays, and nothing else is left in the folder.
void SaveViewTest::cancelledMovieKeepsThePreviousFile() {
    MainWindow window;
    window.resize(800, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.importModel(kData + QStringLiteral("two_storey_frame.s2k"));
    window.document().settings().LoadSteps = 9;
    window.resultsFolder().setFolder(kData + QStringLiteral("frame_timehistory"));
    AnimationDialog* a = window.animationDialog();
    a->findChild<QLineEdit*>(QStringLiteral("nstepEdit"))->setText(QStringLiteral("3"));
    a->findChild<QPushButton*>(QStringLiteral("loadDispButton"))->click();
    QCOMPARE(window.document().results().History.Steps, 3);

    const QTemporaryDir dir;
    SaveViewDialog* d = window.exportAnimationDialog();
    window.showDialog(d);
    QCOMPARE(d->findChild<QComboBox*>(QStringLiteral("motionBox"))->currentIndex(), 0);
    Fill(d, dir.filePath(QStringLiteral("steps.gif")), 320, 200);
    QVERIFY(d->tryApply());
    QVERIFY(ReadAll(dir.filePath(QStringLiteral("steps.gif"))).startsWith("GIF89a"));

    const QString movie = dir.filePath(QStringLiteral("steps.mp4"));
    {
        QFile previous(movie);
        QVERIFY(previous.open(QIODevice::WriteOnly));
        previous.write("previous");
    }
    Fill(d, movie, 6000, 6000);
    bool cancelled = false;
    QTimer::singleShot(10, &window, [&] {
        auto* progress = d->findChild<QProgressDialog*>(QStringLiteral("progressDialog"));
        if (progress == nullptr) return;
        progress->cancel();
        cancelled = true;
    });
    QVERIFY(d->tryApply());
    QVERIFY(cancelled);
    QCOMPARE(ReadAll(movie), QByteArray("previous"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

QTEST_MAIN(SaveViewTest)
#include "SaveViewTest.moc"
