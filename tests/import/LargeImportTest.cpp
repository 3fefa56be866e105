// A large LOAD section is read on a second thread beside the elements: the model, its warnings and
// its errors must be those of reading the sections one after the other.
#include "ImportTestSupport.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

#include <string>

using namespace vandra;
using vandra::testing::ErrorOf;
using vandra::testing::Import;
using vandra::testing::JointsAlongX;

namespace {

// Joints 1..4, frames 1..2 (the second naming a section that is not there, or with `frameAngle`),
// and a LOAD section of `forces` joint forces, the first ADD line before any TYPE and the last
// with `lastForce` as its UX.
std::string Model(int forces, const std::string& frameAngle, const std::string& lastForce) {
    std::string s = JointsAlongX(4) +
                    "FRAME SECTION\n  NAME=A  MAT=STEEL  SH=R  T=400,400\n\n"
                    "FRAME\n  1  J=1,2  SEC=A  NSEG=1  ANG=0\n  2  J=2,3  SEC=B  NSEG=1  ANG=" +
                    frameAngle + "\n\nLOAD\n  NAME=DEAD\n      ADD=3  UX=9\n    TYPE=FORCE\n";
    for (int k = 1; k < forces; ++k)
        s += "      ADD=" + std::to_string(1 + k % 4) + "  UX=" + std::to_string(k) + "\n";
    return s + "      ADD=4  UX=" + lastForce + "\n\n";
}

TEST(LargeImport, LoadsAndWarningsAsReadInSequence) {
    // Below and above the size from which the loads are read beside the elements.
    for (const int forces : {100, 30000}) {
        SCOPED_TRACE(forces);
        const TModel m = Import(Model(forces, "0", "-2.5"));
        ASSERT_EQ(m.LoadCount, forces + 1);
        ASSERT_EQ(m.Loads.size(), static_cast<size_t>(forces) + 2);
        EXPECT_EQ(m.LoadCaseCount, 1);
        // The ADD line before any TYPE is counted without a load of its own.
        EXPECT_EQ(m.Loads[1].Target, 2);
        EXPECT_EQ(m.Loads[1].FX, 1);
        EXPECT_EQ(m.Loads[static_cast<size_t>(forces)].Target, 4);
        EXPECT_EQ(m.Loads[static_cast<size_t>(forces)].FX, -2.5);
        EXPECT_EQ(m.Frames[2].SecIdx, 0);
        // The section's unknown material, the frame's unmatched section, then the ADD line
        // before any TYPE.
        ASSERT_EQ(m.Warnings.size(), 3u);
        EXPECT_TRUE(m.Warnings[0].What.starts_with("FRAME SECTION: ")) << m.Warnings[0].What;
        EXPECT_TRUE(m.Warnings[1].What.starts_with("FRAME: ")) << m.Warnings[1].What;
        EXPECT_TRUE(m.Warnings[2].What.starts_with("LOAD: ")) << m.Warnings[2].What;

        // With an unreadable number in both sections, the frame's is the error.
        EXPECT_NE(ErrorOf<ConversionError>(Model(forces, "x", "y")).find("(FRAME)"),
                  std::string::npos);
        EXPECT_NE(ErrorOf<ConversionError>(Model(forces, "0", "y")).find("(LOAD)"),
                  std::string::npos);
    }
}

} // namespace
