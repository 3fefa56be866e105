#include "import/S2kImport.h"
#include "import/S2kSection.h"
#include "import/S2kTokenizer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace vandra;

namespace {

std::vector<std::string> TokensOf(const std::string& line) {
    S2kTokens t;
    Tokenize(line, t);
    int last = -1;
    for (int k = 0; k < kTokenSlots; ++k)
        if (!t[k].empty()) last = k;
    std::vector<std::string> out;
    for (int k = 0; k <= last; ++k)
        out.emplace_back(t[k]);
    return out;
}

using V = std::vector<std::string>;

} // namespace

TEST(Tokenizer, CutsAtSpacesEqualsCommasAndQuotes) {
    struct Case {
        const char* line;
        V tokens; // up to the last non-empty token
    } cases[] = {
        {"  12  X=1.5  Y=-2  Z=3", {"12", "X", "1.5", "Y", "-2", "Z", "3"}},
        {"  ADD=3  DOF=U1,U2,U3,R1,R2,R3", {"ADD", "3", "DOF", "U1", "U2", "U3", "R1", "R2", "R3"}},
        {"    TYPE=FORCE", {"", "TYPE", "FORCE"}},
        {"      ADD=4  UX=1.5", {"", "", "ADD", "4", "UX", "1.5"}},
        {"  1   X=0", {"1", "", "X", "0"}},
        {"JOINT", {}},
        {"", {}},
        // Indentation: 2-3 spaces put the first word in T0, 4-5 in T1, 6-7 in T2; one space loses
        // the first field, none the first two.
        {"   A  B", {"A", "B"}},
        {"     A  B", {"", "A", "B"}},
        {"       A", {"", "", "A"}},
        {" A  B  C", {"B", "C"}},
        {"A  B  C  D", {"C", "D"}},
        // One or two spaces make one cut, three or four two cuts.
        {"  A B  C   D    E", {"A", "B", "C", "", "D", "", "E"}},
        // A quoted text is cut at its quotes and at its spaces.
        {"  NAME=\"MY SEC\"  X=1", {"NAME", "", "MY", "SEC", "", "X", "1"}},
        // Tabs are not cuts; an empty item of a list is an empty token.
        {"  1\tX=5", {"1\tX", "5"}},
        {"  A,,B", {"A", "", "B"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TokensOf(c.line), c.tokens) << "line '" << c.line << "'";
}

TEST(Tokenizer, FillsAtMostThirtyEightTokensAndClearsTheSlots) {
    std::string line = " ";
    for (int k = 0; k < 50; ++k)
        line += " " + std::to_string(k);
    S2kTokens t;
    Tokenize(line, t);
    EXPECT_EQ(t[0], "0");
    EXPECT_EQ(t[37], "37");
    EXPECT_TRUE(t[38].empty());
    EXPECT_TRUE(t[39].empty());

    Tokenize("  A", t); // the previous line's tokens are gone
    EXPECT_EQ(t[0], "A");
    for (int k = 1; k < kTokenSlots; ++k)
        EXPECT_TRUE(t[k].empty()) << k;
}

TEST(SectionFinder, FindsWholeLineHeadersAndEndsAtTheFirstBlankLine) {
    const S2kText lines = SplitS2kLines("JOINT\n"         // line 0: never a header
                                        "FRAME SECTION\n" // 1
                                        "  A\n"           // 2
                                        "\t \n"           // 3: blank (tabs and spaces)
                                        "FRAME\n"         // 4
                                        "  B\n"           // 5
                                        "  C\n"           // 6
                                        "\n"              // 7
                                        "FRAME\n"         // 8: a second header, ignored
                                        "  D\n"           // 9
                                        "\n"              // 10
                                        "joint\n"         // 11: lower case is no header
                                        "LOAD \n"         // 12: trailing space is no header
                                        "SOLID\n"         // 13
                                        "  E\n");         // 14: runs to the end of the file
    struct Case {
        const char* keyword;
        bool found;
        int start, end, count;
    } cases[] = {
        {"FRAME SECTION", true, 1, 3, 1}, {"FRAME", true, 4, 7, 2},   {"JOINT", false, 0, 0, -1},
        {"LOAD", false, 0, 0, -1},        {"SOLID", true, 13, 15, 1}, {"SHELL", false, 0, 0, -1},
    };
    for (const Case& c : cases) {
        const SectionBounds b = FindSection(lines, c.keyword);
        EXPECT_EQ(b.Found, c.found) << c.keyword;
        EXPECT_EQ(b.Start, c.start) << c.keyword;
        EXPECT_EQ(b.End, c.end) << c.keyword;
        EXPECT_EQ(b.LineCount(), c.count) << c.keyword;
    }
}

TEST(SplitLines, EndsLinesAtCrLfAndCrLfAndKeepsBytes) {
    EXPECT_EQ(SplitS2kLines("a\rb\nc\r\nd").Lines(), (V{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitS2kLines("a\n\nb\r\n").Lines(), (V{"a", "", "b"}));
    EXPECT_EQ(SplitS2kLines("\r\n\r\n").Lines(), (V{"", ""}));
    EXPECT_EQ(SplitS2kLines("\n\r").Lines(), (V{"", ""})); // LF then CR: two line ends
    EXPECT_TRUE(SplitS2kLines("").empty());
    const std::string bytes("\xE9\xFF\0x", 4);
    EXPECT_EQ(SplitS2kLines(bytes).Lines(), (V{bytes}));
}

namespace {

// The tokenizer exactly as its rules read, one position at a time: the oracle for the scan,
// which looks only at the characters that can cut.
std::vector<std::string> TokensByTheRules(const std::string& s) {
    const size_t length = s.size();
    std::vector<size_t> cuts;
    for (size_t i = 0; i <= length && length > 0; ++i) {
        const char c = s[i == 0 ? 0 : i - 1];
        if (c == ' ' && (cuts.empty() || cuts.back() + 1 != i)) cuts.push_back(i);
        if (c == '=' || c == ',' || c == '"') cuts.push_back(i);
        if (i == length) cuts.push_back(length + 1);
    }
    std::vector<std::string> tokens;
    for (size_t k = 1; k + 1 < cuts.size() && tokens.size() < 38; ++k)
        tokens.emplace_back(
            TrimControl(std::string_view(s).substr(cuts[k], cuts[k + 1] - 1 - cuts[k])));
    return tokens;
}

} // namespace

TEST(Tokenizer, AgreesWithTheRulesOnRandomLines) {
    std::mt19937 random(20261207);
    const char alphabet[] = {' ', ' ', ' ', '=', ',', '"', 'A', '1', '.', '\t', '\x01', '\xE9'};
    S2kTokens t;
    for (int n = 0; n < 20000; ++n) {
        std::string line;
        const int length = static_cast<int>(random() % 90);
        for (int i = 0; i < length; ++i)
            line += alphabet[random() % sizeof alphabet];
        Tokenize(line, t);
        const std::vector<std::string> expected = TokensByTheRules(line);
        ASSERT_EQ(t.Filled, static_cast<int>(expected.size())) << '[' << line << ']';
        for (int k = 0; k < kTokenSlots; ++k)
            ASSERT_EQ(t[k], k < t.Filled ? std::string_view(expected[static_cast<size_t>(k)])
                                         : std::string_view())
                << '[' << line << "] token " << k;
    }
}
