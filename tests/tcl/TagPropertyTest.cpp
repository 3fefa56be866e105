// Tags that cannot collide: random models of every size (0 to 2,000 sections, materials of every
// law, shell sections, frames, shells and solids) run through the Tcl stand-in, which fails on any
// tag of any kind defined twice, any reference to an undefined tag, any node with the wrong number
// of dof and any material line with the wrong number of parameters. VANDRA_TAG_SOAK=N runs N times
// as many models.
#include "ScriptTestSupport.h"

#include "model/Errors.h"
#include "model/MaterialLaws.h"
#include "tcl/TagPlan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <random>
#include <span>

namespace vandra::testing {
namespace {

// Counts of sections, shell sections, materials and load cases at the edges of the usual blocks.
struct EdgeCounts {
    int sections, areaSecs, mats, cases;
};

class RandomModels {
public:
    explicit RandomModels(unsigned seed) : random_(seed) {}

    // A model whose record counts lie in 0..maxCount (or at `edge`), with valid settings for it.
    TModel Model(int maxCount, int maxCases, TSettings& s, const EdgeCounts* edge = nullptr) {
        TModel m;
        const int sections = edge ? edge->sections : Pick(0, maxCount);
        const int areaSecs = edge ? edge->areaSecs : Pick(0, maxCount);
        const int solids = Chance(60) ? Pick(0, maxCount) : 0;
        const int mats =
            edge ? edge->mats : Pick(sections > 0 || areaSecs > 0 || solids > 0 ? 1 : 0, maxCount);
        const int frames = sections > 0 ? Pick(0, maxCount) : 0;
        const int shells = areaSecs > 0 ? Pick(0, maxCount) : 0;
        const int nodes = Pick(8, std::max(8, maxCount + 8));
        m.NodeCount = nodes;
        m.Nodes.resize(size_t(nodes) + 1);
        for (TNODE& n : m.Nodes) {
            n = {double(Pick(0, 10000)), double(Pick(0, 10000)), double(Pick(0, 10000))};
            for (int d = 1; d <= 6; ++d) {
                if (Chance(10)) n.Restraint[size_t(d)] = 1;
                if (Chance(20)) n.Mass[size_t(d)] = Pick(0, 3);
            }
        }
        m.MatCount = mats;
        m.Mats.resize(size_t(mats) + 1);
        for (int k = 1; k <= mats; ++k) {
            TMAT& mat = m.Mats[size_t(k)];
            mat = {"M" + std::to_string(k), kMatElastic, double(Pick(1000, 200000)), 0.2};
            mat.G = mat.E / 2.4;
            ChooseMaterialLaw(mat, Pick(kMatElastic, kMatConcrete02));
        }
        m.SectionCount = sections;
        m.Sections.resize(size_t(sections) + 1);
        for (int k = 1; k <= sections; ++k) {
            TSECTION& sec = m.Sections[size_t(k)];
            sec.Name = "S" + std::to_string(k);
            sec.FrameType = Pick(kElasticBeamColumn, kElasticTimoshenkoBeam);
            sec.Shape = Pick(kShapeNone, kShapePipe);
            sec.T = {0, 500, 300, 20, 15, 20, 15};
            sec.DivideFX = sec.DivideFY = Pick(1, 2);
            sec.BarNumNX = sec.BarNumNY = 2;
            sec.Cover = 30;
            sec.BarTop = sec.BarBot = 500;
            sec.SectionKind = Pick(kBeamSection, kColumnSection);
            sec.GeoTransf = Pick(kLinear, kCorotational);
            sec.MatIdx = Pick(1, mats);
            sec.HingeLenI = sec.HingeLenJ = 300;
        }
        m.AreaSecCount = areaSecs;
        m.AreaSecs.resize(size_t(areaSecs) + 1);
        for (int k = 1; k <= areaSecs; ++k)
            m.AreaSecs[size_t(k)] = {double(Pick(100, 300)), Chance(85) ? 1 : 0, Pick(1, mats),
                                     "A" + std::to_string(k), 0, Pick(kShellMITC4, kShellDKGQ)};
        m.FrameCount = frames;
        m.Frames.resize(size_t(frames) + 1);
        for (int f = 1; f <= frames; ++f) {
            const std::vector<int> ends = Joints(nodes, 2);
            m.Frames[size_t(f)] = {{}, Pick(1, sections), ends[0], ends[1], 0, 0, 0, 1, 0,
                                   Pick(kNoRelease, kReleaseJ)};
        }
        m.ShellCount = shells;
        m.Shells.resize(size_t(shells) + 1);
        for (int i = 1; i <= shells; ++i) {
            const std::vector<int> c = Joints(nodes, 4);
            m.Shells[size_t(i)] = {{}, Pick(1, areaSecs), c[0], c[1], c[2], c[3]};
        }
        m.SolidCount = solids;
        m.Solids.resize(size_t(solids) + 1);
        std::vector<bool> ofSolid(size_t(nodes) + 1, false); // a solid's joint follows no diaphragm
        for (int i = 1; i <= solids; ++i) {
            const std::vector<int> c = Joints(nodes, 8);
            m.Solids[size_t(i)].SecNo = Pick(0, mats + 3);
            for (size_t k = 1; k <= 8; ++k)
                ofSolid[size_t(m.Solids[size_t(i)].N[k] = c[k - 1])] = true;
        }
        m.DiaphCount = Pick(0, 2);
        m.Diaphs.resize(size_t(m.DiaphCount) + 1);
        for (int d = 1; d <= m.DiaphCount; ++d) {
            TDIAPH& diaph = m.Diaphs[size_t(d)];
            diaph.DiaNodes = {Pick(1, nodes)}; // slot 0 holds the master
            for (int j : Joints(nodes, Pick(1, 4)))
                if (!ofSolid[size_t(j)] && j != diaph.DiaNodes[0]) diaph.DiaNodes.push_back(j);
            diaph.Master = diaph.DiaNodes[0];
            diaph.SlaveCount = int(diaph.DiaNodes.size()) - 1;
        }
        m.LoadCaseCount = edge ? edge->cases : Pick(0, maxCases);
        m.LoadCaseNames.resize(size_t(m.LoadCaseCount) + 1);
        for (int c = 1; c <= m.LoadCaseCount; ++c)
            m.LoadCaseNames[size_t(c)] = "L" + std::to_string(c);
        m.LoadCount = m.LoadCaseCount > 0 ? Pick(0, maxCount) : 0;
        m.Loads.resize(size_t(m.LoadCount) + 1);
        for (int l = 1; l <= m.LoadCount; ++l) {
            const bool frame = frames > 0 && Chance(40);
            m.Loads[size_t(l)] =
                frame ? TLOAD{Pick(1, frames), kFrameDistributed, Pick(1, m.LoadCaseCount),
                              Pick(1, 3), -double(Pick(1, 10))}
                      : TLOAD{Pick(1, nodes), kJointForce, Pick(1, m.LoadCaseCount), 0, 0, 0,
                              -double(Pick(1, 1000)), Chance(20) ? double(Pick(1, 100)) : 0};
        }
        s = TSettings();
        s.AnalysisType = Pick(kSingleLoadControl, kMultipleSupport);
        s.RecordFile = VANDRA_SOURCE_DIR "/tests/data/GMX.txt"; // types 5 and 6 read it
        s.LoadCase = m.LoadCaseCount > 0 ? Pick(1, m.LoadCaseCount) : 0;
        s.LoadVector = m.LoadCaseCount > 0 ? Pick(1, m.LoadCaseCount) : 0;
        if (edge) s.LoadCase = m.LoadCaseCount;
        if (s.AnalysisType == kGravityPushover && s.LoadCase == s.LoadVector)
            s.AnalysisType = kSingleLoadControl;
        s.ControlNode = Pick(1, nodes);
        s.ControlDof = Pick(1, 3);
        s.UseAggregator = Chance(50);
        // Shells refer to their plate fiber sections, which exist only with plate fibers on.
        s.GenPlateFiber = shells > 0 || Chance(50);
        for (size_t r = 1; r <= 5; ++r)
            s.RecOpt[r] = Chance(30);
        s.ModalNumber = Pick(1, 3);
        s.NumIntgrPts = Pick(2, 5);
        s.RebarMat = mats > 0 ? Pick(1, mats) : 1;
        return m;
    }

private:
    std::mt19937 random_;
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool Chance(int percent) { return Pick(1, 100) <= percent; }
    std::vector<int> Joints(int nodes, int count) { // distinct joints of one element
        std::vector<int> joints;
        while (int(joints.size()) < count)
            if (const int j = Pick(1, nodes); std::find(joints.begin(), joints.end(), j) == joints.end())
                joints.push_back(j);
        return joints;
    }
};

// Generates `count` random models and runs their scripts through the stand-in: the complaints,
// one line per failing script (at most 20), and how many scripts were written.
std::string GenerateAndCheck(RandomModels& random, int count, int maxCount, int maxCases,
                             int& scripts, const EdgeCounts* edge = nullptr) {
    std::deque<ScriptLineList> written;
    for (int k = 0; k < count; ++k) {
        TSettings settings;
        const TModel model = random.Model(maxCount, maxCases, settings, edge);
        try {
            GenerateScript(model, settings, written.emplace_back());
        } catch (const InputError&) {
            written.pop_back(); // a refused model writes no script; the refusal cases cover it
        }
    }
    scripts = int(written.size());
    std::vector<const ScriptLineList*> pointers;
    for (const ScriptLineList& s : written)
        pointers.push_back(&s);
    std::string report;
    int failed = 0;
    for (const std::string& complaint : StandInComplaints(pointers))
        if (!complaint.empty() && ++failed <= 20) report += complaint + "\n";
    return report;
}

// One ctest test per batch, each with its own seed, so that no single test runs long: many small
// models, some around the usual block bases, a few at the full size, then counts just below and
// just above every usual base with every analysis type.
class TagProperty : public ::testing::TestWithParam<int> {};

TEST_P(TagProperty, RandomModelsDefineEveryTagOnceAndReferOnlyToDefinedOnes) {
    const int batch = GetParam();
    RandomModels random(20261207 + unsigned(batch));
    const char* soakText = std::getenv("VANDRA_TAG_SOAK");
    const int soak = soakText ? std::max(1, std::atoi(soakText)) : 1;
    const int batches[][3] = {{100, 12, 4}, {100, 12, 4}, {4, 450, 12}, {4, 450, 12}, {1, 2000, 1500}};
    if (batch < 5) {
        const auto& [models, maxCount, maxCases] = batches[batch];
        int scripts = 0;
        EXPECT_EQ(GenerateAndCheck(random, models * soak, maxCount, maxCases, scripts), "");
        EXPECT_GT(scripts, models * soak / 2);
        return;
    }
    const EdgeCounts edges[] = {{100, 300, 200, 1001}, {101, 301, 201, 1002}, {700, 0, 600, 3},
                                {701, 5, 601, 3},      {1001, 0, 2, 1},       {999, 2, 1, 0}};
    for (const EdgeCounts& edge : std::span(edges).subspan(batch == 5 ? 0 : 3, 3)) {
        SCOPED_TRACE(std::to_string(edge.sections) + " sections, " + std::to_string(edge.mats) +
                     " materials");
        int scripts = 0;
        EXPECT_EQ(GenerateAndCheck(random, 6 * soak, 12, 0, scripts, &edge), "");
        EXPECT_GT(scripts, 3 * soak);
    }
}
INSTANTIATE_TEST_SUITE_P(Batches, TagProperty, ::testing::Range(0, 7));

// Whole blocks move apart only when they would collide; otherwise every usual number stays.
TEST(TagPlan, BlocksKeepTheirUsualBasesUnlessTheyWouldCollide) {
    const struct {
        int mats, sections, areaSecs, loadCases;
        bool aggregator;
        std::vector<int> tags; // shear y, shear z, torsion, plate material, plate section,
                               // aggregator section, ground motion counter
    } cases[] = {
        {200, 100, 300, 10, true, {201, 301, 401, 601, 701, 1001, 1001}},
        {201, 100, 0, 0, true, {301, 401, 501, 601, 701, 1001, 1001}},
        {2, 101, 0, 0, true, {201, 401, 601, 601, 701, 1001, 1001}},
        {2, 101, 0, 0, false, {201, 301, 401, 601, 701, 1001, 1001}},
        {650, 2000, 0, 0, true, {701, 2701, 4701, 701, 2001, 2001, 1001}},
        {2, 701, 5, 0, false, {201, 301, 401, 601, 801, 1001, 1001}},
        {2, 50, 301, 0, true, {201, 301, 401, 601, 701, 1101, 1001}},
        {1, 1, 1, 1002, false, {201, 301, 401, 601, 701, 1001, 1100}},
    };
    for (const auto& c : cases) {
        TModel m;
        m.MatCount = c.mats;
        m.Mats.resize(size_t(c.mats) + 1);
        m.SectionCount = c.sections;
        m.AreaSecCount = c.areaSecs;
        m.AreaSecs.resize(size_t(c.areaSecs) + 1);
        m.LoadCaseCount = c.loadCases;
        TSettings s;
        s.UseAggregator = c.aggregator;
        const TagPlan t(m, s);
        EXPECT_EQ(std::vector({t.ShearYTag(1), t.ShearZTag(1), t.TorsionTag(1),
                               t.PlateMaterialTag(1), t.PlateSectionTag(1), t.AggregatorTag(1),
                               t.GroundMotionCounterStart()}),
                  c.tags)
            << c.mats << " materials, " << c.sections << " sections, " << c.areaSecs
            << " shell sections";
    }
}

} // namespace
} // namespace vandra::testing
