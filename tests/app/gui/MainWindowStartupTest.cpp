// The main window as it starts: the menus and tool bar its command table builds, and the view.
#include "app/gui/HelpPages.h"
#include "app/gui/MainWindow.h"
#include "view/gui/ModelViewWidget.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTest>
#include <QToolBar>

using namespace vandra;
using namespace vandra::gui;

class MainWindowStartupTest : public QObject {
    Q_OBJECT
private slots:
    void menusInOrderWithSeparators();
    void toolBarGroupsShareTheMenuActions();
    void everyCommandOnceWithItsOwnShortcutAndPicture();
    void refreshBeforeAnyImportShowsAnEmptyModel();
};

void MainWindowStartupTest::menusInOrderWithSeparators() {
    MainWindow window;
    // "-" stands for a separator; "!" marks an item that is present but disabled.
    const QList<QStringList> expected = {
        {"File", "Import Sap2000 txt file", "-", "Open Project", "Save Project", "-",
         "Sap2000V14 to Sap2000 v6 (s2k)"},
        {"View", "Pan", "Zoom All", "Rotate View", "Refresh", "-", "XY View", "XZ View", "YZ View",
         "-", "View Option", "Show Load"},
        {"Define", "Frame Section", "Material", "Shell Section", "-", "Recorder Setting",
         "Analysis Case"},
        {"Gen_tcl", "OpenSEES tcl File", "-", "Run OpenSEES"},
        {"Post", "Deformation", "!Force", "-", "Animation", "Node History"},
        {"Help", "VANDRA Tutorial", "-", "About"},
    };
    const QList<QAction*> menus = window.menuBar()->actions();
    QCOMPARE(menus.size(), expected.size());
    for (int m = 0; m < menus.size(); ++m) {
        QStringList seen{menus[m]->text()};
        for (QAction* item : menus[m]->menu()->actions()) {
            if (item->isSeparator())
                seen << "-";
            else
                seen << (item->isEnabled() ? "" : "!") + item->text();
        }
        QCOMPARE(seen, expected[m]);
    }
    // The help items find their pages from the build folder too.
    const QString here = QCoreApplication::applicationDirPath();
    for (const char* page : {"tutorial.html", "about.html"})
        QVERIFY2(!FindHelpPage(here, QString::fromLatin1(page)).isEmpty(), page);
}

void MainWindowStartupTest::toolBarGroupsShareTheMenuActions() {
    MainWindow window;
    auto* bar = window.findChild<QToolBar*>(QStringLiteral("commandToolBar"));
    QVERIFY(bar);
    QList<int> groups{0};
    QList<QAction*> buttons;
    for (QAction* a : bar->actions()) {
        if (a->isSeparator()) {
            groups << 0;
            continue;
        }
        ++groups.last();
        buttons << a;
    }
    QCOMPARE(groups, (QList<int>{1, 3, 7, 4, 3, 4}));
    const QList<Command> order = {Command::OpenModel,
                                  Command::FrameSections,
                                  Command::Materials,
                                  Command::ShellSections,
                                  Command::ViewXY,
                                  Command::ViewXZ,
                                  Command::ViewYZ,
                                  Command::ZoomAll,
                                  Command::Rotate,
                                  Command::Pan,
                                  Command::Refresh,
                                  Command::ShowLoads,
                                  Command::ViewOptions,
                                  Command::Select,
                                  Command::Idle,
                                  Command::AnalysisSettings,
                                  Command::RecorderSettings,
                                  Command::Script,
                                  Command::RunSolver,
                                  Command::ClearResults,
                                  Command::Deformation,
                                  Command::Animation};
    QCOMPARE(buttons.size(), order.size());
    for (int k = 0; k < order.size(); ++k)
        QCOMPARE(buttons[k], window.action(order[k]));
}

void MainWindowStartupTest::everyCommandOnceWithItsOwnShortcutAndPicture() {
    MainWindow window;
    QSet<int> commands;
    QSet<QString> shortcuts;
    QSet<QByteArray> pictures;
    for (const CommandRow& row : CommandTable()) {
        QVERIFY2(!commands.contains(int(row.command)), row.text);
        commands.insert(int(row.command));
        QAction* a = window.action(row.command);
        QCOMPARE(a->text(), QString::fromLatin1(row.text));
        // Two actions with one shortcut make it ambiguous: it then runs neither.
        if (!a->shortcut().isEmpty()) {
            QVERIFY2(!shortcuts.contains(a->shortcut().toString()), row.text);
            shortcuts.insert(a->shortcut().toString());
        }
        QCOMPARE(a->isEnabled(), bool(row.run));
        if (row.icon == nullptr) continue;
        // The picture comes from the resources through the SVG icon engine; each is its own.
        const QImage image = a->icon().pixmap(20, 20).toImage();
        QVERIFY2(!image.isNull(), row.icon);
        int inked = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                inked += image.pixelColor(x, y).alpha() > 0;
        QVERIFY2(inked > image.width() * image.height() / 10, row.icon);
        const QByteArray bits(reinterpret_cast<const char*>(image.constBits()),
                              image.sizeInBytes());
        QVERIFY2(!pictures.contains(bits), row.icon);
        pictures.insert(bits);
    }
}

void MainWindowStartupTest::refreshBeforeAnyImportShowsAnEmptyModel() {
    MainWindow window;
    window.viewOptions().ShownLoadCase = 2;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.viewOptions().ShownLoadCase, 0); // showing the window refreshes
    window.viewOptions().ShownLoadCase = 1;
    window.action(Command::Refresh)->trigger();
    QCOMPARE(window.viewOptions().ShownLoadCase, 0);
    for (int i = 3; i <= 15; i += 2) {
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("statusPanel%1").arg(i))->text(),
                 QStringLiteral("0"));
    }
    // The image follows the drawing area and shows the logo on white.
    const ModelViewWidget* view = window.modelView();
    QCOMPARE(view->image().size(), view->size());
    QCOMPARE(view->image().pixelColor(view->width() / 2, view->height() / 2), QColor(Qt::white));
}

QTEST_MAIN(MainWindowStartupTest)
#include "MainWindowStartupTest.moc"
