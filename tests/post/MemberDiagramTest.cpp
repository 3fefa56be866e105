// Diagrams along a member against beam formulas: the section forces at the ends of a member in
// equilibrium with its loads (the sign convention of src/post/Forces.md), the values along it and
// its extremes.
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
        {"fixed at both ends, uniform load along +z: w L^2 / 12 at the ends, w L^2 / 24 between",
         Ends({{kForceVz, {kW * kL / 2, -kW * kL / 2}},
               {kForceMy, {-kW * kL * kL / 12, -kW * kL * kL / 12}}}),
         {Piece(0, kL, {0, 0, kW}, {0, 0, kW})},
         {{kForceMy, kL / 2, kW * kL * kL / 24}, {kForceMy, 0, -kW * kL * kL / 12}},
         {{kForceMy, true, kL / 2, kW * kL * kL / 24},
          {kForceMy, false, 0, -kW * kL * kL / 12},
          {kForceVz, true, 0, kW * kL / 2}}},
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
        {"cantilever fixed at I, tip load P along +z and +y, axial tension and torsion",
         Ends({{kForceN, {7, 7}},
               {kForceT, {-3, -3}},
               {kForceVz, {5, 5}},
               {kForceVy, {2, 2}},
               {kForceMy, {-5 * kL, 0}},
               {kForceMz, {2 * kL, 0}}}),
         {},
         {{kForceMy, kL / 3, -5 * kL * 2 / 3},
          {kForceMz, kL / 3, 2 * kL * 2 / 3},
          {kForceN, kL / 2, 7},
          {kForceT, kL, -3}},
         {{kForceMy, false, 0, -5 * kL}, {kForceMz, true, 0, 2 * kL}, {kForceN, true, 0, 7}}},
        {"axial load along +x halves the tension of a bar hanging from end I",
         Ends({{kForceN, {kW * kL, 0}}}),
         {Piece(0, kL, {kW, 0, 0}, {kW, 0, 0})},
         {{kForceN, kL / 2, kW * kL / 2}},
         {{kForceN, true, 0, kW * kL}, {kForceN, false, kL, 0}}},
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

// Diagrams are linear in what makes them: the diagram of two load systems together is the sum
// of their diagrams, wherever the pieces begin and end.
TEST(MemberDiagram, LoadsSuperpose) {
    const std::vector<TLoadPiece> a = {Piece(0, kL, {1, -2, 3}, {1, -2, 3}),
                                       Piece(kL / 3, kL / 2, {0, 5, -1}, {2, -7, 4})};
    const std::vector<TLoadPiece> b = {Piece(-100, kL / 5, {0, 3, 3}, {0, 1, -2}),
                                       Piece(0.6 * kL, kL + 50, {-1, 0, 2}, {-1, 0, 2})};
    std::vector<TLoadPiece> both = a;
    both.insert(both.end(), b.begin(), b.end());
    TEndForces ea, eb, eab;
    for (size_t c = 0; c < 6; ++c) {
        ea.I[c] = 100.0 * c - 70, ea.J[c] = 13.0 * c + 2;
        eb.I[c] = -40.0 * c + 9, eb.J[c] = 5.0 - 8.0 * c;
        eab.I[c] = ea.I[c] + eb.I[c], eab.J[c] = ea.J[c] + eb.J[c];
    }
    TMemberDiagram da, db, dab;
    da.Build(kL, ea, a.data(), a.size());
    db.Build(kL, eb, b.data(), b.size());
    dab.Build(kL, eab, both.data(), both.size());
    for (int comp = 0; comp < kForceComponentCount; ++comp)
        for (double x = 0; x <= kL; x += kL / 37)
            EXPECT_NEAR(dab.At(comp, x), da.At(comp, x) + db.At(comp, x), 1e-6)
                << "component " << comp << " at " << x;
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
