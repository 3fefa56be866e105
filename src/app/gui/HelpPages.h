// The two help pages, docs/tutorial.html and docs/about.html, shipped with the program, and the
// window that shows them: the program's own, so that help needs no web browser.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QTextBrowser;

namespace vandra::gui {

// The folders searched, in order: ../share/vandra/docs beside the executable (an installed
// program), then the source tree's docs folder (a program run from its build folder).
QStringList HelpFolders(const QString& programDir);

// The full path of the page fileName, or empty when no folder holds it.
QString FindHelpPage(const QString& programDir, const QString& fileName);

// "VANDRA Help": a page and the pages it links to (links to the web open in the browser).
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    // Shows the page at that path, titled with its title.
    void showPage(const QString& path);
    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_ = nullptr;
};

} // namespace vandra::gui
