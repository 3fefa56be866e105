#include "tcl/gui/TclFileDialog.h"
#include "app/gui/ErrorBox.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace vandra;
using vandra::gui::TclFileDialog;

class TclFileDialogTest : public QObject {
    Q_OBJECT

    QStringList messages_;

    static void Press(QDialog& d, const char* button) {
        QTest::mouseClick(d.findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
    }
    static QByteArray ReadAll(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

private slots:
    void init() {
        messages_.clear();
        gui::SetErrorBoxHandler([this](const QString& title, const QString& text) {
            messages_ << title + QStringLiteral(": ") + text;
        });
    }

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

QTEST_MAIN(TclFileDialogTest)
#include "TclFileDialogTest.moc"
