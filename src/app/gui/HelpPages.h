// The two help pages, docs/tutorial.html and docs/about.html, shipped with the program.
#pragma once

#include <QString>
#include <QStringList>

namespace vandra::gui {

// The folders searched, in order: ../share/vandra/docs beside the executable (an installed
// program), then the source tree's docs folder (a program run from its build folder).
QStringList HelpFolders(const QString& programDir);

// The full path of the page fileName, or empty when no folder holds it.
QString FindHelpPage(const QString& programDir, const QString& fileName);

} // namespace vandra::gui
