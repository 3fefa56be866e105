#include "ImportTestSupport.h"
#include "import/S2kReaders.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vandra;
using vandra::testing::ErrorOf;
using vandra::testing::Import;
using vandra::testing::JointsAlongX;

TEST(LocalAxis2, FollowsTheFrameDirectionAndAngle) {
    struct Case {
        const char* what;
        double dx, dy, dz, angle;
        double x, y, z;
    } cases[] = {
        {"along +X", 1, 0, 0, 0, 0, 0, 1},
        {"along +Y", 0, 1, 0, 0, 0, 0, 1},
        {"along -X", -3, 0, 0, 0, 0, 0, 1},
        {"vertical upward", 0, 0, 3, 0, 1, 0, 0},
        {"vertical upward at 90", 0, 0, 3, 90, 0, 1, 0},
        {"vertical downward", 0, 0, -3, 0, -1, 0, 0},
        {"along +X at 90", 2, 0, 0, 90, 0, -1, 0},
        {"along +X at 450", 2, 0, 0, 450, 0, -1, 0},
        {"rising at 45 in XZ", 1, 0, 1, 0, -std::sqrt(0.5), 0, std::sqrt(0.5)},
        {"joints coincide", 0, 0, 0, 30, 0, 0, 1},
        {"huge angle", 1, 0, 0, 1e308, NAN, NAN, NAN},
    };
    for (const Case& c : cases) {
        TNODE i, j;
        i.X = 5, i.Y = -2, i.Z = 1;
        j.X = i.X + c.dx, j.Y = i.Y + c.dy, j.Z = i.Z + c.dz;
        const Axis2 a = LocalAxis2(i, j, c.angle);
        if (std::isnan(c.x)) {
            EXPECT_NEAR(std::hypot(a.X, a.Y, a.Z), 1, 1e-12) << c.what;
            continue;
        }
        EXPECT_NEAR(a.X, c.x, 1e-12) << c.what;
        EXPECT_NEAR(a.Y, c.y, 1e-12) << c.what;
        EXPECT_NEAR(a.Z, c.z, 1e-12) << c.what;
    }
    TNODE far1, far2;
    far1.X = -1e308, far2.X = 1e308, far2.Z = 1e308;
    const Axis2 a = LocalAxis2(far1, far2, 0);
    EXPECT_TRUE(std::isfinite(a.X) && std::isfinite(a.Y) && std::isfinite(a.Z));
}

TEST(FrameReader, ReadsJointsSectionAngleAndReleases) {
    const TModel m =
        Import(JointsAlongX(4) +
               "FRAME SECTION\n  NAME=EB  MAT=S  SH=R  T=1,1\n  NAME=R1  MAT=S  SH=R  T=1,1\n"
               "  NAME=EB  MAT=S  SH=R  T=2,2\n\n"
               "FRAME\n"
               "  1  J=1,2  SEC=EB  NSEG=4  ANG=90\n"
               "  2  J=2,3  SEC=R1  NSEG=1  ANG=0  IREL=R2  JREL=R3\n"
               "  3  J=3,4  SEC=R1  NSEG=1  ANG=0  JREL=R3  IREL=R2\n"
               "  4  J=4,1  SEC=NONE  NSEG=2  ANG=-30  IREL=M2\n\n");
    ASSERT_EQ(m.FrameCount, 4);
    struct Case {
        int nodeI, nodeJ, secIdx, nseg;
        double angle;
        int release;
    } cases[] = {{1, 2, 3, 4, 90, kNoRelease},
                 {2, 3, 2, 1, 0, kReleaseJ},
                 {3, 4, 2, 1, 0, kReleaseI},
                 {4, 1, 0, 2, -30, kReleaseI}};
    for (int k = 1; k <= 4; ++k) {
        const Case& c = cases[k - 1];
        const TFRAME& f = m.Frames[k];
        EXPECT_EQ(f.NodeI, c.nodeI) << k;
        EXPECT_EQ(f.NodeJ, c.nodeJ) << k;
        EXPECT_EQ(f.SecIdx, c.secIdx) << k;
        EXPECT_EQ(f.Nseg, c.nseg) << k;
        EXPECT_EQ(f.Angle, c.angle) << k;
        EXPECT_EQ(f.Release, c.release) << k;
    }
    EXPECT_EQ(m.Frames[4].SecName, "NONE");
    EXPECT_NEAR(m.Frames[1].Axis2Y, -1, 1e-12);
    // Rigid beams: the JREL frame 2-3 puts joint 2 onto joint 3, the IREL frame 3-4 joint 4 onto 3.
    const int link[5] = {0, 0, 3, 0, 3};
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(m.Nodes[n].LinkNode, link[n]) << n;
}

