#include "ImportTestSupport.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

using namespace vandra;
using vandra::testing::ErrorOf;
using vandra::testing::Import;

namespace {

const char* const kMaterials = "MATERIAL\n"
                               "  NAME=CONC  IDES=C\n"
                               "    T=0  E=25000  U=.2\n"
                               "  NAME=STEEL  IDES=S\n"
                               "    T=0  E=200000  U=0.3\n"
                               "  NAME=CONC  IDES=C\n"
                               "    T=0  E=30000  U=-1\n"
                               "\n";

} // namespace

TEST(MaterialReader, ReadsPairsOfLinesAndComputesTheShearModulus) {
    const TModel m = Import(kMaterials);
    ASSERT_EQ(m.MatCount, 3);
    struct Case {
        const char* name;
        double e, u, g;
    } cases[] = {{"CONC", 25000, 0.2, 25000 / 2.0 / 1.2},
                 {"STEEL", 200000, 0.3, 200000 / 2.0 / 1.3},
                 {"CONC", 30000, -1, 0}}; // a ratio of -1 gives G = 0
    for (int k = 1; k <= 3; ++k) {
        const Case& c = cases[k - 1];
        EXPECT_EQ(m.Mats[k].Name, c.name);
        EXPECT_EQ(m.Mats[k].MatType, 1);
        EXPECT_DOUBLE_EQ(m.Mats[k].E, c.e) << k;
        EXPECT_DOUBLE_EQ(m.Mats[k].U, c.u) << k;
        EXPECT_DOUBLE_EQ(m.Mats[k].G, c.g) << k;
    }
    EXPECT_GT(m.Mats[1].G, 10416);
    EXPECT_LT(m.Mats[1].G, 10417);
}

TEST(MaterialReader, IgnoresNameLinesBeyondHalfTheLineCount) {
    const TModel five =
        Import("MATERIAL\n  NAME=A\n    T=0  E=1  U=0\n  NAME=B\n    T=0  E=2  U=0\n"
               "  NAME=C  X=0  E=3  U=0\n\n");
    ASSERT_EQ(five.MatCount, 2);
    ASSERT_EQ(five.Mats.size(), 3u);
    EXPECT_EQ(five.Mats[2].Name, "B");
    EXPECT_EQ(five.Mats[2].E, 2);

    const TModel absent = Import("JOINT\n  1  X=0  Y=0  Z=0\n\n");
    EXPECT_EQ(absent.MatCount, 0); // (-1) / 2
    EXPECT_EQ(absent.Mats.size(), 1u);
}

TEST(FrameSectionReader, ChoosesTheFrameTypeByTheFirstLetterAndReadsTheShape) {
    const TModel m =
        Import(std::string(kMaterials) + "FRAME SECTION\n"
                                         "  NAME=C40X60  MAT=CONC  SH=R  T=400,600\n"
                                         "  NAME=B30X50  MAT=CONC  SH=R  T=300,500\n"
                                         "  NAME=EIPE  MAT=STEEL  SH=I  T=400,180,13.5,8.6,170,12\n"
                                         "  NAME=NBOX  MAT=STEEL  SH=B  T=300,200,10,8\n"
                                         "  NAME=TPIPE  MAT=STEEL  SH=P  T=168.3,8\n"
                                         "  NAME=DCOL  MAT=NONE  SH=R  T=350,350\n"
                                         "  NAME=HB  MAT=CONC  SH=X  T=1,2\n"
                                         "  NAME=R1  MAT=STEEL  SH=R  T=500,500\n"
                                         "  NAME=eLOW  MAT=STEEL  SH=R  T=1,1\n\n");
    ASSERT_EQ(m.SectionCount, 9);
    struct Case {
        const char* name;
        int frameType, shape, matIdx, divideFX;
        std::array<double, 7> t;
        double hinge;
    } cases[] = {
        {"C40X60", kCorotTruss, kShapeRectangle, 3, 5, {0, 400, 600}, 400},
        {"B30X50", kElasticBeamColumn, kShapeRectangle, 3, 5, {0, 300, 500}, 300},
        {"EIPE", kElasticBeamColumn, kShapeI, 2, 5, {0, 400, 180, 13.5, 8.6, 170, 12}, 400},
        {"NBOX", kNonlinearBeamColumn, kShapeBox, 2, 5, {0, 300, 200, 10, 8}, 300},
        {"TPIPE", kTruss, kShapePipe, 2, 20, {0, 168.3, 8}, 168.3},
        {"DCOL", kDispBeamColumn, kShapeRectangle, 0, 5, {0, 350, 350}, 350},
        {"HB", kBeamWithHinge, kShapeNone, 3, 5, {}, 0},
        {"R1", kRigidBeam, kShapeRectangle, 2, 5, {0, 500, 500}, 500},
        {"eLOW", kElasticBeamColumn, kShapeRectangle, 2, 5, {0, 1, 1}, 1},
    };
    for (int k = 1; k <= 9; ++k) {
        const Case& c = cases[k - 1];
        const TSECTION& s = m.Sections[k];
        EXPECT_EQ(s.Name, c.name);
        EXPECT_EQ(s.FrameType, c.frameType) << c.name;
        EXPECT_EQ(s.Shape, c.shape) << c.name;
        EXPECT_EQ(s.MatIdx, c.matIdx) << c.name; // CONC: the later of the two
        EXPECT_EQ(s.T, c.t) << c.name;
        EXPECT_EQ(s.HingeLenI, c.hinge) << c.name;
        EXPECT_EQ(s.HingeLenJ, c.hinge) << c.name;
        EXPECT_EQ(s.DivideFX, c.divideFX) << c.name;
        EXPECT_EQ(s.DivideFY, 5);
        EXPECT_EQ(s.BarNumNX, 5);
        EXPECT_EQ(s.BarNumNY, 5);
        EXPECT_EQ(s.Cover, 35.0);
        EXPECT_EQ(s.BarTop, 1000.0);
        EXPECT_EQ(s.BarBot, 1000.0);
        EXPECT_EQ(s.SectionKind, kColumnSection);
        EXPECT_EQ(s.GeoTransf, kLinear);
        EXPECT_EQ(s.Color, SectionColor(k));
        EXPECT_FALSE(s.GivenProps) << c.name;
    }
}

