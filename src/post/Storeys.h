// Storeys of a building: its levels, the drift of each storey and the shear each storey carries.
//
// Levels come from the rigid diaphragms (one level per elevation that holds a diaphragm, the
// elevation of its master) or, in a model without diaphragms, from the distinct elevations of
// the joints; elevations within 1 mm are one. The lowest elevation of any joint is the base,
// level 0. A level's joints are all joints at its elevation; storey s (from 1) lies between
// levels s - 1 and s.
//
// A storey's drift ratio in X (and in Y) is the largest, by magnitude, over the joints of its top
// level that stand above a joint of its bottom level (the same plan position within 1 mm), of
// (top displacement - bottom displacement) / storey height. With diaphragms the masters count as
// such joints too. A storey without any such pair has no drift.
#pragma once

#include "model/Model.h"
#include "post/FrameForces.h"
#include "post/MemberLoads.h"
#include "post/ResultFields.h"
#include "post/ValueRange.h"

#include <string>
#include <vector>

namespace vandra {

struct TLevel {
    double Z = 0;
    std::vector<int> Joints; // in joint order
};

struct TLevels {
    std::vector<TLevel> Levels; // from the base up
    bool FromDiaphragms = false;
    double Tolerance = 0; // 1 mm in the model's length unit

    int StoreyCount() const { return Levels.size() > 1 ? static_cast<int>(Levels.size()) - 1 : 0; }
};

TLevels FindLevels(const TModel& model);

// The drift ratios of one storey at one step, and the top joints of the pairs they come from.
struct TStoreyDrift {
    double X = 0, Y = 0;
    int JointX = 0, JointY = 0;
};

struct TDrifts {
    int Steps = 0;
    std::vector<double> Bottom, Top;         // [s - 1]: the elevations of storey s's levels
    std::vector<int> Pairs;                  // [s - 1]: joints one above the other; 0: no drift
    std::vector<TStoreyDrift> Values;        // [(step - 1) * storeys + s - 1]
    std::vector<TValueRange> RangeX, RangeY; // [s - 1]: over the run (the profile's values)

    int StoreyCount() const { return static_cast<int>(Top.size()); }
    const TStoreyDrift& At(int step, int storey) const {
        return Values[static_cast<size_t>(step - 1) * Top.size() + static_cast<size_t>(storey - 1)];
    }
};

// A joint of a storey's top level above a joint of its bottom level (the pairs whose drifts make
// the storey's drift).
struct TStoreyPair {
    int Top = 0, Bottom = 0;
};

// Per storey ([s - 1]), its pairs: each joint of the top level, in joint order, with the joint of
// the bottom level at its plan position (within the tolerance), when there is one.
std::vector<std::vector<TStoreyPair>> StoreyPairs(const TModel& model, const TLevels& levels);

// The drifts of every storey at every step of a displacement history.
TDrifts ComputeDrifts(const TModel& model, const TLevels& levels, const TNodeHistory& history);

// The shear of one storey at one step: the horizontal force, in global X and Y, that the part of
// the building above the storey's mid-height puts on the part below, through the frames that
// cross that height (their section forces at the crossing, loads included). Frames without
// forces (rigid links) and shells and solids that cross it are counted in Missing: their share is
// not in X, Y. For the lowest storey of a frame building X, Y are minus the sums of the
// reactions.
struct TStoreyShear {
    double X = 0, Y = 0;
    int Frames = 0;
    int Missing = 0;
};

std::vector<TStoreyShear> StoreyShears(const TModel& model, const TLevels& levels,
                                       const TFrameLoads& loads, const TFrameForces& forces);

// The storey shears of every recorded step, read in one pass over the element force files.
struct TStoreyShearHistory {
    int Steps = 0, Storeys = 0;
    std::vector<double> Time;         // [step - 1]: the time column (the load factor)
    std::vector<TStoreyShear> Values; // [(step - 1) * Storeys + storey - 1]

    const TStoreyShear& At(int step, int storey) const {
        return Values[static_cast<size_t>(step - 1) * static_cast<size_t>(Storeys) +
                      static_cast<size_t>(storey - 1)];
    }
    // One storey's shear along X (direction 0) or Y (1) at every step.
    std::vector<double> Curve(int storey, int direction) const;
};

TStoreyShearHistory ReadStoreyShearHistory(const TModel& model, const TSettings& settings,
                                           const TLevels& levels, const std::string& folder);

} // namespace vandra
