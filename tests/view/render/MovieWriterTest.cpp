// Movies written by MovieWriter and decoded again by FFmpeg's own programs (ffprobe, ffmpeg), so
// that a fault in the encoder set-up shows as a movie other players would read wrongly too.
#include "view/render/MovieWriter.h"

#include "RenderTestSupport.h"
#include "TestDevices.h"
#include "TestTempDir.h"
#include "model/Errors.h"

#include <QPainter>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace fs = std::filesystem;
using namespace vandra;
using namespace vandra::testing;

namespace {

#define REQUIRE_FFMPEG()                                                                           \
    if (QStandardPaths::findExecutable("ffprobe").isEmpty() ||                                     \
        QStandardPaths::findExecutable("ffmpeg").isEmpty())                                        \
    GTEST_SKIP() << "ffprobe and ffmpeg (Debian package ffmpeg) not found"

std::string Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(120000);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return p.readAllStandardOutput().toStdString();
}

// ffprobe after decoding every frame: "codec,width,height,pixel format,frames" and the duration.
std::pair<std::string, double> Probe(const std::string& path) {
    std::istringstream out(
        Run("ffprobe", {"-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
                        "stream=codec_name,width,height,pix_fmt,nb_read_frames:format=duration",
                        "-of", "csv=p=0", QString::fromStdString(path)}));
    std::pair<std::string, double> probe;
    out >> probe.first >> probe.second;
    return probe;
}

// Frame `index` (from 0) of the movie, decoded by ffmpeg.
QImage DecodeFrame(const std::string& movie, int index) {
    const std::string png = movie + ".png";
    Run("ffmpeg", {"-v", "error", "-y", "-i", QString::fromStdString(movie), "-vf",
                   QString("select=eq(n\\,%1)").arg(index), "-fps_mode", "passthrough", "-frames:v",
                   "1", QString::fromStdString(png)});
    return QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32);
}

// A result legend's colours, boxes at the top left of every frame, mid-tones included so that a
// wrong colour range shows.
const QRgb kLegend[] = {qRgb(255, 0, 0),     qRgb(255, 255, 0), qRgb(0, 255, 0),
                        qRgb(0, 255, 255),   qRgb(0, 0, 255),   qRgb(255, 0, 255),
                        qRgb(0, 0, 0),       qRgb(64, 64, 64),  qRgb(96, 48, 160),
                        qRgb(200, 200, 200), qRgb(160, 120, 40)};
QRect LegendBox(int i) {
    return QRect(2 + 16 * i, 2, 16, 16);
}

// A frame like the model view's: thin lines in section colours on white, a thick line, smoothed
// text and the legend. Step k moves the diagonal and gives it one of three colours, so that a GIF
// changes its colour table between frames.
QImage Drawing(int w, int h, int k) {
    const QColor diagonal[] = {QColor(255, 0, 0), QColor(255, 0, 255), QColor(255, 160, 0)};
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(QPen(QColor(0, 0, 0), 1));
    for (int x = 10; x < w; x += 40)
        p.drawLine(x, 0, x, h - 1);
    p.setPen(QPen(QColor(0, 0, 255), 1));
    for (int y = 10; y < h; y += 40)
        p.drawLine(0, y, w - 1, y);
    p.setPen(QPen(diagonal[k % 3], 3));
    p.drawLine(5 * k, 0, w - 1, h - 1 - 3 * k);
    p.setPen(QColor(0, 0, 0));
    p.drawText(QPoint(4, h - 6), QString("Step %1").arg(k + 1));
    for (int i = 0; i < static_cast<int>(std::size(kLegend)); ++i)
        p.fillRect(LegendBox(i), kLegend[static_cast<size_t>(i)]);
    return image;
}

// H.264 in yuv420p keeps every pixel's brightness but one colour for 2 x 2 pixels (a one-pixel
// red line on white comes back dull): the mean brightness difference (0..255) must be small.
double MeanLumaDifference(const QImage& a, const QImage& b) {
    const auto luma = [](QRgb c) {
        return 0.2126 * qRed(c) + 0.7152 * qGreen(c) + 0.0722 * qBlue(c);
    };
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            sum += std::abs(luma(a.pixel(x, y)) - luma(b.pixel(x, y)));
    return sum / (a.width() * a.height());
}

int MaxChannelDifference(QRgb p, QRgb q) {
    return std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                     std::abs(qBlue(p) - qBlue(q))});
}

