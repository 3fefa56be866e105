// Whole files: randomly corrupted copies of the examples and of the corpus give a sound model (and a
// script) or an import error and never anything else; a large LOAD section read beside the
// elements gives what reading in sequence gives; a name given by many records is held once.
#include "CaseFile.h"
#include "CorpusFiles.h"
#include "import/Mutator.h"

#include "import/ModelFile.h"
#include "import/S2kImport.h"
#include "model/Errors.h"
#include "tcl/ScriptGenerator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <vector>

using namespace vandra;
using namespace vandra::testing;

namespace {

// Every reference lies within its table, every coordinate and axis is finite.
void ExpectSound(const TModel& m) {
    const auto sized = [](const auto& table, int count) {
        return count < 0 ? table.empty() : table.size() == size_t(count) + 1;
    };
    ASSERT_TRUE(sized(m.Nodes, m.NodeCount) && sized(m.Frames, m.FrameCount) &&
                sized(m.Shells, m.ShellCount) && sized(m.Solids, m.SolidCount) &&
                sized(m.Mats, m.MatCount) && sized(m.Sections, m.SectionCount) &&
                sized(m.AreaSecs, m.AreaSecCount) && sized(m.Loads, m.LoadCount) &&
                sized(m.Diaphs, m.DiaphCount) &&
                m.LoadCaseNames.size() == size_t(m.LoadCaseCount) + 1);
    const auto joint = [&](int n) { return n >= 1 && n <= m.NodeCount; };
    for (int k = 1; k <= m.NodeCount; ++k) {
        const TNODE& n = m.Nodes[k];
        ASSERT_TRUE((n.LinkNode == 0 || joint(n.LinkNode)) && std::isfinite(n.X + n.Y + n.Z));
    }
    for (int k = 1; k <= m.FrameCount; ++k) {
        const TFRAME& f = m.Frames[k];
        ASSERT_TRUE(joint(f.NodeI) && joint(f.NodeJ) && f.SecIdx >= 0 &&
                    f.SecIdx <= CountOf(m.SectionCount));
        ASSERT_NEAR(std::hypot(f.Axis2X, f.Axis2Y, f.Axis2Z), 1, 1e-9);
    }
    for (int k = 1; k <= m.ShellCount; ++k) {
        const TSHELL& s = m.Shells[k];
        ASSERT_TRUE(joint(s.N1) && joint(s.N2) && joint(s.N3) && joint(s.N4) && s.SecIdx >= 0 &&
                    s.SecIdx <= CountOf(m.AreaSecCount));
    }
    for (int k = 1; k <= m.SolidCount; ++k)
        for (int c = 1; c <= 8; ++c)
            ASSERT_TRUE(joint(m.Solids[k].N[c]));
    for (int k = 1; k <= m.SectionCount; ++k)
        ASSERT_TRUE(m.Sections[k].MatIdx >= 0 && m.Sections[k].MatIdx <= m.MatCount);
    for (int k = 1; k <= m.MatCount; ++k)
        ASSERT_TRUE(std::isfinite(m.Mats[k].G));
    for (int k = 1; k <= m.LoadCount; ++k) {
        const TLOAD& l = m.Loads[k];
        ASSERT_TRUE(l.Kind != kJointForce || joint(l.Target));
        ASSERT_TRUE(l.Kind != kFrameDistributed ||
                    (l.Target >= 1 && l.Target <= m.FrameCount && std::isfinite(l.FX)));
    }
    for (int d = 1; d <= m.DiaphCount; ++d) {
        const TDIAPH& g = m.Diaphs[d];
        ASSERT_TRUE((g.Master == 0 || joint(g.Master)) &&
                    g.DiaNodes.size() == size_t(g.SlaveCount) + 1);
        for (int s = 1; s <= g.SlaveCount; ++s)
            ASSERT_TRUE(joint(g.DiaNodes[s]));
    }
    for (int e = 1; e <= m.EqualDofCount; ++e)
        ASSERT_TRUE(joint(m.EqualDofs[e].Retained) && joint(m.EqualDofs[e].Constrained));
}

TModel Import(const std::string& text) {
    return ImportModelText(SplitS2kLines(text), "m.s2k");
}

} // namespace

// One ctest test per example (2000 copies each) and one for the corpus files, each its own seed.
class CorruptedCopies : public ::testing::TestWithParam<int> {};

