// The main window as it starts: titles, size, menus, tool bar and status bar.
#include "app/gui/ErrorBox.h"
#include "app/gui/HelpPages.h"
#include "app/gui/MainWindow.h"
#include "app/gui/Startup.h"
#include "app/gui/ToolIcons.h"
#include "view/gui/ModelViewWidget.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace vandra;
using namespace vandra::gui;

class MainWindowStartupTest : public QObject {
    Q_OBJECT
private slots:
    void titlesAndSize();
    void menusInOrderWithSeparators();
    void toolBarGroupsShareTheMenuActions();
    void statusBarPanels();
    void refreshBeforeAnyImportShowsAnEmptyModel();
};

void MainWindowStartupTest::titlesAndSize() {
    SetApplicationTitle();
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("MERVA"));
    QString title;
    SetErrorBoxHandler([&](const QString& t, const QString&) { title = t; });
    ShowErrorBox(nullptr, QStringLiteral("x"));
    SetErrorBoxHandler(nullptr);
    QCOMPARE(title, QStringLiteral("MERVA"));

    MainWindow window;
    QVERIFY(window.windowTitle().startsWith(QStringLiteral("VANDRA")));
    QVERIFY(window.windowTitle().contains(QStringLiteral(VANDRA_VERSION_DATE)));
    QCOMPARE(window.size(), QSize(1228, 840));
    auto* panel = qobject_cast<QFrame*>(window.centralWidget());
    QVERIFY(panel);
    QCOMPARE(panel->frameShape(), QFrame::StyledPanel);
    QCOMPARE(panel->frameShadow(), QFrame::Sunken);
    QCOMPARE(window.modelView()->parentWidget(), panel);
}

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
    QCOMPARE(window.action(Command::OpenModel)->shortcut(), QKeySequence(QKeySequence::Open));
    QCOMPARE(window.action(Command::SaveProject)->shortcut(), QKeySequence(QKeySequence::Save));
    QCOMPARE(window.action(Command::Refresh)->shortcut(), QKeySequence(Qt::Key_F5));
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
        auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a));
        QVERIFY(button);
        QCOMPARE(button->size(), QSize(30, 26));
        QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
        QVERIFY2(!a->toolTip().isEmpty(), qPrintable(a->text()));
        QVERIFY2(!a->icon().isNull(), qPrintable(a->text()));
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

    // Every picture is its own drawing.
    QSet<qint64> pictures;
    for (int k = 0; k < kToolIconCount; ++k) {
        const QImage image = MakeToolIcon(ToolIcon(k)).pixmap(24, 24).toImage();
        QVERIFY(!image.isNull());
        pictures.insert(qHashBits(image.constBits(), image.sizeInBytes()));
    }
    QCOMPARE(pictures.size(), kToolIconCount);
}

void MainWindowStartupTest::statusBarPanels() {
    MainWindow window;
    const QStringList fixed = {"Operation", "",  "Node",  "0", "Frame", "0",
                               "Shell",     "0", "Solid", "0", "Mat",   "0",
                               "Fsec",      "0", "Wsec",  "0", ""};
    for (int i = 0; i < 17; ++i) {
        auto* label =
            window.statusBar()->findChild<QLabel*>(QStringLiteral("statusPanel%1").arg(i));
        QVERIFY2(label, qPrintable(QString::number(i)));
        QCOMPARE(label->text(), fixed[i]);
        QCOMPARE(label->width(), i == 0 ? 80 : 50);
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
