// The model view as an SVG: the same layers as the image, each layer's lines one path a pen.
#include "view/render/ModelRenderer.h"

#include "RenderTestSupport.h"
#include "TestTempDir.h"

#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

using namespace vandra;
using namespace vandra::testing;

// Frames between neighbours in the rows of a grid of joints, in three colours: every frame is one
// segment of a path of its colour where the image draws it, in a group shifted by half a pixel
// (as viewers centre lines on their coordinates). 100,000 frames stay under 20 MB.
TEST(ModelPicture, SvgHoldsEveryFrameLineByColour) {
    EnsureGuiApplication();
    for (const auto& [rows, columns] : {std::pair{2, 3}, {400, 251}}) {
        TModel m = JointsAtPixels({});
        for (int r = 0; r < rows; ++r)
            for (int k = 0; k < columns; ++k) {
                m.Nodes.emplace_back();
                m.Nodes.back().X = 50 + (k * 1100) / columns;
                m.Nodes.back().Y = -(50 + (r * 630) / rows);
            }
        m.NodeCount = rows * columns;
        using Segments = std::multiset<std::array<long, 4>>;
        std::map<std::string, Segments> expected, found;
        std::string keys[3]; // stroke and transform of the group of each section's lines
        int sections[3];
        for (int s = 0; s < 3; ++s) {
            const uint32_t c = Palette[static_cast<size_t>(2 + s)];
            sections[s] = AddSection(m, c, 1);
            keys[s] = QColor(ColorRed(c), ColorGreen(c), ColorBlue(c)).name().toStdString() +
                      " matrix(1,0,0,1,0.5,0.5)";
        }
        for (int r = 0; r < rows; ++r)
            for (int k = 1; k < columns; ++k) {
                const int i = r * columns + k, s = m.FrameCount % 3;
                AddFrame(m, i, i + 1, sections[s]);
                const TNODE &a = m.Nodes[static_cast<size_t>(i)], &b = m.Nodes[i + 1u];
                expected[keys[s]].insert(
                    {std::lround(a.X), std::lround(-a.Y), std::lround(b.X), std::lround(-b.Y)});
            }
        const std::filesystem::path path = std::filesystem::path(ProcessTempDir()) / "model.svg";
        SavePicture(path.string(), ModelViewPicture(m, TViewOptions(), PixelView(1208, 729), 0,
                                                    TResults(), 1208, 729, "grid"));
        EXPECT_LT(std::filesystem::file_size(path), 20'000'000u);

        std::ifstream in(path, std::ios::binary);
        const QByteArray svg = QByteArray::fromStdString(
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
        QXmlStreamReader xml(svg);
        std::string stroke;
        while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd()) {
            if (!xml.isStartElement()) continue;
            const QXmlStreamAttributes a = xml.attributes();
            if (xml.name() == QLatin1String("g"))
                stroke = a.value("stroke").toString().toStdString() + ' ' +
                         a.value("transform").toString().toStdString();
            double x1, y1, x2, y2;
            char m, l, comma;
            std::istringstream d(a.value("d").toString().toStdString()); // "M10,10 L90,10 M..."
            while (d >> m >> x1 >> comma >> y1 >> l >> x2 >> comma >> y2)
                found[stroke].insert(
                    {std::lround(x1), std::lround(y1), std::lround(x2), std::lround(y2)});
        }
        EXPECT_FALSE(xml.hasError());
        for (const auto& [color, segments] : expected)
            EXPECT_EQ(found[color], segments) << color << ", " << m.FrameCount << " frames";
    }
}
