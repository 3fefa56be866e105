// vandra-cli mcurv and pm: the wiring of the section analysis to the command line (the curve and
// the diagram themselves are checked below it, in the core and against the solver).
#include "CliTestSupport.h"

#include "model/SolverLocator.h"

#include <cstdlib>
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
    "--set 'Sections[NCOL400].Cover=40' --set RebarMat=1";

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(SectionCli, InteractionDiagramsAboutBothAxes) {
    const CliRun pm = RunCli("pm " + kColumn);
    ASSERT_EQ(pm.status, 0) << pm.err;
    // Pure compression first: 160000 of concrete at -30 and 3768 of bars at ten yield strains,
    // where Steel02 (b 0.01, R0 18) carries 250 (0.1 + 0.99 10 / (1 + 10^18)^(1/18)) = 272.5.
    EXPECT_EQ(pm.out.rfind("axis,P,My,Mz\ny,-5826780,", 0), 0u) << pm.out.substr(0, 200);
    EXPECT_GT(Count(pm.out, "\ny,"), 40u);
    EXPECT_EQ(Count(pm.out, "\ny,"), Count(pm.out, "\nz,"));
    const std::string csv = TempPath("pm.csv");
    ASSERT_EQ(RunCli("pm " + kColumn + " -o '" + csv + "'").status, 0);
    EXPECT_EQ(ReadFile(csv), pm.out);
}

TEST(SectionCli, MomentCurvatureRunsInTheSolver) {
    const std::string cliDir = std::filesystem::path(VANDRA_CLI_PATH).parent_path().string();
    if (vandra::FindSolver(cliDir).empty()) GTEST_SKIP() << "no OpenSees solver found";
    const CliRun run = RunCli("mcurv " + kColumn + " --axial -1e6 --dir z");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("curvature,moment\n0,", 0), 0u) << run.out.substr(0, 200);
    EXPECT_GT(Count(run.out, "\n"), 90u);
    for (const char* mark :
         {"first yield: curvature ", "peak moment: curvature ", "cover crushing: curvature "})
        EXPECT_EQ(Count(run.err, mark), 1u) << mark << "\n" << run.err;
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
        {"mcurv " + kColumn + " --axial big --dir y", 2,
         "--axial: 'big' is not a valid floating point value"},
        {"pm " + kColumn + " --section NOPE", 2, "no frame section named 'NOPE'"},
        {"mcurv " + kColumn + " --axial -1e6 --dir y --max-curvature 0", 1,
         "Frame section NCOL400: the curvature to reach must be a positive finite number, not 0"},
        {"pm " + kColumn + " --set 'Sections[NCOL400].FrameType=1'", 1,
         "Frame section NCOL400 has no fibers"},
    };
    for (const Case& c : cases) {
        const CliRun run = RunCli(c.args);
        EXPECT_EQ(run.status, c.status) << c.args << "\n" << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << "\n" << run.err;
    }
    // A solver that cannot be found is named with where it was looked for.
    const char* given = std::getenv("VANDRA_OPENSEES");
    const std::string saved = given == nullptr ? "" : given;
    ::setenv("VANDRA_OPENSEES", "/nonexistent/OpenSees", 1);
    const CliRun missing = RunCli("mcurv " + kColumn + " --axial 0 --dir y");
    if (given == nullptr)
        ::unsetenv("VANDRA_OPENSEES");
    else
        ::setenv("VANDRA_OPENSEES", saved.c_str(), 1);
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("VANDRA_OPENSEES names \"/nonexistent/OpenSees\""),
              std::string::npos)
        << missing.err;
}
