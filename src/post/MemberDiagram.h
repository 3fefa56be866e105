// The section forces along a member: from its section forces at end I, the loads on it and its
// section forces at end J. Forces.md gives the axes and signs. Along each stretch between the
// ends of load pieces the axial and shear forces are polynomials of degree 1 (uniform load) or 2
// (trapezoid), the moments of degree 2 or 3; torsion is constant. Both ends take the recorded
// values exactly: what equilibrium from end I leaves at end J (the rounding of the recorder's
// digits, the second-order terms of a P-Delta element) is spread linearly along the member.
#pragma once

#include "post/MemberLoads.h"

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

namespace vandra {

enum ForceComponent : int {
    kForceN = 0,  // axial force, tension positive
    kForceVy = 1, // shear along local y
    kForceVz = 2, // shear along local z
    kForceT = 3,  // torsion about local x
    kForceMy = 4, // moment about local y
    kForceMz = 5, // moment about local z
};
inline constexpr int kForceComponentCount = 6;

// "N", "Vy", "Vz", "T", "My", "Mz"; empty for a number that is not a component.
std::string_view ForceComponentName(int component);
// The component of that name (as ForceComponentName gives it), or -1.
int ForceComponentNamed(std::string_view name);
// What a positive value of the component is and on which side of the member its diagram is
// drawn, as the legends state it.
std::string_view ForceSignConvention(int component);

// The section forces of a member at end I and at end J, [component].
struct TEndForces {
    std::array<double, kForceComponentCount> I{}, J{};
};

// A value of a diagram and where along the member it is (length from end I).
struct TDiagramPoint {
    double X = 0;
    double Value = 0;
};

// The smallest and the largest value along the member, ends included (the first place along the
// member when a value is reached over a stretch).
struct TDiagramExtremes {
    TDiagramPoint Min, Max;
};

class TMemberDiagram {
public:
    // The diagram of a member of this length (> 0); the pieces are clipped to the member.
    void Build(double length, const TEndForces& ends, const TLoadPiece* pieces, size_t count);

    double Length() const { return length_; }
    double At(int component, double x) const;
    TDiagramExtremes Extremes(int component) const;
    // The extreme of the larger magnitude (Max on a tie).
    TDiagramPoint Peak(int component) const;
    // The points that draw the diagram: `stations` evenly spaced points from end to end (at least
    // 2), the ends of the load pieces and the interior extremes, in order along the member.
    void Points(int component, int stations, std::vector<TDiagramPoint>& out) const;

private:
    // c[0] + c[1] t + c[2] t^2 + c[3] t^3 with t = x - X0, per component.
    struct Interval {
        double X0 = 0, X1 = 0;
        std::array<std::array<double, 4>, kForceComponentCount> C{};
    };
    const Interval& IntervalAt(double x) const;
    // The places in (0, h) where the slope of c is zero, in order, in t; returns their count.
    static int Stationary(const std::array<double, 4>& c, double h, double t[2]);

    double length_ = 0;
    std::vector<Interval> intervals_;
    std::vector<double> cuts_;
};

} // namespace vandra