TEST(ShellReader, SwapsTheThirdAndFourthJointsAndCountsShellSections) {
    const TModel m =
        Import(JointsAlongX(6) +
               "SHELL SECTION\n  NAME=W  MAT=C  TYPE=Thin,Shell  TH=1,1\n"
               "  NAME=M  MAT=C  TYPE=Thin,Membrane  TH=1,1\n\n"
               "SHELL\n  1  J=1,2,3,4  SEC=W\n  2  J=3,4,5,6  SEC=M\n  3  J=1,2,5,6  SEC=X\n"
               "  4  J=6,5,4,3  SEC=W\n\n");
    ASSERT_EQ(m.ShellCount, 4);
    const TSHELL& s = m.Shells[1];
    EXPECT_EQ((std::array<int, 4>{s.N1, s.N2, s.N3, s.N4}), (std::array<int, 4>{1, 2, 4, 3}));
    EXPECT_EQ(m.Shells[4].N3, 3);
    EXPECT_EQ(m.Shells[1].SecIdx, 1);
    EXPECT_EQ(m.Shells[2].SecIdx, 0); // M's line has no "Shell": no section of that name
    EXPECT_EQ(m.Shells[3].SecIdx, 0);
    EXPECT_EQ(m.ShellCount1, 2);
    EXPECT_EQ(CountsOf(m).Shell, 2);
}

TEST(SolidReader, ReordersTheCornersRoundEachFace) {
    const TModel m = Import(JointsAlongX(9) + "SOLID\n  1  J=1,2,3,4,5,6,7,8  SEC=100\n"
                                              "  2  J=2,3,4,5,6,7,8,9  SEC=7\n\n");
    ASSERT_EQ(m.SolidCount, 2);
    EXPECT_EQ(m.Solids[1].N, (std::array<int, 9>{0, 1, 2, 4, 3, 5, 6, 8, 7}));
    EXPECT_EQ(m.Solids[1].SecNo, 100);
    EXPECT_EQ(m.Solids[2].N, (std::array<int, 9>{0, 2, 3, 5, 4, 6, 7, 9, 8}));
    EXPECT_EQ(m.Solids[2].SecNo, 7);
}

TEST(ElementReaders, RejectBadJointNumbersWithTheLine) {
    const std::string joints = JointsAlongX(4); // joint lines 3..6, blank 7; header 8, data 9
    struct Case {
        std::string body;
        std::string message;
    } cases[] = {
        {"FRAME\n  1  J=1,5  SEC=A  NSEG=1  ANG=0\n\n", "Line 9: joint 5 is outside 1..4"},
        {"FRAME\n  1  J=1,2  SEC=A  NSEG=1  ANG=0\n  2  J=0,2  SEC=A  NSEG=1  ANG=0\n\n",
         "Line 10: joint 0 is outside 1..4"},
        {"SHELL\n  1  J=1,2,3,40  SEC=A\n\n", "Line 9: joint 40 is outside 1..4"},
        {"SOLID\n  1  J=1,2,3,4,1,2,3,-4  SEC=1\n\n", "Line 9: joint -4 is outside 1..4"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorOf<InputError>(joints + c.body), c.message);

    struct Conversion {
        std::string body;
        std::string message;
    } conversions[] = {
        {"FRAME\n  1  J=1,2  SEC=A  ANG=0\n\n",
         "Line 9 (FRAME): '' is not a valid floating point value"},
        {"FRAME\n  1  J=1,2  SEC=A  NSEG=X  ANG=0\n\n",
         "Line 9 (FRAME): 'X' is not a valid integer value"},
        {"FRAME\n  1  J=1,2  SEC=A  NSEG=1  ANG=3O\n\n",
         "Line 9 (FRAME): '3O' is not a valid floating point value"},
        {"FRAME\n  1  J=1.0,2  SEC=A  NSEG=1  ANG=0\n\n",
         "Line 9 (FRAME): '1.0' is not a valid integer value"},
        {"SHELL\n  1  J=1,2,3  SEC=A\n\n", "Line 9 (SHELL): 'SEC' is not a valid integer value"},
        {"SOLID\n  1  J=1,2,3,4,1,2,3,4  SEC=\n\n",
         "Line 9 (SOLID): '' is not a valid integer value"},
        {"SOLID\n  1  J=1,2,3,4,1,2,3,4  SEC=99999999999\n\n",
         "Line 9 (SOLID): '99999999999' is not a valid integer value"},
    };
    for (const Conversion& c : conversions)
        EXPECT_EQ(ErrorOf<ConversionError>(joints + c.body), c.message);
}
