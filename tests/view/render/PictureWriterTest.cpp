#include "view/render/PictureWriter.h"

#include "RenderTestSupport.h"
#include "TestTempDir.h"
#include "model/Errors.h"
#include "view/render/LineBatch.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

namespace fs = std::filesystem;
using namespace vandra;
using namespace vandra::testing;

namespace {

struct Stroke {
    QRgb color;
    int width;
    QLineF line;
};

// A pen as the SVG writes it on the group around a path: "#rrggbb" and the width.
using Pen = std::pair<std::string, int>;
using Segments = std::map<Pen, std::vector<std::tuple<double, double, double, double>>>;

Pen PenOf(QRgb color, int width) {
    return {QColor::fromRgb(color).name().toStdString(), width};
}

double Tenth(double v) {
    return std::round(v * 10) / 10;
}

// The straight segments of every <path>, by the stroke of its enclosing group, and the number of
// elements that draw (paths, polylines, lines).
Segments ReadSvgSegments(const QByteArray& svg, int* drawingElements) {
    Segments out;
    *drawingElements = 0;
    QXmlStreamReader xml(svg);
    std::vector<Pen> pens{{"", 0}};
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == QLatin1String("g")) pens.pop_back();
        if (!xml.isStartElement()) continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == QLatin1String("g")) {
            Pen pen = pens.back();
            if (a.hasAttribute("stroke")) pen.first = a.value("stroke").toString().toStdString();
            if (a.hasAttribute("stroke-width")) pen.second = a.value("stroke-width").toInt();
            pens.push_back(pen);
            continue;
        }
        if (xml.name() == QLatin1String("polyline") || xml.name() == QLatin1String("line"))
            ++*drawingElements;
        if (xml.name() != QLatin1String("path")) continue;
        ++*drawingElements;
        // "M10,10 L90,10 M...": a move and a line a segment, to a tenth of a pixel
        std::istringstream d(a.value("d").toString().toStdString());
        std::string from, to;
        while (d >> from >> to) {
            EXPECT_EQ(from[0], 'M');
            EXPECT_EQ(to[0], 'L');
            double x1, y1, x2, y2;
            char comma;
            std::istringstream(from.substr(1)) >> x1 >> comma >> y1;
            std::istringstream(to.substr(1)) >> x2 >> comma >> y2;
            out[pens.back()].emplace_back(Tenth(x1), Tenth(y1), Tenth(x2), Tenth(y2));
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return out;
}

void DrawBatched(QPainter& painter, const std::vector<Stroke>& strokes) {
    LineBatch batch;
    for (const Stroke& s : strokes)
        batch.Add(s.color, s.width, s.line);
    batch.Draw(painter);
}

constexpr QRgb kRed = qRgb(255, 0, 0), kBlue = qRgb(0, 0, 255), kBlack = qRgb(0, 0, 0);

} // namespace

// Lines of four pens drawn in turn come out as one path a pen, holding every line in order (a
// line of no length, a column seen end-on, as a segment of a hundredth of a pixel, which viewers
// draw as a dot); Qt SVG reads the file back and draws the thick lines where they were.
TEST(LineBatch, SvgHoldsEveryLineInOnePathAPen) {
    EnsureGuiApplication();
    const std::vector<Stroke> strokes = {
        {kRed, 3, {10, 10, 90, 10}},   {kBlue, 1, {10, 20, 90, 25}}, {kRed, 3, {10, 40, 10, 90}},
        {kBlack, 1, {50, 50, 50, 50}}, {kBlue, 1, {0, 99, 99, 0}},   {kRed, 1, {20, 60, 80, 60}},
        {kRed, 3, {30, 80, 70, 80}},
    };
    const fs::path path = fs::path(ProcessTempDir()) / "lines.svg";
    WriteSvg(
        path.string(), 100, 100, [&](QPainter& p) { DrawBatched(p, strokes); }, "lines");
    const QByteArray svg = QByteArray::fromStdString(ReadBytes(path));

    int elements = 0;
    const Segments got = ReadSvgSegments(svg, &elements);
    Segments drawn;
    for (const Stroke& s : strokes)
        drawn[PenOf(s.color, s.width)].emplace_back(s.line.x1(), s.line.y1(), s.line.x2(),
                                                    s.line.y2());
    EXPECT_EQ(got, drawn);
    EXPECT_EQ(elements, 4);

    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.viewBox(), QRect(0, 0, 100, 100));
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    for (const Stroke& s : strokes) {
        if (s.width == 3) {
            EXPECT_EQ(image.pixel(s.line.center().toPoint()), s.color | 0xff000000u);
        }
    }
    fs::remove(path);
}

// On an image the batch draws the pixels that drawing line by line draws.
TEST(LineBatch, RasterPixelsAreThoseOfSingleLines) {
    EnsureGuiApplication();
    const std::vector<Stroke> strokes = {{kRed, 2, {5, 5, 60, 5}},
                                         {kBlue, 1, {5, 10, 60, 30}},
                                         {kRed, 1, {5, 40, 5, 60}},
                                         {kBlack, 3, {20, 50, 50, 50}},
                                         {kBlue, 2, {40, 40, 60, 60}}};
    QImage batched(64, 64, QImage::Format_RGB32), single(64, 64, QImage::Format_RGB32);
    batched.fill(Qt::white);
    single.fill(Qt::white);
    {
        QPainter p(&batched);
        DrawBatched(p, strokes);
    }
    {
        QPainter p(&single);
        for (const Stroke& s : strokes) {
            p.setPen(QPen(QColor::fromRgb(s.color), s.width, Qt::SolidLine, Qt::SquareCap,
                          Qt::MiterJoin));
            p.drawLine(s.line);
        }
    }
    EXPECT_EQ(batched, single);
}

