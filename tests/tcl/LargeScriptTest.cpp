// A large model's writers run on two threads: the script must still be the writers' lines in
// their order, whatever thread wrote them.
#include "ScriptTestSupport.h"

#include "tcl/ScriptWriters.h"
#include "tcl/TagPlan.h"

#include <gtest/gtest.h>

#include <string>

using namespace vandra;
using namespace vandra::testing;

namespace {

// A row of `joints` joints, one column between each pair, a load on every joint.
TModel ColumnRow(int joints) {
    TModel m = SmallColumnModel();
    m.NodeCount = joints;
    m.Nodes.resize(static_cast<size_t>(joints) + 1);
    for (int i = 1; i <= joints; ++i) {
        m.Nodes[static_cast<size_t>(i)].X = 250.0 * i;
        m.Nodes[static_cast<size_t>(i)].Z = (i % 2) * 3000.0;
        m.Nodes[static_cast<size_t>(i)].Restraint = {0, i % 2 == 0, 0, i % 2 == 0, 0, 0, 0};
    }
    m.FrameCount = joints - 1;
    m.Frames.resize(static_cast<size_t>(joints));
    for (int f = 1; f < joints; ++f) {
        TFRAME& frame = m.Frames[static_cast<size_t>(f)];
        frame.SecIdx = 1;
        frame.NodeI = f;
        frame.NodeJ = f + 1;
        frame.Axis2X = 1;
    }
    m.LoadCaseCount = 1;
    m.LoadCaseNames = {"", "DEAD"};
    m.Loads.resize(static_cast<size_t>(joints) + 1);
    m.LoadCount = joints;
    for (int l = 1; l <= joints; ++l) {
        TLOAD& load = m.Loads[static_cast<size_t>(l)];
        load.CaseIdx = 1;
        load.Kind = kJointForce;
        load.Target = l;
        load.FZ = -0.5 * l;
    }
    return m;
}

TEST(LargeScriptTest, LinesFollowTheWritersOrder) {
    struct Case {
        int joints;
        bool aggregator;
    };
    // Below and above the size from which two threads share the writers.
    for (const Case c : {Case{40, false}, Case{12000, false}, Case{12000, true}}) {
        SCOPED_TRACE(c.joints);
        const TModel model = ColumnRow(c.joints);
        TSettings settings;
        settings.UseAggregator = c.aggregator;
        const ScriptLineList script = Generate(model, settings);

        // The same writers one after the other.
        const TagPlan tags(model, settings);
        const std::vector<TScriptSection> sections = ScriptSectionsOf(model, settings);
        const ScriptContext context{model, settings, tags, sections};
        ScriptLineList expected = {"wipe", "puts \"System\"", "model basic -ndm 3 -ndf 6"};
        for (ScriptWriter write :
             {WriteNodesAndConstraints, WriteEqualDofs, WriteMaterials, WriteFiberSections,
              WritePlateFiberSections, WriteFrameElements, WriteShellElements, WriteSolidElements,
              WriteRecorders, WriteLoadsAndAnalysis})
            write(context, expected);
        ASSERT_EQ(script.size(), expected.size());
        EXPECT_TRUE(script == expected);
        EXPECT_GT(script.size(), 3u * static_cast<size_t>(c.joints));
    }
}

} // namespace
