// Values checked as typed: the box at fault marked, the reason shown, OK refusing with it and
// storing nothing; a sound value redraws the section before OK.
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
            {false, 0, "barTopEdit", "abc", "'abc' is not a valid floating point value"},
            {false, 0, "divideFXEdit", "12", ""},
            {true, 3, "parambEdit", "1",
             "Material STEEL: the hardening ratio b must be at least 0 and below 1, not 1"},
            {true, 3, "paramFyEdit", "x",
             "Material STEEL: Fy 'x' is not a valid floating point value"},
        };
        for (const auto& row : rows) {
            shown.clear();
            TModel model =
                ImportS2k(ReadS2kFile(VANDRA_SOURCE_DIR "/examples/two_storey_frame.s2k"));
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
