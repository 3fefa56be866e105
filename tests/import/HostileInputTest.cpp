// Hostile and careless model files: every refusal of the readers with its exact message (version 6
// text, tabular files, V14 tables), and what a file that is read must not lose (a byte order mark,
// an open quote, an auto mesh beyond its cap).
#include "convert/V14Converter.h"
#include "convert/V14TestSupport.h"
#include "import/ModelFile.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

using namespace vandra;

namespace {

enum class Reader { Model, V14 };

// The 1-based line of the first line holding `marker`.
int LineOf(const std::string& text, const std::string& marker) {
    const size_t at = text.find(marker);
    return at == std::string::npos
               ? 0
               : 1 + static_cast<int>(
                         std::count(text.begin(), text.begin() + static_cast<long>(at), '\n'));
}
std::string L(const std::string& text, const std::string& marker) {
    return std::to_string(LineOf(text, marker));
}

// A tabular file in kN and m with the given tables after its PROGRAM CONTROL.
std::string Tabular(const std::string& tables) {
    return "File m.$2k was saved on 1/1/26\n\nTABLE:  \"PROGRAM CONTROL\"\n"
           "   ProgramName=SAP2000   CurrUnits=\"KN, m, C\"\n\n" +
           tables + "END TABLE DATA\n";
}
const std::string kTwoJoints =
    "TABLE:  \"JOINT COORDINATES\"\n"
    "   Joint=1   CoordSys=GLOBAL   CoordType=Cartesian   XorR=0   Y=0   Z=0\n"
    "   Joint=2   CoordSys=GLOBAL   CoordType=Cartesian   XorR=6   Y=0   Z=0\n\n";
const std::string kFourJoints = kTwoJoints.substr(0, kTwoJoints.size() - 1) +
                                "   Joint=3   XorR=6   Y=4   Z=0\n"
                                "   Joint=4   XorR=0   Y=4   Z=0\n\n";
const std::string kConcrete = "TABLE:  \"MATERIAL PROPERTIES 02 - BASIC MECHANICAL PROPERTIES\"\n"
                              "   Material=C30   E1=30000000   U12=0.2\n\n";

// A version 6 file: a title, then the sections.
std::string V6(const std::string& sections) {
    return "title\n" + sections;
}
const std::string kV6Joints = "JOINT\n  1  X=0  Y=0  Z=0\n  2  X=6000  Y=0  Z=0\n"
                              "  3  X=6000  Y=4000  Z=0\n  4  X=0  Y=4000  Z=0\n\n";

std::string Refusal(Reader reader, const std::string& text) {
    try {
        if (reader == Reader::V14)
            ConvertV14(S2kText(text));
        else
            ImportModelText(S2kText(text), "m.s2k");
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(HostileInput, RefusalsNameTheirPlace) {
    const std::string noXorR =
        Tabular("TABLE:  \"JOINT COORDINATES\"\n"
                "   Joint=1   CoordSys=GLOBAL   CoordType=Cartesian   Y=0   Z=0\n\n");
    const std::string noE1 =
        Tabular("TABLE:  \"MATERIAL PROPERTIES 02 - BASIC MECHANICAL PROPERTIES\"\n"
                "   Material=C30   U12=0.2\n\n");
    const std::string zeroE1 =
        Tabular("TABLE:  \"MATERIAL PROPERTIES 02 - BASIC MECHANICAL PROPERTIES\"\n"
                "   Material=C30   E1=0   U12=0.2\n\n");
    const std::string flatSection = Tabular(
        kConcrete + "TABLE:  \"FRAME SECTION PROPERTIES 01 - GENERAL\"\n"
                    "   SectionName=R1   Material=C30   Shape=Rectangular   t3=0.4   t2=0\n\n");
    const std::string noJointJ =
        Tabular(kTwoJoints + "TABLE:  \"CONNECTIVITY - FRAME\"\n   Frame=1   JointI=1\n\n");
    const std::string samePoint = Tabular(
        "TABLE:  \"JOINT COORDINATES\"\n   Joint=1   XorR=2   Y=0   Z=0\n   Joint=7   GlobalX=2   "
        "GlobalY=0   "
        "GlobalZ=0\n\nTABLE:  \"CONNECTIVITY - FRAME\"\n   Frame=F1   JointI=1   JointJ=7\n\n");
    const std::string equalCorners = Tabular(
        kFourJoints + "TABLE:  \"CONNECTIVITY - AREA\"\n"
                      "   Area=A1   NumJoints=4   Joint1=3   Joint2=3   Joint3=3   Joint4=3\n\n");
    const std::string twoDiaphragms = Tabular(
        kFourJoints +
        "TABLE:  \"CONSTRAINT DEFINITIONS - DIAPHRAGM\"\n   Name=D1   CoordSys=GLOBAL   Axis=Z\n"
        "   Name=D2   CoordSys=GLOBAL   Axis=Z\n\nTABLE:  \"JOINT CONSTRAINT ASSIGNMENTS\"\n"
        "   Joint=1   Constraint=D1   Type=Diaphragm\n   Joint=2   Constraint=D1   Type=Diaphragm\n"
        "   Joint=2   Constraint=D2   Type=Diaphragm\n   Joint=3   Constraint=D2   "
        "Type=Diaphragm\n\n");
    const std::string selfFrame = V6(kV6Joints + "FRAME\n  1  J=2,2  SEC=NONE  NSEG=2  ANG=0\n\n");
    const std::string atOnePoint = V6("JOINT\n  1  X=0  Y=0  Z=0\n  2  X=0  Y=0  Z=0\n\nFRAME\n  1 "
                                      " J=1,2  SEC=NONE  NSEG=2  ANG=0\n\n");
    const std::string oneJointShell = V6(kV6Joints + "SHELL\n  1  J=1,1,1,1  SEC=NONE\n\n");
    const std::string v6Diaphragms =
        V6(kV6Joints +
           "CONSTRAINT\n  NAME=1\n    ADD=1\n    ADD=2\n  NAME=2\n    ADD=3\n    ADD=2\n\n");
    const std::string flatV6 =
        V6("MATERIAL\n  NAME=CONC  IDES=C\n    T=0  E=25000  U=0.2\n\nFRAME SECTION\n"
           "  NAME=R1  MAT=CONC  SH=R  T=400,0\n\n");
    const std::string longToken = V6("JOINT\n  1  X=" + std::string(100, '7') + "x  Y=0  Z=0\n\n");
    const std::string escape = V6("JOINT\n  1  X=1\x7f  Y=0  Z=0\n\n");
    const std::string v14Forces = [] {
        std::string t = v14_test::CubeFile();
        return t.insert(t.find("\nTABLE:  \"CONNECTIVITY"),
                        v14_test::ForceRow(9, {1, 0, 0, 0, 0, 0}));
    }();
    const std::string v14Restraint = [] {
        std::string t = v14_test::CubeFile();
        return t.insert(t.find("\nTABLE:  \"JOINT LOADS"),
                        v14_test::RestraintRow(12, {"Yes", "No", "No", "No", "No", "No"}));
    }();
    const std::string v14NoZ = [] {
        std::string t = v14_test::CubeFile();
        const size_t row = t.find("   Joint=5");
        return t.erase(t.find("   Z=1000", row), 9);
    }();

    const struct {
        Reader reader;
        std::string text, message;
    } cases[] = {
        // Missing required keys: never 0.
        {Reader::Model, noXorR,
         "JOINT COORDINATES row 1 (line " + L(noXorR, "Joint=1") + "): the row gives no XorR"},
        {Reader::Model, noE1,
         "MATERIAL PROPERTIES 02 - BASIC MECHANICAL PROPERTIES row 1 (line " + L(noE1, "C30") +
             "): the row gives no E1"},
        {Reader::Model, noJointJ,
         "CONNECTIVITY - FRAME row 1 (line " + L(noJointJ, "Frame=1") +
             "): the row gives no JointJ"},
        // Physically impossible data.
        {Reader::Model, zeroE1,
         "MATERIAL PROPERTIES 02 - BASIC MECHANICAL PROPERTIES row 1 (line " + L(zeroE1, "C30") +
             "): E1 of material \"C30\" must be positive, not 0"},
        {Reader::Model, flatSection,
         "FRAME SECTION PROPERTIES 01 - GENERAL row 1 (line " + L(flatSection, "R1") +
             "): t2 of frame section \"R1\" must be positive, not 0"},
        {Reader::Model, samePoint,
         "CONNECTIVITY - FRAME row 1 (line " + L(samePoint, "F1") +
             "): frame \"F1\" joins joints \"1\" and \"7\", which stand at the same point; it "
             "would have no length"},
        {Reader::Model, equalCorners,
         "CONNECTIVITY - AREA row 1 (line " + L(equalCorners, "A1") +
             "): area \"A1\" has its corners at fewer than three points; it would have no area"},
        {Reader::Model, twoDiaphragms,
         "CONSTRAINT DEFINITIONS - DIAPHRAGM row 2 (line " + L(twoDiaphragms, "D2") +
             "): joint \"2\" of diaphragm \"D2\" is also in diaphragm \"D1\"; a joint can be in "
             "one diaphragm only"},
        {Reader::Model, selfFrame,
         "Line " + L(selfFrame, "J=2,2") + ": frame 1 joins joint 2 to itself"},
        {Reader::Model, atOnePoint,
         "Line " + L(atOnePoint, "J=1,2") +
             ": frame 1 joins joints 1 and 2, which stand at the same point; it would have no "
             "length"},
        {Reader::Model, oneJointShell,
         "Line " + L(oneJointShell, "J=1,1") +
             ": shell 1 has its corners (joints 1, 1, 1, 1) at fewer than three points; it would "
             "have no area"},
        {Reader::Model, v6Diaphragms,
         "Line " + std::to_string(LineOf(v6Diaphragms, "ADD=3") + 1) +
             ": joint 2 of diaphragm 2 is in diaphragm 1 already; a joint can be in one diaphragm "
             "only"},
        {Reader::Model, flatV6,
         "Line " + L(flatV6, "T=400,0") +
             " (FRAME SECTION): section 'R1': dimension 2 of T must be positive, not 0"},
        // Tokens are shown readable and short.
        {Reader::Model, longToken,
         "Line " + L(longToken, "X=") + " (JOINT): '" + std::string(64, '7') +
             "...' (101 bytes) is not a valid floating point value"},
        {Reader::Model, escape,
         "Line " + L(escape, "X=") + " (JOINT): '1^?' is not a valid floating point value"},
        // The V14 converter: no joints, nothing dropped, keys by name.
        {Reader::V14, "",
         "The file has no table \"JOINT COORDINATES\": it is not a SAP2000 V14 table file"},
        {Reader::V14, kV6Joints,
         "The file has no table \"JOINT COORDINATES\": it is not a SAP2000 V14 table file"},
        {Reader::V14, v14Forces,
         "Line " + L(v14Forces, "Joint=9") +
             " (JOINT LOADS - FORCE): joint 9 is not in the table \"JOINT COORDINATES\""},
        {Reader::V14, v14Restraint,
         "Line " + L(v14Restraint, "Joint=12") +
             " (JOINT RESTRAINT ASSIGNMENTS): joint 12 is not in the table \"JOINT COORDINATES\""},
        {Reader::V14, v14NoZ,
         "Line " + L(v14NoZ, "Joint=5") + " (JOINT COORDINATES): the row gives no Z"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Refusal(c.reader, c.text), c.message) << c.text.substr(0, 400);
}

// What is read must stay what the file says.
TEST(HostileInput, ReadFilesKeepTheirMeaning) {
    const std::string bom = "\xEF\xBB\xBF";
    const std::string unclosed =
        Tabular("TABLE:  \"JOINT COORDINATES\"\n   Joint=1   XorR=0   Y=0   Z=0   Note=\"open\n"
                "   Joint=2   XorR=6   Y=0   Z=0\n" +
                kConcrete +
                "TABLE:  \"ACTIVE DEGREES OF FREEDOM\"\n   UX=Yes   UY=No   UZ=Yes   RX=No   "
                "RY=Yes   RZ=No\n\n");
    const std::string capped = Tabular(
        kTwoJoints + "TABLE:  \"CONNECTIVITY - FRAME\"\n   Frame=1   JointI=1   JointJ=2\n\n"
                     "TABLE:  \"FRAME AUTO MESH ASSIGNMENTS\"\n   Frame=1   AutoMesh=Yes   "
                     "AtJoints=No   NumSegments=25000\n\n");
    // Two frames crossing at (3, 2), each cut in two: the cut point is one joint.
    const std::string crossing = Tabular(
        kFourJoints +
        "TABLE:  \"CONNECTIVITY - FRAME\"\n   Frame=1   JointI=1   JointJ=3\n"
        "   Frame=2   JointI=2   JointJ=4\n\nTABLE:  \"FRAME AUTO MESH ASSIGNMENTS\"\n"
        "   Frame=1   AutoMesh=Yes   NumSegments=2\n   Frame=2   AutoMesh=Yes   NumSegments=2\n\n");
    const struct {
        const char* what;
        std::string text;
        std::string warning; // a warning the import gives, "" for none to look for
        std::function<void(const TModel&)> check;
    } cases[] = {
        {"a byte order mark before PROGRAM CONTROL", bom + Tabular(kTwoJoints), "",
         [](const TModel& m) { EXPECT_EQ(m.Nodes[2].X, 6000); }},
        {"a byte order mark before SYSTEM",
         bom + "SYSTEM\n  DOF=UX,UY,UZ,RX,RY,RZ  LENGTH=M  FORCE=KN\n\nJOINT\n  1  X=6.25  Y=0  "
               "Z=0\n\n",
         "",
         [](const TModel& m) {
             EXPECT_EQ(m.LengthUnit, kLengthM);
             EXPECT_EQ(m.Nodes[1].X, 6.25);
         }},
        {"a byte order mark before the header of a pasted file", "title\n" + bom + kV6Joints, "",
         [](const TModel& m) { EXPECT_EQ(m.NodeCount, 4); }},
        {"an open quote", unclosed,
         "m.s2k:" + L(unclosed, "open") +
             ": the quote opened on this line is not closed before the table header or END TABLE "
             "DATA on line " +
             L(unclosed, "MATERIAL") +
             "; the value ends there; the lines it took in are not read as rows",
         [](const TModel& m) {
             ASSERT_EQ(m.MatCount, 1);
             EXPECT_EQ(m.Mats[1].E, 30000);
             EXPECT_EQ(m.NodeCount, 1); // the joint inside the quote
             EXPECT_TRUE(std::any_of(m.Warnings.begin(), m.Warnings.end(), [](const TWarning& w) {
                 return w.What == "the model is analysed without UY RX RZ";
             }));
         }},
        {"a mesh beyond its cap", capped,
         "m.s2k:" + L(capped, "NumSegments") +
             ": 1 frames ask the auto mesh for more than 10000 pieces; each is cut into 10000 "
             "pieces",
         [](const TModel& m) {
             EXPECT_EQ(m.FrameCount, 10000);
             EXPECT_DOUBLE_EQ(m.Nodes[m.Frames[1].NodeJ].X, 0.6);
         }},
        {"crossing meshed frames", crossing, "",
         [](const TModel& m) {
             EXPECT_EQ(m.FrameCount, 4);
             EXPECT_EQ(m.NodeCount, 5);
             EXPECT_EQ(m.Frames[1].NodeJ, m.Frames[2].NodeJ);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TModel m = ImportModelText(S2kText(c.text), "m.s2k");
        std::string all;
        for (const TWarning& w : m.Warnings)
            all += FormatWarning(w) + "\n";
        if (!c.warning.empty()) EXPECT_NE(all.find(c.warning + "\n"), std::string::npos) << all;
        c.check(m);
    }
}

// The V14 converter reads its values by key: columns in another order and quoted values with
// blanks convert to the same text.
TEST(HostileInput, V14ValuesAreFoundByTheirKeys) {
    std::string reordered = v14_test::CubeFile();
    const std::string row =
        "   Joint=2   CoordSys=GLOBAL   CoordType=Cartesian   XorR=1000   Y=0   Z=0";
    reordered.replace(reordered.find(row), row.size(),
                      "   Z=0   Y=0   XorR=1000   CoordType=Cartesian   CoordSys=GLOBAL   Joint=2");
    const std::string pattern = "LoadPat=PUSH";
    reordered.replace(reordered.find(pattern), pattern.size(), "LoadPat=\"PU SH\"");
    EXPECT_EQ(ConvertV14(S2kText(reordered)).V6Lines, v14_test::CubeV6Lines());
}
