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

#include <cmath>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace vandra;
using namespace vandra::testing;

namespace {

bool HaveFfmpeg() {
    return !QStandardPaths::findExecutable("ffprobe").isEmpty() &&
           !QStandardPaths::findExecutable("ffmpeg").isEmpty();
}

#define REQUIRE_FFMPEG()                                                                           \
    if (!HaveFfmpeg()) GTEST_SKIP() << "ffprobe and ffmpeg (Debian package ffmpeg) not found"

std::string Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(120000);
    EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << ": "
                               << p.readAllStandardError().toStdString();
    return p.readAllStandardOutput().toStdString();
}

// What ffprobe reads of the video stream after decoding every frame.
struct Probe {
    std::string codec, pixelFormat;
    int width = 0, height = 0, frames = 0;
    double duration = 0;
};

Probe ProbeMovie(const std::string& path) {
    std::istringstream out(
        Run("ffprobe", {"-v", "error", "-count_frames", "-select_streams", "v:0", "-show_entries",
                        "stream=codec_name,pix_fmt,width,height,nb_read_frames:"
                        "format=duration",
                        "-of", "default=noprint_wrappers=1", QString::fromStdString(path)}));
    std::map<std::string, std::string> v;
    for (std::string line; std::getline(out, line);) {
        const size_t eq = line.find('=');
        if (eq != std::string::npos) v[line.substr(0, eq)] = line.substr(eq + 1);
    }
    Probe p;
    p.codec = v["codec_name"];
    p.pixelFormat = v["pix_fmt"];
    p.width = std::atoi(v["width"].c_str());
    p.height = std::atoi(v["height"].c_str());
    p.frames = std::atoi(v["nb_read_frames"].c_str());
    p.duration = std::atof(v["duration"].c_str());
    return p;
}

// Frame `index` (from 0) of the movie, decoded by ffmpeg into RGB.
QImage DecodeFrame(const std::string& movie, int index) {
    const std::string png = movie + "." + std::to_string(index) + ".png";
    Run("ffmpeg", {"-v", "error", "-y", "-i", QString::fromStdString(movie), "-vf",
                   QString("select=eq(n\\,%1)").arg(index), "-fps_mode", "passthrough", "-frames:v",
                   "1", QString::fromStdString(png)});
    QImage image(QString::fromStdString(png));
    fs::remove(png);
    return image.convertToFormat(QImage::Format_RGB32);
}

// A result legend's colours, drawn as boxes at the top left of every frame.
const QRgb kLegend[] = {qRgb(255, 0, 0),     qRgb(255, 255, 0), qRgb(0, 255, 0),
                        qRgb(0, 255, 255),   qRgb(0, 0, 255),   qRgb(255, 0, 255),
                        qRgb(0, 0, 0),       qRgb(64, 64, 64),  qRgb(96, 48, 160),
                        qRgb(200, 200, 200), qRgb(160, 120, 40)};

QRect LegendBox(int i) {
    return QRect(2 + 16 * i, 2, 16, 16);
}

// A frame like the model view's: thin lines in the section colours on white, a node dot, a thick
// line and a caption with smoothed text; step k moves the diagonal and the dot and gives the
// diagonal one of three colours, so that a GIF changes its colour table between frames.
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
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 160, 0));
    p.drawEllipse(QPoint(w / 3 + 4 * k, h / 2), 6, 6);
    p.setPen(QColor(0, 0, 0));
    p.drawText(QPoint(4, h - 6), QString("Step %1").arg(k + 1));
    for (size_t i = 0; i < std::size(kLegend); ++i)
        p.fillRect(LegendBox(static_cast<int>(i)), kLegend[i]);
    return image;
}

// The source frame as the movie holds it: an odd side padded with its last column or row.
QImage Padded(const QImage& source, QSize encoded) {
    QImage out(encoded, QImage::Format_RGB32);
    for (int y = 0; y < encoded.height(); ++y)
        for (int x = 0; x < encoded.width(); ++x)
            out.setPixel(
                x, y,
                source.pixel(std::min(x, source.width() - 1), std::min(y, source.height() - 1)));
    return out;
}

// How far a decoded frame lies from its source. H.264 in yuv420p keeps the brightness of every
// pixel but one colour for each 2 x 2 pixels, so a one-pixel coloured line on white comes back
// paler: the brightness is what must match closely.
struct Difference {
    double meanLuma = 0; // mean absolute brightness difference, 0..255
    double farLuma = 0;  // the part of the pixels whose brightness differs by more than 16
    int maxChannel = 0;  // largest difference of a colour channel
};

int Luma(QRgb c) {
    return (2126 * qRed(c) + 7152 * qGreen(c) + 722 * qBlue(c)) / 10000;
}

