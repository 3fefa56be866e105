// Levels of a building from its diaphragms or its elevations, and the drifts of its storeys from
// joints one above the other.
#include "CaseFile.h"

#include "post/Storeys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
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

// The cases of tests/cases/post/storeys.case.
TEST(Storeys, LevelsFromDiaphragmsOrElevations) {
    for (const vandra::testing::TestCase& c : vandra::testing::ReadCases("post/storeys.case")) {
        std::vector<P> points;
        for (std::string p : vandra::testing::Words(c.One("joints"))) {
            std::replace(p.begin(), p.end(), ',', ' ');
            std::istringstream in(p);
            points.emplace_back();
            in >> points.back().x >> points.back().y >> points.back().z;
        }
        TModel m = JointsAt(points, c.One("unit") == "cm" ? kLengthCM : kLengthMM);
        for (const std::string& d : c.All("diaphragm")) {
            std::vector<int> slaves;
            for (const std::string& w : vandra::testing::Words(d.substr(0, d.find('>'))))
                slaves.push_back(std::stoi(w));
            AddDiaphragm(m, slaves, std::stoi(d.substr(d.find('>') + 1)));
        }
        const TLevels levels = FindLevels(m);
        std::ostringstream got;
        got.precision(12);
        for (const TLevel& level : levels.Levels) {
            got << (&level == levels.Levels.data() ? "" : " | ") << level.Z << ":";
            for (int j : level.Joints)
                got << ' ' << j;
        }
        EXPECT_EQ(levels.FromDiaphragms, c.One("from") == "diaphragms") << c.where;
        EXPECT_EQ(got.str(), c.One("levels")) << c.where << ": " << c.title;
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
