// Results read back from the solver's recorder files, kept beside the model: the displacements
// drawn at the nodes (one load step or one mode shape) with the rotations of that step, the
// section deformations at the frame ends, the displacement history of every node, the member
// forces of one step or their envelope, the reactions of every step, the periods and
// participating masses of a modal analysis, the storey drifts and the storey shears of every
// step. Tables are indexed like the
// model's (entry 0 unused); an empty table means that nothing has been loaded.
#pragma once

#include "post/DiagramShapes.h"
#include "post/FrameForces.h"
#include "post/MemberLoads.h"
#include "post/ModalTable.h"
#include "post/Reactions.h"
#include "post/ResultFields.h"
#include "post/Storeys.h"

#include <vector>

namespace vandra {

// The step a result shows: a recorded line (from 1), or the envelope over every line.
inline constexpr int kEnvelopeStep = -1;

// The member forces of one step, or their envelope, and what draws their diagrams.
struct TForceResults {
    int Step = 0;                 // the step loaded, kEnvelopeStep, or 0 before any load
    TFrameForces AtStep;          // when Step >= 1
    TFrameForceEnvelope Envelope; // when Step is kEnvelopeStep
    TFrameLoads Loads;            // the loads along the frames, for the values between the ends
    TDiagramShapes Shapes;        // the shapes of the loaded frames' diagrams at the step

    bool Loaded() const { return Step != 0; }
};

struct TResults {
    TNodeField Disp;
    TNodeField Rotations; // of the step of Disp, when recorded: frames are drawn curved
    TFrameEnds Ends;
    TNodeHistory History;
    TForceResults Forces;
    TReactionHistory Reactions;
    int ReactionStep = 1; // the step whose reactions are drawn, or kEnvelopeStep
    TModalTable Modal;
    TDrifts Drifts;
    TStoreyShearHistory StoreyShears;
    // The colour range of the end circles: ResultMin and below take the first colour step,
    // ResultMax and above the last.
    double ResultMin = -0.0001;
    double ResultMax = 0.0001;
};

// The clear-results command: every displacement and frame end value becomes 0 (which frames have
// values stays known), the rotations, member forces and reactions go (the view draws neither
// curved frames, diagrams nor arrows); the history, the modal table, the drifts and the colour
// range stay.
void ClearResults(TResults& results);

// Keeps the section values of the frame ends; when some frame has a value, the colour range
// becomes the range of the values.
void TakeSectionValues(TResults& results, TFrameEnds ends);

} // namespace vandra
