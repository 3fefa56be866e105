// The line list of a script: one text with CR LF after every line, and the lines as views into it.
#include "tcl/ScriptLineList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace vandra {
namespace {

using Lines = std::vector<std::string>;

TEST(ScriptLineList, LinesAndTextAgree) {
    const Lines cases[] = {
        {},
        {""},
        {"", ""},
        {"wipe"},
        {"", "node 1 0.000E+000", "", "", "fix 1 1 1 1 1 1 1;"},
        {"a\rb", "tab\there", "  ends in spaces  "},
    };
    for (const Lines& lines : cases) {
        std::string text;
        ScriptLineList list;
        for (const std::string& line : lines) {
            text += line + "\r\n";
            list.push_back(line);
        }
        SCOPED_TRACE(text);
        EXPECT_EQ(list.Text(), text);
        ASSERT_EQ(list.size(), lines.size());
        EXPECT_EQ(list.empty(), lines.empty());
        for (size_t k = 0; k < lines.size(); ++k)
            EXPECT_EQ(list[k], lines[k]) << k;
        EXPECT_EQ(Lines(list.begin(), list.end()), lines);
        // Walked backwards and searched, as the tests of the writers do.
        EXPECT_EQ(
            Lines(std::make_reverse_iterator(list.end()), std::make_reverse_iterator(list.begin())),
            Lines(lines.rbegin(), lines.rend()));
        for (size_t k = 0; k < lines.size(); ++k)
            EXPECT_EQ(std::find(list.begin(), list.end(), lines[k]) - list.begin(),
                      std::find(lines.begin(), lines.end(), lines[k]) - lines.begin());
    }
}

TEST(ScriptLineList, FilledLinesSwapsAndRefusedTemplates) {
    ScriptLineList list = {"wipe"};
    list.AppendFormat("node %d %0.4E", {7, 2500.0});
    list.AppendFormat("", {});
    const ScriptLineList filled = list;
    EXPECT_EQ(filled, (ScriptLineList{"wipe", "node 7 2.500E+003", ""}));
    // Two lines are not the one line that holds the same bytes.
    EXPECT_FALSE(ScriptLineList{"a\r\nb"} == (ScriptLineList{"a", "b"}));

    // A template error part way through a line leaves the list as it was.
    EXPECT_THROW(list.AppendFormat("node %d %d", {7}), std::logic_error);
    EXPECT_EQ(list, filled);
    list.push_back("next");
    EXPECT_EQ(list[3], "next");

    ScriptLineList other = {"other"};
    list.swap(other);
    EXPECT_EQ(list, ScriptLineList{"other"});
    EXPECT_EQ(other.size(), 4u);
    other.clear();
    EXPECT_TRUE(other.empty());
    EXPECT_EQ(other.Text(), "");
}

} // namespace
} // namespace vandra
