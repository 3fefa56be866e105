// The converter window: Open S2k converts and logs, Save S2k writes CR LF lines, errors leave
// nothing half converted; the main window's File menu opens it.
#include "convert/gui/V14ConverterWindow.h"
#include "WidgetTest.h"
#include "app/gui/MainWindow.h"
#include "convert/V14TestSupport.h"

#include <QAction>
#include <QTemporaryDir>
#include <QtTest>

using namespace vandra;
using namespace vandra::testing;
using vandra::gui::V14ConverterWindow;

class V14ConverterWindowTest : public QObject {
    Q_OBJECT

    ErrorBoxes boxes_{true};
    QTemporaryDir dir_;

    QString Write(const char* name, const std::string& text) {
        const QString path = dir_.filePath(QString::fromLatin1(name));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(text.data(), static_cast<qint64>(text.size()));
        return path;
    }

private slots:
    void openConvertsAndSaveWritesCrLfLines() {
        V14ConverterWindow window;
        QCOMPARE(window.logText(), QString());
        QString openPath, savePath;
        window.setOpenPathProvider([&] { return openPath; });
        window.setSavePathProvider([&] { return savePath; });

        savePath = dir_.filePath(QStringLiteral("before.s2k"));
        Press(window, "saveButton"); // before any conversion: an empty file
        QCOMPARE(ReadAll(savePath), QByteArray());

        Press(window, "openButton"); // cancelled: nothing happens
        QCOMPARE(window.logText(), QString());

        openPath = Write("cube.s2k", v14_test::CubeFile());
        Press(window, "openButton");
        QVERIFY(boxes_.texts.isEmpty());
        QCOMPARE(window.logText(), QStringLiteral("VANDRA import Sap2000 V14 S2k file\nNJOINT = 8\n"
                                                  "NSOLID = 1\nFinish!!"));
        savePath = dir_.filePath(QStringLiteral("cube_v6.s2k"));
        Press(window, "saveButton");
        QByteArray expected;
        for (const std::string& line : v14_test::CubeV6Lines())
            expected += QByteArray::fromStdString(line) + "\r\n";
        QCOMPARE(ReadAll(savePath), expected);
    }

    void aFailedConversionLeavesNothingToSave() {
        V14ConverterWindow window;
        window.openFile(Write("cube.s2k", v14_test::CubeFile()));
        QCOMPARE(window.v6Lines().size(), v14_test::CubeV6Lines().size());

        std::string bad = v14_test::CubeFile();
        bad.replace(bad.find("Solid=1"), 7, "Solid=S1");
        window.openFile(Write("bad.s2k", bad));
        const QString message =
            QStringLiteral("Line 26 (CONNECTIVITY - SOLID): 'S1' is not a valid integer value");
        QCOMPARE(boxes_.texts, QStringList{QStringLiteral("MERVA: ") + message});
        QCOMPARE(window.logText(), message);
        QVERIFY(window.v6Lines().empty());

        QVERIFY(!window.saveFile(dir_.filePath(QStringLiteral("no/such/folder/x.s2k"))));
        QCOMPARE(boxes_.texts.size(), 2);
    }

    void theFileMenuOpensTheWindow() {
        gui::MainWindow main;
        QAction* convert = main.action(gui::Command::ConvertV14);
        QVERIFY(convert->isEnabled());
        convert->trigger();
        QVERIFY(main.v14ConverterWindow()->isVisible());
        QVERIFY(!main.v14ConverterWindow()->isModal());
    }
};

QTEST_MAIN(V14ConverterWindowTest)
#include "V14ConverterWindowTest.moc"
