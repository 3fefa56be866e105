// A distributed load goes where the frame's element can take it: along a beam-column as eleLoad,
// along a truss as half its total on each end joint (the solver's trusses drop an eleLoad), on a
// rigid link nowhere; the last two with a warning.
#include "ScriptTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vandra::testing {
namespace {

// The lines of the pattern's body.
std::vector<std::string> PatternBody(const ScriptLineList& lines) {
    std::vector<std::string> body;
    bool inside = false;
    for (std::string_view line : lines) {
        if (line.starts_with("pattern Plain")) {
            inside = true;
        } else if (inside && line == "}") {
            break;
        } else if (inside) {
            body.emplace_back(line);
        }
    }
    return body;
}

TEST(FrameLoadScript, ALoadGoesWhereTheElementTakesIt) {
    // The column of SmallColumnModel stands along Z, axis 2 along X: its local x is Z, z is X and
    // y is -Y. 4 N/mm over its 3000 mm are 12 kN.
    const struct {
        int type;
        int dir;
        std::vector<std::string> body;
        std::string warning; // the start of the warning's text after the load's name
    } cases[] = {
        {kElasticBeamColumn, 2, {"eleLoad -ele 1 -type -beamUniform 0 4.000E+000 0"}, ""},
        {kTruss,
         2,
         {"load 1 6.000E+003 0.000E+000 0.000E+000 0.000E+000 0.000E+000 0.000E+000",
          "load 2 6.000E+003 0.000E+000 0.000E+000 0.000E+000 0.000E+000 0.000E+000"},
         "acts along a truss"},
        {kCorotTruss,
         3,
         {"load 1 0.000E+000 6.000E+003 0.000E+000 0.000E+000 0.000E+000 0.000E+000",
          "load 2 0.000E+000 6.000E+003 0.000E+000 0.000E+000 0.000E+000 0.000E+000"},
         "acts along a truss"},
        {kTruss,
         1,
         {"load 1 0.000E+000 0.000E+000 6.000E+003 0.000E+000 0.000E+000 0.000E+000",
          "load 2 0.000E+000 0.000E+000 6.000E+003 0.000E+000 0.000E+000 0.000E+000"},
         "acts along a truss"},
        {kRigidBeam, 2, {}, "acts on a rigid link"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("frame type " + std::to_string(c.type) + ", direction " +
                     std::to_string(c.dir));
        TModel model = SmallColumnModel();
        model.Sections[1].FrameType = c.type;
        model.LoadCaseCount = 1;
        model.LoadCaseNames = {"", "LINE"};
        TLOAD load;
        load.Kind = kFrameDistributed;
        load.Target = 1;
        load.CaseIdx = 1;
        load.Dir = c.dir;
        load.FX = 4;
        model.Loads = {TLOAD(), load};
        model.LoadCount = 1;
        ScriptLineList lines;
        WarningList warnings;
        GenerateScript(model, TSettings(), lines, &warnings);
        EXPECT_EQ(PatternBody(lines), c.body);
        const std::string name = "Load 1 of load case \"LINE\" (on frame 1) ";
        std::vector<std::string> found;
        for (const TWarning& w : warnings)
            if (w.What.starts_with(name)) found.push_back(w.What.substr(name.size()));
        if (c.warning.empty()) {
            EXPECT_TRUE(found.empty());
        } else {
            ASSERT_EQ(found.size(), 1u);
            EXPECT_TRUE(found[0].starts_with(c.warning)) << found[0];
        }
    }
}

} // namespace
} // namespace vandra::testing
