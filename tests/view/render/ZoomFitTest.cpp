// Zoom all through the renderer: a box of frames anywhere in space, in every plane view, is drawn
// whole and centred with the same margin on each side.
#include "view/render/ModelRenderer.h"

#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vandra;
using namespace vandra::testing;

TEST(ZoomFit, EveryJointDrawnInsideTheMarginForAnyOffsetAndPlane) {
    constexpr int kW = 640, kH = 400;
    const double offsets[][3] = {{0, 0, 0},   {-5e4, 0, 0}, {5e4, 0, 0}, {0, -5e4, 0},
                                 {0, 5e4, 0}, {0, 0, -5e4}, {0, 0, 5e4}, {1e6, -2e6, 3e5}};
    EnsureGuiApplication();
    for (const auto& o : offsets) {
        TModel m = JointsAtPixels({}); // a 3000 x 1200 x 600 box: 8 corners, 12 edges
        for (int k = 0; k < 8; ++k) {
            TNODE n;
            n.X = o[0] + (k & 1 ? 3000 : 0), n.Y = o[1] + (k & 2 ? 1200 : 0);
            n.Z = o[2] + (k & 4 ? 600 : 0);
            m.Nodes.push_back(n);
        }
        m.NodeCount = 8;
        const int sec = AddSection(m, PackColor(0, 0, 255), 0);
        for (int a = 0; a < 8; ++a)
            for (int bit : {1, 2, 4})
                if ((a & bit) == 0) AddFrame(m, a + 1, (a | bit) + 1, sec);
        for (PlaneView plane : {PlaneView::XY, PlaneView::XZ, PlaneView::YZ}) {
            TViewState view{.ViewScale = 0.01, .PanU = 123}; // left from an earlier model
            SetPlaneView(view, plane);
            ZoomAll(m, view, kW, kH);
            QImage image = BlankImage(kW, kH);
            const TProjection p = RedrawModel(image, m, TViewOptions(), view, 0);
            int x0 = kW, x1 = -1, y0 = kH, y1 = -1;
            for (int i = 1; i <= 8; ++i) {
                const TScreenPoint& s = p.Nodes[static_cast<size_t>(i)];
                x0 = std::min(x0, s.X), x1 = std::max(x1, s.X);
                y0 = std::min(y0, s.Y), y1 = std::max(y1, s.Y);
            }
            const auto at = ::testing::Message() << o[0] << "," << o[1] << "," << o[2] << " plane "
                                                 << static_cast<int>(plane);
            EXPECT_NEAR(x0, kW - 1 - x1, 2) << at; // centred
            EXPECT_NEAR(y0, kH - 1 - y1, 2) << at;
            // The tighter direction fills 80 % of the image, the other fits inside it.
            EXPECT_NEAR(std::max((x1 - x0) / (0.8 * kW), (y1 - y0) / (0.8 * kH)), 1.0, 0.01) << at;
            // The box's outline is on the picture: blue frame pixels on its left and right sides.
            EXPECT_GT(CountColor(image, qRgb(0, 0, 255), x0 - 1, y0, x0 + 2, y1 + 1), 0) << at;
            EXPECT_GT(CountColor(image, qRgb(0, 0, 255), x1 - 1, y0, x1 + 2, y1 + 1), 0) << at;
        }
    }
}
