// The frame section, material, shell section and frame properties dialogs: what they show, what
// OK and Modify store, in which order, and what they refuse; and the section analysis window.
#include "WidgetTest.h"
#include "app/run/SectionRun.h"
#include "model/SolverLocator.h"
#include "post/gui/HistoryPlot.h"
#include "sections/FrameSectionModel.h"
#include "sections/gui/SectionAnalysisWindow.h"
#include "app/gui/ErrorBox.h"
#include "app/project/ProjectFile.h"
#include "convert/V14Converter.h"
#include "import/ModelFile.h"
#include "import/S2kImport.h"
#include "model/Errors.h"
#include "sections/gui/FramePropertiesDialog.h"
#include "sections/gui/FrameSectionDialog.h"
#include "sections/gui/MaterialDialog.h"
#include "sections/gui/ShellSectionDialog.h"
#include "tcl/ScriptGenerator.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace vandra;
using namespace vandra::gui;
using namespace vandra::testing;

namespace {

using vandra::testing::Child;

TModel ExampleModel() {
    return ImportS2k(ReadS2kFile(vandra::testing::kExample.toStdString()));
}

QString Text(QWidget& w, const char* edit) {
    return Child<QLineEdit>(&w, edit)->text();
}
void Type(QWidget& w, const char* edit, const QString& text) {
    Child<QLineEdit>(&w, edit)->setText(text);
}
void Press(QWidget& w, const char* button) {
    QTest::mouseClick(Child<QPushButton>(&w, button), Qt::LeftButton);
}
// Chooses item `index` as the user does (the activated signal follows).
void Choose(QWidget& w, const char* combo, int index) {
    QComboBox* box = Child<QComboBox>(&w, combo);
    box->setCurrentIndex(index);
    emit box->activated(index);
}
void Select(QWidget& w, const char* list, int row) {
    Child<QListWidget>(&w, list)->setCurrentRow(row);
}

QRgb Pixel(const FrameSectionDialog& d, int x, int y) {
    return d.picture().pixel(x, y) & 0xFFFFFF;
}

// Frame 1 is a nonlinear column; frame 3 has no section; frame 4 names a section beyond the table;
// frame 5's section names a material beyond its table.
TSECTION Section(int frameType, int matIdx, const char* name) {
    TSECTION s;
    s.FrameType = frameType;
    s.MatIdx = matIdx;
    s.Name = name;
    return s;
}

TFRAME Frame(int secIdx, int nodeI, int nodeJ, double angle) {
    TFRAME f;
    f.SecIdx = secIdx;
    f.NodeI = nodeI;
    f.NodeJ = nodeJ;
    f.Angle = angle;
    return f;
}

TModel SampleModel() {
    TModel model;
    model.MatCount = 2;
    model.Mats.resize(3);
    model.Mats[1].Name = "CONC";
    model.Mats[2].Name = "STEEL";
    model.SectionCount = 3;
    model.Sections = {{},
                      Section(kNonlinearBeamColumn, 1, "COL40"),
                      Section(kElasticBeamColumn, 2, "W14"),
                      Section(kTruss, 9, "ODD")};
    model.FrameCount = 5;
    model.Frames = {{},
                    Frame(1, 11, 21, 0),
                    Frame(2, 12, 22, 30.5),
                    Frame(0, 13, 23, 0),
                    Frame(99, 14, 24, 0),
                    Frame(3, 15, 25, 0)};
    return model;
}

QStringList GridColumn(QDialog& d, int column) {
    auto* grid = Child<QTableWidget>(&d, "propertiesGrid");
    QStringList cells;
    for (int row = 0; row < grid->rowCount(); ++row)
        cells << grid->item(row, column)->text();
    return cells;
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

QString Status(QWidget* w) {
    return Child<QLabel>(w, "statusLabel")->text();
}

} // namespace

class SectionDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        messages_.clear();
        SetErrorBoxHandler([this](const QString&, const QString& text) { messages_ << text; });
    }

    void frameSectionShowsTheImportedSection() {
        TModel model = ExampleModel();
        FrameSectionDialog d(model);
        d.show();
        const QStringList boxes = {Text(d, "divideFXEdit"),     Text(d, "divideFYEdit"),
                                   Text(d, "barNumNXEdit"),     Text(d, "barNumNYEdit"),
                                   Text(d, "coverEdit"),        Text(d, "barTopEdit"),
                                   Text(d, "barBotEdit"),       Text(d, "hingeLengthIEdit"),
                                   Text(d, "hingeLengthJEdit"), Text(d, "dimensionT1Edit")};
        QCOMPARE(boxes,
                 (QStringList{"5", "5", "5", "5", "35", "1000", "1000", "400", "400", "400"}));
        // 400 x 400 at 0.4 pixel per mm: the top left X bar at (34, 34) is red, the lowest left
        // Y bar at (34, 144) blue.
        QCOMPARE(Pixel(d, 34, 34), QRgb(0xFF0000));
        QCOMPARE(Pixel(d, 34, 144), QRgb(0x0000FF));
        QCOMPARE(Pixel(d, 60, 60), QRgb(0xFFFFFF));
    }

    void frameSectionOkStoresAndRedraws() {
        TModel model = ExampleModel();
        FrameSectionDialog d(model);
        d.show();
        Child<QComboBox>(&d, "sectionTypeCombo")->setCurrentIndex(0);
        Child<QComboBox>(&d, "frameTypeCombo")->setCurrentIndex(2);
        Child<QComboBox>(&d, "geoTransfCombo")->setCurrentIndex(1);
        Type(d, "hingeLengthIEdit", "350.5");
        Press(d, "okButton");
        QVERIFY(messages_.isEmpty());
        const TSECTION& s = model.Sections[1];
        QCOMPARE(s.SectionKind, int(kBeamSection));
        QCOMPARE(s.FrameType, int(kDispBeamColumn));
        QCOMPARE(s.GeoTransf, int(kPDelta));
        QCOMPARE(s.HingeLenI, 350.5);
        // A beam has no side bars: the left Y bar is gone, the top bars stay red.
        QCOMPARE(Pixel(d, 34, 144), QRgb(0xFFFFFF));
        QCOMPARE(Pixel(d, 34, 34), QRgb(0xFF0000));
        QCOMPARE(Pixel(d, 34, 166), QRgb(0x0000FF));
    }

    void frameSectionOkStopsAtTheFirstBadField() {
        TModel model = ExampleModel();
        FrameSectionDialog d(model);
        d.show();
        const QImage before = d.picture();
        Child<QComboBox>(&d, "frameTypeCombo")->setCurrentIndex(4);
        Type(d, "divideFXEdit", "7");
        Type(d, "divideFYEdit", "7x");
        Type(d, "barTopEdit", "2000");
        Press(d, "okButton");
        QCOMPARE(messages_, QStringList{"'7x' is not a valid integer value"});
        const TSECTION& s = model.Sections[1];
        QCOMPARE(s.FrameType, int(kTruss)); // stored before the bad field
        QCOMPARE(s.DivideFX, 7);
        QCOMPARE(s.DivideFY, 5); // the bad field and everything after it keep their values
        QCOMPARE(s.BarTop, 1000.0);
        QVERIFY(d.picture() != before); // drawn as typed, up to the bad field
    }

    void frameSectionSwatchColourNeedsOk() {
        TModel model = ExampleModel();
        FrameSectionDialog d(model);
        QList<QColor> offered;
        d.setColorChooser([&](QWidget*, QColor initial) -> std::optional<QColor> {
            offered << initial;
            return QColor(255, 0, 0);
        });
        d.show();
        const uint32_t original = model.Sections[1].Color;
        QTest::mouseClick(Child<QLabel>(&d, "frameColorSwatch"), Qt::LeftButton);
        Select(d, "sectionList", 1);
        Select(d, "sectionList", 0);
        QCOMPARE(model.Sections[1].Color, original);
        QTest::mouseClick(Child<QLabel>(&d, "frameColorSwatch"), Qt::LeftButton);
        Press(d, "okButton");
        QCOMPARE(model.Sections[1].Color, PackColor(255, 0, 0));
        // The colour dialog starts from the colour chosen last, black the first time.
        QCOMPARE(offered, (QList<QColor>{QColor(Qt::black), QColor(255, 0, 0)}));
    }

    void frameSectionExportImportRoundTrip() {
        QTemporaryDir dir;
        const QString library = dir.filePath(QStringLiteral("sections.json"));
        TModel source = ExampleModel();
        source.Sections[1].DivideFX = 8;
        source.Sections[1].Cover = 42.5;
        source.Sections[3].FrameType = kBeamWithHinge;
        source.Sections[3].Color = PackColor(1, 2, 3);
        FrameSectionDialog from(source);
        from.setExportFileChooser([&](QWidget*) { return library; });
        from.show();
        Press(from, "exportButton");
        QVERIFY(messages_.isEmpty());

        TModel target = ExampleModel();
        target.Sections[2].Name = "RENAMED";
        FrameSectionDialog to(target);
        to.setImportFileChooser([&](QWidget*) { return library; });
        to.show();
        Press(to, "importButton");
        QCOMPARE(target.Sections[1].DivideFX, 8);
        QCOMPARE(target.Sections[1].Cover, 42.5);
        QCOMPARE(target.Sections[3].FrameType, int(kBeamWithHinge));
        QCOMPARE(target.Sections[3].Color, PackColor(1, 2, 3));
        QCOMPARE(Text(to, "divideFXEdit"), QStringLiteral("8")); // the shown section is redrawn
        QCOMPARE(messages_.size(), 1);
        QVERIFY2(messages_.front().contains(QStringLiteral("Sections[DCOL350]")),
                 qPrintable(messages_.front()));

        // A file that is not a library changes nothing and says why.
        messages_.clear();
        QFile bad(library);
        QVERIFY(bad.open(QIODevice::WriteOnly | QIODevice::Truncate));
        bad.write("{\"Sections\": {\"NCOL400\": {\"DivideFX\": 3}, \"EIPE400\": {\"DivideFX\": "
                  "\"many\"}}}");
        bad.close();
        Press(to, "importButton");
        QCOMPARE(messages_.size(), 1);
        QVERIFY2(messages_.front().contains(QStringLiteral("Sections[EIPE400]: DivideFX")),
                 qPrintable(messages_.front()));
        QCOMPARE(target.Sections[1].DivideFX, 8);
    }

    void materialShowsAndModifies() {
        TModel model = ExampleModel();
        MaterialDialog d(model);
        d.show();
        Select(d, "materialList", 1);
        Choose(d, "typeCombo", kMatConcrete02 - 1);
        QVERIFY(Child<QLineEdit>(&d, "paramEtsEdit")->isVisibleTo(&d));
        QVERIFY(!Child<QLineEdit>(&d, "paramFyEdit")->isVisibleTo(&d));
        QCOMPARE(model.Mats[2].MatType, int(kMatElastic)); // nothing stored before Modify
        Type(d, "paramfpcEdit", "-35");
        Press(d, "modifyButton");
        QVERIFY(messages_.isEmpty());
        QCOMPARE(model.Mats[2].MatType, int(kMatConcrete02));
        QCOMPARE(model.Mats[2].fpc, -35.0);
        QCOMPARE(model.Mats[2].Ets, 1500.0);
        QCOMPARE(model.Mats[2].E, 25000.0);

        // Refused (the laws' own checks are the model's): the material stays as it was.
        Select(d, "materialList", 0);
        const TMAT before = model.Mats[1];
        Choose(d, "typeCombo", kMatSteel01 - 1);
        Type(d, "parambEdit", QStringLiteral("0.0l"));
        Press(d, "modifyButton");
        QCOMPARE(messages_,
                 QStringList{"Material STEEL: b '0.0l' is not a valid floating point value"});
        QCOMPARE(model.Mats[1].MatType, before.MatType);
        QCOMPARE(model.Mats[1].b, before.b);
    }

    void shellSectionModify() {
        TModel model;
        model.MatCount = 1;
        model.Mats = {{}, TMAT{"C30", 1, 30000, 0.2, 12500}};
        model.AreaSecCount = 2;
        model.AreaSecs.resize(3);
        model.AreaSecs[1] = {150.6, 1, 1, "SLAB", 0, kShellMITC4};
        model.AreaSecs[2] = {200, 1, 0, "WALL", 0, 7};
        ShellSectionDialog d(model);
        d.show();
        QCOMPARE(Text(d, "shellSecNameEdit"), QStringLiteral("SLAB"));
        Child<QComboBox>(&d, "shellNonlinearTypeCombo")->setCurrentIndex(kShellDKGQ);
        Select(d, "shellSectionList", 1);
        QCOMPARE(Text(d, "secMaterialEdit"), QString());
        QCOMPARE(Child<QComboBox>(&d, "shellNonlinearTypeCombo")->currentIndex(), -1);
        Select(d, "shellSectionList", 0);
        QCOMPARE(model.AreaSecs[1].NonlinType, int(kShellMITC4)); // discarded without Modify
        Child<QComboBox>(&d, "shellNonlinearTypeCombo")->setCurrentIndex(kShellDKGQ);
        Press(d, "modifyButton");
        QCOMPARE(model.AreaSecs[1].NonlinType, int(kShellDKGQ));
        QCOMPARE(model.AreaSecs[2].NonlinType, 7);
    }

    void emptyModelShowsEmptyLists() {
        TModel model;
        FrameSectionDialog frames(model);
        MaterialDialog mats(model);
        ShellSectionDialog shells(model);
        for (QDialog* d : std::initializer_list<QDialog*>{&frames, &mats, &shells})
            d->show();
        Press(frames, "okButton");
        Press(mats, "modifyButton");
        Press(shells, "modifyButton");
        QVERIFY(messages_.isEmpty());
        QCOMPARE(Child<QListWidget>(&frames, "sectionList")->count(), 0);
    }

    // A converted V14 model (solids, no material) gets a material: a value that cannot be one is
    // marked where typed and refused by Modify with the model unchanged; a sound one is given to
    // the solids, lets the script be written and comes back from the project file.
    void addedWhereTyped() {
        QTemporaryDir dir;
        const std::string s2k = dir.filePath("cube.s2k").toStdString();
        WriteV6File(
            s2k,
            ConvertV14(ReadS2kFile(VANDRA_SOURCE_DIR "/tests/cases/solver/cube_v14.s2k")).V6Lines);
        const struct {
            const char *name, *e, *u, *box, *message;
        } rows[] = {
            {"", "30000", "0.3", "nameEdit", "The new material needs a name"},
            {"MY BLOCK", "30000", "0.3", "nameEdit",
             "Material MY BLOCK: a material name holds no blank, control character or '='"},
            {"BLOCK", "30000", "0.5", "poissonRatioEdit",
             "Material BLOCK: Poisson's ratio U must be at least 0 and below 0.5, not 0.5"},
            {"BLOCK", "30000", "0.25", "", ""},
        };
        for (const auto& row : rows) {
            messages_.clear();
            TModel model = ImportModelText(ReadS2kFile(s2k), s2k);
            const TModel before = model;
            ScriptLineList script;
            QVERIFY_THROWS_EXCEPTION(InputError, GenerateScript(model, TSettings(), script));
            MaterialDialog d(model);
            d.load();
            d.show();
            auto* add = d.findChild<QPushButton*>(QStringLiteral("addMaterialButton"));
            QVERIFY(add->isEnabled());
            add->click();
            const std::pair<const char*, const char*> typed[] = {
                {"nameEdit", row.name}, {"elasticModulusEdit", row.e}, {"poissonRatioEdit", row.u}};
            for (const auto& [box, text] : typed)
                d.findChild<QLineEdit*>(QLatin1String(box))->setText(QString::fromLatin1(text));
            for (const auto& [box, text] : typed)
                QCOMPARE(d.findChild<QLineEdit*>(QLatin1String(box))->property("fault").toBool(),
                         std::string_view(box) == row.box);
            QCOMPARE(d.findChild<QLabel*>(QStringLiteral("faultLabel"))->text(),
                     QString::fromLatin1(row.message));
            d.findChild<QPushButton*>(QStringLiteral("modifyButton"))->click();
            if (*row.box != '\0') {
                QCOMPARE(messages_.value(0), QString::fromLatin1(row.message));
                QVERIFY2(model == before, row.message);
                continue;
            }
            QVERIFY(messages_.isEmpty());
            QCOMPARE(model.MatCount, 1);
            QCOMPARE(model.Mats[1].G, 30000 / 2.5);
            QCOMPARE(model.Solids[1].SecNo, 1);
            QVERIFY(!add->isEnabled());
            GenerateScript(model, TSettings(), script);

            const std::string project = dir.filePath("cube.vandra").toStdString();
            project::SaveProject(project, model, TSettings(), TViewOptions(), s2k);
            QVERIFY(project::OpenProject(project).model.Model == model);
        }
    }

    // Values checked as typed: the box at fault marked, the reason shown, OK refusing with it and
    // storing nothing; a sound value redraws the section before OK.
    void refusedWhereTyped() {
        // Section NCOL400 of the example, or material STEEL given law item lawItem; "" sound.
        const struct {
            bool material;
            int lawItem;
            const char *box, *text, *message;
        } rows[] = {
            {false, 0, "divideFXEdit", "0",
             "Frame section NCOL400: DivideFX must be at least 1, not 0"},
            {false, 0, "coverEdit", "200",
             "Frame section NCOL400: Cover 200 puts the bars outside the 400 x 400 section (the "
             "cover must lie from 0 to less than half of 400)"},
            {false, 0, "divideFXEdit", "12", ""},
            {true, 3, "parambEdit", "1",
             "Material STEEL: the hardening ratio b must be at least 0 and below 1, not 1"},
        };
        for (const auto& row : rows) {
            messages_.clear();
            TModel model = ImportS2k(ReadS2kFile(vandra::testing::kExample.toStdString()));
            const TModel before = model;
            std::unique_ptr<ModelessDialog> d;
            if (row.material)
                d = std::make_unique<MaterialDialog>(model);
            else
                d = std::make_unique<FrameSectionDialog>(model);
            d->show();
            if (auto* law = d->findChild<QComboBox*>(QStringLiteral("typeCombo"))) {
                law->setCurrentIndex(row.lawItem);
                emit law->activated(row.lawItem);
            }
            const QImage drawn =
                row.material ? QImage() : static_cast<FrameSectionDialog&>(*d).picture();
            auto* box = d->findChild<QLineEdit*>(QString::fromLatin1(row.box));
            box->setText(QString::fromLatin1(row.text));
            const bool refused = *row.message != '\0';
            QCOMPARE(box->property("fault").toBool(), refused);
            QCOMPARE(d->findChild<QLabel*>(QStringLiteral("faultLabel"))->text(),
                     QString::fromLatin1(row.message));
            if (!refused) {
                QVERIFY2(static_cast<FrameSectionDialog&>(*d).picture() != drawn, row.box);
                QVERIFY2(model == before, "a typed value was stored before OK");
                continue;
            }
            for (auto* ok : d->findChildren<QPushButton*>())
                if (ok->objectName() == "okButton" || ok->objectName() == "modifyButton")
                    ok->click();
            QCOMPARE(messages_.value(0).endsWith(QString::fromLatin1(row.message)), true);
            if (row.material)
                QVERIFY2(model.Mats == before.Mats, row.box);
            else
                QVERIFY2(model.Sections == before.Sections, row.box);
        }
    }

    // The properties of the frame picked in the view; closing the dialog ends the selection.
    void valuesOfThePickedFrame_data() {
        QTest::addColumn<int>("frame");
        QTest::addColumn<QStringList>("values");
        const QString e;
        QTest::newRow("nonlinear column")
            << 1 << QStringList{"1", "11", "21", "0", "COL40", "2", "CONC", e, e, e, e};
        QTest::newRow("fractional angle")
            << 2 << QStringList{"2", "12", "22", "30.5", "W14", "1", "STEEL", e, e, e, e};
        QTest::newRow("no section")
            << 3 << QStringList{"3", "13", "23", "0", e, "0", e, e, e, e, e};
        QTest::newRow("section beyond its table")
            << 4 << QStringList{"4", "14", "24", "0", e, "0", e, e, e, e, e};
        QTest::newRow("material beyond its table")
            << 5 << QStringList{"5", "15", "25", "0", "ODD", "5", e, e, e, e, e};
        QTest::newRow("no frame selected") << 0 << QStringList{"0", e, e, e, e, e, e, e, e, e, e};
        QTest::newRow("frame beyond the table")
            << 6 << QStringList{"6", e, e, e, e, e, e, e, e, e, e};
    }

    void valuesOfThePickedFrame() {
        QFETCH(int, frame);
        QFETCH(QStringList, values);
        TModel model = SampleModel();
        TInteraction interaction;
        interaction.SelectedFrame = frame;
        FramePropertiesDialog dialog(model, interaction);
        dialog.show();
        QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("frameLabelEdit"))->text(), values[0]);
        QCOMPARE(GridColumn(dialog, 1), values);
    }

    void closingEndsTheSelection_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK button") << QStringLiteral("ok");
        QTest::newRow("close box") << QStringLiteral("close");
        QTest::newRow("Escape key") << QStringLiteral("escape");
    }

    void closingEndsTheSelection() {
        QFETCH(QString, how);
        TModel model = SampleModel();
        TInteraction interaction;
        interaction.SelectedFrame = 1;
        FramePropertiesDialog dialog(model, interaction);
        QSignalSpy cleared(&dialog, &FramePropertiesDialog::selectionCleared);
        dialog.show();
        if (how == QLatin1String("ok"))
            QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("okButton")),
                              Qt::LeftButton);
        else if (how == QLatin1String("close"))
            dialog.close();
        else
            QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(interaction.SelectedFrame, 0);
        QCOMPARE(cleared.count(), 1);
    }

    // The Section analysis window: a run leaves the window free while the solver works; a missing
    // or failing solver is shown, with what it printed, and the window stays usable; an elastic
    // section shows its stiffness line; the curve exports as CSV.
    void withoutASolverTheWindowShowsWhatItCan() {
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

    void aFailingSolverIsShownWithItsOutput() {
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

    void theRunLeavesTheWindowFreeAndExports() {
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

    void theFrameSectionDialogAsksForTheSelectedSection() {
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

private:
    QStringList messages_;
};

QTEST_MAIN(SectionDialogsTest)
#include "SectionDialogsTest.moc"
