// vandra: the desktop program. "vandra FILE.s2k" imports that model at start, "vandra
// FILE.vandra" opens that project; without an argument the program starts with an empty model.
#include "app/gui/MainWindow.h"
#include "app/gui/Startup.h"

#include <QApplication>
#include <QStringList>

#include <csignal>

int main(int argc, char** argv) {
#ifdef SIGXFSZ
    // Past the file size limit (ulimit -f) a save fails with a message instead of ending the
    // program.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication app(argc, argv);
    vandra::gui::SetApplicationTitle();

    vandra::gui::MainWindow window;
    window.show();
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) window.openFile(arguments.at(1));
    return app.exec();
}
