#include "view/render/ModelRenderer.h"

#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vandra;
using namespace vandra::testing;

namespace {

constexpr int kW = 300;
constexpr int kH = 200;
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kYellow = qRgb(255, 255, 0);
constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kGreen = qRgb(0, 255, 0);
constexpr QRgb kMagenta = qRgb(255, 0, 255);

QRgb Px(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFFu;
}
QRgb Rgb(uint32_t packed) {
    return qRgb(ColorRed(packed), ColorGreen(packed), ColorBlue(packed)) & 0xFFFFFFu;
}

TViewOptions Only(std::initializer_list<int> options) {
    TViewOptions s;
    s.ViewOpt.fill(false);
    s.ResultLegend = false;
    for (int o : options)
        s.ViewOpt[static_cast<size_t>(o)] = true;
    return s;
}

QImage Draw(const TModel& m, const TViewOptions& s, int selected = 0,
            DrawPath path = DrawPath::Fast, const TResults& results = TResults()) {
    EnsureGuiApplication();
    QImage image = BlankImage(kW, kH);
    RedrawModel(image, m, s, PixelView(kW, kH), selected, results, path);
    return image;
}

// Section values at both ends of every frame of the model.
TFrameEnds EndsOf(const TModel& m, double i, double j) {
    TFrameEnds ends;
    const size_t size = static_cast<size_t>(m.FrameCount) + 1;
    ends.I.assign(size, i);
    ends.J.assign(size, j);
    ends.HasI.assign(size, 1);
    ends.HasJ.assign(size, 1);
    ends.Any = true;
    return ends;
}

} // namespace

// One scene of frames and a support: a frame in its section's colour, a rigid beam as a red dot
// ringed in its colour (no dot without the release option), a frame of no section black, the
// selected frame's yellow highlight only while frames are shown, and the support's colour by its
// restraint count: black for 3, magenta for 6, red for others.
TEST(Renderer, FramesSupportsAndSelectionInTheirColours) {
    TModel m = JointsAtPixels(
        {{40, 50}, {240, 50}, {40, 150}, {240, 150}, {40, 100}, {240, 100}, {270, 180}});
    const uint32_t teal = PackColor(0, 128, 128), blue = PackColor(0, 0, 255);
    AddFrame(m, 1, 2, AddSection(m, teal, kElasticBeamColumn));
    AddFrame(m, 3, 4, AddSection(m, blue, kRigidBeam));
    AddFrame(m, 5, 6, 0); // no section: slot 0, black
    const QRgb white = kWhite & 0xFFFFFFu;
    const struct {
        int fixed, selected, off; // restraints of the support, the selected frame, an option off
        int x, y;
        QRgb color;
    } cases[] = {
        {0, 0, -1, 100, 50, Rgb(teal)},      {0, 0, -1, 100, 150, white},
        {0, 0, -1, 140, 150, kRed & white},  {0, 0, -1, 135, 150, Rgb(blue)},
        {0, 0, -1, 100, 100, 0},             {0, 0, 11, 140, 150, white},
        {0, 1, -1, 100, 48, kYellow & white}, {0, 0, -1, 100, 48, white},
        {0, 1, 3, 100, 48, white},           {0, 7, -1, 100, 48, white},
        {3, 0, -1, 265, 175, 0},             {3, 0, -1, 274, 184, 0},
        {3, 0, -1, 275, 180, white},         {6, 0, -1, 265, 175, kMagenta & white},
        {1, 0, -1, 274, 184, kRed & white},
    };
    for (const auto& c : cases) {
        for (int d = 1; d <= 6; ++d)
            m.Nodes[7].Restraint[static_cast<size_t>(d)] = d <= c.fixed;
        TViewOptions s;
        if (c.off >= 0) s.ViewOpt[static_cast<size_t>(c.off)] = false;
        EXPECT_EQ(Px(Draw(m, s, c.selected), c.x, c.y), c.color)
            << c.fixed << " " << c.selected << " " << c.off << " at " << c.x << ", " << c.y;
    }
}

