// The dialog base: which button stores, which closes, and a refusal that keeps the dialog open.
#include "app/gui/ModelessDialog.h"
#include "app/gui/ErrorBox.h"
#include "model/Errors.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace vandra;
using namespace vandra::gui;

namespace {

// Stores its one value on apply, or refuses while `refuse` is set.
class ValueDialog : public ModelessDialog {
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

class ModelessDialogTest : public QObject {
    Q_OBJECT
private slots:
    void buttonsStoreCloseAndRefuse() {
        QStringList shown;
        SetErrorBoxHandler([&](const QString&, const QString& text) { shown << text; });
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
            shown.clear();
            ValueDialog d;
            QSignalSpy applied(&d, &ModelessDialog::applied);
            d.show();
            QCOMPARE(d.loads, 1);
            d.typed = 7;
            d.refuse = c.refuse;
            QTest::mouseClick(d.findChild<QPushButton*>(QLatin1String(c.button)), Qt::LeftButton);
            QVERIFY2(d.isVisible() == c.openAfter, qPrintable(what));
            QVERIFY2((d.stored == 7) == c.stored, qPrintable(what));
            QVERIFY2(applied.count() == int(c.stored), qPrintable(what));
            QVERIFY2(shown ==
                         (c.refuse ? QStringList{"LoadSteps must be at least 1"} : QStringList{}),
                     qPrintable(what));
            // Shown again, the dialog loads again.
            d.hide();
            d.show();
            QCOMPARE(d.loads, 2);
        }
        SetErrorBoxHandler(nullptr);
    }
};

QTEST_MAIN(ModelessDialogTest)
#include "ModelessDialogTest.moc"
