#include "view/render/PictureWriter.h"

#include "RenderTestSupport.h"
#include "TestTempDir.h"
#include "model/Errors.h"
#include "view/render/LineBatch.h"
#include "view/render/ModelRenderer.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <sstream>
#include <tuple>

namespace fs = std::filesystem;
using namespace vandra;
using namespace vandra::testing;

namespace {

// The segments of every <path> by the pen of its group ("#rrggbb", width), where they land on the
// page (the group's translation added), to a tenth of a pixel, and the number of elements that draw.
using Pen = std::pair<std::string, int>;
using Segments = std::map<Pen, std::vector<std::tuple<double, double, double, double>>>;

Segments ReadSvgSegments(const QByteArray& svg, int* elements) {
    Segments out;
    struct Group {
        Pen pen;
        double dx = 0, dy = 0;
    };
    std::vector<Group> groups{{{"", 0}}};
    QXmlStreamReader xml(svg);
    while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd()) {
        if (xml.isEndElement() && xml.name() == QLatin1String("g")) groups.pop_back();
        if (!xml.isStartElement()) continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == QLatin1String("g")) {
            groups.push_back(groups.back());
            Group& g = groups.back();
            if (a.hasAttribute("stroke")) g.pen.first = a.value("stroke").toString().toStdString();
            if (a.hasAttribute("stroke-width")) g.pen.second = a.value("stroke-width").toInt();
            const QString t = a.value("transform").toString(); // "matrix(1,0,0,1,dx,dy)"
            const QStringList matrix = t.mid(t.indexOf('(') + 1).chopped(t.isEmpty() ? 0 : 1).split(',');
            if (matrix.size() == 6) g.dx = matrix[4].toDouble(), g.dy = matrix[5].toDouble();
        } else if (xml.name() != QLatin1String("title") && xml.name() != QLatin1String("desc") &&
                   xml.name() != QLatin1String("defs") && xml.name() != QLatin1String("svg")) {
            ++*elements;
        }
        const Group& g = groups.back();
        double x1, y1, x2, y2;
        char m, l, comma;
        std::istringstream d(a.value("d").toString().toStdString()); // "M10,10 L90,10 M..."
        while (d >> m >> x1 >> comma >> y1 >> l >> x2 >> comma >> y2) {
            const auto tenth = [](double v) { return std::round(v * 10) / 10; };
            out[g.pen].emplace_back(tenth(x1 + g.dx), tenth(y1 + g.dy), tenth(x2 + g.dx),
                                    tenth(y2 + g.dy));
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return out;
}

constexpr QRgb kRed = qRgb(255, 0, 0), kBlue = qRgb(0, 0, 255), kBlack = qRgb(0, 0, 0);

} // namespace

