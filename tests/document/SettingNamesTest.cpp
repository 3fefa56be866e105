// The names --set takes live in one table; the README lists exactly them; each reaches its field.
#include "document/SettingsByName.h"

#include "model/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace vandra {
namespace {

std::string ReadmeParagraph() {
    std::ifstream in(std::string(VANDRA_SOURCE_DIR) + "/README.md");
    std::stringstream all;
    all << in.rdbuf();
    const std::string text = all.str();
    const size_t start = text.find("`--set NAME=VALUE` sets any setting");
    const size_t end = text.find("`vandra-cli --help` prints the same list", start);
    if (start == std::string::npos || end == std::string::npos) return std::string();
    return text.substr(start, end - start);
}

TEST(SettingNames, ReadmeListsExactlyTheTable) {
    const std::string paragraph = ReadmeParagraph();
    ASSERT_FALSE(paragraph.empty()) << "README has no --set paragraph";
    // Every `Identifier` quoted in the paragraph, without the examples NAME=VALUE and such.
    std::set<std::string> listed;
    for (size_t open = paragraph.find('`'); open != std::string::npos;
         open = paragraph.find('`', open + 1)) {
        const size_t close = paragraph.find('`', open + 1);
        const std::string word = paragraph.substr(open + 1, close - open - 1);
        open = close;
        if (word.find_first_of("=[ -") == std::string::npos) listed.insert(word);
    }
    std::set<std::string> table;
    for (auto names :
         {ProgramSettingNames(), SectionFieldNames(), AreaSecFieldNames(), MatFieldNames()})
        for (const SettingName& n : names)
            table.insert(std::string(n.Name));
    EXPECT_EQ(listed, table);

    std::string help = SettingNamesHelp();
    std::replace(help.begin(), help.end(), '\n', ' ');
    for (const std::string& name : table)
        EXPECT_NE(help.find(name + " ("), std::string::npos) << name;
}

// Sections C1, B1 and C1 again, wall W1, material S1.
TModel Named() {
    TModel m;
    m.SectionCount = 3;
    m.Sections.resize(4);
    m.Sections[1].Name = m.Sections[3].Name = "C1";
    m.Sections[2].Name = "B1";
    m.AreaSecCount = 1;
    m.AreaSecs.resize(2);
    m.AreaSecs[1].Name = "W1";
    m.MatCount = 1;
    m.Mats.resize(2);
    m.Mats[1].Name = "S1";
    m.Mats[1].E = 200000;
    return m;
}

TEST(SettingNames, EveryNameInTheTableIsAccepted) {
    TModel model = Named();
    TSettings analysis;
    TViewOptions view;
    TResults results;
    const SettingRooms settings{&analysis, &view, &results};
    for (const SettingName& n : ProgramSettingNames()) {
        const std::string name(n.Name);
        const std::string value = name == "RecOpt"    ? "1,0,0,0,1"
                                  : name == "ViewOpt" ? "1,1,1,1,1,1,1,1,1,1,1,1,1"
                                                      : "1";
        EXPECT_NO_THROW(AssignSetting(model, settings, name + "=" + value)) << name;
    }
    for (const SettingName& n : SectionFieldNames())
        EXPECT_NO_THROW(
            AssignSetting(model, settings, "Sections[C1]." + std::string(n.Name) + "=1"))
            << n.Name;
    for (const SettingName& n : AreaSecFieldNames())
        EXPECT_NO_THROW(
            AssignSetting(model, settings, "AreaSecs[W1]." + std::string(n.Name) + "=1"))
            << n.Name;
    // A material field is taken (a value the law refuses is an input error, not an unknown name).
    for (const SettingName& n : MatFieldNames()) {
        try {
            AssignSetting(model, settings, "Mats[S1]." + std::string(n.Name) + "=1");
        } catch (const UsageError& e) {
            ADD_FAILURE() << n.Name << ": " << e.what();
        } catch (const InputError&) {
        }
    }
}

TEST(SettingNames, AssignmentsReachTheirFields) {
    TModel m = Named();
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

} // namespace
} // namespace vandra
