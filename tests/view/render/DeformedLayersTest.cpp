// A deformed column drawn into a PNG and an SVG: the undeformed column faintly beneath, the
// section values coloured along it from end I to end J, and the legend's six colour steps from the
// largest value down.
#include "view/render/DeformedLayers.h"
#include "view/render/ModelRenderer.h"
#include "view/render/PictureWriter.h"

#include "RenderTestSupport.h"
#include "TestTempDir.h"

#include <QPainter>
#include <QSvgRenderer>
#include <gtest/gtest.h>

#include <filesystem>

using namespace vandra;
using namespace vandra::testing;

namespace {

constexpr int kW = 400, kH = 300;

QImage ReadBack(const std::string& path) {
    if (path.ends_with(".png"))
        return QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
    QImage image(kW, kH, QImage::Format_RGB32);
    image.fill(Qt::white);
    QSvgRenderer svg(QString::fromStdString(path));
    QPainter p(&image);
    svg.render(&p);
    return image;
}

// The first row at which colour c appears right of x0 (past the column) in the upper half; -1 when it does not.
int FirstRowOf(const QImage& image, QRgb c, int x0) {
    for (int y = 0; y < kH / 2; ++y)
        for (int x = x0; x < kW; ++x)
            if ((image.pixel(x, y) & 0xFFFFFFu) == (c & 0xFFFFFFu)) return y;
    return -1;
}

} // namespace

TEST(DeformedLayers, UndeformedBeneathValuesAlongAndLegendInPngAndSvg) {
    EnsureGuiApplication();
    // A column from end I at pixel (60, 120) up to end J at (60, 30); its top moves 0.5 along X,
    // drawn 40 times: 20 pixels right. Curvature 0 at I, 1 at J, the colour range 0..1.
    TModel m = JointsAtPixels({{60, 120}, {60, 30}});
    AddFrame(m, 1, 2, AddSection(m, 0, kElasticBeamColumn));
    TResults r;
    r.Disp.X = {0, 0, 0.5};
    r.Disp.Y = r.Disp.Z = {0, 0, 0};
    r.Ends.I = {0, 0};
    r.Ends.J = {0, 1};
    r.Ends.HasI = r.Ends.HasJ = {0, 1};
    r.Ends.Any = true;
    r.ResultMin = 0;
    r.ResultMax = 1;
    TViewState view = PixelView(kW, kH);
    view.DisplacementScale = 40;
    TViewOptions options;
    options.ViewOpt.fill(false);
    options.ViewOpt[kOptFrame] = true;
    for (const char* name : {"deformed.png", "deformed.svg"}) {
        SCOPED_TRACE(name);
        const std::string path = (std::filesystem::path(ProcessTempDir()) / name).string();
        SavePicture(path, ModelViewPicture(m, options, view, 0, r, kW, kH, "column"));
        const QImage image = ReadBack(path);
        EXPECT_EQ(image.pixel(60, 60) & 0xFFFFFFu, kUndeformedColour & 0xFFFFFFu);
        // The deformed column passes x = 61.3 at y = 114 and x = 78.9 at y = 35; the band of its
        // values lies 4 pixels to its right.
        EXPECT_EQ(image.pixel(65, 114) & 0xFFFFFFu, ResultStepColour(1) & 0xFFFFFFu);
        EXPECT_EQ(image.pixel(83, 35) & 0xFFFFFFu, ResultStepColour(6) & 0xFFFFFFu);
        int above = -1;
        for (int k = 6; k >= 1; --k) {
            const int row = FirstRowOf(image, ResultStepColour(k), 100);
            EXPECT_GT(row, above) << "step " << k;
            above = row;
        }
    }
}
