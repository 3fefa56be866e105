// Tags that cannot collide: random models of every size (0 to 2,000 sections, materials, shell
// sections, frames, shells and solids) are generated and run through the Tcl stand-in, which
// fails on any tag of any kind defined twice, any reference to an undefined tag and any node with
// the wrong number of dof. VANDRA_TAG_SOAK=N runs N times as many models.
#include "ScriptTestSupport.h"
#include "TestTempDir.h"

#include "model/Errors.h"
#include "tcl/TagPlan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

using namespace vandra;
using namespace vandra::testing;

namespace {

// Counts at the edges of the usual blocks.
struct EdgeCounts {
    int sections, areaSecs, mats, cases;
};

class RandomModels {
public:
    explicit RandomModels(unsigned seed) : random_(seed) {}

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    bool Chance(int percent) { return Pick(1, 100) <= percent; }

    // Distinct joints for one element.
    std::vector<int> Joints(int nodes, int count) {
        std::vector<int> joints;
        while (static_cast<int>(joints.size()) < count) {
            const int j = Pick(1, nodes);
            if (std::find(joints.begin(), joints.end(), j) == joints.end()) joints.push_back(j);
        }
        return joints;
    }

    // A model whose record counts each lie in 0..maxCount, with valid settings for it. Given
    // `edge`, the counts of sections, shell sections, materials and load cases are those, and the
    // gravity case is the last one.
    TModel Model(int maxCount, int maxCases, TSettings& settings,
                 const EdgeCounts* edge = nullptr) {
        TModel m;
        const int sections = edge ? edge->sections : Pick(0, maxCount);
        const int areaSecs = edge ? edge->areaSecs : Pick(0, maxCount);
        const int solids = Pick(0, maxCount) * (Chance(60) ? 1 : 0);
        const bool needsMaterial = sections > 0 || areaSecs > 0 || solids > 0;
        const int mats = edge ? edge->mats : Pick(needsMaterial ? 1 : 0, maxCount);
        const int frames = sections > 0 ? Pick(0, maxCount) : 0;
        const int shells = areaSecs > 0 ? Pick(0, maxCount) : 0;
        const int nodes = Pick(8, std::max(8, maxCount + 8));

        m.NodeCount = nodes;
        m.Nodes.resize(static_cast<size_t>(nodes) + 1);
        for (int j = 1; j <= nodes; ++j) {
            TNODE& n = m.Nodes[static_cast<size_t>(j)];
            n.X = Pick(0, 10000);
            n.Y = Pick(0, 10000);
            n.Z = Pick(0, 10000);
            if (Chance(10))
                for (int d = 1; d <= 6; ++d)
                    n.Restraint[static_cast<size_t>(d)] = Pick(0, 1);
            if (Chance(20))
                for (int d = 1; d <= 6; ++d)
                    n.Mass[static_cast<size_t>(d)] = Pick(0, 3);
        }

        m.MatCount = mats;
        m.Mats.resize(static_cast<size_t>(mats) + 1);
        for (int k = 1; k <= mats; ++k) {
            TMAT& mat = m.Mats[static_cast<size_t>(k)];
            mat.Name = "M" + std::to_string(k);
            mat.MatType = 1;
            mat.E = Pick(1000, 200000);
            mat.U = 0.2;
            mat.G = mat.E / 2.4;
        }
        m.SectionCount = sections;
        m.Sections.resize(static_cast<size_t>(sections) + 1);
        for (int s = 1; s <= sections; ++s) {
            TSECTION& sec = m.Sections[static_cast<size_t>(s)];
            sec.Name = "S" + std::to_string(s);
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
        m.AreaSecs.resize(static_cast<size_t>(areaSecs) + 1);
        for (int a = 1; a <= areaSecs; ++a) {
            TAREASEC& area = m.AreaSecs[static_cast<size_t>(a)];
            area.Name = "A" + std::to_string(a);
            area.ShellKind = Chance(85) ? 1 : 0;
            area.MatIdx = Pick(1, mats);
            area.NonlinType = Pick(kShellMITC4, kShellDKGQ);
            area.Thickness = Pick(100, 300);
        }

        m.FrameCount = frames;
        m.Frames.resize(static_cast<size_t>(frames) + 1);
        for (int f = 1; f <= frames; ++f) {
            TFRAME& frame = m.Frames[static_cast<size_t>(f)];
            const std::vector<int> ends = Joints(nodes, 2);
            frame.NodeI = ends[0];
            frame.NodeJ = ends[1];
            frame.SecIdx = Pick(1, sections);
            frame.Axis2Z = 1;
            frame.Release = Pick(kNoRelease, kReleaseJ);
        }
        m.ShellCount = shells;
        m.Shells.resize(static_cast<size_t>(shells) + 1);
        for (int i = 1; i <= shells; ++i) {
            TSHELL& shell = m.Shells[static_cast<size_t>(i)];
            const std::vector<int> corners = Joints(nodes, 4);
            shell.N1 = corners[0];
            shell.N2 = corners[1];
            shell.N3 = corners[2];
            shell.N4 = corners[3];
            shell.SecIdx = Pick(1, areaSecs);
        }
        m.SolidCount = solids;
        m.Solids.resize(static_cast<size_t>(solids) + 1);
        for (int i = 1; i <= solids; ++i) {
            TSOLID& solid = m.Solids[static_cast<size_t>(i)];
            const std::vector<int> corners = Joints(nodes, 8);
            for (size_t c = 1; c <= 8; ++c)
                solid.N[c] = corners[c - 1];
            solid.SecNo = Pick(0, mats + 3);
        }

        // Diaphragms over joints of no solid (a solid's joint cannot follow one).
        std::vector<bool> ofSolid(static_cast<size_t>(nodes) + 1, false);
        for (int i = 1; i <= solids; ++i)
            for (size_t c = 1; c <= 8; ++c)
                ofSolid[static_cast<size_t>(m.Solids[static_cast<size_t>(i)].N[c])] = true;
        m.DiaphCount = Pick(0, 2);
        m.Diaphs.resize(static_cast<size_t>(m.DiaphCount) + 1);
        for (int d = 1; d <= m.DiaphCount; ++d) {
            TDIAPH& diaph = m.Diaphs[static_cast<size_t>(d)];
            diaph.DiaNodes = {Pick(1, nodes)}; // slot 0 holds the master
            for (int j : Joints(nodes, Pick(1, 4)))
                if (!ofSolid[static_cast<size_t>(j)] && j != diaph.DiaNodes[0])
                    diaph.DiaNodes.push_back(j);
            diaph.Master = diaph.DiaNodes[0];
            diaph.SlaveCount = static_cast<int>(diaph.DiaNodes.size()) - 1;
        }

        m.LoadCaseCount = edge ? edge->cases : Pick(0, maxCases);
        m.LoadCaseNames.resize(static_cast<size_t>(m.LoadCaseCount) + 1);
        for (int c = 1; c <= m.LoadCaseCount; ++c)
            m.LoadCaseNames[static_cast<size_t>(c)] = "L" + std::to_string(c);
        m.LoadCount = m.LoadCaseCount > 0 ? Pick(0, maxCount) : 0;
        m.Loads.resize(static_cast<size_t>(m.LoadCount) + 1);
        for (int l = 1; l <= m.LoadCount; ++l) {
            TLOAD& load = m.Loads[static_cast<size_t>(l)];
            load.CaseIdx = Pick(1, m.LoadCaseCount);
            if (frames > 0 && Chance(40)) {
                load.Kind = kFrameDistributed;
                load.Target = Pick(1, frames);
                load.Dir = Pick(1, 3);
                load.FX = -Pick(1, 10);
            } else {
                load.Kind = kJointForce;
                load.Target = Pick(1, nodes);
                load.FZ = -Pick(1, 1000);
                load.MX = Chance(20) ? Pick(1, 100) : 0;
            }
        }

        settings = TSettings();
        settings.AnalysisType = Pick(kSingleLoadControl, kMultipleSupport);
        settings.LoadCase = m.LoadCaseCount > 0 ? Pick(1, m.LoadCaseCount) : 0;
        settings.LoadVector = m.LoadCaseCount > 0 ? Pick(1, m.LoadCaseCount) : 0;
        if (edge) settings.LoadCase = m.LoadCaseCount;
        if (settings.AnalysisType == kGravityPushover && settings.LoadCase == settings.LoadVector)
            settings.AnalysisType = kSingleLoadControl;
        settings.ControlNode = Pick(1, nodes);
        settings.ControlDof = Pick(1, 3);
        settings.UseAggregator = Chance(50);
        // Shells refer to their plate fiber sections, which exist only with plate fibers on.
        settings.GenPlateFiber = shells > 0 || Chance(50);
        for (size_t r = 1; r <= 5; ++r)
            settings.RecOpt[r] = Chance(30);
        settings.ModalNumber = Pick(1, 3);
        settings.NumIntgrPts = Pick(2, 5);
        settings.RebarMat = mats > 0 ? Pick(1, mats) : 1;
        return m;
    }

private:
    std::mt19937 random_;
};

int SoakFactor() {
    const char* soak = std::getenv("VANDRA_TAG_SOAK");
    return soak ? std::max(1, std::atoi(soak)) : 1;
}

// Generates `count` random models into `dir` and runs them all in one tclsh process through the
// stand-in. Returns the stand-in's complaints, one line per failing script.
std::string GenerateAndCheck(RandomModels& random, int count, int maxCount, int maxCases,
                             const std::string& dir, int& scripts,
                             const EdgeCounts* edge = nullptr) {
    std::vector<std::string> files;
    for (int k = 0; k < count; ++k) {
        TSettings settings;
        TModel model = random.Model(maxCount, maxCases, settings, edge);
        ScriptLineList lines;
        try {
            GenerateScript(model, settings, lines);
        } catch (const InputError&) {
            continue; // a refused model writes no script; the settings tests cover refusals
        }
        files.push_back(dir + "/model" + std::to_string(k) + ".tcl");
        WriteScriptFile(files.back(), lines);
    }
    scripts = static_cast<int>(files.size());

    const std::string driver = dir + "/driver.tcl", list = dir + "/scripts.txt";
    const std::string out = dir + "/complaints.txt";
    {
        std::ofstream names(list, std::ios::binary);
        for (const std::string& f : files)
            names << f << "\n";
    }
    std::ofstream(driver, std::ios::binary)
        << "cd [lindex $argv 0]\n"
           "source [lindex $argv 1]\n"
           "set report [open [lindex $argv 3] w]\n"
           "rename puts tclPuts\n"
           "proc puts {args} { if {[llength $args] > 1} { tclPuts {*}$args } }\n"
           "set f [open [lindex $argv 2] r]\n"
           "set failed 0\n"
           "foreach script [split [string trim [read $f]] \\n] {\n"
           "    if {[catch {source $script} message] && [incr failed] <= 20} {\n"
           "        tclPuts $report \"[file tail $script]: $message\"\n"
           "    }\n"
           "}\n"
           "if {$failed > 20} { tclPuts $report \"... $failed scripts failed\" }\n"
           "tclPuts $report done\n"
           "close $report\n";
    const std::string stub = std::string(VANDRA_SOURCE_DIR) + "/tests/tcl/opensees_stub.tcl";
    const std::string command = "tclsh '" + driver + "' '" + dir + "' '" + stub + "' '" + list +
                                "' '" + out + "' > /dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return "tclsh failed";
    const std::string report = ReadBytes(out);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return report == "done\n" ? std::string() : report;
}

} // namespace

TEST(TagProperty, RandomModelsDefineEveryTagOnceAndReferOnlyToDefinedOnes) {
    if (std::system("tclsh </dev/null >/dev/null 2>&1") != 0) GTEST_SKIP() << "no tclsh";
    const std::string dir = vandra::testing::ProcessTempDir() + "/vandra_tag_property";
    std::filesystem::create_directories(dir);
    RandomModels random(20261207);
    const int soak = SoakFactor();

    struct Batch {
        int models, maxCount, maxCases;
    };
    // Many small models, some around the usual block bases, a few at the full size.
    const Batch batches[] = {{1500 * soak, 12, 4}, {60 * soak, 450, 12}, {4 * soak, 2000, 1500}};
    for (const Batch& batch : batches) {
        SCOPED_TRACE("models up to " + std::to_string(batch.maxCount) + " records");
        int scripts = 0;
        const std::string complaints =
            GenerateAndCheck(random, batch.models, batch.maxCount, batch.maxCases, dir, scripts);
        EXPECT_EQ(complaints, "");
        EXPECT_GT(scripts, batch.models / 2);
    }
    // Just below and just above every usual base, with every analysis type.
    const EdgeCounts edges[] = {{100, 300, 200, 1001}, {101, 301, 201, 1002}, {700, 0, 600, 3},
                                {701, 5, 601, 3},      {1001, 0, 2, 1},       {999, 2, 1, 0}};
    for (const EdgeCounts& edge : edges) {
        SCOPED_TRACE(std::to_string(edge.sections) + " sections, " + std::to_string(edge.areaSecs) +
                     " shell sections, " + std::to_string(edge.mats) + " materials, " +
                     std::to_string(edge.cases) + " load cases");
        int scripts = 0;
        EXPECT_EQ(GenerateAndCheck(random, 14 * soak, 12, 0, dir, scripts, &edge), "");
        EXPECT_GT(scripts, 7 * soak);
    }
}

// Whole blocks move apart only when they would collide; otherwise every usual number stays.
TEST(TagProperty, BlocksKeepTheirUsualBasesUnlessTheyWouldCollide) {
    struct Case {
        int mats, sections, areaSecs, loadCases;
        bool aggregator;
        int shearY, shearZ, torsion, plateMat, plateSec, aggregatorSec, counterStart;
    };
    const Case cases[] = {
        {200, 100, 300, 10, true, 201, 301, 401, 601, 701, 1001, 1001},
        {201, 100, 0, 0, true, 301, 401, 501, 601, 701, 1001, 1001},
        {2, 101, 0, 0, true, 201, 401, 601, 601, 701, 1001, 1001},
        {2, 101, 0, 0, false, 201, 301, 401, 601, 701, 1001, 1001},
        {650, 2000, 0, 0, true, 701, 2701, 4701, 701, 2001, 2001, 1001},
        {2, 701, 5, 0, false, 201, 301, 401, 601, 801, 1001, 1001},
        {2, 50, 301, 0, true, 201, 301, 401, 601, 701, 1101, 1001},
        {1, 1, 1, 1002, false, 201, 301, 401, 601, 701, 1001, 1100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.mats) + " materials, " + std::to_string(c.sections) +
                     " sections, " + std::to_string(c.areaSecs) + " shell sections");
        TModel m;
        m.MatCount = c.mats;
        m.Mats.resize(static_cast<size_t>(c.mats) + 1);
        m.SectionCount = c.sections;
        m.AreaSecCount = c.areaSecs;
        m.AreaSecs.resize(static_cast<size_t>(c.areaSecs) + 1);
        m.LoadCaseCount = c.loadCases;
        TSettings s;
        s.UseAggregator = c.aggregator;
        const TagPlan tags(m, s);
        EXPECT_EQ(tags.ShearYTag(1), c.shearY);
        EXPECT_EQ(tags.ShearZTag(1), c.shearZ);
        EXPECT_EQ(tags.TorsionTag(1), c.torsion);
        EXPECT_EQ(tags.PlateMaterialTag(1), c.plateMat);
        EXPECT_EQ(tags.PlateSectionTag(1), c.plateSec);
        EXPECT_EQ(tags.AggregatorTag(1), c.aggregatorSec);
        EXPECT_EQ(tags.GroundMotionCounterStart(), c.counterStart);
    }
}
