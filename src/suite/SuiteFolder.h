// The folder of a ground-motion suite, as the runners take it (motion/Running.md): the model
// written once and sourced by every run, each record once as the solver reads it, one folder per
// run with a small run.tcl that names its record, time step, number of steps and scale, and
// manifest.json. Suites.md tells the layout and what a run computes.
#pragma once

#include "model/Model.h"
#include "model/ModelCheck.h"
#include "motion/Manifest.h"
#include "motion/Suite.h"
#include "tcl/ScriptLineList.h"
#include "tcl/TagPlan.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vandra::suite {

inline constexpr const char* kModelScript = "model.tcl";
inline constexpr const char* kGroundMotionScript = "ground-motion.tcl";
inline constexpr const char* kRecordsFolder = "records";
inline constexpr const char* kPeriodFolder = "period";

// Two joints one above the other in a storey, by node tag, and the storey's height.
struct DriftPair {
    int top = 0, bottom = 0;
    double height = 0;
};

// The nodes whose motion gives a run's peaks.
struct PeakNodes {
    std::vector<DriftPair> pairs; // of every storey (post/Storeys.h)
    std::vector<int> roof;        // the joints of the top level
    std::vector<int> base;        // the nodes whose reactions are the base shear
    std::vector<int> imposed;     // multiple support: the supports the record moves
};

// The nodes of the model for a motion along `direction`. InputError for a model without storeys
// (no joint above a joint of a lower level: no drift), without supports, or, for a multiple
// support excitation, without a joint restrained along the direction.
PeakNodes PeakNodesOf(const TModel& model, const TagPlan& tags, int direction, int analysisType);

// ground-motion.tcl: the prelude (gravity of type 6, the damping), the node lists, and
// RunGroundMotion, which applies a record, steps through it tracking the peaks and writes
// outcome.txt.
void WriteGroundMotionScript(const TModel& model, const TSettings& settings,
                             const ScriptLineList& prelude, const PeakNodes& nodes, int direction,
                             ScriptLineList& lines);

// The model written once for a suite: model.tcl and ground-motion.tcl in dir (made when missing),
// after the checks of the script generator. The settings' analysis type must be 5, 6 or 7; the
// direction and the damping come from the suite.
void WriteSuiteScripts(const TModel& model, const TSettings& settings, const motion::Suite& suite,
                       const std::string& dir, WarningList* warnings = nullptr);

// The first period of the model, in seconds, from a modal run of the solver (an absolute path)
// on dir/model.tcl, in dir/period. InputError with the solver's message when it gives none.
double RunFirstPeriod(const TModel& model, const std::string& dir, const std::string& solver);

// Plans the runs (motion::PlanSuite with T1 = period), writes each usable record once under
// dir/records, a folder with run.tcl for each run of a usable record, and the manifest; returns
// it. The scale of a run, in g, becomes the factor of the record in the model's units.
motion::Manifest WriteSuiteRuns(const TModel& model, const motion::Suite& suite,
                                std::optional<double> period, const std::string& dir);

// The whole folder: refuses (InputError) a folder that already holds a suite, writes the scripts,
// runs the modal analysis when the suite has levels without a period (findSolver gives the solver
// then; it throws when there is none), and writes the runs.
motion::Manifest WriteSuite(const TModel& model, const TSettings& settings,
                            const motion::Suite& suite, const std::string& dir,
                            const std::function<std::string()>& findSolver,
                            WarningList* warnings = nullptr);

} // namespace vandra::suite
