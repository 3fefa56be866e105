// The frame section, material and shell section dialogs: what they show, what OK and Modify
// store, in which order, and what they refuse.
#include "app/gui/ErrorBox.h"
#include "import/S2kImport.h"
#include "sections/gui/FrameSectionDialog.h"
#include "sections/gui/MaterialDialog.h"
#include "sections/gui/ShellSectionDialog.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace vandra;
using namespace vandra::gui;

namespace {

TModel ExampleModel() {
    return ImportS2k(ReadS2kFile(VANDRA_SOURCE_DIR "/examples/two_storey_frame.s2k"));
}

template <typename T> T* Child(QWidget& w, const char* name) {
    T* child = w.findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) qFatal("no child %s", name);
    return child;
}

QString Text(QWidget& w, const char* edit) {
    return Child<QLineEdit>(w, edit)->text();
}
void Type(QWidget& w, const char* edit, const QString& text) {
    Child<QLineEdit>(w, edit)->setText(text);
}
void Press(QWidget& w, const char* button) {
    QTest::mouseClick(Child<QPushButton>(w, button), Qt::LeftButton);
}
QString Current(QWidget& w, const char* combo) {
    return Child<QComboBox>(w, combo)->currentText();
}
// Chooses item `index` as the user does (the activated signal follows).
void Choose(QWidget& w, const char* combo, int index) {
    QComboBox* box = Child<QComboBox>(w, combo);
    box->setCurrentIndex(index);
    emit box->activated(index);
}
void Select(QWidget& w, const char* list, int row) {
    Child<QListWidget>(w, list)->setCurrentRow(row);
}

QRgb Pixel(const FrameSectionDialog& d, int x, int y) {
    return d.picture().pixel(x, y) & 0xFFFFFF;
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
        QCOMPARE(Child<QListWidget>(d, "sectionList")->count(), 7);
        QCOMPARE(Current(d, "sectionNameCombo"), QStringLiteral("NCOL400"));
        QCOMPARE(Current(d, "frameTypeCombo"), QStringLiteral("Nonlinear BeamColumn"));
        QCOMPARE(Current(d, "sectionShapeCombo"), QStringLiteral("Rectangle"));
        QCOMPARE(Current(d, "materialCombo"), QStringLiteral("CONC"));
        QCOMPARE(Current(d, "sectionTypeCombo"), QStringLiteral("Column Section"));
        QCOMPARE(Current(d, "geoTransfCombo"), QStringLiteral("Linear"));
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

        // The pipe shows its name and the English shape; a box its own shape.
        Select(d, "sectionList", 4);
        QCOMPARE(Current(d, "sectionNameCombo"), QStringLiteral("TPIPE168"));
        QCOMPARE(Current(d, "sectionShapeCombo"), QStringLiteral("Pipe"));
        QCOMPARE(Current(d, "materialCombo"), QStringLiteral("STEEL"));
        QCOMPARE(Current(d, "frameTypeCombo"), QStringLiteral("Truss"));
        const QByteArray shots = qgetenv("VANDRA_SHOT_DIR");
        if (!shots.isEmpty()) d.grab().save(QString::fromLocal8Bit(shots) + "/frame_section.png");
    }

    void frameSectionOkStoresAndRedraws() {
        TModel model = ExampleModel();
        FrameSectionDialog d(model);
        d.show();
        Child<QComboBox>(d, "sectionTypeCombo")->setCurrentIndex(0);
        Child<QComboBox>(d, "frameTypeCombo")->setCurrentIndex(2);
        Child<QComboBox>(d, "geoTransfCombo")->setCurrentIndex(1);
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
        Child<QComboBox>(d, "frameTypeCombo")->setCurrentIndex(4);
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

        messages_.clear();
        Type(d, "divideFYEdit", "7");
        Type(d, "coverEdit", "3,5");
        Press(d, "okButton");
        QCOMPARE(messages_, QStringList{"'3,5' is not a valid floating point value"});
        QCOMPARE(model.Sections[1].BarTop, 2000.0);
        QCOMPARE(model.Sections[1].Cover, 35.0);
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
        QTest::mouseClick(Child<QLabel>(d, "frameColorSwatch"), Qt::LeftButton);
        Select(d, "sectionList", 1);
        Select(d, "sectionList", 0);
        QCOMPARE(model.Sections[1].Color, original);
        QTest::mouseClick(Child<QLabel>(d, "frameColorSwatch"), Qt::LeftButton);
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
        QCOMPARE(Child<QListWidget>(d, "materialList")->count(), 2);
        QCOMPARE(Text(d, "nameEdit"), QStringLiteral("STEEL"));
        QCOMPARE(Current(d, "typeCombo"), QStringLiteral("Elastic"));
        QCOMPARE(Text(d, "elasticModulusEdit"), QStringLiteral("200000"));
        QCOMPARE(Text(d, "shearModulusEdit"), QStringLiteral("76923"));
        QCOMPARE(Text(d, "poissonRatioEdit"), QStringLiteral("0.300"));

        Select(d, "materialList", 1);
        Choose(d, "typeCombo", kMatConcrete02 - 1);
        QCOMPARE(Text(d, "paramfpcEdit"), QStringLiteral("-30"));
        QCOMPARE(Text(d, "paramEtsEdit"), QStringLiteral("1500"));
        QVERIFY(Child<QLineEdit>(d, "paramEtsEdit")->isVisibleTo(&d));
        QVERIFY(!Child<QLineEdit>(d, "paramFyEdit")->isVisibleTo(&d));
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
        QCOMPARE(Text(d, "shellThicknessEdit"), QStringLiteral("151"));
        QCOMPARE(Text(d, "secMaterialEdit"), QStringLiteral("C30"));
        QCOMPARE(Current(d, "shellNonlinearTypeCombo"), QStringLiteral("ShellMITC4"));
        Child<QComboBox>(d, "shellNonlinearTypeCombo")->setCurrentIndex(kShellDKGQ);
        Select(d, "shellSectionList", 1);
        QCOMPARE(Text(d, "secMaterialEdit"), QString());
        QCOMPARE(Child<QComboBox>(d, "shellNonlinearTypeCombo")->currentIndex(), -1);
        Select(d, "shellSectionList", 0);
        QCOMPARE(model.AreaSecs[1].NonlinType, int(kShellMITC4)); // discarded without Modify
        Child<QComboBox>(d, "shellNonlinearTypeCombo")->setCurrentIndex(kShellDKGQ);
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
        QCOMPARE(Child<QListWidget>(frames, "sectionList")->count(), 0);
        QCOMPARE(Text(frames, "hingeLengthIEdit"), QStringLiteral("1000"));
        QCOMPARE(Text(frames, "barTopEdit"), QString());
    }

private:
    QStringList messages_;
};

QTEST_MAIN(SectionDialogsTest)
#include "SectionDialogsTest.moc"
