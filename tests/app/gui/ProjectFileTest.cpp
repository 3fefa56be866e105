// The project file: what it keeps, how it is opened again, and what happens when it cannot be.
#include "app/project/ProjectFile.h"
#include "app/gui/ErrorBox.h"
#include "app/gui/MainWindow.h"
#include "document/SettingsByName.h"
#include "import/S2kImport.h"
#include "model/Errors.h"
#include "tcl/ScriptGenerator.h"
#include "tcl/gui/AnalysisSettingDialog.h"
#include "tcl/gui/RecorderSettingDialog.h"
#include "view/gui/ViewOptionDialog.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <map>
#include <string_view>
#include <type_traits>

using namespace vandra;

namespace {

const QString kFrameModel = QStringLiteral(VANDRA_SOURCE_DIR "/examples/two_storey_frame.s2k");

std::string Path(const QString& p) {
    return QFile::encodeName(p).toStdString();
}

// A reinforced concrete fiber model of the example, as an engineer sets it up in the dialogs.
void MakeReinforcedConcrete(TModel& model, TSettings& settings) {
    for (const char* s : {"Mats[CONC].MatType=5", "Mats[CONC].fpc=-32", "Mats[STEEL].MatType=4",
                          "Sections[NCOL400].DivideFX=6", "Sections[DCOL350].FrameType=4",
                          "Sections[DCOL350].Color=255", "AnalysisType=3", "LoadVector=2",
                          "ControlNode=21", "UseAggregator=1", "RecOpt=1,0,1,0,1"})
        AssignSetting(model, settings, s);
}

ScriptLineList Script(TModel model, const TSettings& settings) {
    ScriptLineList lines;
    GenerateScript(model, settings, lines);
    return lines;
}

SettingRooms RoomsOf(gui::MainWindow& window) {
    return {&window.document().settings(), &window.viewOptions(), &window.document().results()};
}

// A setting's value as --set gives it ("1,0,1" for a list of flags).
std::string ValueText(const SettingEntry& entry, const SettingRooms& rooms) {
    std::string text;
    VisitSetting(entry, rooms, [&](const auto& v) {
        using T = std::remove_cvref_t<decltype(v)>;
        if constexpr (std::is_arithmetic_v<T>) {
            text = QString::number(v, 'g', 17).toStdString();
        } else {
            for (size_t i = 1; i < v.size(); ++i)
                text += std::string(i > 1 ? "," : "") + (v[i] ? "1" : "0");
        }
    });
    return text;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class ProjectFileTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        messages_.clear();
        gui::SetErrorBoxHandler([this](const QString&, const QString& text) { messages_ << text; });
        QVERIFY(dir_.isValid());
        QDir(dir_.path()).mkpath(QStringLiteral("models"));
        s2k_ = dir_.filePath(QStringLiteral("models/frame.s2k"));
        QFile::remove(s2k_);
        QVERIFY(QFile::copy(kFrameModel, s2k_));
    }

    void saveAndOpenGiveTheSameScript() {
        TModel model = ImportS2k(ReadS2kFile(Path(s2k_)));
        TSettings settings;
        MakeReinforcedConcrete(model, settings);
        model.AreaSecs.resize(1);
        const QString project = dir_.filePath(QStringLiteral("frame.vandra"));
        project::SaveProject(Path(project), model, settings, TViewOptions(), Path(s2k_));

        const QJsonObject doc = QJsonDocument::fromJson(ReadAll(project)).object();
        QCOMPARE(doc.value(QStringLiteral("Model")).toString(), QStringLiteral("models/frame.s2k"));

        const project::OpenedProject opened = project::OpenProject(Path(project));
        QVERIFY(opened.unmatched.empty());
        QCOMPARE(opened.model.Model.Mats[2].MatType, int(kMatConcrete02));
        QCOMPARE(opened.model.Model.Mats[2].fpc, -32.0);
        QCOMPARE(opened.model.Settings->RecOpt, settings.RecOpt);
        QVERIFY(Script(opened.model.Model, *opened.model.Settings) == Script(model, settings));
    }

