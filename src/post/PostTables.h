// The tables of the post-processing, as vandra-cli prints them (JSON, CSV) and the Post windows
// show them: named columns and rows of cells. One function a table, so that the command line and
// the window hold the same values.
//
// Envelope tables give every value as four columns NAMEMin, NAMEMinStep, NAMEMax, NAMEMaxStep.
#pragma once

#include "model/Model.h"
#include "post/Results.h"

#include <string>
#include <variant>
#include <vector>

namespace vandra {

// An empty cell, an integer, a number or a word.
using TCell = std::variant<std::monostate, long long, double, std::string>;

struct TTable {
    std::vector<std::string> Columns;
    std::vector<std::vector<TCell>> Rows; // each as many cells as Columns

    std::vector<TCell>& AddRow() { return Rows.emplace_back(); }
};

// A cell as the windows show it: a number rounded to 6 significant digits and written short
// (NumberText's general form), nothing for an empty cell.
std::string CellText(const TCell& cell);

// Per frame that has forces and per component: Frame, Component, I, J, Min, MinX, Max, MaxX at
// the loaded step (X: the length from end I); of an envelope, the ends' ranges and Min, MinX,
// MinStep, Max, MaxX, MaxStep along the member.
TTable ForceTable(const TModel& model, const TForceResults& forces);

// Per support joint FX, FY, FZ, MX, MY, MZ at `step` (from 1) or their envelope (kEnvelopeStep),
// then a row "Total" of their sums.
TTable ReactionTable(const TReactionHistory& reactions, int step);

// Per mode Mode, Period, Frequency, Eigenvalue, the ratios UX..RZ and their sums SumUX..SumRZ
// (empty cells when the masses are not known); `only` > 0 keeps that mode alone.
TTable ModalRows(const TModalTable& modal, int only);

// Per storey Storey, Bottom, Top, then DriftX, JointX, DriftY, JointY at `step` or their
// envelope; a storey without joints one above the other has empty cells.
TTable DriftTable(const TDrifts& drifts, int step);

// Per storey Storey, Bottom, Top, ShearX, ShearY, Frames, Missing at `step`, or the envelope of
// ShearX and ShearY over the steps (Frames and Missing of the last step). No rows for a step
// that was not recorded.
TTable StoreyShearTable(const TLevels& levels, const TStoreyShearHistory& shears, int step);

} // namespace vandra

namespace vandra {

// The base shear along X (direction 0) or Y (1) at every recorded step: minus the sum of the
// reactions, the horizontal load the supports carry.
std::vector<double> BaseShears(const TReactionHistory& reactions, int direction);

// The drift profile along X (0) or Y (1): the largest drift ratio by magnitude of each storey over
// the run, as a staircase of points (drift, height) from the base up, two a storey (its bottom
// and its top). Storeys without drift stand at 0.
struct TProfile {
    std::vector<double> Drift, Height;
};
TProfile DriftProfile(const TDrifts& drifts, int direction);

} // namespace vandra
