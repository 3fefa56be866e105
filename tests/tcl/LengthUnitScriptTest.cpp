// Lengths written with "%0.0f" and "%0.2f" in millimetres keep every digit in other units.
#include "ScriptTestSupport.h"

#include "import/S2kImport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace vandra;

TEST(LengthUnitScript, HingeLengthsAndPlateThicknessesKeepTheirDigits) {
    const struct {
        const char* unit;
        const char* joints; // the second joint
        const char* sectionDims;
        const char* thickness;
        const char* hingeLine;
        const char* plateLine;
    } cases[] = {
        {"MM", "X=0  Y=0  Z=3000", "400,300", "125", "element beamWithHinges 1 1 2 1 400 1 400 ",
         "section PlateFiber 701 601 125.00"},
        {"M", "X=0  Y=0  Z=3", "0.5,0.3", "0.125", "element beamWithHinges 1 1 2 1 0.5 1 0.5 ",
         "section PlateFiber 701 601 0.125"},
        {"FT", "X=0  Y=0  Z=10", "1.3125,1", "0.40625",
         "element beamWithHinges 1 1 2 1 1.3125 1 1.3125 ", "section PlateFiber 701 601 0.40625"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.unit);
        TModel model = ImportS2k(SplitS2kLines(
            std::string("t\nSYSTEM\n  DOF=UX,UY,UZ,RX,RY,RZ  LENGTH=") + c.unit +
            "  FORCE=N\n\nJOINT\n  1  X=0  Y=0  Z=0\n  2  " + c.joints +
            "\n\nMATERIAL\n  NAME=C  IDES=C\n    T=0  E=25000  U=0.2\n\n"
            "FRAME SECTION\n  NAME=HCOL  MAT=C  SH=R  T=" +
            c.sectionDims +
            "\n\nSHELL SECTION\n  NAME=SLAB  MAT=C  TYPE=Thin,Shell  TH=" + c.thickness + "," +
            c.thickness + "\n\nFRAME\n  1  J=1,2  SEC=HCOL  NSEG=1  ANG=0\n\n"));
        ScriptLineList lines;
        GenerateScript(model, TSettings(), lines);
        const auto starts = [&lines](const std::string& prefix) {
            return std::any_of(lines.begin(), lines.end(), [&](std::string_view line) {
                return line.compare(0, prefix.size(), prefix) == 0;
            });
        };
        EXPECT_TRUE(starts(c.hingeLine));
        EXPECT_TRUE(starts(c.plateLine));
    }
}
