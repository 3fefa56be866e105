#include "view/Camera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace vandra;

namespace {

constexpr int kW = 1208;
constexpr int kH = 729;

TModel NodesAt(std::initializer_list<std::array<double, 3>> points) {
    TModel m;
    m.Nodes.resize(1);
    for (const auto& p : points) {
        TNODE n;
        n.X = p[0];
        n.Y = p[1];
        n.Z = p[2];
        m.Nodes.push_back(n);
    }
    m.NodeCount = static_cast<int>(points.size());
    return m;
}

} // namespace

TEST(Camera, RoundPixelTakesHalvesToTheEvenNeighbour) {
    const struct {
        double in;
        int out;
    } cases[] = {{364.5, 364},      {365.5, 366},         {-0.5, 0},
                 {-1.5, -2},        {2.4999, 2},          {2.5001, 3},
                 {std::nan(""), 0}, {1e300, kPixelLimit}, {-1e300, -kPixelLimit}};
    for (const auto& c : cases)
        EXPECT_EQ(RoundPixel(c.in), c.out) << c.in;
}

// Where the joints land in the plan and plane views, tilted, and after a pan drag (the model
// follows the pointer); a half pixel goes to the even neighbour.
TEST(Camera, ProjectionOfTheViews) {
    const TModel m = NodesAt({{0, 0, 0}, {0, 10, 0}, {10, 0, 0}, {0, 0, 7}});
    const auto view = [](PlaneView plane, double tilt = 0) {
        return [=](TViewState& v) {
            SetPlaneView(v, PlaneView::YZ);
            SetPlaneView(v, plane);
            if (tilt != 0) v.TiltAngle = tilt;
        };
    };
    const struct {
        const char* what;
        std::function<void(TViewState&)> set;
        int node, x, y;
    } cases[] = {
        {"plan: the origin at 364.5", view(PlaneView::XY), 1, 604, 364},
        {"plan: Y up, 10 units at scale 5 are 2 pixels", view(PlaneView::XY), 2, 604, 362},
        {"plan: X right", view(PlaneView::XY), 3, 606, 364},
        {"plan: Z points at the viewer", view(PlaneView::XY), 4, 604, 364},
        {"XZ: Z up by 7 / 5 = 1.4 pixels", view(PlaneView::XZ), 4, 604, 363},
        {"XZ: Y points away", view(PlaneView::XZ), 2, 604, 364},
        {"XZ tilted by 90: a positive tilt turns Z downwards", view(PlaneView::XZ, 90), 4, 604, 366},
        {"YZ: larger Y further left", view(PlaneView::YZ), 2, 602, 364},
        {"YZ: Z up", view(PlaneView::YZ), 4, 604, 363},
        {"pan drag: 359.5 goes to 360", [](TViewState& v) { PanDrag(v, 110, 95, 100, 100); }, 1, 614,
         360},
    };
    for (const auto& c : cases) {
        TViewState v;
        c.set(v);
        TProjection p;
        ProjectModel(m, v, kW, kH, {}, p);
        EXPECT_EQ(p.Nodes[static_cast<size_t>(c.node)].X, c.x) << c.what;
        EXPECT_EQ(p.Nodes[static_cast<size_t>(c.node)].Y, c.y) << c.what;
    }
}

TEST(Camera, NodesMoveByTheirOffsetsTimesTheDisplacementScale) {
    TModel m = NodesAt({{0, 0, 0}, {0, 0, 0}});
    const double x[] = {0, 1, 1}, zero[] = {0, 0, 0};
    TViewState v;
    TProjection p;
    const struct {
        double scale;
        size_t count;
        int x1, x2;
    } cases[] = {{10, 3, 606, 606},
                 {-10, 3, 602, 602},
                 {0, 3, 604, 604},
                 {10, 2, 606, 604},
                 {10, 0, 604, 604}};
    for (const auto& c : cases) {
        v.DisplacementScale = c.scale;
        ProjectModel(m, v, kW, kH, TNodeOffsets{x, zero, zero, c.count}, p);
        EXPECT_EQ(p.Nodes[1].X, c.x1) << c.scale << " " << c.count;
        EXPECT_EQ(p.Nodes[2].X, c.x2) << c.scale << " " << c.count;
    }
}

