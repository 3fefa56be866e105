// The open command: a chosen file, a cancelled dialog, files that fail, what a replace ends, clear
// results, the help pages, the V14 converter window, a tabular file with its conversion report,
// and the model check dialog: an import that found something shows it once; "Do not show again for
// this model" silences that model only; generation warnings of the script dialog come to it too.
#include "CorpusFiles.h"
#include "WidgetTest.h"
#include "app/gui/HelpPages.h"
#include "app/gui/MainWindow.h"
#include "app/gui/WarningsDialog.h"
#include "app/project/ProjectFile.h"
#include "convert/V14TestSupport.h"
#include "convert/gui/V14ConverterWindow.h"
#include "import/S2kImport.h"
#include "post/gui/AnimationDialog.h"
#include "post/gui/DeformationDialog.h"
#include "tcl/gui/TclFileDialog.h"
#include "view/gui/ModelViewWidget.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBrowser>

#include <functional>

using namespace vandra;
using namespace vandra::gui;
using namespace vandra::testing;

namespace {

const QString kFrameModel = vandra::testing::kExample;
const QString kSolidModel = QStringLiteral(VANDRA_SOURCE_DIR "/examples/solid_block.s2k");

QStringList CountPanels(const MainWindow& window) {
    QStringList counts;
    for (int i = 3; i <= 15; i += 2)
        counts << window.findChild<QLabel*>(QStringLiteral("statusPanel%1").arg(i))->text();
    return counts;
}

} // namespace

class OpenModelTest : public QObject {
    Q_OBJECT
private slots:
    void init() { boxes_.texts.clear(); }

    void chosenFileReplacesTheModelAndFitsTheView() {
        MainWindow window;
        QVERIFY(Exposed(window));
        window.setModelFileChooser([](QWidget*) { return kFrameModel; });
        window.action(Command::OpenModel)->trigger();
        QVERIFY2(boxes_.texts.isEmpty(), qPrintable(boxes_.texts.join('\n')));
        QCOMPARE(CountPanels(window), (QStringList{"21", "29", "0", "0", "2", "7", "0"}));
        // Zoom all has run on the drawing area's size: the model's wider extent (12 m in plan)
        // fills 80 % of the image width.
        const int W = window.modelView()->imageWidth();
        const TScreenPoint& left = window.modelView()->projection().Nodes[1];
        const TScreenPoint& right = window.modelView()->projection().Nodes[3];
        QVERIFY(W > 0);
        QVERIFY(qAbs((right.X - left.X) - 0.8 * W) <= 2);
    }

    void cancelChangesNothing() {
        // The section choices and the results of the open model stay as they are.
        MainWindow window;
        window.setModelFileChooser([](QWidget*) { return QString(); }); // Cancel or Esc
        window.importModel(kFrameModel);
        window.document().model().Sections[1].FrameType = kDispBeamColumn;
        window.document().results().Disp.X.assign(22, 3.0);
        // Discard the unsaved choices, then cancel the file dialog.
        window.setUnsavedQuestion([](QWidget*) { return QMessageBox::Discard; });
        window.action(Command::OpenModel)->trigger();
        QVERIFY(boxes_.texts.isEmpty());
        QCOMPARE(window.document().model().Sections[1].FrameType, int(kDispBeamColumn));
        QCOMPARE(window.document().results().Disp.X, std::vector<double>(22, 3.0));
    }

    // A file the importer refuses (each refusal is an import case) is said with the importer's own
    // message; the model shown stays with its text and path.
    void failingFileKeepsTheModelShown() {
        QTemporaryDir dir;
        const QString missing = dir.filePath("missing.s2k");
        MainWindow window;
        window.importModel(kSolidModel);
        const S2kText linesBefore = window.document().text();
        window.setModelFileChooser([&](QWidget*) { return missing; });
        window.action(Command::OpenModel)->trigger();
        QCOMPARE(boxes_.texts.size(), 1);
        QVERIFY2(boxes_.texts[0].contains(missing), qPrintable(boxes_.texts[0]));
        QVERIFY(window.document().text() == linesBefore);
        QCOMPARE(window.document().path(), kSolidModel.toStdString());
    }

