// The document's replace: the opened model comes in whole, the results of the one before go.
#include "document/Document.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace vandra {
namespace {

const std::string kFrameModel = VANDRA_SOURCE_DIR "/examples/two_storey_frame.s2k";
const std::string kSolidModel = VANDRA_SOURCE_DIR "/examples/solid_block.s2k";

TEST(Document, ReplaceTakesTheModelAndDropsTheResultsOfTheOneBefore) {
    const struct {
        std::optional<int> broughtLoadSteps; // the settings that came with the model, if any
        int loadSteps;                       // after the replace
    } cases[] = {{std::nullopt, 9}, {7, 7}};
    for (const auto& c : cases) {
        Document doc;
        doc.replace(ReadModelFile(kFrameModel));
        doc.settings().LoadSteps = 9;
        TResults& r = doc.results();
        r.Disp.X.assign(22, 1.0);
        r.Ends.I.assign(30, 1.0);
        r.Ends.Any = true;
        r.History.Steps = 3;
        r.History.X.assign(66, 1.0);
        r.ResultMin = -5;
        r.ResultMax = 5;

        TOpenedModel next = ReadModelFile(kSolidModel);
        const size_t lines = next.Text.size();
        if (c.broughtLoadSteps) {
            next.Settings = TSettings();
            next.Settings->LoadSteps = *c.broughtLoadSteps;
        }
        doc.replace(std::move(next));

        EXPECT_EQ(doc.model().SolidCount, 2);
        EXPECT_EQ(doc.model().FrameCount, -1); // no FRAME section
        EXPECT_EQ(doc.text().size(), lines);
        EXPECT_EQ(doc.path(), kSolidModel);
        EXPECT_EQ(doc.settings().LoadSteps, c.loadSteps);
        EXPECT_TRUE(r.Disp.X.empty() && r.Ends.I.empty() && !r.Ends.Any);
        EXPECT_TRUE(r.History.Steps == 0 && r.History.X.empty());
        EXPECT_TRUE(r.ResultMin == TResults().ResultMin && r.ResultMax == TResults().ResultMax);
    }
}

// Control Disp is a length: 0.1 mm at first, the same length in the unit of each model opened
// after, and what a project brings as it is.
TEST(Document, LengthSettingsKeepTheirSizeAcrossUnits) {
    const struct {
        int unit;
        std::optional<double> brought;
        double controlDisp;
    } steps[] = {{kLengthM, std::nullopt, 1e-4},
                 {kLengthCM, std::nullopt, 0.01},
                 {kLengthIN, 0.5, 0.5},
                 {kLengthMM, std::nullopt, 12.7},
                 {kLengthFT, std::nullopt, 12.7 / 304.8}};
    Document doc;
    for (const auto& s : steps) {
        TOpenedModel next;
        next.Model.LengthUnit = s.unit;
        if (s.brought) {
            next.Settings = TSettings();
            next.Settings->ControlDisp = *s.brought;
        }
        doc.replace(std::move(next));
        EXPECT_NEAR(doc.settings().ControlDisp, s.controlDisp, 1e-12 * s.controlDisp) << s.unit;
    }
}

} // namespace
} // namespace vandra