TEST(Renderer, HingeCircleColoursAcrossTheResultRange) {
    const double none = std::nan(""); // a frame without section values: its line, no circle
    const struct {
        double value, min, max;
        QRgb color;
    } cases[] = {{-0.0001, -0.0001, 0.0001, kRed},    {0, -0.0001, 0.0001, kGreen},
                 {0.0001, -0.0001, 0.0001, kMagenta}, {-1, -0.0001, 0.0001, kRed},
                 {1, -0.0001, 0.0001, kMagenta},      {2.5, 0, 6, kYellow},
                 {3.5, 0, 6, qRgb(0, 255, 255)},      {5, 2, 2, kGreen},
                 {none, -1, 1, 0}};
    for (const auto& c : cases) {
        TModel m = JointsAtPixels({{50, 100}, {250, 100}});
        AddFrame(m, 1, 2, AddSection(m, 0, kElasticBeamColumn));
        TResults results;
        results.Ends = EndsOf(m, c.value, c.value);
        results.Ends.HasI[1] = results.Ends.HasJ[1] = !std::isnan(c.value);
        results.ResultMin = c.min;
        results.ResultMax = c.max;
        const TViewOptions s = Only({3, 8}); // frames and their end circles
        const QImage image = Draw(m, s, 0, DrawPath::Fast, results);
        EXPECT_EQ(Px(image, 90, 100), c.color & 0xFFFFFFu) << c.value; // the 20 % point
        EXPECT_EQ(Px(image, 210, 100), c.color & 0xFFFFFFu) << c.value;
        EXPECT_EQ(Px(image, 85, 100), 0u) << c.value; // the black outline
        EXPECT_EQ(Px(image, 90, 103), std::isnan(c.value) ? kWhite & 0xFFFFFFu : c.color & 0xFFFFFFu);
    }
}

TEST(Renderer, OnlyShellSectionsOfKindShellAreCrossHatched) {
    const uint32_t orange = PackColor(255, 128, 0);
    const struct {
        int kind;
        int secIdx;
        bool hatched;
    } cases[] = {{1, 1, true}, {0, 1, false}, {1, 5, false}, {1, -3, false}};
    for (const auto& c : cases) {
        TModel m = JointsAtPixels({{50, 50}, {250, 50}, {250, 150}, {50, 150}});
        TAREASEC sec;
        sec.ShellKind = c.kind;
        sec.Color = orange;
        m.AreaSecs.push_back(sec);
        m.AreaSecCount = 1;
        TSHELL sh;
        sh.SecIdx = c.secIdx;
        sh.N1 = 1;
        sh.N2 = 2;
        sh.N3 = 3;
        sh.N4 = 4;
        m.Shells.push_back(sh);
        m.ShellCount = 1;
        const QImage image = Draw(m, Only({9}));
        const int hatch = CountColor(image, Rgb(orange), 60, 60, 240, 140);
        const int white = CountColor(image, kWhite, 60, 60, 240, 140);
        if (c.hatched) {
            EXPECT_GT(hatch, 1000) << c.secIdx;
            EXPECT_GT(white, 5000) << c.secIdx; // the background shows between the hatch
        } else {
            EXPECT_EQ(white, 180 * 80) << c.kind << " " << c.secIdx;
        }
    }
}

TEST(Renderer, LabelsFillTheirCellWithTheBrushColour) {
    TModel m = JointsAtPixels({{40, 60}, {240, 60}});
    AddFrame(m, 1, 2, AddSection(m, 0, kElasticBeamColumn));
    const struct {
        int option;
        int x, y;
        QRgb cell;
    } cases[] = {{2, 40, 60, kYellow}, {4, 140, 60, kGreen}};
    for (const auto& c : cases) {
        const QImage image = Draw(m, Only({1, 3, c.option}));
        EXPECT_GT(CountColor(image, c.cell, c.x, c.y, c.x + 12, c.y + 14), 40) << c.option;
        EXPECT_EQ(CountColor(image, c.cell, c.x - 8, c.y - 8, c.x, c.y), 0) << c.option;
    }
}

