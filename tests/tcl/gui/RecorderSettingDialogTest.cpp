#include "tcl/gui/RecorderSettingDialog.h"

#include <QCheckBox>
#include <QPushButton>
#include <QtTest>

using namespace vandra;

class RecorderSettingDialogTest : public QObject {
    Q_OBJECT

private slots:
    void showLoadsOkStoresCloseDiscards() {
        TSettings settings;
        settings.RecOpt = {false, false, true, false, true, false};
        gui::RecorderSettingDialog dialog(settings);
        auto box = [&](int i) {
            return dialog.findChild<QCheckBox*>(QStringLiteral("recOptCheck%1").arg(i));
        };
        QCOMPARE(box(4)->text(), QStringLiteral("Force/Disp Beam Column Section  Stress-Strain"));
        dialog.show();
        for (int i = 1; i <= 5; ++i)
            QCOMPARE(box(i)->isChecked(), settings.RecOpt[size_t(i)]);

        for (int i = 1; i <= 5; ++i)
            box(i)->toggle();
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("okButton")),
                          Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        const std::array<bool, 6> stored{false, true, false, true, false, true};
        QCOMPARE(settings.RecOpt, stored);

        dialog.show();
        box(2)->setChecked(true);
        dialog.close();
        QCOMPARE(settings.RecOpt, stored);
        dialog.show();
        QVERIFY(!box(2)->isChecked());
    }
};

QTEST_MAIN(RecorderSettingDialogTest)
#include "RecorderSettingDialogTest.moc"
