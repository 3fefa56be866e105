// vandra-cli save-project and preview, and a project accepted wherever a model file is.
#include "CliTestSupport.h"

#include <string>

using namespace cli_test;

namespace {

const std::string kFrame = SourcePath("examples/two_storey_frame.s2k");
const std::string kSets = "--set 'Mats[CONC].MatType=5' --set 'Mats[STEEL].MatType=4' "
                          "--set 'Sections[NCOL400].DivideFX=4' --set AnalysisType=3 "
                          "--set LoadVector=2 --set ControlNode=21";

} // namespace

TEST(ProjectCli, SavedProjectGivesTheSameScriptInfoAndDump) {
    const std::string project = TempPath("frame.vandra");
    const CliRun save = RunCli("save-project '" + kFrame + "' -o '" + project + "' " + kSets);
    ASSERT_EQ(save.status, 0) << save.err;
    const CliRun direct = RunCli("tcl '" + kFrame + "' " + kSets);
    const CliRun fromProject = RunCli("tcl '" + project + "'");
    ASSERT_EQ(fromProject.status, 0) << fromProject.err;
    EXPECT_EQ(fromProject.out, direct.out);
    EXPECT_NE(direct.out.find("uniaxialMaterial Concrete02 2 -3.000E+001"), std::string::npos);
    for (const char* command : {"info", "dump"}) {
        const CliRun a = RunCli(std::string(command) + " '" + kFrame + "'");
        const CliRun b = RunCli(std::string(command) + " '" + project + "'");
        EXPECT_EQ(b.status, 0) << b.err;
        if (std::string(command) == "info") {
            EXPECT_EQ(a.out, b.out);
        } else {
            // The dump lists the parameters of each material's own law.
            EXPECT_EQ(a.out.find("\"fpc\""), std::string::npos);
            EXPECT_NE(b.out.find("\"fpc\": -30"), std::string::npos) << b.out.substr(0, 2000);
        }
    }
    // Settings given on top of a project apply after its own.
    const CliRun modal = RunCli("tcl '" + project + "' --set AnalysisType=4 --set ModalNumber=6");
    EXPECT_NE(modal.out.find("eigen"), std::string::npos);
    EXPECT_NE(modal.out.find("Concrete02"), std::string::npos);
}

TEST(ProjectCli, RefusalsAndMissingFiles) {
    struct Case {
        std::string args;
        int status;
        std::string message;
    };
    const std::string project = TempPath("gone.vandra");
    const std::string copy = TempPath("gone.s2k");
    WriteTempFile("gone.s2k", ReadFile(kFrame));
    ASSERT_EQ(RunCli("save-project '" + copy + "' -o '" + project + "'").status, 0);
    std::remove(copy.c_str());
    const Case cases[] = {
        {"tcl '" + kFrame + "' --set 'Mats[CONC].MatType=3' --set 'Mats[CONC].fpc=1'", 1,
         "fpc must be negative"},
        {"tcl '" + kFrame + "' --set 'Mats[STEEL].MatType=2' --set 'Mats[STEEL].Fy=-1'", 1,
         "Fy must be positive"},
        {"tcl '" + kFrame + "' --set 'Mats[STEEL].MatType=9'", 2, "MatType takes 1 to 5"},
        {"tcl '" + project + "'", 1, "does not exist"},
        {"save-project '" + kFrame + "'", 2, "save-project takes"},
        {"preview '" + kFrame + "' -o x.png", 2, "preview takes"},
        {"preview '" + kFrame + "' --section NOPE -o '" + TempPath("x.png") + "'", 2,
         "no frame section named 'NOPE'"},
    };
    for (const Case& c : cases) {
        const CliRun run = RunCli(c.args);
        EXPECT_EQ(run.status, c.status) << c.args << "\n" << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << "\n" << run.err;
    }
}

TEST(ProjectCli, PreviewWritesTheDialogsPicture) {
    const std::string png = TempPath("ncol.png");
    const CliRun run =
        RunCli("preview '" + kFrame + "' --section NCOL400 -o '" + png + "' --set RebarMat=2");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string bytes = ReadFile(png);
    ASSERT_GT(bytes.size(), 24u);
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    // Width and height of the IHDR chunk: 200 x 200.
    EXPECT_EQ(bytes.substr(16, 8), std::string("\0\0\0\xC8\0\0\0\xC8", 8));
}
