// Diagrams along a member against beam formulas for loads the solver checks do not bring (partial
// and triangular loads, an axial load): the section forces at the ends of a member in equilibrium
// with its loads (the sign convention of src/post/Forces.md), the values along it and its
// extremes.
#include "post/MemberDiagram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace vandra;

namespace {

constexpr double kL = 6000;
constexpr double kW = 20; // force per length

double Tolerance(double expected) {
    return 1e-6 + 1e-12 * std::abs(expected);
}

TLoadPiece Piece(double a, double b, Vec3 wa, Vec3 wb) {
    return TLoadPiece{a, b, wa, wb};
}

struct Value {
    int component;
    double x;
    double expected;
};

struct Extreme {
    int component;
    bool max; // the largest, else the smallest
    double x;
    double expected;
};

struct Case {
    const char* what;
    TEndForces ends;
    std::vector<TLoadPiece> pieces;
    std::vector<Value> values;
    std::vector<Extreme> extremes;
};

TEndForces Ends(std::initializer_list<std::pair<int, std::pair<double, double>>> list) {
    TEndForces e;
    for (const auto& [c, ij] : list) {
        e.I[static_cast<size_t>(c)] = ij.first;
        e.J[static_cast<size_t>(c)] = ij.second;
    }
    return e;
}

std::vector<Case> Cases() {
    const double r3 = std::sqrt(3.0);
    return {
        {"simply supported, uniform load along +y: M = -w L^2 / 8 at mid-span",
         Ends({{kForceVy, {kW * kL / 2, -kW * kL / 2}}}),
         {Piece(0, kL, {0, kW, 0}, {0, kW, 0})},
         {{kForceMz, kL / 2, -kW * kL * kL / 8},
          {kForceMz, kL / 4, -3 * kW * kL * kL / 32},
          {kForceVy, kL / 4, kW * kL / 4},
          {kForceVy, kL / 2, 0}},
         {{kForceMz, false, kL / 2, -kW * kL * kL / 8}, {kForceMz, true, 0, 0}}},
        {"simply supported, load along +y rising from 0 to w: extreme w L^2 / (9 sqrt 3) at L / "
         "sqrt 3",
         Ends({{kForceVy, {kW * kL / 6, -kW * kL / 3}}}),
         {Piece(0, kL, {0, 0, 0}, {0, kW, 0})},
         {{kForceMz, kL / 2, -kW * kL * kL / 16}, {kForceVy, kL / r3, 0}},
         {{kForceMz, false, kL / r3, -kW * kL * kL / (9 * r3)},
          {kForceVy, false, kL, -kW * kL / 3}}},
        {"simply supported, uniform load along -y on the middle half: 3 w L^2 / 32 at mid-span",
         Ends({{kForceVy, {-kW * kL / 4, kW * kL / 4}}}),
         {Piece(kL / 4, 3 * kL / 4, {0, -kW, 0}, {0, -kW, 0})},
         {{kForceMz, kL / 2, 3 * kW * kL * kL / 32},
          {kForceMz, kL / 4, kW * kL * kL / 16},
          {kForceVy, kL / 8, -kW * kL / 4},
          {kForceVy, 7 * kL / 8, kW * kL / 4}},
         {{kForceMz, true, kL / 2, 3 * kW * kL * kL / 32}}},
        {"what equilibrium leaves at end J is spread linearly: both ends as recorded",
         Ends({{kForceMz, {0, 10}}, {kForceN, {4, 6}}}),
         {},
         {{kForceMz, kL / 2, 5}, {kForceMz, kL, 10}, {kForceN, kL / 4, 4.5}},
         {{kForceMz, true, kL, 10}, {kForceMz, false, 0, 0}}},
    };
}

TEST(MemberDiagram, BeamFormulas) {
    TMemberDiagram d;
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.what);
        d.Build(kL, c.ends, c.pieces.data(), c.pieces.size());
        for (int comp = 0; comp < kForceComponentCount; ++comp) {
            EXPECT_NEAR(d.At(comp, 0), c.ends.I[static_cast<size_t>(comp)], 1e-9) << comp;
            EXPECT_NEAR(d.At(comp, kL), c.ends.J[static_cast<size_t>(comp)], 1e-9) << comp;
        }
        for (const Value& v : c.values)
            EXPECT_NEAR(d.At(v.component, v.x), v.expected, Tolerance(v.expected))
                << "component " << v.component << " at " << v.x;
        for (const Extreme& e : c.extremes) {
            const TDiagramExtremes got = d.Extremes(e.component);
            const TDiagramPoint& p = e.max ? got.Max : got.Min;
            EXPECT_NEAR(p.Value, e.expected, Tolerance(e.expected)) << "component " << e.component;
            EXPECT_NEAR(p.X, e.x, 1e-9 * kL) << "component " << e.component;
        }
    }
}

// The points that draw a diagram hold its ends, the ends of its load pieces and its interior
// extreme, in order, each with the diagram's value; no point of a fine sampling goes beyond the
// extremes.
TEST(MemberDiagram, PointsHoldEndsPieceEndsAndExtremes) {
    const std::vector<TLoadPiece> pieces = {Piece(kL / 5, 0.7 * kL, {0, -kW, 0}, {0, -3 * kW, 0})};
    const TEndForces ends = Ends({{kForceVy, {-kW * kL / 3, kW * kL / 5}}, {kForceMz, {0, 0}}});
    TMemberDiagram d;
    d.Build(kL, ends, pieces.data(), pieces.size());
    std::vector<TDiagramPoint> points;
    d.Points(kForceMz, 5, points);
    const TDiagramExtremes e = d.Extremes(kForceMz);
    std::vector<double> wanted = {0, kL / 5, 0.7 * kL, kL, e.Min.X, e.Max.X};
    for (double x : wanted) {
        bool found = false;
        for (const TDiagramPoint& p : points)
            found = found || std::abs(p.X - x) < 1e-9;
        EXPECT_TRUE(found) << x;
    }
    for (size_t k = 0; k < points.size(); ++k) {
        EXPECT_DOUBLE_EQ(points[k].Value, d.At(kForceMz, points[k].X));
        if (k > 0) {
            EXPECT_LT(points[k - 1].X, points[k].X);
        }
    }
    for (double x = 0; x <= kL; x += kL / 1000) {
        EXPECT_LE(d.At(kForceMz, x), e.Max.Value + 1e-6);
        EXPECT_GE(d.At(kForceMz, x), e.Min.Value - 1e-6);
    }
    EXPECT_GT(e.Max.X, 0);
    EXPECT_LT(e.Max.X, kL);
}

} // namespace
