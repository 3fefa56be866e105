#include "tcl/gui/AnalysisSettingDialog.h"
#include "app/gui/ErrorBox.h"
#include "model/NumberText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <functional>

using namespace vandra;
using vandra::gui::AnalysisSettingDialog;

namespace {

struct Shown {
    QString title, text;
};

TModel ModelWithCases(std::initializer_list<const char*> names) {
    TModel model;
    for (const char* name : names)
        model.LoadCaseNames.emplace_back(name);
    model.LoadCaseCount = static_cast<int>(names.size());
    return model;
}

QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

// The fifteen settings in the order OK stores them, each with the control text or state that
// stores a value different from the defaults (LoadVector starts at 2 in the test).
struct Step {
    const char* control;
    std::function<double(const TSettings&)> value;
    double stored;
};

const std::vector<Step>& Steps() {
    static const std::vector<Step> steps{
        {"loadStepsEdit", [](const TSettings& s) { return double(s.LoadSteps); }, 7},
        {"loadFactorEdit", [](const TSettings& s) { return s.LoadFactor; }, 2.5},
        {"loadCaseCombo", [](const TSettings& s) { return double(s.LoadCase); }, 2},
        {"loadVectorCombo", [](const TSettings& s) { return double(s.LoadVector); }, 1},
        {"analysisTypeCombo", [](const TSettings& s) { return double(s.AnalysisType); }, 3},
        {"rebarMatEdit", [](const TSettings& s) { return double(s.RebarMat); }, 4},
        {"numIntgrPtsEdit", [](const TSettings& s) { return double(s.NumIntgrPts); }, 5},
        {"analysisStepEdit", [](const TSettings& s) { return double(s.AnalysisStep); }, 50},
        {"controlDofEdit", [](const TSettings& s) { return double(s.ControlDof); }, 3},
        {"controlDispEdit", [](const TSettings& s) { return s.ControlDisp; }, 0.5},
        {"controlNodeEdit", [](const TSettings& s) { return double(s.ControlNode); }, 9},
        {"useAggregatorCheck", [](const TSettings& s) { return double(s.UseAggregator); }, 1},
        {"modalNumberEdit", [](const TSettings& s) { return double(s.ModalNumber); }, 6},
        {"genPlateFiberCheck", [](const TSettings& s) { return double(s.GenPlateFiber); }, 0},
        {"genNodeMassCheck", [](const TSettings& s) { return double(s.GenNodeMass); }, 0},
    };
    return steps;
}

} // namespace

class AnalysisSettingDialogTest : public QObject {
    Q_OBJECT

    QList<Shown> shown_;

    template <class T> static T* Find(QDialog& d, const char* name) {
        T* w = d.findChild<T*>(QString::fromLatin1(name));
        if (!w) qFatal("no control %s", name);
        return w;
    }
    static void PressOk(QDialog& d) {
        QTest::mouseClick(Find<QPushButton>(d, "okButton"), Qt::LeftButton);
    }

private slots:
    void init() {
        shown_.clear();
        gui::SetErrorBoxHandler([this](const QString& title, const QString& text) {
            shown_.append({title, text});
        });
    }

    void fixedItemsAndGroups() {
        TModel model;
        TSettings settings;
        AnalysisSettingDialog dialog(model, settings);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Analysis Setting"));
        QCOMPARE(Items(Find<QComboBox>(dialog, "analysisTypeCombo")),
                 QStringList({"Single Load Control", "Single Displacement Control",
                              "Gravity+PushOver", "Modal Analysis", "Time History Analysis",
                              "D+L+Time Hist Analysis", "MultipleSupport Excitation"}));
        QStringList groups;
        for (const QGroupBox* g : dialog.findChildren<QGroupBox*>())
            groups << g->title();
        QCOMPARE(groups, QStringList({"Load Control Case (Const)", "Disp Control Case (Linear)",
                                      "Nonlinear Setting", "Section Aggregator", "Modal Number",
                                      "Gen ND material", "Gen Node Mass"}));
        QCOMPARE(Find<QCheckBox>(dialog, "useAggregatorCheck")->text(),
                 QStringLiteral("Torsional Constant and Shear Area"));
        QCOMPARE(Find<QCheckBox>(dialog, "genPlateFiberCheck")->text(),
                 QStringLiteral("Gen ND Material Plate Fiber Information"));
        QCOMPARE(Find<QCheckBox>(dialog, "genNodeMassCheck")->text(),
                 QStringLiteral("Gen Mass Information"));
    }