fs::path FreshDir(const std::string& name) {
    const fs::path dir = fs::path(ProcessTempDir()) / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

size_t FileCount(const fs::path& dir) {
    return static_cast<size_t>(
        std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

struct MovieCase {
    const char* name;
    int width, height, fps, frames;
    const char* probe; // codec,width,height,pixel format,frames
    int others = -1;   // a rectangle, red or blue by turns, and this many other colours
};
const MovieCase kMovies[] = {
    {"even.mp4", 320, 240, 30, 6, "h264,320,240,yuv420p,6"},
    {"odd.MP4", 321, 241, 25, 5, "h264,322,242,yuv420p,5"},
    {"slow.mp4", 64, 48, 1, 3, "h264,64,48,yuv420p,3"},
    {"thirds.gif", 33, 17, 30, 7, "gif,33,17,bgra,7"},
    {"wide.gif", 8000, 3, 50, 2, "gif,8000,3,bgra,2"},
    {"dot.gif", 1, 1, 1, 1, "gif,1,1,bgra,1"},
    {"turns.gif", 64, 48, 10, 5, "gif,64,48,bgra,5", 0},
    {"crowded.gif", 64, 48, 10, 4, "gif,64,48,bgra,4", 255},
};
class MovieWriterCase : public ::testing::TestWithParam<MovieCase> {};

} // namespace

// Each movie decodes with its frame count, size and duration; the middle frame matches its source
// (padded as the movie pads an odd side), the legend keeps its colours, the MP4 index is in front.
TEST_P(MovieWriterCase, DecodesToItsFrames) {
    REQUIRE_FFMPEG();
    EnsureGuiApplication();
    const MovieCase& c = GetParam();
    const fs::path dir = FreshDir("movies");
    {
        const std::string path = (dir / c.name).string();
        // Rectangles: the GIF's colour table changes while the pixels keep their place. With 255
        // others (254 and one a step off white) a frame holds 257 colours: it brings colours
        // without a free entry, and one colour is drawn with its neighbour.
        const auto frame = [&](int k) {
            if (c.others < 0) return Drawing(c.width, c.height, k);
            QImage image(c.width, c.height, QImage::Format_RGB32);
            for (int y = 0; y < c.height; ++y)
                for (int x = 0; x < c.width; ++x) {
                    const int i = (y * 32 + x) % 254;
                    image.setPixel(x, y,
                                   x >= 32 && c.others > 0 ? qRgb(i, 255 - i, 7 * i % 256)
                                   : x >= 32 || y >= 40
                                       ? qRgb(255, 255, 255 - (c.others > 254 && x + y == 40))
                                   : k % 2 ? qRgb(0, 0, 255)
                                           : qRgb(255, 0, 0));
                }
            return image;
        };
        MovieWriter movie(path, c.width, c.height, c.fps);
        for (int k = 0; k < c.frames; ++k)
            movie.AddFrame(frame(k));
        movie.Finish();
        const auto [probe, duration] = Probe(path);
        EXPECT_EQ(probe, c.probe);
        EXPECT_NEAR(duration, static_cast<double>(c.frames) / c.fps, 0.006); // GIF: 1/100 s

        const int k = c.frames / 2;
        const QImage decoded = DecodeFrame(path, k);
        const QImage source = frame(k);
        QImage padded(decoded.size(), QImage::Format_RGB32);
        for (int y = 0; y < padded.height(); ++y)
            for (int x = 0; x < padded.width(); ++x)
                padded.setPixel(x, y,
                                source.pixel(std::min(x, c.width - 1), std::min(y, c.height - 1)));
        const QRect edge(padded.width() - 2, 0, 2, padded.height());
        if (probe.starts_with("gif")) { // exact within 256 colours
            int worst = 0;
            for (int y = 0; y < padded.height(); ++y)
                for (int x = 0; x < padded.width(); ++x)
                    worst = std::max(worst,
                                     MaxChannelDifference(decoded.pixel(x, y), padded.pixel(x, y)));
            EXPECT_EQ(worst, c.others > 254 ? 1 : 0);
            return;
        }
        // measured 0.8 to 1.8; the neighbouring step lies at 5.8 and more
        EXPECT_LE(MeanLumaDifference(decoded, padded), 2.5);
        EXPECT_LE(MeanLumaDifference(decoded.copy(edge), padded.copy(edge)), 2.5);
        for (int i = 0; i < static_cast<int>(std::size(kLegend)); ++i) {
            const QPoint centre = LegendBox(i).center();
            if (decoded.rect().contains(centre)) {
                EXPECT_LE(
                    MaxChannelDifference(decoded.pixel(centre), kLegend[static_cast<size_t>(i)]), 6)
                    << i;
            }
        }
        const std::string bytes = ReadText(path);
        EXPECT_LT(bytes.find("moov"), bytes.find("mdat"));
    }
}
INSTANTIATE_TEST_SUITE_P(Movies, MovieWriterCase, ::testing::ValuesIn(kMovies),
                         [](const auto& info) { return std::to_string(info.index); });

// The refusals of tests/cases/render/movie-refusals.case: the exact message, and no file.
TEST(MovieWriter, RefusedRequestsLeaveNoFile) {
    const fs::path dir = FreshDir("refused");
    std::ofstream(dir / "plain") << "a file, not a folder";
    const auto inDir = [&](std::string s) {
        for (size_t at; (at = s.find("<d>")) != std::string::npos;)
            s.replace(at, 3, dir.string());
        return s;
    };
    for (const TestCase& c : ReadCases("render/movie-refusals.case")) {
        std::istringstream in(inDir(c.One("movie")));
        std::string path, error = "none";
        int width = 0, height = 0, fps = 0;
        in >> path >> width >> height >> fps;
        try {
            MovieWriter movie(path, width, height, fps);
        } catch (const UsageError& e) {
            error = std::string("UsageError: ") + e.what();
        } catch (const InputError& e) {
            error = std::string("InputError: ") + e.what();
        }
        EXPECT_EQ(error, inDir(c.One("error"))) << c.where;
        EXPECT_EQ(FileCount(dir), 1u) << c.where;
    }
}

// However a movie stops unfinished, a previous file of its name stays as it was and no temporary
// file is left.
TEST(MovieWriter, AnUnfinishedMovieKeepsThePreviousFile) {
    EnsureGuiApplication();
    const fs::path dir = FreshDir("unfinished");
    const std::string mp4 = (dir / "a.mp4").string(), gif = (dir / "a.gif").string();
    struct Case {
        std::string path;
        int frames; // added before the stop
        std::function<void(MovieWriter&)> stop;
        std::string message; // of the InputError the stop throws, or empty
    } cases[] = {
        {mp4, 2, [](MovieWriter& m) { m.Cancel(); }, ""},
        {gif, 2, [](MovieWriter&) {}, ""}, // destroyed
        {mp4, 2, [](MovieWriter& m) { m.AddFrame(QImage(40, 30, QImage::Format_RGB32)); },
         "Frame 3 of the movie \"" + mp4 + "\" is 40 x 30 pixels, not 64 x 48"},
        {gif, 0, [](MovieWriter& m) { m.Finish(); },
         "Cannot write the movie \"" + gif + "\": it has no frames"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        std::ofstream(c.path) << "previous";
        {
            MovieWriter movie(c.path, 64, 48, 10);
            for (int k = 0; k < c.frames; ++k)
                movie.AddFrame(Drawing(64, 48, k));
            try {
                c.stop(movie);
                EXPECT_EQ(c.message, "");
            } catch (const InputError& e) {
                EXPECT_EQ(e.what(), c.message);
                EXPECT_FALSE(movie.IsOpen());
            }
        }
        EXPECT_EQ(ReadText(c.path), "previous");
        EXPECT_EQ(FileCount(dir), 1u);
        fs::remove(c.path);
    }
}

// A device is written in place and stays a device; on /dev/full, where every write fails, the
// write's error is the movie's. The format comes from the name: devices are named through links.
TEST(MovieWriter, DevicesAreWrittenInPlace) {
    EnsureGuiApplication();
    const fs::path dir = FreshDir("devices");
    const std::string full = TestDevice(Device::Full, dir), null = TestDevice(Device::Null, dir);
    if (full.empty() || null.empty()) GTEST_SKIP() << "root may not make device nodes here";
    fs::create_symlink(null, dir / "null.gif");
    MovieWriter gif((dir / "null.gif").string(), 32, 24, 10);
    gif.AddFrame(Drawing(32, 24, 0));
    gif.Finish();
    EXPECT_EQ(fs::status(null).type(), fs::file_type::character);
    const fs::path link = dir / "full.mp4";
    fs::create_symlink(full, link);
    try {
        MovieWriter movie(link.string(), 320, 240, 25);
        for (int k = 0; k < 10; ++k)
            movie.AddFrame(Drawing(320, 240, k));
        movie.Finish();
        ADD_FAILURE() << "no error";
    } catch (const InputError& e) {
        EXPECT_EQ(e.what(), "Cannot write file \"" + link.string() + "\". No space left on device");
    }
    EXPECT_EQ(fs::status(full).type(), fs::file_type::character);
}
