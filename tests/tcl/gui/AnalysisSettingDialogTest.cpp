// The analysis settings and script dialogs.
#include "tcl/gui/AnalysisSettingDialog.h"
#include "tcl/gui/TclFileDialog.h"
#include "WidgetTest.h"
#include "model/NumberText.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <functional>

using namespace vandra;
using namespace vandra::testing;
using vandra::gui::AnalysisSettingDialog;
using vandra::gui::TclFileDialog;

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

    ErrorBoxes boxes_{true};

private slots:
    void init() { boxes_.texts.clear(); }

    void settingsTheTypeDoesNotUseAreGreyedAndTheTargetShown() {
        TModel model;
        TSettings settings;
        AnalysisSettingDialog dialog(model, settings);
        dialog.show();
        // Per type, enabled: the load case stage, the displacement control stage, the modes, the
        // record, the damping ratio.
        const char* boxes[] = {"loadStepsEdit", "controlDispEdit", "modalNumberEdit",
                               "recordScaleEdit", "dampingRatioEdit"};
        const int cases[][6] = {{1, 1, 0, 0, 0, 0}, {2, 0, 1, 0, 0, 0}, {3, 1, 1, 0, 0, 0},
                                {4, 0, 0, 1, 0, 0}, {5, 0, 0, 0, 1, 1}, {6, 1, 0, 0, 1, 1},
                                {7, 0, 0, 0, 0, 1}};
        for (const auto& c : cases) {
            Child<QComboBox>(&dialog, "analysisTypeCombo")->setCurrentIndex(c[0] - 1);
            for (int b = 0; b < 5; ++b)
                QVERIFY2(Child<QLineEdit>(&dialog, boxes[b])->isEnabled() == (c[b + 1] == 1),
                         boxes[b]);
        }
        Type(dialog, "controlDispEdit", QStringLiteral("2.5"));
        Type(dialog, "analysisStepEdit", QStringLiteral("40"));
        QVERIFY(Child<QLabel>(&dialog, "controlTargetLabel")->text().contains(QStringLiteral("= 100 ")));
    }

    // Every show fills the lists from the model (refilled, not appended to) and the boxes from
    // the settings; a value shown rounded is stored rounded by OK, a typed one exactly.
    void showLoadsTheStoreAndOkStoresRoundedValues() {
        TModel model = ModelWithCases({"DEAD", "LIVE"});
        TSettings settings;
        settings.AnalysisType = 4;
        settings.LoadCase = 2;
        settings.LoadVector = 3; // past the end of the list: nothing selected
        settings.ControlDisp = 0.12345;
        settings.GenNodeMass = false;
        settings.ModalNumber = 30;
        AnalysisSettingDialog dialog(model, settings);
        auto* cases = Child<QComboBox>(&dialog, "loadCaseCombo");
        dialog.show();
        QCOMPARE(cases->currentIndex(), 1);
        QCOMPARE(Child<QComboBox>(&dialog, "loadVectorCombo")->currentIndex(), -1);
        QCOMPARE(Text(dialog, "controlDispEdit"), QStringLiteral("1.23E-001"));
        QVERIFY(!Child<QCheckBox>(&dialog, "genNodeMassCheck")->isChecked());
        // A modal analysis of a model without masses is refused; load control is not.
        Child<QComboBox>(&dialog, "analysisTypeCombo")->setCurrentIndex(0);
        Press(dialog, "okButton");
        QVERIFY(boxes_.texts.isEmpty());
        QVERIFY(!dialog.isVisible());
        QCOMPARE(settings.ControlDisp, 0.123);
        QCOMPARE(settings.LoadVector, 0);
        QCOMPARE(settings.ModalNumber, 30);

        dialog.show();
        Type(dialog, "controlDispEdit", QStringLiteral("0.12345"));
        Type(dialog, "modalNumberEdit", QStringLiteral("6"));
        Press(dialog, "okButton");
        QCOMPARE(settings.ControlDisp, 0.12345);
        QCOMPARE(settings.ModalNumber, 6);
        settings.ModalNumber = 40;
        model = ModelWithCases({"A"});
        model.LoadCaseCount = 5; // a count beyond the names stops at them
        dialog.show();
        QCOMPARE(Text(dialog, "controlDispEdit"), QStringLiteral("1.23E-001"));
        QCOMPARE(Text(dialog, "modalNumberEdit"), QStringLiteral("40"));
        QCOMPARE(Child<QComboBox>(&dialog, "loadVectorCombo")->count(), 1);
        QCOMPARE(cases->currentIndex(), -1);
        dialog.hide();
        model = TModel();
        dialog.show();
        QCOMPARE(cases->count(), 0);
        Press(dialog, "okButton");
        QCOMPARE(settings.LoadCase, 0);
    }

    // Each box in turn holds text that does not convert (the first also a fraction): OK stores
    // the boxes before it, keeps it and the ones after, and says why.
    void okStoresInOrderUpToTheFailingField() {
        std::vector<std::pair<int, QString>> bad = {{0, QStringLiteral("1.5")}};
        for (int k = 0; k < int(kSteps.size()); ++k)
            if (QLatin1String(kSteps[size_t(k)].control).endsWith(QLatin1String("Edit")))
                bad.emplace_back(k, QStringLiteral("abc"));
        for (const auto& [failing, badText] : bad) {
            boxes_.texts.clear();
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
            Press(dialog, "okButton");
            // The real boxes are the ones whose test value has a fraction.
            const double stored = kSteps[size_t(failing)].stored;
            QCOMPARE(boxes_.texts, QStringList{QStringLiteral("MERVA: '%1' is not a valid %2 value")
                                                   .arg(badText, stored == int(stored)
                                                                     ? QStringLiteral("integer")
                                                                     : QStringLiteral("floating point"))});
            QVERIFY(dialog.isVisible());
            for (int k = 0; k < int(kSteps.size()); ++k) {
                const Step& step = kSteps[size_t(k)];
                QVERIFY2(step.value(settings) == (k < failing ? step.stored : step.value(before)),
                         step.control);
            }
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
        Type(dialog, "controlNodeEdit", QStringLiteral("999"));
        Press(dialog, "okButton");
        QCOMPARE(boxes_.texts.size(), 1);
        QVERIFY2(boxes_.texts[0].contains(QStringLiteral("999")), qPrintable(boxes_.texts[0]));
        QVERIFY(dialog.isVisible());
        QCOMPARE(settings.AnalysisType, before.AnalysisType);
        QCOMPARE(settings.ControlNode, before.ControlNode);
    }

    // The script dialog: Generate shows the lines and a refusal keeps the text; Save writes the box.
    void generateShowsTheLinesRefusalKeepsTheText() {
        TModel model;
        TSettings settings;
        TclFileDialog dialog(model, settings);
        auto* text = dialog.findChild<QPlainTextEdit*>(QStringLiteral("scriptText"));
        Press(dialog, "generateButton"); // before any import
        QVERIFY(boxes_.texts.value(0).contains(QStringLiteral("nothing to generate")));
        boxes_.texts.clear();
        model.NodeCount = 1;
        model.Nodes.resize(2);
        model.Nodes[1].X = 1000;

        Press(dialog, "generateButton");
        QVERIFY(boxes_.texts.isEmpty());
        const QStringList lines = text->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), qsizetype(dialog.scriptLines().size()));
        QCOMPARE(lines.value(4), QStringLiteral("node 1 1.000E+003 0.000E+000 0.000E+000"));

        const ScriptLineList before = dialog.scriptLines();
        text->setPlainText(QStringLiteral("edited"));
        settings.LoadSteps = 0;
        Press(dialog, "generateButton");
        QCOMPARE(boxes_.texts, QStringList{"MERVA: Load Steps must be at least 1"});
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
        QVERIFY(boxes_.texts.isEmpty());
        path += QStringLiteral(".tcl");
        QCOMPARE(ReadAll(path), QByteArray("wipe\r\n\r\n## B\xE9ton\r\nanalyze 10\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"model.tcl"});
        QCOMPARE(saved.size(), 1); // only the save that wrote the file
        QCOMPARE(saved[0][0].toString(), path);

        path = dir.filePath(QStringLiteral("no/such/folder/model.tcl"));
        Press(dialog, "saveButton");
        QCOMPARE(boxes_.texts.size(), 1);
        QVERIFY2(boxes_.texts[0].startsWith(QStringLiteral("MERVA: ")) && boxes_.texts[0].contains(path),
                 qPrintable(boxes_.texts[0]));
        QVERIFY(!dialog.saveTo(path));
        QCOMPARE(saved.size(), 1);
        QVERIFY(dialog.scriptText().startsWith(QStringLiteral("wipe")));
    }
};

QTEST_MAIN(AnalysisSettingDialogTest)
#include "AnalysisSettingDialogTest.moc"
