// The Section analysis window: a run leaves the window free while the solver works; a missing or
// failing solver is shown, with what it printed, and the window stays usable; an elastic section
// shows its stiffness line; the curve exports as CSV and the plots as PNG.
#include "sections/gui/SectionAnalysisWindow.h"
#include "WidgetTest.h"
#include "app/run/SectionRun.h"
#include "model/SolverLocator.h"
#include "post/gui/HistoryPlot.h"
#include "sections/FrameSectionModel.h"
#include "sections/gui/FrameSectionDialog.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace vandra;
using namespace vandra::gui;
using namespace vandra::testing;

namespace {

// Section 1: a column 500 deep by 300 wide of Concrete02 with twelve bars of Steel02; section 2:
// an elastic rectangle 600 deep by 300 wide (I33 = 300 600^3 / 12 = 5.4e9) of E 200000.
FrameSectionModel TwoSections() {
    FrameSectionModel m;
    const int concrete = m.Material(ConcreteLaw(kMatConcrete02, -30, -0.002, -6, -0.006, 3, 1500));
    const int steel = m.Material(SteelLaw(kMatSteel02, 400, 200000, 0.01, 18));
    m.ColumnBars(m.Rectangle("C500", kNonlinearBeamColumn, 500, 300, concrete, 10, 10), steel, 40,
                 4, 1256, 2, 628);
    m.Rectangle("EL600", kElasticBeamColumn, 600, 300, m.Material(ElasticLaw(200000)), 1, 1);
    return m;
}

QString Status(QWidget* w) {
    return Child<QLabel>(w, "statusLabel")->text();
}

} // namespace

class SectionAnalysisWindowTest : public QObject {
    Q_OBJECT
private slots:
    void withoutASolverTheWindowShowsWhatItCan();
    void aFailingSolverIsShownWithItsOutput();
    void theRunLeavesTheWindowFreeAndExports();
    void theFrameSectionDialogAsksForTheSelectedSection();
};

void SectionAnalysisWindowTest::withoutASolverTheWindowShowsWhatItCan() {
    const FrameSectionModel m = TwoSections();
    SectionAnalysisWindow window(m.model, m.settings);
    window.showSection(1);
    // The diagram is the core's: there whatever the solver does.
    QVERIFY(window.interactionPlot()->curve().x.size() > 40);
    auto* run = Child<QPushButton>(&window, "runButton");
    qputenv("VANDRA_OPENSEES", "/nonexistent");
    Child<QLineEdit>(&window, "axialLoadEdit")->setText(QStringLiteral("-1e6"));
    QTest::mouseClick(run, Qt::LeftButton);
    QVERIFY2(Status(&window).contains(QStringLiteral("VANDRA_OPENSEES names")),
             qPrintable(Status(&window)));
    QVERIFY(run->isEnabled() && !window.sectionRun().isRunning());
    qunsetenv("VANDRA_OPENSEES");
    // An elastic section: the stiffness line, and why there is no curve.
    window.showSection(2);
    QVERIFY2(Status(&window).contains(QStringLiteral("is elastic")), qPrintable(Status(&window)));
    const PlotCurve& line = window.curvePlot()->curve();
    QVERIFY(line.x.size() == 2 && qAbs(line.y[1] / line.x[1] / (200000 * 5.4e9) - 1) < 1e-9);
    QVERIFY(window.interactionPlot()->curve().x.empty());
}

void SectionAnalysisWindowTest::aFailingSolverIsShownWithItsOutput() {
    QTemporaryDir dir;
    const QString fake = dir.filePath(QStringLiteral("fake-solver"));
    QFile file(fake);
    QVERIFY(file.open(QIODevice::WriteOnly) &&
            file.write("#!/bin/sh\necho \"fake solver read $1\"\n") > 0);
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    const FrameSectionModel m = TwoSections();
    SectionAnalysisWindow window(m.model, m.settings);
    window.setSolver(fake);
    window.showSection(1);
    QSignalSpy finished(&window, &SectionAnalysisWindow::runFinished);
    window.run();
    QVERIFY(finished.wait(20000));
    QCOMPARE(Status(&window), QStringLiteral("The run did not end: the solver stopped before the "
                                             "end of the script"));
    auto* output = Child<QPlainTextEdit>(&window, "solverOutput");
    QCOMPARE(output->toPlainText().trimmed(), QStringLiteral("fake solver read section.tcl"));
    QVERIFY(Child<QPushButton>(&window, "runButton")->isEnabled() &&
            !Child<QPushButton>(&window, "exportCsvButton")->isEnabled());
}

void SectionAnalysisWindowTest::theRunLeavesTheWindowFreeAndExports() {
    if (FindSolver(QCoreApplication::applicationDirPath().toStdString()).empty())
        QSKIP("no OpenSees solver found");
    const FrameSectionModel m = TwoSections();
    SectionAnalysisWindow window(m.model, m.settings);
    window.showSection(1);
    Child<QLineEdit>(&window, "axialLoadEdit")->setText(QStringLiteral("-1e6"));
    QSignalSpy finished(&window, &SectionAnalysisWindow::runFinished);
    QTest::mouseClick(Child<QPushButton>(&window, "runButton"), Qt::LeftButton);
    // The click returned while the solver works.
    QVERIFY(window.sectionRun().isRunning() &&
            !Child<QPushButton>(&window, "runButton")->isEnabled());
    QVERIFY(finished.wait(60000));
    QVERIFY2(window.sectionRun().error().isEmpty(), qPrintable(window.sectionRun().console()));
    const MomentCurvatureCurve& curve = window.sectionRun().curve();
    // First yield, peak and cover crushing, listed and on the curve.
    QVERIFY(curve.marks.size() >= 3);
    QCOMPARE(Child<QListWidget>(&window, "marksList")->count(),
             static_cast<int>(curve.marks.size()));

    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("mc.csv"));
    window.setSaveChooser([&](QWidget*, const QString& caption, const QString&) {
        return caption.contains(QStringLiteral("CSV")) ? csv : QString();
    });
    QTest::mouseClick(Child<QPushButton>(&window, "exportCsvButton"), Qt::LeftButton);
    QFile written(csv);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll().toStdString(),
             MomentCurvatureCsv(window.sectionRun().plan(), curve));
}

void SectionAnalysisWindowTest::theFrameSectionDialogAsksForTheSelectedSection() {
    FrameSectionModel m = TwoSections();
    FrameSectionDialog dialog(m.model);
    dialog.load();
    Child<QListWidget>(&dialog, "sectionList")->setCurrentRow(1);
    Child<QLineEdit>(&dialog, "coverEdit")->setText(QStringLiteral("25"));
    QSignalSpy asked(&dialog, &FrameSectionDialog::sectionAnalysisRequested);
    QTest::mouseClick(Child<QPushButton>(&dialog, "sectionAnalysisButton"), Qt::LeftButton);
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0][0].toInt(), 2);
    QCOMPARE(m.model.Sections[2].Cover, 25.0); // what is typed is analysed
}

QTEST_MAIN(SectionAnalysisWindowTest)
#include "SectionAnalysisWindowTest.moc"
