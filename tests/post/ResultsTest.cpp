// Clear Results: the displacements and frame-end values go to zero in place (which frames have
// values stays known, and so does the colour range); rotations, forces and reactions go.
#include "post/Results.h"

#include <gtest/gtest.h>

using namespace vandra;

TEST(Results, ClearZeroesValuesAndKeepsWhatHasThem) {
    TResults r;
    r.Disp.X.assign(3, 1.0), r.Disp.Y.assign(3, 2.0), r.Disp.Z.assign(3, 3.0);
    r.Ends.I.assign(2, -1.0), r.Ends.J.assign(2, -2.0);
    r.Ends.HasI = {1, 0};
    r.Rotations.X.assign(3, 4.0);
    r.ResultMax = 5;
    ClearResults(r);
    for (const std::vector<double>* v : {&r.Disp.X, &r.Disp.Y, &r.Disp.Z, &r.Ends.I, &r.Ends.J})
        EXPECT_EQ(*v, std::vector<double>(v->size() == 3 ? 3 : 2, 0.0));
    EXPECT_EQ(r.Disp.X.size() + r.Ends.J.size(), 5u);
    EXPECT_EQ(r.Ends.HasI, (std::vector<unsigned char>{1, 0}));
    EXPECT_TRUE(r.Rotations.X.empty());
    EXPECT_EQ(r.ResultMax, 5);
}
