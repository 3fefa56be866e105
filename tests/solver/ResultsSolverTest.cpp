// The recorder files the real solver writes for generated scripts are the files, and the columns,
// the result readers expect: every frame type, with and without the aggregator, mode shapes, and
// the cantilever's tip displacement P L^3 / 3 E I.
#include "SolverSupport.h"

#include "document/SettingsByName.h"
#include "import/S2kImport.h"
#include "post/RecorderReaders.h"
#include "tcl/ScriptGenerator.h"

#include <string>
#include <vector>

namespace vandra::testing {
namespace {

const std::string kData = std::string(VANDRA_SOURCE_DIR) + "/tests/data/";

struct Generated {
    TModel model;
    TSettings settings;
    ScriptLineList lines;
};

Generated Generate(const std::string& s2k, const std::vector<std::string>& assignments) {
    Generated g{ImportS2k(ReadS2kFile(kData + s2k)), TSettings(), {}};
    for (const std::string& a : assignments)
        AssignSetting(g.model, g.settings, a);
    GenerateScript(g.model, g.settings, g.lines);
    return g;
}

class ResultsSolverTest : public SolverTest {};

TEST_F(ResultsSolverTest, SectionFilesOfEveryFrameTypeReadBack) {
    for (const char* aggregator : {"UseAggregator=0", "UseAggregator=1"}) {
        SCOPED_TRACE(aggregator);
        Generated g = Generate("two_storey_frame.s2k",
                               {"AnalysisType=1", "LoadCase=1", "LoadSteps=5", "RecOpt=1,1,1,0,0",
                                "Sections[EIPE400].FrameType=4", aggregator});
        const SolverRun run = RunSolver(g.lines);
        ExpectCleanRun(run, aggregator);
        const std::string folder = run.Folder().string();
        for (int component = 1; component <= 3; ++component) {
            const TFrameEnds ends = ReadSectionStep(g.model, g.settings, folder, 5, component);
            EXPECT_TRUE(ends.Any);
            EXPECT_TRUE(ends.HasJ[13]); // a beam with hinges: end J from its section 6
            EXPECT_FALSE(ends.HasI[21]);
        }
        const TNodeHistory history = ReadNodeHistory(g.model, folder, 0);
        EXPECT_EQ(history.Steps, 5);
    }
}

TEST_F(ResultsSolverTest, CantileverTipAndModeShapes) {
    Generated tip = Generate("cantilever_elastic/cantilever.s2k",
                             {"AnalysisType=1", "LoadSteps=10", "RecOpt=1,0,1,0,0"});
    const SolverRun run = RunSolver(tip.lines);
    ExpectCleanRun(run, "cantilever");
    const TNodeField last = ReadNodeStep(tip.model, run.Folder().string(), 10);
    EXPECT_NEAR(last.X[2],
                2000.0 * 2000 * 2000 * 2000 / (3 * 200000 * (100.0 * 200 * 200 * 200 / 12)), 1e-4);

    Generated modal =
        Generate("two_storey_frame.s2k", {"AnalysisType=4", "ModalNumber=3", "RecOpt=1,0,0,0,1"});
    const SolverRun modes = RunSolver(modal.lines);
    ExpectCleanRun(modes, "modes");
    for (int m = 1; m <= 3; ++m) {
        const TNodeField shape = ReadModeShape(modal.model, modes.Folder().string(), m);
        EXPECT_NE(shape.X[21] * shape.X[21] + shape.Y[21] * shape.Y[21], 0) << m;
    }
}

} // namespace
} // namespace vandra::testing