    // Import and Open Project alike: the results loaded for the model before, its running
    // animation, its picked frame and its labelled load case all end; the settings stay on import
    // and come from the project on open.
    void replaceEndsWhatBelongedToThePreviousModel() {
        QTemporaryDir dir;
        const std::string project = QFile::encodeName(dir.filePath("frame.vandra")).toStdString();
        TSettings projectSettings;
        projectSettings.LoadSteps = 7;
        project::SaveProject(project, ImportS2k(ReadS2kFile(kFrameModel.toStdString())),
                             projectSettings, TViewOptions(), kFrameModel.toStdString());
        struct Case {
            const char* command;
            std::function<void(MainWindow&)> replace;
            int loadSteps; // after the replace, set to 9 before it
        };
        const Case cases[] = {
            {"import", [](MainWindow& w) { w.importModel(kSolidModel); }, 9},
            {"open project",
             [&](MainWindow& w) { w.openProject(QFile::decodeName(project.c_str())); }, 7},
        };
        for (const Case& c : cases) {
            MainWindow window;
            QVERIFY(Exposed(window, {800, 600}));
            window.importModel(kData + QStringLiteral("two_storey_frame.s2k"));
            window.document().settings().LoadSteps = 9;
            window.resultsFolder().setFolder(kData + QStringLiteral("frame_timehistory"));
            AnimationDialog* a = window.animationDialog();
            Press(*a, "loadDispButton");
            QCOMPARE(window.document().results().History.Steps, 150);
            window.deformationDialog()->loadNodeStep();
            QCOMPARE(window.document().results().Disp.X.size(), size_t(22));
            window.document().results().ResultMax = 5;
            window.toggleAnimation();
            window.animationTick();
            QVERIFY(window.animationRunning());
            window.interaction().SelectedFrame = 3;
            window.viewOptions().ShownLoadCase = 2;

            c.replace(window);
            QVERIFY2(boxes_.texts.isEmpty(), qPrintable(boxes_.texts.join('\n')));
            const TResults& r = window.document().results();
            QVERIFY2(!window.animationRunning(), c.command);
            // What the document's replace drops is a document test; here both commands use it.
            QVERIFY2(r.History.Steps == 0 && r.Disp.X.empty() &&
                         r.ResultMax == TResults().ResultMax,
                     c.command);
            QCOMPARE(window.animation().Frame, 0);
            QCOMPARE(window.interaction().SelectedFrame, 0);
            QCOMPARE(window.viewOptions().ShownLoadCase, 0);
            QCOMPARE(window.document().settings().LoadSteps, c.loadSteps);
            // A tick that was still queued draws nothing of the old history.
            window.animationTick();
            QVERIFY(!window.animationRunning());
        }
    }

    // The command reaches the results (what clearing does is a post test).
    void clearResultsZeroesDisplacementsAndFrameResults() {
        MainWindow window;
        window.importModel(kFrameModel);
        window.document().results().Disp.X.assign(22, 1.0);
        window.action(Command::ClearResults)->trigger();
        QCOMPARE(window.document().results().Disp.X, std::vector<double>(22, 0.0));
    }

    // The counts of every corpus file are import cases; one file shows the window's wiring.
    void tabularFileShowsItsCountsAndReport() {
        if (!vandra::testing::HaveCorpus())
            QSKIP("no corpus of tabular SAP2000 files beside the repository");
        MainWindow window;
        window.importModel(QString::fromStdString(vandra::testing::CorpusFile("ofem-demo.s2k")));
        QVERIFY2(boxes_.texts.isEmpty(), qPrintable(boxes_.texts.join('\n')));
        QCOMPARE(CountPanels(window), (QStringList{"264", "620", "150", "0", "2", "1", "1"}));
        const QString report =
            Child<QPlainTextEdit>(&window, "conversionReportText")->toPlainText();
        QVERIFY(report.contains(QStringLiteral("Units: \"")) &&
                report.contains(QStringLiteral(" warnings\n")));
    }