TEST(FrameSectionReader, StopsAtMissingOrBadDimensions) {
    EXPECT_EQ(ErrorOf<ConversionError>("FRAME SECTION\n  NAME=E1  MAT=S  SH=I  T=400,180,13,8\n\n"),
              "Line 3 (FRAME SECTION): '' is not a valid floating point value");
    EXPECT_EQ(ErrorOf<ConversionError>("FRAME SECTION\n  NAME=E1  MAT=S  SH=R  T=4OO,200\n\n"),
              "Line 3 (FRAME SECTION): '4OO' is not a valid floating point value");
}

TEST(FrameSectionReader, ColoursCycleThroughTwentyPaletteEntries) {
    std::string body = "FRAME SECTION\n";
    for (int k = 1; k <= 21; ++k)
        body += "  NAME=S" + std::to_string(k) + "  MAT=X  SH=Q\n";
    const TModel m = Import(body + "\n");
    ASSERT_EQ(m.SectionCount, 21);
    EXPECT_EQ(m.Sections[21].Color, m.Sections[1].Color);
    EXPECT_EQ(m.Sections[1].Color, Palette[1]);
    EXPECT_EQ(m.Sections[20].Color, Palette[0]);
    EXPECT_EQ(m.Sections[17].Color, Palette[17]);
}

TEST(ShellSectionReader, TakesOnlyShellLinesAndCountsEveryLine) {
    const TModel m =
        Import(std::string(kMaterials) + "SHELL SECTION\n"
                                         "  NAME=MEMB  MAT=CONC  TYPE=Thin,Membrane  TH=100,100\n"
                                         "  NAME=WALL  MAT=STEEL  TYPE=Thin,Shell  TH=200,250\n"
                                         "  NAME=LOW  MAT=CONC  TYPE=Thin,shell  TH=1,1\n"
                                         "  NAME=SLAB  MAT=CONC  TYPE=Thick,Shell  TH=150,150\n\n");
    ASSERT_EQ(m.AreaSecCount, 4);
    ASSERT_EQ(m.AreaSecs.size(), 5u);
    EXPECT_EQ(m.AreaSecs[1].Name, "WALL");
    EXPECT_EQ(m.AreaSecs[1].Thickness, 250);
    EXPECT_EQ(m.AreaSecs[1].MatIdx, 2);
    EXPECT_EQ(m.AreaSecs[1].ShellKind, 1);
    EXPECT_EQ(m.AreaSecs[1].Color, SectionColor(1));
    EXPECT_EQ(m.AreaSecs[2].Name, "SLAB");
    EXPECT_EQ(m.AreaSecs[2].MatIdx, 3);
    EXPECT_EQ(m.AreaSecs[2].Color, SectionColor(2));
    EXPECT_EQ(m.AreaSecs[2].NonlinType, kShellMITC4);
    for (int k = 3; k <= 4; ++k) {
        EXPECT_EQ(m.AreaSecs[k].Name, "");
        EXPECT_EQ(m.AreaSecs[k].ShellKind, 0);
    }
}
