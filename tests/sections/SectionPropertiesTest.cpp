#include "sections/SectionProperties.h"

#include "sections/Fibers.h"
#include "sections/ScriptSection.h"

#include <gtest/gtest.h>

#include <array>
#include <numbers>

using namespace vandra;

TEST(SectionProperties, RectangleSolidBarGivenAndNone) {
    TSECTION rectangle;
    rectangle.Shape = kShapeRectangle;
    rectangle.T = {0, 500, 300, 0, 0, 0, 0};
    const TSectionProps r = SectionPropertiesOf(rectangle);
    EXPECT_DOUBLE_EQ(r.Area, 1.5e5);
    EXPECT_DOUBLE_EQ(r.I33, 3.125e9);
    EXPECT_DOUBLE_EQ(r.I22, 1.125e9);
    EXPECT_DOUBLE_EQ(r.AS2, 1.25e5);
    EXPECT_DOUBLE_EQ(r.AS3, 1.25e5);
    EXPECT_NEAR(r.TorsJ, 2.8174e9, 0.0001e9);
    rectangle.T[1] = rectangle.T[2] = 0;
    EXPECT_EQ(SectionPropertiesOf(rectangle).TorsJ, 0); // no division by zero

    TSECTION pipe; // a wall of half the diameter: a solid bar
    pipe.Shape = kShapePipe;
    pipe.T = {0, 100, 50, 0, 0, 0, 0};
    const TSectionProps bar = SectionPropertiesOf(pipe);
    constexpr double pi = std::numbers::pi;
    EXPECT_DOUBLE_EQ(bar.Area, 2500 * pi);
    EXPECT_DOUBLE_EQ(bar.I22, 1e8 * pi / 64);
    EXPECT_DOUBLE_EQ(bar.TorsJ, 50.0 * 50 * 50 * 50 * pi / 2);

    TSECTION general; // the file's properties, as given
    general.GivenProps = TSectionProps{3, 4, 5, 6, 7, 8};
    EXPECT_EQ(SectionPropertiesOf(general), (TSectionProps{3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(SectionPropertiesOf(TSECTION()), TSectionProps());
}

// The script's view of a section: its material's G (none for slot 0 or an absent table), and
// fibers only for the frame types with a fiber section, their bars of the rebar material chosen.
TEST(ScriptSection, MaterialShearModulusAndFibersByFrameType) {
    TModel m;
    m.MatCount = 1;
    m.Mats.resize(2);
    m.Mats[1].G = 12500;
    TSECTION column;
    column.Shape = kShapeRectangle;
    column.T = {0, 500, 300, 0, 0, 0, 0};
    column.MatIdx = 1;
    column.DivideFX = column.DivideFY = column.BarNumNX = column.BarNumNY = 5;
    column.Cover = 35;
    column.SectionKind = kColumnSection;
    m.SectionCount = 10;
    m.Sections.assign(11, column);
    for (int t = 1; t <= 8; ++t)
        m.Sections[static_cast<size_t>(t)].FrameType = t;
    m.Sections[9].FrameType = kNonlinearBeamColumn;
    m.Sections[9].Shape = kShapeNone; // no layout: no fibers
    m.Sections[10].FrameType = kNonlinearBeamColumn;
    m.Sections[10].MatIdx = 0;
    TSettings settings;
    settings.RebarMat = 7;

    const std::vector<TScriptSection> sections = ScriptSectionsOf(m, settings);
    ASSERT_EQ(sections.size(), 11u);
    for (int t = 1; t <= 8; ++t) {
        const TScriptSection& s = sections[static_cast<size_t>(t)];
        EXPECT_EQ(s.Fibers.size(), HasFiberSection(t) ? 45u : 0u) << t;
        EXPECT_EQ(s.G, 12500) << t;
    }
    EXPECT_EQ(sections[2].Fibers[25].FibMat, 7); // the first bar
    EXPECT_EQ(sections[2].Fibers[24].FibMat, 1); // the last cell
    EXPECT_TRUE(sections[9].Fibers.empty());
    EXPECT_EQ(sections[10].G, 0);
    EXPECT_EQ(sections[10].Fibers[0].FibMat, 0);

    m.MatCount = -1; // no material table at all
    m.Mats.clear();
    EXPECT_EQ(ScriptSectionOf(m, 1, 1).G, 0);
}

namespace {

struct Shape {
    const char* name;
    int shape;
    std::array<double, 4> t; // depth, width, flange thickness, web thickness
    double area, i22, i33, as2, as3, torsJ;
};

// Hand values of the rectangles each shape is made of.
const Shape kShapes[] = {
    {"IPE 400",
     kShapeI,
     {400, 180, 13.5, 8.6},
     8067.8,
     13141770.740666667,
     218764745.51666667,
     5.0 / 6 * 400 * 8.6,
     5.0 / 3 * 180 * 13.5,
     380052.46666666667},
    {"box 300 x 200 x 10",
     kShapeBox,
     {300, 200, 10, 10},
     9600,
     63920000,
     120720000,
     6000,
     4000,
     144000000},
};

TSECTION SectionOf(const Shape& s) {
    TSECTION sec;
    sec.Shape = s.shape;
    for (size_t k = 0; k < 4; ++k)
        sec.T[k + 1] = s.t[k];
    return sec;
}

} // namespace

TEST(SectionProperties, IAndBoxAreTheRectanglesDrawn) {
    for (const Shape& s : kShapes) {
        SCOPED_TRACE(s.name);
        const TSectionProps sec = SectionPropertiesOf(SectionOf(s));
        EXPECT_NEAR(sec.Area, s.area, 1e-9 * s.area);
        EXPECT_NEAR(sec.I22, s.i22, 1e-12 * s.i22);
        EXPECT_NEAR(sec.I33, s.i33, 1e-12 * s.i33);
        EXPECT_NEAR(sec.AS2, s.as2, 1e-12 * s.as2);
        EXPECT_NEAR(sec.AS3, s.as3, 1e-12 * s.as3);
        EXPECT_NEAR(sec.TorsJ, s.torsJ, 1e-12 * s.torsJ);
    }
}

// The fiber section and the elastic properties describe the same shape: with many fibers the sums
// A, A z^2 and A y^2 approach Area, I33 and I22. The flanges (and the webs across their thickness)
// are one fiber thick, so their own inertia about that axis stays out: well under 0.2 %.
TEST(SectionProperties, AgreeWithAFineFiberLayout) {
    for (const Shape& s : kShapes) {
        SCOPED_TRACE(s.name);
        TSECTION section = SectionOf(s);
        section.DivideFX = section.DivideFY = 400;
        double area = 0, i22 = 0, i33 = 0;
        for (const TFIBER& f : SectionFibers(section, 1)) {
            area += f.FibArea;
            i22 += f.FibArea * f.FibY * f.FibY;
            i33 += f.FibArea * f.FibZ * f.FibZ;
        }
        const TSectionProps sec = SectionPropertiesOf(section);
        EXPECT_NEAR(area, sec.Area, 1e-9 * sec.Area);
        EXPECT_NEAR(i22, sec.I22, 2e-3 * sec.I22);
        EXPECT_NEAR(i33, sec.I33, 2e-3 * sec.I33);
    }
}
