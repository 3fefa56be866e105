// Where the desktop program finds the OpenSees solver, as the command line does
// (model/SolverLocator.h): VANDRA_OPENSEES, beside its own executable, then on the PATH.
#pragma once

#include <QString>

namespace vandra::gui {

// The full path of the first solver found, or empty.
QString FindSolver(const QString& programDir);

// The message shown when FindSolver found nothing: names VANDRA_OPENSEES, or the directory and the
// PATH searched.
QString SolverNotFoundMessage(const QString& programDir);

} // namespace vandra::gui
