// The import's model check: what passes but must be known is a warning naming file, line, what
// and what was done; a text without any section is an error.
#include "ImportTestSupport.h"

#include "model/Errors.h"
#include "model/ModelCheck.h"

#include <gtest/gtest.h>

#include <string>

namespace vandra {
namespace {

using testing::ErrorOf;
using testing::Import;
using testing::JointsAlongX;

// Line numbers below count the title line as line 1, so a body's first line is line 2.
const std::string kSections = "MATERIAL\n"                             // 2
                              "  NAME=CONC  IDES=C\n"                  // 3
                              "    T=0  E=25000  U=0.2\n"              // 4
                              "\n"                                     // 5
                              "FRAME SECTION\n"                        // 6
                              "  NAME=C1  MAT=CONC  SH=R  T=400,400\n" // 7
                              "\n";                                    // 8

TEST(ModelCheck, ImportWarnsWithLineWhatAndDone) {
    const std::string joints = JointsAlongX(3); // lines 9..13
    struct Case {
        std::string body;
        int line;
        std::string what; // a part of the warning's What
        std::string done; // a part of its Done
    } cases[] = {
        {kSections + joints + "FRAME\n  1  J=1,2  SEC=X9  NSEG=1  ANG=0\n\n", 15,
         "frame 1 names section 'X9', which matches no frame section", "no element"},
        {"MATERIAL\n  NAME=CONC  IDES=C\n    T=0  E=25000  U=0.2\n\nFRAME SECTION\n"
         "  NAME=C1  MAT=STEEL  SH=R  T=400,400\n\n",
         7, "section 'C1' names material 'STEEL', which matches no material", "E = 0"},
        {"MATERIAL\n  NAME=CONC  IDES=C\n    T=0  E=25000  U=0.2\n\nSHELL SECTION\n"
         "  NAME=W1  MAT=STEL  TYPE=Thin,Shell  TH=200,200\n\n",
         7, "section 'W1' names material 'STEL'", "E = 0"},
        {kSections + joints + "SHELL\n  1  J=1,2,3,1  SEC=W9\n\n", 15,
         "shell 1 names section 'W9', which matches no shell section", "no element"},
        // An extra blank before U1 shifts every later token: the masses would silently be 0.
        {joints + "MASS\n  ADD=2   U1=5  U2=5\n\n", 8, "MASS: key U1 expected as field 3, found ''",
         "not read"},
        {"MATERIAL\n  NAME=CONC  IDES=C\n    T=0   E=25000  U=0.2\n\n", 4,
         "material 'CONC': key E expected as field 4", "stays 0"},
        {kSections + joints + "FRAME\n  1  J=1,2  SECTION=C1  NSEG=1  ANG=0\n\n", 15,
         "frame 1: key SEC expected as field 5, found 'SECTION'", "read by position"},
        {"SHELL SECTION\n  NAME=W1  MAT=CONC  TYPE=Thin,Membrane  TH=200,200\n\n", 3,
         "section 'W1' is not of type Shell", "skipped"},
        {joints + "RESTRAINT \n  ADD=1  DOF=U1,U2,U3\n\n", 7,
         "header 'RESTRAINT ' differs from RESTRAINT only by case or blanks",
         "read as the RESTRAINT section"},
        {joints + "restraint\n  ADD=1  DOF=U1\n\nRESTRAINT\n  ADD=2  DOF=U2\n\n", 7,
         "header 'restraint' differs from RESTRAINT", "ignored; the RESTRAINT section of line 10"},
        {joints + "RESTRAINT\n  ADD=1  DOF=U1\n\nRESTRAINT\n  ADD=2  DOF=U2\n\n", 10,
         "a second RESTRAINT header", "ignored with its lines"},
        {"JOINT\n  1  X=0  Y=0  Z=0\n  20  X=1  Y=0  Z=0\n\n", 4,
         "joint labels differ from their line positions (lines: 1); the joint labelled '20' is "
         "joint 2",
         "numbered by their line"},
        {joints + "LOAD\n  NAME=DEAD\n    TYPE=FORCE\n      ADD=1  UZ=-1\n  NAME=DEAD\n\n", 11,
         "load case 'DEAD' is named twice (cases 1 and 2)", "both are kept"},
        {joints + "MASS\n  ADD=2  U1=0  U2=5\n\n", 8, "joint 2 has no U1 mass but a U2 or U3 mass",
         "kept as read"},
        {joints + "LOAD\n  NAME=A\n    TYPE=FORCE\n      ADD=1  FX=5\n\n", 10,
         "key 'FX' is not UX, UY, UZ, RX, RY, RZ (or MX, MY, MZ)", "not read"},
        {joints + "LOAD\n  NAME=A\n    TYPE=POINT\n      ADD=1  UX=5\n\n", 9,
         "load type 'POINT' is not read", "fill no load"},
        {joints + "CONSTRAINT\n  NAME=1\n   ADD=1\n    ADD=2\n\n", 9, "neither NAME=<number>",
         "skipped"},
    };
    for (const Case& c : cases) {
        const TModel m = Import(c.body);
        ASSERT_FALSE(m.Warnings.empty()) << c.body;
        bool found = false;
        for (const TWarning& w : m.Warnings) {
            if (w.What.find(c.what) == std::string::npos) continue;
            found = true;
            EXPECT_EQ(w.Line, c.line) << FormatWarning(w);
            EXPECT_NE(w.Done.find(c.done), std::string::npos) << FormatWarning(w);
        }
        EXPECT_TRUE(found) << c.what << "\nin: " << FormatWarning(m.Warnings.front());
    }
}

TEST(ModelCheck, HeaderWithATrailingBlankStillGivesItsSupports) {
    const TModel m = Import(JointsAlongX(2) + "RESTRAINT \n  ADD=2  DOF=U1,R3\n\n");
    EXPECT_EQ(m.Nodes[2].Restraint[1], 1);
    EXPECT_EQ(m.Nodes[2].Restraint[6], 1);
    const TModel lower = Import(JointsAlongX(2) + "Restraint\n  ADD=1  DOF=U2\n\n");
    EXPECT_EQ(lower.Nodes[1].Restraint[2], 1);
}

TEST(ModelCheck, ManyWarningsOfOneKindAreSummed) {
    std::string body = kSections + JointsAlongX(2) + "FRAME\n";
    for (int k = 1; k <= 500; ++k)
        body += "  " + std::to_string(k) + "  J=1,2  SECTION=C1  NSEG=1  ANG=0\n";
    const TModel m = Import(body + "\n");
    ASSERT_EQ(m.Warnings.size(), 11u);
    EXPECT_EQ(m.Warnings.back().What, "FRAME: 490 more lines with keys out of place");
}

TEST(ModelCheck, ExamplesImportWithoutWarnings) {
    for (const char* name : {"two_storey_frame", "slab_wall", "solid_block"}) {
        const std::string path = std::string(VANDRA_SOURCE_DIR) + "/examples/" + name + ".s2k";
        const TModel m = ImportS2k(ReadS2kFile(path), path);
        for (const TWarning& w : m.Warnings)
            ADD_FAILURE() << FormatWarning(w);
    }
}

TEST(ModelCheck, ATextWithoutAnySectionIsAnError) {
    for (const std::string& text : {std::string(), std::string("\x89PNG\r\n\x1a\n\0\0", 10),
                                    std::string("title\nSYSTEM\n  LENGTH=MM\n\n")}) {
        try {
            ImportS2k(SplitS2kLines(text), "m.s2k");
            ADD_FAILURE() << "no error";
        } catch (const InputError& e) {
            EXPECT_EQ(std::string(e.what()), "\"m.s2k\": no SAP2000 version 6 section found");
        }
    }
}

TEST(ModelCheck, ConversionErrorsNameLineAndSection) {
    EXPECT_EQ(ErrorOf<ConversionError>("MATERIAL\n  NAME=C  IDES=C\n    T=0  E=6e3x  U=0.2\n\n"),
              "Line 4 (MATERIAL): '6e3x' is not a valid floating point value");
    EXPECT_EQ(ErrorOf<ConversionError>(JointsAlongX(2) + "MASS\n  ADD=1  U1=x\n\n"),
              "Line 7 (MASS): 'x' is not a valid floating point value");
}

TEST(ModelCheck, ANameGivenByManyRecordsIsHeldOnce) {
    const std::string longName(100000, 'N');
    // Three joints, so that the shells have an area.
    std::string body = JointsAlongX(3) + "FRAME\n";
    for (int k = 1; k <= 3000; ++k)
        body += "  " + std::to_string(k) + "  J=1,2  SEC=" + longName + "  NSEG=1  ANG=0\n";
    body += "\nSHELL\n  1  J=1,2,3,1  SEC=" + longName + "\n  2  J=1,2,3,1  SEC=" + longName +
            "\n\nLOAD\n  NAME=" + longName + "\n    TYPE=FORCE\n";
    for (int k = 1; k <= 3000; ++k)
        body += "      ADD=1  UX=1\n";
    const TModel m = Import(body + "\n");
    ASSERT_EQ(m.FrameCount, 3000);
    EXPECT_EQ(m.Frames[1].SecName, longName);
    EXPECT_EQ(m.Frames[1].SecName.c_str(), m.Frames[3000].SecName.c_str());
    EXPECT_EQ(m.Shells[1].SecName.c_str(), m.Shells[2].SecName.c_str());
    EXPECT_EQ(m.LoadCaseNames.size(), 2u);
    EXPECT_EQ(m.Loads[3000].CaseIdx, 1);
}

TEST(ModelCheck, CrCrLfEndsOneLine) {
    EXPECT_EQ(SplitS2kLines("a\r\r\nb\r\r\n\r\r\nc").Lines(),
              (std::vector<std::string>{"a", "b", "", "c"}));
    const TModel m = ImportS2k(SplitS2kLines("t\r\r\nJOINT\r\r\n  1  X=0  Y=0  Z=0\r\r\n\r\r\n"));
    EXPECT_EQ(m.NodeCount, 1);
}

} // namespace
} // namespace vandra
