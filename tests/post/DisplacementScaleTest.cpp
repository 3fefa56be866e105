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

TModel ModelOf(const std::vector<Joint>& joints) {
    TModel m;
    m.Nodes.resize(1);
    for (const Joint& j : joints) {
        TNODE n;
        n.X = j.x;
        n.Y = j.y;
        n.Z = j.z;
        m.Nodes.push_back(n);
    }
    m.NodeCount = static_cast<int>(joints.size());
    return m;
}

TNodeField FieldOf(const std::vector<Joint>& joints) {
    TNodeField f;
    f.X = f.Y = f.Z = {0};
    for (const Joint& j : joints) {
        f.X.push_back(j.ux);
        f.Y.push_back(j.uy);
        f.Z.push_back(j.uz);
    }
    return f;
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
    for (const auto& c : cases) {
        const TModel m = ModelOf(c.joints);
        EXPECT_DOUBLE_EQ(AutomaticScale(m, LargestDisplacement(m, FieldOf(c.joints))), c.scale)
            << c.what;
    }
}

TEST(DisplacementScale, JointsPastTheModelAndEveryHistoryStepCount) {
    const TModel m = ModelOf({{0, 0, 0, 0, 0, 0}, {0, 0, 2000, 0, 0, 0}});
    TNodeField field = FieldOf({{0, 0, 0, 0, 0, 0}, {0, 0, 0, 2, 0, 0}});
    field.X.push_back(1e9); // a third entry: no joint of the model
    field.Y.push_back(0);
    field.Z.push_back(0);
    EXPECT_DOUBLE_EQ(AutomaticScale(m, LargestDisplacement(m, field)), 100);
    // Steps 1..3 of both joints; the largest, 8, at step 2.
    TNodeHistory h;
    h.Steps = 3;
    h.Stride = 3;
    h.X = {0, 0, 1, 0, 0, 8, 0, 0, 2};
    h.Y = h.Z = std::vector<double>(9, 0.0);
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
    EXPECT_EQ(AnimationInterval(30), 33);
    EXPECT_EQ(AnimationInterval(0), 60000);
}
