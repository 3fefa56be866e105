// The project file: what it keeps through its dialogs, the prompts before unsaved choices go, and
// names as JSON text (a save cut short is a CLI case).
#include "app/project/ProjectFile.h"
#include "WidgetTest.h"
#include "app/gui/MainWindow.h"
#include "document/SettingsByName.h"
#include "tcl/gui/AnalysisSettingDialog.h"
#include "tcl/gui/RecorderSettingDialog.h"
#include "view/gui/ViewOptionDialog.h"

#include <QDir>
#include <QTemporaryDir>

#include <tuple>

using namespace vandra;
using namespace vandra::testing;

namespace {

const QString kFrameModel = kExample;
const QString kWall = QStringLiteral(VANDRA_SOURCE_DIR "/examples/slab_wall.s2k");

std::string Path(const QString& p) {
    return QFile::encodeName(p).toStdString();
}

// The analysis settings and view options as the project file writes them.
QJsonObject SettingsOf(gui::MainWindow& w) {
    const Document& d = w.document();
    return project::ProjectDocument(d.model(), d.settings(), w.viewOptions(), d.path(), d.path())
        .value(QStringLiteral("Settings"))
        .toObject();
}

} // namespace

class ProjectFileTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        boxes_.texts.clear();
        QVERIFY(dir_.isValid());
        QDir(dir_.path()).mkpath(QStringLiteral("models"));
        s2k_ = dir_.filePath(QStringLiteral("models/frame.s2k"));
        QFile::remove(s2k_);
        QVERIFY(QFile::copy(kFrameModel, s2k_));
    }

    // Every setting a project keeps comes back through Save Project, Open Project and the dialog
    // that shows it: each is set to a value other than its default, the project is saved and
    // opened in a new window, and every simple dialog is shown and closed with OK.
    void everySettingRoundTripsThroughTheProjectAndItsDialog() {
        // Values that go together on the example: displacement control of the lower floor's
        // master joint along Y (the import chose the upper one).
        const QStringList sets = QStringLiteral(
            "AnalysisType=2 LoadCase=2 LoadVector=2 LoadSteps=50 LoadFactor=2 ControlNode=20 "
            "ControlDof=2 ControlDisp=0.25 AnalysisStep=60 NumIntgrPts=5 RebarMat=2 "
            "UseAggregator=1 ModalNumber=5 GenPlateFiber=0 GenNodeMass=0 RecOpt=0,1,0,1,1 "
            "RecReactions=1 RecRotations=1 RecModalReport=1 RecordFile=records/rsn1.AT2 "
            "RecordDt=0.01 RecordScale=0.5 RecordDirection=2 DampingRatio=0.03 "
            "ViewOpt=1,0,1,0,1,1,0,1,1,0,1,0,0").split(u' ');
        const QString project = dir_.filePath(QStringLiteral("every.vandra"));
        QJsonObject saved;
        {
            gui::MainWindow window;
            window.importModel(s2k_);
            const QJsonObject defaults = SettingsOf(window);
            const SettingRooms rooms{&window.document().settings(), &window.viewOptions(),
                                     &window.document().results()};
            for (const QString& set : sets)
                AssignSetting(window.document().model(), rooms, set.toStdString());
            saved = SettingsOf(window);
            for (const SettingEntry& e : SettingsTable()) { // each given a value not its default
                const QString name = QString::fromLatin1(e.Name.data(), qsizetype(e.Name.size()));
                QVERIFY2(!e.InProject || (saved.contains(name) && saved[name] != defaults[name]),
                         e.Name.data());
            }
            window.setProjectSaveChooser([&](QWidget*) { return project; });
            window.action(gui::Command::SaveProject)->trigger();
        }
        gui::MainWindow window;
        window.openProject(project);
        const QList<QDialog*> dialogs = {window.findChild<gui::AnalysisSettingDialog*>(),
                                         window.findChild<gui::RecorderSettingDialog*>(),
                                         window.findChild<gui::ViewOptionDialog*>()};
        for (QDialog* dialog : dialogs) {
            dialog->show();
            Press(*dialog, "okButton");
            QVERIFY2(!dialog->isVisible(), qPrintable(dialog->windowTitle()));
        }
        QVERIFY2(boxes_.texts.isEmpty(), qPrintable(boxes_.texts.join('\n')));
        QCOMPARE(SettingsOf(window), saved);
    }

    // Choices are never lost without a word: importing and closing ask Save / Discard / Cancel
    // first; a project given by name is opened.
    void askedBeforeTheOpenModelGoes() {
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
            gui::MainWindow window;
            window.importModel(kFrameModel);
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
                                    : (window.openModel(), window.document().path() != Path(kFrameModel));
            const bool saved = c.answer == B::Save && c.goesOn;
            QVERIFY(boxes_.texts.isEmpty());
            QCOMPARE(std::tuple(asked, wentOn, QFile::exists(project)),
                     std::tuple(c.asked ? 1 : 0, c.goesOn, saved));
            QCOMPARE(window.hasUnsavedChoices(), c.change && !c.goesOn);
            if (!saved) continue;
            // The project holds the choice, and a project given by name (vandra FILE.vandra) opens.
            gui::MainWindow again;
            again.openFile(project);
            QCOMPARE(std::pair(again.document().path(), again.document().model().Sections[2].FrameType),
                     std::pair(Path(kFrameModel), 4));
            QCOMPARE(again.recentFiles().value(0), project);
        }
    }

    // A name's JSON text reads back as its bytes: UTF-8 as it is, other bytes in private-use
    // characters, and a UTF-8 name that spells such a character kept apart from the byte.
    void namesKeepTheirBytesAsJsonText() {
        const std::pair<std::string, QString> cases[] = {
            {"NCOL400", "NCOL400"},
            {"B\xC3\xA9ton", QString::fromUtf8("B\xC3\xA9ton")},
            {"B\xE9ton", QString("B") + QChar(0xEFE9) + "ton"},
            {"\xEE\xBF\xA9", QString(QChar(0xEFEE)) + QChar(0xEFBF) + QChar(0xEFA9)},
        };
        for (const auto& [bytes, text] : cases) {
            QCOMPARE(project::JsonText(bytes), text);
            QCOMPARE(project::BytesOf(text), bytes);
        }
    }

private:
    QTemporaryDir dir_;
    QString s2k_;
    ErrorBoxes boxes_;
};

QTEST_MAIN(ProjectFileTest)
#include "ProjectFileTest.moc"
