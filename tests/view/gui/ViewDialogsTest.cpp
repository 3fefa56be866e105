// The dialog base and the simple dialogs built on it: what each button stores, and that closing
// without OK stores nothing.
#include "app/gui/ModelessDialog.h"
#include "WidgetTest.h"
#include "model/Errors.h"
#include "tcl/gui/RecorderSettingDialog.h"
#include "view/gui/ShowLoadDialog.h"
#include "view/gui/ViewOptionDialog.h"

#include <QCheckBox>
#include <QSignalSpy>
#include <QtTest>

#include <memory>
#include <vector>

using namespace vandra;
using namespace vandra::testing;
using vandra::gui::ShowLoadDialog;
using vandra::gui::ViewOptionDialog;

namespace {

// Stores its one value on apply, or refuses while `refuse` is set.
class ValueDialog : public gui::ModelessDialog {
public:
    ValueDialog() : ModelessDialog(nullptr) {
        makeButtons(QDialogButtonBox::Ok | QDialogButtonBox::Apply | QDialogButtonBox::Cancel);
    }
    void load() override { ++loads; }
    void apply() override {
        if (refuse) throw InputError("LoadSteps must be at least 1");
        stored = typed;
    }
    int loads = 0, typed = 0, stored = 0;
    bool refuse = false;
};

} // namespace

class ViewDialogsTest : public QObject {
    Q_OBJECT
private slots:
    // The dialog base: which button stores, which closes, and a refusal that keeps it open.
    void buttonsStoreCloseAndRefuse() {
        ErrorBoxes shown;
        const struct {
            const char* button;
            bool refuse;
            bool openAfter;
            bool stored;
        } cases[] = {
            {"okButton", false, false, true},      {"okButton", true, true, false},
            {"applyButton", false, true, true},    {"applyButton", true, true, false},
            {"cancelButton", false, false, false},
        };
        for (const auto& c : cases) {
            const QString what = QStringLiteral("%1 refuse=%2").arg(c.button).arg(c.refuse);
            shown.texts.clear();
            ValueDialog d;
            QSignalSpy applied(&d, &gui::ModelessDialog::applied);
            d.show();
            QCOMPARE(d.loads, 1);
            d.typed = 7;
            d.refuse = c.refuse;
            Press(d, c.button);
            QVERIFY2(d.isVisible() == c.openAfter, qPrintable(what));
            QVERIFY2((d.stored == 7) == c.stored, qPrintable(what));
            QVERIFY2(applied.count() == int(c.stored), qPrintable(what));
            QVERIFY2(shown.texts == (c.refuse ? QStringList{"LoadSteps must be at least 1"}
                                              : QStringList{}),
                     qPrintable(what));
            // Shown again, the dialog loads again.
            d.hide();
            d.show();
            QCOMPARE(d.loads, 2);
        }
    }

    // The check box dialogs: each box shows its flag when the dialog opens, OK stores every box,
    // closing without OK (Cancel where there is one) stores none and the next opening shows the
    // flags again.
    void checkBoxDialogsShowStoreAndDiscard() {
        for (int which : {0, 1}) { // view options, recorders
            TViewOptions view;
            TSettings settings;
            settings.RecOpt = {false, false, true, false, true, false};
            std::unique_ptr<gui::ModelessDialog> dialog;
            if (which == 0) dialog = std::make_unique<ViewOptionDialog>(view);
            else dialog = std::make_unique<gui::RecorderSettingDialog>(settings);
            const QString prefix = which == 0 ? QStringLiteral("viewOptCheck") : QStringLiteral("recOptCheck");
            const int count = which == 0 ? 13 : 5;
            const auto flags = [&] {
                std::vector<bool> v;
                for (int i = 1; i <= count; ++i)
                    v.push_back(which == 0 ? view.ViewOpt[size_t(i)] : settings.RecOpt[size_t(i)]);
                return v;
            };
            // Toggles every box and gives what they showed before.
            const auto toggleAll = [&] {
                std::vector<bool> shown;
                for (int i = 1; i <= count; ++i) {
                    auto* box = dialog->findChild<QCheckBox*>(prefix + QString::number(i));
                    shown.push_back(box->isChecked());
                    box->toggle();
                }
                return shown;
            };
            QSignalSpy redraws(dialog.get(), &gui::ModelessDialog::applied);
            const std::vector<bool> before = flags();
            dialog->show();
            QCOMPARE(toggleAll(), before);
            if (which == 0) Press(*dialog, "cancelButton");
            else dialog->close();
            QVERIFY(!dialog->isVisible());
            QCOMPARE(flags(), before);
            QCOMPARE(redraws.count(), 0);

            dialog->show();
            QCOMPARE(toggleAll(), before);
            Press(*dialog, "okButton");
            QVERIFY(!dialog->isVisible());
            std::vector<bool> toggled = before;
            toggled.flip();
            QCOMPARE(flags(), toggled);
            QCOMPARE(redraws.count(), 1);
        }
    }

    // OK stores the case (item + 1) and the kind; every show refills the list and selects its
    // first entry; Cancel changes nothing; without load cases nothing is labelled.
    void showLoadPicksCaseAndKind() {
        TModel model;
        model.LoadCaseNames = {"", "DEAD", "LIVE", "WIND"};
        model.LoadCaseCount = 3;
        TViewOptions settings;
        ShowLoadDialog dialog(model, settings);
        QSignalSpy redraws(&dialog, &ShowLoadDialog::applied);
        auto* type = Child<QComboBox>(&dialog, "loadTypeCombo");
        auto* cases = Child<QComboBox>(&dialog, "loadCaseCombo");
        const auto shown = [&] { return std::tuple(settings.ShownLoadCase, settings.ShownLoadType); };
        dialog.show();
        type->setCurrentIndex(1);
        cases->setCurrentIndex(2);
        Press(dialog, "okButton");
        QVERIFY(!dialog.isVisible());
        QCOMPARE(shown(), std::tuple(3, 2));
        model.LoadCaseNames = {"", "EQ"};
        model.LoadCaseCount = 1;
        dialog.show();
        QCOMPARE(std::pair(cases->count(), cases->currentIndex()), std::pair(1, 0));
        type->setCurrentIndex(0);
        Press(dialog, "cancelButton");
        QCOMPARE(shown(), std::tuple(3, 2));
        QCOMPARE(redraws.count(), 1);
        model.LoadCaseNames.clear();
        model.LoadCaseCount = -1;
        dialog.show();
        Press(dialog, "okButton");
        QCOMPARE(shown(), std::tuple(0, 1));
    }
};

QTEST_MAIN(ViewDialogsTest)
#include "ViewDialogsTest.moc"
