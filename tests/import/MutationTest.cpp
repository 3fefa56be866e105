// Randomly corrupted copies of the example models: each must import to a sound model or stop with
// a ConversionError or InputError, never anything else.
#include "CorpusFiles.h"
#include "import/S2kImport.h"
#include "import/TabularImport.h"
#include "model/Errors.h"
#include "tcl/ScriptGenerator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <random>
#include <sstream>

using namespace vandra;

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class Mutator {
public:
    explicit Mutator(unsigned seed) : rng_(seed) {}

    std::string Mutate(std::string text) {
        const int count = Pick(1, 4);
        for (int k = 0; k < count && !text.empty(); ++k) {
            switch (Pick(0, 6)) {
            case 0:
                text[Pos(text)] = static_cast<char>(Pick(0, 255));
                break;
            case 1:
                EraseLine(text);
                break;
            case 2:
                DuplicateLine(text);
                break;
            case 3:
                DigitToLetter(text);
                break;
            case 4:
                MakeHuge(text);
                break;
            case 5:
                text.insert(Pos(text), std::string(static_cast<size_t>(Pick(1, 4)), ' '));
                break;
            default:
                text.insert(Pos(text), 1, "=,\"\t\r\n-."[Pick(0, 8)]);
                break;
            }
        }
        return text;
    }

private:
    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    size_t Pos(const std::string& t) {
        return static_cast<size_t>(Pick(0, static_cast<int>(t.size()) - 1));
    }

    // [begin, end) of the line around position p, its line end included.
    std::pair<size_t, size_t> LineAt(const std::string& t, size_t p) {
        size_t b = t.rfind('\n', p == 0 ? 0 : p - 1);
        b = (b == std::string::npos || p == 0) ? 0 : b + 1;
        size_t e = t.find('\n', p);
        e = e == std::string::npos ? t.size() : e + 1;
        return {b, e};
    }
    void EraseLine(std::string& t) {
        auto [b, e] = LineAt(t, Pos(t));
        t.erase(b, e - b);
    }
    void DuplicateLine(std::string& t) {
        auto [b, e] = LineAt(t, Pos(t));
        t.insert(Pos(t) < t.size() / 2 ? b : e, t.substr(b, e - b));
    }
    void DigitToLetter(std::string& t) {
        const size_t p = t.find_first_of("0123456789", Pos(t));
        if (p != std::string::npos) t[p] = static_cast<char>('A' + Pick(0, 25));
    }
    void MakeHuge(std::string& t) {
        static const char* const kHuge[] = {"1E308",      "-1.7E308",    "99999999999",
                                            "2147483647", "-2147483648", "1E-320",
                                            "0",          "-0",          "-1"};
        const size_t p = t.find_first_of("0123456789", Pos(t));
        if (p == std::string::npos) return;
        const size_t e = t.find_first_not_of("0123456789.", p);
        t.replace(p, (e == std::string::npos ? t.size() : e) - p, kHuge[Pick(0, 8)]);
    }

    std::mt19937 rng_;
};

// Every reference of the model lies within its table and every axis is a finite unit vector.
void ExpectSound(const TModel& m) {
    auto sized = [](const auto& table, int count) {
        return count < 0 ? table.empty() : table.size() == static_cast<size_t>(count) + 1;
    };
    ASSERT_TRUE(sized(m.Nodes, m.NodeCount));
    ASSERT_TRUE(sized(m.Frames, m.FrameCount));
    ASSERT_TRUE(sized(m.Shells, m.ShellCount));
    ASSERT_TRUE(sized(m.Solids, m.SolidCount));
    ASSERT_TRUE(sized(m.Mats, m.MatCount));
    ASSERT_TRUE(sized(m.Sections, m.SectionCount));
    ASSERT_TRUE(sized(m.AreaSecs, m.AreaSecCount));
    ASSERT_TRUE(sized(m.Loads, m.LoadCount));
    ASSERT_TRUE(sized(m.Diaphs, m.DiaphCount));
    ASSERT_EQ(m.LoadCaseNames.size(), static_cast<size_t>(m.LoadCaseCount) + 1);
    const int nodes = CountOf(m.NodeCount);
    auto joint = [&](int n) { return n >= 1 && n <= nodes; };
    for (int k = 1; k <= m.NodeCount; ++k) {
        const TNODE& n = m.Nodes[k];
        ASSERT_TRUE(n.LinkNode == 0 || joint(n.LinkNode));
        ASSERT_TRUE(std::isfinite(n.X) && std::isfinite(n.Y) && std::isfinite(n.Z));
    }
    for (int k = 1; k <= m.FrameCount; ++k) {
        const TFRAME& f = m.Frames[k];
        ASSERT_TRUE(joint(f.NodeI) && joint(f.NodeJ));
        ASSERT_TRUE(f.SecIdx >= 0 && f.SecIdx <= CountOf(m.SectionCount));
        ASSERT_NEAR(std::hypot(f.Axis2X, f.Axis2Y, f.Axis2Z), 1, 1e-9);
    }
    for (int k = 1; k <= m.ShellCount; ++k) {
        const TSHELL& s = m.Shells[k];
        ASSERT_TRUE(joint(s.N1) && joint(s.N2) && joint(s.N3) && joint(s.N4));
        ASSERT_TRUE(s.SecIdx >= 0 && s.SecIdx <= CountOf(m.AreaSecCount));
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
        if (l.Kind == kJointForce) {
            ASSERT_TRUE(joint(l.Target));
        }
        if (l.Kind == kFrameDistributed) {
            ASSERT_TRUE(l.Target >= 1 && l.Target <= m.FrameCount);
            ASSERT_TRUE(std::isfinite(l.FX));
        }
    }
    for (int d = 1; d <= m.DiaphCount; ++d) {
        const TDIAPH& g = m.Diaphs[d];
        ASSERT_TRUE(g.Master == 0 || joint(g.Master));
        ASSERT_EQ(g.DiaNodes.size(), static_cast<size_t>(g.SlaveCount) + 1);
        for (int s = 1; s <= g.SlaveCount; ++s)
            ASSERT_TRUE(joint(g.DiaNodes[s]));
    }
}

} // namespace

