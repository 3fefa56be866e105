#include "ImportTestSupport.h"
#include "import/S2kReaders.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

using namespace vandra;
using vandra::testing::ErrorOf;
using vandra::testing::Import;
using vandra::testing::JointsAlongX;

TEST(JointReader, RoundsCoordinatesToTenthsWithHalvesToEven) {
    struct Case {
        const char* text;
        double stored;
    } cases[] = {{"0.25", 0.2},    {"0.75", 0.8},    {"-0.25", -0.2},     {"1.04", 1.0},
                 {"1.06", 1.1},    {"2.5E-01", 0.2}, {"-1.5E+03", -1500}, {"12", 12},
                 {"1e300", 1e300}, {"1e308", 1e308}};
    for (const Case& c : cases) {
        const std::string t = c.text;
        const TModel m = Import("JOINT\n  1  X=" + t + "  Y=" + t + "  Z=" + t + "\n\n");
        ASSERT_EQ(m.NodeCount, 1);
        EXPECT_DOUBLE_EQ(m.Nodes[1].X, c.stored) << c.text;
        EXPECT_DOUBLE_EQ(m.Nodes[1].Y, c.stored) << c.text;
        EXPECT_DOUBLE_EQ(m.Nodes[1].Z, c.stored) << c.text;
    }
}

TEST(JointReader, NumbersJointsByLinePositionNotByLabel) {
    const TModel m = Import("JOINT\n  99  X=1  Y=2  Z=3\n  5  X=4  Y=5  Z=6\n\n");
    ASSERT_EQ(m.NodeCount, 2);
    ASSERT_EQ(m.Nodes.size(), 3u);
    EXPECT_EQ(m.Nodes[1].X, 1);
    EXPECT_EQ(m.Nodes[2].Z, 6);
    EXPECT_EQ(m.Nodes[2].LinkNode, 0);
}

TEST(JointReader, ThreeSpacesShiftTheCoordinatesAndStopTheImport) {
    EXPECT_EQ(ErrorOf<ConversionError>("JOINT\n  1   X=0  Y=0  Z=0\n\n"),
              "Line 3 (JOINT): 'X' is not a valid floating point value");
    EXPECT_EQ(ErrorOf<ConversionError>("JOINT\n  1\tX=0  Y=0  Z=0\n\n"),
              "Line 3 (JOINT): 'Y' is not a valid floating point value");
}

TEST(RestraintReader, FixesTheNamedDegreesOfFreedomInAnyOrder) {
    const TModel m = Import(JointsAlongX(8) + "RESTRAINT\n  ADD=7  DOF=R3,U1\n  NAME=7  DOF=U2\n"
                                              "  ADD=2  DOF=U1,U2,U3,R1,R2,R3,XX\n\n");
    const int joint7[7] = {0, 1, 0, 0, 0, 0, 1};
    for (int d = 1; d <= 6; ++d) {
        EXPECT_EQ(m.Nodes[7].Restraint[d], joint7[d]) << d;
        EXPECT_EQ(m.Nodes[2].Restraint[d], 1) << d;
        EXPECT_EQ(m.Nodes[1].Restraint[d], 0) << d;
    }
}

TEST(MassReader, ReadsU1U2U3OnlyAtTheirPositions) {
    const TModel m = Import(JointsAlongX(4) + "MASS\n  ADD=1  U1=2  U2=2\n  ADD=2  U3=5  U1=1\n"
                                              "  ADD=3  U1=1.5  U2=2.5  U3=3.5\n\n");
    struct Case {
        int joint;
        double m1, m2, m3;
    } cases[] = {{1, 2, 2, 0}, {2, 0, 0, 0}, {3, 1.5, 2.5, 3.5}, {4, 0, 0, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(m.Nodes[c.joint].Mass[1], c.m1) << c.joint;
        EXPECT_EQ(m.Nodes[c.joint].Mass[2], c.m2) << c.joint;
        EXPECT_EQ(m.Nodes[c.joint].Mass[3], c.m3) << c.joint;
        EXPECT_EQ(m.Nodes[c.joint].Mass[4], 0) << c.joint;
    }
}

TEST(ConstraintReader, TakesTheLastAddAsMasterAndTheOthersAsSlaves) {
    const TModel m = Import(JointsAlongX(8) +
                            "CONSTRAINT\n"
                            "  NAME=2  TYPE=DIAPH\n    ADD=1\n    ADD=8\n"
                            "  NAME=1  TYPE=DIAPH\n    ADD=5\n    ADD=6\n    ADD=7\n    ADD=4\n"
                            "  NAME=3\n\n");
    ASSERT_EQ(m.DiaphCount, 3);
    ASSERT_EQ(m.Diaphs.size(), 4u);
    EXPECT_EQ(m.Diaphs[1].Master, 4);
    ASSERT_EQ(m.Diaphs[1].SlaveCount, 3);
    EXPECT_EQ(m.Diaphs[1].DiaNodes, (std::vector<int>{0, 5, 6, 7}));
    EXPECT_EQ(m.Diaphs[2].Master, 8);
    EXPECT_EQ(m.Diaphs[2].SlaveCount, 1);
    EXPECT_EQ(m.Diaphs[2].DiaNodes[1], 1);
    // A group without joints has no master and no slaves.
    EXPECT_EQ(m.Diaphs[3].Master, 0);
    EXPECT_EQ(m.Diaphs[3].SlaveCount, 0);
}

TEST(ConstraintReader, RejectsNumbersOutsideTheirTables) {
    const std::string joints = JointsAlongX(3);
    struct Case {
        std::string body;
        std::string message;
    } cases[] = {
        {"CONSTRAINT\n  NAME=2\n    ADD=1\n\n", "Line 8: diaphragm 2 is outside 1..1"},
        {"CONSTRAINT\n  NAME=0\n\n", "Line 8: diaphragm 0 is outside 1..1"},
        {"CONSTRAINT\n  NAME=1\n    ADD=4\n\n", "Line 9: joint 4 is outside 1..3"},
        {"CONSTRAINT\n    ADD=1\n  NAME=1\n\n",
         "Line 8: ADD line outside any diaphragm (no NAME line before it)"},
        {"CONSTRAINT\n  NAME=1\n    ADD=1\n  NAME=1\n    ADD=2\n\n",
         "Line 10: diaphragm 1 is named twice"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorOf<InputError>(joints + c.body), c.message);
    EXPECT_EQ(ErrorOf<ConversionError>(joints + "CONSTRAINT\n  NAME=D1\n\n"),
              "Line 8 (CONSTRAINT): 'D1' is not a valid integer value");
}

TEST(JointReaders, RejectJointNumbersOutsideTheJointTable) {
    const std::string joints = JointsAlongX(10); // joint lines 3..12, blank line 13
    struct Case {
        std::string body;
        std::string message;
    } cases[] = {
        {"RESTRAINT\n  ADD=11  DOF=U1\n\n", "Line 15: joint 11 is outside 1..10"},
        {"RESTRAINT\n  ADD=0  DOF=U1\n\n", "Line 15: joint 0 is outside 1..10"},
        {"MASS\n  ADD=1  U1=1\n  ADD=-3  U1=1\n\n", "Line 16: joint -3 is outside 1..10"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorOf<InputError>(joints + c.body), c.message);
    // Without a JOINT section every joint number is outside.
    EXPECT_EQ(ErrorOf<InputError>("MASS\n  ADD=1  U1=1\n\n"), "Line 3: joint 1 is outside 1..0");
}
