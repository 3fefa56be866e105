// The reaction reader against hand-written files: a tied node's reaction counts for the support
// it is tied to, the totals per direction and the envelope over the steps.
#include "PostTestSupport.h"

#include "post/Envelopes.h"
#include "post/Reactions.h"

#include <gtest/gtest.h>

#include <string>

using namespace vandra;
using namespace vandra::testing;

namespace {

// Joints 1 and 2 fixed, joint 3 tied to joint 1 by an equal constraint, joint 4 free; joint 105
// fixed, in the second node block.
TModel Supports() {
    TModel m;
    m.Nodes.resize(106);
    m.NodeCount = 105;
    m.Frames.resize(1);
    for (int j : {1, 2, 105})
        m.Nodes[static_cast<size_t>(j)].Restraint = {0, 1, 1, 1, 1, 1, 1};
    m.EqualDofs.resize(2);
    m.EqualDofs[1].Retained = 1;
    m.EqualDofs[1].Constrained = 3;
    m.EqualDofs[1].Dof = {0, 1, 1, 1, 0, 0, 0};
    m.EqualDofCount = 1;
    return m;
}

TEST(Reactions, TiedNodesCountForTheirSupportAndTotalsSum) {
    const TModel m = Supports();
    const ScratchFolder dir;
    // Nodes 1, 2, 3 in react0.out; node 105 in react1.out. Two steps.
    dir.write("react0.out", "0.5 1 2 3 4 5 6  10 20 30 40 50 60  0.5 0.25 0 0 0 0\n"
                            "1 2 4 6 8 10 12  20 40 60 80 100 120  1 0.5 0 0 0 0\n");
    dir.write("react1.out", "0.5 -100 0 0 0 0 7\n1 -200 0 0 0 0 14\n");
    const TReactionHistory r = ReadReactions(m, TSettings(), dir.path());
    ASSERT_EQ(r.Steps, 2);
    ASSERT_EQ(r.Joints, (std::vector<int>{1, 2, 105}));
    EXPECT_EQ(r.Time, (std::vector<double>{0.5, 1}));
    EXPECT_EQ(r.At(1, 0), (TReaction{1.5, 2.25, 3, 4, 5, 6})); // joint 1 with joint 3's share
    EXPECT_EQ(r.At(2, 2), (TReaction{-200, 0, 0, 0, 0, 14}));
    EXPECT_EQ(r.Total(2), (TReaction{2 + 20 + 1 - 200, 4 + 40 + 0.5, 6 + 60, 88, 110, 146}));
    const TReactionEnvelope env = EnvelopeOf(r);
    EXPECT_EQ(env.Total[0].Min, 2 + 20 + 1 - 200);
    EXPECT_EQ(env.Total[0].MinStep, 2);
    EXPECT_EQ(env.Joints[1][2].Max, 60);
    EXPECT_EQ(env.Joints[1][2].MaxStep, 2);
}

// Every reaction file holds as many lines as the first.
TEST(Reactions, FilesOfOneRunHoldTheSameSteps) {
    const ScratchFolder dir;
    const std::string line0 = "0.5 1 2 3 4 5 6 1 2 3 4 5 6 1 2 3 4 5 6\n";
    dir.write("react0.out", line0);
    dir.write("react1.out", "0.5 1 2 3 4 5 6\n0.6 1 2 3 4 5 6\n");
    EXPECT_EQ(ErrorOf([&] { ReadReactions(Supports(), TSettings(), dir.path()); }),
              dir.file("react1.out") + ", line 2: the file holds more than the 1 lines of " +
                  dir.file("react0.out"));
}

} // namespace
