#include "tcl/gui/TclFileDialog.h"
#include "app/gui/ErrorBox.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace vandra;
using vandra::gui::TclFileDialog;

namespace {

struct Shown {
    QString title, text;
};

// Two joints, the lower one fixed, and one elastic column between them.
TModel Column() {
    TModel model;
    model.NodeCount = 2;
    model.Nodes.resize(3);
    model.Nodes[2].Z = 3000;
    for (int dof = 1; dof <= 6; ++dof)
        model.Nodes[1].Restraint[size_t(dof)] = 1;
    model.MatCount = 1;
    model.Mats.resize(2);
    model.Mats[1] = {"CONC", 1, 30000, 0.2, 12500};
    model.SectionCount = 1;
    model.Sections.resize(2);
    TSECTION& s = model.Sections[1];
    s.Name = "C500";
    s.Shape = kShapeRectangle;
    s.FrameType = kElasticBeamColumn;
    s.T[1] = 500;
    s.T[2] = 300;
    s.MatIdx = 1;
    s.GeoTransf = kLinear;
    model.FrameCount = 1;
    model.Frames.resize(2);
    TFRAME& f = model.Frames[1];
    f.SecName = "C500";
    f.SecIdx = 1;
    f.NodeI = 1;
    f.NodeJ = 2;
    f.Axis2X = 1;
    return model;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
    return file.readAll();
}

} // namespace

class TclFileDialogTest : public QObject {
    Q_OBJECT

    QList<Shown> shown_;

    static QPlainTextEdit* Text(QDialog& d) {
        return d.findChild<QPlainTextEdit*>(QStringLiteral("scriptText"));
    }
    static void Press(QDialog& d, const char* button) {
        QTest::mouseClick(d.findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
    }

private slots:
    void init() {
        shown_.clear();
        gui::SetErrorBoxHandler([this](const QString& title, const QString& text) {
            shown_.append({title, text});
        });
    }

    void initialState() {
        TModel model;
        TSettings settings;
        TclFileDialog dialog(model, settings);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("OpenSEES Tcl File"));
        QCOMPARE(dialog.findChild<QLabel*>()->text(), QStringLiteral("OpenSEES tcl File"));
        QPlainTextEdit* text = Text(dialog);
        QCOMPARE(text->toPlainText(), QStringLiteral("OpenSEES Tcl File"));
        QCOMPARE(text->lineWrapMode(), QPlainTextEdit::NoWrap);
        QVERIFY(text->font().fixedPitch());
        QCOMPARE(text->palette().color(QPalette::Text), QColor(Qt::green));
        QVERIFY(!text->isReadOnly());
    }

    void generateShowsTheScriptAndDiscardsEdits() {
        TModel model = Column();
        TSettings settings;
        TModel reference = model;
        ScriptLineList expected;
        GenerateScript(reference, settings, expected);

        TclFileDialog dialog(model, settings);
        dialog.show();
        Press(dialog, "generateButton");
        QVERIFY(shown_.isEmpty());
        QCOMPARE(dialog.scriptLines(), expected);
        const QStringList lines = dialog.scriptText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), qsizetype(expected.size()));
        for (size_t i = 0; i < expected.size(); ++i)
            QCOMPARE(lines[qsizetype(i)], QString::fromLatin1(expected[i]));
        QCOMPARE(lines.value(0), QStringLiteral("wipe"));
        QCOMPARE(lines.value(4), QStringLiteral("node 1 0.000E+000 0.000E+000 0.000E+000"));
        // Generation writes its derived values into the store.
        QCOMPARE(model.Frames[1].IntPts, settings.NumIntgrPts);

        Text(dialog)->appendPlainText(QStringLiteral("typed by the user"));
        Press(dialog, "generateButton");
        QCOMPARE(dialog.scriptText().split(QLatin1Char('\n')).size(), qsizetype(expected.size()));
    }

    void refusedSettingsKeepTheText() {
        TModel model = Column();
        TSettings settings;
        TclFileDialog dialog(model, settings);
        dialog.generate();
        const ScriptLineList before = dialog.scriptLines();
        Text(dialog)->setPlainText(QStringLiteral("edited\nscript"));

        settings.LoadSteps = 0;
        Press(dialog, "generateButton");
        QCOMPARE(shown_.size(), 1);
        QCOMPARE(shown_[0].title, QStringLiteral("MERVA"));
        QCOMPARE(shown_[0].text, QStringLiteral("Load Steps must be at least 1"));
        QCOMPARE(dialog.scriptText(), QStringLiteral("edited\nscript"));
        QCOMPARE(dialog.scriptLines(), before);
    }

    void saveWritesTheBoxLinesWithCrLf() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        TModel model;
        TSettings settings;
        TclFileDialog dialog(model, settings);
        const QString path = dir.filePath(QStringLiteral("model"));
        int asked = 0;
        dialog.setSavePathProvider([&] {
            ++asked;
            return path;
        });

        // User edits, an empty line and an 8-bit name go out as they stand.
        Text(dialog)->setPlainText(QString::fromLatin1("wipe\n\n## B\xE9ton\nanalyze 10"));
        Press(dialog, "saveButton");
        QCOMPARE(asked, 1);
        QVERIFY(shown_.isEmpty());
        QCOMPARE(ReadAll(path), QByteArray("wipe\r\n\r\n## B\xE9ton\r\nanalyze 10\r\n"));
        QVERIFY(!QFile::exists(path + QStringLiteral(".tcl")));

        // A generated script is saved line for line.
        model = Column();
        dialog.generate();
        QVERIFY(dialog.saveTo(path));
        QByteArray expected;
        for (const std::string& line : dialog.scriptLines())
            expected += QByteArray::fromStdString(line) + "\r\n";
        QCOMPARE(ReadAll(path), expected);
    }

    void cancelledSaveWritesNothing() {
        QTemporaryDir dir;
        TModel model;
        TSettings settings;
        TclFileDialog dialog(model, settings);
        dialog.setSavePathProvider([] { return QString(); });
        Press(dialog, "saveButton");
        QVERIFY(shown_.isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    }

    void fileThatCannotBeCreatedIsReported() {
        QTemporaryDir dir;
        TModel model;
        TSettings settings;
        TclFileDialog dialog(model, settings);
        const QString path = dir.filePath(QStringLiteral("no/such/folder/model.tcl"));
        dialog.setSavePathProvider([&] { return path; });
        Press(dialog, "saveButton");
        QCOMPARE(shown_.size(), 1);
        QCOMPARE(shown_[0].title, QStringLiteral("MERVA"));
        QVERIFY2(shown_[0].text.contains(path), qPrintable(shown_[0].text));
        QCOMPARE(dialog.scriptText(), QStringLiteral("OpenSEES Tcl File"));
        QVERIFY(!dialog.saveTo(path));
    }

    void closeHides() {
        TModel model;
        TSettings settings;
        TclFileDialog dialog(model, settings);
        dialog.show();
        Press(dialog, "closeButton");
        QVERIFY(!dialog.isVisible());
    }
};

QTEST_MAIN(TclFileDialogTest)
#include "TclFileDialogTest.moc"
