#include "CaseFile.h"

#include "sections/SectionProperties.h"
#include "sections/Fibers.h"
#include "sections/ScriptSection.h"

#include <gtest/gtest.h>

using namespace vandra;

namespace {

// The section of a case: its shape, then T1..T4.
TSECTION SectionOf(const vandra::testing::TestCase& c) {
    const std::vector<std::string> w = vandra::testing::Words(c.One("section"));
    TSECTION s;
    s.Shape = std::stoi(w.at(0));
    for (size_t k = 1; k < w.size(); ++k)
        s.T[k] = std::stod(w[k]);
    return s;
}

} // namespace

// The cases of tests/cases/sections/shapes.case; a rectangle without size has no torsion (no
// division by zero); a general section takes the file's properties as given, none without them.
TEST(SectionProperties, ShapesGivenAndNone) {
    for (const vandra::testing::TestCase& c : vandra::testing::ReadCases("sections/shapes.case")) {
        const TSectionProps p = SectionPropertiesOf(SectionOf(c));
        const std::pair<const char*, double> values[] = {{"Area", p.Area}, {"I22", p.I22},
                                                         {"I33", p.I33},   {"AS2", p.AS2},
                                                         {"AS3", p.AS3},   {"TorsJ", p.TorsJ}};
        for (const auto& [name, value] : values)
            if (c.Has(name)) EXPECT_TRUE(vandra::testing::CloseTo(value, c.One(name))) << c.where << ": " << name << " " << value;
    }
    TSECTION empty;
    empty.Shape = kShapeRectangle;
    EXPECT_EQ(SectionPropertiesOf(empty).TorsJ, 0);
    TSECTION general;
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

// The fiber section and the elastic properties describe the same shape: with many fibers the sums
// A, A z^2 and A y^2 approach Area, I33 and I22. The flanges (and the webs across their thickness)
// are one fiber thick, so their own inertia about that axis stays out: well under 0.2 %.
TEST(SectionProperties, AgreeWithAFineFiberLayout) {
    for (const vandra::testing::TestCase& c : vandra::testing::ReadCases("sections/shapes.case")) {
        if (!c.Has("fibers")) continue;
        SCOPED_TRACE(c.title);
        TSECTION section = SectionOf(c);
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
