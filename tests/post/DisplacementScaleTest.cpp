// The automatic displacement scale against hand values, and the animation's stepping.
#include "post/Animation.h"
#include "post/DisplacementScale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace vandra;

namespace {

struct Joint {
    double x, y, z;    // place
    double ux, uy, uz; // displacement
};

// The automatic scale of a model of these joints moved by their displacements.
double ScaleOf(const std::vector<Joint>& joints) {
    TModel m;
    m.Nodes.resize(1);
    TNodeField f;
    f.X = f.Y = f.Z = {0};
    for (const Joint& j : joints) {
        m.Nodes.push_back(TNODE{});
        m.Nodes.back().X = j.x, m.Nodes.back().Y = j.y, m.Nodes.back().Z = j.z;
        f.X.push_back(j.ux), f.Y.push_back(j.uy), f.Z.push_back(j.uz);
    }
    m.NodeCount = static_cast<int>(joints.size());
    return AutomaticScale(m, LargestDisplacement(m, f));
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();

} // namespace

TEST(DisplacementScale, LargestDisplacementAtATenthOfTheModel) {
    const struct {
        const char* what;
        std::vector<Joint> joints;
        double scale;
    } cases[] = {
        // 0.1 * 3000 / |(12, 0, 5)| = 300 / 13 = 23.08
        {"column, tip moves 13", {{0, 0, 0, 0, 0, 0}, {0, 0, 3000, 12, 0, 5}}, 23},
        // the largest side of the box counts: 0.1 * 10000 / 0.5
        {"frame 10000 x 4000", {{0, 0, 0, 0, 0, 0}, {10000, 0, 4000, 0.5, 0, 0}}, 2000},
        // a mode shape normalised to 1 on a model far from the origin: 0.1 * 6000 / 1
        {"mode shape", {{-5e5, 2e5, 0, 0, 0, 0}, {-5e5, 2e5 - 6000, 100, 0, -1, 0}}, 600},
        // 0.1 * 1000 / 0.0137 = 7299.3, two digits
        {"rounded", {{0, 0, 0, 0, 0.0137, 0}, {1000, 0, 0, 0, 0, 0}}, 7300},
        {"a value that is not a number is passed over",
         {{0, 0, 0, kNaN, 0, 0}, {0, 1000, 0, 3, 4, 0}},
         20},
        {"nothing moves", {{0, 0, 0, 0, 0, 0}, {0, 0, 3000, 0, 0, 0}}, 1},
        {"one joint has no size", {{5, 5, 5, 1, 0, 0}}, 1},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(ScaleOf(c.joints), c.scale) << c.what;
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
