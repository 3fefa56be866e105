// Settings chosen from the model at import: the control joint and the number of modes.
#include "import/S2kImport.h"
#include "tcl/SettingsCheck.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vandra;

namespace {

struct Joint {
    double z;
    bool fixedX; // restrained in direction 1
};

// Joints stacked at the given heights; diaphragms as {master, slaves...}.
TModel Joints(const std::vector<Joint>& joints, const std::vector<std::vector<int>>& diaphs) {
    TModel m;
    m.Nodes.resize(1);
    for (const Joint& j : joints) {
        TNODE n;
        n.Z = j.z;
        n.Restraint[1] = j.fixedX ? 1 : 0;
        m.Nodes.push_back(n);
    }
    m.NodeCount = static_cast<int>(joints.size());
    m.Diaphs.resize(1);
    for (const std::vector<int>& d : diaphs) {
        TDIAPH diaph;
        diaph.Master = d[0];
        diaph.DiaNodes.assign(d.begin(), d.end()); // element 0 unused
        diaph.SlaveCount = static_cast<int>(d.size()) - 1;
        m.Diaphs.push_back(diaph);
    }
    m.DiaphCount = static_cast<int>(diaphs.size());
    return m;
}

} // namespace

TEST(ModelDefaults, ControlJointIsTheHighestMasterElseTheHighestFreeJoint) {
    const struct {
        const char* name;
        TModel model;
        int expected;
    } cases[] = {
        {"support at joint 1", Joints({{0, true}, {3, false}, {6, false}}, {}), 3},
        {"highest joint fixed", Joints({{0, false}, {9, true}, {6, false}}, {}), 3},
        {"tie: the lower number", Joints({{0, true}, {6, false}, {6, false}}, {}), 2},
        {"every joint fixed", Joints({{0, true}, {3, true}}, {}), 0},
        {"master of the top floor", Joints({{0, true}, {3, false}, {6, false}, {6, false},
                                            {3, false}, {6, false}},
                                           {{5, 2}, {4, 3, 6}}),
         4},
        {"slaves above every master", Joints({{9, false}, {3, false}, {3, false}}, {{2, 3}}), 2},
        {"no joints", Joints({}, {}), 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DefaultControlJoint(c.model, 1), c.expected) << c.name;
        if (c.expected == 0) continue;
        // The joint chosen passes the check of a pushover that controls it.
        TSettings s;
        s.AnalysisType = kSingleDisplacementControl;
        s.LoadVector = 0;
        s.ControlNode = c.expected;
        EXPECT_NO_THROW(CheckSettings(c.model, s)) << c.name;
    }
}

TEST(ModelDefaults, ImportLimitsTheModesAndZeroMeansTwelveLimited) {
    const TModel frame =
        ImportS2k(ReadS2kFile(VANDRA_SOURCE_DIR "/examples/two_storey_frame.s2k"));
    const int most = MaxModes(frame);
    ASSERT_GE(most, 1);
    ASSERT_LT(most, kAutomaticModes);
    const struct {
        int given, afterImport, computed;
    } cases[] = {{12, most, most}, {1, 1, 1}, {0, 0, most}, {most + 1, most, most}};
    for (const auto& c : cases) {
        TSettings s;
        s.ModalNumber = c.given;
        ChooseSettingsForModel(frame, s);
        EXPECT_EQ(s.ModalNumber, c.afterImport) << c.given;
        EXPECT_EQ(ModesToCompute(frame, s), c.computed) << c.given;
        s.AnalysisType = kModal;
        EXPECT_NO_THROW(CheckSettings(frame, s)) << c.given;
    }
    TSettings s;
    ChooseSettingsForModel(frame, s);
    EXPECT_EQ(s.ControlNode, 21); // the master of the roof diaphragm
}
