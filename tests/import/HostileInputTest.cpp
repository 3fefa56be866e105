// Hostile and careless model files: every refusal of the readers with its exact message (version 6
// text, tabular files, V14 tables), and what a file that is read must not lose.
#include "convert/V14Converter.h"
#include "convert/V14TestSupport.h"
#include "import/ModelFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace vandra;

namespace {

// The 1-based line of the first line holding `marker`, as text.
std::string LineOf(const std::string& text, const std::string& marker) {
    const auto at = static_cast<long>(text.find(marker));
    return std::to_string(1 + std::count(text.begin(), text.begin() + at, '\n'));
}

// A tabular file in kN and m; tables are "NAME|row|row...", each row a line.
std::string Tabular(std::initializer_list<std::string> tables) {
    std::string s = "File\n\nTABLE:  \"PROGRAM CONTROL\"\n   CurrUnits=\"KN, m, C\"\n\n";
    for (std::string t : tables) {
        std::replace(t.begin(), t.end(), '|', '\n');
        s += "TABLE:  \"" + t.insert(t.find('\n'), "\"") + "\n\n";
    }
    return s + "END TABLE DATA\n";
}
const std::string kJoints = "JOINT COORDINATES|   Joint=1   XorR=0   Y=0   Z=0|   Joint=2   XorR=6"
                            "   Y=0   Z=0|   Joint=3   XorR=6   Y=4   Z=0|   Joint=4   XorR=0   Y=4";
const std::string kMaterial = "MATERIAL PROPERTIES 02 - BASIC MECHANICAL PROPERTIES|   Material=C30";
const std::string kV6 = "t\nJOINT\n  1  X=0  Y=0  Z=0\n  2  X=6  Y=0  Z=0\n  3  X=6  Y=4  Z=0\n\n";

std::string V14With(const std::string& table, const std::string& row) {
    std::string t = v14_test::CubeFile();
    return t.insert(t.find('\n', t.find(table)) + 1, row);
}

} // namespace

TEST(HostileInput, RefusalsNameTheirPlace) {
    const std::string diaphragms = "  NAME=1\n    ADD=1\n    ADD=2\n  NAME=2\n    ADD=3\n    ADD= 2\n";
    std::string noZ = v14_test::CubeFile();
    noZ.erase(noZ.find("   Z=1000"), 9);
    // "@" in a message is the line of the marker.
    const struct {
        bool v14;
        std::string text, marker, message;
    } cases[] = {
        {false, Tabular({kJoints + "   Z=0|   Joint=5   Y=0   Z=0"}), "Joint=5",
         "JOINT COORDINATES row 5 (line @): the row gives no XorR"},
        {false, Tabular({kMaterial + "   E1=0"}), "C30",
         "MATERIAL PROPERTIES 02 - BASIC MECHANICAL PROPERTIES row 1 (line @): E1 of material "
         "\"C30\" must be positive, not 0"},
        {false,
         Tabular({kMaterial + "   E1=3E7", "FRAME SECTION PROPERTIES 01 - GENERAL|   "
                                           "SectionName=R1   Shape=Rectangular   t3=0.4   t2=-1"}),
         "R1", "FRAME SECTION PROPERTIES 01 - GENERAL row 1 (line @): t2 of frame section \"R1\" "
               "must be positive, not -1"},
        {false,
         Tabular({kJoints + "   Z=0|   Joint=7   GlobalX=6   GlobalY=4   GlobalZ=0",
                  "CONNECTIVITY - FRAME|   Frame=F   JointI=3   JointJ=7"}),
         "Frame=F", "CONNECTIVITY - FRAME row 1 (line @): frame \"F\" joins joints \"3\" and \"7\", "
                    "which stand at the same point; it would have no length"},
        {false,
         Tabular({kJoints + "   Z=0", "CONNECTIVITY - AREA|   Area=A   Joint1=3   Joint2=3   "
                                      "Joint3=3   Joint4=3"}),
         "Area=A", "CONNECTIVITY - AREA row 1 (line @): area \"A\" has its corners at fewer than "
                   "three points; it would have no area"},
        {false,
         Tabular({kJoints + "   Z=0", "CONSTRAINT DEFINITIONS - DIAPHRAGM|   Name=D1|   Name=D2",
                  "JOINT CONSTRAINT ASSIGNMENTS|   Joint=1   Constraint=D1|   Joint=2   "
                  "Constraint=D1|   Joint=2   Constraint=D2|   Joint=3   Constraint=D2"}),
         "Name=D2", "CONSTRAINT DEFINITIONS - DIAPHRAGM row 2 (line @): joint \"2\" of diaphragm "
                    "\"D2\" is also in diaphragm \"D1\"; a joint can be in one diaphragm only"},
        {false, kV6 + "FRAME\n  1  J=2,2  SEC=S  NSEG=2  ANG=0\n", "J=2",
         "Line @: frame 1 joins joint 2 to itself"},
        {false, kV6 + "SHELL\n  1  J=1,2,2,1  SEC=S\n", "J=1",
         "Line @: shell 1 has its corners (joints 1, 2, 2, 1) at fewer than three points; it "
         "would have no area"},
        {false, kV6 + "CONSTRAINT\n" + diaphragms, "ADD= 2",
         "Line @: joint 2 of diaphragm 2 is in diaphragm 1 already; a joint can be in one "
         "diaphragm only"},
        {false, "t\nFRAME SECTION\n  NAME=R1  MAT=C  SH=R  T=400,0\n", "R1",
         "Line @ (FRAME SECTION): section 'R1': dimension 2 of T must be positive, not 0"},
        {false, "t\nJOINT\n  1  X=" + std::string(99, '7') + "\x7f  Y=0  Z=0\n", "X=",
         "Line @ (JOINT): '" + std::string(64, '7') + "...' (100 bytes) is not a valid floating "
                                                      "point value"},
        {true, kV6, "",
         "The file has no table \"JOINT COORDINATES\": it is not a SAP2000 V14 table file"},
        {true, V14With("JOINT LOADS", "   Joint=9   F1=1\n"), "Joint=9",
         "Line @ (JOINT LOADS - FORCE): joint 9 is not in the table \"JOINT COORDINATES\""},
        {true, V14With("RESTRAINT ASS", "   Joint=12   U1=Yes\n"), "Joint=12",
         "Line @ (JOINT RESTRAINT ASSIGNMENTS): joint 12 is not in the table \"JOINT "
         "COORDINATES\""},
        {true, noZ, "Joint=5", "Line @ (JOINT COORDINATES): the row gives no Z"},
    };
    for (const auto& c : cases) {
        std::string message = c.message, error = "no error";
        if (const size_t at = message.find('@'); at != std::string::npos)
            message.replace(at, 1, LineOf(c.text, c.marker));
        try {
            if (c.v14)
                ConvertV14(S2kText(c.text));
            else
                ImportModelText(S2kText(c.text), "m.s2k");
        } catch (const std::exception& e) {
            error = e.what();
        }
        EXPECT_EQ(error, message) << c.text.substr(0, 300);
    }
}