    void namesThatNoLongerMatchAreReported() {
        TModel model = ImportS2k(ReadS2kFile(Path(s2k_)));
        TSettings settings;
        MakeReinforcedConcrete(model, settings);
        const QString project = dir_.filePath(QStringLiteral("renamed.vandra"));
        project::SaveProject(Path(project), model, settings, TViewOptions(), Path(s2k_));
        // The model file changes: a section and a material are renamed.
        QByteArray text = ReadAll(s2k_);
        text.replace("NAME=DCOL350", "NAME=DCOL360").replace("NAME=CONC", "NAME=C30");
        text.replace("SEC=DCOL350", "SEC=DCOL360").replace("MAT=CONC", "MAT=C30");
        QFile out(s2k_);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(text);
        out.close();

        const project::OpenedProject opened = project::OpenProject(Path(project));
        QCOMPARE(opened.unmatched, (std::vector<std::string>{"Sections[DCOL350]", "Mats[CONC]"}));
        QCOMPARE(opened.model.Model.Sections[1].DivideFX, 6);
        QCOMPARE(opened.model.Model.Mats[1].MatType, int(kMatSteel02));
    }

    void missingModelFileAndBadProjectsAreClearErrors() {
        TModel model = ImportS2k(ReadS2kFile(Path(s2k_)));
        const QString project = dir_.filePath(QStringLiteral("moved.vandra"));
        project::SaveProject(Path(project), model, TSettings(), TViewOptions(), Path(s2k_));
        QVERIFY(QFile::remove(s2k_));
        try {
            project::OpenProject(Path(project));
            QFAIL("a project without its model file opened");
        } catch (const InputError& e) {
            const QString message = QString::fromLocal8Bit(e.what());
            QVERIFY2(message.contains(QStringLiteral("models/frame.s2k")) &&
                         message.contains(QStringLiteral("does not exist")),
                     qPrintable(message));
        }

        struct Case {
            const char* text;
            const char* message;
        };
        const Case cases[] = {
            {"{\"Format\": \"VANDRA proj", "is not a VANDRA project"},
            {"[1, 2]", "is not a VANDRA project"},
            {"{\"Format\": \"other\", \"Model\": \"a.s2k\"}", "is not a VANDRA project"},
            {"{\"Format\": \"VANDRA project\", \"Version\": 1, \"Model\": \"frame.s2k\", "
             "\"Mats\": {\"CONC\": {\"MatType\": 3, \"fpc\": 30}}}",
             "fpc must be negative"},
            {"{\"Format\": \"VANDRA project\", \"Version\": 1, \"Model\": \"frame.s2k\", "
             "\"Settings\": {\"LoadSteps\": 2.5}}",
             "Settings: LoadSteps must be an integer"},
            {"{\"Format\": \"VANDRA project\", \"Version\": 1, \"Model\": \"frame.s2k\", "
             "\"AreaSecs\": {\"X\": 4}}",
             "AreaSecs[X] must be a JSON object"},
        };
        QVERIFY(QFile::copy(kFrameModel, dir_.filePath(QStringLiteral("frame.s2k"))));
        for (const Case& c : cases) {
            const QString bad = dir_.filePath(QStringLiteral("bad.vandra"));
            QFile f(bad);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(c.text);
            f.close();
            try {
                project::OpenProject(Path(bad));
                QFAIL(c.text);
            } catch (const InputError& e) {
                QVERIFY2(QString::fromLocal8Bit(e.what()).contains(QLatin1String(c.message)),
                         e.what());
            }
        }
    }

