// Scripts of small models against closed-form answers, in the real solver, within 0.1 %. The
// values are chosen to be exact in the script's four significant digits.
#include "SolverSupport.h"

#include "model/Model.h"
#include "tcl/ScriptGenerator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace vandra::testing {
namespace {

constexpr double kE = 30000;        // N/mm2
constexpr double kG = 12500;        // N/mm2
constexpr double kHeight = 3000;    // mm
constexpr double kTolerance = 1e-3; // relative

int AddNode(TModel& m, double x, double y, double z) {
    TNODE node;
    node.X = x;
    node.Y = y;
    node.Z = z;
    m.Nodes.push_back(node);
    return m.NodeCount = static_cast<int>(m.Nodes.size()) - 1;
}

void AddColumn(TModel& m, int bottom, int top) {
    TFRAME f;
    f.SecIdx = 1;
    f.NodeI = bottom;
    f.NodeJ = top;
    f.Axis2X = 1;
    m.Frames.push_back(f);
    m.FrameCount = static_cast<int>(m.Frames.size()) - 1;
}

void AddJointLoad(TModel& m, int joint, double fx, double fy, double fz) {
    TLOAD l;
    l.Kind = kJointForce;
    l.Target = joint;
    l.CaseIdx = 1;
    l.FX = fx;
    l.FY = fy;
    l.FZ = fz;
    m.Loads.push_back(l);
    m.LoadCount = static_cast<int>(m.Loads.size()) - 1;
}

// An empty model with one elastic rectangular section (depth along local 2, width along local
// 3) of one elastic material, and one load case.
TModel ElasticModel(double depth, double width) {
    TModel m;
    m.Nodes.resize(1);
    m.Frames.resize(1);
    m.Loads.resize(1);
    m.SectionCount = 1;
    m.Sections.resize(2);
    TSECTION& s = m.Sections[1];
    s.Name = "ERECT";
    s.Shape = kShapeRectangle;
    s.T[1] = depth;
    s.T[2] = width;
    s.FrameType = kElasticBeamColumn;
    s.GeoTransf = kLinear;
    s.MatIdx = 1;
    s.SectionKind = kColumnSection;
    m.MatCount = 1;
    m.Mats.resize(2);
    m.Mats[1].Name = "ELASTIC";
    m.Mats[1].MatType = 1;
    m.Mats[1].E = kE;
    m.Mats[1].G = kG;
    m.LoadCaseCount = 1;
    m.LoadCaseNames = {"", "LOAD"};
    return m;
}

// The last line of node0.out: time, then x, y, z displacement of each node from 1.
std::vector<double> FinalDisplacements(TModel& m) {
    TSettings settings; // load control, nodes recorded
    settings.RecOpt = {false, true, false, false, false, false};
    ScriptLineList lines;
    GenerateScript(m, settings, lines);
    const SolverRun run = RunSolver(lines);
    ExpectCleanRun(run, "closed-form model");
    const auto rows = ReadRecorder(run.Folder() / "node0.out");
    if (rows.empty()) return {};
    EXPECT_DOUBLE_EQ(rows.back()[0], 1.0); // the full load
    return rows.back();
}

double Displacement(const std::vector<double>& row, int node, int direction) {
    const size_t at = 1 + 3 * static_cast<size_t>(node - 1) + static_cast<size_t>(direction - 1);
    return at < row.size() ? row[at] : NAN;
}

class ClosedFormTest : public SolverTest {};

// A column fixed at its base with a load at its top, in each direction: bending about the
// section's strong axis (I33, load along local 2 = global x), its weak axis (I22, load along
// global y), and axial shortening.
TEST_F(ClosedFormTest, CantileverTipAndAxialBar) {
    const double depth = 500, width = 300; // mm
    const double area = depth * width;
    const double i33 = width * depth * depth * depth / 12; // 3.125e9
    const double i22 = depth * width * width * width / 12; // 1.125e9
    const double cube = kHeight * kHeight * kHeight;
    struct Case {
        const char* what;
        int direction;
        double force;
        double expected;
    };
    const Case cases[] = {
        {"tip load along x, P L^3 / 3 E I33", 1, 1000, 1000 * cube / (3 * kE * i33)},
        {"tip load along y, P L^3 / 3 E I22", 2, 1000, 1000 * cube / (3 * kE * i22)},
        {"axial load, P L / E A", 3, -100000, -100000 * kHeight / (kE * area)},
    };
    for (const Case& c : cases) {
        TModel m = ElasticModel(depth, width);
        const int base = AddNode(m, 0, 0, 0);
        const int tip = AddNode(m, 0, 0, kHeight);
        m.Nodes[static_cast<size_t>(base)].Restraint = {0, 1, 1, 1, 1, 1, 1};
        AddColumn(m, base, tip);
        AddJointLoad(m, tip, c.direction == 1 ? c.force : 0, c.direction == 2 ? c.force : 0,
                     c.direction == 3 ? c.force : 0);
        const std::vector<double> row = FinalDisplacements(m);
        const double actual = Displacement(row, tip, c.direction);
        EXPECT_NEAR(actual, c.expected, std::abs(c.expected) * kTolerance) << c.what;
    }
}

// One storey of four equal columns on a 6 m x 4 m plan, their tops tied by a rigid diaphragm
// whose master stands at the plan's centre. The diaphragm leaves the tops free to rotate about
// the horizontal axes, so each column is a cantilever of stiffness 3 E I / L^3; a load at the
// master moves it by P / (4 x 3 E I / L^3), without twist.
TEST_F(ClosedFormTest, RigidDiaphragmStorey) {
    const double side = 300; // square columns: I = 6.75e8 mm4 both ways
    const double inertia = side * side * side * side / 12;
    const double stiffness = 4 * 3 * kE * inertia / (kHeight * kHeight * kHeight);
    for (int direction : {1, 2}) {
        TModel m = ElasticModel(side, side);
        const double corners[4][2] = {{0, 0}, {6000, 0}, {6000, 4000}, {0, 4000}};
        std::vector<int> tops;
        for (const auto& xy : corners) {
            const int base = AddNode(m, xy[0], xy[1], 0);
            m.Nodes[static_cast<size_t>(base)].Restraint = {0, 1, 1, 1, 1, 1, 1};
            tops.push_back(AddNode(m, xy[0], xy[1], kHeight));
            AddColumn(m, base, tops.back());
        }
        const int master = AddNode(m, 3000, 2000, kHeight);
        m.DiaphCount = 1;
        m.Diaphs.resize(2);
        m.Diaphs[1].Master = master;
        m.Diaphs[1].DiaNodes = {0};
        m.Diaphs[1].DiaNodes.insert(m.Diaphs[1].DiaNodes.end(), tops.begin(), tops.end());
        m.Diaphs[1].SlaveCount = 4;
        const double force = 10000;
        AddJointLoad(m, master, direction == 1 ? force : 0, direction == 2 ? force : 0, 0);
        const std::vector<double> row = FinalDisplacements(m);
        const double expected = force / stiffness; // 1.111 mm
        EXPECT_NEAR(Displacement(row, master, direction), expected, expected * kTolerance)
            << "direction " << direction;
        for (int top : tops) // every top moves with the master: no twist
            EXPECT_NEAR(Displacement(row, top, direction), expected, expected * kTolerance);
    }
}

} // namespace
} // namespace vandra::testing
