// Whole scripts compared with checked-in references, and checked to be complete Tcl.
#include "ScriptTestSupport.h"

#include <gtest/gtest.h>

using namespace vandra;
using namespace vandra::testing;

TEST(GoldenScript, SmallColumnIsTheThirtyFiveLineScript) {
    TModel model = SmallColumnModel();
    const ScriptLineList lines = Generate(model);
    EXPECT_EQ(lines.size(), 35u);
    ExpectGolden("small_column.tcl", lines);
}