TEST(Camera, FrameScreenPoints) {
    TModel m = NodesAt({{0, 0, 0}, {100, 0, 0}});
    m.Frames.resize(2);
    m.FrameCount = 1;
    TFRAME& f = m.Frames[1];
    f.NodeI = 1;
    f.NodeJ = 2;
    f.Axis2Y = 1;
    TViewState v;
    TProjection p;
    v.DisplacementScale = 1;
    // Node 2 moves by 50: the node and the 20 % / 80 % points move, not the midpoint.
    const double dx[] = {0, 0, 50}, zero[] = {0, 0, 0};
    const TNodeOffsets offsets{dx, zero, zero, 3};
    ProjectModel(m, v, kW, kH, offsets, p);
    EXPECT_EQ(p.Nodes[2].X, 634);
    EXPECT_EQ(p.Frames[1].Mid.X, 614);
    EXPECT_EQ(p.Frames[1].Mid.Y, 364);
    EXPECT_EQ(p.Frames[1].Axis.X, 614);
    EXPECT_EQ(p.Frames[1].Axis.Y, 324); // 40 pixels at any scale
    EXPECT_EQ(p.Frames[1].EndI.X, 610); // 604 + 30 * 0.2
    EXPECT_EQ(p.Frames[1].EndJ.X, 628);
    v.ViewScale = 0.5;
    ProjectModel(m, v, kW, kH, offsets, p);
    EXPECT_EQ(p.Frames[1].Axis.Y, p.Frames[1].Mid.Y - 40);
}

TEST(Camera, CrossReferencesOutsideTheTablesAreSkipped) {
    TModel m = NodesAt({{0, 0, 0}});
    m.NodeCount = 5; // more than the table holds
    m.Frames.resize(4);
    m.FrameCount = 3;
    m.Frames[1].NodeI = 1;
    m.Frames[1].NodeJ = 7;
    m.Frames[2].NodeI = -2;
    m.Frames[2].NodeJ = 1;
    m.Frames[3].NodeI = 1;
    m.Frames[3].NodeJ = 1;
    TProjection p;
    p.Frames.resize(2);
    p.Frames[1].Mid.X = 11;
    TViewState v;
    ProjectModel(m, v, kW, kH, {}, p);
    EXPECT_EQ(p.Frames.size(), size_t(4));
    EXPECT_EQ(p.Nodes.size(), size_t(2));
    EXPECT_EQ(p.Frames[1].Mid.X, 11);
    EXPECT_EQ(p.Frames[3].Mid.X, 604);

    TModel empty;
    empty.NodeCount = -1;
    empty.FrameCount = -1;
    empty.Nodes.clear();
    ProjectModel(empty, v, kW, kH, {}, p);
    ZoomAll(empty, v, kW, kH);
    EXPECT_EQ(v.ViewScale, 5.0);
    EXPECT_EQ(v.PanU, 0.0);
}

TEST(Camera, ZoomAll) {
    TViewState v;
    TModel single = NodesAt({{3, 4, 5}});
    v.PanU = 7;
    ZoomAll(single, v, kW, kH);
    EXPECT_EQ(v.PanU, 3.0); // the joint in the middle of the image
    EXPECT_EQ(v.PanV, -4.0);
    EXPECT_EQ(v.ViewScale, 1.0); // the fit of extents is tested on pictures (ZoomFitTest)
}

TEST(Camera, WheelNotchesScaleByATenth) {
    TViewState v;
    WheelNotch(v, false);
    EXPECT_DOUBLE_EQ(v.ViewScale, 4.5);
    WheelNotch(v, true);
    EXPECT_DOUBLE_EQ(v.ViewScale, 5.0);
}

TEST(Camera, RotateDragTurnsHalfATurnPerImageAndResetsBeyondAFullTurn) {
    TViewState v;
    // Each move drags across the whole width: +180 degrees.
    const double expected[] = {180, 360, 0, 180};
    for (double e : expected) {
        RotateDrag(v, kW, 0, 0, 0, kW, kH);
        EXPECT_DOUBLE_EQ(v.PlanAngle, e);
    }
    v.PlanAngle = -300;
    RotateDrag(v, 0, 0, kW / 2, 0, kW, kH); // -90: beyond -360
    EXPECT_EQ(v.PlanAngle, 0);
    v.TiltAngle = 0;
    RotateDrag(v, 0, kH, 0, 0, kW, kH);
    RotateDrag(v, 0, kH, 0, 0, kW, kH);
    EXPECT_DOUBLE_EQ(v.TiltAngle, 360); // exactly 360 is kept
    RotateDrag(v, 0, 1, 0, 0, kW, kH);
    EXPECT_EQ(v.TiltAngle, 0);
}