// What is read stays what the file says.
TEST(HostileInput, ReadFilesKeepTheirMeaning) {
    const std::string bom = "\xEF\xBB\xBF";
    const std::string quote = Tabular({kJoints + "   Z=0   Note=\"open", kMaterial + "   E1=3E7",
                                       "ACTIVE DEGREES OF FREEDOM|   UX=Yes   UY=No"});
    const std::string mesh = "FRAME AUTO MESH ASSIGNMENTS|   Frame=1   AutoMesh=Yes   NumSegments=";
    const std::string frames = "CONNECTIVITY - FRAME|   Frame=1   JointI=1   JointJ=3|   Frame=2 "
                               "  JointI=2   JointJ=4";
    const struct {
        std::string text, warning; // a warning the import gives, "" for none to look for
        std::function<void(const TModel&)> check;
    } cases[] = {
        {bom + Tabular({kJoints + "   Z=0"}), "", [](const TModel& m) { EXPECT_EQ(m.Nodes[2].X, 6000); }},
        {bom + "SYSTEM\n  LENGTH=M\n\nJOINT\n  1  X=6.25  Y=0  Z=0\n", "",
         [](const TModel& m) { EXPECT_EQ(m.LengthUnit * (m.Nodes[1].X == 6.25), kLengthM); }},
        {"t\n" + bom + kV6.substr(2), "", [](const TModel& m) { EXPECT_EQ(m.NodeCount, 3); }},
        {quote,
         "m.s2k:" + LineOf(quote, "open") + ": the quote opened on this line is not closed before "
         "the table header or END TABLE DATA on line " + LineOf(quote, "MATERIAL") +
             "; the value ends there; the lines it took in are not read as rows",
         [](const TModel& m) {
             EXPECT_EQ(m.NodeCount * m.Mats[1].E, 4 * 30000); // the material table was read
             EXPECT_TRUE(std::any_of(m.Warnings.begin(), m.Warnings.end(), [](const TWarning& w) {
                 return w.What.rfind("the model is analysed without UY", 0) == 0;
             }));
         }},
        {Tabular({kJoints + "   Z=0", frames, mesh + "25000"}),
         "m.s2k:" + LineOf(Tabular({kJoints, frames, mesh}), "NumSegments") +
             ": 1 frames ask the auto mesh for more than 10000 pieces; each is cut into 10000 "
             "pieces",
         [](const TModel& m) { EXPECT_EQ(m.FrameCount, 10001); }},
        // Two frames crossing at their midpoints, each cut in two, meet at one new joint.
        {Tabular({kJoints + "   Z=0", frames, mesh + "2|   Frame=2   AutoMesh=Yes   NumSegments=2"}),
         "",
         [](const TModel& m) {
             EXPECT_EQ(m.NodeCount, 5);
             EXPECT_EQ(m.Frames[1].NodeJ * m.Frames[2].NodeJ, 25);
         }},
    };
    for (const auto& c : cases) {
        const TModel m = ImportModelText(S2kText(c.text), "m.s2k");
        std::string all;
        for (const TWarning& w : m.Warnings)
            all += FormatWarning(w) + "\n";
        if (!c.warning.empty()) EXPECT_NE(all.find(c.warning + "\n"), std::string::npos) << all;
        c.check(m);
    }
}

// Columns in another order and a quoted value with blanks convert to the same text.
TEST(HostileInput, V14ValuesAreFoundByTheirKeys) {
    std::string text = v14_test::CubeFile();
    const std::string row = "CoordSys=GLOBAL   CoordType=Cartesian   XorR=1000   Y=0   Z=0";
    text.replace(text.find(row), row.size(), "Z=0   Y=0   XorR=1000");
    text.replace(text.find("LoadPat=PUSH"), 12, "LoadPat=\"PU SH\"");
    EXPECT_EQ(ConvertV14(S2kText(text)).V6Lines, v14_test::CubeV6Lines());
}
