// Where VANDRA finds the OpenSees solver, in the window and on the command line alike: the
// executable the environment variable VANDRA_OPENSEES names, else one beside VANDRA's own
// executable, else one on the PATH, under the names OpenSees and opensees.
#pragma once

#include <string>
#include <vector>

namespace vandra {

inline constexpr const char* kSolverVariable = "VANDRA_OPENSEES";

// The executable names tried, in order.
const std::vector<std::string>& SolverNames();

// The absolute path of the solver, or empty when none is found (or VANDRA_OPENSEES names
// something that is not an executable file).
std::string FindSolver(const std::string& programDir);

// Why FindSolver found nothing: names what VANDRA_OPENSEES holds, or the folder and the PATH
// searched.
std::string SolverNotFoundMessage(const std::string& programDir);

} // namespace vandra
