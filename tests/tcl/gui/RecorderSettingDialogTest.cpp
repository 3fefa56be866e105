#include "tcl/gui/RecorderSettingDialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QtTest>

using namespace vandra;
using vandra::gui::RecorderSettingDialog;

class RecorderSettingDialogTest : public QObject {
    Q_OBJECT

    static QCheckBox* Box(QDialog& d, int i) {
        auto* box = d.findChild<QCheckBox*>(QStringLiteral("recOptCheck%1").arg(i));
        if (!box) qFatal("no recOptCheck%d", i);
        return box;
    }

private slots:
    void labelsInIndexOrder() {
        TSettings settings;
        RecorderSettingDialog dialog(settings);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Recorder Setting"));
        const auto groups = dialog.findChildren<QGroupBox*>();
        QCOMPARE(groups.size(), 1);
        QCOMPARE(groups[0]->title(), QStringLiteral("Output(Recorder Setting)"));
        const QStringList labels{"Displacement of All Nodes", "Element Force of All Frames",
                                 "Force/Disp Beam Column Section Deformation",
                                 "Force/Disp Beam Column Section  Stress-Strain", "Modal Shape"};
        for (int i = 1; i <= 5; ++i)
            QCOMPARE(Box(dialog, i)->text(), labels[i - 1]);
    }

    void showLoadsOkStoresAndCloses() {
        TSettings settings;
        settings.RecOpt = {false, false, true, false, true, false};
        RecorderSettingDialog dialog(settings);
        dialog.show();
        const bool shown[] = {false, true, false, true, false};
        for (int i = 1; i <= 5; ++i)
            QCOMPARE(Box(dialog, i)->isChecked(), shown[i - 1]);

        Box(dialog, 1)->setChecked(true);
        Box(dialog, 2)->setChecked(false);
        Box(dialog, 4)->setChecked(false);
        Box(dialog, 5)->setChecked(true);
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("okButton")),
                          Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        const std::array<bool, 6> stored{false, true, false, false, false, true};
        QCOMPARE(settings.RecOpt, stored);

        // Closed without OK: the ticks are thrown away and reloaded on the next show.
        dialog.show();
        Box(dialog, 3)->setChecked(true);
        dialog.close();
        QCOMPARE(settings.RecOpt, stored);
        dialog.show();
        QVERIFY(!Box(dialog, 3)->isChecked());
    }
};

QTEST_MAIN(RecorderSettingDialogTest)
#include "RecorderSettingDialogTest.moc"
