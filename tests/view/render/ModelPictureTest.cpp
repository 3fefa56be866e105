// The model view as an SVG: the same layers as the image, each layer's lines one path a pen.
#include "view/render/ModelRenderer.h"

#include "RenderTestSupport.h"
#include "TestTempDir.h"

#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;
using namespace vandra;
using namespace vandra::testing;

namespace {

using Segment = std::tuple<int, int, int, int>;

// The segments of every <path> by the stroke colour of its group, in the path's own coordinates,
// and the group's translation (the last one seen).
struct SvgLines {
    std::map<std::string, std::vector<Segment>> byColor;
    QString transform;
};

SvgLines ReadSvgLines(const QByteArray& svg) {
    SvgLines out;
    std::vector<std::string> strokes{""};
    QXmlStreamReader xml(svg);
    while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd()) {
        if (xml.isEndElement() && xml.name() == QLatin1String("g")) strokes.pop_back();
        if (!xml.isStartElement()) continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == QLatin1String("g")) {
            strokes.push_back(a.hasAttribute("stroke") ? a.value("stroke").toString().toStdString()
                                                       : strokes.back());
            if (a.hasAttribute("transform")) out.transform = a.value("transform").toString();
            continue;
        }
        double x1, y1, x2, y2;
        char m, l, comma;
        std::istringstream d(a.value("d").toString().toStdString()); // "M10,10 L90,10 M..."
        while (d >> m >> x1 >> comma >> y1 >> l >> x2 >> comma >> y2)
            out.byColor[strokes.back()].emplace_back(std::lround(x1), std::lround(y1),
                                                     std::lround(x2), std::lround(y2));
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return out;
}

std::string StrokeOf(uint32_t packed) {
    return QColor(ColorRed(packed), ColorGreen(packed), ColorBlue(packed)).name().toStdString();
}

} // namespace

// A small model's frames lie in the SVG where the image draws them, shifted half a pixel; a
// 100,000-frame model in three colours keeps every line and stays under 20 MB.
TEST(ModelPicture, SvgHoldsEveryFrameLineByColour) {
    EnsureGuiApplication();
    const uint32_t colors[3] = {Palette[2], Palette[4], Palette[5]};
    struct Case {
        int rows, columns; // joints on a grid of pixels, a frame between neighbours in a row
    } cases[] = {{2, 3}, {400, 251}};
    for (const Case& c : cases) {
        TModel m = JointsAtPixels({});
        for (int r = 0; r < c.rows; ++r)
            for (int k = 0; k < c.columns; ++k) {
                TNODE n;
                n.X = 50 + (k * 1100) / c.columns;
                n.Y = -(50 + (r * 630) / c.rows);
                m.Nodes.push_back(n);
            }
        m.NodeCount = c.rows * c.columns;
        int sections[3];
        for (int s = 0; s < 3; ++s)
            sections[s] = AddSection(m, colors[s], 1);
        std::map<std::string, std::vector<Segment>> expected;
        const TViewState view = PixelView(1208, 729);
        for (int r = 0; r < c.rows; ++r)
            for (int k = 1; k < c.columns; ++k) {
                const int i = r * c.columns + k, f = m.FrameCount + 1;
                AddFrame(m, i, i + 1, sections[f % 3]);
                const TNODE &a = m.Nodes[static_cast<size_t>(i)],
                            &b = m.Nodes[static_cast<size_t>(i + 1)];
                expected[StrokeOf(colors[f % 3])].emplace_back(
                    std::lround(a.X), std::lround(-a.Y), std::lround(b.X), std::lround(-b.Y));
            }
        const fs::path path = fs::path(ProcessTempDir()) / "model.svg";
        TViewOptions options;
        SavePicture(path.string(), ModelViewPicture(m, options, view, 0, TResults(), 1208, 729,
                                                    "grid"));
        EXPECT_LT(fs::file_size(path), 20'000'000u) << m.FrameCount << " frames";

        std::ifstream in(path, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        const QByteArray svg = QByteArray::fromStdString(bytes.str());
        const SvgLines lines = ReadSvgLines(svg);
        for (const auto& [stroke, segments] : expected) {
            const auto found = lines.byColor.find(stroke);
            ASSERT_NE(found, lines.byColor.end()) << stroke;
            EXPECT_EQ(found->second, segments) << stroke << ", " << m.FrameCount << " frames";
        }
        EXPECT_TRUE(lines.transform.contains("0.5,0.5")) << lines.transform.toStdString();
        EXPECT_TRUE(QSvgRenderer(svg).isValid());
    }
}
