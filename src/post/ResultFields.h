// The plain tables the recorder readers fill: displacements of the nodes, section values at the
// frame ends, displacement histories. Indexed like the model's tables (entry 0 unused); an empty
// table means that nothing has been loaded.
#pragma once

#include <cstddef>
#include <vector>

namespace vandra {

// X, Y, Z displacement of node i at [i], i = 1..NodeCount.
struct TNodeField {
    std::vector<double> X, Y, Z;
};

// Section deformation of one component at end I and end J of frame f at [f]. A frame whose element
// records no section values has HasI / HasJ 0 and is drawn without end circles.
struct TFrameEnds {
    std::vector<double> I, J;
    std::vector<unsigned char> HasI, HasJ;
    bool Any = false;        // some frame has a value
    double Min = 0, Max = 0; // the range over the values present (when Any)
};

// Displacement history: Steps recorded lines; step k (1..Steps) of node i at
// [(k - 1) * Stride + i], Stride = NodeCount + 1. Time[k - 1] is the recorded time column (the load
// factor of a displacement-controlled analysis).
struct TNodeHistory {
    int Steps = 0;
    size_t Stride = 0;
    std::vector<double> Time, X, Y, Z;

    const double* StepX(int k) const { return X.data() + static_cast<size_t>(k - 1) * Stride; }
    const double* StepY(int k) const { return Y.data() + static_cast<size_t>(k - 1) * Stride; }
    const double* StepZ(int k) const { return Z.data() + static_cast<size_t>(k - 1) * Stride; }
};

// One node's whole history: time column and its X, Y, Z displacement, line by line.
struct TJointHistory {
    std::vector<double> Time, X, Y, Z;
};

} // namespace vandra