Difference Compare(const QImage& a, const QImage& b) {
    Difference d;
    long long sum = 0, far = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int l = std::abs(Luma(p) - Luma(q));
            sum += l;
            far += l > 16;
            for (int c : {std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q))})
                d.maxChannel = std::max(d.maxChannel, c);
        }
    const double n = static_cast<double>(a.width()) * a.height();
    d.meanLuma = static_cast<double>(sum) / n;
    d.farLuma = static_cast<double>(far) / n;
    return d;
}

// The types of an MP4's top-level boxes, in file order.
std::vector<std::string> TopLevelBoxes(const std::string& path) {
    const std::string bytes = ReadBytes(path);
    std::vector<std::string> types;
    for (size_t at = 0; at + 8 <= bytes.size();) {
        const auto byte = [&](size_t i) { return static_cast<uint64_t>(uint8_t(bytes[at + i])); };
        uint64_t size = byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
        types.push_back(bytes.substr(at + 4, 4));
        if (size == 1 && at + 16 <= bytes.size()) { // a 64-bit size follows the type
            size = 0;
            for (size_t i = 8; i < 16; ++i)
                size = size << 8 | byte(i);
        }
        if (size < 8) break;
        at += size;
    }
    return types;
}

fs::path FreshDir(const std::string& name) {
    const fs::path dir = fs::path(ProcessTempDir()) / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::vector<std::string> Listing(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

// Each movie is decoded again: the frame count, the size, the duration, and one frame compared
// with the image it was made from.
TEST(MovieWriter, MoviesDecodeWithTheirFramesSizeAndDuration) {
    REQUIRE_FFMPEG();
    EnsureGuiApplication();
    struct Case {
        const char* name;
        int width, height, fps, frames;
        const char* codec;
        int encodedWidth, encodedHeight;
    } cases[] = {
        {"even.mp4", 320, 240, 30, 12, "h264", 320, 240},
        {"odd.MP4", 321, 241, 25, 5, "h264", 322, 242},
        {"slow.mp4", 64, 48, 1, 3, "h264", 64, 48},
        {"fast.mp4", 160, 120, 120, 30, "h264", 160, 120},
        {"plain.gif", 320, 240, 10, 6, "gif", 320, 240},
        {"odd.gif", 33, 17, 50, 4, "gif", 33, 17},
        {"thirds.gif", 120, 90, 30, 7, "gif", 120, 90},
    };
    const fs::path dir = FreshDir("movies");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = (dir / c.name).string();
        {
            MovieWriter movie(path, c.width, c.height, c.fps);
            for (int k = 0; k < c.frames; ++k)
                movie.AddFrame(Drawing(c.width, c.height, k));
            movie.Finish();
        }
        const Probe probe = ProbeMovie(path);
        EXPECT_EQ(probe.codec, c.codec);
        if (std::string(c.codec) == "h264") {
            EXPECT_EQ(probe.pixelFormat, "yuv420p");
            // the index comes before the pictures, so that a player starts at once
            const std::vector<std::string> boxes = TopLevelBoxes(path);
            const auto at = [&](const char* type) {
                return std::find(boxes.begin(), boxes.end(), type) - boxes.begin();
            };
            EXPECT_LT(at("moov"), at("mdat"));
            EXPECT_LT(at("mdat"), static_cast<long>(boxes.size()));
        }
        EXPECT_EQ(probe.frames, c.frames);
        EXPECT_EQ(probe.width, c.encodedWidth);
        EXPECT_EQ(probe.height, c.encodedHeight);
        // a GIF rounds each frame's time to hundredths of a second
        EXPECT_NEAR(probe.duration, static_cast<double>(c.frames) / c.fps, 0.006);

        const int k = c.frames / 2;
        const QImage decoded = DecodeFrame(path, k);
        ASSERT_EQ(decoded.size(), QSize(c.encodedWidth, c.encodedHeight));
        const QSize size = decoded.size();
        const Difference d = Compare(decoded, Padded(Drawing(c.width, c.height, k), size));
        // the legend's colours come back as they were: no shift by a wrong colour matrix or
        // range
        for (size_t i = 0; i < std::size(kLegend); ++i) {
            const QPoint centre = LegendBox(static_cast<int>(i)).center();
            if (!decoded.rect().contains(centre)) continue;
            const QRgb got = decoded.pixel(centre);
            EXPECT_LE(std::abs(qRed(got) - qRed(kLegend[i])), 6) << i;
            EXPECT_LE(std::abs(qGreen(got) - qGreen(kLegend[i])), 6) << i;
            EXPECT_LE(std::abs(qBlue(got) - qBlue(kLegend[i])), 6) << i;
        }
        // the padding repeats the last column and row
        const QRect edge(size.width() - 2, 0, 2, size.height());
        const Difference atEdge =
            Compare(decoded.copy(edge), Padded(Drawing(c.width, c.height, k), size).copy(edge));
        if (probe.codec == "gif") {
            // the frames hold fewer than 256 colours: the table holds them all
            EXPECT_EQ(d.maxChannel, 0);
            EXPECT_EQ(atEdge.maxChannel, 0);
        } else {
            // measured: 0.9 to 1.8 and 0.4 to 1.6 %; the neighbouring step lies at 5.8 and 2.9 %
            EXPECT_LE(d.meanLuma, 2.5);
            EXPECT_LE(d.farLuma, 0.025);
            EXPECT_LE(atEdge.meanLuma, 2.5);
            EXPECT_LE(atEdge.farLuma, 0.025);
        }
    }
    fs::remove_all(dir);
}

// A refused movie throws the exact message before anything reaches the disk.
TEST(MovieWriter, RefusedRequestsLeaveNoFile) {
    const fs::path dir = FreshDir("refused");
    std::ofstream(dir / "plain") << "a file, not a folder";
    const std::string d = dir.string();
    enum Kind { Usage, Input };
    struct Case {
        std::string path;
        int width, height, fps;
        Kind kind;
        std::string message;
    } cases[] = {
        {d + "/a.mp4", 0, 100, 30, Usage,
         "The movie size must lie between 1 x 1 and 8000 x 8000 pixels, not 0 x 100"},
        {d + "/a.gif", 100, 0, 30, Usage,
         "The movie size must lie between 1 x 1 and 8000 x 8000 pixels, not 100 x 0"},
        {d + "/a.mp4", 8001, 100, 30, Usage,
         "The movie size must lie between 1 x 1 and 8000 x 8000 pixels, not 8001 x 100"},
        {d + "/a.mp4", 100, 8001, 30, Usage,
         "The movie size must lie between 1 x 1 and 8000 x 8000 pixels, not 100 x 8001"},
        {d + "/a.mp4", 100, 100, 0, Usage,
         "The movie frame rate must lie between 1 and 120 frames a second, not 0"},
        {d + "/a.mp4", 100, 100, 121, Usage,
         "The movie frame rate must lie between 1 and 120 frames a second, not 121"},
        {d + "/a.gif", 100, 100, 51, Usage,
         "A GIF plays at most 50 frames a second (it counts its delays in hundredths of a "
         "second), not 51: ask for fewer or write an MP4"},
        {d + "/a.avi", 100, 100, 30, Usage,
         "A movie is written as .mp4 or .gif, not \"" + d + "/a.avi\""},
        {d + "/none/a.mp4", 100, 100, 30, Input,
         "Cannot write file \"" + d + "/none/a.mp4\". No such file or directory"},
        {d + "/plain/a.gif", 100, 100, 30, Input,
         "Cannot write file \"" + d + "/plain/a.gif\". Not a directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        try {
            MovieWriter movie(c.path, c.width, c.height, c.fps);
            ADD_FAILURE() << "not refused";
        } catch (const UsageError& e) {
            EXPECT_EQ(c.kind, Usage);
            EXPECT_EQ(e.what(), c.message);
        } catch (const InputError& e) {
            EXPECT_EQ(c.kind, Input);
            EXPECT_EQ(e.what(), c.message);
        }
        EXPECT_EQ(Listing(dir), std::vector<std::string>{"plain"});
    }
    fs::remove_all(dir);
}

// The limits themselves are accepted.
TEST(MovieWriter, LimitsAreAccepted) {
    REQUIRE_FFMPEG();
    EnsureGuiApplication();
    struct Case {
        const char* name;
        int width, height, fps;
    } cases[] = {{"wide.mp4", 8000, 2, 120}, {"tall.gif", 1, 8000, 50}, {"dot.gif", 1, 1, 1}};
    const fs::path dir = FreshDir("limits");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = (dir / c.name).string();
        MovieWriter movie(path, c.width, c.height, c.fps);
        QImage frame(c.width, c.height, QImage::Format_RGB32);
        frame.fill(Qt::red);
        movie.AddFrame(frame);
        movie.Finish();
        const Probe probe = ProbeMovie(path);
        EXPECT_EQ(probe.frames, 1);
        EXPECT_NEAR(probe.duration, 1.0 / c.fps, 0.006);
        EXPECT_EQ(QSize(probe.width, probe.height), QSize(c.width, c.height));
    }
    fs::remove_all(dir);
}