    void failedSaveKeepsTheOldProject() {
        TModel model = ImportS2k(ReadS2kFile(Path(s2k_)));
        const QString folder = dir_.filePath(QStringLiteral("locked"));
        QDir(dir_.path()).mkpath(QStringLiteral("locked"));
        const QString project = folder + QStringLiteral("/p.vandra");
        project::SaveProject(Path(project), model, TSettings(), TViewOptions(), Path(s2k_));
        const QByteArray old = ReadAll(project);
        // Writing into a folder that does not exist fails for every user.
        QVERIFY_THROWS_EXCEPTION(InputError,
                                 project::SaveProject(Path(folder + "/none/p.vandra"), model,
                                                      TSettings(), TViewOptions(), Path(s2k_)));
        TSettings changed;
        changed.AnalysisType = kModal;
        // A disk that fills up in the middle of the write, for every user: files may not grow
        // beyond 100 bytes while the project is saved.
        rlimit limit{};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &limit), 0);
        const rlimit small{100, limit.rlim_max};
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        bool failed = false;
        try {
            project::SaveProject(Path(project), model, changed, TViewOptions(), Path(s2k_));
        } catch (const InputError&) {
            failed = true;
        }
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, previousHandler);
        QVERIFY(failed);
        QCOMPARE(ReadAll(project), old);
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"p.vandra"});

        if (::geteuid() == 0) QSKIP("root writes into read-only folders");
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY_THROWS_EXCEPTION(InputError, project::SaveProject(Path(project), model, changed,
                                                                  TViewOptions(), Path(s2k_)));
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(ReadAll(project), old);
    }

    // The whole way through the window: a model, choices, Save Project, a new session, Open
    // Project, the same script.
    void mainWindowSaveAndOpenProject() {
        const QString project = dir_.filePath(QStringLiteral("session.vandra"));
        ScriptLineList saved;
        {
            gui::MainWindow window;
            window.action(gui::Command::SaveProject)->trigger();
            QCOMPARE(messages_.size(), 1); // no model yet: nothing to refer to
            QVERIFY(messages_.front().contains(QStringLiteral("Import a model")));
            messages_.clear();
            window.importModel(s2k_);
            MakeReinforcedConcrete(window.document().model(), window.document().settings());
            window.setProjectSaveChooser([&](QWidget*) { return project; });
            window.action(gui::Command::SaveProject)->trigger();
            QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
            saved = Script(window.document().model(), window.document().settings());
        }
        gui::MainWindow window;
        window.setProjectOpenChooser([&](QWidget*) { return project; });
        window.action(gui::Command::OpenProject)->trigger();
        QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
        QCOMPARE(window.document().model().SectionCount, 7);
        QVERIFY(Script(window.document().model(), window.document().settings()) == saved);
    }

    // Every setting a project keeps comes back through Save Project, Open Project and the dialog
    // that shows it: each is set to a value other than its default, the project is saved and
    // opened in a new window, and every simple dialog is shown and closed with OK.
    void everySettingRoundTripsThroughTheProjectAndItsDialog() {
        // Values that go together on the example: displacement control of the upper floor's
        // master joint along Y.
        const std::map<std::string_view, std::string> values = {
            {"AnalysisType", "2"},
            {"LoadCase", "2"},
            {"LoadVector", "2"},
            {"LoadSteps", "50"},
            {"LoadFactor", "2"},
            {"ControlNode", "21"},
            {"ControlDof", "2"},
            {"ControlDisp", "0.25"},
            {"AnalysisStep", "60"},
            {"NumIntgrPts", "5"},
            {"RebarMat", "2"},
            {"UseAggregator", "1"},
            {"ModalNumber", "6"},
            {"GenPlateFiber", "0"},
            {"GenNodeMass", "0"},
            {"RecOpt", "0,1,1,1,1"},
            {"RecReactions", "1"},
            {"RecRotations", "1"},
            {"RecModalReport", "1"},
            {"ViewOpt", "1,0,1,0,1,1,0,1,1,0,1,0,0"}};
        const QString project = dir_.filePath(QStringLiteral("every.vandra"));
        std::map<std::string_view, std::string> saved;
        {
            gui::MainWindow window;
            window.importModel(s2k_);
            for (const SettingEntry& e : SettingsTable()) {
                if (!e.InProject) continue;
                const auto v = values.find(e.Name);
                QVERIFY2(v != values.end(), e.Name.data()); // a setting without a test value
                const std::string before = ValueText(e, RoomsOf(window));
                AssignSetting(window.document().model(), RoomsOf(window),
                              std::string(e.Name) + "=" + v->second);
                saved[e.Name] = ValueText(e, RoomsOf(window));
                QVERIFY2(saved[e.Name] != before, e.Name.data());
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
            dialog->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
            QVERIFY2(!dialog->isVisible(), qPrintable(dialog->windowTitle()));
        }
        QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join('\n')));
        for (const auto& [name, text] : saved)
            QCOMPARE(ValueText(SettingNamed(name), RoomsOf(window)), text);
    }

private:
    QTemporaryDir dir_;
    QString s2k_;
    QStringList messages_;
};

QTEST_MAIN(ProjectFileTest)
#include "ProjectFileTest.moc"
