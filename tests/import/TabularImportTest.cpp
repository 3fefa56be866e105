// Import of tabular SAP2000 models: the corpus files, units, labels, loads and masses.
#include "import/TabularImport.h"
#include "CorpusFiles.h"
#include "import/ModelTotals.h"
#include "import/S2kImport.h"
#include "import/TabularReader.h"
#include "model/Errors.h"
#include "model/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace vandra;
using vandra::testing::TotalMass;
using vandra::testing::TotalZ;

namespace {

std::string Corpus(const std::string& name) {
    return vandra::testing::CorpusFile(name);
}

TModel ImportFile(const std::string& name) {
    return ImportTabular(ReadS2kFile(Corpus(name)), name);
}

TModel ImportText(const std::string& text) {
    return ImportTabular(S2kText(text), "test.s2k");
}

template <typename E> std::string ErrorOf(const std::string& text) {
    try {
        ImportText(text);
    } catch (const E& e) {
        return e.what();
    }
    return "no error";
}

int CaseIndex(const TModel& m, const std::string& name) {
    for (int c = 1; c <= m.LoadCaseCount; ++c)
        if (m.LoadCaseNames[static_cast<size_t>(c)] == name) return c;
    return 0;
}

} // namespace

// Counts against the row counts of the tables, and totals against hand sums of the tables:
// ofem: frames TotalWt 984.754089826653 kN, slabs 150 x 36 m2 x 0.25 m x 24.99261766 kN/m3,
// 38 beams of 30 kN/m x 6 m; live 15 x 36 m2 x 20 kN/m2; mass 100.416966613798 t of frames
// plus 150 x 36 x 0.25 x 2.5485377 t of slabs.
// buildings: 38 joints + 2 diaphragm masters, 58 frames of which 33 and 34 pass through the
// diaphragm centres (2 more pieces); loads-based mass of DEAD, LIVE, PART and MASS.
// bridge: one frame meshed into 250 pieces (248 new joints, SAP joint 3 reused at mid-span);
// mass from DEAD only (the added mass is outside the mass source), DEAD = 1 x 3000 cm x
// 0.01 kgf/cm... checked as the lumped mass times g.
TEST(TabularImport, CorpusFilesGiveTheirTablesCounts) {
    if (!vandra::testing::HaveCorpus()) GTEST_SKIP() << "no corpus";
    const struct {
        const char* file;
        int nodes, frames, shells, shells1, mats, sections, areaSecs, diaphs, cases;
    } cases[] = {
        {"ofem-demo.s2k", 264, 620, 150, 150, 2, 1, 1, 0, 2},
        {"building-pso.$2k", 40, 60, 12, 0, 3, 20, 1, 2, 5},
        {"building-ga.$2k", 40, 60, 12, 0, 3, 20, 1, 2, 5},
        {"bridge-pso.$2k", 251, 250, 0, 0, 4, 1, 0, 0, 2},
        {"bridge-ga.$2k", 251, 250, 0, 0, 4, 1, 0, 0, 2},
        {"init.$2k", 0, 0, 0, 0, 3, 0, 0, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const TModel m = ImportFile(c.file);
        EXPECT_EQ(m.NodeCount, c.nodes);
        EXPECT_EQ(m.FrameCount, c.frames);
        EXPECT_EQ(m.ShellCount, c.shells);
        EXPECT_EQ(m.ShellCount1, c.shells1);
        EXPECT_EQ(m.MatCount, c.mats);
        EXPECT_EQ(m.SectionCount, c.sections);
        EXPECT_EQ(m.AreaSecCount, c.areaSecs);
        EXPECT_EQ(m.DiaphCount, c.diaphs);
        EXPECT_EQ(m.LoadCaseCount, c.cases);
        EXPECT_EQ(m.LengthUnit, kLengthMM);
        for (int f = 1; f <= m.FrameCount; ++f) {
            const int type =
                m.Sections[static_cast<size_t>(m.Frames[static_cast<size_t>(f)].SecIdx)].FrameType;
            EXPECT_TRUE(type == kElasticBeamColumn || type == kElasticTimoshenkoBeam) << type;
        }
    }
}

TEST(TabularImport, TenStoreyLoadsAndMassesEqualTheHandSums) {
    if (!vandra::testing::HaveCorpus()) GTEST_SKIP() << "no corpus";
    const TModel m = ImportFile("ofem-demo.s2k");
    const double slabs = 150 * 36 * 0.25;
    const double dead = 984.754089826653 + slabs * 24.99261766 + 38 * 30 * 6; // kN
    EXPECT_NEAR(-TotalZ(m, CaseIndex(m, "DEAD")), dead * 1000, 1e-6 * dead * 1000);
    EXPECT_NEAR(-TotalZ(m, CaseIndex(m, "Q")), 15 * 36 * 20 * 1000.0, 1e-3);
    // DEAD: self weight of 620 frames (one local direction each) + 38 beam loads + the slab
    // weight at the 240 joints of the 10 floors; Q: the 24 roof joints.
    EXPECT_EQ(m.LoadCount, 620 + 38 + 240 + 24);
    const double mass = 100.416966613798 + slabs * 2.5485377; // t = N s^2/mm
    EXPECT_NEAR(TotalMass(m), mass, 1e-6 * mass);
    // Restrained base joints: 24, U1..U3.
    int fixed = 0;
    for (int i = 1; i <= m.NodeCount; ++i)
        fixed += m.Nodes[static_cast<size_t>(i)].Restraint[3];
    EXPECT_EQ(fixed, 24);
    // Coordinates keep full precision in mm.
    EXPECT_EQ(m.Nodes[1].X, -15000.0);
    EXPECT_EQ(m.Nodes[1].Y, -9000.0);
}

TEST(TabularImport, BuildingsDiaphragmsConstraintsAndLoadsBasedMass) {
    if (!vandra::testing::HaveCorpus()) GTEST_SKIP() << "no corpus";
    const TModel m = ImportFile("building-pso.$2k");
    // The diaphragm centre joints lie on beams 33 and 34, which are cut there; the masters are
    // new joints at the centre of each level, away from any element.
    ASSERT_EQ(m.DiaphCount, 2);
    for (int d = 1; d <= 2; ++d) {
        const TDIAPH& diaph = m.Diaphs[static_cast<size_t>(d)];
        EXPECT_EQ(diaph.SlaveCount, 13);
        EXPECT_GT(diaph.Master, 38);
        for (int j = 1; j <= diaph.SlaveCount; ++j)
            EXPECT_EQ(m.Nodes[static_cast<size_t>(diaph.DiaNodes[static_cast<size_t>(j)])].Z,
                      m.Nodes[static_cast<size_t>(diaph.Master)].Z);
    }
    // EQUAL1 ties UZ of joints 1..36 with the fixed base: each free one is tied in UZ to a
    // restrained one, where its reaction belongs.
    std::vector<int> heldBy(37, 0);
    for (int e = 1; e <= m.EqualDofCount; ++e) {
        const TEQUALDOF& tie = m.EqualDofs[static_cast<size_t>(e)];
        if (tie.Constrained <= 36 && tie.Dof[3]) heldBy[static_cast<size_t>(tie.Constrained)] = tie.Retained;
    }
    for (int i = 1; i <= 36; ++i) {
        const int by = m.Nodes[static_cast<size_t>(i)].Restraint[3] ? i : heldBy[static_cast<size_t>(i)];
        ASSERT_GT(by, 0) << i;
        EXPECT_EQ(m.Nodes[static_cast<size_t>(by)].Restraint[3], 1) << i;
    }
    // The mass is the downward load of DEAD + LIVE + PART + MASS over g.
    double down = 0;
    for (const char* name : {"DEAD", "LIVE", "PART", "MASS"})
        down -= TotalZ(m, CaseIndex(m, name));
    EXPECT_NEAR(TotalMass(m), down / 9806.65, 1e-9 * down);
    // P_Load: 150 kgf along X at joint 6.
    const int p = CaseIndex(m, "P_Load");
    int found = 0;
    for (int l = 1; l <= m.LoadCount; ++l) {
        const TLOAD& load = m.Loads[static_cast<size_t>(l)];
        if (load.CaseIdx != p) continue;
        ++found;
        EXPECT_EQ(load.Target, 6);
        EXPECT_DOUBLE_EQ(load.FX, 150 * 9.80665);
    }
    EXPECT_EQ(found, 1);
}

TEST(TabularImport, BridgeIsMeshedAtItsSensorJointAndPlanar) {
    if (!vandra::testing::HaveCorpus()) GTEST_SKIP() << "no corpus";
    const TModel m = ImportFile("bridge-pso.$2k");
    // SAP joint 3 (model joint 2) at mid-span becomes a frame end; nothing is left free.
    int ends = 0;
    for (int f = 1; f <= m.FrameCount; ++f)
        ends += (m.Frames[static_cast<size_t>(f)].NodeI == 2) +
                (m.Frames[static_cast<size_t>(f)].NodeJ == 2);
    EXPECT_EQ(ends, 2);
    // Inactive UY, RX, RZ are restrained everywhere.
    for (int i = 1; i <= m.NodeCount; ++i) {
        const auto& r = m.Nodes[static_cast<size_t>(i)].Restraint;
        EXPECT_EQ(r[2] + r[4] + r[6], 3);
    }
    // Mass from DEAD (x1) only; the frame's added mass is left out by the mass source.
    EXPECT_NEAR(TotalMass(m), -TotalZ(m, CaseIndex(m, "DEAD")) / 9806.65, 1e-9);
}

// The same small model written in kN-m and in kgf-cm gives the same model in N and mm.
TEST(TabularImport, UnitsAreConvertedToNewtonAndMillimetre) {
    auto model = [](const char* units, double l, double f) {
        auto n = [](double v) { return text::FormatGeneral(v); };
        std::string s = "TABLE:  \"JOINT COORDINATES\"\n";
        s += "   Joint=a   CoordSys=GLOBAL   CoordType=Cartesian   XorR=0   Y=0   Z=0\n";
        s += "   Joint=b   CoordSys=GLOBAL   CoordType=Cartesian   XorR=" + n(2.5 * l) +
             "   Y=" + n(0.125 * l) + "   Z=" + n(3.05 * l) + "\n \n";
        s += "TABLE:  \"MATERIAL PROPERTIES 02 - BASIC MECHANICAL PROPERTIES\"\n";
        s += "   Material=C   UnitWeight=" + n(25 * f / (l * l * l)) +
             "   UnitMass=" + n(2.5 * f / (l * l * l * l)) + "   E1=" + n(3e7 * f / (l * l)) +
             "   U12=0.2\n \n";
        s += "TABLE:  \"FRAME SECTION PROPERTIES 01 - GENERAL\"\n";
        s += "   SectionName=R   Material=C   Shape=Rectangular   t3=" + n(0.5 * l) +
             "   t2=" + n(0.3 * l) + "   Area=" + n(0.15 * l * l) + "\n \n";
        s += "TABLE:  \"CONNECTIVITY - FRAME\"\n   Frame=F1   JointI=a   JointJ=b\n \n";
        s += "TABLE:  \"FRAME SECTION ASSIGNMENTS\"\n   Frame=F1   AnalSect=R\n \n";
        s += "TABLE:  \"LOAD PATTERN DEFINITIONS\"\n   LoadPat=D   SelfWtMult=1\n \n";
        s += "TABLE:  \"JOINT LOADS - FORCE\"\n   Joint=b   LoadPat=D   F1=" + n(10 * f) +
             "   M3=" + n(2 * f * l) + "\n \n";
        s += std::string("TABLE:  \"PROGRAM CONTROL\"\n   CurrUnits=\"") + units +
             "\"\nEND TABLE DATA\n";
        return ImportText(s);
    };
    const TModel a = model("KN, m, C", 1, 1);
    const TModel b = model("Kgf, cm, C", 100, 1000 / 9.80665);
    for (const TModel* m : {&a, &b}) {
        EXPECT_NEAR(m->Nodes[2].X, 2500, 1e-9);
        EXPECT_NEAR(m->Nodes[2].Y, 125, 1e-9);
        EXPECT_NEAR(m->Nodes[2].Z, 3050, 1e-9);
        EXPECT_NEAR(m->Mats[1].E, 30000, 1e-9 * 30000);
        EXPECT_NEAR(m->Sections[1].T[1], 500, 1e-9);
        EXPECT_EQ(m->Sections[1].Shape, kShapeRectangle);
        const TLOAD* force = nullptr;
        for (int l = 1; l <= m->LoadCount; ++l)
            if (m->Loads[static_cast<size_t>(l)].Kind == kJointForce)
                force = &m->Loads[static_cast<size_t>(l)];
        ASSERT_NE(force, nullptr);
        EXPECT_EQ(force->Target, 2);
        EXPECT_NEAR(force->FX, 10000, 1e-6);
        EXPECT_NEAR(force->MZ, 2e6, 1e-3);
        const double length = std::sqrt(2500.0 * 2500 + 125 * 125 + 3050 * 3050);
        EXPECT_NEAR(TotalZ(*m, 1), -25e-6 * 0.15e6 * length, 1e-9 * 25e-6 * 0.15e6 * length);
        EXPECT_NEAR(TotalMass(*m), 2.5e-9 * 0.15e6 * length, 1e-12);
    }
}

TEST(TabularImport, BadReferencesNameTableRowAndLabel) {
    const std::string joints = "TABLE:  \"JOINT COORDINATES\"\n   Joint=1   XorR=0   Y=0   Z=0\n"
                               "   Joint=2   XorR=1   Y=0   Z=0\n \n";
    const struct {
        std::string body, message;
    } cases[] = {
        {joints + "TABLE:  \"CONNECTIVITY - FRAME\"\n   Frame=1   JointI=1   JointJ=7\n",
         "CONNECTIVITY - FRAME row 1 (line 6): joint \"7\" (JointJ) is not in JOINT COORDINATES"},
        {joints + "TABLE:  \"JOINT RESTRAINT ASSIGNMENTS\"\n   Joint=1   U1=Yes\n   Joint=x\n",
         "JOINT RESTRAINT ASSIGNMENTS row 2 (line 7): joint \"x\" (Joint) is not in JOINT "
         "COORDINATES"},
        {joints + "TABLE:  \"JOINT LOADS - FORCE\"\n   Joint=1   LoadPat=NONE\n",
         "JOINT LOADS - FORCE row 1 (line 6): load pattern \"NONE\" is not in LOAD PATTERN "
         "DEFINITIONS"},
        {"TABLE:  \"JOINT COORDINATES\"\n   Joint=1   XorR=0   Y=0   Z=0\n   Joint=1   XorR=1   "
         "Y=0   Z=0\n",
         "JOINT COORDINATES row 2 (line 3): joint \"1\" is listed twice"},
        {"TABLE:  \"PROGRAM CONTROL\"\n   CurrUnits=\"furlong, m, C\"\n",
         "PROGRAM CONTROL (line 2): units \"furlong, m, C\" are not known (forces N, KN, Kgf, "
         "Tonf, "
         "lb, Kip; lengths mm, cm, m, in, ft)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorOf<InputError>(c.body), c.message);
    EXPECT_EQ(ErrorOf<ConversionError>(
                  "TABLE:  \"JOINT COORDINATES\"\n   Joint=1   XorR=1,5   Y=0   Z=0\n"),
              "JOINT COORDINATES row 1 (line 2), XorR: '1,5' is not a valid floating point value");
}

// Three-joint areas are skipped as elements with a warning but keep their loads; a general
// section keeps the file's properties.
TEST(TabularImport, SkippedAreasAndGeneralSectionsAreReported) {
    const TModel m = ImportText(
        "TABLE:  \"JOINT COORDINATES\"\n   Joint=1   XorR=0   Y=0   Z=0\n   Joint=2   XorR=3   Y=0 "
        "  Z=0\n"
        "   Joint=3   XorR=0   Y=3   Z=0\n \n"
        "TABLE:  \"CONNECTIVITY - AREA\"\n   Area=T   NumJoints=3   Joint1=1   Joint2=2   "
        "Joint3=3\n \n"
        "TABLE:  \"LOAD PATTERN DEFINITIONS\"\n   LoadPat=L   SelfWtMult=0\n \n"
        "TABLE:  \"AREA LOADS - UNIFORM\"\n   Area=T   LoadPat=L   Dir=Gravity   UnifLoad=2\n \n"
        "TABLE:  \"MATERIAL PROPERTIES 02 - BASIC MECHANICAL PROPERTIES\"\n   Material=S   "
        "E1=200000   U12=0.3\n \n"
        "TABLE:  \"FRAME SECTION PROPERTIES 01 - GENERAL\"\n   SectionName=G   Material=S   "
        "Shape=General   Area=100 _\n"
        "        I33=2000   I22=1000   TorsConst=500   AS2=80   AS3=70\n \n"
        "TABLE:  \"PROGRAM CONTROL\"\n   CurrUnits=\"N, mm, C\"\n");
    EXPECT_EQ(m.ShellCount, 0);
    EXPECT_NEAR(TotalZ(m, 1), -2 * 4.5, 1e-12);
    ASSERT_EQ(m.SectionCount, 1);
    const TSECTION& g = m.Sections[1];
    ASSERT_TRUE(g.GivenProps);
    EXPECT_EQ(*g.GivenProps, (TSectionProps{100, 1000, 2000, 80, 70, 500}));
    bool triangleWarned = false, generalWarned = false;
    for (const TWarning& w : m.Warnings) {
        triangleWarned = triangleWarned || w.What.find("3 joints") != std::string::npos;
        generalWarned = generalWarned || w.What.find("G (General)") != std::string::npos;
    }
    EXPECT_TRUE(triangleWarned);
    EXPECT_TRUE(generalWarned);
}
