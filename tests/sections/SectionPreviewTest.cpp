// The section picture as primitives: where each outline, grid line, bar and text goes.
#include "CaseFile.h"

#include "sections/SectionPreview.h"
#include "sections/Fibers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

using namespace vandra;
using Kind = PreviewPrimitive::Kind;

namespace {

TSECTION Section(int shape, double t1, double t2, double t3 = 0, double t4 = 0) {
    TSECTION s;
    s.Shape = shape;
    s.FrameType = kNonlinearBeamColumn;
    s.T = {0, t1, t2, t3, t4, 0, 0};
    s.MatIdx = 1;
    s.DivideFX = s.DivideFY = s.BarNumNX = s.BarNumNY = 5;
    s.Cover = 35;
    s.BarTop = s.BarBot = 1000;
    s.SectionKind = kColumnSection;
    return s;
}

std::vector<PreviewPrimitive> Of(const std::vector<PreviewPrimitive>& all, Kind kind,
                                 PreviewColor color = PreviewColor::Black, bool anyColor = true) {
    std::vector<PreviewPrimitive> out;
    for (const PreviewPrimitive& p : all)
        if (p.kind == kind && (anyColor || p.color == color)) out.push_back(p);
    return out;
}

std::string TextOf(const std::vector<PreviewPrimitive>& all) {
    const auto texts = Of(all, Kind::Text);
    return texts.empty() ? std::string("<none>") : texts.front().text;
}

PreviewPrimitive Dot(int x, int y, PreviewColor c) {
    return {Kind::Dot, x - 4, y - 4, x + 4, y + 4, c, {}};
}

} // namespace

// The cases of tests/cases/sections/preview.case.
TEST(SectionPreview, CountsAndPrimitivesPerShape) {
    for (const vandra::testing::TestCase& c : vandra::testing::ReadCases("sections/preview.case")) {
        SCOPED_TRACE(c.where + ": " + c.title);
        std::vector<double> t;
        for (const std::string& w : vandra::testing::Words(c.One("section")))
            t.push_back(std::stod(w));
        t.resize(5);
        TSECTION s = Section(static_cast<int>(t[0]), t[1], t[2], t[3], t[4]);
        if (c.Has("beam")) s.SectionKind = kBeamSection;
        if (c.Has("divide")) s.DivideFX = std::stoi(c.One("divide"));
        const auto all = DrawSectionPreview(s);
        ASSERT_FALSE(all.empty());
        EXPECT_EQ(all.front(), (PreviewPrimitive{Kind::Rectangle, 0, 0, 200, 200, {}, {}}));
        EXPECT_EQ(TextOf(all), c.One("text", "<none>"));
        std::ostringstream counts;
        counts << Of(all, Kind::Rectangle).size() << ' ' << Of(all, Kind::Ellipse).size() << ' '
               << Of(all, Kind::Line, PreviewColor::Blue, false).size() << ' '
               << Of(all, Kind::Line, PreviewColor::Black, false).size() << ' '
               << Of(all, Kind::Dot, PreviewColor::Red, false).size() << ' '
               << Of(all, Kind::Dot, PreviewColor::Blue, false).size();
        EXPECT_EQ(counts.str(), c.One("counts"));
    }
}

// The announced count is the number of fibers the script gets, for every shape generation lays out.
TEST(SectionPreview, AnnouncedCountIsTheGeneratedCount) {
    for (int shape : {kShapeRectangle, kShapeI, kShapeBox}) {
        for (int kind : {kBeamSection, kColumnSection}) {
            TSECTION s = Section(shape, 300, 200, 10, 10);
            s.SectionKind = kind;
            s.DivideFX = 3;
            s.DivideFY = 7;
            s.BarNumNX = 0;
            EXPECT_EQ(TextOf(DrawSectionPreview(s)),
                      "NUM OF FIBERS = " + std::to_string(SectionFibers(s, 2).size()))
                << shape;
        }
    }
}

// Where outlines, grid lines, bars and circles land: a rectangle 400 wide and 200 deep at 0.4
// pixel per unit, its X bars at y = -150 and 150 on the bottom (z = -50) then the top line, one Y
// bar a side at mid height; a pipe's circles and rays, the screen row growing with sin(theta).
TEST(SectionPreview, PrimitivesLandWhereTheSectionIs) {
    TSECTION rectangle = Section(kShapeRectangle, 200, 400);
    rectangle.DivideFX = rectangle.DivideFY = rectangle.BarNumNX = 2;
    rectangle.BarNumNY = 1;
    rectangle.Cover = 50;
    TSECTION pipe = Section(kShapePipe, 200, 20);
    pipe.DivideFX = 4;
    using P = PreviewPrimitive;
    const struct {
        TSECTION section;
        Kind kind;
        std::vector<PreviewPrimitive> expected;
    } cases[] = {
        {rectangle, Kind::Rectangle,
         {{Kind::Rectangle, 0, 0, 200, 200, {}, {}}, {Kind::Rectangle, 20, 60, 180, 140, {}, {}}}},
        {rectangle, Kind::Line,
         {P{Kind::Line, 100, 60, 100, 140, PreviewColor::Blue, {}},
          P{Kind::Line, 20, 100, 180, 100, PreviewColor::Blue, {}}}},
        {rectangle, Kind::Dot,
         {Dot(40, 120, PreviewColor::Red), Dot(160, 120, PreviewColor::Red),
          Dot(40, 80, PreviewColor::Red), Dot(160, 80, PreviewColor::Red),
          Dot(40, 100, PreviewColor::Blue), Dot(160, 100, PreviewColor::Blue)}},
        {pipe, Kind::Ellipse,
         {{Kind::Ellipse, 20, 20, 180, 180, {}, {}}, {Kind::Ellipse, 36, 36, 164, 164, {}, {}}}},
        {pipe, Kind::Line,
         {{Kind::Line, 164, 100, 180, 100, {}, {}}, {Kind::Line, 100, 164, 100, 180, {}, {}},
          {Kind::Line, 36, 100, 20, 100, {}, {}}, {Kind::Line, 100, 36, 100, 20, {}, {}}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Of(DrawSectionPreview(c.section), c.kind), c.expected) << int(c.kind);
    const auto text = Of(DrawSectionPreview(rectangle), Kind::Text);
    ASSERT_EQ(text.size(), 1u);
    EXPECT_EQ(text[0].x1, 50);
    EXPECT_EQ(text[0].y1, 180);
}

TEST(SectionPreview, PixelsRoundHalvesToEven) {
    const std::pair<double, int> cases[] = {{0.5, 0},  {1.5, 2},         {2.5, 2},
                                            {-0.5, 0}, {-1.5, -2},       {2.49, 2},
                                            {2.51, 3}, {1e300, 1000000}, {-1e300, -1000000}};
    for (const auto& [v, px] : cases)
        EXPECT_EQ(PreviewPixel(v), px) << v;
}

TEST(SectionPreview, HugeDivisionsStayBounded) {
    TSECTION s = Section(kShapeRectangle, 500, 300);
    s.DivideFX = 2000000000;
    s.DivideFY = -5;
    const auto all = DrawSectionPreview(s);
    EXPECT_LE(all.size(), static_cast<size_t>(kMaxFibersPerSection) + 30);
    EXPECT_EQ(TextOf(all), "NUM OF FIBERS = 20");
}