    void showLoadsTheStoreAndOkStoresRoundedValues() {
        TModel model = ModelWithCases({"DEAD", "LIVE"});
        TSettings settings;
        settings.AnalysisType = 4;
        settings.LoadCase = 2;
        settings.LoadVector = 3; // past the end of the list: nothing selected
        settings.LoadSteps = -20;
        settings.ControlDisp = 0.12345;
        settings.ControlNode = 17;
        settings.UseAggregator = true;
        settings.GenNodeMass = false;
        settings.ModalNumber = 30; // not shown: the edit keeps its own text
        AnalysisSettingDialog dialog(model, settings);
        dialog.show();

        QCOMPARE(Items(Find<QComboBox>(dialog, "loadCaseCombo")), QStringList({"DEAD", "LIVE"}));
        QCOMPARE(Items(Find<QComboBox>(dialog, "loadVectorCombo")), QStringList({"DEAD", "LIVE"}));
        QCOMPARE(Find<QComboBox>(dialog, "analysisTypeCombo")->currentIndex(), 3);
        QCOMPARE(Find<QComboBox>(dialog, "loadCaseCombo")->currentIndex(), 1);
        QCOMPARE(Find<QComboBox>(dialog, "loadVectorCombo")->currentIndex(), -1);
        QCOMPARE(Find<QLineEdit>(dialog, "loadStepsEdit")->text(), QStringLiteral("-20"));
        QCOMPARE(Find<QLineEdit>(dialog, "loadFactorEdit")->text(), QStringLiteral("1.00E+000"));
        QCOMPARE(Find<QLineEdit>(dialog, "controlDispEdit")->text(), QStringLiteral("1.23E-001"));
        QCOMPARE(Find<QLineEdit>(dialog, "controlNodeEdit")->text(), QStringLiteral("17"));
        QCOMPARE(Find<QLineEdit>(dialog, "numIntgrPtsEdit")->text(), QStringLiteral("3"));
        QCOMPARE(Find<QLineEdit>(dialog, "modalNumberEdit")->text(), QStringLiteral("12"));
        QVERIFY(Find<QCheckBox>(dialog, "useAggregatorCheck")->isChecked());
        QVERIFY(Find<QCheckBox>(dialog, "genPlateFiberCheck")->isChecked());
        QVERIFY(!Find<QCheckBox>(dialog, "genNodeMassCheck")->isChecked());

        PressOk(dialog);
        QVERIFY(shown_.isEmpty());
        QVERIFY(!dialog.isVisible());
        QCOMPARE(settings.ControlDisp, 0.123);
        QCOMPARE(settings.LoadVector, 0);
        QCOMPARE(settings.LoadCase, 2);
        QCOMPARE(settings.AnalysisType, 4);
        QCOMPARE(settings.ModalNumber, 12);

        // A typed value is stored exactly, and shown rounded the next time.
        dialog.show();
        Find<QLineEdit>(dialog, "controlDispEdit")->setText(QStringLiteral("0.12345"));
        PressOk(dialog);
        QCOMPARE(settings.ControlDisp, 0.12345);
        dialog.show();
        QCOMPARE(Find<QLineEdit>(dialog, "controlDispEdit")->text(), QStringLiteral("1.23E-001"));
        PressOk(dialog);
        QCOMPARE(settings.ControlDisp, 0.123);
    }

    void okStoresInOrderUpToTheFailingField_data() {
        QTest::addColumn<int>("failing");
        QTest::addColumn<QString>("badText");
        QTest::addColumn<QString>("message");
        for (int k = 0; k < static_cast<int>(Steps().size()); ++k) {
            const QString control = QString::fromLatin1(Steps()[size_t(k)].control);
            if (!control.endsWith(QLatin1String("Edit"))) continue;
            const bool real = control == QLatin1String("loadFactorEdit") ||
                              control == QLatin1String("controlDispEdit");
            QTest::newRow(Steps()[size_t(k)].control)
                << k << QStringLiteral("abc")
                << (real ? QStringLiteral("'abc' is not a valid floating point value")
                         : QStringLiteral("'abc' is not a valid integer value"));
        }
        QTest::newRow("fraction in an integer field")
            << 0 << QStringLiteral("1.5") << QStringLiteral("'1.5' is not a valid integer value");
    }

