// Help > VANDRA Tutorial and About open their page in the program's one help window.
#include "app/gui/Commands.h"
#include "app/gui/HelpPages.h"
#include "app/gui/MainWindow.h"

#include <QAction>
#include <QTextBrowser>
#include <QtTest>

using namespace vandra::gui;

class HelpWindowTest : public QObject {
    Q_OBJECT
private slots:
    void pagesOpenInTheProgramsHelpWindow() {
        MainWindow window;
        const std::pair<Command, const char*> pages[] = {{Command::Tutorial, "tutorial.html"},
                                                         {Command::About, "about.html"}};
        for (const auto& [command, page] : pages) {
            window.action(command)->trigger();
            const QList<HelpWindow*> helps = window.findChildren<HelpWindow*>();
            QCOMPARE(helps.size(), 1);
            QVERIFY(helps[0]->isVisible());
            QCOMPARE(helps[0]->browser()->source().fileName(), QString::fromLatin1(page));
        }
    }
};

QTEST_MAIN(HelpWindowTest)
#include "HelpWindowTest.moc"
