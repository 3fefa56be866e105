// Where the desktop program finds the OpenSees solver: beside its own executable first, then on
// the PATH, under the names OpenSees and opensees.
#pragma once

#include <QString>
#include <QStringList>

namespace vandra::gui {

// The executable names tried, in order.
QStringList SolverNames();

// The full path of the first solver found, or empty.
QString FindSolver(const QString& programDir);

// The message shown when FindSolver found nothing: names the directory and the PATH searched.
QString SolverNotFoundMessage(const QString& programDir);

} // namespace vandra::gui
