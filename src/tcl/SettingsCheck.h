// Settings checked before a script is written: GenerateScript and the Analysis Setting dialog
// refuse, with the same message, a setting that would give a script the solver cannot run.
#pragma once

#include "model/Model.h"
#include "model/ModelCheck.h"

#include <string_view>

namespace vandra {

// Limits of the checked settings.
constexpr int kMinIntegrationPoints = 2;
constexpr int kMaxIntegrationPoints = 20;
constexpr int kDampingModes = 2; // the Rayleigh damping of types 5 to 7 is fitted to two modes
constexpr int kMultipleSupportJoints = 4; // the multiple-support template moves joints 1 to 4
// Above this many equations (six per joint, 200 joints) the dense eigen solver is too slow: all
// 350 modes of a 200-joint frame took 44 s in OpenSees 3.8 on a loaded machine, and the time grows
// with the cube of the equations.
constexpr long long kMaxDenseEigenEquations = 1200;

// Degrees of freedom that carry mass once the rigid diaphragms have tied their joints: the free
// ones of a joint with a mass in them, and per diaphragm the rank of the mass its joints give to
// the master's two translations and its twist.
int MassDofCount(const TModel& model);

// How the script asks the solver for eigenvalues.
enum class EigenSolver { kDefault, kDense };

// The most modes the script's eigen call can deliver for this model: the default (iterative)
// solver delivers half the degrees of freedom that carry mass; the dense one all of them, but
// only for models of at most kMaxDenseEigenEquations equations.
int MaxModes(const TModel& model);

// The eigen solver that computes `modes` modes of the model (modes within 1..MaxModes): the
// default solver when it can, else the dense one.
EigenSolver EigenSolverFor(const TModel& model, int modes);

// Modal Number 0 asks for this many modes, fewer when the model allows fewer.
constexpr int kAutomaticModes = 12;
// The modes the script computes: ModalNumber, or for 0 kAutomaticModes limited to MaxModes.
int ModesToCompute(const TModel& model, const TSettings& settings);

// False for an analysis setting (by its name in the settings table) that the script of this
// analysis type does not read: the load case stage, the displacement control stage, the modes.
bool AnalysisUses(int analysisType, std::string_view setting);

// The joint displacement control follows unless the engineer picks one: the highest master of a
// rigid diaphragm, else the highest joint free in dof and not tied to a diaphragm (the lower number
// on a tie); 0 when no joint qualifies.
int DefaultControlJoint(const TModel& model, int dof);

// What an import chooses from the model: the control joint above, and no more modes than the
// model's masses allow (Modal Number 0 stays: it already means that).
void ChooseSettingsForModel(const TModel& model, TSettings& settings);

// Throws InputError, naming the setting, its value and the allowed range, when a setting that the
// chosen analysis uses cannot give a script the solver runs.
void CheckSettings(const TModel& model, const TSettings& settings);

// What the engineer must know about the settings (the joints the multiple-support template
// moves); appended to warnings.
void AddSettingsWarnings(const TModel& model, const TSettings& settings, WarningList& warnings);

} // namespace vandra
