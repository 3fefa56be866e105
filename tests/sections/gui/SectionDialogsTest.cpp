// The frame section, material, shell section and frame properties dialogs: what they show, what
// OK and Modify store, in which order, and what they refuse; and the section analysis window.
#include "WidgetTest.h"
#include "app/project/ProjectFile.h"
#include "app/run/SectionRun.h"
#include "convert/V14Converter.h"
#include "import/ModelFile.h"
#include "import/S2kImport.h"
#include "model/Errors.h"
#include "model/NumberText.h"
#include "post/gui/HistoryPlot.h"
#include "sections/FrameSectionModel.h"
#include "sections/gui/FramePropertiesDialog.h"
#include "sections/gui/FrameSectionDialog.h"
#include "sections/gui/MaterialDialog.h"
#include "sections/gui/SectionAnalysisWindow.h"
#include "sections/gui/ShellSectionDialog.h"
#include "tcl/ScriptGenerator.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>

using namespace vandra;
using namespace vandra::gui;
using namespace vandra::testing;

namespace {

TModel ExampleModel() {
    return ImportS2k(ReadS2kFile(kExample.toStdString()));
}

void Select(QWidget& w, const char* list, int row) {
    Child<QListWidget>(&w, list)->setCurrentRow(row);
}

QString Status(QWidget* w) {
    return Child<QLabel>(w, "statusLabel")->text();
}

// The frame section's boxes in the order OK stores them, each with a value that differs from
// section NCOL400 of the example (a combo stores its item + 1; the swatch the colour chosen).
using Field = double (*)(const TSECTION&);
const struct {
    const char* box;
    double stored;
    Field of;
} kSectionBoxes[] = {
    {"frameTypeCombo", kDispBeamColumn, [](const TSECTION& s) { return double(s.FrameType); }},
    {"sectionTypeCombo", kBeamSection, [](const TSECTION& s) { return double(s.SectionKind); }},
    {"divideFXEdit", 6, [](const TSECTION& s) { return double(s.DivideFX); }},
    {"divideFYEdit", 7, [](const TSECTION& s) { return double(s.DivideFY); }},
    {"barNumNXEdit", 3, [](const TSECTION& s) { return double(s.BarNumNX); }},
    {"barNumNYEdit", 4, [](const TSECTION& s) { return double(s.BarNumNY); }},
    {"barTopEdit", 1100, [](const TSECTION& s) { return s.BarTop; }},
    {"barBotEdit", 1200, [](const TSECTION& s) { return s.BarBot; }},
    {"coverEdit", 41.5, [](const TSECTION& s) { return s.Cover; }},
    {"hingeLengthIEdit", 350.5, [](const TSECTION& s) { return s.HingeLenI; }},
    {"hingeLengthJEdit", 360, [](const TSECTION& s) { return s.HingeLenJ; }},
    {"frameColorSwatch", 0x1E140A, [](const TSECTION& s) { return double(s.Color); }}, // 10 20 30
    {"geoTransfCombo", kPDelta, [](const TSECTION& s) { return double(s.GeoTransf); }},
};

// Frame 1 is a nonlinear column; frame 3 has no section; frame 4 names a section beyond the table;
// frame 5's section names a material beyond its table.
TModel SampleModel() {
    TModel model;
    model.MatCount = 2;
    model.Mats.resize(3);
    model.Mats[1].Name = "CONC";
    model.Mats[2].Name = "STEEL";
    model.SectionCount = 3;
    model.Sections.resize(4);
    const std::tuple<int, int, const char*> sections[] = {
        {kNonlinearBeamColumn, 1, "COL40"}, {kElasticBeamColumn, 2, "W14"}, {kTruss, 9, "ODD"}};
    for (size_t s = 1; s <= 3; ++s)
        std::tie(model.Sections[s].FrameType, model.Sections[s].MatIdx, model.Sections[s].Name) =
            sections[s - 1];
    model.FrameCount = 5;
    model.Frames.resize(6);
    const std::tuple<int, int, int, double> frames[] = {
        {1, 11, 21, 0}, {2, 12, 22, 30.5}, {0, 13, 23, 0}, {99, 14, 24, 0}, {3, 15, 25, 0}};
    for (size_t f = 1; f <= 5; ++f)
        std::tie(model.Frames[f].SecIdx, model.Frames[f].NodeI, model.Frames[f].NodeJ,
                 model.Frames[f].Angle) = frames[f - 1];
    return model;
}

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

} // namespace

class SectionDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { boxes_.texts.clear(); }

    // Every box round trips: nothing is stored before OK, OK stores each in its field, the section
    // shown again shows it. A box that does not convert stops OK there: the boxes before it are
    // stored, it and those after keep their values; the picture is redrawn either way.
    void frameSectionOkStoresEveryBoxInOrder() {
        const size_t none = std::size(kSectionBoxes);
        for (const size_t bad : {none, size_t(3)}) {
            boxes_.texts.clear();
            TModel model = ExampleModel();
            const TSECTION before = model.Sections[1];
            FrameSectionDialog d(model);
            d.setColorChooser([](QWidget*, QColor) { return std::optional(QColor(10, 20, 30)); });
            d.show();
            const QImage drawn = d.picture();
            // The painter's colours at 0.4 pixel per mm: the top left X bar red, the lowest
            // left Y bar blue.
            QCOMPARE(drawn.pixel(34, 34) & 0xFFFFFF, 0xFF0000u);
            QCOMPARE(drawn.pixel(34, 144) & 0xFFFFFF, 0x0000FFu);
            for (size_t k = 0; k < none; ++k) {
                const auto& f = kSectionBoxes[k];
                QVERIFY2(f.of(before) != f.stored, f.box);
                if (auto* combo = d.findChild<QComboBox*>(QLatin1String(f.box)))
                    combo->setCurrentIndex(int(f.stored) - 1);
                else if (auto* swatch = d.findChild<QLabel*>(QLatin1String(f.box)))
                    QTest::mouseClick(swatch, Qt::LeftButton);
                else
                    Type(d, f.box,
                         k == bad ? QStringLiteral("7x")
                                  : QString::fromStdString(text::FormatGeneral(f.stored)));
            }
            QVERIFY(model.Sections[1] == before);
            Press(d, "okButton");
            QCOMPARE(boxes_.texts, bad == none ? QStringList()
                                               : QStringList{"'7x' is not a valid integer value"});
            for (size_t k = 0; k < none; ++k) {
                const auto& f = kSectionBoxes[k];
                QVERIFY2(f.of(model.Sections[1]) == (k < bad ? f.stored : f.of(before)), f.box);
            }
            QVERIFY(d.picture() != drawn);
            if (bad != none) continue;
            Select(d, "sectionList", 1);
            Select(d, "sectionList", 0);
            for (const auto& f : kSectionBoxes)
                if (auto* combo = d.findChild<QComboBox*>(QLatin1String(f.box)))
                    QVERIFY2(combo->currentIndex() == int(f.stored) - 1, f.box);
                else if (d.findChild<QLineEdit*>(QLatin1String(f.box)))
                    QVERIFY2(Text(d, f.box).toDouble() == f.stored, f.box);
        }
    }

    void frameSectionExportImportRoundTrip() {
        QTemporaryDir dir;
        const QString library = dir.filePath(QStringLiteral("sections.json"));
        TModel source = ExampleModel();
        source.Sections[1].DivideFX = 8;
        source.Sections[3].FrameType = kBeamWithHinge;
        source.Sections[3].Color = PackColor(1, 2, 3);
        FrameSectionDialog from(source);
        from.setExportFileChooser([&](QWidget*) { return library; });
        from.show();
        Press(from, "exportButton");
        QVERIFY(boxes_.texts.isEmpty());

        TModel target = ExampleModel();
        target.Sections[2].Name = "RENAMED";
        FrameSectionDialog to(target);
        to.setImportFileChooser([&](QWidget*) { return library; });
        to.show();
        Press(to, "importButton");
        QCOMPARE(target.Sections[1].DivideFX, 8);
        QCOMPARE(target.Sections[3].FrameType, int(kBeamWithHinge));
        QCOMPARE(target.Sections[3].Color, PackColor(1, 2, 3));
        QCOMPARE(Text(to, "divideFXEdit"), QStringLiteral("8")); // the shown section is redrawn
        QVERIFY2(boxes_.texts.size() == 1 &&
                     boxes_.texts.front().contains(QStringLiteral("Sections[DCOL350]")),
                 qPrintable(boxes_.texts.join('\n')));

        // A file that is not a library changes nothing and says why.
        boxes_.texts.clear();
        QVERIFY(WriteFile(library, "{\"Sections\": {\"NCOL400\": {\"DivideFX\": 3}, "
                                   "\"EIPE400\": {\"DivideFX\": \"many\"}}}"));
        Press(to, "importButton");
        QVERIFY2(boxes_.texts.size() == 1 &&
                     boxes_.texts.front().contains(QStringLiteral("Sections[EIPE400]: DivideFX")),
                 qPrintable(boxes_.texts.join('\n')));
        QCOMPARE(target.Sections[1].DivideFX, 8);
    }

    // The law's boxes follow the chosen law; nothing is stored before Modify, which keeps the
    // law's other parameters. (A refused Modify is a row of refusedWhereTyped.)
    void materialShowsItsLawAndModifies() {
        TModel model = ExampleModel();
        MaterialDialog d(model);
        d.show();
        Select(d, "materialList", 1);
        Choose(d, "typeCombo", kMatConcrete02 - 1);
        QVERIFY(Child<QLineEdit>(&d, "paramEtsEdit")->isVisibleTo(&d));
        QVERIFY(!Child<QLineEdit>(&d, "paramFyEdit")->isVisibleTo(&d));
        QCOMPARE(model.Mats[2].MatType, int(kMatElastic));
        Type(d, "paramfpcEdit", "-35");
        Press(d, "modifyButton");
        QVERIFY(boxes_.texts.isEmpty());
        const TMAT& m = model.Mats[2];
        QCOMPARE(std::tuple(m.MatType, m.fpc, m.Ets, m.E),
                 std::tuple(int(kMatConcrete02), -35.0, 1500.0, 25000.0));
    }

    // Modify stores the shown section's element type only; a section with a type beyond the list
    // shows none, and a choice left by selecting another section is dropped.
    void shellSectionModify() {
        TModel model;
        model.MatCount = 1;
        model.Mats = {{}, TMAT{"C30", 1, 30000, 0.2, 12500}};
        model.AreaSecCount = 2;
        model.AreaSecs = {{}, {150.6, 1, 1, "SLAB", 0, kShellMITC4}, {200, 1, 0, "WALL", 0, 7}};
        ShellSectionDialog d(model);
        d.show();
        QCOMPARE(Text(d, "shellSecNameEdit"), QStringLiteral("SLAB"));
        auto* type = Child<QComboBox>(&d, "shellNonlinearTypeCombo");
        type->setCurrentIndex(kShellDKGQ);
        Select(d, "shellSectionList", 1);
        QCOMPARE(Text(d, "secMaterialEdit"), QString());
        QCOMPARE(type->currentIndex(), -1);
        Select(d, "shellSectionList", 0);
        QCOMPARE(model.AreaSecs[1].NonlinType, int(kShellMITC4));
        type->setCurrentIndex(kShellDKGQ);
        Press(d, "modifyButton");
        QCOMPARE(model.AreaSecs[1].NonlinType, int(kShellDKGQ));
        QCOMPARE(model.AreaSecs[2].NonlinType, 7);
    }

    void emptyModelShowsEmptyLists() {
        TModel model;
        FrameSectionDialog frames(model);
        MaterialDialog mats(model);
        ShellSectionDialog shells(model);
        const std::pair<QDialog*, const char*> dialogs[] = {
            {&frames, "okButton"}, {&mats, "modifyButton"}, {&shells, "modifyButton"}};
        for (const auto& [d, button] : dialogs) {
            d->show();
            Press(*d, button);
        }
        QVERIFY(boxes_.texts.isEmpty());
        QCOMPARE(Child<QListWidget>(&frames, "sectionList")->count(), 0);
    }

    // Values checked as typed: the box at fault marked, the reason shown, OK (Modify) refusing
    // with it and storing nothing. A sound frame section value redraws the section before OK; a
    // converted V14 model (solids, no material) gets the material added, which is given to the
    // solids, lets the script be written and comes back from the project file.
    void refusedWhereTyped() {
        QTemporaryDir dir;
        const std::string cube = dir.filePath("cube.s2k").toStdString();
        WriteV6File(
            cube,
            ConvertV14(ReadS2kFile(VANDRA_SOURCE_DIR "/tests/cases/solver/cube_v14.s2k")).V6Lines);
        enum { kFrameSection, kSteel, kAdded }; // NCOL400 or STEEL of the example, or the cube's
        using Typed = std::vector<std::pair<const char*, const char*>>;
        const auto one = [](const char* box, const char* text) { return Typed{{box, text}}; };
        const auto added = [](const char* name, const char* u) {
            return Typed{
                {"nameEdit", name}, {"elasticModulusEdit", "30000"}, {"poissonRatioEdit", u}};
        };
        const struct {
            int dialog;
            const char *box, *message; // "" sound
            Typed typed;
        } rows[] = {
            {kFrameSection, "divideFXEdit",
             "Frame section NCOL400: DivideFX must be at least 1, not 0", one("divideFXEdit", "0")},
            {kFrameSection, "coverEdit",
             "Frame section NCOL400: Cover 200 puts the bars outside the 400 x 400 section (the "
             "cover must lie from 0 to less than half of 400)",
             one("coverEdit", "200")},
            {kFrameSection, "", "", one("divideFXEdit", "12")},
            {kSteel, "parambEdit",
             "Material STEEL: the hardening ratio b must be at least 0 and below 1, not 1",
             one("parambEdit", "1")},
            {kAdded, "nameEdit", "The new material needs a name", added("", "0.3")},
            {kAdded, "nameEdit",
             "Material MY BLOCK: a material name holds no blank, control character or '='",
             added("MY BLOCK", "0.3")},
            {kAdded, "poissonRatioEdit",
             "Material BLOCK: Poisson's ratio U must be at least 0 and below 0.5, not 0.5",
             added("BLOCK", "0.5")},
            {kAdded, "", "", added("BLOCK", "0.25")},
        };
        for (const auto& row : rows) {
            boxes_.texts.clear();
            TModel model =
                row.dialog == kAdded ? ImportModelText(ReadS2kFile(cube), cube) : ExampleModel();
            const TModel before = model;
            ScriptLineList script;
            std::unique_ptr<ModelessDialog> d;
            if (row.dialog == kFrameSection)
                d = std::make_unique<FrameSectionDialog>(model);
            else
                d = std::make_unique<MaterialDialog>(model);
            d->show();
            if (row.dialog == kSteel) Choose(*d, "typeCombo", kMatSteel02 - 1);
            if (row.dialog == kAdded) {
                QVERIFY_THROWS_EXCEPTION(InputError, GenerateScript(model, TSettings(), script));
                Press(*d, "addMaterialButton");
            }
            const auto picture = [&] {
                return row.dialog == kFrameSection ? static_cast<FrameSectionDialog&>(*d).picture()
                                                   : QImage();
            };
            const QImage drawn = picture();
            for (const auto& [box, text] : row.typed)
                Type(*d, box, QString::fromLatin1(text));
            for (const auto& [box, text] : row.typed)
                QCOMPARE(Child<QLineEdit>(d.get(), box)->property("fault").toBool(),
                         std::string_view(box) == row.box);
            QCOMPARE(Child<QLabel>(d.get(), "faultLabel")->text(),
                     QString::fromLatin1(row.message));
            if (row.dialog == kFrameSection && *row.box == '\0') {
                QVERIFY(picture() != drawn);
                QVERIFY2(model == before, "a typed value was stored before OK");
                continue;
            }
            Press(*d, row.dialog == kFrameSection ? "okButton" : "modifyButton");
            if (*row.box != '\0') {
                QVERIFY(boxes_.texts.value(0).endsWith(QString::fromLatin1(row.message)));
                QVERIFY2(model == before, row.message);
                continue;
            }
            QVERIFY(boxes_.texts.isEmpty());
            QCOMPARE(model.MatCount, 1);
            QCOMPARE(model.Mats[1].G, 30000 / 2.5);
            QCOMPARE(model.Solids[1].SecNo, 1);
            QVERIFY(!Child<QPushButton>(d.get(), "addMaterialButton")->isEnabled());
            GenerateScript(model, TSettings(), script);
            const std::string project = dir.filePath("cube.vandra").toStdString();
            project::SaveProject(project, model, TSettings(), TViewOptions(), cube);
            QVERIFY(project::OpenProject(project).model.Model == model);
        }
    }

    // The properties of the frame picked in the view; closing the dialog ends the selection.
    void valuesOfThePickedFrame() {
        const QString e;
        const std::pair<int, QStringList> rows[] = {
            {1, {"1", "11", "21", "0", "COL40", "2", "CONC", e, e, e, e}},
            {2, {"2", "12", "22", "30.5", "W14", "1", "STEEL", e, e, e, e}},
            {3, {"3", "13", "23", "0", e, "0", e, e, e, e, e}},     // no section
            {4, {"4", "14", "24", "0", e, "0", e, e, e, e, e}},     // section beyond its table
            {5, {"5", "15", "25", "0", "ODD", "5", e, e, e, e, e}}, // material beyond its table
            {0, {"0", e, e, e, e, e, e, e, e, e, e}},               // no frame selected
            {6, {"6", e, e, e, e, e, e, e, e, e, e}}};              // frame beyond the table
        for (const auto& [frame, values] : rows) {
            TModel model = SampleModel();
            TInteraction interaction;
            interaction.SelectedFrame = frame;
            FramePropertiesDialog dialog(model, interaction);
            dialog.show();
            QCOMPARE(Text(dialog, "frameLabelEdit"), values[0]);
            auto* grid = Child<QTableWidget>(&dialog, "propertiesGrid");
            QStringList cells;
            for (int row = 0; row < grid->rowCount(); ++row)
                cells << grid->item(row, 1)->text();
            QCOMPARE(cells, values);
            if (frame < 1 || frame > 3) continue;
            QSignalSpy cleared(&dialog, &FramePropertiesDialog::selectionCleared);
            if (frame == 1)
                Press(dialog, "okButton"); // OK, the close box, Escape
            else if (frame == 2)
                dialog.close();
            else
                QTest::keyClick(&dialog, Qt::Key_Escape);
            QVERIFY(!dialog.isVisible() && interaction.SelectedFrame == 0 && cleared.count() == 1);
        }
    }

    // The Section analysis window: a missing solver is said, and a solver that stops early is
    // shown with what it printed; the window stays usable. An elastic section shows its
    // stiffness line.
    void withoutASolverTheWindowShowsWhatItCan() {
        QTemporaryDir dir;
        const QString fake = dir.filePath(QStringLiteral("fake-solver"));
        QVERIFY(WriteFile(fake, "#!/bin/sh\necho \"fake solver read $1\"\n") &&
                QFile::setPermissions(fake, QFile::ReadOwner | QFile::ExeOwner));
        const FrameSectionModel m = TwoSections();
        SectionAnalysisWindow window(m.model, m.settings);
        window.showSection(1);
        // The diagram is the core's: there whatever the solver does.
        QVERIFY(window.interactionPlot()->curve().x.size() > 40);
        auto* run = Child<QPushButton>(&window, "runButton");
        qputenv("VANDRA_OPENSEES", "/nonexistent");
        Type(window, "axialLoadEdit", QStringLiteral("-1e6"));
        QTest::mouseClick(run, Qt::LeftButton);
        QVERIFY2(Status(&window).contains(QStringLiteral("VANDRA_OPENSEES names")),
                 qPrintable(Status(&window)));
        QVERIFY(run->isEnabled() && !window.sectionRun().isRunning());
        qunsetenv("VANDRA_OPENSEES");

        window.setSolver(fake);
        QSignalSpy finished(&window, &SectionAnalysisWindow::runFinished);
        window.run();
        QVERIFY(finished.wait(20000));
        QCOMPARE(Status(&window),
                 QStringLiteral("The run did not end: the solver stopped before the "
                                "end of the script"));
        auto* output = Child<QPlainTextEdit>(&window, "solverOutput");
        QCOMPARE(output->toPlainText().trimmed(), QStringLiteral("fake solver read section.tcl"));
        QVERIFY(run->isEnabled() && !Child<QPushButton>(&window, "exportCsvButton")->isEnabled());

        window.showSection(2);
        QVERIFY2(Status(&window).contains(QStringLiteral("is elastic")),
                 qPrintable(Status(&window)));
        const PlotCurve& line = window.curvePlot()->curve();
        QVERIFY(line.x.size() == 2 && qAbs(line.y[1] / line.x[1] / (200000 * 5.4e9) - 1) < 1e-9);
        QVERIFY(window.interactionPlot()->curve().x.empty());
    }

    // A run leaves the window free while the solver works; its curve exports as CSV.
    void theRunLeavesTheWindowFreeAndExports() {
        // The solver on the PATH: the solver window's tests put a fake beside the test programs.
        const QString solver = QStandardPaths::findExecutable(QStringLiteral("OpenSees"));
        if (solver.isEmpty()) QSKIP("no OpenSees on the PATH");
        const FrameSectionModel m = TwoSections();
        SectionAnalysisWindow window(m.model, m.settings);
        window.setSolver(solver);
        window.showSection(1);
        Type(window, "axialLoadEdit", QStringLiteral("-1e6"));
        QSignalSpy finished(&window, &SectionAnalysisWindow::runFinished);
        Press(window, "runButton");
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
        Press(window, "exportCsvButton");
        QCOMPARE(ReadAll(csv).toStdString(), MomentCurvatureCsv(window.sectionRun().plan(), curve));
    }

    void theFrameSectionDialogAsksForTheSelectedSection() {
        FrameSectionModel m = TwoSections();
        FrameSectionDialog dialog(m.model);
        dialog.load();
        Select(dialog, "sectionList", 1);
        Type(dialog, "coverEdit", QStringLiteral("25"));
        QSignalSpy asked(&dialog, &FrameSectionDialog::sectionAnalysisRequested);
        Press(dialog, "sectionAnalysisButton");
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0][0].toInt(), 2);
        QCOMPARE(m.model.Sections[2].Cover, 25.0); // what is typed is analysed
    }

private:
    ErrorBoxes boxes_;
};

QTEST_MAIN(SectionDialogsTest)
#include "SectionDialogsTest.moc"
