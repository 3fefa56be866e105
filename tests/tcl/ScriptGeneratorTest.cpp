// Edge cases of the script writers that a whole-script comparison would not single out.
#include "ScriptTestSupport.h"

#include "model/Errors.h"
#include "model/NumberText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace vandra;
using namespace vandra::testing;

namespace {

std::vector<std::string> Starting(const ScriptLineList& lines, std::string_view prefix) {
    std::vector<std::string> found;
    for (std::string_view line : lines)
        if (line.starts_with(prefix)) found.emplace_back(line);
    return found;
}

bool Has(const ScriptLineList& lines, std::string_view line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

long IndexOf(const ScriptLineList& lines, std::string_view line) {
    auto it = std::find(lines.begin(), lines.end(), line);
    return it == lines.end() ? -1 : static_cast<long>(it - lines.begin());
}

// n nodes along X and n - 1 elastic frames between them.
TModel Chain(int nodes) {
    TModel m = SmallColumnModel();
    m.NodeCount = nodes;
    m.Nodes.assign(static_cast<size_t>(nodes) + 1, TNODE());
    for (int i = 1; i <= nodes; ++i)
        m.Nodes[static_cast<size_t>(i)].X = i;
    m.FrameCount = std::max(nodes - 1, 0);
    m.Frames.assign(static_cast<size_t>(m.FrameCount) + 1, TFRAME());
    for (int f = 1; f <= m.FrameCount; ++f) {
        TFRAME& fr = m.Frames[static_cast<size_t>(f)];
        fr.SecIdx = 1;
        fr.NodeI = f;
        fr.NodeJ = f + 1;
        fr.Axis2Z = 1;
    }
    return m;
}

void AddShellSection(TModel& m, const std::string& name, int kind, int type, int mat) {
    m.AreaSecs.resize(static_cast<size_t>(std::max(m.AreaSecCount, 0)) + 1);
    TAREASEC a;
    a.Name = name;
    a.ShellKind = kind;
    a.NonlinType = type;
    a.MatIdx = mat;
    a.Thickness = 200;
    m.AreaSecs.push_back(a);
    m.AreaSecCount = static_cast<int>(m.AreaSecs.size()) - 1;
}

void AddShell(TModel& m, int sec, int n1) {
    m.Shells.resize(static_cast<size_t>(std::max(m.ShellCount, 0)) + 1);
    TSHELL s;
    s.SecIdx = sec;
    s.N1 = n1;
    s.N2 = n1 + 1;
    s.N3 = n1 + 2;
    s.N4 = n1 + 3;
    m.Shells.push_back(s);
    m.ShellCount = static_cast<int>(m.Shells.size()) - 1;
}

} // namespace

TEST(ScriptGenerator, AnyMassComponentWritesAMassLine) {
    TModel m = Chain(3);
    m.Nodes[2].Mass = {0, 0, 5, 5, 0, 0, 0};
    m.Nodes[3].Mass = {0, 5, 0, 0, 0, 0, 0};
    TSettings settings;
    settings.GenNodeMass = false; // the mass lines do not depend on it
    EXPECT_EQ(Starting(Generate(m, settings), "mass "),
              (std::vector<std::string>{
                  "mass 2 0.000E+000 5.000E+000 5.000E+000 0.000E+000 0.000E+000 0.000E+000",
                  "mass 3 5.000E+000 0.000E+000 0.000E+000 0.000E+000 0.000E+000 0.000E+000"}));
}

TEST(ScriptGenerator, FrameTypesWriteTheirElementTemplates) {
    struct Case {
        int frameType;
        bool aggregator;
        const char* element;
        bool transformation;
    };
    const Case cases[] = {
        {kElasticBeamColumn, false,
         "element elasticBeamColumn 1 1 2 1.500E+005 3.000E+004 1.250E+004 2.8173708E+009 "
         "3.125E+009 1.125E+009 1",
         true},
        {kNonlinearBeamColumn, false, "element nonlinearBeamColumn 1 1 2 5 1 1", true},
        {kNonlinearBeamColumn, true, "element nonlinearBeamColumn 1 1 2 5 1001 1", true},
        {kDispBeamColumn, true, "element dispBeamColumn 1 1 2 5 1001 1", true},
        {kBeamWithHinge, false,
         "element beamWithHinges 1 1 2 1 450.6 1 300 3.000E+004 1.500E+005 1.125E+009 3.125E+009 "
         "1.250E+004 2.8173708E+009 1 ",
         true},
        {kTruss, true, "element trussSection 1 1 2 1", false},
        {kCorotTruss, false, "element corotTrussSection 1 1 2 1", false},
        {kRigidBeam, false, "element zeroLength 1 1 2 -mat 1 1 1 -dir 4 5 6", false},
        {kElasticTimoshenkoBeam, false,
         "element ElasticTimoshenkoBeam 1 1 2 3.000E+004 1.250E+004 1.500E+005 2.8173708E+009 "
         "3.125E+009 1.125E+009 1.250E+005 1.250E+005 1",
         true},
    };
    for (const Case& c : cases) {
        TModel m = SmallColumnModel();
        m.Frames[1].Nseg = 9; // the file's output segments: no integration points
        m.Sections[1].FrameType = c.frameType;
        m.Sections[1].HingeLenI = 450.6; // written whole: "%0.0f" would give 451
        m.Sections[1].HingeLenJ = 300;
        TSettings settings;
        settings.NumIntgrPts = 5;
        settings.UseAggregator = c.aggregator;
        const ScriptLineList lines = Generate(m, settings);
        const long element = IndexOf(lines, "puts \"element\"");
        ASSERT_GE(element, 0);
        EXPECT_EQ(lines[static_cast<size_t>(element + 1)], c.element) << c.frameType;
        EXPECT_EQ(Has(lines, "geomTransf Linear 1 1.000 0.000 0.000 "), c.transformation)
            << c.frameType;
    }
}

TEST(ScriptGenerator, PlateFibersDefineTheirElasticMaterialsOnce) {
    TModel m = SmallColumnModel();
    m.MatCount = 3;
    m.Mats.resize(4, m.Mats[1]);
    m.Mats[3].E = 25000;
    m.Mats[3].U = 0.2;
    AddShellSection(m, "W1", 1, kShellMITC4, 3);
    AddShellSection(m, "OTHER", 0, kShellMITC4, 2);
    AddShellSection(m, "W2", 1, kShellDKGQ, 3);
    AddShellSection(m, "S1", 1, kShellMITC4, 1);
    TSettings settings;
    ScriptLineList lines = Generate(m, settings);
    const long start = IndexOf(lines, "uniaxialMaterial Elastic 3 2.500E+004") + 1;
    const ScriptLineList block(lines.begin() + start, lines.begin() + start + 12);
    EXPECT_EQ(
        block,
        (ScriptLineList{"", "nDMaterial ElasticIsotropic 1 3.000E+004 0.000E+000",
                        "nDMaterial ElasticIsotropic 3 2.500E+004 2.000E-001", "##W1 ",
                        "nDMaterial PlateFiber 601 3", "section PlateFiber 701 601 200.00", "##W2 ",
                        "nDMaterial PlateFiber 603 3", "section PlateFiber 703 603 200.00", "##S1 ",
                        "nDMaterial PlateFiber 604 1", "section PlateFiber 704 604 200.00"}));

    settings.GenPlateFiber = false;
    lines = Generate(m, settings);
    EXPECT_EQ(lines[static_cast<size_t>(start + 1)], "puts \"transformation\"");
    EXPECT_TRUE(Starting(lines, "nDMaterial").empty());
}

TEST(ScriptGenerator, ShellTagsFollowTheFrameTags) {
    TModel m = Chain(11); // 10 frames
    AddShellSection(m, "W0", 0, kShellMITC4, 1);
    AddShellSection(m, "W2", 1, kShellMITC4, 1);
    AddShellSection(m, "W3", 1, kShellDKGQ, 1);
    AddShell(m, 2, 11);
    AddShell(m, 1, 20); // not a shell section: no line, and the tags keep their gap
    AddShell(m, 3, 30);
    EXPECT_EQ(Starting(Generate(m), "element Shell"),
              (std::vector<std::string>{"element ShellMITC4 11 11 12 13 14 702",
                                        "element ShellDKGQ 13 30 31 32 33 703"}));

    // A model imported without frames numbers its shells from 1 and records no frame.
    m.FrameCount = -1;
    m.Frames.clear();
    TSettings settings;
    settings.RecOpt[2] = true;
    const ScriptLineList lines = Generate(m, settings);
    EXPECT_EQ(Starting(lines, "element Shell")[0], "element ShellMITC4 1 11 12 13 14 702");
    EXPECT_TRUE(Starting(lines, "recorder Element").empty());
}

TEST(ScriptGenerator, RecordersComeInBlocksOfAHundred) {
    struct Case {
        int nodes;
        std::vector<std::string> nodeFiles, elementRanges;
    };
    const Case cases[] = {
        {37, {"node0.out -time -nodeRange 1 37"}, {"ele0.out -time -eleRange 1 36"}},
        {201,
         {"node0.out -time -nodeRange 1 100", "node1.out -time -nodeRange 101 200",
          "node2.out -time -nodeRange 201 201"},
         {"ele1.out -time -eleRange 1 100", "ele2.out -time -eleRange 101 200"}},
        {251,
         {"node0.out -time -nodeRange 1 100", "node1.out -time -nodeRange 101 200",
          "node2.out -time -nodeRange 201 251"},
         {"ele1.out -time -eleRange 1 100", "ele2.out -time -eleRange 101 200",
          "ele0.out -time -eleRange 201 250"}},
        {1, {"node0.out -time -nodeRange 1 1"}, {}},
    };
    for (const Case& c : cases) {
        TModel m = Chain(c.nodes);
        TSettings settings;
        settings.RecOpt = {false, true, true, true, true, false};
        settings.NumIntgrPts = 5;
        const ScriptLineList lines = Generate(m, settings);
        std::vector<std::string> nodes, forces, first, last;
        for (const std::string& f : c.nodeFiles)
            nodes.push_back("recorder Node -file " + f + " -dof 1 2 3 disp");
        for (const std::string& r : c.elementRanges) {
            forces.push_back("recorder Element -file " + r + " localForce");
            const size_t dot = r.find(".out");
            first.push_back("recorder Element -file " + r.substr(0, dot) + "_secs" + r.substr(dot) +
                            " section 1 deformation");
            last.push_back("recorder Element -file " + r.substr(0, dot) + "_secn" + r.substr(dot) +
                           " section 5 deformation");
        }
        std::vector<std::string> expected = nodes;
        expected.insert(expected.end(), forces.begin(), forces.end());
        expected.insert(expected.end(), first.begin(), first.end());
        expected.insert(expected.end(), last.begin(), last.end());
        EXPECT_EQ(Starting(lines, "recorder "), expected) << c.nodes;
    }
}

TEST(ScriptGenerator, ModeShapesAreRecordedByAModalAnalysisOnly) {
    TModel m = Chain(150);
    for (TNODE& node : m.Nodes)
        node.Mass[1] = 1;
    TSettings settings;
    settings.RecOpt = {false, false, false, false, false, true};
    settings.ModalNumber = 3;
    EXPECT_TRUE(Starting(Generate(m, settings), "recorder").empty());

    settings.AnalysisType = 4;
    const ScriptLineList lines = Generate(m, settings);
    std::vector<std::string> expected;
    for (int mode = 1; mode <= 3; ++mode) {
        const std::string n = text::FormatInt(mode);
        expected.push_back("recorder Node -file eigen" + n +
                           "_node0.out -time -nodeRange 1 100 -dof 1 2 3 \"eigen " + n + "\"");
        expected.push_back("recorder Node -file eigen" + n +
                           "_node1.out -time -nodeRange 101 150 -dof 1 2 3 \"eigen " + n + "\"");
    }
    EXPECT_EQ(Starting(lines, "recorder"), expected);
    // Every mode recorded is computed.
    EXPECT_TRUE(Has(lines, "set numModes 3"));
}

TEST(ScriptGenerator, LoadPatternsOfTheChosenCase) {
    TModel m = Chain(12);
    m.LoadCaseCount = 2;
    m.LoadCaseNames = {"", "DEAD", "LIVE"};
    const auto load = [](int target, int kind, int c, int dir, double fx, double fz) {
        TLOAD l;
        l.Target = target;
        l.Kind = kind;
        l.CaseIdx = c;
        l.Dir = dir;
        l.FX = fx;
        l.FZ = fz;
        return l;
    };
    m.Loads = {TLOAD(),
               load(12, kJointForce, 1, 0, 0, -10),
               load(3, kFrameDistributed, 1, 3, 5, 0),
               load(3, kFrameDistributed, 0, 3, 5, 0),
               load(3, kFrameDistributed, 1, 2, 5, 0),
               load(2, kFrameDistributed, 1, 1, -7, 0),
               load(2, kFrameDistributed, 1, 4, -7, 0),
               load(1, kLoadUnfilled, 1, 1, 1, 1),
               load(9, kJointForce, 2, 0, 1, 0)};
    m.LoadCount = 8;
    const ScriptLineList lines = Generate(m);
    const long start = IndexOf(lines, "puts \"loading\"");
    const ScriptLineList block(lines.begin() + start, lines.begin() + start + 8);
    EXPECT_EQ(block,
              (ScriptLineList{"puts \"loading\"", "## Load Case = DEAD", "pattern Plain 1 Linear {",
                              "load 12 0.000E+000 0.000E+000 -1.000E+001 0.000E+000 0.000E+000 "
                              "0.000E+000",
                              "eleLoad -ele 3 -type -beamUniform -5.000E+000 0 0",
                              "eleLoad -ele 3 -type -beamUniform 0 5.000E+000 0",
                              "eleLoad -ele 2 -type -beamUniform 0 0 -7.000E+000", "}"}));

    // Case 0 (the dialog's choice when the model has no case) writes an empty pattern.
    for (int c : {0}) {
        TSettings settings;
        settings.LoadCase = c;
        const ScriptLineList none = Generate(m, settings);
        const long at = IndexOf(none, "## Load Case = ");
        ASSERT_GE(at, 0) << c;
        EXPECT_EQ(none[static_cast<size_t>(at + 1)],
                  "pattern Plain " + text::FormatInt(c) + " Linear {");
        EXPECT_EQ(none[static_cast<size_t>(at + 2)], "}");
    }
}

TEST(ScriptGenerator, RigidDiaphragmsNeedTheTransformationHandler) {
    TModel m = Chain(4);
    for (TNODE& node : m.Nodes)
        node.Mass = {0, 1, 1, 1, 0, 0, 0};
    m.DiaphCount = 1;
    m.Diaphs.resize(2);
    m.Diaphs[1].Master = 4;
    m.Diaphs[1].DiaNodes = {0};
    TSettings settings;
    settings.AnalysisType = 3;
    settings.LoadCase = 0; // gravity and push must be different patterns
    EXPECT_EQ(Starting(Generate(m, settings), "constraints "),
              (std::vector<std::string>{"constraints Plain", "constraints Plain"}));
    m.Diaphs[1].SlaveCount = 1;
    m.Diaphs[1].DiaNodes = {0, 3};
    EXPECT_EQ(
        Starting(Generate(m, settings), "constraints "),
        (std::vector<std::string>{"constraints Transformation", "constraints Transformation"}));
    settings.AnalysisType = 5; // the transient block has its own line
    EXPECT_EQ(Starting(Generate(m, settings), "constraints "),
              (std::vector<std::string>{"constraints Transformation; "}));
    m.Diaphs[1] = TDIAPH(); // a group without joints has no master and fixes nothing
    EXPECT_TRUE(Starting(Generate(m, settings), "fix ").empty());
}

TEST(ScriptGenerator, GeneratingTwiceGivesTheSameScript) {
    TModel m = SmallColumnModel();
    m.Sections[1].FrameType = kNonlinearBeamColumn;
    ScriptLineList lines;
    GenerateScript(m, TSettings(), lines);
    const ScriptLineList first = lines;
    lines.push_back("edited by hand");
    GenerateScript(m, TSettings(), lines);
    EXPECT_EQ(lines, first);
}
