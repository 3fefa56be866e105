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

TEST(SettingsByName, RefusesWhatItCannotAssignAndNamesIt) {
    struct Case {
        const char* assignment;
        const char* message;
        bool conversion;
    };
    const Case cases[] = {
        {"Bogus=1", "unknown setting 'Bogus'", false},
        {"LoadSteps", "a setting reads NAME=VALUE, not 'LoadSteps'", false},
        {"LoadSteps=ten", "'ten' is not a valid integer value", true},
        {"LoadFactor=1,5", "'1,5' is not a valid floating point value", true},
        {"UseAggregator=2", "UseAggregator takes 0 or 1, not '2'", false},
        {"RecOpt=1,0,0,0", "RecOpt takes 5 flags", false},
        {"RecOpt=1,0,0,0,1,1", "RecOpt takes 5 flags", false},
        {"RecOpt=1,0,x,0,1", "'x' is not a valid integer value", true},
        {"Sections[C9].FrameType=2", "no frame section named 'C9'", false},
        {"Sections[C1].Depth=2", "unknown frame section field 'Depth'", false},
        {"Sections[C1]FrameType=2",
         "a section setting reads Sections[NAME].FIELD=VALUE, not "
         "'Sections[C1]FrameType=2'",
         false},
        {"Sections[C1].Color=-1", "Color takes a packed colour 0..16777215, not '-1'", false},
        {"AreaSecs[w1].NonlinType=1", "no shell section named 'w1'", false},
        {"AreaSecs[W1].Thickness=1", "unknown shell section field 'Thickness'", false},
        {"AreaSecs[W1].NonlinType=2", "NonlinType takes 0 or 1, not '2'", false},
        // The analysis settings alone: the other rooms refuse their names.
        {"ViewOpt=1,1,1,1,1,1,1,1,1,1,1,1,0",
         "ViewOpt belongs to the view options, which this command does not use", false},
        {"ResultMax=3",
         "ResultMax belongs to the colour range of the results, which this command does not use",
         false},
    };
    for (const Case& c : cases) {
        TModel m = TwoSections();
        TSettings s;
        try {
            AssignSetting(m, s, c.assignment);
            ADD_FAILURE() << "accepted " << c.assignment;
        } catch (const UsageError& e) {
            EXPECT_FALSE(c.conversion) << c.assignment;
            EXPECT_STREQ(e.what(), c.message);
        } catch (const ConversionError& e) {
            EXPECT_TRUE(c.conversion) << c.assignment;
            EXPECT_STREQ(e.what(), c.message);
        }
        // A refused list leaves the flags as they were.
        EXPECT_TRUE(s.RecOpt[1]) << c.assignment;
        EXPECT_FALSE(s.RecOpt[5]) << c.assignment;
    }
}
