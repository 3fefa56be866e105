// The drift profile and the base shears the post windows plot, from hand-made results: the
// profile keeps each storey's drift of the larger magnitude with its sign, a storey without
// joints one above the other stands at 0, and the base shear is minus the reactions' sum.
#include "post/PostTables.h"

#include <gtest/gtest.h>

using namespace vandra;

TEST(PostTables, DriftProfileAndBaseShears) {
    TDrifts d;
    d.Steps = 2;
    d.Bottom = {0, 3000, 6000};
    d.Top = {3000, 6000, 9000};
    d.Pairs = {4, 4, 0};
    d.RangeX = {{-0.02, 0.01, 2, 1}, {-0.001, 0.003, 1, 2}, {}};
    d.RangeY = {{0, 0.004, 1, 2}, {-0.005, 0, 2, 1}, {}};
    const struct {
        int direction;
        std::vector<double> drift;
    } cases[] = {
        {0, {-0.02, -0.02, 0.003, 0.003, 0, 0}},
        {1, {0.004, 0.004, -0.005, -0.005, 0, 0}},
    };
    for (const auto& c : cases) {
        const TProfile p = DriftProfile(d, c.direction);
        EXPECT_EQ(p.Drift, c.drift) << "direction " << c.direction;
        EXPECT_EQ(p.Height, (std::vector<double>{0, 3000, 3000, 6000, 6000, 9000}));
    }

    TReactionHistory r;
    r.Steps = 2;
    r.Time = {0.5, 1};
    r.Joints = {1, 2};
    r.Values = {{-10, 4, 100, 0, 0, 0}, {-15, -1, 50, 0, 0, 0},
                {-20, 8, 200, 0, 0, 0}, {-30, -2, 100, 0, 0, 0}};
    EXPECT_EQ(BaseShears(r, 0), (std::vector<double>{25, 50}));
    EXPECT_EQ(BaseShears(r, 1), (std::vector<double>{-3, -6}));
}
