// vandra-cli mcurv and pm: the wiring of the section analysis to the command line (the curve and
// the diagram themselves are checked below it, in the core and against the solver).
#include "CliTestSupport.h"

#include "model/SolverLocator.h"

#include <algorithm>
#include <filesystem>
#include <string>

using namespace cli_test;

namespace {

// The example's 400 square column with Concrete02 (fpc -30 from E 25000) and Steel02 (Fy 250)
// bars: four in each face row (1256 a row), two along each side (628 a side).
const std::string kColumn =
    "'" + SourcePath("examples/two_storey_frame.s2k") +
    "' --section NCOL400 "
    "--set 'Mats[CONC].MatType=5' --set 'Mats[STEEL].MatType=4' "
    "--set 'Sections[NCOL400].FrameType=2' "
    "--set 'Sections[NCOL400].SectionKind=2' "
    "--set 'Sections[NCOL400].DivideFX=10' "
    "--set 'Sections[NCOL400].DivideFY=10' "
    "--set 'Sections[NCOL400].BarNumNX=4' --set 'Sections[NCOL400].BarTop=1256' "
    "--set 'Sections[NCOL400].BarNumNY=2' --set 'Sections[NCOL400].BarBot=628' "
    "--set 'Sections[NCOL400].Cover=40'";

long Count(const std::string& text, char c) {
    return std::count(text.begin(), text.end(), c);
}

} // namespace

TEST(SectionCli, InteractionDiagramsAboutBothAxes) {
    const CliRun pm = RunCli("pm " + kColumn);
    ASSERT_EQ(pm.status, 0) << pm.err;
    // Pure compression first: 160000 of concrete at -30 and 3768 of bars at ten yield strains,
    // where Steel02 (b 0.01, R0 18) carries 250 (0.1 + 0.99 10 / (1 + 10^18)^(1/18)) = 272.5.
    EXPECT_EQ(pm.out.rfind("axis,P,My,Mz\ny,-5826780,", 0), 0u) << pm.out.substr(0, 200);
    EXPECT_NE(pm.out.find("\nz,-5826780,"), std::string::npos); // then about z
}

TEST(SectionCli, MomentCurvatureRunsInTheSolver) {
    const std::string cliDir = std::filesystem::path(VANDRA_CLI_PATH).parent_path().string();
    if (vandra::FindSolver(cliDir).empty()) GTEST_SKIP() << "no OpenSees solver found";
    const std::string csv = TempPath("mc.csv");
    const CliRun run = RunCli("mcurv " + kColumn + " --axial -1e6 --dir z -o '" + csv + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadFile(csv).rfind("curvature,moment\n0,", 0), 0u);
    EXPECT_GT(Count(ReadFile(csv), '\n'), 90);
    EXPECT_EQ(run.err.find("first yield: curvature "), 0u) << run.err;
    EXPECT_NE(run.err.find("\npeak moment: curvature "), std::string::npos);
    EXPECT_NE(run.err.find("\ncover crushing: curvature "), std::string::npos);
}

TEST(SectionCli, RefusalsNameWhatIsWrong) {
    struct Case {
        std::string args;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {"mcurv " + kColumn + " --axial -1e6", 2, "mcurv takes one FILE.s2k --section NAME"},
        {"mcurv " + kColumn + " --axial -1e6 --dir x", 2, "--dir takes y or z, not 'x'"},
        {"pm " + kColumn + " --section NOPE", 2, "no frame section named 'NOPE'"},
        {"pm " + kColumn + " --set 'Sections[NCOL400].FrameType=1'", 1,
         "Frame section NCOL400 has no fibers: its elements are elastic"},
    };
    for (const Case& c : cases) {
        const CliRun run = RunCli(c.args);
        EXPECT_EQ(run.status, c.status) << c.args << "\n" << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << "\n" << run.err;
    }
}
