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

#include <span>
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
        TViewOptions view;
        TSettings settings;
        settings.RecOpt = {false, false, true, false, true, false};
        ViewOptionDialog viewDialog(view);
        gui::RecorderSettingDialog recorders(settings);
        const struct {
            gui::ModelessDialog* dialog;
            const char* boxes;
            std::span<bool> flags; // the flags of boxes 1, 2, ...
            bool cancel;           // a Cancel button, else the close box
        } rows[] = {{&viewDialog, "viewOptCheck", std::span(view.ViewOpt).subspan(1), true},
                    {&recorders, "recOptCheck", std::span(settings.RecOpt).subspan(1), false}};
        for (const auto& r : rows) {
            QSignalSpy redraws(r.dialog, &gui::ModelessDialog::applied);
            const std::vector<bool> before(r.flags.begin(), r.flags.end());
            for (const bool ok : {false, true}) {
                r.dialog->show();
                for (size_t i = 1; i <= r.flags.size(); ++i) { // shows each flag; toggled
                    auto* box = Child<QCheckBox>(r.dialog, (r.boxes + std::to_string(i)).c_str());
                    QVERIFY2(box->isChecked() == before[i - 1], r.boxes);
                    box->toggle();
                }
                if (ok) Press(*r.dialog, "okButton");
                else if (r.cancel) Press(*r.dialog, "cancelButton");
                else r.dialog->close();
                QVERIFY(!r.dialog->isVisible());
                std::vector<bool> expected = before;
                if (ok) expected.flip();
                QCOMPARE(std::vector<bool>(r.flags.begin(), r.flags.end()), expected);
                QCOMPARE(redraws.count(), ok ? 1 : 0);
            }
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
