// The distributed loads on the frame elements as the solver applies them, and the factor each
// load pattern has at a recorded step. The script writes every frame distributed load (TLOAD of
// kind kFrameDistributed: a SAP2000 trapezoid, a tabular load piece or self weight) as one
// "eleLoad -beamUniform" over the whole element in its local axes: model direction 1 along x,
// direction 2 along z, direction 3 against y (see LoadPattern in tcl/LoadAnalysisWriter.cpp).
// Only beam-column elements take it: the script writes a load along a truss as loads on its end
// joints (half at each) and leaves out a load on a rigid link, so neither gets a piece here.
#pragma once

#include "model/Model.h"
#include "post/FrameGeometry.h"

#include <array>
#include <cstddef>
#include <vector>

namespace vandra {

// A distributed load on a stretch of a member: from A to B (lengths from end I, A < B), force per
// length along local x, y, z growing linearly from WA at A to WB at B. A uniform load has WA = WB.
struct TLoadPiece {
    double A = 0, B = 0;
    Vec3 WA{}, WB{};
};

// The factors of the two patterns an analysis may apply: the pattern of settings.LoadCase (the
// load of a load-controlled analysis, the gravity before a pushover or a time history) and the
// pattern of settings.LoadVector (the push of a displacement-controlled analysis).
struct TLoadFactors {
    double LoadCase = 0;
    double LoadVector = 0;
};

// The recorded line whose time column the later stage holds as the gravity factor ("loadConst"):
// LoadSteps for a gravity then pushover or gravity then time history, 0 for the other analyses.
int HeldGravityLine(const TSettings& settings);

// The factors at recorded line `line` (from 1) whose time column is `time`; `heldTime` is the
// time column of line HeldGravityLine (ignored when it is 0). Load and displacement control
// record the load factor as the time; modal and ground-motion analyses apply no pattern.
TLoadFactors LoadFactorsAt(const TSettings& settings, int line, double time, double heldTime);

// The loads of the patterns an analysis applies, frame by frame.
class TFrameLoads {
public:
    TFrameLoads() = default;
    TFrameLoads(const TModel& model, const TSettings& settings);

    // Whether any pattern puts a load on frame f.
    bool Loaded(int frame) const;
    // Appends the pieces on frame f at these factors (each piece's loads times its factor).
    void PiecesOn(int frame, const TLoadFactors& factors, std::vector<TLoadPiece>& out) const;

private:
    struct Pattern {
        std::vector<size_t> Offset; // frame f's pieces are Pieces[Offset[f] .. Offset[f + 1])
        std::vector<TLoadPiece> Pieces;
    };
    Pattern loadCase_, loadVector_;
};

// The total force (global X, Y, Z) the applied patterns put on the structure at these factors:
// the joint forces and the distributed loads over their members' lengths, as the solver applies
// them (the loads along trusses at their end joints, those on rigid links left out). Under a
// static analysis the reactions sum to minus this.
Vec3 AppliedForce(const TModel& model, const TSettings& settings, const TLoadFactors& factors);

} // namespace vandra
