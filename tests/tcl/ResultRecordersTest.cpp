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

TModel Joints(int count) {
    TModel m;
    m.Nodes.resize(static_cast<size_t>(count) + 1);
    m.NodeCount = count;
    for (int j = 1; j <= count; ++j)
        m.Nodes[static_cast<size_t>(j)].X = 1000.0 * j;
    m.Frames.resize(1);
    m.Sections.resize(1);
    return m;
}

void AddFrame(TModel& m, int i, int j, int type, int release = kNoRelease) {
    m.Sections.emplace_back().FrameType = type;
    m.SectionCount = static_cast<int>(m.Sections.size()) - 1;
    TFRAME f;
    f.SecIdx = m.SectionCount;
    f.NodeI = i;
    f.NodeJ = j;
    f.Release = release;
    f.Axis2Z = 1;
    m.Frames.push_back(f);
    m.FrameCount = static_cast<int>(m.Frames.size()) - 1;
}

void AddTie(TModel& m, int retained, int constrained) {
    if (m.EqualDofs.empty()) m.EqualDofs.resize(1);
    TEQUALDOF tie;
    tie.Retained = retained;
    tie.Constrained = constrained;
    tie.Dof = {0, 1, 1, 1, 0, 0, 0};
    m.EqualDofs.push_back(tie);
    m.EqualDofCount = static_cast<int>(m.EqualDofs.size()) - 1;
}

TEST(ResultRecorders, ReactionNodesAreTheSupportsAndWhatIsTiedToThem) {
    TModel m = Joints(16);
    m.Nodes[1].Restraint = {0, 1, 1, 1, 1, 1, 1};
    m.Nodes[2].Restraint = {0, 0, 0, 1, 0, 0, 0}; // a roller
    m.Nodes[3].Restraint = {0, 0, 0, 0, 0, 0, 0}; // free: the master of a diaphragm
    m.Diaphs.resize(2);
    m.DiaphCount = 1;
    m.Diaphs[1] = TDIAPH{2, {0, 4, 5}, 3};
    AddFrame(m, 1, 6, kRigidBeam, kReleaseI); // equalDOF 1 6: joint 6 loads the support at 1
    AddFrame(m, 8, 2, kRigidBeam, kReleaseJ); // equalDOF 2 8
    AddTie(m, 2, 7);                          // an equal constraint tied to the roller
    AddTie(m, 11, 12);                        // tied to a joint without a support: not one
    AddFrame(m, 1, 9, kElasticBeamColumn);    // joint 1 also carries a frame ...
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
