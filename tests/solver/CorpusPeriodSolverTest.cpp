// The FEMU bridges of the corpus in a modal analysis: a simply supported girder (one SAP frame cut
// into 250 pieces) whose first vertical period has a closed form that takes every convention
// SAP2000 applies to it: the section's given I33 and shear area AS2 (shear deformation), the
// stiffness modifier, and the mass of the DEAD loads (the file's mass source). A file's own
// modifier table, added here, must change the period as the closed form says.
#include "CorpusFiles.h"
#include "SolverSupport.h"

#include "import/S2kImport.h"
#include "import/TabularImport.h"
#include "sections/SectionProperties.h"
#include "tcl/ScriptGenerator.h"
#include "tcl/SettingsCheck.h"

#include <cmath>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace vandra::testing {
namespace {

class CorpusPeriodSolverTest : public SolverTest {};

// T1 of a simply supported Timoshenko beam without rotary inertia.
double SimpleBeamPeriod(double L, double EI, double GAs, double massPerLength) {
    const double k = std::numbers::pi / L;
    const double omega2 = k * k * k * k * EI / massPerLength / (1 + k * k * EI / GAs);
    return 2 * std::numbers::pi / std::sqrt(omega2);
}

TEST_F(CorpusPeriodSolverTest, BridgeGirderFirstPeriodIsTheClosedForm) {
    if (!HaveCorpus()) GTEST_SKIP() << "no corpus";
    for (const char* file : {"bridge-pso.$2k", "bridge-ga.$2k"})
        for (const double i33Mod : {1.0, 0.765}) {
            SCOPED_TRACE(std::string(file) + " I33Mod " + std::to_string(i33Mod));
            std::ifstream in(CorpusFile(file), std::ios::binary);
            std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (i33Mod != 1) // a table before the end of the data
                text.insert(text.rfind("END TABLE DATA"),
                            "TABLE:  \"FRAME PROPERTY MODIFIERS\"\r\n   Frame=2   I33Mod=0.765\r\n \r\n");
            const TModel model = ImportTabular(S2kText(text), file);
            // The girder: the supports at its ends, the mass spread evenly along it.
            double x0 = 1e300, x1 = -1e300, mass = 0;
            for (int j = 1; j <= model.NodeCount; ++j) {
                const TNODE& n = model.Nodes[static_cast<size_t>(j)];
                x0 = std::min(x0, n.X);
                x1 = std::max(x1, n.X);
                mass += n.Mass[3];
            }
            const double L = x1 - x0;
            const TSECTION& sec = model.Sections[1];
            ASSERT_TRUE(sec.GivenProps.has_value());
            const TMAT& mat = model.Mats[static_cast<size_t>(sec.MatIdx)];
            const double expected = SimpleBeamPeriod(L, mat.E * sec.GivenProps->I33 * i33Mod,
                                                     mat.G * sec.GivenProps->AS2, mass / L);
            TSettings settings;
            settings.AnalysisType = kModal;
            settings.ModalNumber = 2;
            ScriptLineList lines;
            GenerateScript(model, settings, lines);
            lines.push_back("puts \"LAMBDA [lindex $lambda 0]\"");
            const SolverRun run = RunSolver(lines);
            ExpectCleanRun(run, file);
            const size_t at = run.Console().find("LAMBDA ");
            ASSERT_NE(at, std::string::npos) << run.Console();
            double lambda = 0;
            std::istringstream(run.Console().substr(at + 7)) >> lambda;
            const double period = 2 * std::numbers::pi / std::sqrt(lambda);
            EXPECT_NEAR(period, expected, 1e-3 * expected);
        }
}

// The buildings tie every floor joint's UZ to a support: those directions carry no mass, and the
// eigen solver chosen for as many modes as remain must deliver them all.
TEST_F(CorpusPeriodSolverTest, BuildingsGiveEveryModeTheirMassesAllow) {
    if (!HaveCorpus()) GTEST_SKIP() << "no corpus";
    for (const char* file : {"building-pso.$2k", "building-ga.$2k"}) {
        SCOPED_TRACE(file);
        const TModel model = ImportTabular(ReadS2kFile(CorpusFile(file)), file);
        TSettings settings;
        settings.AnalysisType = kModal;
        settings.ModalNumber = MaxModes(model);
        ASSERT_GE(settings.ModalNumber, 6); // two floors: X, Y and twist each
        ScriptLineList lines;
        GenerateScript(model, settings, lines);
        lines.push_back("puts \"MODES [llength $lambda]\"");
        const SolverRun run = RunSolver(lines);
        ExpectCleanRun(run, file);
        EXPECT_NE(run.Console().find("MODES " + std::to_string(settings.ModalNumber)),
                  std::string::npos);
    }
}

} // namespace
} // namespace vandra::testing
