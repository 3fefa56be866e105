#include "view/gui/ShowLoadDialog.h"
#include "view/gui/ViewOptionDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace vandra;
using vandra::gui::ShowLoadDialog;
using vandra::gui::ViewOptionDialog;

class ViewDialogsTest : public QObject {
    Q_OBJECT

    template <class T> static T* Find(QDialog& d, const QString& name) {
        T* w = d.findChild<T*>(name);
        if (!w) qFatal("no control %s", qPrintable(name));
        return w;
    }
    static QCheckBox* Switch(QDialog& d, int i) {
        return Find<QCheckBox>(d, QStringLiteral("viewOptCheck%1").arg(i));
    }
    static void Press(QDialog& d, const char* button) {
        QTest::mouseClick(Find<QPushButton>(d, QString::fromLatin1(button)), Qt::LeftButton);
    }
    static TModel ModelWithCases(const QStringList& names) {
        TModel model;
        for (const QString& name : names)
            model.LoadCaseNames.push_back(name.toStdString());
        model.LoadCaseCount = static_cast<int>(names.size());
        return model;
    }

private slots:
    void viewOptionCaptionsInSwitchOrder() {
        TSettings settings;
        ViewOptionDialog dialog(settings);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("View Option"));
        QCOMPARE(dialog.findChildren<QGroupBox*>().value(0)->title(),
                 QStringLiteral("Object View"));
        const QStringList captions{
            "Node",           "Node Labels",   "Frame",        "Frame Labels",  "Frame Axis",
            "Node Support",   "Diaphragms",    "Hinge Circle", "Shell Element", "Shell Labels",
            "Moment Release", "Solid Element", "Solid Label"};
        for (int i = 1; i <= 13; ++i)
            QCOMPARE(Switch(dialog, i)->text(), captions[i - 1]);
    }

    void viewOptionOkStoresAndRedrawsCancelChangesNothing() {
        TSettings settings;
        const auto defaults = settings.ViewOpt;
        ViewOptionDialog dialog(settings);
        QSignalSpy redraws(&dialog, &ViewOptionDialog::redrawRequested);

        dialog.show();
        for (int i = 1; i <= 13; ++i)
            QCOMPARE(Switch(dialog, i)->isChecked(), defaults[size_t(i)]);
        for (int i = 1; i <= 13; ++i)
            Switch(dialog, i)->toggle();
        Press(dialog, "cancelButton");
        QVERIFY(!dialog.isVisible());
        QCOMPARE(settings.ViewOpt, defaults);
        QCOMPARE(redraws.count(), 0);

        dialog.show();
        QCOMPARE(Switch(dialog, 1)->isChecked(), defaults[1]);
        Switch(dialog, 3)->setChecked(false); // Frame off
        Switch(dialog, 13)->setChecked(true); // Solid Label on
        Press(dialog, "okButton");
        QVERIFY(!dialog.isVisible());
        QCOMPARE(redraws.count(), 1);
        auto expected = defaults;
        expected[3] = false;
        expected[13] = true;
        QCOMPARE(settings.ViewOpt, expected);
    }

    void showLoadWithCases() {
        TModel model = ModelWithCases({"DEAD", "LIVE", "WIND"});
        TSettings settings;
        ShowLoadDialog dialog(model, settings);
        QSignalSpy redraws(&dialog, &ShowLoadDialog::redrawRequested);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Show Load"));
        auto* type = Find<QComboBox>(dialog, "loadTypeCombo");
        auto* cases = Find<QComboBox>(dialog, "loadCaseCombo");
        QCOMPARE(type->count(), 2);
        QCOMPARE(type->itemText(0), QStringLiteral("Point Force"));
        QCOMPARE(type->itemText(1), QStringLiteral("Element Load"));
        QCOMPARE(type->currentIndex(), 0);

        dialog.show();
        QCOMPARE(cases->count(), 3);
        QCOMPARE(cases->itemText(2), QStringLiteral("WIND"));
        QCOMPARE(cases->currentIndex(), 0);
        type->setCurrentIndex(1);
        cases->setCurrentIndex(2);
        Press(dialog, "okButton");
        QVERIFY(!dialog.isVisible());
        QCOMPARE(settings.ShownLoadCase, 3);
        QCOMPARE(settings.ShownLoadType, 2);
        QCOMPARE(redraws.count(), 1);

        // Shown again: the list is refilled, not appended to, and the first entry is selected.
        model = ModelWithCases({"EQ"});
        dialog.show();
        QCOMPARE(cases->count(), 1);
        QCOMPARE(cases->currentIndex(), 0);
        cases->setCurrentIndex(0);
        type->setCurrentIndex(0);
        Press(dialog, "cancelButton");
        QCOMPARE(settings.ShownLoadCase, 3);
        QCOMPARE(settings.ShownLoadType, 2);
        QCOMPARE(redraws.count(), 1);
    }

    void showLoadWithoutCasesShowsNone() {
        TModel model;
        model.LoadCaseCount = -1;
        TSettings settings;
        ShowLoadDialog dialog(model, settings);
        dialog.show();
        QCOMPARE(Find<QComboBox>(dialog, "loadCaseCombo")->count(), 0);
        Press(dialog, "okButton");
        QCOMPARE(settings.ShownLoadCase, 0);
        QCOMPARE(settings.ShownLoadType, 1);
    }
};

QTEST_MAIN(ViewDialogsTest)
#include "ViewDialogsTest.moc"
