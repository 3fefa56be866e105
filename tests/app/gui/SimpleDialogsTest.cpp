// The dialog base and the simple dialogs built on it: what each button stores and that closing
// without OK stores nothing, the fields greyed by analysis type, the order OK stores them in; the
// script dialog.
#include "WidgetTest.h"
#include "app/gui/ModelessDialog.h"
#include "model/Errors.h"
#include "model/NumberText.h"
#include "tcl/gui/AnalysisSettingDialog.h"
#include "tcl/gui/RecorderSettingDialog.h"
#include "tcl/gui/TclFileDialog.h"
#include "view/gui/ShowLoadDialog.h"
#include "view/gui/ViewOptionDialog.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <functional>
#include <span>
#include <vector>

using namespace vandra;
using namespace vandra::testing;
using vandra::gui::AnalysisSettingDialog;
using vandra::gui::ShowLoadDialog;
using vandra::gui::TclFileDialog;
using vandra::gui::ViewOptionDialog;

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

class SimpleDialogsTest : public QObject {
    Q_OBJECT

    ErrorBoxes boxes_{true};

private slots:
    void init() { boxes_.texts.clear(); }

    // The dialog base: which button stores, which closes, and a refusal that keeps it open.
    void buttonsStoreCloseAndRefuse() {
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
            boxes_.texts.clear();
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
            QVERIFY2(boxes_.texts == (c.refuse ? QStringList{"MERVA: LoadSteps must be at least 1"}
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
        QCOMPARE(std::tuple(settings.ControlDisp, settings.LoadVector, settings.ModalNumber),
                 std::tuple(0.123, 0, 30));

        dialog.show();
        Type(dialog, "controlDispEdit", QStringLiteral("0.12345"));
        Type(dialog, "modalNumberEdit", QStringLiteral("6"));
        Press(dialog, "okButton");
        QCOMPARE(std::pair(settings.ControlDisp, settings.ModalNumber), std::pair(0.12345, 6));
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
        AnalysisSettingDialog dialog(model, settings);
        dialog.show();
        Child<QComboBox>(&dialog, "analysisTypeCombo")->setCurrentIndex(1);
        Type(dialog, "controlNodeEdit", QStringLiteral("999"));
        Press(dialog, "okButton");
        QVERIFY2(boxes_.texts.size() == 1 && boxes_.texts[0].contains(QStringLiteral("999")),
                 qPrintable(boxes_.texts.join('\n')));
        QVERIFY(dialog.isVisible());
        QCOMPARE(std::pair(settings.AnalysisType, settings.ControlNode),
                 std::pair(TSettings().AnalysisType, TSettings().ControlNode));
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
        QCOMPARE(saved.size(), 1);
        QVERIFY(dialog.scriptText().startsWith(QStringLiteral("wipe")));
    }
};

QTEST_MAIN(SimpleDialogsTest)
#include "SimpleDialogsTest.moc"
