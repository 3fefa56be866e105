#include "app/gui/SolverLocator.h"

#include "model/SolverLocator.h"

#include <QDir>
#include <QFile>

namespace vandra::gui {

QString FindSolver(const QString& programDir) {
    const std::string found = vandra::FindSolver(QFile::encodeName(programDir).toStdString());
    return QFile::decodeName(QByteArray::fromStdString(found));
}

QString SolverNotFoundMessage(const QString& programDir) {
    return QString::fromLocal8Bit(vandra::SolverNotFoundMessage(
        QFile::encodeName(QDir::toNativeSeparators(programDir)).toStdString()));
}

} // namespace vandra::gui
