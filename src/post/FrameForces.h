// Readers of the element force files ("ele%d.out", localForce; "ele%d_axial.out", axialForce of
// the corotational trusses): the section forces at both ends of every frame (Forces.md gives the
// axes and signs), at one recorded step or folded over every step into envelopes. Each file holds
// the frames of its element block in tag order, each with as many columns as its element writes
// (recorder::ElementForceCount). Reads are all or nothing, and errors name the file, the line and
// the column, as the other recorder readers do.
#pragma once

#include "model/Model.h"
#include "post/MemberDiagram.h"
#include "post/MemberLoads.h"
#include "post/ValueRange.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace vandra {

// What a frame's element gives in the element force files.
enum class ForceKind : unsigned char {
    None = 0,  // nothing: a rigid link (a constraint: the translations are tied, its zero-length
               // element's three moments are skipped), a frame without an element
    Axial = 1, // N only: trussSection (from localForce), corotTrussSection (from axialForce)
    Beam = 2,  // N, Vy, Vz, T, My, Mz at both ends: every beam-column element
};
ForceKind ForceKindOf(int frameType);

// The section forces at both ends of every frame at one recorded step, [frame] (entry 0 unused).
struct TFrameForces {
    int Step = 0;
    double Time = 0;      // the time column: the load factor of a static analysis
    TLoadFactors Factors; // the factors of the applied patterns at this step
    std::vector<ForceKind> Kind;
    std::vector<TEndForces> Ends;
};

// Line `step` (from 1) of every element force file.
TFrameForces ReadFrameForces(const TModel& model, const TSettings& settings,
                             const std::string& folder, int step);

// The diagram of frame f at the step of `forces`: its end forces and the loads on it at that
// step's factors. False (diagram untouched) for a frame without forces or without length.
bool BuildFrameDiagram(const TModel& model, const TFrameLoads& loads, const TFrameForces& forces,
                       int frame, TMemberDiagram& diagram);

// One frame's section forces at one recorded line, as ScanFrameForces hands them over.
struct TFrameStepForces {
    int Frame = 0;
    ForceKind Kind = ForceKind::None;
    TEndForces Ends;
};

// Every recorded line of every element force file, block by block: visit(step, time, factors,
// frames of the block with forces). Every file must hold as many lines as the first one read;
// returns that count. An error stops the scan at once (what was visited stays visited).
using FrameForceVisitor = std::function<void(int step, double time, const TLoadFactors& factors,
                                             const std::vector<TFrameStepForces>& frames)>;
int ScanFrameForces(const TModel& model, const TSettings& settings, const std::string& folder,
                    const FrameForceVisitor& visit);

// The smallest and largest value along the member over the steps, with places and steps.
struct TAlongRange {
    TDiagramPoint Min, Max;
    int MinStep = 0, MaxStep = 0;
};

struct TComponentEnvelope {
    TValueRange I, J;  // at the ends
    TAlongRange Along; // anywhere along the member, ends included
};

// The envelope of every frame's section forces over every recorded step, [frame][component].
struct TFrameForceEnvelope {
    int Steps = 0;
    std::vector<ForceKind> Kind;
    std::vector<std::array<TComponentEnvelope, kForceComponentCount>> Frames;
};

TFrameForceEnvelope ReadFrameForceEnvelope(const TModel& model, const TSettings& settings,
                                           const std::string& folder);

} // namespace vandra
