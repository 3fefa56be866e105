#include "CaseFile.h"

#include "view/Camera.h"

#include <gtest/gtest.h>

#include <cmath>

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

// The cases of tests/cases/view/camera.case.
TEST(Camera, RoundingAndProjectionOfTheCases) {
    using vandra::testing::Words;
    const TModel m = NodesAt({{0, 0, 0}, {0, 10, 0}, {10, 0, 0}, {0, 0, 7}});
    const double x[] = {0, 1, 1, 1, 1}, zero[5] = {};
    for (const vandra::testing::TestCase& c : vandra::testing::ReadCases("view/camera.case")) {
        SCOPED_TRACE(c.where + ": " + c.title);
        if (c.Has("round")) {
            std::string got;
            for (const std::string& w : Words(c.One("round")))
                got += std::to_string(RoundPixel(std::stod(w))) + " ";
            EXPECT_EQ(got, c.One("gives") + " ");
            continue;
        }
        TViewState v;
        const std::vector<std::string> view = Words(c.One("view", "XY"));
        SetPlaneView(v, PlaneView::YZ);
        SetPlaneView(v, view[0] == "XZ" ? PlaneView::XZ : view[0] == "YZ" ? PlaneView::YZ : PlaneView::XY);
        if (view.size() == 3) v.TiltAngle = std::stod(view[2]);
        if (const std::vector<std::string> pan = Words(c.One("pan")); pan.size() == 4)
            PanDrag(v, std::stoi(pan[0]), std::stoi(pan[1]), std::stoi(pan[2]), std::stoi(pan[3]));
        const std::vector<std::string> offsets = Words(c.One("offsets", "0 0"));
        v.DisplacementScale = std::stod(offsets[0]);
        TProjection p;
        ProjectModel(m, v, kW, kH, TNodeOffsets{x, zero, zero, std::stoul(offsets[1])}, p);
        for (const std::string& j : c.All("joint")) {
            const std::vector<std::string> w = Words(j);
            const auto& at = p.Nodes[std::stoul(w[0])];
            EXPECT_EQ(std::to_string(at.X) + " " + std::to_string(at.Y), w[1] + " " + w[2]) << j;
        }
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
