// Zoom all through the renderer: a box of frames anywhere in space, seen in every plane view, is
// drawn whole and centred, with the same margin on each side.
#include "view/render/ModelRenderer.h"

#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vandra;
using namespace vandra::testing;

TEST(ZoomFit, EveryJointDrawnInsideTheMarginForAnyOffsetAndPlane) {
    constexpr int kW = 640, kH = 400;
    constexpr QRgb kBlue = qRgb(0, 0, 255);
    const struct {
        double x, y, z;
    } offsets[] = {{0, 0, 0},       {-50000, 0, 0}, {50000, 0, 0},   {0, -50000, 0},
                   {0, 50000, 0},   {0, 0, -50000}, {0, 0, 50000},   {-750, -1500, -300},
                   {1e6, -2e6, 3e5}};
    const PlaneView planes[] = {PlaneView::XY, PlaneView::XZ, PlaneView::YZ};
    EnsureGuiApplication();
    for (const auto& o : offsets) {
        // A 3000 x 1200 x 600 box: eight corners joined by its twelve edges.
        TModel m = JointsAtPixels({});
        for (int k = 0; k < 8; ++k) {
            TNODE n;
            n.X = o.x + (k & 1 ? 3000 : 0);
            n.Y = o.y + (k & 2 ? 1200 : 0);
            n.Z = o.z + (k & 4 ? 600 : 0);
            m.Nodes.push_back(n);
        }
        m.NodeCount = 8;
        const int sec = AddSection(m, PackColor(0, 0, 255), 0);
        for (int a = 0; a < 8; ++a)
            for (int bit : {1, 2, 4})
                if ((a & bit) == 0) AddFrame(m, a + 1, (a | bit) + 1, sec);
        for (PlaneView plane : planes) {
            TViewState view;
            view.PanU = 123; // left from an earlier model
            view.ViewScale = 0.01;
            SetPlaneView(view, plane);
            ZoomAll(m, view, kW, kH);
            QImage image = BlankImage(kW, kH);
            const TProjection p = RedrawModel(image, m, TViewOptions(), view, 0);
            int minX = kW, maxX = -1, minY = kH, maxY = -1;
            for (int i = 1; i <= 8; ++i) {
                const TScreenPoint& s = p.Nodes[static_cast<size_t>(i)];
                minX = std::min(minX, s.X), maxX = std::max(maxX, s.X);
                minY = std::min(minY, s.Y), maxY = std::max(maxY, s.Y);
            }
            const auto where = ::testing::Message() << o.x << "," << o.y << "," << o.z << " plane "
                                                    << static_cast<int>(plane);
            // Centred: the same margin on both sides (a pixel of rounding apart).
            EXPECT_NEAR(minX, kW - 1 - maxX, 2) << where;
            EXPECT_NEAR(minY, kH - 1 - maxY, 2) << where;
            // The tighter direction fills 80 % of the image; the other fits inside it.
            const bool xTight = maxX - minX >= (maxY - minY) * kW / kH;
            EXPECT_NEAR(xTight ? maxX - minX : maxY - minY, (xTight ? kW : kH) * 0.8, 2) << where;
            EXPECT_GE(minX, kW / 10 - 1) << where;
            EXPECT_GE(minY, kH / 10 - 1) << where;
            // The box's outline is really on the picture: frame pixels on each of its four sides.
            EXPECT_GT(CountColor(image, kBlue, minX - 1, minY, minX + 2, maxY), 0) << where;
            EXPECT_GT(CountColor(image, kBlue, maxX - 1, minY, maxX + 2, maxY), 0) << where;
            EXPECT_GT(CountColor(image, kBlue, minX, minY - 1, maxX, minY + 2), 0) << where;
            EXPECT_GT(CountColor(image, kBlue, minX, maxY - 1, maxX, maxY + 2), 0) << where;
        }
    }
}
