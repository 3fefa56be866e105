// The tabular text reader: rows, continuation lines, quoted values, table ends.
#include "import/TabularReader.h"

#include <gtest/gtest.h>

using namespace vandra;

namespace {

std::string Values(const TabularFile& file, const std::string& table, size_t row) {
    const TabularTable* t = file.Find(table);
    if (t == nullptr || row >= t->Rows.size()) return "<none>";
    std::string s;
    const TabularRow& r = t->Rows[row];
    for (uint32_t k = 0; k < r.Count; ++k)
        s += std::string(file.Pairs[r.First + k].Key) + "=[" +
             std::string(file.Pairs[r.First + k].Value) + "] ";
    return s;
}

} // namespace

TEST(TabularReader, RowsAcrossContinuationsQuotesAndSeparators) {
    const S2kText lines("File x.s2k was saved on m/d/yy\r\n"
                        " \r\n"
                        "TABLE:  \"B TABLE\"\r\n"
                        "   A=1   B=\"two words\"   C=3 _\r\n"
                        "        D=4   E=\"x=1, y _ z\"\r\n"
                        "   A=5\r\n"
                        " \r\n"
                        "TABLE:  \"EMPTY\"\r\n"
                        " \r\n"
                        "TABLE:  \"NOTES\"\r\n"
                        "   Name=N1   Notes=\"first line\n"
                        "second line\n"
                        "last\"   After=7\n"
                        "   Name=N2   Notes=\"\"\n"
                        " \n"
                        "TABLE:  \"B TABLE\"\n"
                        "   A=9\n"
                        "END TABLE DATA\n"
                        "TABLE:  \"AFTER END\"\n"
                        "   A=1\n");
    const TabularFile file = ReadTabular(lines);
    EXPECT_EQ(Values(file, "B TABLE", 0), "A=[1] B=[two words] C=[3] D=[4] E=[x=1, y _ z] ");
    EXPECT_EQ(Values(file, "B TABLE", 1), "A=[5] ");
    EXPECT_EQ(Values(file, "B TABLE", 2), "A=[9] "); // a repeated header adds rows
    EXPECT_EQ(file.Find("B TABLE")->Rows[1].Line, 6);
    ASSERT_NE(file.Find("EMPTY"), nullptr);
    EXPECT_TRUE(file.Find("EMPTY")->Rows.empty());
    EXPECT_EQ(Values(file, "NOTES", 0),
              "Name=[N1] Notes=[first line\nsecond line\nlast] After=[7] ");
    EXPECT_EQ(Values(file, "NOTES", 1), "Name=[N2] Notes=[] ");
    EXPECT_EQ(file.Find("NOTES")->Rows[1].Line, 14);
    EXPECT_EQ(file.Find("AFTER END"), nullptr);
    const TabularTable& b = *file.Find("B TABLE");
    EXPECT_EQ(b.Value(b.Rows[1], "C", "absent"), "absent");
}

TEST(TabularReader, DamagedRowsNeverReadPastTheText) {
    const struct {
        const char* text;
        const char* row0;
    } cases[] = {
        {"TABLE:  \"T\"\n   A=\"never closed\n   B=2\n", "A=[never closed\n   B=2] "},
        {"TABLE:  \"T\"\n   A=1 _\n", "A=[1] "},
        {"TABLE:  \"T\"\n   A=1 _\n \n   B=2\n", "A=[1] "},
        {"TABLE:  \"T\"\n   word   A=   =5   B=x\n", "A=[] =[5] B=[x] "},
        {"TABLE: T\n   A=1\n", "A=[1] "},
    };
    for (const auto& c : cases) {
        const S2kText lines(c.text);
        const TabularFile file = ReadTabular(lines);
        EXPECT_EQ(Values(file, "T", 0), c.row0) << c.text;
    }
    EXPECT_TRUE(IsTabularSap2000(S2kText("File\nTABLE:  \"PROGRAM CONTROL\"\n")));
    EXPECT_FALSE(IsTabularSap2000(S2kText("title\nJOINT\n  1  X=0  Y=0  Z=0\n")));
}