TEST(Renderer, LoadLabelsOfTheShownCaseOnly) {
    TModel m = JointsAtPixels({{40, 60}, {240, 60}, {100, 150}});
    AddFrame(m, 1, 2, AddSection(m, 0, kElasticBeamColumn));
    m.LoadCaseNames = {"", "DEAD", "LIVE"};
    m.LoadCaseCount = 2;
    TLOAD point;
    point.Kind = kJointForce;
    point.CaseIdx = 1;
    point.Target = 3;
    point.FX = 12000;
    point.FZ = -5000;
    TLOAD element;
    element.Kind = kFrameDistributed;
    element.CaseIdx = 1;
    element.Target = 1;
    element.Dir = 2;
    element.FX = -12.3;
    TLOAD bad = element;
    bad.Target = 99;
    m.Loads = {TLOAD(), point, element, bad};
    m.LoadCount = 3;
    const QRgb lightGrey = qRgb(240, 240, 240);
    const struct {
        int shownCase, type;
        int grey, yellow; // expected: cells at the joint, and at the frame's midpoint
    } cases[] = {{1, 1, 2, 0}, {1, 2, 0, 1}, {2, 1, 0, 0},
                 {0, 1, 0, 0}, {9, 1, 0, 0}, {1, 3, 0, 0}};
    for (const auto& c : cases) {
        TViewOptions s = Only({});
        s.ShownLoadCase = c.shownCase;
        s.ShownLoadType = c.type;
        const QImage image = Draw(m, s);
        const int forces = CountColor(image, lightGrey, 100, 150, 116, 162) > 30;
        const int moments = CountColor(image, lightGrey, 100, 165, 116, 177) > 30;
        EXPECT_EQ(forces + moments, c.grey) << c.shownCase << " " << c.type;
        EXPECT_EQ(CountColor(image, kYellow, 140, 60, 156, 72) > 30, c.yellow == 1)
            << c.shownCase << " " << c.type;
    }
}

// A model with something in every layer, partly outside the image, and references that point
// nowhere.
TModel Everything() {
    TModel m = JointsAtPixels({});
    for (int i = 0; i < 60; ++i) {
        TNODE n;
        n.X = (i * 37) % 340 - 20;
        n.Y = -((i * 53) % 240 - 20);
        n.Restraint[1] = i % 2;
        n.Restraint[3] = i % 3 == 0;
        m.Nodes.push_back(n);
    }
    m.NodeCount = 60;
    m.Nodes[7].X = 1e9; // beyond every pixel
    for (int k = 1; k <= 4; ++k)
        AddSection(m, SectionColor(k), k == 3 ? kRigidBeam : k);
    for (int f = 0; f < 80; ++f) {
        AddFrame(m, 1 + f % 60, 1 + (f * 7 + 3) % 60, (f / 5) % 6);
        m.Frames.back().Axis2Z = 1;
    }
    for (int repeat = 0; repeat < 3; ++repeat)
        AddFrame(m, 2, 9, 1); // one line drawn thrice
    AddFrame(m, 1, 61, 1);    // a joint beyond the table
    TAREASEC shell;
    shell.ShellKind = 1;
    shell.Color = SectionColor(2);
    m.AreaSecs.push_back(shell);
    m.AreaSecCount = 1;
    for (int i = 0; i < 6; ++i) {
        TSHELL sh;
        sh.SecIdx = i % 3;
        sh.N1 = 1 + i;
        sh.N2 = 10 + i;
        sh.N3 = 20 + i;
        sh.N4 = i == 5 ? 0 : 30 + i;
        m.Shells.push_back(sh);
    }
    m.ShellCount = 6;
    TSOLID so;
    for (size_t k = 1; k <= 8; ++k)
        so.N[k] = static_cast<int>(k * 5);
    m.Solids.push_back(so);
    m.SolidCount = 1;
    TDIAPH d;
    d.Master = 2;
    d.DiaNodes = {0, 3, 4, 500};
    d.SlaveCount = 6;
    m.Diaphs.push_back(d);
    m.DiaphCount = 1;
    return m;
}

// The fast path writes the two pixels wide frame lines itself (LineRaster): the painter leaves out
// some pixels whose centres lie within a few thousandths of a pixel of the pen's edge, about one
// pixel in 200 of a line. Everything else is the same pixel for pixel, so the images may differ in
// at most 1 % of the pixels drawn.
void ExpectSameLines(const QImage& fast, const QImage& plain) {
    ASSERT_EQ(fast.size(), plain.size());
    int differing = 0, drawn = 0;
    for (int y = 0; y < fast.height(); ++y)
        for (int x = 0; x < fast.width(); ++x) {
            drawn += plain.pixel(x, y) != qRgb(255, 255, 255);
            differing += fast.pixel(x, y) != plain.pixel(x, y);
        }
    EXPECT_LE(differing, drawn / 100) << differing << " of " << drawn;
}

