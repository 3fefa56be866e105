// Choices are never lost without a word: importing and closing ask Save / Discard / Cancel first;
// a project given by name is opened.
#include "WidgetTest.h"
#include "app/gui/ErrorBox.h"
#include "app/gui/MainWindow.h"
#include "document/SettingsByName.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <tuple>
#include <utility>

using namespace vandra;
using namespace vandra::gui;

namespace {
std::string Path(const QString& p) {
    return QFile::encodeName(p).toStdString();
}
const QString kFrame = vandra::testing::kExample;
const QString kWall = QStringLiteral(VANDRA_SOURCE_DIR "/examples/slab_wall.s2k");
} // namespace

class UnsavedChoicesTest : public QObject {
    Q_OBJECT
private slots:
    void askedBeforeTheOpenModelGoes();
};

void UnsavedChoicesTest::askedBeforeTheOpenModelGoes() {
    QStringList errors;
    SetErrorBoxHandler([&](const QString&, const QString& text) { errors << text; });
    QTemporaryDir dir;
    const QString project = dir.filePath(QStringLiteral("saved.vandra"));
    using B = QMessageBox::StandardButton;
    const struct {
        bool close, change; // close the window (else import); a section choice made
        B answer;
        bool named, asked, goesOn; // Save: the project dialog gives a name
    } cases[] = {
        {false, false, B::Cancel, true, false, true}, {false, true, B::Cancel, true, true, false},
        {false, true, B::Discard, true, true, true},  {false, true, B::Save, true, true, true},
        {false, true, B::Save, false, true, false},   {true, false, B::Cancel, true, false, true},
        {true, true, B::Cancel, true, true, false},   {true, true, B::Save, true, true, true}};
    for (const auto& c : cases) {
        QFile::remove(project);
        MainWindow window;
        window.importModel(kFrame);
        if (c.change)
            AssignSetting(window.document().model(), window.document().settings(),
                          "Sections[DCOL350].FrameType=4");
        int asked = 0;
        window.setUnsavedQuestion([&](QWidget*) { return ++asked, c.answer; });
        window.setProjectSaveChooser([&](QWidget*) { return c.named ? project : QString(); });
        window.setModelFileChooser([](QWidget*) { return kWall; });
        window.show();
        const bool wentOn = c.close
                                ? window.close()
                                : (window.openModel(), window.document().path() != Path(kFrame));
        const bool saved = c.answer == B::Save && c.goesOn;
        QVERIFY(errors.isEmpty());
        QCOMPARE(std::tuple(asked, wentOn, QFile::exists(project)),
                 std::tuple(c.asked ? 1 : 0, c.goesOn, saved));
        QCOMPARE(window.hasUnsavedChoices(), c.change && !c.goesOn);
        if (!saved) continue;
        // The project holds the choice, and a project given by name (vandra FILE.vandra) opens.
        MainWindow again;
        again.openFile(project);
        QCOMPARE(std::pair(again.document().path(), again.document().model().Sections[2].FrameType),
                 std::pair(Path(kFrame), 4));
        QCOMPARE(again.recentFiles().value(0), project);
    }
}

QTEST_MAIN(UnsavedChoicesTest)
#include "UnsavedChoicesTest.moc"
