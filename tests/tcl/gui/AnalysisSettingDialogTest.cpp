// The analysis settings and script dialogs.
#include "tcl/gui/AnalysisSettingDialog.h"
#include "tcl/gui/TclFileDialog.h"
#include "WidgetTest.h"
#include "app/gui/ErrorBox.h"
#include "model/NumberText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace vandra;
using vandra::gui::AnalysisSettingDialog;
using vandra::gui::TclFileDialog;
using vandra::testing::Child;

namespace {

TModel ModelWithCases(std::initializer_list<const char*> names) {
    TModel model;
    for (const char* name : names)
        model.LoadCaseNames.emplace_back(name);
    model.LoadCaseCount = static_cast<int>(names.size());
    return model;
}

// The fifteen settings in the order OK stores them, each with a value that differs from the
// defaults (LoadVector starts at 2 in the test); combos store item + 1, check boxes 0 or 1.
struct Step {
    const char* control;
    std::function<double(const TSettings&)> value;
    double stored;
};
const std::vector<Step> kSteps{
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

} // namespace

class AnalysisSettingDialogTest : public QObject {
    Q_OBJECT

    QStringList messages_;

    static QString Text(QDialog& d, const char* edit) { return Child<QLineEdit>(&d, edit)->text(); }
    static void Press(QDialog& d, const char* button) {
        QTest::mouseClick(Child<QPushButton>(&d, button), Qt::LeftButton);
    }
    static QByteArray ReadAll(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    static void PressOk(QDialog& d) { Press(d, "okButton"); }

private slots:
    void init() {
        messages_.clear();
        gui::SetErrorBoxHandler([this](const QString& title, const QString& text) {
            messages_ << title + QStringLiteral(": ") + text;
        });
    }

    void settingsTheTypeDoesNotUseAreGreyedAndTheTargetShown() {
        TModel model;
        TSettings settings;
        AnalysisSettingDialog dialog(model, settings);
        dialog.show();
        // Per type, enabled: the load case stage, the displacement control stage, the modes, the
        // record, the damping ratio.
        const int cases[][6] = {{1, 1, 0, 0, 0, 0}, {2, 0, 1, 0, 0, 0}, {3, 1, 1, 0, 0, 0},
                                {4, 0, 0, 1, 0, 0}, {5, 0, 0, 0, 1, 1}, {6, 1, 0, 0, 1, 1},
                                {7, 0, 0, 0, 0, 1}};
        for (const auto& c : cases) {
            Child<QComboBox>(&dialog, "analysisTypeCombo")->setCurrentIndex(c[0] - 1);
            QCOMPARE(Child<QLineEdit>(&dialog, "loadStepsEdit")->isEnabled(), c[1] == 1);
            QCOMPARE(Child<QLineEdit>(&dialog, "controlDispEdit")->isEnabled(), c[2] == 1);
            QCOMPARE(Child<QLineEdit>(&dialog, "modalNumberEdit")->isEnabled(), c[3] == 1);
            QCOMPARE(Child<QLineEdit>(&dialog, "recordScaleEdit")->isEnabled(), c[4] == 1);
            QCOMPARE(Child<QLineEdit>(&dialog, "dampingRatioEdit")->isEnabled(), c[5] == 1);
        }
        Child<QLineEdit>(&dialog, "controlDispEdit")->setText(QStringLiteral("2.5"));
        Child<QLineEdit>(&dialog, "analysisStepEdit")->setText(QStringLiteral("40"));
        QVERIFY(Child<QLabel>(&dialog, "controlTargetLabel")
                    ->text()
                    .contains(QStringLiteral("= 100 ")));
    }

    void showLoadsTheStoreAndOkStoresRoundedValues() {
        TModel model = ModelWithCases({"DEAD", "LIVE"});
        TSettings settings;
        settings.AnalysisType = 4;
        settings.LoadCase = 2;
        settings.LoadVector = 3; // past the end of the list: nothing selected
        settings.LoadSteps = 20;
        settings.ControlDisp = 0.12345;
        settings.GenNodeMass = false;
        settings.ModalNumber = 30;
        AnalysisSettingDialog dialog(model, settings);
        dialog.show();

        QCOMPARE(Child<QComboBox>(&dialog, "loadCaseCombo")->currentIndex(), 1);
        QCOMPARE(Child<QComboBox>(&dialog, "loadVectorCombo")->currentIndex(), -1);
        QCOMPARE(Text(dialog, "controlDispEdit"), QStringLiteral("1.23E-001"));
        QVERIFY(!Child<QCheckBox>(&dialog, "genNodeMassCheck")->isChecked());

        // A modal analysis of a model without masses is refused; load control is not.
        Child<QComboBox>(&dialog, "analysisTypeCombo")->setCurrentIndex(0);
        PressOk(dialog);
        QVERIFY(messages_.isEmpty());
        QVERIFY(!dialog.isVisible());
        QCOMPARE(settings.ControlDisp, 0.123);
        QCOMPARE(settings.LoadVector, 0);
        QCOMPARE(settings.ModalNumber, 30);

        // A typed value is stored exactly and shown rounded next time; every edit shows what the
        // settings hold when the dialog opens.
        dialog.show();
        Child<QLineEdit>(&dialog, "controlDispEdit")->setText(QStringLiteral("0.12345"));
        Child<QLineEdit>(&dialog, "modalNumberEdit")->setText(QStringLiteral("6"));
        PressOk(dialog);
        QCOMPARE(settings.ControlDisp, 0.12345);
        QCOMPARE(settings.ModalNumber, 6);
        settings.ModalNumber = 40;
        dialog.show();
        QCOMPARE(Text(dialog, "controlDispEdit"), QStringLiteral("1.23E-001"));
        QCOMPARE(Text(dialog, "modalNumberEdit"), QStringLiteral("40"));
    }

    void okStoresInOrderUpToTheFailingField_data() {
        QTest::addColumn<int>("failing");
        QTest::addColumn<QString>("badText");
        QTest::addColumn<QString>("message");
        for (int k = 0; k < int(kSteps.size()); ++k) {
            const QLatin1String control(kSteps[size_t(k)].control);
            if (!control.endsWith(QLatin1String("Edit"))) continue;
            const bool real = control == QLatin1String("loadFactorEdit") ||
                              control == QLatin1String("controlDispEdit");
            QTest::newRow(kSteps[size_t(k)].control)
                << k << QStringLiteral("abc")
                << (real ? QStringLiteral("MERVA: 'abc' is not a valid floating point value")
                         : QStringLiteral("MERVA: 'abc' is not a valid integer value"));
        }
        QTest::newRow("fraction in an integer field")
            << 0 << QStringLiteral("1.5")
            << QStringLiteral("MERVA: '1.5' is not a valid integer value");
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

        for (int k = 0; k < int(kSteps.size()); ++k) {
            const Step& step = kSteps[size_t(k)];
            QWidget* control = Child<QWidget>(&dialog, step.control);
            if (auto* edit = qobject_cast<QLineEdit*>(control))
                edit->setText(k == failing ? badText
                                           : QString::fromLatin1(text::FormatGeneral(step.stored)));
            else if (auto* combo = qobject_cast<QComboBox*>(control))
                combo->setCurrentIndex(int(step.stored) - 1);
            else
                qobject_cast<QCheckBox*>(control)->setChecked(step.stored != 0);
        }
        PressOk(dialog);

        QCOMPARE(messages_, QStringList{message});
        QVERIFY(dialog.isVisible());
        for (int k = 0; k < int(kSteps.size()); ++k) {
            const Step& step = kSteps[size_t(k)];
            const double expected = k < failing ? step.stored : step.value(before);
            QVERIFY2(step.value(settings) == expected, step.control);
        }
    }

    // A value the generator would refuse is refused at OK with its message (the settings check
    // holds the whole table of them); nothing is stored and the dialog stays.
    void okRefusesWhatTheGeneratorRefuses() {
        TModel model = ModelWithCases({"DEAD", "LIVE"});
        model.NodeCount = 4;
        model.Nodes.resize(5);
        TSettings settings;
        const TSettings before = settings;
        AnalysisSettingDialog dialog(model, settings);
        dialog.show();
        Child<QComboBox>(&dialog, "analysisTypeCombo")->setCurrentIndex(1);
        Child<QLineEdit>(&dialog, "controlNodeEdit")->setText(QStringLiteral("999"));
        PressOk(dialog);
        QCOMPARE(messages_.size(), 1);
        QVERIFY2(messages_[0].contains(QStringLiteral("999")), qPrintable(messages_[0]));
        QVERIFY(dialog.isVisible());
        QCOMPARE(settings.AnalysisType, before.AnalysisType);
        QCOMPARE(settings.ControlNode, before.ControlNode);
    }

    void loadCaseListsFollowTheModel() {
        TModel model;
        TSettings settings;
        AnalysisSettingDialog dialog(model, settings);
        dialog.show();
        QCOMPARE(Child<QComboBox>(&dialog, "loadCaseCombo")->count(), 0);
        PressOk(dialog);
        QCOMPARE(settings.LoadCase, 0);
        QCOMPARE(settings.LoadVector, 0);

        // Refilled, not appended to, on every show; a count beyond the names stops at them.
        model = ModelWithCases({"A", "B", "C"});
        settings.LoadCase = 3;
        dialog.show();
        QCOMPARE(Child<QComboBox>(&dialog, "loadCaseCombo")->currentIndex(), 2);
        dialog.hide();
        model = ModelWithCases({"A"});
        model.LoadCaseCount = 5;
        dialog.show();
        QCOMPARE(Child<QComboBox>(&dialog, "loadVectorCombo")->count(), 1);
        QCOMPARE(Child<QComboBox>(&dialog, "loadCaseCombo")->currentIndex(), -1);
    }

    // The script dialog: Generate shows the lines and a refusal keeps the text; Save writes the box.
    void generateShowsTheLinesRefusalKeepsTheText() {
        TModel model;
        model.NodeCount = 1;
        model.Nodes.resize(2);
        model.Nodes[1].X = 1000;
        TSettings settings;
        TclFileDialog dialog(model, settings);
        auto* text = dialog.findChild<QPlainTextEdit*>(QStringLiteral("scriptText"));

        Press(dialog, "generateButton");
        QVERIFY(messages_.isEmpty());
        const QStringList lines = text->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), qsizetype(dialog.scriptLines().size()));
        QCOMPARE(lines.value(4), QStringLiteral("node 1 1.000E+003 0.000E+000 0.000E+000"));

