#include "app/gui/SolverLocator.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace vandra::gui {

QStringList SolverNames() {
    return {QStringLiteral("OpenSees"), QStringLiteral("opensees")};
}

QString FindSolver(const QString& programDir) {
    for (const QString& name : SolverNames()) {
        const QFileInfo beside(QDir(programDir).filePath(name));
        if (beside.isFile() && beside.isExecutable()) return beside.absoluteFilePath();
    }
    for (const QString& name : SolverNames()) {
        const QString onPath = QStandardPaths::findExecutable(name);
        if (!onPath.isEmpty()) return onPath;
    }
    return QString();
}

QString SolverNotFoundMessage(const QString& programDir) {
    const QString path = qEnvironmentVariable("PATH");
    return QStringLiteral("The OpenSees solver was not found. VANDRA looked for %1 in %2 and on "
                          "the PATH (%3). Place the solver beside VANDRA or on the PATH.")
        .arg(SolverNames().join(QStringLiteral(" and ")), QDir::toNativeSeparators(programDir),
             path.isEmpty() ? QStringLiteral("empty") : path);
}

} // namespace vandra::gui