// However a movie stops before it is finished, a previous file of its name stays as it was and
// no temporary file is left behind.
TEST(MovieWriter, AnUnfinishedMovieKeepsThePreviousFile) {
    EnsureGuiApplication();
    const fs::path dir = FreshDir("unfinished");
    struct Case {
        const char* how;
        const char* name;
        std::function<void(MovieWriter&)> stop;
        std::string message; // of the InputError the stop throws, or empty
    } cases[] = {
        {"cancelled", "a.mp4", [](MovieWriter& m) { m.Cancel(); }, ""},
        {"destroyed", "a.gif", [](MovieWriter&) {}, ""},
        {"frame of another size", "a.mp4",
         [](MovieWriter& m) { m.AddFrame(QImage(40, 30, QImage::Format_RGB32)); },
         "Frame 3 of the movie \"" + (dir / "a.mp4").string() +
             "\" is 40 x 30 pixels, not 64 x 48"},
        {"finished without frames", "b.gif", [](MovieWriter& m) { m.Finish(); },
         "Cannot write the movie \"" + (dir / "b.gif").string() + "\": it has no frames"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        const fs::path target = dir / c.name;
        std::ofstream(target) << "previous";
        {
            MovieWriter movie(target.string(), 64, 48, 10);
            const bool withFrames = std::string(c.how) != "finished without frames";
            for (int k = 0; withFrames && k < 2; ++k)
                movie.AddFrame(Drawing(64, 48, k));
            try {
                c.stop(movie);
                EXPECT_TRUE(c.message.empty()) << "no error";
            } catch (const InputError& e) {
                EXPECT_EQ(e.what(), c.message);
            }
            EXPECT_FALSE(movie.IsOpen() && !c.message.empty());
        }
        EXPECT_EQ(ReadBytes(target), "previous");
        EXPECT_EQ(Listing(dir), std::vector<std::string>{c.name});
        fs::remove(target);
    }
    fs::remove_all(dir);
}

// A device is written in place: /dev/null stays a device, and /dev/full, on which every write
// fails, gives the write's error.
TEST(MovieWriter, DevicesAreWrittenInPlace) {
    EnsureGuiApplication();
    const fs::path dir = FreshDir("devices");
    const std::string null = TestDevice(Device::Null, dir);
    const std::string full = TestDevice(Device::Full, dir);
    if (null.empty() || full.empty()) GTEST_SKIP() << "root may not make device nodes here";
    struct Case {
        std::string device;
        const char* link; // the format comes from the name: the device is named through a link
        bool fails;       // with "Cannot write file "<link>". No space left on device"
    } cases[] = {
        {null, "null.mp4", false},
        {null, "null.gif", false},
        {full, "full.mp4", true},
        {full, "full.gif", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        const fs::path link = dir / c.link;
        fs::create_symlink(c.device, link);
        try {
            MovieWriter movie(link.string(), 320, 240, 25);
            for (int k = 0; k < 10; ++k)
                movie.AddFrame(Drawing(320, 240, k));
            movie.Finish();
            EXPECT_FALSE(c.fails) << "no error";
        } catch (const InputError& e) {
            EXPECT_EQ(e.what(),
                      "Cannot write file \"" + link.string() + "\". No space left on device");
            EXPECT_TRUE(c.fails);
        }
        EXPECT_EQ(fs::status(c.device).type(), fs::file_type::character);
        EXPECT_TRUE(fs::is_symlink(link));
    }
    fs::remove_all(dir);
}

// A FIFO cannot be gone back over: the MP4 goes out fragmented and reads whole at the other end.
TEST(MovieWriter, AFifoGetsAMovieThatPlays) {
    REQUIRE_FFMPEG();
    EnsureGuiApplication();
    const fs::path dir = FreshDir("fifo");
    const fs::path fifo = dir / "pipe.mp4";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // a second name of the FIFO, through which a reader still waiting for a writer can be let go
    // even if the writer wrongly replaced the first name by a file
    const fs::path alias = dir / "alias";
    fs::create_hard_link(fifo, alias);
    std::string received;
    std::thread reader([&] {
        std::ifstream in(fifo, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        received = s.str();
    });
    std::string error;
    try {
        MovieWriter movie(fifo.string(), 160, 120, 20);
        for (int k = 0; k < 8; ++k)
            movie.AddFrame(Drawing(160, 120, k));
        movie.Finish();
    } catch (const std::exception& e) {
        error = e.what();
    }
    const int fd = ::open(alias.c_str(), O_WRONLY | O_NONBLOCK); // fails once the reader is gone
    if (fd >= 0) ::close(fd);
    reader.join();
    ASSERT_EQ(error, "");
    EXPECT_TRUE(fs::is_fifo(fifo));
    const fs::path copy = dir / "received.mp4";
    std::ofstream(copy, std::ios::binary) << received;
    const Probe probe = ProbeMovie(copy.string());
    EXPECT_EQ(probe.frames, 8);
    EXPECT_NEAR(probe.duration, 0.4, 0.006);
    fs::remove_all(dir);
}
