#include "view/Interaction.h"

#include <gtest/gtest.h>

using namespace vandra;

namespace {

// Frames whose screen midpoints are given directly (as the last redraw left them).
struct Scene {
    TModel m;
    TProjection p;
};
Scene FramesWithMidpoints(std::initializer_list<std::pair<int, int>> mids) {
    Scene s;
    s.m.Nodes.resize(2);
    s.m.NodeCount = 1;
    s.m.Frames.resize(1);
    s.p.Nodes.resize(2);
    s.p.Frames.resize(1);
    for (const auto& [x, y] : mids) {
        TFRAME f;
        f.NodeI = f.NodeJ = 1;
        s.m.Frames.push_back(f);
        TFrameScreen at;
        at.Mid = {x, y};
        s.p.Frames.push_back(at);
    }
    s.m.FrameCount = static_cast<int>(mids.size());
    return s;
}

} // namespace

TEST(Interaction, PanAndRotateDragsStayArmed) {
    const TModel m;
    const struct {
        MouseOutcome (*choose)(TInteraction&);
        int armed, dragging;
        const char* status;
    } cases[] = {{ChoosePan, kPanArmed, kPanning, "Pan"},
                 {ChooseRotate, kRotateArmed, kRotating, "Rotate View"}};
    for (const auto& c : cases) {
        TInteraction s;
        TViewState v;
        c.choose(s);
        for (int drag = 0; drag < 2; ++drag) {
            EXPECT_FALSE(MousePress(s, m, TProjection(), 100, 100, false).redraw);
            EXPECT_EQ(s.MouseMode, c.dragging);
            EXPECT_TRUE(MouseMove(s, v, 110, 100, 1000, 500).redraw);
            EXPECT_EQ(s.LastMouseX, 110);
            const MouseOutcome up = MouseRelease(s, v, 120, 100, 1000, 500);
            EXPECT_TRUE(up.redraw);
            EXPECT_EQ(up.statusText, c.status);
            EXPECT_EQ(s.MouseMode, c.armed);
            EXPECT_EQ(s.LastMouseX, 110); // the release does not move the last point
        }
        if (c.armed == kPanArmed) {
            EXPECT_DOUBLE_EQ(v.PanU, -2 * 20 * 5.0);
        } else {
            EXPECT_DOUBLE_EQ(v.PlanAngle, 2 * 20 / 1000.0 * 180);
        }
    }
}

TEST(Interaction, RightButtonCancelsAfterTheOtherSteps) {
    TInteraction s;
    TViewState v;
    ChoosePan(s);
    const MouseOutcome down = MousePress(s, TModel(), TProjection(), 100, 100, true);
    EXPECT_EQ(s.MouseMode, kMouseNone);
    EXPECT_EQ(down.statusText, "None");
    EXPECT_FALSE(MouseMove(s, v, 300, 300, 1000, 500).redraw);
    EXPECT_FALSE(MouseRelease(s, v, 300, 300, 1000, 500).redraw);
    EXPECT_EQ(v.PanU, 0);
    EXPECT_EQ(v.PanV, 0);

    // In select mode the right button still picks, then ends the mode.
    const Scene one = FramesWithMidpoints({{50, 50}});
    ChooseSelect(s);
    const MouseOutcome pick = MousePress(s, one.m, one.p, 50, 50, true);
    EXPECT_EQ(s.SelectedFrame, 1);
    EXPECT_TRUE(pick.showFrameProperties);
    EXPECT_TRUE(pick.redraw);
    EXPECT_EQ(s.MouseMode, kMouseNone);
    EXPECT_EQ(pick.statusText, "None");
}

TEST(Interaction, PickUsesTheTenByTenBoxAndTheLastFrameWins) {
    const Scene scene = FramesWithMidpoints({{100, 100}, {300, 300}, {300, 300}});
    const struct {
        int x, y, frame;
    } cases[] = {{95, 100, 1},  {104, 104, 1}, {105, 100, 0}, {100, 95, 1},
                 {100, 105, 0}, {94, 100, 0},  {300, 300, 3}, {0, 0, 0}};
    for (const auto& c : cases) {
        TInteraction s;
        s.SelectedFrame = 2;
        ChooseSelect(s);
        const MouseOutcome out = MousePress(s, scene.m, scene.p, c.x, c.y, false);
        EXPECT_EQ(s.SelectedFrame, c.frame) << c.x << "," << c.y;
        EXPECT_EQ(out.redraw, c.frame != 0);
        EXPECT_EQ(out.showFrameProperties, c.frame != 0);
        EXPECT_EQ(s.MouseMode, kSelect);
    }
}

TEST(Interaction, FramesWithoutJointsAreNotPicked) {
    Scene scene = FramesWithMidpoints({{10, 10}, {10, 10}});
    scene.m.Frames[2].NodeJ = 9;
    scene.m.FrameCount = 5; // beyond the table
    TInteraction s;
    ChooseSelect(s);
    MousePress(s, scene.m, scene.p, 10, 10, false);
    EXPECT_EQ(s.SelectedFrame, 1);
    // A projection of fewer frames than the model (drawn before an import) picks among those.
    scene.m = FramesWithMidpoints({{10, 10}, {10, 10}, {10, 10}}).m;
    scene.p.Frames.resize(2);
    MousePress(s, scene.m, scene.p, 10, 10, false);
    EXPECT_EQ(s.SelectedFrame, 1);
}