TEST_P(CorruptedCopies, GiveASoundModelOrAnImportError) {
    struct File {
        std::string path;
        int rounds;
    };
    std::vector<File> files;
    const char* examples[] = {"two_storey_frame.s2k", "slab_wall.s2k", "solid_block.s2k"};
    if (GetParam() < 3) files = {{SourcePath("examples/") + examples[GetParam()], 2000}};
    else if (HaveCorpus())
        files = {{CorpusFile("building-pso.$2k"), 80},
                 {CorpusFile("bridge-ga.$2k"), 120},
                 {CorpusFile("init.$2k"), 100},
                 {CorpusFile("ofem-demo.s2k"), 8}};
    else GTEST_SKIP() << "no corpus";
    Mutator mutator(20261206 + unsigned(GetParam()));
    int models = 0, conversions = 0, inputs = 0;
    for (const File& f : files) {
        const std::string original = ReadText(f.path);
        ASSERT_FALSE(original.empty()) << f.path;
        for (int round = 0; round < f.rounds; ++round) {
            const std::string text = mutator.Mutate(original);
            try {
                const TModel m = Import(text);
                ++models;
                ExpectSound(m);
                ASSERT_FALSE(::testing::Test::HasFatalFailure()) << f.path << ":\n" << text;
                TSettings settings; // whatever the file held, a sound model gives a script
                settings.AnalysisType = 1 + round % 7;
                settings.UseAggregator = round % 2 == 0;
                ScriptLineList script;
                GenerateScript(m, settings, script);
                ASSERT_GT(script.size(), 10u) << f.path << " round " << round;
            } catch (const ConversionError&) {
                ++conversions;
            } catch (const InputError&) {
                ++inputs;
            }
        }
    }
    // Both ways out are taken: sound models and each kind of refusal.
    EXPECT_GT(models, 10) << conversions << " " << inputs;
    EXPECT_GT(conversions, 5) << models << " " << inputs;
    EXPECT_GT(inputs, 1) << models << " " << conversions;
}
INSTANTIATE_TEST_SUITE_P(Files, CorruptedCopies, ::testing::Range(0, 4));


// Below and above the size from which the loads are read on a second thread beside the elements:
// the same loads, the same warnings in the same order, and of two errors the frame's.
TEST(WholeFile, ALargeLoadSectionGivesWhatReadingInSequenceGives) {
    const auto model = [](int forces, const std::string& angle, const std::string& last) {
        std::string s = "t\nJOINT\n  1  X=0  Y=0  Z=0\n  2  X=1  Y=0  Z=0\n  3  X=2  Y=0  Z=0\n"
                        "  4  X=3  Y=0  Z=0\n\nFRAME SECTION\n  NAME=A  MAT=STEEL  SH=R  T=400,400\n"
                        "\nFRAME\n  1  J=1,2  SEC=A  NSEG=1  ANG=0\n  2  J=2,3  SEC=B  NSEG=1  ANG=" +
                        angle + "\n\nLOAD\n  NAME=DEAD\n      ADD=3  UX=9\n    TYPE=FORCE\n";
        for (int k = 1; k < forces; ++k)
            s += "      ADD=" + std::to_string(1 + k % 4) + "  UX=" + std::to_string(k) + "\n";
        return s + "      ADD=4  UX=" + last + "\n\n";
    };
    const auto error = [](const std::string& text) {
        try {
            Import(text);
        } catch (const ConversionError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    for (const int forces : {100, 30000}) {
        SCOPED_TRACE(forces);
        const TModel m = Import(model(forces, "0", "-2.5"));
        ASSERT_EQ(m.LoadCount, forces + 1);
        // The ADD line before any TYPE is counted without a load of its own.
        EXPECT_EQ(std::vector({m.Loads[1].Target, m.Loads[forces].Target}), std::vector({2, 4}));
        EXPECT_EQ(std::vector({m.Loads[1].FX, m.Loads[forces].FX}), std::vector({1.0, -2.5}));
        ASSERT_EQ(m.Warnings.size(), 3u);
        EXPECT_TRUE(m.Warnings[0].What.starts_with("FRAME SECTION: ") &&
                    m.Warnings[1].What.starts_with("FRAME: ") &&
                    m.Warnings[2].What.starts_with("LOAD: "));
        EXPECT_NE(error(model(forces, "x", "y")).find("(FRAME)"), std::string::npos);
        EXPECT_NE(error(model(forces, "0", "y")).find("(LOAD)"), std::string::npos);
    }
}

TEST(WholeFile, ANameGivenByManyRecordsIsHeldOnce) {
    const std::string name(1000, 'N');
    // Three joints, so that the shells have an area.
    std::string text =
        "t\nJOINT\n  1  X=0  Y=0  Z=0\n  2  X=1  Y=0  Z=0\n  3  X=1  Y=1  Z=0\n\nFRAME\n";
    for (int k = 1; k <= 300; ++k)
        text += "  " + std::to_string(k) + "  J=1,2  SEC=" + name + "  NSEG=1  ANG=0\n";
    text += "\nSHELL\n  1  J=1,2,3,1  SEC=" + name + "\n  2  J=1,2,3,1  SEC=" + name +
            "\n\nLOAD\n  NAME=" + name + "\n    TYPE=FORCE\n      ADD=1  UX=1\n\n";
    const TModel m = Import(text);
    ASSERT_EQ(m.FrameCount, 300);
    EXPECT_EQ(m.Frames[1].SecName, name);
    EXPECT_EQ(m.Frames[1].SecName.c_str(), m.Frames[300].SecName.c_str());
    EXPECT_EQ(m.Shells[1].SecName.c_str(), m.Shells[2].SecName.c_str());
    EXPECT_EQ(m.LoadCaseNames[1], name);
}
