// The model check dialog: an import that found something shows it once, with one line per
// warning; "Do not show again for this model" silences that model only; generation warnings of
// the script dialog come to the same dialog.
#include "app/gui/WarningsDialog.h"
#include "app/gui/ErrorBox.h"
#include "app/gui/MainWindow.h"
#include "tcl/gui/TclFileDialog.h"

#include <QCheckBox>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace vandra;
using namespace vandra::gui;

namespace {

QString WriteModel(const QTemporaryDir& dir, const QString& name, const QByteArray& text) {
    const QString path = dir.filePath(name);
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly)) return QString();
    out.write(text);
    return path;
}

const QByteArray kSuspect = "t\n"
                            "JOINT\n"
                            "  1  X=0  Y=0  Z=0\n"
                            "  2  X=0  Y=0  Z=3000\n"
                            "\n"
                            "RESTRAINT \n"
                            "  ADD=1  DOF=U1,U2,U3,R1,R2,R3\n"
                            "\n";

} // namespace

class WarningsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void importWarningsShowOnceAndCanBeSilencedPerModel();
    void generationWarningsComeToTheSameDialog();
};

void WarningsDialogTest::importWarningsShowOnceAndCanBeSilencedPerModel() {
    QStringList errors;
    SetErrorBoxHandler([&](const QString&, const QString& text) { errors << text; });
    QTemporaryDir dir;
    const QString a = WriteModel(dir, "a.s2k", kSuspect);
    const QString b = WriteModel(dir, "b.s2k", kSuspect);
    MainWindow window;
    WarningsDialog* dialog = window.warningsDialog();

    window.importModel(QStringLiteral(VANDRA_SOURCE_DIR "/examples/two_storey_frame.s2k"));
    QVERIFY(!dialog->isVisible()); // a clean model shows nothing

    window.importModel(a);
    QVERIFY(errors.isEmpty());
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->text(), QFile::encodeName(a) +
                                 ":6: header 'RESTRAINT ' differs from RESTRAINT only by case or "
                                 "blanks; read as the RESTRAINT section");
    QCOMPARE(window.document().model().Nodes[1].Restraint[1], 1);

    dialog->doNotShowAgain()->setChecked(true);
    dialog->accept();
    window.importModel(a);
    QVERIFY(!dialog->isVisible());
    QVERIFY(dialog->silenced(a));

    window.importModel(b); // another model still shows its warnings
    QVERIFY(dialog->isVisible());
    SetErrorBoxHandler(nullptr);
}

void WarningsDialogTest::generationWarningsComeToTheSameDialog() {
    MainWindow window;
    WarningsDialog* dialog = window.warningsDialog();
    emit window.tclFileDialog()->warningsFound(
        WarningList{TWarning{"", 0, "joint 3 is not restrained", "the motion must be edited"}});
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->text(),
             QStringLiteral("joint 3 is not restrained; the motion must be edited"));
}

QTEST_MAIN(WarningsDialogTest)
#include "WarningsDialogTest.moc"
