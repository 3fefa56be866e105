// Every way the generator refuses a model or its settings: the exact message, the previous script
// kept, and the model exactly as it was (a refusal after the sections are derived must not leave
// properties, fibers, integration points or counts behind). The models hold no NaN, which would
// never compare equal to itself.
#include "ScriptTestSupport.h"

#include "model/Errors.h"
#include "document/SettingsByName.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace vandra;
using namespace vandra::testing;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// The mixed model without its frame table, as an import of a file without frames leaves it.
TModel WithoutFrames() {
    TModel m = MixedModel();
    m.FrameCount = -1;
    m.Frames.clear();
    return m;
}

struct Refusal {
    TModel (*base)();
    std::vector<const char*> settings; // AssignSetting lines, applied first
    void (*spoil)(TModel&, TSettings&);
    const char* message;
};

void None(TModel&, TSettings&) {}

const Refusal kRefusals[] = {
    // Tables and references.
    {SmallColumnModel,
     {},
     [](TModel& m, TSettings&) { m.FrameCount = 2; },
     "The frame table holds 1 records but its count is 2"},
    {SmallColumnModel,
     {},
     [](TModel& m, TSettings&) { m.Frames[1].SecIdx = 2; },
     "Frame 1 refers to frame section 2, which does not exist"},
    {SmallColumnModel,
     {},
     [](TModel& m, TSettings&) {
         TFrameAssign hinge;
         hinge.ReleaseJ = kReleaseM2;
         m.FrameAssigns.push_back(hinge);
         m.Frames[1].Assign = 1;
     },
     "Joint 2 is free to turn: the end releases of frame 1 leave nothing to hold it in the "
     "released rotation; take a release off or hold the joint"},
    {SmallColumnModel,
     {},
     [](TModel& m, TSettings&) { m.Nodes[2].LinkNode = 3; },
     "Joint 2 refers to joint 3, which does not exist"},
    {SmallColumnModel,
     {},
     [](TModel& m, TSettings&) { m.Sections[1].MatIdx = -1; },
     "Frame section 1 (E500X300) refers to material -1, which does not exist"},
    {SmallColumnModel,
     {},
     [](TModel& m, TSettings&) {
         m.DiaphCount = 1;
         m.Diaphs.resize(2);
         m.Diaphs[1].SlaveCount = 2;
         m.Diaphs[1].DiaNodes = {0, 1};
     },
     "Diaphragm 1 counts 2 joints but lists fewer"},
    {SmallColumnModel,
     {"Sections[E500X300].FrameType=2", "Sections[E500X300].DivideFX=100000",
      "Sections[E500X300].DivideFY=100000"},
     None,
     "Frame section 1 (E500X300) would have 10000000020 fibers; a section may have at most "
     "100000"},

    // Settings: the setting, its value and the range.
    {TwoStoreyFrame,
     {"AnalysisType=99"},
     None,
     "Analysis Type (AnalysisType) 99 is outside the allowed range 1..7"},
    {TwoStoreyFrame,
     {"AnalysisType=0"},
     None,
     "Analysis Type (AnalysisType) 0 is outside the allowed range 1..7"},
    {TwoStoreyFrame,
     {"LoadCase=42"},
     None,
     "Load Case (LoadCase) 42 is outside the allowed range 0..2 (the model's load cases, 0 for "
     "none)"},
    {TwoStoreyFrame,
     {"AnalysisType=2", "LoadVector=-1", "ControlNode=21"},
     None,
     "Load Vector (LoadVector) -1 is outside the allowed range 0..2 (the model's load cases, 0 "
     "for none)"},
    {TwoStoreyFrame,
     {"AnalysisType=2", "ControlNode=999"},
     None,
     "Control Node (ControlNode) 999 is outside the allowed range 1..21 (the joints of the "
     "model)"},
    {TwoStoreyFrame,
     {"AnalysisType=3", "LoadVector=2", "ControlNode=21", "ControlDof=-7"},
     None,
     "Control Dof (ControlDof) -7 is outside the allowed range 1..6"},
    {TwoStoreyFrame,
     {"AnalysisType=2", "ControlNode=20", "ControlDof=3"},
     None,
     "Control Dof (ControlDof) 3 of Control Node 20 is fixed: displacement control needs a free "
     "degree of freedom"},
    {TwoStoreyFrame,
     {"AnalysisType=2", "ControlNode=18", "ControlDof=2"},
     None,
     "Control Dof (ControlDof) 2 of Control Node 18 is tied to rigid diaphragm 2: control the "
     "same degree of freedom of its master, joint 21"},
    {TwoStoreyFrame,
     {"AnalysisType=3"},
     None,
     "Gravity+PushOver uses load case 1 for both the gravity loads (LoadCase) and the push "
     "(LoadVector): choose a different push vector (Load Vector)"},
    {TwoStoreyFrame,
     {"Sections[NCOL400].FrameType=2", "NumIntgrPts=0"},
     None,
     "Force/Disp Beam Column numIntgrPts (NumIntgrPts) 0 is outside the allowed range 2..20"},
    {TwoStoreyFrame,
     {"Sections[DCOL350].FrameType=3", "NumIntgrPts=2147483647"},
     None,
     "Force/Disp Beam Column numIntgrPts (NumIntgrPts) 2147483647 is outside the allowed range "
     "2..20"},
    {TwoStoreyFrame,
     {"Sections[NCOL400].FrameType=2", "RebarMat=99"},
     None,
     "Rebar Material Number (RebarMat) 99 is outside the allowed range 1..2 (the materials of "
     "the model)"},
    {TwoStoreyFrame,
     {"Sections[NCOL400].FrameType=99"},
     None,
     "Frame section 1 (NCOL400): FrameType 99 is outside the allowed range 1..8"},
    {TwoStoreyFrame,
     {"Sections[R1].GeoTransf=0"},
     None,
     "Frame section 7 (R1): GeoTransf 0 is outside the allowed range 1..3"},
    {TwoStoreyFrame,
     {"AnalysisType=4"},
     None,
     "Modal Number (ModalNumber) 12 is outside the allowed range 1..6: the model has 6 degrees "
     "of freedom that carry mass (after its rigid diaphragms), of which the solver can compute "
     "at most 6 modes"},
    {TwoStoreyFrame,
     {"AnalysisType=4", "ModalNumber=1000000000"},
     None,
     "Modal Number (ModalNumber) 1000000000 is outside the allowed range 1..6: the model has 6 "
     "degrees of freedom that carry mass (after its rigid diaphragms), of which the solver can "
     "compute at most 6 modes"},
    {TwoStoreyFrame,
     {"AnalysisType=4", "ModalNumber=0"},
     None,
     "Modal Number (ModalNumber) 0 is outside the allowed range 1..6: the model has 6 degrees "
     "of freedom that carry mass (after its rigid diaphragms), of which the solver can compute "
     "at most 6 modes"},
    {TwoStoreyFrame, {"LoadSteps=0"}, None, "Load Steps must be at least 1"},
    {SmallColumnModel,
     {"AnalysisType=5"},
     [](TModel& m, TSettings&) { m.Nodes[2].Mass = {0, 1, 0, 0, 0, 0, 0}; },
     "Time History Analysis needs 2 modes for its Rayleigh damping: the model has 1 degrees of "
     "freedom that carry mass (after its rigid diaphragms), of which the solver can compute at "
     "most 1 modes"},
    {SmallColumnModel,
     {"AnalysisType=7"},
     [](TModel& m, TSettings&) { m.Nodes[2].Mass = {0, 1, 1, 1, 1, 0, 0}; },
     "MultipleSupport Excitation imposes motions on joints 1 to 4, but the model has 2 joints"},

    // Solids.
    {MixedModel,
     {},
     [](TModel& m, TSettings&) {
         m.MatCount = 0;
         m.Sections[1].MatIdx = 0;
         m.AreaSecs[1].MatIdx = 0;
     },
     "The solids need a material (E and U of their nDMaterial), but the model defines none"},
    {MixedModel,
     {},
     [](TModel& m, TSettings&) { m.Solids[1].N[5] = 11; },
     "Solid 1 refers to joint 11, which does not exist"},
    {MixedModel,
     {},
     [](TModel& m, TSettings&) {
         m.DiaphCount = 1;
         m.Diaphs.resize(2);
         m.Diaphs[1].Master = 2;
         m.Diaphs[1].SlaveCount = 2;
         m.Diaphs[1].DiaNodes = {0, 1, 10};
     },
     "Joint 10 belongs to a solid and follows rigid diaphragm 1; a solid's joint cannot follow a "
     "diaphragm: take it out of the diaphragm"},
    {MixedModel,
     {"AnalysisType=2", "ControlNode=9", "ControlDof=5"},
     None,
     "Control DOF 5 is a rotation, but joint 9 belongs to solids only, whose nodes have "
     "translations 1 to 3 only"},

    // Numbers the solver could not read, refused after the sections are derived.
    {TwoStoreyFrame,
     {},
     [](TModel& m, TSettings&) { m.Sections[3].T[1] = 1e300; },
     "Frame section 3 (EIPE400): I33 is not a finite number (INF); nothing was written"},
    {TwoStoreyFrame,
     {},
     [](TModel& m, TSettings&) { m.Mats[2].E = kInf; },
     "Material 2 (CONC): E is not a finite number (INF); nothing was written"},
    {TwoStoreyFrame,
     {},
     [](TModel& m, TSettings&) { m.Nodes[4].Z = -kInf; },
     "Joint 4: Z is not a finite number (-INF); nothing was written"},
    {TwoStoreyFrame,
     {"Sections[NCOL400].FrameType=2", "Sections[NCOL400].DivideFX=20"},
     [](TModel& m, TSettings&) { m.Loads[1].FZ = kInf; },
     "Load 1: a force is not a finite number (INF); nothing was written"},
    {TwoStoreyFrame,
     {"Sections[NCOL400].FrameType=2"},
     [](TModel& m, TSettings&) { m.Sections[1].BarTop = kInf; },
     "Frame section 1 (NCOL400): a fiber area is not a finite number (INF); nothing was "
     "written"},
    {TwoStoreyFrame,
     {},
     [](TModel&, TSettings& s) { s.LoadFactor = std::nan(""); },
     "Load Factor (LoadFactor): the value is not a finite number (NaN); nothing was written"},
    {WithoutFrames,
     {},
     [](TModel&, TSettings& s) { s.ControlDisp = -kInf; },
     "Control Disp (ControlDisp): the value is not a finite number (-INF); nothing was written"},
};

} // namespace

TEST(ScriptRefusal, NamesTheCauseAndChangesNothing) {
    for (const Refusal& c : kRefusals) {
        SCOPED_TRACE(c.message);
        TModel model = c.base();
        TSettings settings;
        for (const char* assignment : c.settings)
            AssignSetting(model, settings, assignment);
        c.spoil(model, settings);
        const TModel before = model;
        ScriptLineList lines = {"previous"};
        try {
            GenerateScript(model, settings, lines);
            ADD_FAILURE() << "accepted";
        } catch (const InputError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_EQ(lines, ScriptLineList{"previous"});
        EXPECT_TRUE(model == before);
    }
}
