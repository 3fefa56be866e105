// Choices not saved in a project are never lost without a word: importing another model, opening
// a project and closing the window ask Save / Discard / Cancel first.
#include "app/gui/ErrorBox.h"
#include "app/gui/MainWindow.h"
#include "app/project/ProjectFile.h"
#include "convert/V14TestSupport.h"
#include "convert/gui/V14ConverterWindow.h"
#include "sections/gui/FrameSectionDialog.h"
#include "tcl/gui/TclFileDialog.h"
#include "document/SettingsByName.h"

#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace vandra;
using namespace vandra::gui;

namespace {

const QString kFrameModel = QStringLiteral(VANDRA_SOURCE_DIR "/examples/two_storey_frame.s2k");
const QString kWallModel = QStringLiteral(VANDRA_SOURCE_DIR "/examples/slab_wall.s2k");

} // namespace

class UnsavedChoicesTest : public QObject {
    Q_OBJECT
private slots:
    void askedBeforeTheOpenModelGoes();
    void commandLineProjectIsOpenedNotImported();
    void savedFilesGetTheirExtensionAndReopenFromRecentFiles();
};

void UnsavedChoicesTest::askedBeforeTheOpenModelGoes() {
    QStringList errors;
    SetErrorBoxHandler([&](const QString&, const QString& text) { errors << text; });
    QTemporaryDir dir;
    const QString project = dir.filePath(QStringLiteral("saved.vandra"));
    enum Way { Import, OpenProject, Close };
    const struct {
        const char* name;
        Way way;
        bool change;             // a section choice made after the import
        QMessageBox::StandardButton answer;
        bool chooseProject;      // Save: the project file dialog gives a name (else cancelled)
        bool asked, goesOn, saved;
    } cases[] = {
        {"import, nothing changed", Import, false, QMessageBox::Cancel, true, false, true, false},
        {"import, cancel", Import, true, QMessageBox::Cancel, true, true, false, false},
        {"import, discard", Import, true, QMessageBox::Discard, true, true, true, false},
        {"import, save", Import, true, QMessageBox::Save, true, true, true, true},
        {"import, save dialog cancelled", Import, true, QMessageBox::Save, false, true, false,
         false},
        {"open project, cancel", OpenProject, true, QMessageBox::Cancel, true, true, false, false},
        {"open project, discard", OpenProject, true, QMessageBox::Discard, true, true, true, false},
        {"close, nothing changed", Close, false, QMessageBox::Cancel, true, false, true, false},
        {"close, cancel", Close, true, QMessageBox::Cancel, true, true, false, false},
        {"close, save", Close, true, QMessageBox::Save, true, true, true, true},
    };
    // The project opened by the open-project cases: the wall model.
    {
        MainWindow source;
        source.importModel(kWallModel);
        QVERIFY(source.saveProject(dir.filePath(QStringLiteral("wall.vandra"))));
    }
    for (const auto& c : cases) {
        QFile::remove(project);
        MainWindow window;
        window.importModel(kFrameModel);
        QVERIFY2(!window.hasUnsavedChoices(), c.name);
        if (c.change)
            AssignSetting(window.document().model(), window.document().settings(),
                          "Sections[DCOL350].FrameType=4");
        QCOMPARE(window.hasUnsavedChoices(), c.change);
        int asked = 0;
        window.setUnsavedQuestion([&](QWidget*) {
            ++asked;
            return c.answer;
        });
        window.setProjectSaveChooser([&](QWidget*) { return c.chooseProject ? project : QString(); });
        window.setModelFileChooser([](QWidget*) { return kWallModel; });
        window.setProjectOpenChooser([&](QWidget*) { return dir.filePath("wall.vandra"); });
        bool wentOn = false;
        if (c.way == Import) {
            window.openModel();
            wentOn = window.document().path() == QFile::encodeName(kWallModel).toStdString();
        } else if (c.way == OpenProject) {
            window.askToOpenProject();
            wentOn = window.document().path() == QFile::encodeName(kWallModel).toStdString();
        } else {
            window.show();
            wentOn = window.close();
        }
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
        QVERIFY2(asked == (c.asked ? 1 : 0), c.name);
        QVERIFY2(wentOn == c.goesOn, c.name);
        QVERIFY2(QFile::exists(project) == c.saved, c.name);
        if (c.saved) {
            // What was saved is the choice made, and nothing is left unsaved.
            const auto opened = project::OpenProject(QFile::encodeName(project).toStdString());
            QCOMPARE(opened.model.Model.Sections[2].FrameType, 4);
        }
        if (!c.goesOn && c.change) QVERIFY2(window.hasUnsavedChoices(), c.name);
    }
}

