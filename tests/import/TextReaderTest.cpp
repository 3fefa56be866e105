// The text under the readers: lines, tokens, version 6 sections, tabular rows, and the local axis
// a frame's joints and angle give.
#include "CaseFile.h"

#include "import/S2kImport.h"
#include "import/S2kReaders.h"
#include "import/S2kSection.h"
#include "import/S2kTokenizer.h"
#include "import/TabularReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

using namespace vandra;
using V = std::vector<std::string>;

namespace {

// The tokens up to the last that is not empty.
V TokensOf(const std::string& line) {
    S2kTokens t;
    Tokenize(line, t);
    V out;
    for (int k = 0; k < kTokenSlots; ++k)
        out.emplace_back(t[k]);
    while (!out.empty() && out.back().empty())
        out.pop_back();
    return out;
}

// The tokenizer exactly as its rules read, one position at a time: the oracle for the scan,
// which looks only at the characters that can cut.
V TokensByTheRules(const std::string& s) {
    std::vector<size_t> cuts;
    for (size_t i = 0; i <= s.size() && !s.empty(); ++i) {
        const char c = s[i == 0 ? 0 : i - 1];
        if (c == ' ' && (cuts.empty() || cuts.back() + 1 != i)) cuts.push_back(i);
        if (c == '=' || c == ',' || c == '"') cuts.push_back(i);
        if (i == s.size()) cuts.push_back(s.size() + 1);
    }
    V tokens;
    for (size_t k = 1; k + 1 < cuts.size() && tokens.size() < 38; ++k)
        tokens.emplace_back(
            TrimControl(std::string_view(s).substr(cuts[k], cuts[k + 1] - 1 - cuts[k])));
    return tokens;
}

} // namespace

// The cases of tests/cases/text/readers.case.
TEST(TextReaders, TokensLinesAndSectionsOfTheCases) {
    for (const vandra::testing::TestCase& c : vandra::testing::ReadCases("text/readers.case")) {
        const std::string in = vandra::testing::Unescaped(c.One(c.Has("line") ? "line" : "text"));
        std::string got;
        if (c.Has("find")) {
            const SectionBounds b = FindSection(SplitS2kLines(in), c.One("find"));
            got = std::to_string(b.Found) + " " + std::to_string(b.Start) + " " +
                  std::to_string(b.End) + " " + std::to_string(b.LineCount());
        } else {
            for (const std::string& t : c.Has("line") ? TokensOf(in) : SplitS2kLines(in).Lines())
                got += "[" + t + "]";
        }
        EXPECT_EQ(got, vandra::testing::Unescaped(c.One("gives"))) << c.where << ": " << c.title;
    }
}

TEST(Tokenizer, KeepsAtMost38TokensAndClearsTheRest) {
    // At most 38 tokens; each line clears the slots of the one before.
    std::string line = " ";
    for (int k = 0; k < 50; ++k)
        line += " " + std::to_string(k);
    S2kTokens t;
    Tokenize(line, t);
    EXPECT_EQ(t[37], "37");
    EXPECT_TRUE(t[38].empty() && t[39].empty());
    Tokenize("  A", t);
    for (int k = 1; k < kTokenSlots; ++k)
        EXPECT_TRUE(t[k].empty()) << k;
}

TEST(Tokenizer, AgreesWithTheRulesOnRandomLines) {
    std::mt19937 random(20261207);
    const char alphabet[] = {' ', ' ', ' ', '=', ',', '"', 'A', '1', '.', '\t', '\x01', '\xE9'};
    S2kTokens t;
    for (int n = 0; n < 20000; ++n) {
        std::string line;
        for (int i = static_cast<int>(random() % 90); i > 0; --i)
            line += alphabet[random() % sizeof alphabet];
        Tokenize(line, t);
        const V expected = TokensByTheRules(line);
        ASSERT_EQ(t.Filled, static_cast<int>(expected.size())) << '[' << line << ']';
        for (int k = 0; k < kTokenSlots; ++k)
            ASSERT_EQ(t[k], k < t.Filled ? std::string_view(expected[size_t(k)]) : "")
                << '[' << line << "] token " << k;
    }
}

