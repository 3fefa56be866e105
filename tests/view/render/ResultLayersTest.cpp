// The result layers on the pixels: a diagram's side, size and sign colour in both ways of
// drawing, and a frame drawn curved from its end rotation.
#include "view/render/ModelRenderer.h"
#include "view/render/ResultLayers.h"

#include "RenderTestSupport.h"

#include <gtest/gtest.h>

using namespace vandra;
using namespace vandra::testing;

namespace {

constexpr int kW = 400;
constexpr int kH = 400;

QRgb Px(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFFu;
}

TViewOptions FramesOnly() {
    TViewOptions s;
    s.ViewOpt.fill(false);
    s.ViewOpt[kOptFrame] = true;
    s.DiagramValues = false;
    return s;
}

// A beam along X from pixel (100, 150) to (300, 150), axis 2 along Z: local y is +Y, up on the
// screen. The model is 200 long, so the largest value is drawn 20 pixels from the beam.
TModel Beam(int frameType) {
    TModel m = JointsAtPixels({{100, 150}, {300, 150}});
    AddFrame(m, 1, 2, AddSection(m, 0, frameType));
    m.Frames[1].Axis2Z = 1;
    return m;
}

TResults ForcesAtEnds(ForceKind kind, int component, double i, double j) {
    TResults r;
    TForceResults& f = r.Forces;
    f.Step = 1;
    f.AtStep.Kind = {ForceKind::None, kind};
    f.AtStep.Ends.resize(2);
    f.AtStep.Ends[1].I[static_cast<size_t>(component)] = i;
    f.AtStep.Ends[1].J[static_cast<size_t>(component)] = j;
    return r;
}

TEST(ResultLayers, DiagramSideSizeAndColourFollowTheComponentAndSign) {
    EnsureGuiApplication();
    // Along the beam the value goes from I to J linearly; t = (x - 100) / 200. `down` is the
    // drawn offset in pixels at x = 110 (t = 0.05) and x = 290 (t = 0.95), downwards on the
    // screen positive.
    const struct {
        int component;
        ForceKind kind;
        double i, j;
        double scale;
        double down110, down290; // 0: nothing drawn there
    } cases[] = {
        // Mz on its tension side, along -y: a positive Mz hangs below the beam.
        {kForceMz, ForceKind::Beam, 1000, -500, 1, 18.5, -8.5},
        {kForceMz, ForceKind::Beam, 1000, -500, 2, 37, -17},
        // Vy along +y: positive above.
        {kForceVy, ForceKind::Beam, 1000, -500, 1, -18.5, 8.5},
        // My is drawn along z, seen end on in a plan view: nothing in the image's plane.
        {kForceMy, ForceKind::Beam, 1000, -500, 1, 0, 0},
        // A truss has no moment.
        {kForceMz, ForceKind::Axial, 1000, -500, 1, 0, 0},
    };
    for (const DrawPath path : {DrawPath::Fast, DrawPath::Plain})
        for (const auto& c : cases) {
            SCOPED_TRACE("component " + std::to_string(c.component) + ", scale " +
                         std::to_string(c.scale) + (path == DrawPath::Fast ? ", fast" : ", plain"));
            const TModel m = Beam(c.kind == ForceKind::Axial ? kTruss : kElasticBeamColumn);
            TViewOptions s = FramesOnly();
            s.Diagram = c.component + 1;
            s.DiagramScale = c.scale;
            QImage image = BlankImage(kW, kH);
            RedrawModel(image, m, s, PixelView(kW, kH), 0,
                        ForcesAtEnds(c.kind, c.component, c.i, c.j), path);
            for (const auto& [x, down] : {std::pair{110, c.down110}, std::pair{290, c.down290}}) {
                // The value is positive near end I, negative near end J.
                const QRgb fill = (x < 200 ? kPositiveFill : kNegativeFill) & 0xFFFFFFu;
                const int inside = static_cast<int>(150 + down * 0.8);
                const int outside = static_cast<int>(150 + down * 1.2 + (down > 0 ? 2 : -2));
                if (down == 0) {
                    EXPECT_EQ(CountColor(image, kPositiveFill, 0, 0, kW, kH) +
                                  CountColor(image, kNegativeFill, 0, 0, kW, kH),
                              0);
                    continue;
                }
                EXPECT_EQ(Px(image, x, inside), fill) << "x " << x;
                EXPECT_NE(Px(image, x, outside), fill) << "x " << x;
                EXPECT_NE(Px(image, x, static_cast<int>(150 - down * 0.8)), fill) << "x " << x;
            }
        }
}

TEST(ResultLayers, AFrameWithRecordedRotationsIsDrawnCurved) {
    EnsureGuiApplication();
    // A cantilever up the screen from (100, 150) to (100, 50), fixed at the bottom, axis 2 along
    // Z: its local y is -X. Its tip moves 10 along X and turns by -1.5 * 10 / 100 about Z, as
    // under a tip load; at mid-length it is then 5/16 of the tip's 10 to the side, not the half
    // the chord gives. Drawn 3 times larger: 9.4 pixels at y = 100, where the chord is at 15.
    TModel m = JointsAtPixels({{100, 150}, {100, 50}});
    AddFrame(m, 1, 2, AddSection(m, 0, kElasticBeamColumn));
    m.Frames[1].Axis2Z = 1;
    TResults results;
    results.Disp.X = {0, 0, 10};
    results.Disp.Y = results.Disp.Z = {0, 0, 0};
    results.Rotations.X = results.Rotations.Y = {0, 0, 0};
    results.Rotations.Z = {0, 0, -0.15};
    TViewState v = PixelView(kW, kH);
    v.DisplacementScale = 3;
    for (const DrawPath path : {DrawPath::Fast, DrawPath::Plain}) {
        QImage image = BlankImage(kW, kH);
        RedrawModel(image, m, FramesOnly(), v, 0, results, path);
        EXPECT_EQ(Px(image, 109, 100), 0u);
        EXPECT_EQ(Px(image, 115, 100), 0xFFFFFFu);
        EXPECT_EQ(Px(image, 130, 50), 0u); // the tip
    }
}

} // namespace
