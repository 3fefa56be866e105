// The length unit of the SYSTEM section: joints keep every digit outside millimetres, and the
// defaults that carry a length or an area follow the unit.
#include "ImportTestSupport.h"

#include "import/S2kReaders.h"

#include <gtest/gtest.h>

using namespace vandra;
using namespace vandra::testing;

TEST(LengthUnit, SystemSectionChoosesTheUnit) {
    const struct {
        std::string system; // the SYSTEM section, empty for none
        int unit;
        size_t warnings;
        double x; // the coordinate written 2.25
        double cover, bars;
    } cases[] = {
        {"", kLengthMM, 0, 2.2, 35, 1000},
        {"SYSTEM\n  DOF=UX,UY,UZ,RX,RY,RZ  LENGTH=MM  FORCE=N\n\n", kLengthMM, 0, 2.2, 35, 1000},
        {"SYSTEM\n  DOF=UX,UY,UZ,RX,RY,RZ  LENGTH=mm  FORCE=N\n\n", kLengthMM, 0, 2.2, 35, 1000},
        {"SYSTEM\n  DOF=UX,UY,UZ,RX,RY,RZ  LENGTH=M  FORCE=KN\n\n", kLengthM, 0, 2.25, 0.035,
         0.001},
        {"SYSTEM\n  length=cm\n\n", kLengthCM, 0, 2.25, 3.5, 10},
        {"SYSTEM\n  FORCE=LB  LENGTH=In\n\n", kLengthIN, 0, 2.25, 35 / 25.4, 1000 / 25.4 / 25.4},
        {"SYSTEM\n  DOF=UX  LENGTH=FT\n\n", kLengthFT, 0, 2.25, 35 / 304.8, 1000 / 304.8 / 304.8},
        {"SYSTEM\n  DOF=UX  LENGTH=YARD\n\n", kLengthMM, 1, 2.2, 35, 1000},
        {"SYSTEM\n  DOF=UX  LENGTH=\n\n", kLengthMM, 1, 2.2, 35, 1000},
        {"SYSTEM\n  DOF=UX,UY  FORCE=N\n\n", kLengthMM, 0, 2.2, 35, 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.system);
        const TModel m =
            Import(c.system + "JOINT\n  1  X=2.25  Y=-1.05  Z=1e-3\n\n"
                              "FRAME SECTION\n  NAME=NCOL  MAT=C  SH=R  T=0.4,0.4\n\n");
        EXPECT_EQ(m.LengthUnit, c.unit);
        ASSERT_EQ(m.Warnings.size(), c.warnings);
        EXPECT_DOUBLE_EQ(m.Nodes[1].X, c.x);
        EXPECT_DOUBLE_EQ(m.Sections[1].Cover, c.cover);
        EXPECT_DOUBLE_EQ(m.Sections[1].BarTop, c.bars);
        EXPECT_DOUBLE_EQ(m.Sections[1].BarBot, c.bars);
        EXPECT_EQ(m.Nodes[1].Z, c.unit == kLengthMM ? 0 : 1e-3);
    }
    const TModel yard = Import("SYSTEM\n  DOF=UX  LENGTH=YARD\n\n");
    EXPECT_EQ(yard.Warnings[0].Line, 3);
    EXPECT_EQ(
        yard.Warnings[0].What,
        "the SYSTEM section gives the length unit 'YARD', which is none of MM, CM, M, IN, FT");
    EXPECT_EQ(yard.Warnings[0].Done, "lengths are taken as millimetres");

    // The files the V14 converter writes begin with the SYSTEM header.
    EXPECT_EQ(ImportS2k(SplitS2kLines("SYSTEM\n  LENGTH=M\n\nJOINT\n  1  X=0.05  Y=0  Z=0\n\n"))
                  .Nodes[1]
                  .X,
              0.05);
}

TEST(LengthUnit, NamesAndCodes) {
    const struct {
        const char* name;
        int code;
        const char* shown;
        double millimetres;
    } cases[] = {{"mm", kLengthMM, "mm", 1},
                 {"Cm", kLengthCM, "cm", 10},
                 {"m", kLengthM, "m", 1000},
                 {"IN", kLengthIN, "in", 25.4},
                 {"ft", kLengthFT, "ft", 304.8}};
    for (const auto& c : cases) {
        EXPECT_EQ(LengthUnitOfName(c.name), c.code) << c.name;
        EXPECT_EQ(LengthUnitName(c.code), c.shown);
        EXPECT_EQ(MillimetresPerUnit(c.code), c.millimetres);
    }
    EXPECT_FALSE(LengthUnitOfName("MMM"));
    EXPECT_FALSE(LengthUnitOfName(""));
}
