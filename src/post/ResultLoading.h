// Loading what the windows and vandra-cli show into the results: the member forces of a step or
// their envelope, the reactions, the periods and participating masses, the storey drifts, and a
// step's displacements with its rotations. Each function reads into new tables and stores them
// only when every file it needs was read, so a failed read leaves the results as they were. The
// settings are those the script was generated with: they say which recorders it wrote.
#pragma once

#include "model/Model.h"
#include "post/Results.h"

#include <string>

namespace vandra {

// The member forces of `step` (from 1), or their envelope over every step (kEnvelopeStep), with
// the loads along the frames and the diagrams' shapes.
void LoadFrameForces(TResults& results, const TModel& model, const TSettings& settings,
                     const std::string& folder, int step);

// The reactions of every step; `step` (from 1, at most the steps recorded) or kEnvelopeStep is
// the one drawn.
void LoadReactions(TResults& results, const TModel& model, const TSettings& settings,
                   const std::string& folder, int step);

// The periods of a modal analysis with the participating masses: computed from the joints'
// masses and the mode shapes when the script recorded them (RecOpt 5), else read from the
// solver's report when it wrote one (RecModalReport), else the periods alone.
void LoadModalTable(TResults& results, const TModel& model, const TSettings& settings,
                    const std::string& folder);

// The displacement history of every node (every line) and the storey drifts it gives.
void LoadDrifts(TResults& results, const TModel& model, const std::string& folder);

// The displacements' envelope drawn as the deformed shape (ExtremeField) with the history it
// comes from; no rotations (the extremes of the joints come from different steps).
void LoadNodeEnvelope(TResults& results, const TModel& model, const std::string& folder);

// The shear of every storey at every step, from the element forces.
void LoadStoreyShears(TResults& results, const TModel& model, const TSettings& settings,
                      const std::string& folder);

// The node displacements of `step` and, when the script recorded them (RecRotations), the
// rotations of that step, which draw the frames curved.
void LoadNodeStep(TResults& results, const TModel& model, const TSettings& settings,
                  const std::string& folder, int step);

} // namespace vandra
