// Settings chosen from the model at import: the control joint and the number of modes.
#include "import/S2kImport.h"
#include "tcl/SettingsCheck.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

using namespace vandra;

TEST(ModelDefaults, ControlJointIsTheHighestMasterElseTheHighestFreeJoint) {
    // Joints by height (negative: fixed in X); diaphragms as {master, slaves...}.
    const struct {
        std::vector<double> z;
        std::vector<std::vector<int>> diaphs;
        int expected;
    } cases[] = {{{-0.0, 3, 6}, {}, 3},
                 {{0, -9, 6}, {}, 3},
                 {{-0.1, 6, 6}, {}, 2},
                 {{-1, -3}, {}, 0},
                 {{}, {}, 0},
                 {{9, 3, 3}, {{2, 3}}, 2},
                 {{-1, 3, 6, 6, 3, 6}, {{5, 2}, {4, 3, 6}}, 4}};
    for (const auto& c : cases) {
        TModel m;
        m.Nodes.resize(1);
        for (double z : c.z) {
            m.Nodes.emplace_back().Z = std::abs(z);
            m.Nodes.back().Restraint[1] = std::signbit(z) ? 1 : 0;
        }
        m.NodeCount = static_cast<int>(c.z.size());
        m.Diaphs.resize(1);
        for (const auto& d : c.diaphs)
            m.Diaphs.push_back({static_cast<int>(d.size()) - 1, d, d[0]});
        m.DiaphCount = static_cast<int>(c.diaphs.size());
        EXPECT_EQ(DefaultControlJoint(m, 1), c.expected) << c.z.size() << " joints";
    }
}

TEST(ModelDefaults, ImportLimitsTheModes) {
    const TModel frame = ImportS2k(ReadS2kFile(VANDRA_SOURCE_DIR "/examples/two_storey_frame.s2k"));
    TSettings s; // 12 modes: more than the example's masses allow
    ChooseSettingsForModel(frame, s);
    EXPECT_EQ(std::pair(s.ModalNumber, s.ControlNode), std::pair(MaxModes(frame), 21));
}
