// A converted V14 model (solids, no material) gets a material in the Material dialog: a value that
// cannot be one is marked where typed and refused by Modify with the model unchanged; a sound one
// is given to the solids, lets the script be written and comes back from the project file.
#include "app/gui/ErrorBox.h"
#include "app/project/ProjectFile.h"
#include "convert/V14Converter.h"
#include "import/ModelFile.h"
#include "import/S2kImport.h"
#include "model/Errors.h"
#include "sections/gui/MaterialDialog.h"
#include "tcl/ScriptGenerator.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace vandra;
using namespace vandra::gui;

class AddMaterialTest : public QObject {
    Q_OBJECT
private slots:
    void addedWhereTyped() {
        QStringList shown;
        SetErrorBoxHandler([&](const QString&, const QString& text) { shown << text; });
        QTemporaryDir dir;
        const std::string s2k = dir.filePath("cube.s2k").toStdString();
        WriteV6File(
            s2k,
            ConvertV14(ReadS2kFile(VANDRA_SOURCE_DIR "/tests/cases/solver/cube_v14.s2k")).V6Lines);
        const struct {
            const char *name, *e, *u, *box, *message;
        } rows[] = {
            {"", "30000", "0.3", "nameEdit", "The new material needs a name"},
            {"MY BLOCK", "30000", "0.3", "nameEdit",
             "Material MY BLOCK: a material name holds no blank, control character or '='"},
            {"BLOCK", "3e4x", "0.3", "elasticModulusEdit",
             "Material BLOCK: E '3e4x' is not a valid floating point value"},
            {"BLOCK", "-1", "0.3", "elasticModulusEdit",
             "Material BLOCK: the elastic modulus E must be positive, not -1"},
            {"BLOCK", "30000", "0.5", "poissonRatioEdit",
             "Material BLOCK: Poisson's ratio U must be at least 0 and below 0.5, not 0.5"},
            {"BLOCK", "30000", "0.25", "", ""},
        };
        for (const auto& row : rows) {
            shown.clear();
            TModel model = ImportModelText(ReadS2kFile(s2k), s2k);
            const TModel before = model;
            ScriptLineList script;
            QVERIFY_THROWS_EXCEPTION(InputError, GenerateScript(model, TSettings(), script));
            MaterialDialog d(model);
            d.load();
            d.show();
            auto* add = d.findChild<QPushButton*>(QStringLiteral("addMaterialButton"));
            QVERIFY(add->isEnabled());
            add->click();
            const std::pair<const char*, const char*> typed[] = {
                {"nameEdit", row.name}, {"elasticModulusEdit", row.e}, {"poissonRatioEdit", row.u}};
            for (const auto& [box, text] : typed)
                d.findChild<QLineEdit*>(QLatin1String(box))->setText(QString::fromLatin1(text));
            for (const auto& [box, text] : typed)
                QCOMPARE(d.findChild<QLineEdit*>(QLatin1String(box))->property("fault").toBool(),
                         std::string_view(box) == row.box);
            QCOMPARE(d.findChild<QLabel*>(QStringLiteral("faultLabel"))->text(),
                     QString::fromLatin1(row.message));
            d.findChild<QPushButton*>(QStringLiteral("modifyButton"))->click();
            if (*row.box != '\0') {
                QCOMPARE(shown.value(0), QString::fromLatin1(row.message));
                QVERIFY2(model == before, row.message);
                continue;
            }
            QVERIFY(shown.isEmpty());
            QCOMPARE(model.MatCount, 1);
            QCOMPARE(model.Mats[1].G, 30000 / 2.5);
            QCOMPARE(model.Solids[1].SecNo, 1);
            QVERIFY(!add->isEnabled());
            GenerateScript(model, TSettings(), script);

            const std::string project = dir.filePath("cube.vandra").toStdString();
            project::SaveProject(project, model, TSettings(), TViewOptions(), s2k);
            QVERIFY(project::OpenProject(project).model.Model == model);
        }
    }
};

QTEST_MAIN(AddMaterialTest)
#include "AddMaterialTest.moc"