// A 100,000-frame model view: the lines of a grid building in three alternating pens. Each line
// costs a short path segment rather than an element, well within the 20 MB the SVG may take.
TEST(LineBatch, SvgOfAHundredThousandLinesStaysSmall) {
    EnsureGuiApplication();
    const QRgb pens[] = {qRgb(255, 0, 0), qRgb(0, 128, 0), qRgb(0, 0, 255)};
    constexpr int kLines = 100000;
    const fs::path path = fs::path(ProcessTempDir()) / "grid.svg";
    WriteSvg(
        path.string(), 1208, 729,
        [&](QPainter& p) {
            LineBatch batch;
            for (int i = 0; i < kLines; ++i) {
                const int x = 4 + (i * 7) % 1200, y = 4 + (i * 13) % 720;
                batch.Add(pens[i % 3], 1 + i % 2, QLineF(x, y, x + 1 + i % 17, y + 1 + i % 11));
            }
            batch.Draw(p);
        },
        "grid");
    const auto bytes = fs::file_size(path);
    EXPECT_LT(bytes, 30u * kLines); // about 18 a line; an element a line takes 70 and more
    int elements = 0;
    const Segments got = ReadSvgSegments(QByteArray::fromStdString(ReadBytes(path)), &elements);
    EXPECT_EQ(elements, 6);
    size_t segments = 0;
    for (const auto& [pen, lines] : got)
        segments += lines.size();
    EXPECT_EQ(segments, static_cast<size_t>(kLines));
    fs::remove(path);
}

// The extension chooses the format; each file reads back as what was drawn.
TEST(PictureWriter, SavePictureWritesTheFormatOfTheName) {
    EnsureGuiApplication();
    const std::vector<double> x{0, 1, 2}, y{0.5, -1, 4};
    Picture picture;
    picture.Width = 60;
    picture.Height = 40;
    picture.Title = "capacity curve";
    picture.Paint = [](QPainter& p) {
        p.fillRect(0, 0, 60, 40, QColor(255, 255, 255));
        p.fillRect(10, 10, 20, 10, QColor(kRed));
    };
    picture.Data = {{"drift", x}, {"base shear", y}};
    const fs::path dir = fs::path(ProcessTempDir()) / "pictures";
    fs::create_directories(dir);

    const auto readsAsPng = [](const fs::path& p) {
        const QImage image(QString::fromStdString(p.string()), "PNG");
        return image.size() == QSize(60, 40) && image.pixel(15, 15) == (kRed | 0xff000000u) &&
               image.pixel(40, 30) == qRgb(255, 255, 255);
    };
    const auto readsAsSvg = [](const fs::path& p) {
        QSvgRenderer r(QString::fromStdString(p.string()));
        return r.isValid() && r.viewBox() == QRect(0, 0, 60, 40);
    };
    const auto readsAsCsv = [](const fs::path& p) {
        return ReadBytes(p) == "drift,base shear\n0,0.5\n1,-1\n2,4\n";
    };
    struct Case {
        const char* name;
        std::function<bool(const fs::path&)> check;
    } cases[] = {{"view.png", readsAsPng},
                 {"view.PNG", readsAsPng},
                 {"view.svg", readsAsSvg},
                 {"curve.csv", readsAsCsv}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SavePicture((dir / c.name).string(), picture);
        EXPECT_TRUE(c.check(dir / c.name));
    }
    fs::remove_all(dir);
}

TEST(PictureWriter, RefusedPicturesLeaveNoFile) {
    EnsureGuiApplication();
    const fs::path dir = fs::path(ProcessTempDir()) / "refused_pictures";
    fs::create_directories(dir);
    const std::string d = dir.string();
    Picture view;
    view.Width = 30;
    view.Height = 20;
    view.Paint = [](QPainter&) {};
    Picture large = view;
    large.Width = 8001;
    Picture empty = view;
    empty.Height = 0;
    struct Case {
        std::string path;
        const Picture& picture;
        std::string message;
    } cases[] = {
        {d + "/a.jpg", view, "A picture is written as .png, .svg or .csv, not \"" + d + "/a.jpg\""},
        {d + "/a.csv", view, "There is no data to write as CSV to \"" + d + "/a.csv\""},
        {d + "/a.png", large,
         "The picture size must lie between 1 x 1 and 8000 x 8000 pixels, not 8001 x 20"},
        {d + "/a.svg", empty,
         "The picture size must lie between 1 x 1 and 8000 x 8000 pixels, not 30 x 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        try {
            SavePicture(c.path, c.picture);
            ADD_FAILURE() << "not refused";
        } catch (const UsageError& e) {
            EXPECT_EQ(e.what(), c.message);
        }
        EXPECT_TRUE(fs::is_empty(dir));
    }
    fs::remove_all(dir);
}
