// The names --set takes live in one table; the README lists exactly them.
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

TEST(SettingNames, EveryNameInTheTableIsAccepted) {
    TModel model;
    model.SectionCount = 1;
    model.Sections.resize(2);
    model.Sections[1].Name = "C1";
    model.AreaSecCount = 1;
    model.AreaSecs.resize(2);
    model.AreaSecs[1].Name = "W1";
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
    model.MatCount = 1;
    model.Mats.resize(2);
    model.Mats[1].Name = "S1";
    model.Mats[1].E = 200000;
    // A material field is taken (a value the law refuses is an input error, not an unknown name).
    for (const SettingName& n : MatFieldNames()) {
        try {
            AssignSetting(model, settings, "Mats[S1]." + std::string(n.Name) + "=1");
        } catch (const UsageError& e) {
            ADD_FAILURE() << n.Name << ": " << e.what();
        } catch (const InputError&) {
        }
    }
    for (const SettingName& n : AreaSecFieldNames())
        EXPECT_NO_THROW(
            AssignSetting(model, settings, "AreaSecs[W1]." + std::string(n.Name) + "=1"))
            << n.Name;
}

} // namespace
} // namespace vandra