TEST(Mutation, CorruptedExamplesGiveASoundModelOrAnImportError) {
    const char* const files[] = {"two_storey_frame.s2k", "slab_wall.s2k", "solid_block.s2k"};
    Mutator mutator(20261206);
    int models = 0, conversions = 0, inputs = 0;
    for (const char* file : files) {
        const std::string original = ReadText(std::string(VANDRA_SOURCE_DIR) + "/examples/" + file);
        ASSERT_FALSE(original.empty()) << file;
        for (int round = 0; round < 2000; ++round) {
            const std::string text = mutator.Mutate(original);
            try {
                TModel m = ImportS2k(SplitS2kLines(text));
                ++models;
                ExpectSound(m);
                if (::testing::Test::HasFatalFailure()) {
                    ADD_FAILURE() << file << " round " << round << ":\n" << text;
                    return;
                }
                // Whatever the file held, a sound model gives a script.
                TSettings settings;
                settings.AnalysisType = 1 + round % 7;
                settings.UseAggregator = round % 2 == 0;
                ScriptLineList script;
                GenerateScript(m, settings, script);
                ASSERT_GT(script.size(), 10u) << file << " round " << round;
            } catch (const ConversionError&) {
                ++conversions;
            } catch (const InputError&) {
                ++inputs;
            }
        }
    }
    // The corruptions reach every outcome.
    EXPECT_GT(models, 100);
    EXPECT_GT(conversions, 100);
    EXPECT_GT(inputs, 10);
}

// Corrupted copies of the tabular corpus files: a sound model (with a script) or a clear error.
TEST(Mutation, CorruptedTabularFilesGiveASoundModelOrAnImportError) {
    if (!vandra::testing::HaveCorpus()) GTEST_SKIP() << "no corpus";
    const struct {
        const char* file;
        int rounds;
    } files[] = {
        {"building-pso.$2k", 80}, {"bridge-ga.$2k", 120}, {"init.$2k", 100}, {"ofem-demo.s2k", 8}};
    Mutator mutator(20261207);
    int models = 0, errors = 0;
    for (const auto& f : files) {
        const std::string original = ReadText(vandra::testing::CorpusFile(f.file));
        ASSERT_FALSE(original.empty()) << f.file;
        for (int round = 0; round < f.rounds; ++round) {
            const std::string text = mutator.Mutate(original);
            try {
                const S2kText lines(text);
                TModel m = ImportTabular(lines, f.file);
                ++models;
                ExpectSound(m);
                for (int e = 1; e <= m.EqualDofCount; ++e) {
                    const TEQUALDOF& tie = m.EqualDofs[static_cast<size_t>(e)];
                    ASSERT_TRUE(tie.Retained >= 1 && tie.Retained <= m.NodeCount);
                    ASSERT_TRUE(tie.Constrained >= 1 && tie.Constrained <= m.NodeCount);
                }
                if (::testing::Test::HasFatalFailure()) {
                    ADD_FAILURE() << f.file << " round " << round;
                    return;
                }
                TSettings settings;
                settings.AnalysisType = 1 + round % 7;
                ScriptLineList script;
                GenerateScript(m, settings, script);
                ASSERT_GT(script.size(), 10u) << f.file << " round " << round;
            } catch (const ConversionError&) {
                ++errors;
            } catch (const InputError&) {
                ++errors;
            }
        }
    }
    EXPECT_GT(models, 100);
    EXPECT_GT(errors, 10);
}