// 20,000 lines after a few hand-placed ones, in four pens drawn in turn: one path a pen holds every
// line in order (a line of no length, a column seen end-on, as a hundredth of a pixel, which
// viewers draw as a dot), a line costs a short path segment (under 20 bytes) instead of an
// element, and Qt SVG draws the thick lines where they were.
TEST(LineBatch, SvgHoldsEveryLineInOnePathAPen) {
    EnsureGuiApplication();
    struct Stroke {
        QRgb color;
        int width;
        QLineF line;
    };
    std::vector<Stroke> strokes = {{kRed, 3, {10, 10, 90, 10}}, {kBlue, 1, {10, 20, 90, 25}},
                                   {kRed, 3, {10, 40, 10, 90}}, {kBlack, 1, {50, 50, 50, 50}},
                                   {kBlue, 1, {0, 99, 99, 0}},  {kRed, 3, {30, 80, 70, 80}}};
    constexpr int kLines = 20000;
    for (int i = 0; i < kLines; ++i) {
        const int x = 100 + (i * 7) % 1100, y = (i * 13) % 720;
        strokes.push_back({i % 3 ? kBlue : kBlack, 1, QLineF(x, y, x + i % 17, y + i % 11)});
    }
    const fs::path path = fs::path(ProcessTempDir()) / "lines.svg";
    WriteSvg(
        path.string(), 1208, 729,
        [&](QPainter& p) {
            LineBatch batch;
            for (const Stroke& s : strokes)
                batch.Add(s.color, s.width, s.line);
            batch.Draw(p);
        },
        "lines");
    EXPECT_LT(fs::file_size(path), 20u * kLines);

    const QByteArray svg = QByteArray::fromStdString(ReadText(path));
    int elements = 0;
    Segments drawn;
    for (const Stroke& s : strokes)
        drawn[{QColor::fromRgb(s.color).name().toStdString(), s.width}].emplace_back(
            s.line.x1(), s.line.y1(), s.line.x2(), s.line.y2());
    EXPECT_EQ(ReadSvgSegments(svg, &elements), drawn);
    size_t paths = 0; // Qt SVG reads at most 32,767 elements of a path: 10,000 lines a path
    for (const auto& [pen, segments] : drawn)
        paths += (segments.size() + 9999) / 10000;
    EXPECT_EQ(elements, static_cast<int>(paths));

    QSvgRenderer renderer(svg);
    ASSERT_EQ(renderer.viewBox(), QRect(0, 0, 1208, 729));
    QImage image(1208, 729, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    for (int i : {0, 2, 5}) {
        EXPECT_EQ(image.pixel(strokes[i].line.center().toPoint()), kRed | 0xff000000u) << i;
    }
}

// The extension chooses the format, and each file reads back as what was drawn; a name the
// writers do not know, or a CSV of a picture without data, is refused with no file written.
TEST(PictureWriter, SavePictureWritesTheFormatOfTheName) {
    EnsureGuiApplication();
    const std::vector<double> x{0, 1, 2}, y{0.5, -1, 4};
    Picture curve;
    curve.Width = 60;
    curve.Height = 40;
    curve.Paint = [](QPainter& p) { p.fillRect(10, 10, 20, 10, QColor(kRed)); };
    curve.Data = {{"drift", x}, {"base shear", y}};
    Picture view = curve;
    view.Data.clear();
    const fs::path dir = fs::path(ProcessTempDir()) / "pictures";
    fs::create_directories(dir);
    const std::string d = dir.string();

    const auto png = [](const std::string& p) {
        const QImage image(QString::fromStdString(p), "PNG");
        return image.size() == QSize(60, 40) && image.pixel(15, 15) == (kRed | 0xff000000u) &&
               image.pixel(40, 30) == qRgb(255, 255, 255);
    };
    struct Case {
        std::string path;
        const Picture& picture;
        std::function<bool(const std::string&)> reads; // or, when null, refused with:
        std::string message;
    } cases[] = {
        {d + "/view.png", view, png, ""},
        {d + "/curve.PNG", curve, png, ""},
        {d + "/view.svg", view,
         [](const std::string& p) {
             QSvgRenderer r(QString::fromStdString(p));
             return r.isValid() && r.viewBox() == QRect(0, 0, 60, 40);
         },
         ""},
        {d + "/curve.csv", curve,
         [](const std::string& p) {
             return ReadText(p) == "drift,base shear\n0,0.5\n1,-1\n2,4\n";
         },
         ""},
        {d + "/view.jpg", view, nullptr,
         "A picture is written as .png, .svg or .csv, not \"" + d + "/view.jpg\""},
        {d + "/view.csv", view, nullptr,
         "There is no data to write as CSV to \"" + d + "/view.csv\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        try {
            SavePicture(c.path, c.picture);
            EXPECT_TRUE(c.reads && c.reads(c.path));
        } catch (const UsageError& e) {
            EXPECT_EQ(e.what(), c.message);
            EXPECT_FALSE(fs::exists(c.path));
        }
    }
    fs::remove_all(dir);
}

// The model view as an SVG: frames between neighbours in the rows of a grid of joints, in three
// colours, each one segment of its colour's path where the image draws it (shifted by half a
// pixel, as viewers centre lines on their coordinates). A frame costs under 200 bytes more, so
// that 100,000 frames stay within 20 MB.
TEST(ModelPicture, SvgHoldsEveryFrameLineByColour) {
    EnsureGuiApplication();
    std::uintmax_t bytes[2];
    int frames[2];
    for (const auto& [rows, columns] : {std::pair{2, 3}, {30, 34}}) {
        TModel m = JointsAtPixels({});
        for (int r = 0; r < rows; ++r)
            for (int k = 0; k < columns; ++k) {
                m.Nodes.emplace_back();
                m.Nodes.back().X = 50 + (k * 1100) / columns;
                m.Nodes.back().Y = -(50 + (r * 630) / rows);
            }
        m.NodeCount = rows * columns;
        Segments expected;
        for (int r = 0; r < rows; ++r)
            for (int k = 1; k < columns; ++k) {
                const uint32_t c = Palette[static_cast<size_t>(2 + m.FrameCount % 3)];
                const int i = r * columns + k;
                AddFrame(m, i, i + 1, AddSection(m, c, 1));
                const TNODE &a = m.Nodes[static_cast<size_t>(i)], &b = m.Nodes[i + 1u];
                expected[{QColor(ColorRed(c), ColorGreen(c), ColorBlue(c)).name().toStdString(), 2}]
                    .emplace_back(a.X + 0.5, -a.Y + 0.5, b.X + 0.5, -b.Y + 0.5);
            }
        const fs::path path = fs::path(ProcessTempDir()) / "model.svg";
        SavePicture(path.string(), ModelViewPicture(m, TViewOptions(), PixelView(1208, 729), 0,
                                                    TResults(), 1208, 729, "grid"));
        bytes[rows > 2] = fs::file_size(path);
        frames[rows > 2] = m.FrameCount;
        int elements = 0;
        Segments found = ReadSvgSegments(QByteArray::fromStdString(ReadText(path)), &elements);
        for (const auto& [pen, segments] : expected)
            EXPECT_EQ(found[pen], segments) << pen.first << ", " << m.FrameCount << " frames";
    }
    EXPECT_LT(bytes[1] - bytes[0], 200u * static_cast<unsigned>(frames[1] - frames[0]));
}
