// The frame section and material dialogs check a value as it is typed: the box at fault is marked,
// the reason shown under the boxes, and OK refuses with the same message, storing nothing; a sound
// value redraws the section before OK.
#include "app/gui/ErrorBox.h"
#include "import/S2kImport.h"
#include "sections/gui/FrameSectionDialog.h"
#include "sections/gui/MaterialDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace vandra;
using namespace vandra::gui;

class SectionInputCheckTest : public QObject {
    Q_OBJECT
private slots:
    void refusedWhereTyped() {
        QStringList shown;
        SetErrorBoxHandler([&](const QString&, const QString& text) { shown << text; });
        // Each row: the dialog (section NCOL400 of the example, or material STEEL given the law
        // item), the box typed into, its text, and the refusal ("" for a sound value).
        const struct {
            bool material;
            int lawItem;
            const char* box;
            const char* text;
            const char* message;
        } rows[] = {
            {false, 0, "divideFXEdit", "0",
             "Frame section NCOL400: DivideFX must be at least 1, not 0"},
            {false, 0, "barNumNYEdit", "1",
             "Frame section NCOL400: BarNumNY must be at least 2 to carry the bar area BarBot = "
             "1000, not 1"},
            {false, 0, "coverEdit", "200",
             "Frame section NCOL400: Cover 200 puts the bars outside the 400 x 400 section (the "
             "cover must lie from 0 to less than half of 400)"},
            {false, 0, "barTopEdit", "abc", "'abc' is not a valid floating point value"},
            {false, 0, "divideFXEdit", "12", ""},
            {true, 3, "parambEdit", "1",
             "Material STEEL: the hardening ratio b must be at least 0 and below 1, not 1"},
            {true, 4, "paramepsUEdit", "-0.001",
             "Material STEEL: the crushing strain epsU must be at least as large in size as "
             "epsc0, not -0.001"},
            {true, 3, "paramFyEdit", "x",
             "Material STEEL: Fy 'x' is not a valid floating point value"},
        };
        for (const auto& row : rows) {
            shown.clear();
            TModel model =
                ImportS2k(ReadS2kFile(VANDRA_SOURCE_DIR "/examples/two_storey_frame.s2k"));
            const TModel before = model;
            std::unique_ptr<ModelessDialog> d;
            if (row.material) {
                d = std::make_unique<MaterialDialog>(model);
                d->show();
                auto* law = d->findChild<QComboBox*>(QStringLiteral("typeCombo"));
                law->setCurrentIndex(row.lawItem);
                emit law->activated(row.lawItem);
            } else {
                d = std::make_unique<FrameSectionDialog>(model);
                d->show();
            }
            const QImage drawn =
                row.material ? QImage() : static_cast<FrameSectionDialog&>(*d).picture();
            auto* box = d->findChild<QLineEdit*>(QString::fromLatin1(row.box));
            QVERIFY2(box != nullptr, row.box);
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
            QCOMPARE(shown.value(0).endsWith(QString::fromLatin1(row.message)), true);
            if (row.material)
                QVERIFY2(model.Mats == before.Mats, row.box);
            else
                QVERIFY2(model.Sections == before.Sections, row.box);
        }
    }
};

QTEST_MAIN(SectionInputCheckTest)
#include "SectionInputCheckTest.moc"