    void importWarningsShowOnceAndCanBeSilencedPerModel() {
        QTemporaryDir dir;
        const QByteArray suspect = "t\nJOINT\n  1  X=0  Y=0  Z=0\n  2  X=0  Y=0  Z=3000\n\n"
                                   "RESTRAINT \n  ADD=1  DOF=U1,U2,U3,R1,R2,R3\n\n";
        const QString a = dir.filePath("a.s2k"), b = dir.filePath("b.s2k");
        QVERIFY(WriteFile(a, suspect) && WriteFile(b, suspect));
        MainWindow window;
        WarningsDialog* dialog = window.warningsDialog();
        window.importModel(kFrameModel);
        QVERIFY(!dialog->isVisible()); // a clean model shows nothing

        window.importModel(a);
        QVERIFY(boxes_.texts.isEmpty());
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->text(),
                 QFile::encodeName(a) +
                     ":6: header 'RESTRAINT ' differs from RESTRAINT only by case or "
                     "blanks; read as the RESTRAINT section");
        QCOMPARE(window.document().model().Nodes[1].Restraint[1], 1);
        dialog->doNotShowAgain()->setChecked(true);
        dialog->accept();
        window.importModel(a);
        QVERIFY(!dialog->isVisible());
        window.importModel(b); // another model still shows its warnings
        QVERIFY(dialog->isVisible());

        dialog->accept();
        emit window.tclFileDialog()->warningsFound(
            WarningList{TWarning{"", 0, "joint 3 is not restrained", "the motion must be edited"}});
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->text(),
                 QStringLiteral("joint 3 is not restrained; the motion must be edited"));
    }

    // File > "Convert V14" opens the converter window: Open S2k converts and logs (cancelled:
    // nothing), Save S2k writes CR LF lines (an empty file before any conversion); a failed
    // conversion leaves nothing to save, and a failed save says so.
    void v14ConverterConvertsAndSaves() {
        QTemporaryDir dir;
        const auto path = [&](const char* name) { return dir.filePath(QLatin1String(name)); };
        MainWindow main;
        main.action(Command::ConvertV14)->trigger();
        V14ConverterWindow& window = *main.v14ConverterWindow();
        QVERIFY(window.isVisible() && !window.isModal());
        QString openPath, savePath = path("before.s2k");
        window.setOpenPathProvider([&] { return openPath; });
        window.setSavePathProvider([&] { return savePath; });
        Press(window, "saveButton");
        QCOMPARE(ReadAll(savePath), QByteArray());
        Press(window, "openButton");
        QCOMPARE(window.logText(), QString());

        openPath = path("cube.s2k");
        QVERIFY(WriteFile(openPath, QByteArray::fromStdString(v14_test::CubeFile())));
        Press(window, "openButton");
        QVERIFY(boxes_.texts.isEmpty());
        QCOMPARE(window.logText(), QStringLiteral("VANDRA import Sap2000 V14 S2k file\nNJOINT = 8\n"
                                                  "NSOLID = 1\nFinish!!"));
        savePath = path("cube_v6.s2k");
        Press(window, "saveButton");
        QByteArray expected;
        for (const std::string& line : v14_test::CubeV6Lines())
            expected += QByteArray::fromStdString(line) + "\r\n";
        QCOMPARE(ReadAll(savePath), expected);

        std::string bad = v14_test::CubeFile();
        bad.replace(bad.find("Solid=1"), 7, "Solid=S1");
        QVERIFY(WriteFile(path("bad.s2k"), QByteArray::fromStdString(bad)));
        window.openFile(path("bad.s2k"));
        const QString message =
            QStringLiteral("Line 26 (CONNECTIVITY - SOLID): 'S1' is not a valid integer value");
        QCOMPARE(boxes_.texts, QStringList{message});
        QCOMPARE(window.logText(), message);
        QVERIFY(window.v6Lines().empty());
        QVERIFY(!window.saveFile(path("no/such/folder/x.s2k")));
        QCOMPARE(boxes_.texts.size(), 2);
    }

    // Help > VANDRA Tutorial and About open their page in the program's one help window.
    void helpPagesOpenInTheProgramsHelpWindow() {
        MainWindow window;
        for (const auto& [command, page] : {std::pair(Command::Tutorial, "tutorial.html"),
                                            std::pair(Command::About, "about.html")}) {
            window.action(command)->trigger();
            const QList<HelpWindow*> helps = window.findChildren<HelpWindow*>();
            QVERIFY(helps.size() == 1 && helps[0]->isVisible());
            QCOMPARE(helps[0]->browser()->source().fileName(), QString::fromLatin1(page));
        }
    }

private:
    ErrorBoxes boxes_;
};

QTEST_MAIN(OpenModelTest)
#include "OpenModelTest.moc"