TEST(TabularReader, RowsAcrossContinuationsQuotesAndDamage) {
    const auto values = [](const TabularFile& file, const char* table, size_t row) {
        const TabularTable* t = file.Find(table);
        if (t == nullptr || row >= t->Rows.size()) return std::string("<none>");
        std::string s;
        for (uint32_t k = 0; k < t->Rows[row].Count; ++k) {
            const auto& pair = file.Pairs[t->Rows[row].First + k];
            s += std::string(pair.Key) + "=[" + std::string(pair.Value) + "] ";
        }
        return s;
    };
    const S2kText lines("File x.s2k was saved on m/d/yy\r\n \r\nTABLE:  \"B TABLE\"\r\n"
                        "   A=1   B=\"two words\"   C=3 _\r\n        D=4   E=\"x=1, y _ z\"\r\n"
                        "   A=5\r\n \r\nTABLE:  \"EMPTY\"\r\n \r\nTABLE:  \"NOTES\"\r\n"
                        "   Name=N1   Notes=\"first line\nsecond line\nlast\"   After=7\n"
                        "   Name=N2   Notes=\"\"\n \nTABLE:  \"B TABLE\"\n   A=9\n"
                        "END TABLE DATA\nTABLE:  \"AFTER END\"\n   A=1\n");
    const TabularFile file = ReadTabular(lines);
    EXPECT_EQ(values(file, "B TABLE", 0), "A=[1] B=[two words] C=[3] D=[4] E=[x=1, y _ z] ");
    EXPECT_EQ(values(file, "B TABLE", 1), "A=[5] ");
    EXPECT_EQ(values(file, "B TABLE", 2), "A=[9] "); // a repeated header adds rows
    EXPECT_EQ(file.Find("B TABLE")->Rows[1].Line, 6);
    EXPECT_TRUE(file.Find("EMPTY")->Rows.empty());
    EXPECT_EQ(values(file, "NOTES", 0), "Name=[N1] Notes=[first line\nsecond line\nlast] After=[7] ");
    EXPECT_EQ(values(file, "NOTES", 1), "Name=[N2] Notes=[] ");
    EXPECT_EQ(file.Find("NOTES")->Rows[1].Line, 14);
    EXPECT_EQ(file.Find("AFTER END"), nullptr);
    const TabularTable& b = *file.Find("B TABLE");
    EXPECT_EQ(b.Value(b.Rows[1], "C", "absent"), "absent");
    // Damaged rows never read past the text.
    const std::pair<const char*, const char*> damaged[] = {
        {"TABLE:  \"T\"\n   A=\"never closed\n   B=2\n", "A=[never closed\n   B=2] "},
        {"TABLE:  \"T\"\n   A=1 _\n", "A=[1] "},
        {"TABLE:  \"T\"\n   A=1 _\n \n   B=2\n", "A=[1] "},
        {"TABLE:  \"T\"\n   word   A=   =5   B=x\n", "A=[] =[5] B=[x] "},
        {"TABLE: T\n   A=1\n", "A=[1] "},
    };
    for (const auto& [text, row] : damaged)
        EXPECT_EQ(values(ReadTabular(S2kText(text)), "T", 0), row) << text;
    EXPECT_TRUE(IsTabularSap2000(S2kText("File\nTABLE:  \"PROGRAM CONTROL\"\n")));
    EXPECT_FALSE(IsTabularSap2000(S2kText("title\nJOINT\n  1  X=0  Y=0  Z=0\n")));
}

// The axis of each direction and angle is an import case (v6-readers.case); joints that coincide
// give Z, and a huge angle or huge coordinates still a finite unit vector.
TEST(LocalAxis2, DegenerateFramesGiveAFiniteUnitVector) {
    TNODE far1, far2, i, j;
    far1.X = -1e308, far2.X = 1e308, far2.Z = 1e308, j.X = 1;
    const Axis2 same = LocalAxis2(i, i, 30);
    EXPECT_NEAR(std::abs(same.X) + std::abs(same.Y) + std::abs(same.Z - 1), 0, 1e-12);
    for (const Axis2 a : {LocalAxis2(far1, far2, 0), LocalAxis2(i, j, 1e308)})
        EXPECT_NEAR(std::hypot(a.X, a.Y, a.Z), 1, 1e-12);
}
