// Diagrams along a member against beam formulas (tests/cases/post/member-diagrams.case), and the
// points that draw them.
#include "CaseFile.h"

#include "post/MemberDiagram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
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

TEndForces Ends(std::initializer_list<std::pair<int, std::pair<double, double>>> list) {
    TEndForces e;
    for (const auto& [c, ij] : list) {
        e.I[static_cast<size_t>(c)] = ij.first;
        e.J[static_cast<size_t>(c)] = ij.second;
    }
    return e;
}

// The cases of tests/cases/post/member-diagrams.case: the recorded end values at both ends, and the
// beam formulas along the member and at its extremes.
TEST(MemberDiagram, BeamFormulas) {
    const std::map<std::string, int> components = {{"N", kForceN},   {"Vy", kForceVy},
                                                   {"Vz", kForceVz}, {"T", kForceT},
                                                   {"My", kForceMy}, {"Mz", kForceMz}};
    const auto numbers = [](const std::string& line) {
        std::vector<double> v;
        for (const std::string& w : vandra::testing::Words(line.substr(line.find(' ') + 1)))
            v.push_back(vandra::testing::Expression::Of(w));
        return v;
    };
    TMemberDiagram d;
    for (const vandra::testing::TestCase& c : vandra::testing::ReadCases("post/member-diagrams.case")) {
        SCOPED_TRACE(c.where + ": " + c.title);
        TEndForces ends;
        for (const std::string& e : c.All("ends")) {
            const auto k = static_cast<size_t>(components.at(e.substr(0, e.find(' '))));
            ends.I[k] = numbers(e)[0];
            ends.J[k] = numbers(e)[1];
        }
        std::vector<TLoadPiece> pieces;
        for (const std::string& p : c.All("piece")) {
            const std::vector<double> v = numbers("- " + p);
            pieces.push_back(Piece(v[0], v[1], {v[2], v[3], v[4]}, {v[5], v[6], v[7]}));
        }
        d.Build(kL, ends, pieces.data(), pieces.size());
        for (int comp = 0; comp < kForceComponentCount; ++comp) {
            EXPECT_NEAR(d.At(comp, 0), ends.I[static_cast<size_t>(comp)], 1e-9) << comp;
            EXPECT_NEAR(d.At(comp, kL), ends.J[static_cast<size_t>(comp)], 1e-9) << comp;
        }
        for (const std::string key : {"at", "max", "min"})
            for (const std::string& e : c.All(key)) {
                const int comp = components.at(e.substr(0, e.find(' ')));
                const double x = numbers(e)[0], expected = numbers(e)[1];
                const TDiagramExtremes got = d.Extremes(comp);
                const TDiagramPoint p = key == "at" ? TDiagramPoint{x, d.At(comp, x)}
                                        : key == "max" ? got.Max : got.Min;
                EXPECT_NEAR(p.Value, expected, Tolerance(expected)) << key << " " << e;
                EXPECT_NEAR(p.X, x, 1e-9 * kL) << key << " " << e;
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
