#include "document/SettingsByName.h"

#include "model/Errors.h"

#include <gtest/gtest.h>

#include <string>

using namespace vandra;

namespace {

TModel TwoSections() {
    TModel m;
    m.SectionCount = 3;
    m.Sections.resize(4);
    m.Sections[1].Name = "C1";
    m.Sections[2].Name = "B1";
    m.Sections[3].Name = "C1";
    m.AreaSecCount = 1;
    m.AreaSecs.resize(2);
    m.AreaSecs[1].Name = "W1";
    return m;
}

} // namespace

TEST(SettingsByName, AssignsSettingsAndSectionFields) {
    TModel m = TwoSections();
    TSettings s;
    TViewOptions view;
    TResults results;
    const SettingRooms rooms{&s, &view, &results};
    for (const char* a :
         {"AnalysisType=5", "LoadFactor=0.5", "ControlDisp=-2E+01", "UseAggregator=1",
          "GenPlateFiber=0", "RecOpt=0,1,1,0,1", "ViewOpt=1,1,1,1,1,1,1,1,1,1,1,1,0", "ResultMax=3",
          "Sections[C1].FrameType=2", "Sections[C1].Cover=40.5", "Sections[B1].Color=255",
          "AreaSecs[W1].NonlinType=1", "ModalNumber= 7 "})
        AssignSetting(m, rooms, a);
    EXPECT_EQ(s.AnalysisType, 5);
    EXPECT_EQ(s.LoadFactor, 0.5);
    EXPECT_EQ(s.ControlDisp, -20);
    EXPECT_TRUE(s.UseAggregator);
    EXPECT_FALSE(s.GenPlateFiber);
    EXPECT_EQ(s.RecOpt, (std::array<bool, 6>{false, false, true, true, false, true}));
    EXPECT_TRUE(view.ViewOpt[12]);
    EXPECT_FALSE(view.ViewOpt[13]);
    EXPECT_EQ(results.ResultMax, 3);
    EXPECT_EQ(s.ModalNumber, 7);
    // The last section of a name is the one found.
    EXPECT_EQ(m.Sections[3].FrameType, 2);
    EXPECT_EQ(m.Sections[3].Cover, 40.5);
    EXPECT_EQ(m.Sections[1].FrameType, 0);
    EXPECT_EQ(m.Sections[2].Color, 255u);
    EXPECT_EQ(m.AreaSecs[1].NonlinType, kShellDKGQ);
}
