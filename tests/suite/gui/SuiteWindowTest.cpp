// Analysis > "Run suite" with the real solver (OpenSees on the PATH, else skipped): a suite edited
// in the window, saved into the document, written (T1 from a modal run) and run on the pool until
// the table, the progress bar and the IDA tabs show every run done; a second suite cancelled while
// it runs leaves its runs pending. What the runs compute is checked in tests/solver.
#include "suite/gui/SuiteWindow.h"
#include "WidgetTest.h"
#include "app/gui/MainWindow.h"
#include "document/Document.h"
#include "motion/Manifest.h"
#include "motion/Record.h"
#include "suite/gui/IdaPlotWidget.h"
#include "suite/gui/SuiteEditor.h"

#include <QAction>
#include <QProgressBar>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>

#include <cmath>
#include <fstream>

using namespace vandra;
using namespace vandra::gui;

namespace {

// A sine of 1.5 Hz in g at 0.01 s for `seconds`.
QString WriteRecord(const QTemporaryDir& dir, const char* name, double seconds) {
    motion::Record r;
    r.dt = 0.01;
    for (int k = 0; k * r.dt < seconds; ++k)
        r.accel.push_back(0.3 * std::sin(2 * M_PI * 1.5 * k * r.dt));
    const QString path = dir.filePath(QString::fromLatin1(name));
    std::ofstream(path.toStdString()) << motion::SingleColumnText(r);
    return path;
}

} // namespace

using namespace vandra::testing;

class SuiteWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        const QString solver = QStandardPaths::findExecutable(QStringLiteral("OpenSees"));
        if (solver.isEmpty()) QSKIP("no OpenSees on the PATH");
        qputenv("VANDRA_OPENSEES", solver.toLocal8Bit());
        window_ = new MainWindow;
        window_->importModel(vandra::testing::kExample);
    }

    void writesRunsAndShowsTheirAnswers() {
        window_->action(Command::RunSuite)->trigger();
        SuiteWindow* w = window_->suiteWindow();
        QVERIFY(w->isVisible());
        // The example's settings are a static analysis: the window offers the first time history.
        QCOMPARE(Child<QComboBox>(w, "analysisTypeCombo")->currentIndex(), 0);
        const QString folder = dir_.filePath(QStringLiteral("runs"));
        writeSuite(w, WriteRecord(dir_, "sine.txt", 3), QStringLiteral("0.1, 0.2"), folder);
        auto* table = Child<QTableWidget>(w, "runTable");
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->item(1, 3)->text(), QStringLiteral("pending"));

        Press(*w, "runButton");
        QVERIFY(w->isBusy());
        QTRY_VERIFY_WITH_TIMEOUT(!w->isBusy(), 120000);
        QVERIFY2(boxes_.texts.isEmpty(), qPrintable(boxes_.texts.join('\n')));
        auto* bar = Child<QProgressBar>(w, "suiteProgressBar");
        QCOMPARE(std::pair(bar->value(), bar->maximum()), std::pair(2, 2));
        const motion::Manifest m =
            motion::ReadManifest((folder + QStringLiteral("/manifest.json")).toStdString());
        for (int row = 0; row < 2; ++row) {
            QCOMPARE(table->item(row, 3)->text(), QStringLiteral("done"));
            QVERIFY(m.runs[static_cast<size_t>(row)].result);
        }
        QCOMPARE(Child<IdaPlotWidget>(w, "idaPlot")->table().median.size(), 2u);

        // Saved, the suite is the document's, and reads back as the window holds it.
        const QString saved = dir_.filePath(QStringLiteral("suite"));
        w->setSuiteChoosers({}, [&](QWidget*) { return saved; });
        Press(*w, "saveSuiteButton");
        QCOMPARE(QString::fromStdString(window_->document().suitePath()), saved + ".json");
        std::vector<std::string> warnings;
        QCOMPARE(motion::ReadSuiteFile(window_->document().suitePath(), warnings),
                 w->editor()->suite(window_->document().suitePath()));
    }

    void cancelLeavesTheRunsPending() {
        SuiteWindow* w = window_->suiteWindow();
        const QString folder = dir_.filePath(QStringLiteral("long"));
        writeSuite(w, WriteRecord(dir_, "long.txt", 400), QStringLiteral("0.1, 0.2, 0.3"), folder);
        Press(*w, "runButton");
        auto* table = Child<QTableWidget>(w, "runTable");
        QTRY_COMPARE_WITH_TIMEOUT(table->item(0, 3)->text(), QStringLiteral("running"), 20000);
        Press(*w, "cancelRunButton");
        QTRY_VERIFY(!w->isBusy());
        for (const motion::ManifestRun& run :
             motion::ReadManifest((folder + QStringLiteral("/manifest.json")).toStdString()).runs)
            QCOMPARE(run.status, motion::RunStatus::kPending);
        delete window_;
    }

private:
    // A suite of one record at the given intensities, written into folder.
    void writeSuite(SuiteWindow* w, const QString& record, const QString& intensities,
                    const QString& folder) {
        w->editor()->setSuite(motion::Suite());
        w->editor()->setRecordChooser([&](QWidget*) { return QStringList{record}; });
        Press(*w, "addRecordButton");
        Child<QLineEdit>(w, "intensitiesEdit")->setText(intensities);
        Child<QLineEdit>(w, "folderEdit")->setText(folder);
        Press(*w, "writeRunsButton");
        QTRY_VERIFY_WITH_TIMEOUT(!w->isBusy(), 60000);
        QVERIFY2(boxes_.texts.isEmpty(), qPrintable(boxes_.texts.join('\n')));
    }

    MainWindow* window_ = nullptr;
    QTemporaryDir dir_;
    ErrorBoxes boxes_;
};

QTEST_MAIN(SuiteWindowTest)
#include "SuiteWindowTest.moc"
