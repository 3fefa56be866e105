#include "app/gui/HelpPages.h"

#include <QDir>
#include <QFileInfo>

namespace vandra::gui {

QStringList HelpFolders(const QString& programDir) {
    return {QDir::cleanPath(QDir(programDir).filePath(QStringLiteral("../share/vandra/docs"))),
            QDir::cleanPath(QStringLiteral(VANDRA_DOCS_DIR))};
}

QString FindHelpPage(const QString& programDir, const QString& fileName) {
    for (const QString& folder : HelpFolders(programDir)) {
        const QFileInfo page(QDir(folder).filePath(fileName));
        if (page.isFile()) return page.absoluteFilePath();
    }
    return QString();
}

} // namespace vandra::gui
