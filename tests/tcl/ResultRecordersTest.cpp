// The result recorders: which nodes make up the supports' reactions (the blocks of the reaction,
// rotation and corotational truss files: tests/cases/tcl/recorder-blocks.case).
#include "ScriptTestSupport.h"

#include "tcl/ResultRecorders.h"
#include "tcl/TagPlan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vandra::testing {
namespace {

TEST(ResultRecorders, ReactionNodesAreTheSupportsAndWhatIsTiedToThem) {
    TModel m;
    m.Nodes.resize(size_t(m.NodeCount = 16) + 1);
    for (size_t j = 1; j <= 16; ++j)
        m.Nodes[j].X = 1000.0 * double(j);
    m.Sections.resize(1);
    const auto frame = [&m](int i, int j, int type, int release = kNoRelease) {
        m.Sections.emplace_back().FrameType = type;
        m.SectionCount = int(m.Sections.size()) - 1;
        m.Frames.resize(std::max<size_t>(m.Frames.size(), 1));
        m.Frames.push_back({{}, m.SectionCount, i, j, 0, 0, 0, 1, 0, release});
        m.FrameCount = int(m.Frames.size()) - 1;
    };
    const auto tie = [&m](int retained, int constrained) {
        m.EqualDofs.resize(std::max<size_t>(m.EqualDofs.size(), 1));
        m.EqualDofs.push_back({retained, constrained, {0, 1, 1, 1, 0, 0, 0}});
        m.EqualDofCount = int(m.EqualDofs.size()) - 1;
    };
    m.Nodes[1].Restraint = {0, 1, 1, 1, 1, 1, 1};
    m.Nodes[2].Restraint = {0, 0, 0, 1, 0, 0, 0}; // a roller
    m.Nodes[3].Restraint = {0, 0, 0, 0, 0, 0, 0}; // free: the master of a diaphragm
    m.Diaphs.resize(2);
    m.DiaphCount = 1;
    m.Diaphs[1] = TDIAPH{2, {0, 4, 5}, 3};
    frame(1, 6, kRigidBeam, kReleaseI); // equalDOF 1 6: joint 6 loads the support at 1
    frame(8, 2, kRigidBeam, kReleaseJ); // equalDOF 2 8
    tie(2, 7);                          // an equal constraint tied to the roller
    tie(11, 12);                        // tied to a joint without a support: not one
    frame(1, 9, kElasticBeamColumn);    // joint 1 also carries a frame ...
    // ... and a solid on joints 1, 10..16, so joint 1 gets a three-dof twin for it.
    m.MatCount = 1;
    m.Mats.resize(2);
    m.Mats[1].E = 30000;
    m.Solids.resize(2);
    m.SolidCount = 1;
    m.Solids[1].SecNo = 1;
    m.Solids[1].N = {0, 1, 10, 11, 12, 13, 14, 15, 16};
    const TagPlan tags(m, TSettings());
    ASSERT_NE(tags.TwinNode(1), 0);
    const std::vector<ReactionNode> nodes = ReactionNodes(m, tags);
    std::vector<std::pair<int, int>> got;
    for (const ReactionNode& n : nodes)
        got.emplace_back(n.Tag, n.Joint);
    const std::vector<std::pair<int, int>> expected = {
        {1, 1}, {2, 2}, {3, 3}, {6, 1}, {7, 2}, {8, 2}, {tags.TwinNode(1), 1}};
    EXPECT_EQ(got, expected);
}

} // namespace
} // namespace vandra::testing
