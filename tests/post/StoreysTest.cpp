// Levels of a building from its diaphragms or its elevations, and the drifts of its storeys from
// joints one above the other.
#include "post/Storeys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vandra;

namespace {

struct P {
    double x, y, z;
};

TModel JointsAt(const std::vector<P>& points, int unit = kLengthMM) {
    TModel m;
    m.LengthUnit = unit;
    m.Nodes.resize(1);
    m.Frames.resize(1);
    for (const P& p : points) {
        TNODE n;
        n.X = p.x;
        n.Y = p.y;
        n.Z = p.z;
        m.Nodes.push_back(n);
    }
    m.NodeCount = static_cast<int>(points.size());
    return m;
}

void AddDiaphragm(TModel& m, std::vector<int> slaves, int master) {
    if (m.Diaphs.empty()) m.Diaphs.resize(1);
    slaves.insert(slaves.begin(), 0);
    m.Diaphs.push_back(TDIAPH{static_cast<int>(slaves.size()) - 1, slaves, master});
    m.DiaphCount = static_cast<int>(m.Diaphs.size()) - 1;
}

TEST(Storeys, LevelsFromDiaphragmsOrElevations) {
    struct Case {
        const char* what;
        TModel model;
        bool fromDiaphragms;
        std::vector<double> z;
        std::vector<std::vector<int>> joints;
    };
    TModel braced = JointsAt(
        {{0, 0, 0}, {0, 0, 3000}, {5, 5, 1500}, {0, 0, 6000}, {3, 3, 3000.5}, {3, 3, 6000}});
    AddDiaphragm(braced, {2}, 5);
    AddDiaphragm(braced, {4}, 6);
    TModel ground = JointsAt({{0, 0, 0}, {1, 0, 0}, {0, 0, 3000}});
    AddDiaphragm(ground, {1}, 2);
    Case cases[] = {
        {"distinct elevations, 0.4 mm apart is one",
         JointsAt({{0, 0, 0}, {0, 0, 3000}, {0, 1, 3000.4}, {0, 0, 6000}}),
         false,
         {0, 3000.2, 6000},
         {{1}, {2, 3}, {4}}},
        {"in centimetres the tolerance is 0.1 cm",
         JointsAt({{0, 0, 0}, {0, 0, 300}, {0, 1, 300.05}, {0, 2, 300.2}}, kLengthCM),
         false,
         {0, 300.025, 300.2},
         {{1}, {2, 3}, {4}}},
        {"diaphragm levels and the base; the brace's middle joint is no level",
         braced,
         true,
         {0, 3000.5, 6000},
         {{1}, {2, 5}, {4, 6}}},
        {"a diaphragm at the lowest elevation is the base", ground, true, {0}, {{1, 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TLevels levels = FindLevels(c.model);
        EXPECT_EQ(levels.FromDiaphragms, c.fromDiaphragms);
        ASSERT_EQ(levels.Levels.size(), c.z.size());
        for (size_t k = 0; k < c.z.size(); ++k) {
            EXPECT_NEAR(levels.Levels[k].Z, c.z[k], 1e-9);
            EXPECT_EQ(levels.Levels[k].Joints, c.joints[k]);
        }
    }
}

// Two storeys of 3 m; at level 2 one joint stands over nothing. The storey's drift in each
// direction is the pair of the largest magnitude, sign kept.
TEST(Storeys, DriftsFromJointsOneAboveTheOther) {
    const TModel m = JointsAt({{0, 0, 0},
                               {6000, 0, 0},
                               {0, 0, 3000},
                               {6000, 0, 3000},
                               {0, 0, 6000},
                               {6000, 0, 6000},
                               {3000, 0, 6000}});
    const TLevels levels = FindLevels(m);
    ASSERT_EQ(levels.StoreyCount(), 2);
    TNodeHistory h;
    h.Steps = 2;
    h.Stride = 8;
    h.Time = {1, 2};
    h.X.assign(16, 0);
    h.Y.assign(16, 0);
    h.Z.assign(16, 0);
    // Step 1: level 1 moves 3 and 6 mm along X; level 2 moves 9 and 3; the lone joint 100.
    // Step 2: along Y, level 1 by -6 at joint 4 and 1.5 at joint 3.
    const double x1[] = {0, 0, 0, 3, 6, 9, 3, 100};
    const double y2[] = {0, 0, 0, 1.5, -6, 0, 0, 0};
    std::copy(x1, x1 + 8, h.X.begin());
    std::copy(y2, y2 + 8, h.Y.begin() + 8);
    const TDrifts d = ComputeDrifts(m, levels, h);
    EXPECT_EQ(d.Pairs, (std::vector<int>{2, 2}));
    EXPECT_DOUBLE_EQ(d.At(1, 1).X, 6 / 3000.0);
    EXPECT_EQ(d.At(1, 1).JointX, 4);
    EXPECT_DOUBLE_EQ(d.At(1, 2).X, 6 / 3000.0); // joint 5 over joint 3: 9 - 3
    EXPECT_EQ(d.At(1, 2).JointX, 5);
    EXPECT_DOUBLE_EQ(d.At(2, 1).Y, -6 / 3000.0);
    EXPECT_DOUBLE_EQ(d.At(2, 2).Y, 6 / 3000.0); // 0 over -6
    EXPECT_DOUBLE_EQ(d.RangeY[0].Min, -6 / 3000.0);
    EXPECT_EQ(d.RangeY[0].MinStep, 2);
    EXPECT_EQ(d.Top, (std::vector<double>{3000, 6000}));
}

} // namespace
