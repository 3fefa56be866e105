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

namespace vandra::testing {
namespace {

// Counts of sections, shell sections, materials and load cases at the edges of the usual blocks.
struct EdgeCounts {
    int sections, areaSecs, mats, cases;
};

// A model whose record counts lie in 0..maxCount (or at `edge`), with valid settings for it.
TModel RandomModel(std::mt19937& random, int maxCount, int maxCases, TSettings& s,
                   const EdgeCounts* edge) {
    const auto pick = [&](int low, int high) {
        return std::uniform_int_distribution(low, high)(random);
    };
    const auto chance = [&](int percent) { return pick(1, 100) <= percent; };
    TModel m;
    const int nodes = m.NodeCount = pick(8, std::max(8, maxCount + 8));
    const auto joints = [&](int count) { // distinct joints of one element
        std::vector<int> j;
        while (int(j.size()) < count)
            if (const int k = pick(1, nodes); std::find(j.begin(), j.end(), k) == j.end())
                j.push_back(k);
        return j;
    };
    const int sections = m.SectionCount = edge ? edge->sections : pick(0, maxCount);
    const int areaSecs = m.AreaSecCount = edge ? edge->areaSecs : pick(0, maxCount);
    const int solids = m.SolidCount = chance(60) ? pick(0, maxCount) : 0;
    const int mats = m.MatCount =
        edge ? edge->mats : pick(sections > 0 || areaSecs > 0 || solids > 0 ? 1 : 0, maxCount);
    const int frames = m.FrameCount = sections > 0 ? pick(0, maxCount) : 0;
    const int shells = m.ShellCount = areaSecs > 0 ? pick(0, maxCount) : 0;
    m.Nodes.resize(size_t(nodes) + 1);
    for (TNODE& n : m.Nodes) {
        n = {double(pick(0, 10000)), double(pick(0, 10000)), double(pick(0, 10000))};
        for (size_t d = 1; d <= 6; ++d)
            n.Restraint[d] = chance(10), n.Mass[d] = chance(20) ? pick(0, 3) : 0;
    }
    m.Mats.resize(size_t(mats) + 1);
    for (int k = 1; k <= mats; ++k) {
        TMAT& mat = m.Mats[size_t(k)] = {"M" + std::to_string(k), kMatElastic,
                                         double(pick(1000, 200000)), 0.2};
        mat.G = mat.E / 2.4;
        ChooseMaterialLaw(mat, pick(kMatElastic, kMatConcrete02));
    }
    m.Sections.resize(size_t(sections) + 1);
    for (int k = 1; k <= sections; ++k) {
        TSECTION& sec = m.Sections[size_t(k)];
        sec.Name = "S" + std::to_string(k);
        sec.FrameType = pick(kElasticBeamColumn, kElasticTimoshenkoBeam);
        sec.Shape = pick(kShapeNone, kShapePipe);
        sec.T = {0, 500, 300, 20, 15, 20, 15};
        sec.DivideFX = sec.DivideFY = pick(1, 2);
        sec.BarNumNX = sec.BarNumNY = 2;
        sec.Cover = 30;
        sec.BarTop = sec.BarBot = 500;
        sec.SectionKind = pick(kBeamSection, kColumnSection);
        sec.GeoTransf = pick(kLinear, kCorotational);
        sec.MatIdx = pick(1, mats);
        sec.HingeLenI = sec.HingeLenJ = 300;
    }
    m.AreaSecs.resize(size_t(areaSecs) + 1);
    for (int k = 1; k <= areaSecs; ++k)
        m.AreaSecs[size_t(k)] = {double(pick(100, 300)),
                                 chance(85) ? 1 : 0,
                                 pick(1, mats),
                                 "A" + std::to_string(k),
                                 0,
                                 pick(kShellMITC4, kShellDKGQ)};
    m.Frames.resize(size_t(frames) + 1);
    for (int f = 1; f <= frames; ++f) {
        const std::vector<int> ends = joints(2);
        m.Frames[size_t(f)] = {{}, pick(1, sections),          ends[0], ends[1], 0, 0, 0, 1,
                               0,  pick(kNoRelease, kReleaseJ)};
    }
    m.Shells.resize(size_t(shells) + 1);
    for (int i = 1; i <= shells; ++i) {
        const std::vector<int> c = joints(4);
        m.Shells[size_t(i)] = {{}, pick(1, areaSecs), c[0], c[1], c[2], c[3]};
    }
    m.Solids.resize(size_t(solids) + 1);
    std::vector<bool> ofSolid(size_t(nodes) + 1, false); // a solid's joint follows no diaphragm
    for (int i = 1; i <= solids; ++i) {
        const std::vector<int> c = joints(8);
        m.Solids[size_t(i)].SecNo = pick(0, mats + 3);
        for (size_t k = 1; k <= 8; ++k)
            ofSolid[size_t(m.Solids[size_t(i)].N[k] = c[k - 1])] = true;
    }
    m.Diaphs.resize(size_t(m.DiaphCount = pick(0, 2)) + 1);
    for (int d = 1; d <= m.DiaphCount; ++d) {
        TDIAPH& diaph = m.Diaphs[size_t(d)];
        diaph.DiaNodes = {diaph.Master = pick(1, nodes)}; // slot 0 holds the master
        for (int j : joints(pick(1, 4)))
            if (!ofSolid[size_t(j)] && j != diaph.Master) diaph.DiaNodes.push_back(j);
        diaph.SlaveCount = int(diaph.DiaNodes.size()) - 1;
    }
    const int cases = m.LoadCaseCount = edge ? edge->cases : pick(0, maxCases);
    for (int c = 1; c <= cases; ++c)
        m.LoadCaseNames.push_back("L" + std::to_string(c));
    m.LoadCount = cases > 0 ? pick(0, maxCount) : 0;
    m.Loads.resize(size_t(m.LoadCount) + 1);
    for (int l = 1; l <= m.LoadCount; ++l)
        m.Loads[size_t(l)] = frames > 0 && chance(40)
                                 ? TLOAD{pick(1, frames), kFrameDistributed, pick(1, cases),
                                         pick(1, 3), -double(pick(1, 10))}
                                 : TLOAD{pick(1, nodes),
                                         kJointForce,
                                         pick(1, cases),
                                         0,
                                         0,
                                         0,
                                         -double(pick(1, 1000)),
                                         chance(20) ? double(pick(1, 100)) : 0};
    s = TSettings();
    s.AnalysisType = pick(kSingleLoadControl, kMultipleSupport);
    s.RecordFile = VANDRA_SOURCE_DIR "/tests/data/GMX.txt"; // types 5 and 6 read it
    s.LoadCase = cases > 0 ? (edge ? cases : pick(1, cases)) : 0;
    s.LoadVector = cases > 0 ? pick(1, cases) : 0;
    if (s.AnalysisType == kGravityPushover && s.LoadCase == s.LoadVector)
        s.AnalysisType = kSingleLoadControl;
    s.ControlNode = pick(1, nodes);
    s.ControlDof = pick(1, 3);
    s.UseAggregator = chance(50);
    // Shells refer to their plate fiber sections, which exist only with plate fibers on.
    s.GenPlateFiber = shells > 0 || chance(50);
    for (size_t r = 1; r <= 5; ++r)
        s.RecOpt[r] = chance(30);
    s.ModalNumber = pick(1, 3);
    s.NumIntgrPts = pick(2, 5);
    s.RebarMat = mats > 0 ? pick(1, mats) : 1;
    return m;
}

// Generates `count` random models and runs their scripts through the stand-in: the complaints,
// one line per failing script (the first few); at least half the models must give a script.
std::string GenerateAndCheck(std::mt19937& random, int count, int maxCount, int maxCases,
                             const EdgeCounts* edge = nullptr) {
    std::deque<ScriptLineList> written;
    std::vector<const ScriptLineList*> pointers;
    for (int k = 0; k < count; ++k) {
        TSettings settings;
        const TModel model = RandomModel(random, maxCount, maxCases, settings, edge);
        try {
            GenerateScript(model, settings, written.emplace_back());
            pointers.push_back(&written.back());
        } catch (const InputError&) {
            written.pop_back(); // a refused model writes no script; the refusal cases cover it
        }
    }
    EXPECT_GT(int(written.size()), count / 2);
    std::string report; // the first few complaints
    for (const std::string& complaint : StandInComplaints(pointers))
        if (!complaint.empty() && report.size() < 2000) report += complaint + "\n";
    return report;
}

// One ctest test per batch, each with its own seed, so that no single test runs long: many small
// models, some around the usual block bases, a few at the full size, then counts just below and
// just above every usual base with every analysis type.
class TagProperty : public ::testing::TestWithParam<int> {};

TEST_P(TagProperty, RandomModelsDefineEveryTagOnceAndReferOnlyToDefinedOnes) {
    const int batch = GetParam();
    std::mt19937 random(20261207 + unsigned(batch));
    const char* soakText = std::getenv("VANDRA_TAG_SOAK");
    const int soak = soakText ? std::max(1, std::atoi(soakText)) : 1;
    const int batches[][3] = {{100, 12, 4}, {100, 12, 4}, {4, 450, 12}, {4, 450, 12}, {1, 2000, 1500}};
    const EdgeCounts edges[] = {{100, 300, 200, 1001}, {101, 301, 201, 1002}, {700, 0, 600, 3},
                                {701, 5, 601, 3},      {1001, 0, 2, 1},       {999, 2, 1, 0}};
    const auto& [models, maxCount, maxCases] = batches[std::min(batch, 4)];
    EXPECT_EQ(batch < 5 ? GenerateAndCheck(random, models * soak, maxCount, maxCases)
                        : GenerateAndCheck(random, 6 * soak, 12, 0, &edges[batch - 5]),
              "");
}
INSTANTIATE_TEST_SUITE_P(Batches, TagProperty, ::testing::Range(0, 11));

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