        const ScriptLineList before = dialog.scriptLines();
        text->setPlainText(QStringLiteral("edited"));
        settings.LoadSteps = 0;
        Press(dialog, "generateButton");
        QCOMPARE(messages_, QStringList{"MERVA: Load Steps must be at least 1"});
        QCOMPARE(text->toPlainText(), QStringLiteral("edited"));
        QCOMPARE(dialog.scriptLines(), before);
    }

    void saveWritesTheBoxAsItStands() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        TModel model;
        TSettings settings;
        TclFileDialog dialog(model, settings);
        QString path;
        dialog.setSavePathProvider([&] { return path; });
        QSignalSpy saved(&dialog, &TclFileDialog::scriptSaved);
        dialog.findChild<QPlainTextEdit*>(QStringLiteral("scriptText"))
            ->setPlainText(QString::fromLatin1("wipe\n\n## B\xE9ton\nanalyze 10"));

        Press(dialog, "saveButton"); // cancelled: nothing written
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());

        path = dir.filePath(QStringLiteral("model")); // typed without its extension
        Press(dialog, "saveButton");
        QVERIFY(messages_.isEmpty());
        path += QStringLiteral(".tcl");
        QCOMPARE(ReadAll(path), QByteArray("wipe\r\n\r\n## B\xE9ton\r\nanalyze 10\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"model.tcl"});
        QCOMPARE(saved.size(), 1); // only the save that wrote the file
        QCOMPARE(saved[0][0].toString(), path);

        path = dir.filePath(QStringLiteral("no/such/folder/model.tcl"));
        Press(dialog, "saveButton");
        QCOMPARE(messages_.size(), 1);
        QVERIFY2(messages_[0].startsWith(QStringLiteral("MERVA: ")) && messages_[0].contains(path),
                 qPrintable(messages_[0]));
        QVERIFY(!dialog.saveTo(path));
        QCOMPARE(saved.size(), 1);
        QVERIFY(dialog.scriptText().startsWith(QStringLiteral("wipe")));
    }
};

QTEST_MAIN(AnalysisSettingDialogTest)
#include "AnalysisSettingDialogTest.moc"