TEST(Renderer, FastDrawingGivesTheSamePixelsAsPlainDrawing) {
    EnsureGuiApplication();
    TModel m = Everything();
    TViewOptions all;
    all.ViewOpt.fill(true);
    TResults results;
    const size_t nodes = static_cast<size_t>(m.NodeCount) + 1;
    results.Disp.X.assign(nodes, 0.0);
    results.Disp.Z = results.Disp.X;
    for (size_t i = 0; i < nodes; ++i)
        results.Disp.Y.push_back(static_cast<double>(i % 5));
    results.Ends = EndsOf(m, 0, 0);
    for (size_t f = 1; f < results.Ends.I.size(); ++f) {
        results.Ends.I[f] = static_cast<double>(f) * 1e-5 - 2e-4;
        results.Ends.J[f] = -results.Ends.I[f];
        results.Ends.HasJ[f] = f % 4 != 0;
    }
    for (const TViewOptions& s : {TViewOptions(), all}) {
        TViewState v = PixelView(kW, kH);
        v.DisplacementScale = 3;
        QImage fast = BlankImage(kW, kH), plain = BlankImage(kW, kH);
        RedrawModel(fast, m, s, v, 4, results, DrawPath::Fast);
        RedrawModel(plain, m, s, v, 4, results, DrawPath::Plain);
        ExpectSameLines(fast, plain);
    }
    TNodeHistory history;
    history.Steps = 2;
    history.Stride = nodes;
    history.Time = {1, 2};
    history.X.assign(2 * nodes, 2.0);
    history.Y.assign(2 * nodes, 0.0);
    history.Z.assign(2 * nodes, 0.0);
    TViewState v = PixelView(kW, kH);
    v.DisplacementScale = 5;
    QImage fast = BlankImage(kW, kH), plain = BlankImage(kW, kH);
    TProjection fastPoints, plainPoints;
    RedrawAnimationFrame(fast, m, v, history, 2, fastPoints, DrawPath::Fast);
    RedrawAnimationFrame(plain, m, v, history, 2, plainPoints, DrawPath::Plain);
    ExpectSameLines(fast, plain);
}

TEST(Renderer, BrokenReferencesAndEmptyTablesDrawWithoutFault) {
    EnsureGuiApplication();
    TViewOptions all;
    all.ViewOpt.fill(true);
    all.ShownLoadCase = 1;
    all.ShownLoadType = 1;
    TModel empty;
    empty.NodeCount = empty.FrameCount = empty.ShellCount = empty.SolidCount = -1;
    empty.SectionCount = empty.AreaSecCount = empty.LoadCount = empty.DiaphCount = -1;
    empty.Nodes.clear();
    empty.Sections.clear();
    empty.AreaSecs.clear();
    QImage image = BlankImage(kW, kH);
    RedrawModel(image, empty, all, TViewState(), 3);
    EXPECT_EQ(Px(image, 150, 150), kWhite & 0xFFFFFFu); // the background, outlined in black
    EXPECT_EQ(Px(image, 0, 100), 0u);
    EXPECT_EQ(Px(image, kW - 1, kH - 1), 0u);

    TModel m = Everything();
    m.Sections.clear(); // every frame reads the empty slot: black lines
    m.SectionCount = 4;
    m.FrameCount = 1000;
    m.NodeCount = 70;
    m.LoadCaseNames = {"", "A"};
    m.LoadCaseCount = 5;
    TLOAD l;
    l.Kind = kJointForce;
    l.CaseIdx = 1;
    l.Target = -1;
    m.Loads = {TLOAD(), l};
    m.LoadCount = 9;
    RedrawModel(image, m, all, PixelView(kW, kH), 999);
    QImage none;
    RedrawModel(none, m, all, TViewState(), 0);
    EXPECT_TRUE(none.isNull());
}
