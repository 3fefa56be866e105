#include "view/gui/ShowLoadDialog.h"
#include "view/gui/ViewOptionDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace vandra;
using vandra::gui::ShowLoadDialog;
using vandra::gui::ViewOptionDialog;

class ViewDialogsTest : public QObject {
    Q_OBJECT

    static void Press(QDialog& d, const char* button) {
        QTest::mouseClick(d.findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
    }

private slots:
    void viewOptionOkStoresAndRedrawsCancelChangesNothing() {
        TViewOptions settings;
        const auto defaults = settings.ViewOpt;
        ViewOptionDialog dialog(settings);
        QSignalSpy redraws(&dialog, &ViewOptionDialog::applied);
        auto box = [&](int i) {
            return dialog.findChild<QCheckBox*>(QStringLiteral("viewOptCheck%1").arg(i));
        };
        QCOMPARE(box(13)->text(), QStringLiteral("Solid Label"));

        dialog.show();
        for (int i = 1; i <= 13; ++i)
            QCOMPARE(box(i)->isChecked(), defaults[size_t(i)]);
        for (int i = 1; i <= 13; ++i)
            box(i)->toggle();
        Press(dialog, "cancelButton");
        QVERIFY(!dialog.isVisible());
        QCOMPARE(settings.ViewOpt, defaults);
        QCOMPARE(redraws.count(), 0);

        dialog.show();
        QCOMPARE(box(1)->isChecked(), defaults[1]);
        box(3)->setChecked(false);
        box(13)->setChecked(true);
        Press(dialog, "okButton");
        QVERIFY(!dialog.isVisible());
        QCOMPARE(redraws.count(), 1);
        auto expected = defaults;
        expected[3] = false;
        expected[13] = true;
        QCOMPARE(settings.ViewOpt, expected);
    }

    void showLoadPicksCaseAndKind() {
        TModel model;
        model.LoadCaseNames = {"", "DEAD", "LIVE", "WIND"};
        model.LoadCaseCount = 3;
        TViewOptions settings;
        ShowLoadDialog dialog(model, settings);
        QSignalSpy redraws(&dialog, &ShowLoadDialog::applied);
        auto* type = dialog.findChild<QComboBox*>(QStringLiteral("loadTypeCombo"));
        auto* cases = dialog.findChild<QComboBox*>(QStringLiteral("loadCaseCombo"));
        QCOMPARE(type->currentText(), QStringLiteral("Point Force"));

        dialog.show();
        QCOMPARE(cases->count(), 3);
        QCOMPARE(cases->currentIndex(), 0);
        type->setCurrentIndex(1);
        cases->setCurrentIndex(2);
        Press(dialog, "okButton");
        QVERIFY(!dialog.isVisible());
        QCOMPARE(settings.ShownLoadCase, 3);
        QCOMPARE(settings.ShownLoadType, 2);
        QCOMPARE(redraws.count(), 1);

        // Shown again the list is refilled and its first entry selected; Cancel changes nothing.
        model.LoadCaseNames = {"", "EQ"};
        model.LoadCaseCount = 1;
        dialog.show();
        QCOMPARE(cases->count(), 1);
        QCOMPARE(cases->currentIndex(), 0);
        type->setCurrentIndex(0);
        Press(dialog, "cancelButton");
        QCOMPARE(settings.ShownLoadCase, 3);
        QCOMPARE(settings.ShownLoadType, 2);
        QCOMPARE(redraws.count(), 1);

        // No load cases (the section was absent): no labels.
        model.LoadCaseNames.clear();
        model.LoadCaseCount = -1;
        dialog.show();
        Press(dialog, "okButton");
        QCOMPARE(settings.ShownLoadCase, 0);
        QCOMPARE(settings.ShownLoadType, 1);
    }
};

QTEST_MAIN(ViewDialogsTest)
#include "ViewDialogsTest.moc"
