// The automatic displacement scale against hand values, and the animation's stepping.
#include "CaseFile.h"

#include "post/Animation.h"
#include "post/DisplacementScale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

using namespace vandra;

namespace {

// The automatic scale of a model of joints "x,y,z,ux,uy,uz" moved by their displacements.
double ScaleOf(const std::string& joints) {
    TModel m;
    m.Nodes.resize(1);
    TNodeField f;
    f.X = f.Y = f.Z = {0};
    for (std::string j : vandra::testing::Words(joints)) {
        std::replace(j.begin(), j.end(), ',', ' ');
        std::istringstream in(j);
        std::string v[6];
        in >> v[0] >> v[1] >> v[2] >> v[3] >> v[4] >> v[5];
        m.Nodes.push_back(TNODE{});
        m.Nodes.back().X = std::stod(v[0]), m.Nodes.back().Y = std::stod(v[1]);
        m.Nodes.back().Z = std::stod(v[2]);
        f.X.push_back(std::stod(v[3])), f.Y.push_back(std::stod(v[4])), f.Z.push_back(std::stod(v[5]));
    }
    m.NodeCount = static_cast<int>(m.Nodes.size()) - 1;
    return AutomaticScale(m, LargestDisplacement(m, f));
}

} // namespace

// The cases of tests/cases/post/displacement-scale.case.
TEST(DisplacementScale, LargestDisplacementAtATenthOfTheModel) {
    for (const vandra::testing::TestCase& c : vandra::testing::ReadCases("post/displacement-scale.case"))
        EXPECT_DOUBLE_EQ(ScaleOf(c.One("joints")), std::stod(c.One("scale"))) << c.where << ": " << c.title;
}

TEST(DisplacementScale, EveryStepOfAHistoryCountsAndJointsPastTheModelDoNot) {
    TModel m;
    m.Nodes.resize(3);
    m.Nodes[2].Z = 2000;
    m.NodeCount = 2;
    // Steps 1..3 of joints 1, 2 and of a third entry that is no joint; the largest, 8, at step 2.
    TNodeHistory h;
    h.Steps = 3;
    h.Stride = 4;
    h.X = {0, 0, 1, 1e9, 0, 0, 8, 1e9, 0, 0, 2, 1e9};
    h.Y = h.Z = std::vector<double>(12, 0.0);
    EXPECT_DOUBLE_EQ(AutomaticScale(m, LargestDisplacement(m, h)), 25);
}

TEST(Animation, StepsWrapAndModeShapesSwingThroughOnePeriod) {
    const struct {
        int k, delta, count, next;
    } steps[] = {{0, -1, 200, 199}, {199, 1, 200, 0}, {3, -8, 5, 0}, {7, 0, 5, 2}, {0, 1, 0, 0}};
    for (const auto& s : steps)
        EXPECT_EQ(StepAnimation(s.k, s.delta, s.count), s.next) << s.k << " " << s.delta;
    // A history shows step k + 1 at frame k; a mode shape at sin(2 pi k / count): a quarter
    // period is the full shape, half a period none, three quarters the shape reversed.
    EXPECT_EQ(AnimationFrameAt(AnimationMotion::History, 199, 200).Step, 200);
    const double factors[] = {0, 1, 0, -1};
    for (int q = 0; q < 4; ++q)
        EXPECT_NEAR(AnimationFrameAt(AnimationMotion::ModeShape, 10 * q, 40).Factor, factors[q],
                    1e-12);
}