void UnsavedChoicesTest::commandLineProjectIsOpenedNotImported() {
    QStringList errors;
    SetErrorBoxHandler([&](const QString&, const QString& text) { errors << text; });
    QTemporaryDir dir;
    const QString project = dir.filePath(QStringLiteral("frame.vandra"));
    {
        MainWindow source;
        source.importModel(kFrameModel);
        AssignSetting(source.document().model(), source.document().settings(), "ModalNumber=3");
        QVERIFY(source.saveProject(project));
    }
    MainWindow window;
    window.openFile(project);
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
    QCOMPARE(window.document().path(), QFile::encodeName(kFrameModel).toStdString());
    QCOMPARE(window.document().settings().ModalNumber, 3);
    QVERIFY(!window.hasUnsavedChoices());
}

void UnsavedChoicesTest::savedFilesGetTheirExtensionAndReopenFromRecentFiles() {
    QStringList errors;
    SetErrorBoxHandler([&](const QString&, const QString& text) { errors << text; });
    QTemporaryDir dir;
    MainWindow window;
    window.importModel(kFrameModel);
    window.tclFileDialog()->generate();
    {
        QFile cube(dir.filePath(QStringLiteral("cube.s2k")));
        QVERIFY(cube.open(QIODevice::WriteOnly));
        cube.write(QByteArray::fromStdString(v14_test::CubeFile()));
    }
    window.v14ConverterWindow()->openFile(dir.filePath(QStringLiteral("cube.s2k")));
    QString typed;
    window.tclFileDialog()->setSavePathProvider([&] { return typed; });
    window.frameSectionDialog()->setExportFileChooser([&](QWidget*) { return typed; });
    window.v14ConverterWindow()->setSavePathProvider([&] { return typed; });
    const struct {
        std::function<void()> save;
        const char* typed;
        const char* written;
    } cases[] = {
        {[&] { window.tclFileDialog()->findChild<QPushButton*>("saveButton")->click(); },
         "run.txt", "run.txt"},
        {[&] { window.frameSectionDialog()->exportLibrary(); }, "lib", "lib.json"},
        {[&] { window.v14ConverterWindow()->findChild<QPushButton*>("saveButton")->click(); },
         "converted", "converted.s2k"},
    };
    for (const auto& c : cases) {
        typed = dir.filePath(QLatin1String(c.typed));
        c.save();
        QVERIFY2(QFile::exists(dir.filePath(QLatin1String(c.written))), c.written);
    }
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));

    // The project saved last comes first; the model imported before it follows and reopens.
    const QString project = dir.filePath(QStringLiteral("frame.vandra"));
    QVERIFY(window.saveProject(project));
    const QStringList recent = window.recentFiles();
    QVERIFY(recent.size() >= 2);
    QCOMPARE(recent[0], project);
    QCOMPARE(recent[1], kFrameModel);
    window.importModel(kWallModel);
    auto* menu = window.findChild<QMenu*>(QStringLiteral("recentFilesMenu"));
    QCOMPARE(menu->actions().value(1)->text(), project);
    menu->actions().value(1)->trigger();
    QCOMPARE(window.document().path(), QFile::encodeName(kFrameModel).toStdString());
}

QTEST_MAIN(UnsavedChoicesTest)
#include "UnsavedChoicesTest.moc"