    void okStoresInOrderUpToTheFailingField() {
        QFETCH(int, failing);
        QFETCH(QString, badText);
        QFETCH(QString, message);

        TModel model = ModelWithCases({"DEAD", "LIVE"});
        TSettings settings;
        settings.LoadVector = 2;
        const TSettings before = settings;
        AnalysisSettingDialog dialog(model, settings);
        dialog.show();

        const std::vector<Step>& steps = Steps();
        for (int k = 0; k < static_cast<int>(steps.size()); ++k) {
            const Step& step = steps[size_t(k)];
            QWidget* control = Find<QWidget>(dialog, step.control);
            if (auto* edit = qobject_cast<QLineEdit*>(control))
                edit->setText(k == failing ? badText
                                           : QString::fromLatin1(text::FormatGeneral(step.stored)));
            else if (auto* combo = qobject_cast<QComboBox*>(control))
                combo->setCurrentIndex(int(step.stored) - 1);
            else
                qobject_cast<QCheckBox*>(control)->setChecked(step.stored != 0);
        }
        PressOk(dialog);

        QCOMPARE(shown_.size(), 1);
        QCOMPARE(shown_[0].title, QStringLiteral("MERVA"));
        QCOMPARE(shown_[0].text, message);
        QVERIFY(dialog.isVisible());
        for (int k = 0; k < static_cast<int>(steps.size()); ++k) {
            const Step& step = steps[size_t(k)];
            const double expected = k < failing ? step.stored : step.value(before);
            if (step.value(settings) != expected)
                QFAIL(qPrintable(QStringLiteral("%1 holds %2, expected %3")
                                     .arg(QLatin1String(step.control))
                                     .arg(step.value(settings))
                                     .arg(expected)));
        }
    }

    void withoutLoadCasesOkStoresNoCase() {
        TModel model;
        TSettings settings;
        AnalysisSettingDialog dialog(model, settings);
        dialog.show();
        QCOMPARE(Find<QComboBox>(dialog, "loadCaseCombo")->count(), 0);
        QCOMPARE(Find<QComboBox>(dialog, "loadVectorCombo")->count(), 0);
        PressOk(dialog);
        QCOMPARE(settings.LoadCase, 0);
        QCOMPARE(settings.LoadVector, 0);

        // A later import with cases refills the lists instead of appending to them.
        model = ModelWithCases({"A", "B", "C"});
        settings.LoadCase = 3;
        dialog.show();
        QCOMPARE(Items(Find<QComboBox>(dialog, "loadCaseCombo")), QStringList({"A", "B", "C"}));
        QCOMPARE(Find<QComboBox>(dialog, "loadCaseCombo")->currentIndex(), 2);
        dialog.hide();
        model = ModelWithCases({"A"});
        dialog.show();
        QCOMPARE(Items(Find<QComboBox>(dialog, "loadVectorCombo")), QStringList({"A"}));
        QCOMPARE(Find<QComboBox>(dialog, "loadCaseCombo")->currentIndex(), -1);
    }

    void modalNumberEditKeepsWhatTheUserTyped() {
        TModel model;
        TSettings settings;
        AnalysisSettingDialog dialog(model, settings);
        dialog.show();
        Find<QLineEdit>(dialog, "modalNumberEdit")->setText(QStringLiteral("6"));
        PressOk(dialog);
        QCOMPARE(settings.ModalNumber, 6);

        settings.ModalNumber = 40;
        dialog.show();
        QCOMPARE(Find<QLineEdit>(dialog, "modalNumberEdit")->text(), QStringLiteral("6"));
    }

    void closingWithoutOkStoresNothing() {
        TModel model = ModelWithCases({"DEAD"});
        TSettings settings;
        AnalysisSettingDialog dialog(model, settings);
        dialog.show();
        Find<QLineEdit>(dialog, "loadStepsEdit")->setText(QStringLiteral("5"));
        dialog.close();
        QCOMPARE(settings.LoadSteps, 100);
    }
};

QTEST_MAIN(AnalysisSettingDialogTest)
#include "AnalysisSettingDialogTest.moc"
