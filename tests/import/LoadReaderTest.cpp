#include "ImportTestSupport.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

using namespace vandra;
using vandra::testing::ErrorOf;
using vandra::testing::Import;
using vandra::testing::JointsAlongX;

namespace {

// Joints 1..4 and frames 1..2.
std::string Base() {
    return JointsAlongX(4) +
           "FRAME\n  1  J=1,2  SEC=A  NSEG=1  ANG=0\n  2  J=2,3  SEC=A  NSEG=1  ANG=0\n\n";
}

} // namespace

TEST(LoadReader, GroupsJointForcesAndDistributedLoadsByCase) {
    const TModel m = Import(Base() + "LOAD\n"
                                     "  NAME=DEAD\n"
                                     "      ADD=3  UX=9\n" // before any TYPE: counted, not filled
                                     "    TYPE=FORCE\n"
                                     "      ADD=4  UX=1.5  UY=-2  RZ=7\n"
                                     "      ADD=2  MX=5  UZ=-3  MY=6  MZ=-7\n"
                                     "    TYPE=DISTRIBUTED\n"
                                     "      ADD=1  RD=0,1  U2=-10,-10\n"
                                     "      ADD=2  RD=0,0.5  U3=-10,-6\n"
                                     "  NAME=PUSH\n"
                                     "    TYPE=GRAVITY\n" // another type: its lines fill no load
                                     "      ADD=1  RD=0,1  UZ=4,2\n"
                                     "      ADD=2  RD=0,1  GRAV=4,2\n"
                                     "    TYPE=FORCE\n"
                                     "      ADD=1  RX=1  RY=2  UX=3\n\n");
    ASSERT_EQ(m.LoadCount, 8);
    ASSERT_EQ(m.Loads.size(), 9u);
    ASSERT_EQ(m.LoadCaseCount, 2);
    EXPECT_EQ(m.LoadCaseNames, (std::vector<std::string>{"", "DEAD", "PUSH"}));
    struct Case {
        int kind, target, dir;
        int caseIdx;
        double fx, fy, fz, mx, my, mz;
    } cases[] = {
        {kJointForce, 4, 0, 1, 1.5, -2, 0, 0, 0, 7},
        {kJointForce, 2, 0, 1, 0, 0, -3, 5, 6, -7}, // MX, MY, MZ are moments as RX, RY, RZ
        {kFrameDistributed, 1, 2, 1, -10, 0, 0, 0, 0, 0},
        {kFrameDistributed, 2, 3, 1, -4, 0, 0, 0, 0, 0},
        {kJointForce, 1, 0, 2, 3, 0, 0, 1, 2, 0},
        {kLoadUnfilled, 0, 0, 0, 0, 0, 0, 0, 0, 0}, // the table ends with the unfilled entries
        {kLoadUnfilled, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        {kLoadUnfilled, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    };
    for (int k = 1; k <= 8; ++k) {
        const Case& c = cases[k - 1];
        const TLOAD& l = m.Loads[k];
        EXPECT_EQ(l.Kind, c.kind) << k;
        EXPECT_EQ(l.Target, c.target) << k;
        EXPECT_EQ(l.Dir, c.dir) << k;
        EXPECT_EQ(l.CaseIdx, c.caseIdx) << k;
        EXPECT_DOUBLE_EQ(l.FX, c.fx) << k;
        EXPECT_EQ(l.FY, c.fy) << k;
        EXPECT_EQ(l.FZ, c.fz) << k;
        EXPECT_EQ(l.MX, c.mx) << k;
        EXPECT_EQ(l.MY, c.my) << k;
        EXPECT_EQ(l.MZ, c.mz) << k;
    }
}

TEST(LoadReader, KeepsAnyNumberOfLoadCaseNames) {
    std::string body = Base() + "LOAD\n";
    for (int c = 1; c <= 12; ++c)
        body += "  NAME=C" + std::to_string(c) +
                "\n    TYPE=FORCE\n      ADD=1  UX=" + std::to_string(c) + "\n";
    const TModel m = Import(body + "\n");
    ASSERT_EQ(m.LoadCaseCount, 12);
    ASSERT_EQ(m.LoadCaseNames.size(), 13u);
    EXPECT_EQ(m.LoadCaseNames[11], "C11");
    EXPECT_EQ(m.Loads[12].CaseIdx, 12);
    EXPECT_EQ(m.Loads[12].FX, 12);
}

TEST(LoadReader, RejectsTargetsOutsideTheirTablesAndBadNumbers) {
    const std::string base = Base(); // LOAD header on line 12, first ADD line 15
    struct Case {
        std::string body;
        std::string message;
    } cases[] = {
        {"LOAD\n  NAME=A\n    TYPE=FORCE\n      ADD=5  UX=1\n\n",
         "Line 15: joint 5 is outside 1..4"},
        {"LOAD\n  NAME=A\n    TYPE=DISTRIBUTED\n      ADD=3  RD=0,1  U2=1,1\n\n",
         "Line 15: frame 3 is outside 1..2"},
        {"LOAD\n  NAME=A\n    TYPE=DISTRIBUTED\n      ADD=1  RD=-1E308,1E308  U2=1E308,1E308\n\n",
         "Line 15: the distributed load (b - a) (wa + wb) / 2 is outside the range of numbers"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorOf<InputError>(base + c.body), c.message);
    EXPECT_EQ(ErrorOf<InputError>(
                  "LOAD\n  NAME=A\n    TYPE=DISTRIBUTED\n      ADD=1  RD=0,1  U2=1,1\n\n"),
              "Line 5: frame 1 is outside 1..0");

    struct Conversion {
        std::string body;
        std::string message;
    } conversions[] = {
        {"LOAD\n  NAME=A\n    TYPE=FORCE\n      ADD=1  UX=\n\n",
         "Line 15 (LOAD): '' is not a valid floating point value"},
        {"LOAD\n  NAME=A\n    TYPE=FORCE\n      ADD=J1  UX=1\n\n",
         "Line 15 (LOAD): 'J1' is not a valid integer value"},
        {"LOAD\n  NAME=A\n    TYPE=DISTRIBUTED\n      ADD=1  RD=0  U2=1,1\n\n",
         "Line 15 (LOAD): 'U2' is not a valid floating point value"},
    };
    for (const Conversion& c : conversions)
        EXPECT_EQ(ErrorOf<ConversionError>(base + c.body), c.message);
}
